#include "main_window.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QRegion>
#include <gtest/gtest.h>

#include "application_state.h"
#include "error_box.h"
#include "skin_fixture.h"
#include "headless.h"
#include "paint_spy.h"
#include "picture_loader.h"

using namespace zarvik;
using namespace face_test;

namespace {

// A handheld on virtual time, and the face window over a fixture skin, with
// error boxes captured instead of shown.
class FaceWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    previousBox_ = setErrorBoxHandler([this](QWidget*, const QString& text) { errors << text; });
  }
  void TearDown() override {
    form.reset();
    setErrorBoxHandler(previousBox_);
  }

  TForm1& open(bool fullscreen) {
    form = std::make_unique<TForm1>(handheld, TForm1::Options{skin.sources(), fullscreen});
    return *form;
  }
  void lightEverything() {
    handheld.Mode = ModeAllSegments;
    handheld.Gam_Set_Mode();
  }

  SkinFixture skin;
  HeadlessHandheld headless{LocalDateTime{2026, 1, 1, 12, 0, 0}, 1};
  Handheld& handheld = headless.handheld;
  std::unique_ptr<TForm1> form;
  QStringList errors;

 private:
  ErrorBoxHandler previousBox_;
};

QPoint centreOf(const Panel& panel, ImageId id) {
  const Rect& r = panel[id].rect;
  return QPoint(r.left + r.width / 2, r.top + r.height / 2);
}

}  // namespace

TEST_F(FaceWindow, LayersAreDrawnInOrder) {
  skin.writeCompleteSkin();
  TForm1& face = open(false);
  lightEverything();
  const QImage picture = face.composedPicture();
  const Panel& panel = face.panel();

  EXPECT_EQ(picture.size(), QSize(561, 374));
  // The face's key colour shows the window colour, which is the see-through colour.
  EXPECT_EQ(picture.pixel(2, 200), qRgb(255, 0, 255));
  EXPECT_EQ(picture.pixel(100, 20), kFaceGrey);
  // A lit segment: its inked inside over the face, its white key colour left out.
  const Rect bell = panel[im_panel_bell].rect;
  EXPECT_EQ(picture.pixel(centreOf(panel, im_panel_bell)), kSegmentInk);
  EXPECT_EQ(picture.pixel(bell.left, bell.top), picture.pixel(bell.left - 1, bell.top - 30));
  // Buttons are opaque: the bottom-left corner keeps its colour.
  const Rect left = panel[btn_left_top].rect;
  EXPECT_EQ(picture.pixel(left.left, left.top + left.height - 1), kButtonCornerRed);
  // The overlay lies over the segments: its red top row crosses them.
  const Rect overlay = panel[im_background_screen_top].rect;
  EXPECT_EQ(picture.pixel(overlay.left + 10, overlay.top), kOverlayRed);
  EXPECT_EQ(picture.pixel(overlay.left + 10, overlay.top + 1), kFaceGrey);
}

TEST_F(FaceWindow, PressedPictureCoversItsReleasedOneAndDigitsShowGlyphCopies) {
  skin.writeCompleteSkin();
  TForm1& face = open(false);
  Panel& panel = face.panel();
  panel.setVisible(btn_time_down, true);
  EXPECT_EQ(face.composedPicture().pixel(centreOf(panel, btn_time_top)), kPressedNavy);

  panel.Vid_Show_All(true);
  const QImage picture = face.composedPicture();
  EXPECT_EQ(picture.pixel(centreOf(panel, im_panel_digit_pos_2)), kSegmentInk);
  EXPECT_EQ(panel[im_panel_digit_pos_2].picture, panel[im_panel_number_8].picture);
}

TEST_F(FaceWindow, SetButtonPictureIsScaledToItsBox) {
  skin.writeCompleteSkin();
  skin.writeImage("Graphics/Skin/btn_set_top.bmp", filled(2, 2, qRgb(0, 120, 0)), "BMP");
  TForm1& face = open(false);
  const Rect box = face.panel()[btn_set_top].rect;
  const QImage picture = face.composedPicture();
  EXPECT_EQ(picture.pixel(box.left + box.width - 1, box.top + box.height - 1), qRgb(0, 120, 0));

  skin.writeImage("Graphics/Skin/btn_set_top.bmp", filled(60, 60, qRgb(0, 120, 0)), "BMP");
  face.LoadSkin();
  EXPECT_EQ(face.composedPicture().pixel(box.left + box.width - 1, box.top + box.height - 1), qRgb(0, 120, 0));
  // Other pictures are clipped to their box: a larger bell stays inside its own.
  skin.writeImage("Graphics/Skin/im_panel_bell.bmp", filled(80, 80, kSegmentInk), "BMP");
  face.LoadSkin();
  face.panel().setVisible(im_panel_bell, true);
  const Rect bell = face.panel()[im_panel_bell].rect;
  EXPECT_EQ(face.composedPicture().pixel(bell.left + bell.width, bell.top + 2), kFaceGrey);
}

