#include "skin_loader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include <sys/stat.h>

#include "hostile_files.h"
#include "skin_fixture.h"
#include "skin_picture.h"

using namespace zarvik;
using face_test::SkinFixture;

namespace {

const QSize kScreen(800, 600);

struct Loaded {
  Panel panel;
  FaceLayout layout;
  SkinLoadReport report;
};

void load(const SkinFixture& skin, bool fullscreen, Loaded& into, QSize screen = kScreen) {
  into.report = loadSkin(skin.sources(), fullscreen, screen, into.panel, into.layout);
}

QRect rectOf(const Panel& panel, ImageId id) {
  const Rect& r = panel[id].rect;
  return QRect(r.left, r.top, r.width, r.height);
}

const std::string kFullscreenHead =
    "[Fullscreen]\nBackdropFile=back.bmp\nLogoFile=logo.png\nBgColor=$00102030\n";

void writeBackdropAndLogo(const SkinFixture& skin) {
  skin.writeImage("Graphics/Backdrops/back.bmp", face_test::filled(100, 50, qRgb(1, 2, 3)), "BMP");
  skin.writeImage("Graphics/Backdrops/logo.png", face_test::filled(40, 20, qRgb(9, 9, 9)), "PNG");
}

}  // namespace

// The table of values that the browser page is checked against too.
TEST(LoadSkin, ReadsTheValuesOfTheTableSharedWithTheBrowser) {
  std::ifstream table(ZARVIK_CONFIG_VALUE_CASES);
  std::string head, line;
  std::vector<std::pair<std::string, int>> expected;  // "width", "im_panel_game_a.left"...
  while (std::getline(table, line)) {
    std::istringstream words(line);
    std::string section, key, value, result;
    if (line.empty() || line[0] == '#' || !(words >> section >> key >> value >> result)) continue;
    head += "[" + section + "]\n" + key + "=" + value + "\n";
    expected.emplace_back(result.substr(0, result.find('=')), std::stoi(result.substr(result.find('=') + 1)));
  }
  ASSERT_FALSE(expected.empty());
  SkinFixture skin;
  skin.writeCompleteSkin(head);
  Loaded l;
  load(skin, false, l);
  for (const auto& [what, value] : expected) {
    const std::string name = what.substr(0, what.find('.')), field = what.substr(what.find('.') + 1);
    int got = what == "width" ? l.layout.clientSize.width() : l.layout.clientSize.height();
    for (int i = 0; i < kImageCount; ++i)
      if (kSkinImages[i].name == name) {
        const Rect& r = l.panel[ImageId(i)].rect;
        got = field == "left" ? r.left : field == "top" ? r.top : field == "width" ? r.width : r.height;
      }
    EXPECT_EQ(got, value) << what;
  }
}

TEST(LoadSkin, WindowedWithDefaults) {
  SkinFixture skin;
  skin.writeCompleteSkin();
  Loaded l;
  load(skin, false, l);
  EXPECT_TRUE(l.report.problems.isEmpty()) << l.report.problems.join('\n').toStdString();
  EXPECT_EQ(l.layout.clientSize, QSize(561, 374));
  ASSERT_TRUE(l.layout.seeThrough);
  EXPECT_EQ(*l.layout.seeThrough, qRgb(255, 0, 255));
  EXPECT_EQ(l.layout.windowColour, QColor(255, 0, 255));
  EXPECT_FALSE(l.layout.menuButtonVisible);
  for (int i = 0; i < kImageCount; ++i) {
    const Rect& b = kSkinImages[i].builtin;
    EXPECT_EQ(rectOf(l.panel, ImageId(i)), QRect(b.left, b.top, b.width, b.height)) << kSkinImages[i].name;
    EXPECT_FALSE(SkinPicture::imageOf(l.panel[ImageId(i)].picture).isNull()) << kSkinImages[i].name;
  }
}

TEST(LoadSkin, SizesAndColoursComeFromTheFile) {
  SkinFixture skin;
  skin.writeCompleteSkin("[Common]\nGameWidth=600\nGameHeight=400\n[VideoMode]\nTranspColor=0x0000FF00\n");
  Loaded l;
  load(skin, false, l);
  EXPECT_EQ(l.layout.clientSize, QSize(600, 400));
  EXPECT_EQ(*l.layout.seeThrough, qRgb(0, 255, 0));
}

