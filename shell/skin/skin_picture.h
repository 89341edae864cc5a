#pragma once
// The pictures of the face's images, ready to draw: the key-colour rule of
// transparent drawing, and the red placeholder for a missing file.

#include <QImage>

#include "panel.h"
#include "picture_loader.h"

namespace zarvik {

// A decoded picture held by the panel. Its image is already prepared for the
// way its image is drawn (key colour removed for transparent drawing).
class SkinPicture : public PictureData {
 public:
  explicit SkinPicture(QImage image) : image_(std::move(image)) {}
  const QImage& image() const { return image_; }

  static Picture make(QImage image) { return std::make_shared<const SkinPicture>(std::move(image)); }
  // The image behind a panel picture; null for an empty picture.
  static QImage imageOf(const Picture& picture);

 private:
  QImage image_;
};

// The key colour of a picture drawn transparently: white for a two-colour
// bitmap, else the colour of its bottom-left pixel.
QRgb keyColour(const DecodedPicture& picture);

// The image to draw. With transparent drawing, a picture without its own
// transparency (bitmap, JPEG) loses every pixel of its key colour; PNG, icon
// and metafile pictures keep their own alpha either way.
QImage drawnImage(const DecodedPicture& picture, bool transparent);

// The 10 x 10 red square with a black one-pixel outline shown for a named
// picture file that does not exist. It is drawn whole (outline included) on
// transparent images too, so that it stays visible.
QImage placeholderImage();

}  // namespace zarvik