TEST_F(FaceWindow, ChangingASegmentRepaintsOnlyItsRectangle) {
  skin.writeCompleteSkin();
  TForm1& face = open(false);
  face.show();
  QCoreApplication::processEvents();
  PaintSpy spy;
  face.installEventFilter(&spy);

  face.panel().setVisible(im_panel_bell, true);
  face.panel().Vid_Set_Digit(3, 5);
  QCoreApplication::processEvents();
  const Rect bell = face.panel()[im_panel_bell].rect;
  const Rect digit = face.panel()[im_panel_digit_pos_3].rect;
  EXPECT_EQ(spy.painted, QRegion(bell.left, bell.top, bell.width, bell.height) +
                             QRegion(digit.left, digit.top, digit.width, digit.height));
}

// The see-through colour is keyed on the composed picture: a segment lit over
// a see-through part of the face is seen and takes presses, and its own key
// colour stays see-through.
TEST_F(FaceWindow, WindowShapeFollowsSegmentsOverSeeThroughParts) {
  skin.writeCompleteSkin();
  QImage facePicture = SkinFixture::pictureFor(im_background);
  const Rect bell = kSkinImages[im_panel_bell].builtin;
  for (int y = bell.top; y < bell.top + bell.height; ++y)
    for (int x = bell.left; x < bell.left + bell.width; ++x) facePicture.setPixel(x, y, kFaceKeyGreen);
  skin.writeImage("Graphics/Skin/im_background.bmp", facePicture, "BMP");
  TForm1& face = open(false);
  const QPoint inked = centreOf(face.panel(), im_panel_bell);
  const QPoint rim(bell.left, bell.top);
  EXPECT_FALSE(face.mask().contains(inked));

  face.panel().setVisible(im_panel_bell, true);
  EXPECT_TRUE(face.mask().contains(inked));
  EXPECT_FALSE(face.mask().contains(rim));
  EXPECT_TRUE(face.mask().xored(QRegion(face.windowMask())).isEmpty());

  face.panel().setVisible(im_panel_bell, false);
  EXPECT_FALSE(face.mask().contains(inked));
  EXPECT_TRUE(face.mask().xored(QRegion(face.windowMask())).isEmpty());
}

TEST_F(FaceWindow, ImageAtFindsTheTopmostShownImage) {
  skin.writeCompleteSkin();
  TForm1& face = open(false);
  Panel& panel = face.panel();
  EXPECT_EQ(face.imageAt(centreOf(panel, btn_game_a_top)), btn_game_a_top);
  panel.setVisible(btn_game_a_down, true);
  EXPECT_EQ(face.imageAt(centreOf(panel, btn_game_a_top)), btn_game_a_down);
  EXPECT_EQ(face.imageAt(QPoint(10, 10)), im_background);
  // Hidden segments lie under the overlay, which takes presses over the LCD.
  EXPECT_EQ(face.imageAt(centreOf(panel, im_panel_bell)), im_background_screen_top);
  EXPECT_EQ(face.imageAt(QPoint(-5, 10)), std::nullopt);
}

// Zoomed, every skin pixel is a square of window pixels (no smoothing, no
// seam), and hits and the window's shape follow the zoomed face.
TEST_F(FaceWindow, ZoomedFaceIsWholePixelsWithHitsAndShapeScaled) {
  skin.writeCompleteSkin();
  const QImage plain = open(false).composedPicture();
  for (int zoom : {2, 3}) {
    form = std::make_unique<TForm1>(handheld, TForm1::Options{skin.sources(), false, nullptr, zoom});
    const QImage zoomed = form->composedPicture();
    ASSERT_EQ(zoomed.size(), QSize(561, 374) * zoom);
    int seams = 0;
    for (int y = 0; y < zoomed.height(); ++y)
      for (int x = 0; x < zoomed.width(); ++x) seams += zoomed.pixel(x, y) != plain.pixel(x / zoom, y / zoom);
    EXPECT_EQ(seams, 0) << "zoom " << zoom;

    const Rect time = form->panel()[btn_time_top].rect;
    const QPoint lastPixel = QPoint(time.left + time.width, time.top + time.height) * zoom - QPoint(1, 1);
    EXPECT_EQ(form->imageAt(lastPixel), btn_time_top);
    EXPECT_NE(form->imageAt(lastPixel + QPoint(1, 1)), btn_time_top);
    EXPECT_FALSE(form->mask().contains(QPoint(5 * zoom - 1, 5 * zoom - 1)));  // the green margin
    EXPECT_TRUE(form->mask().contains(QPoint(5 * zoom, 5 * zoom)));
  }
}

// In fullscreen mode zoom on draws the face at the largest whole scale that
// fits the screen, centred.
TEST_F(FaceWindow, FullscreenZoomFitsTheLargestWholeScale) {
  skin.writeCompleteSkin("[Common]\nGameWidth=100\nGameHeight=80\n");
  form = std::make_unique<TForm1>(handheld, TForm1::Options{skin.sources(), true, nullptr, 2});
  const QSize screen = form->screen()->size();
  const int scale = std::min(screen.width() / 100, screen.height() / 80);
  const QPoint origin((screen.width() - 100 * scale) / 2, (screen.height() - 80 * scale) / 2);
  EXPECT_EQ(form->toWindow(form->panel()[im_background].rect), QRect(origin, QSize(561, 374) * scale));
  EXPECT_EQ(form->composedPicture().pixel(origin + QPoint(20, 20) * scale), kFaceGrey);
}