// A window of zero, negative or enormous size is never made: 30000 x 30000
// took 3.5 GB, and a negative width left an unmapped window nobody could see.
TEST(LoadSkin, UnusableWindowSizesAreReportedAndTakeTheirDefaults) {
  for (const char* value : {"0", "-5", "30000", "2147483647"}) {
    SkinFixture skin;
    skin.writeCompleteSkin(std::string("[Common]\nGameWidth=") + value + "\nGameHeight=" + value + "\n");
    for (bool fullscreen : {false, true}) {
      Loaded l;
      load(skin, fullscreen, l);
      EXPECT_EQ(l.layout.clientSize, fullscreen ? kScreen : QSize(561, 374)) << value;
      EXPECT_EQ(l.layout.faceOffset, fullscreen ? QPoint(119, 113) : QPoint(0, 0)) << value;
      ASSERT_EQ(l.report.problems.size(), 2) << value;
      EXPECT_TRUE(l.report.problems[0].contains(QStringLiteral("[Common] GameWidth: '%1' is not a usable size").arg(value)))
          << l.report.problems[0].toStdString();
    }
  }
  SkinFixture skin;
  skin.writeCompleteSkin("[Common]\nGameWidth=8192\nGameHeight=junk\n");
  Loaded l;
  load(skin, false, l);
  EXPECT_EQ(l.layout.clientSize, QSize(8192, 374));  // junk is no number: the default, silently
  EXPECT_TRUE(l.report.problems.isEmpty()) << l.report.problems.join('\n').toStdString();
}

TEST(LoadSkin, ColourBytesAreRedGreenBlueFromTheLowest) {
  SkinFixture skin;
  skin.writeCompleteSkin(kFullscreenHead);
  Loaded l;
  load(skin, true, l);
  EXPECT_EQ(l.layout.windowColour, QColor(0x30, 0x20, 0x10));
  EXPECT_FALSE(l.layout.seeThrough);
}

TEST(LoadSkin, FullscreenOffsets) {
  struct Case {
    std::string x, y;
    QSize screen;
    QPoint expected;
  } cases[] = {
      {"Center", "Center", {800, 600}, {(800 - 561) / 2, (600 - 374) / 2}},
      {"0", "0", {800, 600}, {119, 113}},
      {"abc", "", {800, 600}, {119, 113}},
      {"-20", "15", {800, 600}, {-20, 15}},
      {"Center", "Center", {558, 371}, {-1, -1}},  // a screen 3 pixels smaller than the face
  };
  for (const Case& c : cases) {
    SkinFixture skin;
    skin.writeCompleteSkin("[Fullscreen]\nGameOffsetX=" + c.x + "\nGameOffsetY=" + c.y + "\n");
    Loaded l;
    load(skin, true, l, c.screen);
    EXPECT_EQ(l.layout.faceOffset, c.expected) << c.x << "/" << c.y;
    EXPECT_EQ(l.layout.clientSize, c.screen);
    EXPECT_EQ(rectOf(l.panel, im_background).topLeft(), c.expected);
    EXPECT_EQ(rectOf(l.panel, im_panel_bell).topLeft(), QPoint(179, 63) + c.expected);
    EXPECT_TRUE(l.layout.menuButtonVisible);
    EXPECT_EQ(l.layout.menuButtonBackgroundSize, QSize(36, 32));
  }
}

TEST(LoadSkin, MissingImageSectionGivesAnEmptyImageAtTheOffsets) {
  SkinFixture skin;
  skin.writeCompleteSkin("[Fullscreen]\nGameOffsetX=-20\nGameOffsetY=30\n", 35);  // Image35: the bell
  Loaded l;
  const Picture before = l.panel[im_panel_bell].picture;
  load(skin, true, l);
  EXPECT_EQ(rectOf(l.panel, im_panel_bell), QRect(-20, 30, 0, 0));
  EXPECT_EQ(l.panel[im_panel_bell].picture, before);
}

