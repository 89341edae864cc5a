// The committed default skin: Config.ini lays out all 81 images at their
// built-in places, every picture it names is there, decodes (with Qt and with
// the program's own decoders) and fits its box, and the LCD segments never
// cover one another when every segment is lit.

#include <QDir>
#include <QImageReader>
#include <gtest/gtest.h>

#include "ini_file.h"
#include "picture_loader.h"
#include "skin_images.h"
#include "skin_loader.h"
#include "skin_picture.h"

namespace {

using namespace zarvik;

const QDir kSkin(QStringLiteral(ZARVIK_SKIN_DIR));

// A path of Config.ini ("Graphics\Skin\x.png") as a file in the skin.
QString skinPath(const std::string& folder, const std::string& file) {
  return kSkin.filePath(QString::fromStdString(folder + file).replace('\\', '/'));
}

class DefaultSkin : public ::testing::Test {
 protected:
  void SetUp() override {
    auto loaded = IniFile::load(kSkin.filePath(QStringLiteral("Config.ini")).toStdString());
    ASSERT_TRUE(loaded) << "Config.ini is missing from " << ZARVIK_SKIN_DIR;
    ini = *loaded;
  }
  std::string read(const std::string& section, const std::string& key) const {
    return ini.readString(section, key, "<missing>");
  }
  // The picture of image N, as Qt decodes it.
  QImage picture(int index) const {
    return QImage(skinPath(read("Common", "SkinDir"), read("Image" + std::to_string(index + 1), "Filename")));
  }
  // The picture as the program draws it: the key colour (bottom-left pixel)
  // of a bitmap left out, PNG and icons with their own alpha.
  QImage shown(int index) const {
    const std::string file = read("Image" + std::to_string(index + 1), "Filename");
    QImage image = picture(index).convertToFormat(QImage::Format_ARGB32);
    if (QString::fromStdString(file).endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive)) {
      const QRgb key = image.pixel(0, image.height() - 1);
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
          if (image.pixel(x, y) == key) image.setPixel(x, y, 0);
    }
    return image;
  }

  IniFile ini;
};

TEST_F(DefaultSkin, WindowAndFoldersAreTheDefaults) {
  EXPECT_EQ(read("Common", "GameWidth"), "561");
  EXPECT_EQ(read("Common", "GameHeight"), "374");
  EXPECT_EQ(read("Common", "SkinDir"), "Graphics\\Skin\\");
  EXPECT_EQ(read("VideoMode", "TranspColor"), "$00ff00ff");
  EXPECT_EQ(read("Manual", "ManualDir"), "Graphics\\Manual\\");
  EXPECT_EQ(read("Manual", "ManualWidth"), "415");
  EXPECT_EQ(read("Manual", "ManualHeight"), "270");
}

TEST_F(DefaultSkin, EveryImageSectionIsAtItsBuiltInPlaceWithAPictureOfItsSize) {
  for (int i = 0; i < kImageCount; ++i) {
    const std::string section = "Image" + std::to_string(i + 1);
    SCOPED_TRACE(section + " " + std::string(kSkinImages[i].name));
    ASSERT_TRUE(ini.hasSection(section));
    const Rect& r = kSkinImages[i].builtin;
    EXPECT_EQ(read(section, "Left"), std::to_string(r.left));
    EXPECT_EQ(read(section, "Top"), std::to_string(r.top));
    EXPECT_EQ(read(section, "Width"), std::to_string(r.width));
    EXPECT_EQ(read(section, "Height"), std::to_string(r.height));
    const QString file = skinPath(read("Common", "SkinDir"), read(section, "Filename"));
    ASSERT_TRUE(QFileInfo(file).isFile()) << file.toStdString();
    QImageReader reader(file);
    const QImage image = reader.read();
    ASSERT_FALSE(image.isNull()) << file.toStdString() << ": " << reader.errorString().toStdString();
    EXPECT_EQ(image.size(), QSize(r.width, r.height)) << file.toStdString();
    // The program's own decoders read it too, and never see the red placeholder.
    const DecodedPicture decoded = loadPicture(file.toStdString());
    ASSERT_TRUE(decoded.ok()) << decoded.error.toStdString();
    EXPECT_EQ(decoded.image.size(), QSize(r.width, r.height));
  }
}

TEST_F(DefaultSkin, TheSkinUsesEveryKindOfPictureFile) {
  QStringList suffixes;
  for (int i = 0; i < kImageCount; ++i)
    suffixes << QFileInfo(QString::fromStdString(read("Image" + std::to_string(i + 1), "Filename"))).suffix();
  for (const char* kind : {"png", "bmp", "ico"}) EXPECT_TRUE(suffixes.contains(QLatin1String(kind))) << kind;
  EXPECT_GT(suffixes.count(QStringLiteral("png")), kImageCount / 2);
}