TEST_F(FaceWindow, FullscreenDrawsBackdropLogoAndColourAroundTheFace) {
  skin.writeImage("Graphics/Backdrops/back.bmp", filled(10, 10, qRgb(0, 0, 90)), "BMP");
  skin.writeImage("Graphics/Backdrops/logo.png", filled(40, 20, qRgb(250, 250, 0)), "PNG");
  skin.writeCompleteSkin("[Fullscreen]\nBackdropFile=back.bmp\nLogoFile=logo.png\nBgColor=$00003000\n");
  TForm1& face = open(true);
  const QSize screen = face.screen()->size();
  EXPECT_EQ(face.size(), screen);
  QImage picture = face.composedPicture();
  const QPoint faceOrigin = face.layout().faceOffset;
  EXPECT_EQ(picture.pixel(faceOrigin + QPoint(100, 20)), kFaceGrey);
  EXPECT_EQ(picture.pixel(2, screen.height() - 2), qRgb(0, 48, 0));  // BgColor around a centred backdrop
  EXPECT_EQ(picture.pixel(screen.width() - 2, 2), qRgb(250, 250, 0));  // the logo, top right
  EXPECT_EQ(picture.pixel(faceOrigin + QPoint(2, 100)), qRgb(0, 48, 0));  // the face's key colour shows BgColor

  face.pm_10_fullscreenClick();
  EXPECT_EQ(face.size(), QSize(561, 374));
  EXPECT_EQ(face.pos(), QPoint((screen.width() - 561) / 2, (screen.height() - 374) / 2));
  face.pm_10_fullscreenClick();
  EXPECT_EQ(face.pos(), QPoint(0, 0));
  EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

// A centred backdrop is kept only where it lies on the screen (JPEG rows and
// columns skipped while decoding, other pictures cropped), yet shows exactly
// as the whole picture centred, larger or smaller than the screen by odd amounts.
TEST_F(FaceWindow, FullscreenBackdropShowsAsTheWholePictureCentred) {
  const QSize screen = QGuiApplication::primaryScreen()->size();
  for (const char* format : {"jpg", "bmp"}) {
    for (const QSize size : {screen + QSize(37, 21), screen - QSize(101, 51)}) {
      QImage noise(size, QImage::Format_RGB32);
      for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) noise.setPixel(x, y, qRgb(x * 7 ^ y * 13, x * y, (x + y) * 5));
      skin.writeImage(std::string("Graphics/Backdrops/back.") + format, noise, format);
      skin.writeCompleteSkin(std::string("[Fullscreen]\nBgColor=$00003000\nBackdropFile=back.") + format + "\n");
      const QImage shown = open(true).composedPicture();
      QImage expected(screen, QImage::Format_RGB32);
      expected.fill(qRgb(0, 48, 0));
      const QPoint centred((screen.width() - size.width()) / 2, (screen.height() - size.height()) / 2);
      QPainter(&expected).drawImage(centred, loadPicture(skin.root() / (std::string("Graphics/Backdrops/back.") + format)).image);
      const QRegion overdrawn = QRegion(QRect(form->layout().faceOffset, form->layout().faceSize)) +
                                QRect(QPoint(0, 0), form->layout().menuButtonBackgroundSize);
      int differing = 0;
      for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
          differing += !overdrawn.contains(QPoint(x, y)) && shown.pixel(x, y) != expected.pixel(x, y);
      EXPECT_EQ(differing, 0) << format << " " << size.width() << " x " << size.height();
      EXPECT_EQ(form->layout().backdrop.picture.size(), size.boundedTo(screen));
    }
  }
}

TEST_F(FaceWindow, SkinProblemsComeInOneErrorBox) {
  skin.writeCompleteSkin("[VideoMode]\nTranspColor=pink\n");
  skin.write("Graphics/Skin/im_panel_bell.bmp", "BM broken");
  open(false);
  ASSERT_EQ(errors.size(), 1);
  EXPECT_TRUE(errors[0].contains("'pink' is not a valid integer value"));
  EXPECT_TRUE(errors[0].contains("Image35 (Graphics\\Skin\\im_panel_bell.bmp)"));
  EXPECT_FALSE(terminationRequested());
}

TEST_F(FaceWindow, MissingConfigShowsTheErrorAndEndsTheProgram) {
  TForm1& face = open(false);
  ASSERT_EQ(errors.size(), 1);
  EXPECT_EQ(errors[0], "Configuration file (Config.ini) not found. Please reinstall the game.");
  EXPECT_TRUE(terminationRequested());
  EXPECT_EQ(face.size(), QSize(561, 374));
}