TEST(LoadSkin, AbsurdPlacesAndSizesAreBoundedInsteadOfOverflowing) {
  SkinFixture skin;
  skin.writeCompleteSkin(
      "[Fullscreen]\nGameOffsetX=2000000000\nGameOffsetY=-2000000000\n"
      "[Image35]\nLeft=2147483647\nTop=-2147483648\nWidth=2147483647\nHeight=-2147483648\n",
      35);
  Loaded l;
  load(skin, true, l);
  EXPECT_EQ(rectOf(l.panel, im_panel_bell),
            QRect(kMaxImageExtent, -kMaxImageExtent, kMaxImageExtent, -kMaxImageExtent));
  EXPECT_EQ(rectOf(l.panel, im_panel_date).topLeft(), QPoint(kMaxImageExtent, -kMaxImageExtent));
}

TEST(LoadSkin, MissingPictureGetsThePlaceholderAndLowerCaseNilKeepsThePicture) {
  SkinFixture skin;
  skin.writeCompleteSkin();
  Loaded l;
  load(skin, false, l);
  const Picture bell = l.panel[im_panel_bell].picture;

  skin.writeConfig(
      "[Image35]\nFilename=nil\nWidth=19\nHeight=20\n"
      "[Image36]\nFilename=NIL\n"
      "[Image37]\nFilename=gone.bmp\n");
  load(skin, false, l);
  EXPECT_EQ(l.panel[im_panel_bell].picture, bell);
  EXPECT_EQ(SkinPicture::imageOf(l.panel[im_panel_alarm].picture), placeholderImage());
  EXPECT_EQ(SkinPicture::imageOf(l.panel[im_panel_chrono].picture), placeholderImage());
  EXPECT_TRUE(l.report.problems.isEmpty());  // a missing file is shown, not reported
}

TEST(LoadSkin, BadPicturesAndColoursAreReportedWithFileAndSection) {
  SkinFixture skin;
  skin.writeCompleteSkin("[VideoMode]\nTranspColor=pink\n");
  const QByteArray png = face_test::encode(face_test::filled(30, 30, qRgb(5, 5, 5)), "PNG");
  skin.write("Graphics/Skin/im_panel_bell.bmp", png.left(40));  // replaced by a broken file
  skin.write("Graphics/Skin/cut.png", png.left(png.size() / 2));
  skin.write("Graphics/Skin/face.gif", png);
  std::string config;
  {
    QFile f(QString::fromStdString((skin.root() / "Config.ini").string()));
    f.open(QIODevice::ReadOnly);
    config = f.readAll().toStdString();
  }
  skin.writeConfig("[Image1]\nFilename=face.gif\n[Image14]\nFilename=cut.png\n" + config);

  Loaded l;
  load(skin, false, l);
  const QStringList& problems = l.report.problems;
  ASSERT_EQ(problems.size(), 4) << problems.join('\n').toStdString();
  EXPECT_TRUE(problems[0].contains("[VideoMode] TranspColor: 'pink' is not a valid integer value"));
  EXPECT_TRUE(problems[0].contains("Config.ini"));
  EXPECT_TRUE(problems[1].startsWith("Image1 (Graphics\\Skin\\face.gif): Unknown picture file extension (.gif)"))
      << problems[1].toStdString();
  EXPECT_TRUE(problems[2].startsWith("Image14 (Graphics\\Skin\\cut.png): ")) << problems[2].toStdString();
  EXPECT_TRUE(problems[3].startsWith("Image35 (Graphics\\Skin\\im_panel_bell.bmp): ")) << problems[3].toStdString();

  // The run went on: a usable window with the default key colour and
  // placeholders where the pictures failed.
  EXPECT_EQ(*l.layout.seeThrough, qRgb(255, 0, 255));
  EXPECT_EQ(SkinPicture::imageOf(l.panel[im_background].picture), placeholderImage());
  EXPECT_EQ(SkinPicture::imageOf(l.panel[im_panel_game_a].picture), placeholderImage());
  EXPECT_EQ(SkinPicture::imageOf(l.panel[im_panel_bell].picture), placeholderImage());
  EXPECT_EQ(SkinPicture::imageOf(l.panel[im_panel_alarm].picture).size(), QSize(17, 11));
}

