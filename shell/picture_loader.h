#pragma once
// Decoding of skin pictures, chosen by the file's extension (without regard to
// case): "bmp", "ico", "wmf", "emf", "jpg", "jpeg", "png". A decoder never
// exits or aborts: a damaged or unreadable file is an error with a message.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <filesystem>

namespace zarvik {

struct DecodedPicture {
  QImage image;                  // RGB32 when opaque, else ARGB32_Premultiplied
  bool ownTransparency = false;  // PNG, icon, metafile: their own alpha, never a key colour
  bool twoColour = false;        // a two-colour bitmap (its key colour is white)
  QString error;                 // empty on success

  bool ok() const { return error.isEmpty(); }
  static DecodedPicture failure(QString message) {
    DecodedPicture p;
    p.error = std::move(message);
    return p;
  }
};

// Decodes the file with the decoder its extension names. An unknown extension
// gives "Unknown picture file extension (.<ext>)".
DecodedPicture loadPicture(const std::filesystem::path& file);

// The decoders themselves, over the file's bytes.
DecodedPicture decodePng(const QByteArray& data);
DecodedPicture decodeJpeg(const QByteArray& data);
DecodedPicture decodeBitmap(const QByteArray& data);
DecodedPicture decodeIcon(const QByteArray& data);
DecodedPicture decodeWindowsMetafile(const QByteArray& data);

}  // namespace zarvik
