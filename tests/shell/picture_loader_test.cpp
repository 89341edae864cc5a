#include "picture_loader.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <gtest/gtest.h>

#include "skin_fixture.h"
#include "skin_picture.h"

using namespace zarvik;
using face_test::encode;
using face_test::filled;

namespace {

QImage sample() {
  QImage image = filled(7, 5, qRgb(10, 200, 30));
  image.setPixel(0, 4, qRgb(255, 0, 255));  // bottom-left
  image.setPixel(6, 0, qRgb(1, 2, 3));
  return image;
}

QByteArray truncated(const QByteArray& bytes) { return bytes.left(bytes.size() * 2 / 3); }

QByteArray garbage() {
  QByteArray bytes;
  for (int i = 0; i < 300; ++i) bytes.append(char(i * 37 + 11));
  return bytes;
}

// A placeable Windows metafile, 20 x 10 units at 96 units per inch: a red
// brush, a black pen, one filled rectangle over the whole picture.
QByteArray redRectangleMetafile() {
  QByteArray b;
  auto u16 = [&](int v) { b.append(char(v & 0xff)).append(char((v >> 8) & 0xff)); };
  auto u32 = [&](unsigned v) { u16(int(v & 0xffff)); u16(int(v >> 16)); };
  // Placeable header; its checksum is the XOR of the ten words before it.
  const int header[] = {0xCDD7, 0x9AC6, 0, 0, 0, 20, 10, 96, 0, 0};
  int checksum = 0;
  for (int word : header) { u16(word); checksum ^= word; }
  u16(checksum);
  // Standard header: type, header words, version, size (filled below), objects, max record, 0.
  u16(1); u16(9); u16(0x300);
  const int sizeAt = int(b.size());
  u32(0); u16(2); u32(8); u16(0);
  u32(5); u16(0x020B); u16(0); u16(0);               // SetWindowOrg 0,0
  u32(5); u16(0x020C); u16(10); u16(20);             // SetWindowExt 20 x 10
  u32(7); u16(0x02FC); u16(0); u32(0x000000FF); u16(0);  // CreateBrushIndirect solid red
  u32(4); u16(0x012D); u16(0);                        // SelectObject 0
  u32(8); u16(0x02FA); u16(0); u32(0); u32(0);         // CreatePenIndirect solid, black
  u32(4); u16(0x012D); u16(1);                        // SelectObject 1
  u32(7); u16(0x041B); u16(10); u16(20); u16(0); u16(0);  // Rectangle 0,0 - 20,10
  u32(3); u16(0);                                     // end of file
  const unsigned words = unsigned(b.size() - 22) / 2;
  for (int i = 0; i < 4; ++i) b[sizeAt + i] = char((words >> (8 * i)) & 0xff);
  return b;
}

}  // namespace

TEST(PictureDecoders, DecodeGoodFiles) {
  const QImage original = sample();
  for (auto decode : {decodePng, decodeBitmap}) {
    DecodedPicture picture = decode(encode(original, decode == decodePng ? "PNG" : "BMP"), kMaxPicturePixels);
    ASSERT_TRUE(picture.ok()) << picture.error.toStdString();
    EXPECT_EQ(picture.image.size(), QSize(7, 5));
    EXPECT_EQ(picture.image.pixel(6, 0), qRgb(1, 2, 3));
    EXPECT_EQ(picture.image.pixel(3, 2), qRgb(10, 200, 30));
  }
  DecodedPicture jpeg = decodeJpeg(encode(filled(16, 8, qRgb(0, 0, 200)), "JPG"));
  ASSERT_TRUE(jpeg.ok()) << jpeg.error.toStdString();
  EXPECT_EQ(jpeg.image.size(), QSize(16, 8));
  EXPECT_LE(std::abs(qBlue(jpeg.image.pixel(8, 4)) - 200), 4);
  EXPECT_FALSE(jpeg.ownTransparency);

  DecodedPicture icon = decodeIcon(encode(filled(16, 16, qRgba(0, 255, 0, 128), QImage::Format_ARGB32), "ICO"));
  ASSERT_TRUE(icon.ok()) << icon.error.toStdString();
  EXPECT_EQ(icon.image.size(), QSize(16, 16));
  EXPECT_TRUE(icon.ownTransparency);
}