TEST(LoadSkin, LogoCornersAndAnUnknownPositionKeepsItsPlace) {
  const QPoint expected[] = {{0, 0}, {800 - 40, 0}, {0, 600 - 20}, {800 - 40, 600 - 20}};
  for (int position = 0; position < 4; ++position) {
    SkinFixture skin;
    writeBackdropAndLogo(skin);
    skin.writeCompleteSkin(kFullscreenHead + "LogoPosition=" + std::to_string(position) + "\n");
    Loaded l;
    load(skin, true, l);
    EXPECT_TRUE(l.layout.logo.visible);
    EXPECT_EQ(l.layout.logo.rect, QRect(expected[position], QSize(40, 20))) << position;
  }
  SkinFixture skin;
  writeBackdropAndLogo(skin);
  skin.writeCompleteSkin(kFullscreenHead + "LogoPosition=7\n");
  Loaded l;
  load(skin, true, l);
  EXPECT_EQ(l.layout.logo.rect, QRect(0, 0, 40, 20));  // top left at the first run
  l.layout.logo.rect.moveTo(100, 100);
  load(skin, true, l);
  EXPECT_EQ(l.layout.logo.rect.topLeft(), QPoint(100, 100));
}

TEST(LoadSkin, SwitchingModesHidesAndShowsBackdropAndLogo) {
  SkinFixture skin;
  writeBackdropAndLogo(skin);
  skin.writeCompleteSkin(kFullscreenHead + "BackdropStretch=1\n");
  Loaded l;
  load(skin, true, l);
  EXPECT_TRUE(l.layout.backdrop.visible);
  EXPECT_TRUE(l.layout.backdrop.stretched);
  EXPECT_TRUE(l.layout.logo.visible);
  EXPECT_EQ(l.layout.backdrop.picture.pixel(0, 0), qRgb(1, 2, 3));

  load(skin, false, l);
  EXPECT_FALSE(l.layout.backdrop.visible);
  EXPECT_FALSE(l.layout.logo.visible);
  EXPECT_TRUE(l.layout.seeThrough);

  load(skin, true, l);
  EXPECT_TRUE(l.layout.backdrop.visible);
  EXPECT_TRUE(l.layout.logo.visible);
  EXPECT_FALSE(l.layout.seeThrough);

  // Files gone: a fullscreen reload shows neither, nor does one after windowed.
  std::filesystem::remove_all(skin.root() / "Graphics/Backdrops");
  for (bool windowedFirst : {false, true}) {
    if (windowedFirst) load(skin, false, l);
    load(skin, true, l);
    EXPECT_FALSE(l.layout.backdrop.visible) << windowedFirst;
    EXPECT_FALSE(l.layout.logo.visible) << windowedFirst;
  }
}

TEST(LoadSkin, MissingConfigChangesNothingButTheMenuButton) {
  SkinFixture skin;
  skin.writeCompleteSkin();
  Loaded l;
  load(skin, false, l);
  std::filesystem::remove(skin.root() / "Config.ini");
  const FaceLayout before = l.layout;
  const Picture face = l.panel[im_background].picture;
  load(skin, true, l);
  EXPECT_TRUE(l.report.configMissing);
  EXPECT_EQ(l.layout.clientSize, before.clientSize);
  EXPECT_EQ(l.layout.seeThrough, before.seeThrough);
  EXPECT_EQ(l.panel[im_background].picture, face);
  EXPECT_TRUE(l.layout.menuButtonVisible);
}

TEST(LoadSkin, TellsThePanelObserverOfEveryNewPicture) {
  struct Counter : PanelObserver {
    int changes = 0;
    void imageChanged(ImageId) override { ++changes; }
  } counter;
  SkinFixture skin;
  skin.writeCompleteSkin();
  Loaded l;
  l.panel.observer = &counter;
  load(skin, false, l);
  EXPECT_EQ(counter.changes, kImageCount);
}

