// Bitmaps and icons, through Qt's readers once their headers have been
// checked against the picture's budget and, for a bitmap, the file's size.

#include <QBuffer>
#include <QImageReader>
#include <cstdlib>

#include "picture_budget.h"
#include "picture_loader.h"

namespace zarvik {

namespace {

DecodedPicture decodeWithQt(const QByteArray& data, const char* format, qint64 maxPixels) {
  QBuffer buffer;
  buffer.setData(data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  reader.setDecideFormatFromContent(false);
  if (!reader.canRead()) return DecodedPicture::failure(QStringLiteral("not a valid %1 picture").arg(format));
  const QSize size = reader.size();
  if (size.isValid() && !sizeAcceptable(size.width(), size.height(), maxPixels))
    return DecodedPicture::tooLarge(size.width(), size.height(), maxPixels);
  QImage image = reader.read();
  if (image.isNull()) return DecodedPicture::failure(reader.errorString());
  DecodedPicture result;
  result.image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                               : QImage::Format_RGB32);
  return result;
}

// The size the pixel rows of a bitmap need, from its headers, so that a
// truncated file is refused rather than shown half black.
struct BitmapHeader {
  bool valid = false;
  qint64 width = 0, height = 0;
  int bitCount = 0;
  qint64 pixelBytes = 0;  // rows x stride, 0 when compressed
  qint64 pixelOffset = 0;
};

BitmapHeader readBitmapHeader(const QByteArray& data) {
  BitmapHeader h;
  if (data.size() < 26 || data[0] != 'B' || data[1] != 'M') return h;
  auto u16 = [&](int at) { return qint64(quint8(data[at])) | qint64(quint8(data[at + 1])) << 8; };
  auto u32 = [&](int at) { return u16(at) | u16(at + 2) << 16; };
  auto s32 = [&](int at) { return qint64(qint32(quint32(u32(at)))); };
  h.pixelOffset = u32(10);
  const qint64 headerSize = u32(14);
  qint64 width = 0, height = 0, compression = 0;
  if (headerSize == 12) {
    width = u16(18);
    height = u16(20);
    h.bitCount = int(u16(24));
  } else if (headerSize >= 40 && data.size() >= 34) {
    width = s32(18);
    height = std::abs(s32(22));
    h.bitCount = int(u16(28));
    compression = u32(30);
  } else {
    return h;
  }
  h.valid = true;
  h.width = width;
  h.height = height;
  // Within the largest sides and bit count, stride x height stays far
  // below 2^63.
  const bool plausible = width <= kMaxSide && height <= kMaxSide && h.bitCount <= 64;
  if (plausible && (compression == 0 || compression == 3)) {  // uncompressed or bit fields
    const qint64 stride = (width * h.bitCount + 31) / 32 * 4;
    h.pixelBytes = stride * height;
  }
  return h;
}

}  // namespace

DecodedPicture decodeBitmap(const QByteArray& data, qint64 maxPixels) {
  const BitmapHeader header = readBitmapHeader(data);
  if (!header.valid) return DecodedPicture::failure(QStringLiteral("not a bitmap file"));
  if (header.width <= 0 || header.height <= 0)
    return DecodedPicture::failure(QStringLiteral("damaged bitmap file: it holds no pixels"));
  if (!sizeAcceptable(header.width, header.height, maxPixels))
    return DecodedPicture::tooLarge(header.width, header.height, maxPixels);
  if (header.pixelBytes > 0 && header.pixelOffset + header.pixelBytes > data.size())
    return DecodedPicture::failure(QStringLiteral("damaged bitmap file: the pixel data is cut short"));
  DecodedPicture result = decodeWithQt(data, "bmp", maxPixels);
  if (!result.ok() && !result.overBudget) result.error = QStringLiteral("damaged bitmap file: %1").arg(result.error);
  result.twoColour = header.bitCount == 1;
  return result;
}

DecodedPicture decodeIcon(const QByteArray& data, qint64 maxPixels) {
  DecodedPicture result = decodeWithQt(data, "ico", maxPixels);
  if (!result.ok() && !result.overBudget) result.error = QStringLiteral("damaged icon file: %1").arg(result.error);
  result.ownTransparency = true;
  return result;
}

}  // namespace zarvik