TEST(PictureDecoders, PngKeepsItsOwnTransparency) {
  QImage withAlpha = filled(4, 4, qRgba(0, 0, 0, 0), QImage::Format_ARGB32);
  withAlpha.setPixel(1, 1, qRgba(255, 0, 0, 255));
  DecodedPicture picture = decodePng(encode(withAlpha, "PNG"));
  ASSERT_TRUE(picture.ok());
  EXPECT_TRUE(picture.ownTransparency);
  EXPECT_EQ(qAlpha(picture.image.pixel(0, 0)), 0);
  EXPECT_EQ(picture.image.pixel(1, 1), qRgb(255, 0, 0));

  DecodedPicture opaque = decodePng(encode(sample(), "PNG"));
  EXPECT_TRUE(opaque.ownTransparency);
}

TEST(PictureDecoders, TwoColourBitmapIsMarked) {
  QImage mono(8, 8, QImage::Format_Mono);
  mono.fill(0);
  DecodedPicture picture = decodeBitmap(encode(mono, "BMP"));
  ASSERT_TRUE(picture.ok()) << picture.error.toStdString();
  EXPECT_TRUE(picture.twoColour);
  EXPECT_FALSE(decodeBitmap(encode(sample(), "BMP")).twoColour);
}

TEST(PictureDecoders, DamagedFilesAreErrorsNotCrashes) {
  const QImage big = filled(64, 48, qRgb(90, 90, 90));
  struct Case {
    const char* name;
    DecodedPicture (*decode)(const QByteArray&, qint64);
    QByteArray good;
  } cases[] = {{"png", decodePng, encode(big, "PNG")},
               {"jpeg", decodeJpeg, encode(big, "JPG")},
               {"bmp", decodeBitmap, encode(big, "BMP")},
               {"ico", decodeIcon, encode(filled(32, 32, qRgb(1, 1, 1)), "ICO")},
               {"wmf", decodeWindowsMetafile, redRectangleMetafile()}};
  for (const Case& c : cases) {
    ASSERT_TRUE(c.decode(c.good, kMaxPicturePixels).ok()) << c.name;
    for (const QByteArray& bad : {truncated(c.good), garbage(), QByteArray(), c.good.left(10)}) {
      DecodedPicture picture = c.decode(bad, kMaxPicturePixels);
      EXPECT_FALSE(picture.ok()) << c.name << " accepted " << bad.size() << " bad bytes";
      EXPECT_FALSE(picture.error.isEmpty()) << c.name;
      EXPECT_TRUE(picture.image.isNull()) << c.name;
    }
  }
}

// A header that claims a huge picture is refused before anything is
// allocated for it: a progressive JPEG would otherwise take gigabytes for its
// coefficients while decoding a few hundred bytes.
TEST(PictureDecoders, HugeSizesInHeadersAreRefused) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpeg");
  writer.setProgressiveScanWrite(true);
  ASSERT_TRUE(writer.write(filled(64, 64, qRgb(200, 0, 0))));
  QByteArray jpeg = buffer.data();
  const int sof = jpeg.indexOf("\xFF\xC2");  // start of a progressive frame
  ASSERT_GT(sof, 0);
  for (int at : {sof + 5, sof + 7}) {  // height, then width: 65500 each
    jpeg[at] = char(0xFF);
    jpeg[at + 1] = char(0xDC);
  }
  DecodedPicture picture = decodeJpeg(jpeg);
  EXPECT_FALSE(picture.ok());
  EXPECT_TRUE(picture.error.contains("picture too large")) << picture.error.toStdString();
}

