#include "skin_picture.h"

#include <QPoint>

namespace zarvik {

QImage SkinPicture::imageOf(const Picture& picture) {
  if (auto* skin = dynamic_cast<const SkinPicture*>(picture.get())) return skin->image();
  return QImage();
}

QRgb keyColour(const DecodedPicture& picture) {
  if (picture.twoColour) return qRgb(255, 255, 255);
  return picture.image.pixel(0, picture.image.height() - 1);
}

QImage drawnImage(const DecodedPicture& picture, bool transparent) {
  if (!transparent || picture.ownTransparency || picture.image.isNull()) return picture.image;
  QImage image = picture.image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const QRgb key = keyColour(picture) | 0xff000000u;
  const int width = image.width();
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x)
      if (line[x] == key) line[x] = 0;
  }
  return image;
}

QImage placeholderImage() {
  QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::red);
  for (int i = 0; i < 10; ++i)
    for (QPoint p : {QPoint(i, 0), QPoint(i, 9), QPoint(0, i), QPoint(9, i)}) image.setPixel(p, qRgb(0, 0, 0));
  return image;
}

}  // namespace zarvik
