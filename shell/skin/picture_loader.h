#pragma once
// Decoding of skin pictures, chosen by the file's extension (without regard to
// case): "bmp", "ico", "wmf", "emf", "jpg", "jpeg", "png". A decoder never
// exits or aborts: a damaged or unreadable file is an error with a message.
// Each works within a budget: a picture larger than its pixel budget is
// refused before its pixels are allocated, and the work a decoder may spend
// on one file is bounded (JPEG scans, metafile records and drawing time,
// PNG chunk sizes). A caller that shows only part of a picture may ask for
// just that part: the JPEG decoder then skips the rest while decoding, and
// every other picture is cropped once decoded.
//
// Qt's own image readers do not serve alone. They trust the sizes a header
// claims (within one allocation limit for the whole process, counted in
// bytes) and bound no other work, where a skin's pictures share a pixel
// budget and each decoder bounds its scans, chunks and records; libjpeg
// under them only warns about a file cut short and shows its rest grey,
// where a half picture here is an error; their messages ("Unable to read
// image data") do not say what is wrong, where each message here names the
// fault for the error box that names the file; and the skin's transparency
// rules (a bitmap's key colour in its bottom-left pixel, white in a
// two-colour one, a PNG's or an icon's own alpha never keyed) need to know
// what the file held. So PNG (png_decoder.cpp) and JPEG (jpeg_decoder.cpp)
// are decoded with libpng and libjpeg, whose error handlers here return
// instead of ending the process; bitmaps and icons (bitmap_decoder.cpp) go
// to Qt's readers once their headers pass the budget and the file's size;
// metafiles (wmf_decoder.cpp) are drawn by libwmf in a child process.

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>
#include <filesystem>
#include <functional>

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
  // Set by loadPicture and the JPEG decoders: the picture's own size, and
  // where `image` lies in it (all of it unless a part was asked for).
  QSize wholeSize;
  QRect part;

  bool ok() const { return error.isEmpty(); }
  static DecodedPicture failure(QString message) {
    DecodedPicture p;
    p.error = std::move(message);
    return p;
  }
  static DecodedPicture tooLarge(qint64 width, qint64 height, qint64 maxPixels);
};

// Chooses, from a picture's whole size, the part of it to keep, in its pixels.
// The part is clipped to the picture; an empty one keeps no pixels. The whole
// picture must still fit the pixel budget.
using PartToKeep = std::function<QRect(QSize)>;

// Decodes the file with the decoder its extension names, keeping only
// `keep`'s part when one is given. An unknown extension gives "Unknown
// picture file extension (.<ext>)". Only a regular file of a size that can
// hold an acceptable picture is read.
DecodedPicture loadPicture(const std::filesystem::path& file, qint64 maxPixels = kMaxPicturePixels,
                           const PartToKeep& keep = {});

// The decoders themselves, over the file's bytes, for pictures of at most
// `maxPixels` (never more than kMaxPicturePixels).
DecodedPicture decodePng(const QByteArray& data, qint64 maxPixels = kMaxPicturePixels);
DecodedPicture decodeJpeg(const QByteArray& data, qint64 maxPixels = kMaxPicturePixels);
// Decodes only the rows and columns of `keep`'s part of a JPEG in one scan;
// a progressive one is decoded whole and cropped.
DecodedPicture decodeJpegPart(const QByteArray& data, qint64 maxPixels, const PartToKeep& keep);
DecodedPicture decodeBitmap(const QByteArray& data, qint64 maxPixels = kMaxPicturePixels);
DecodedPicture decodeIcon(const QByteArray& data, qint64 maxPixels = kMaxPicturePixels);
DecodedPicture decodeWindowsMetafile(const QByteArray& data, qint64 maxPixels = kMaxPicturePixels);

}  // namespace zarvik
