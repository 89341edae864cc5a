#include "picture_loader.h"

#include <algorithm>

#include "config_values.h"
#include "picture_budget.h"
#include "regular_file.h"

namespace zarvik {

namespace {

// A file larger than this cannot hold an acceptable picture (the largest, an
// uncompressed 32-bit bitmap, takes 64 MB) and is not read.
constexpr qint64 kMaxFileBytes = kMaxPicturePixels * 4 + 1024 * 1024;

}  // namespace

DecodedPicture DecodedPicture::tooLarge(qint64 width, qint64 height, qint64 maxPixels) {
  DecodedPicture p = failure(QStringLiteral("picture too large (%1 x %2 pixels; at most %3 million allowed)")
                                 .arg(width)
                                 .arg(height)
                                 .arg(double(std::min(maxPixels, kMaxPicturePixels)) / 1e6, 0, 'f', 1));
  p.overBudget = true;
  return p;
}

void keepPart(DecodedPicture& picture, const PartToKeep& keep) {
  picture.wholeSize = picture.image.size();
  picture.part = picture.image.rect();
  if (!keep) return;
  const QRect part = keep(picture.wholeSize).intersected(picture.part);
  if (part == picture.part) return;
  picture.image = part.isEmpty() ? QImage() : picture.image.copy(part);
  picture.part = part;
}

DecodedPicture loadPicture(const std::filesystem::path& file, qint64 maxPixels, const PartToKeep& keep) {
  const QString extension = QString::fromStdString(fileExtension(file.string()));
  const QString ext = extension.toLower();
  using Decoder = DecodedPicture (*)(const QByteArray&, qint64);
  Decoder decoder = nullptr;
  if (ext == "bmp") decoder = decodeBitmap;
  else if (ext == "ico") decoder = decodeIcon;
  else if (ext == "png") decoder = decodePng;
  else if (ext == "jpg" || ext == "jpeg") decoder = decodeJpeg;
  else if (ext == "wmf") decoder = decodeWindowsMetafile;
  else if (ext == "emf")
    return DecodedPicture::failure(QStringLiteral("enhanced metafiles (.emf) cannot be shown; save the picture as PNG or BMP"));
  else
    return DecodedPicture::failure(QStringLiteral("Unknown picture file extension (.%1)").arg(extension));

  const FileContents contents = readRegularFile(file, kMaxFileBytes);
  if (!contents.ok()) return DecodedPicture::failure(QString::fromStdString(contents.problem->message));
  const QByteArray bytes = QByteArray::fromRawData(contents.bytes.data(), qsizetype(contents.bytes.size()));
  if (decoder == decodeJpeg) return decodeJpegPart(bytes, maxPixels, keep);  // crops while decoding
  DecodedPicture picture = decoder(bytes, maxPixels);
  if (picture.ok()) keepPart(picture, keep);
  return picture;
}

}  // namespace zarvik