TEST_F(DefaultSkin, FaceTakesTheHandheldsOutlineAndShowsTheLcdWindow) {
  const QImage face = picture(im_background).convertToFormat(QImage::Format_RGB32);
  const QRgb key = qRgb(255, 0, 255);
  // Bottom-left pixel is the key colour and equals the window's see-through colour.
  EXPECT_EQ(face.pixel(0, face.height() - 1), key);
  EXPECT_EQ(face.pixel(face.width() - 1, 0), key);
  EXPECT_NE(face.pixel(face.width() / 2, face.height() / 2), key);
  // No see-through holes inside the case: on every row the key colour only
  // runs in from the two edges.
  for (int y = 0; y < face.height(); ++y) {
    int first = 0, last = face.width() - 1;
    while (first <= last && face.pixel(first, y) == key) ++first;
    while (last >= first && face.pixel(last, y) == key) --last;
    for (int x = first; x <= last; ++x) ASSERT_NE(face.pixel(x, y), key) << "hole at " << x << "," << y;
  }
}

TEST_F(DefaultSkin, ButtonPicturesAreOpaqueAndPressedOnesDiffer) {
  for (int i = 0; i < kImageCount; ++i) {
    if (kSkinImages[i].role != ImageRole::Button && kSkinImages[i].role != ImageRole::Pressed) continue;
    SCOPED_TRACE(std::string(kSkinImages[i].name));
    const QImage image = picture(i).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) ASSERT_EQ(qAlpha(image.pixel(x, y)), 255);
    if (kSkinImages[i].role == ImageRole::Pressed) {
      EXPECT_NE(image, picture(i + 1).convertToFormat(QImage::Format_ARGB32)) << "pressed looks released";
    }
  }
}

TEST_F(DefaultSkin, SegmentsShowInkInsideTheLcdAndNeverCoverOneAnother) {
  // Coverage map of the LCD with every segment lit, as in the all-segments
  // display; digit glyphs are seen at the digit positions.
  const Rect lcd = kSkinImages[im_background_screen_top].builtin;
  std::vector<int> owner(561 * 374, -1);
  for (int i = 0; i < kImageCount; ++i) {
    const ImageRole role = kSkinImages[i].role;
    if (role != ImageRole::Segment && role != ImageRole::Glyph) continue;
    SCOPED_TRACE(std::string(kSkinImages[i].name));
    const QImage ink = shown(i);
    const Rect& r = role == ImageRole::Glyph ? kSkinImages[im_panel_digit_pos_1].builtin : kSkinImages[i].builtin;
    int inked = 0;
    for (int y = 0; y < ink.height(); ++y)
      for (int x = 0; x < ink.width(); ++x) {
        if (qAlpha(ink.pixel(x, y)) < 96) continue;
        ++inked;
        const int fx = r.left + x, fy = r.top + y;
        ASSERT_TRUE(fx >= lcd.left && fx < lcd.left + lcd.width && fy >= lcd.top && fy < lcd.top + lcd.height)
            << "ink outside the LCD at " << fx << "," << fy;
        if (role == ImageRole::Glyph) continue;  // glyphs replace one another
        int& o = owner[fy * 561 + fx];
        ASSERT_EQ(o, -1) << "covers " << kSkinImages[o].name << " at " << fx << "," << fy;
        o = i;
      }
    EXPECT_GT(inked, 12) << "a segment without ink";
  }
}

TEST_F(DefaultSkin, GlassOverlayNeverHidesASegment) {
  const QImage glass = shown(im_background_screen_top);
  const Rect& g = kSkinImages[im_background_screen_top].builtin;
  for (int i = 0; i < kImageCount; ++i) {
    if (kSkinImages[i].role != ImageRole::Segment) continue;
    const QImage ink = shown(i);
    const Rect& r = kSkinImages[i].builtin;
    for (int y = 0; y < ink.height(); ++y)
      for (int x = 0; x < ink.width(); ++x) {
        if (qAlpha(ink.pixel(x, y)) < 96) continue;
        ASSERT_LE(qAlpha(glass.pixel(r.left + x - g.left, r.top + y - g.top)), 48)
            << kSkinImages[i].name << " is dimmed by the glass at " << r.left + x << "," << r.top + y;
      }
  }
}

TEST_F(DefaultSkin, DigitPositionsStartBlankAndGlyphsDiffer) {
  for (int k = 1; k <= 4; ++k) {
    const QImage blank = shown(digitPosition(k));
    for (int y = 0; y < blank.height(); ++y)
      for (int x = 0; x < blank.width(); ++x) ASSERT_EQ(qAlpha(blank.pixel(x, y)), 0);
  }
  for (int a = 0; a < 10; ++a)
    for (int b = a + 1; b < 10; ++b) EXPECT_NE(shown(digitGlyph(a)), shown(digitGlyph(b))) << a << " " << b;
}