TEST(PictureDecoders, TruncatedJpegNamesTheTruncation) {
  DecodedPicture picture = decodeJpeg(truncated(encode(filled(64, 48, qRgb(90, 90, 90)), "JPG")));
  EXPECT_TRUE(picture.error.contains("Premature end of JPEG file")) << picture.error.toStdString();
}

// Decoding only a part of a JPEG gives exactly the pixels of the whole
// decoded and cropped, whether rows and columns are skipped (baseline) or not
// (progressive); a part reaching past the picture is clipped to it.
TEST(PictureDecoders, JpegPartIsTheWholeCropped) {
  QImage noise(101, 75, QImage::Format_RGB32);
  for (int y = 0; y < noise.height(); ++y)
    for (int x = 0; x < noise.width(); ++x) noise.setPixel(x, y, qRgb(x * 7 ^ y * 13, x * y, (x + y) * 5));
  for (bool progressive : {false, true}) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    ASSERT_TRUE(writer.write(noise));
    const QImage whole = decodeJpeg(buffer.data()).image;
    for (const QRect part : {QRect(16, 16, 32, 16), QRect(0, 0, 101, 9), QRect(37, 21, 19, 33), QRect(0, 30, 1, 17),
                             QRect(5, 60, 96, 15), QRect(83, 3, 18, 71), QRect(-10, -7, 130, 90)}) {
      SCOPED_TRACE(testing::Message() << (progressive ? "progressive " : "baseline ") << part.x() << ","
                                      << part.y() << " " << part.width() << "x" << part.height());
      const DecodedPicture picture = decodeJpegPart(buffer.data(), kMaxPicturePixels, [&](QSize) { return part; });
      ASSERT_TRUE(picture.ok()) << picture.error.toStdString();
      EXPECT_EQ(picture.wholeSize, noise.size());
      EXPECT_EQ(picture.part, part.intersected(noise.rect()));
      EXPECT_EQ(picture.image, whole.copy(picture.part));
    }
  }
  // A file cut short fails as when decoded whole, be the cut below the part's rows or among them.
  const QByteArray cut = truncated(encode(noise, "JPG"));
  for (const QRect part : {QRect(0, 0, 20, 8), QRect(30, 60, 20, 15)}) {
    const DecodedPicture picture = decodeJpegPart(cut, kMaxPicturePixels, [&](QSize) { return part; });
    EXPECT_TRUE(picture.error.contains("Premature end of JPEG file")) << part.y() << ": " << picture.error.toStdString();
  }
}

TEST(PictureDecoders, MetafileIsRenderedWithItsColours) {
  DecodedPicture picture = decodeWindowsMetafile(redRectangleMetafile());
  ASSERT_TRUE(picture.ok()) << picture.error.toStdString();
  ASSERT_FALSE(picture.image.isNull());
  const QPoint middle(picture.image.width() / 2, picture.image.height() / 2);
  EXPECT_EQ(picture.image.pixel(middle), qRgb(255, 0, 0));
}

TEST(PictureLoader, ChoosesTheDecoderByExtensionWithoutRegardToCase) {
  face_test::SkinFixture skin;
  const QByteArray png = encode(sample(), "PNG");
  skin.write("a.PNG", png);
  skin.write("b.Bmp", encode(sample(), "BMP"));
  skin.write("c.JPEG", encode(sample(), "JPG"));
  skin.write("d.jpg", encode(sample(), "JPG"));
  skin.write("e.gif", png);
  skin.write("f.bmp", png);  // a PNG in disguise is no bitmap
  skin.write("g.emf", "anything");
  skin.write("noextension", png);
  for (const char* good : {"a.PNG", "b.Bmp", "c.JPEG", "d.jpg"})
    EXPECT_TRUE(loadPicture(skin.root() / good).ok()) << good;

  EXPECT_EQ(loadPicture(skin.root() / "e.gif").error, "Unknown picture file extension (.gif)");
  EXPECT_EQ(loadPicture(skin.root() / "noextension").error, "Unknown picture file extension (.)");
  EXPECT_FALSE(loadPicture(skin.root() / "f.bmp").ok());
  EXPECT_TRUE(loadPicture(skin.root() / "g.emf").error.contains(".emf"));
}

