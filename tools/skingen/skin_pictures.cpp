#include "skin_pictures.h"

#include <QPainter>
#include <algorithm>
#include <stdexcept>
#include <string>

#include "art_style.h"
#include "face_art.h"
#include "lcd_art.h"

namespace skingen {
namespace {

using namespace zarvik;

const QColor kWhiteKey{255, 255, 255};
const QColor kGreenKey{0, 255, 0};

// Below this coverage a pixel of a keyed bitmap is left to the key colour:
// the faintest edge of the crystal's shadow is not worth a hard pixel.
constexpr int kKeyThreshold = 40;

// Flattens an antialiased segment onto the face it lies on, leaving its
// empty pixels to the key colour.
QImage flattenOnto(const QImage& segment, const QImage& background, const QColor& key) {
  QImage out(segment.size(), QImage::Format_RGB888);
  QImage ink = segment.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y)
    for (int x = 0; x < out.width(); ++x) {
      const QRgb s = ink.pixel(x, y);
      const int a = qAlpha(s);
      if (a < kKeyThreshold) {
        out.setPixel(x, y, key.rgb());
        continue;
      }
      const QRgb b = background.pixel(x, y);
      auto mix = [a](int fg, int bg) { return (fg * a + bg * (255 - a) + 127) / 255; };
      out.setPixel(x, y, qRgb(mix(qRed(s), qRed(b)), mix(qGreen(s), qGreen(b)), mix(qBlue(s), qBlue(b))));
    }
  return out;
}

// What the program draws for a keyed bitmap: the key colour (its bottom-left
// pixel) left out.
QImage keyedOut(const QImage& bitmap) {
  QImage shown = bitmap.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = shown.pixel(0, shown.height() - 1);
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x)
      if (shown.pixel(x, y) == key) shown.setPixel(x, y, qRgba(0, 0, 0, 0));
  return shown;
}

}  // namespace

SkinFile skinFileFor(ImageId id) {
  const ImageSpec& entry = kSkinImages[id];
  const QString name = QString::fromLatin1(entry.name.data(), qsizetype(entry.name.size()));
  switch (entry.role) {
    case ImageRole::Face:
      return id == im_background ? SkinFile{name + ".bmp", FileKind::KeyedBmp, QColor(255, 0, 255)}
                                 : SkinFile{name + ".png", FileKind::Png, {}};
    case ImageRole::Button:
    case ImageRole::Pressed:
      if (id == btn_set_top) return {name + ".ico", FileKind::Ico, {}};
      // The round buttons as bitmaps, the others as PNG: both drawn opaque.
      if (id >= btn_left_down) return {name + ".bmp", FileKind::OpaqueBmp, {}};
      return {name + ".png", FileKind::Png, {}};
    case ImageRole::Digit:
      return {QStringLiteral("digit_blank.png"), FileKind::Png, {}};
    case ImageRole::Glyph:
      return {name + ".bmp", FileKind::KeyedBmp, kWhiteKey};
    case ImageRole::Segment:
      break;
  }
  if (id >= im_panel_miss_01 && id <= im_panel_miss_10) return {name + ".bmp", FileKind::KeyedBmp, kWhiteKey};
  if (id >= im_item_1_target && id <= im_item_3_target) return {name + ".bmp", FileKind::KeyedBmp, kGreenKey};
  if (id == im_panel_bell) return {name + ".ico", FileKind::Ico, {}};
  return {name + ".png", FileKind::Png, {}};
}

SkinPictures::SkinPictures() {
  const QImage faceBase = drawFaceBase();
  const QImage face = drawFace(faceBase);
  for (int i = 0; i < kImageCount; ++i) {
    const auto id = ImageId(i);
    const ImageSpec& entry = kSkinImages[id];
    const SkinFile file = skinFileFor(id);
    QImage picture;
    switch (entry.role) {
      case ImageRole::Face:
        picture = id == im_background ? face : drawOverlay();
        break;
      case ImageRole::Button:
      case ImageRole::Pressed:
        picture = drawButton(faceBase, id);
        break;
      default:
        picture = drawSegment(id);
        break;
    }
    if (file.kind == FileKind::KeyedBmp && id != im_background) {
      // Glyphs are seen at the digit positions: flatten them onto that place.
      const QRect seenAt = entry.role == ImageRole::Glyph
                               ? QRect(builtinRect(im_panel_digit_pos_1).topLeft(), picture.size())
                               : builtinRect(id);
      picture = flattenOnto(picture, face.copy(seenAt), file.key);
      // The program takes the bottom-left pixel as the key: ink there would
      // turn the picture inside out.
      if (picture.pixel(0, picture.height() - 1) != file.key.rgb())
        throw std::runtime_error("the bottom-left pixel of " + std::string(entry.name) + " is not its key colour");
    }
    switch (file.kind) {
      case FileKind::KeyedBmp:
        stored_[i] = picture.convertToFormat(QImage::Format_RGB888);
        shown_[i] = keyedOut(stored_[i]);
        break;
      case FileKind::OpaqueBmp:
        stored_[i] = picture.convertToFormat(QImage::Format_RGB888);
        shown_[i] = stored_[i];
        break;
      case FileKind::Png:
      case FileKind::Ico:
        stored_[i] = (entry.role == ImageRole::Button || entry.role == ImageRole::Pressed)
                         ? picture.convertToFormat(QImage::Format_RGB32)
                         : picture.convertToFormat(QImage::Format_ARGB32);
        shown_[i] = stored_[i];
        break;
    }
  }
}

Display Display::allSegments() {
  Display d;
  for (int i = 0; i < kImageCount; ++i)
    if (kSkinImages[i].role == ImageRole::Segment) d.lit.push_back(ImageId(i));
  d.digits = {8, 8, 8, 8};
  return d;
}

QImage SkinPictures::compose(const Display& display) const {
  QImage out(kFaceRect.size(), QImage::Format_ARGB32_Premultiplied);
  out.fill(Qt::transparent);
  QPainter p(&out);
  auto draw = [&](ImageId shownId, ImageId place) { p.drawImage(builtinRect(place).topLeft(), shown_[shownId]); };
  auto contains = [](const std::vector<ImageId>& ids, ImageId id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
  };
  draw(im_background, im_background);
  for (int i = 0; i < kImageCount; ++i) {
    const auto id = ImageId(i);
    switch (kSkinImages[id].role) {
      case ImageRole::Button:
        // Every button but Set has its pressed picture just before it.
        draw(contains(display.pressed, id) && id != btn_set_top ? ImageId(id - 1) : id, id);
        break;
      case ImageRole::Segment:
        if (contains(display.lit, id)) draw(id, id);
        break;
      case ImageRole::Digit: {
        const int glyph = display.digits[id - im_panel_digit_pos_1];
        if (glyph >= 0) draw(digitGlyph(glyph), id);
        break;
      }
      default:
        break;
    }
  }
  draw(im_background_screen_top, im_background_screen_top);
  p.end();
  return out;
}

}  // namespace skingen