TEST_F(DefaultSkin, BackdropLogoAndManualPagesDecodeAtTheirSizes) {
  const std::string dir = read("Fullscreen", "BackdropDir");
  const QImage backdrop(skinPath(dir, read("Fullscreen", "BackdropFile")));
  ASSERT_FALSE(backdrop.isNull());
  EXPECT_GE(backdrop.width(), 1280);
  EXPECT_GE(backdrop.height(), 720);
  EXPECT_TRUE(QString::fromStdString(read("Fullscreen", "BackdropFile")).endsWith(QLatin1String(".jpg")));
  // The window's colour continues the backdrop's edge, so no seam shows
  // around a backdrop smaller than the screen. BgColor is $00BBGGRR.
  const QRgb bg = QString::fromStdString(read("Fullscreen", "BgColor")).mid(1).toUInt(nullptr, 16);
  const QColor colour(qBlue(bg), qGreen(bg), qRed(bg));
  const int w = backdrop.width() - 1, h = backdrop.height() - 1;
  for (const QPoint& at : {QPoint(0, 0), QPoint(w / 2, 0), QPoint(w, 0), QPoint(0, h / 2), QPoint(w, h / 2),
                           QPoint(0, h), QPoint(w / 2, h), QPoint(w, h)}) {
    const QColor edge(backdrop.pixel(at));
    EXPECT_LE(std::abs(edge.red() - colour.red()) + std::abs(edge.green() - colour.green()) +
                  std::abs(edge.blue() - colour.blue()),
              12)
        << "backdrop edge at " << at.x() << "," << at.y();
  }
  const QImage logo(skinPath(dir, read("Fullscreen", "LogoFile")));
  ASSERT_FALSE(logo.isNull());
  EXPECT_TRUE(logo.hasAlphaChannel());
  EXPECT_EQ(qAlpha(logo.pixel(0, logo.height() - 1)), 0);
  for (int n = 1; n <= 8; ++n) {
    const QString file = skinPath(read("Manual", "ManualDir"), std::to_string(n) + ".bmp");
    const DecodedPicture page = loadPicture(file.toStdString());
    ASSERT_TRUE(page.ok()) << file.toStdString() << ": " << page.error.toStdString();
    EXPECT_EQ(page.image.size(), QSize(415, 270)) << file.toStdString();
  }
}

// The program's own loaders read the default skin without a single problem:
// every image gets its picture (never the 10 x 10 placeholder) at its place,
// in both window modes, and the manual viewer gets its eight pages.
TEST(DefaultSkinInTheProgram, LoadsEveryPictureWithoutAProblem) {
  const std::filesystem::path root = ZARVIK_SKIN_DIR;
  const SkinSources sources{root / "Config.ini", root};
  for (bool fullscreen : {false, true}) {
    SCOPED_TRACE(fullscreen ? "fullscreen" : "windowed");
    Panel panel;
    FaceLayout layout;
    const SkinLoadReport report = loadSkin(sources, fullscreen, QSize(1280, 800), panel, layout);
    ASSERT_FALSE(report.configMissing);
    EXPECT_TRUE(report.problems.isEmpty()) << report.problems.join(QStringLiteral("; ")).toStdString();
    for (int i = 0; i < kImageCount; ++i) {
      const Rect& r = kSkinImages[i].builtin;
      const QImage image = SkinPicture::imageOf(panel.images[i].picture);
      EXPECT_EQ(image.size(), QSize(r.width, r.height)) << kSkinImages[i].name;
      EXPECT_EQ(panel.images[i].rect.width, r.width) << kSkinImages[i].name;
      EXPECT_EQ(panel.images[i].rect.left - layout.faceOffset.x(), r.left) << kSkinImages[i].name;
    }
    if (fullscreen) {
      EXPECT_TRUE(layout.backdrop.visible);
      EXPECT_TRUE(layout.logo.visible);
      EXPECT_EQ(layout.logo.rect.right() + 1, 1280);  // top right corner
    } else {
      ASSERT_TRUE(layout.seeThrough.has_value());
      EXPECT_EQ(*layout.seeThrough, qRgb(255, 0, 255));
    }
  }
  const ManualPages manual = loadManualPages(sources);
  EXPECT_TRUE(manual.problems.isEmpty()) << manual.problems.join(QStringLiteral("; ")).toStdString();
  for (const QImage& page : manual.pages) EXPECT_EQ(page.size(), QSize(415, 270));
}

}  // namespace