// A file far larger than any picture the decoders accept is refused without
// being read into memory (the file here is sparse: it takes no disk space).
TEST(PictureLoader, RefusesAFileTooLargeForAnyPicture) {
  face_test::SkinFixture skin;
  skin.write("huge.png", encode(sample(), "PNG"));
  QFile huge(QString::fromStdString((skin.root() / "huge.png").string()));
  ASSERT_TRUE(huge.resize(qint64(3) << 30));
  const DecodedPicture picture = loadPicture(skin.root() / "huge.png");
  EXPECT_FALSE(picture.ok());
  EXPECT_TRUE(picture.error.contains("too large")) << picture.error.toStdString();
}

TEST(KeyColour, BitmapLosesItsBottomLeftColourOnlyWhenDrawnTransparently) {
  DecodedPicture picture = decodeBitmap(encode(sample(), "BMP"));
  EXPECT_EQ(keyColour(picture), qRgb(255, 0, 255));
  const QImage transparent = drawnImage(picture, true);
  EXPECT_EQ(qAlpha(transparent.pixel(0, 4)), 0);
  EXPECT_EQ(transparent.pixel(3, 2), qRgb(10, 200, 30));
  const QImage opaque = drawnImage(picture, false);
  EXPECT_EQ(opaque.pixel(0, 4), qRgb(255, 0, 255));
}

TEST(KeyColour, TwoColourBitmapKeysWhite) {
  QImage mono(8, 8, QImage::Format_Mono);
  mono.setColor(0, qRgb(0, 0, 0));
  mono.setColor(1, qRgb(255, 255, 255));
  mono.fill(0);
  mono.setPixel(3, 3, 1);  // one white pixel; the bottom-left one is black
  DecodedPicture picture = decodeBitmap(encode(mono, "BMP"));
  const QImage drawn = drawnImage(picture, true);
  EXPECT_EQ(qAlpha(drawn.pixel(3, 3)), 0);
  EXPECT_EQ(drawn.pixel(0, 7), qRgb(0, 0, 0));
}

TEST(KeyColour, OpaquePngStaysWhole) {
  const QImage drawn = drawnImage(decodePng(encode(sample(), "PNG")), true);
  EXPECT_EQ(drawn.pixel(0, 4), qRgb(255, 0, 255));
  EXPECT_EQ(drawn.pixel(3, 2), qRgb(10, 200, 30));
}

TEST(KeyColour, PngAlphaIsKeptAndNoColourIsKeyed) {
  QImage image = filled(4, 4, qRgba(255, 0, 255, 255), QImage::Format_ARGB32);
  image.setPixel(2, 2, qRgba(0, 0, 0, 0));
  DecodedPicture picture = decodePng(encode(image, "PNG"));
  const QImage drawn = drawnImage(picture, true);
  EXPECT_EQ(drawn.pixel(0, 3), qRgb(255, 0, 255));  // the bottom-left colour stays
  EXPECT_EQ(qAlpha(drawn.pixel(2, 2)), 0);
}

TEST(Placeholder, IsATenPixelRedSquareWithABlackOutline) {
  const QImage square = placeholderImage();
  ASSERT_EQ(square.size(), QSize(10, 10));
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool edge = x == 0 || y == 0 || x == 9 || y == 9;
      EXPECT_EQ(square.pixel(x, y), edge ? qRgb(0, 0, 0) : qRgb(255, 0, 0)) << x << "," << y;
    }
}
