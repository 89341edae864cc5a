#pragma once
// Decoding of skin pictures, chosen by the file's extension (without regard to
// case): "bmp", "ico", "wmf", "emf", "jpg", "jpeg", "png". A decoder never
// exits or aborts: a damaged or unreadable file is an error with a message.
// Each works within a budget: a picture larger than its pixel budget is
// refused before its pixels are allocated, and the work a decoder may spend
// on one file is bounded (JPEG scans, metafile records and drawing time,
// PNG chunk sizes).

#include <QByteArray>
#include <QImage>
#include <QString>
#include <filesystem>

namespace zarvik {

// The largest picture a decoder accepts: 16 million pixels (64 MB drawn),
// more than a 5K backdrop.
inline constexpr qint64 kMaxPicturePixels = 16LL * 1024 * 1024;

struct DecodedPicture {
  QImage image;                  // RGB32 when opaque, else ARGB32_Premultiplied
  bool ownTransparency = false;  // PNG, icon, metafile: their own alpha, never a key colour
  bool twoColour = false;        // a two-colour bitmap (its key colour is white)
  QString error;                 // empty on success
  bool overBudget = false;       // refused for its size alone

  bool ok() const { return error.isEmpty(); }
  static DecodedPicture failure(QString message) {
    DecodedPicture p;
    p.error = std::move(message);
    return p;
  }
  static DecodedPicture tooLarge(qint64 width, qint64 height, qint64 maxPixels);
};

// Decodes the file with the decoder its extension names. An unknown extension
// gives "Unknown picture file extension (.<ext>)". Only a regular file of a
// size that can hold an acceptable picture is read.
DecodedPicture loadPicture(const std::filesystem::path& file, qint64 maxPixels = kMaxPicturePixels);

// The decoders themselves, over the file's bytes, for pictures of at most
// `maxPixels` (never more than kMaxPicturePixels).
DecodedPicture decodePng(const QByteArray& data, qint64 maxPixels = kMaxPicturePixels);
DecodedPicture decodeJpeg(const QByteArray& data, qint64 maxPixels = kMaxPicturePixels);
DecodedPicture decodeBitmap(const QByteArray& data, qint64 maxPixels = kMaxPicturePixels);
DecodedPicture decodeIcon(const QByteArray& data, qint64 maxPixels = kMaxPicturePixels);
DecodedPicture decodeWindowsMetafile(const QByteArray& data, qint64 maxPixels = kMaxPicturePixels);

}  // namespace zarvik
