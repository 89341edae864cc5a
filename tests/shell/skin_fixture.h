#pragma once
// Small skins written into a temporary folder: a Config.ini and pictures drawn
// here, so that loader and window tests know every pixel.

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <filesystem>
#include <string>

#include "skin_images.h"
#include "skin_loader.h"

namespace face_test {

// Colours of the complete skin.
inline const QRgb kFaceGrey = qRgb(200, 200, 200);
inline const QRgb kFaceKeyGreen = qRgb(0, 255, 0);  // the face bitmap's bottom-left colour
inline const QRgb kSegmentInk = qRgb(20, 20, 20);
inline const QRgb kButtonBlue = qRgb(0, 0, 255);
inline const QRgb kButtonCornerRed = qRgb(255, 0, 0);
inline const QRgb kPressedNavy = qRgb(0, 0, 100);
inline const QRgb kOverlayRed = qRgb(255, 0, 0);

inline QByteArray encode(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return bytes;
}

inline QImage filled(int width, int height, QRgb colour, QImage::Format format = QImage::Format_RGB32) {
  QImage image(width, height, format);
  image.fill(colour);
  return image;
}

class SkinFixture {
 public:
  std::filesystem::path root() const { return dir_.path().toStdString(); }
  zarvik::SkinSources sources() const { return {root() / "Config.ini", root()}; }

  void write(const std::string& relative, const QByteArray& bytes) const {
    const std::filesystem::path path = root() / relative;
    std::filesystem::create_directories(path.parent_path());
    QFile file(QString::fromStdString(path.string()));
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
  }
  void writeImage(const std::string& relative, const QImage& image, const char* format) const {
    write(relative, encode(image, format));
  }
  void writeConfig(const std::string& text) const { write("Config.ini", QByteArray::fromStdString(text)); }

  // A complete skin at the built-in layout. `head` goes before the image
  // sections (it may set [Common], [VideoMode], [Fullscreen], [Manual]);
  // section Image<omit> is left out when omit is 1 to 81.
  void writeCompleteSkin(const std::string& head = "", int omit = 0) const {
    std::string config = head + "\n";
    for (int i = 0; i < zarvik::kImageCount; ++i) {
      const zarvik::ImageSpec& entry = zarvik::kSkinImages[i];
      const std::string file = "Graphics/Skin/" + std::string(entry.name) + (i == 1 ? ".png" : ".bmp");
      writeImage(file, pictureFor(i), i == 1 ? "PNG" : "BMP");
      if (i + 1 == omit) continue;
      config += "[Image" + std::to_string(i + 1) + "]\nFilename=" + file.substr(14) +
                "\nLeft=" + std::to_string(entry.builtin.left) + "\nTop=" + std::to_string(entry.builtin.top) +
                "\nWidth=" + std::to_string(entry.builtin.width) +
                "\nHeight=" + std::to_string(entry.builtin.height) + "\n";
    }
    writeConfig(config);
  }

  // The face: grey with a green margin of 5 pixels on the left (its key
  // colour). The overlay: a PNG, clear but for an opaque red top row. A
  // segment: white (its key colour) with an inked inside. A released button:
  // blue with a red bottom-left pixel; a pressed one navy.
  static QImage pictureFor(int index) {
    const zarvik::ImageSpec& entry = zarvik::kSkinImages[index];
    const int w = entry.builtin.width, h = entry.builtin.height;
    if (index == zarvik::im_background) {
      QImage face = filled(w, h, kFaceGrey);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < 5; ++x) face.setPixel(x, y, kFaceKeyGreen);
      return face;
    }
    if (index == zarvik::im_background_screen_top) {
      QImage overlay = filled(w, h, qRgba(0, 0, 0, 0), QImage::Format_ARGB32);
      for (int x = 0; x < w; ++x) overlay.setPixel(x, 0, kOverlayRed);
      return overlay;
    }
    switch (entry.role) {
      case zarvik::ImageRole::Button: {
        QImage button = filled(w, h, kButtonBlue);
        button.setPixel(0, h - 1, kButtonCornerRed);
        return button;
      }
      case zarvik::ImageRole::Pressed:
        return filled(w, h, kPressedNavy);
      default: {
        QImage segment = filled(w, h, qRgb(255, 255, 255));
        for (int y = 2; y < h - 2; ++y)
          for (int x = 2; x < w - 2; ++x) segment.setPixel(x, y, kSegmentInk);
        return segment;
      }
    }
  }

 private:
  QTemporaryDir dir_;
};

}  // namespace face_test