TEST(LoadManualPages, SizeAndPagesWithPlaceholdersForMissingOnes) {
  SkinFixture skin;
  skin.writeConfig("[Manual]\nManualDir=Pages\nManualWidth=300\nManualHeight=200\n");
  for (int n = 1; n <= 7; ++n)
    skin.writeImage("Pages/" + std::to_string(n) + ".bmp", face_test::filled(300, 200, qRgb(n, n, n)), "BMP");
  const ManualPages manual = loadManualPages(skin.sources());
  EXPECT_EQ(manual.clientSize, QSize(300, 200));
  for (int n = 1; n <= 7; ++n) EXPECT_EQ(manual.pages[n - 1].pixel(5, 5), qRgb(n, n, n));
  EXPECT_EQ(manual.pages[7], placeholderImage());
  EXPECT_TRUE(manual.problems.isEmpty());
}

TEST(LoadManualPages, UnusableSizesAreReportedAndTakeTheirDefaults) {
  SkinFixture skin;
  skin.writeConfig("[Manual]\nManualWidth=-1\nManualHeight=100000\n");
  const ManualPages manual = loadManualPages(skin.sources());
  EXPECT_EQ(manual.clientSize, QSize(415, 270));
  ASSERT_EQ(manual.problems.size(), 2);
  EXPECT_TRUE(manual.problems[0].contains("[Manual] ManualWidth: '-1' is not a usable size"))
      << manual.problems[0].toStdString();
}

TEST(LoadManualPages, WithoutConfigEveryValueTakesItsDefault) {
  SkinFixture skin;
  skin.writeImage("Graphics/Manual/3.bmp", face_test::filled(10, 10, qRgb(7, 7, 7)), "BMP");
  const ManualPages manual = loadManualPages(skin.sources());
  EXPECT_EQ(manual.clientSize, QSize(415, 270));
  EXPECT_EQ(manual.pages[2].pixel(1, 1), qRgb(7, 7, 7));
  EXPECT_EQ(manual.pages[0], placeholderImage());
}

// Neither loader blocks on, nor streams from, something other than a regular
// file in the place of Config.ini or a picture: Config.ini counts as missing,
// a picture is reported with its file.
TEST(LoadSkin, AnythingButARegularFileIsRefusedWithoutBlocking) {
  const std::function<void(const std::filesystem::path&)> makers[] = {
      [](const std::filesystem::path& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); },
      [](const std::filesystem::path& p) { std::filesystem::create_symlink("/dev/zero", p); },
      [](const std::filesystem::path& p) { std::filesystem::create_directory(p); },
  };
  for (const auto& make : makers) {
    SkinFixture skin;
    skin.writeCompleteSkin();
    std::filesystem::remove(skin.root() / "Graphics/Skin/im_panel_bell.bmp");
    make(skin.root() / "Graphics/Skin/im_panel_bell.bmp");
    Loaded l;
    load(skin, false, l);
    EXPECT_EQ(SkinPicture::imageOf(l.panel[im_panel_bell].picture), placeholderImage());

    std::filesystem::remove(skin.root() / "Config.ini");
    make(skin.root() / "Config.ini");
    load(skin, false, l);
    EXPECT_TRUE(l.report.configMissing);
    EXPECT_EQ(loadManualPages(skin.sources()).clientSize, QSize(415, 270));
  }
}

TEST(LoadSkin, PicturesTogetherStayWithinThePixelBudget) {
  SkinFixture skin;
  skin.write("Graphics/Skin/big.png", QByteArray::fromStdString(hostile::flatPng(4096, 4096, 77)));
  std::string config;
  for (int n = 1; n <= kImageCount; ++n) config += "[Image" + std::to_string(n) + "]\nFilename=big.png\n";
  skin.writeConfig(config);
  Loaded l;
  load(skin, false, l);
  // 16 million pixels each: three fit in the budget of 48 million.
  ASSERT_EQ(l.report.problems.size(), kImageCount - 3);
  EXPECT_TRUE(l.report.problems[0].startsWith("Image4 (Graphics\\Skin\\big.png): not loaded: all the pictures"))
      << l.report.problems[0].toStdString();
  EXPECT_EQ(SkinPicture::imageOf(l.panel[ImageId(2)].picture).size(), QSize(4096, 4096));
  EXPECT_EQ(SkinPicture::imageOf(l.panel[ImageId(3)].picture), placeholderImage());
}
