// The LCD look on the default skin: against the plain face only shadow
// pixels differ, and only next to lit segments; fades reach their end states
// on time on a clock the test moves, repainting the changing segment alone.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPaintEvent>
#include <gtest/gtest.h>

#include "headless.h"
#include "main_window.h"
#include "paint_spy.h"
#include "skin_picture.h"

using namespace zarvik;

namespace {

class LcdLookFace : public ::testing::Test {
 protected:
  TForm1& open(int zoom) {
    TForm1::Options options{SkinSources::forFolder(ZARVIK_SKIN_DIR), false};
    options.zoom = zoom;
    options.lcdLookClock = [this] { return now; };
    form = std::make_unique<TForm1>(headless.handheld, options);
    return *form;
  }

  int64_t now = 1000;
  HeadlessHandheld headless{LocalDateTime{2026, 1, 1, 12, 0, 0}, 1};
  Panel& panel = headless.handheld.panel;
  std::unique_ptr<TForm1> form;
};

bool isLcdElement(ImageId id) {
  return kSkinImages[id].role == ImageRole::Segment || kSkinImages[id].role == ImageRole::Digit;
}

// Window pixels where a lit segment's opaque pixel, moved by the shadow's
// offset, falls inside the LCD area.
QImage shadowFootprint(const TForm1& face, const Panel& panel) {
  QImage footprint(face.composedPicture().size(), QImage::Format_Mono);
  footprint.fill(0);
  const int offset = LcdLook::kShadowOffset;
  const QRect lcd = face.toWindow(panel[im_background_screen_top].rect);
  for (int i = 0; i < kImageCount; ++i) {
    const Image& image = panel[ImageId(i)];
    if (!isLcdElement(ImageId(i)) || !image.visible || !image.picture) continue;
    const QImage picture = SkinPicture::imageOf(image.picture);
    for (int v = 0; v < std::min(image.rect.height, picture.height()); ++v)
      for (int u = 0; u < std::min(image.rect.width, picture.width()); ++u) {
        if (qAlpha(picture.pixel(u, v)) == 0) continue;
        const QRect square = face.toWindow({image.rect.left + u + offset, image.rect.top + v + offset, 1, 1}) & lcd;
        for (int y = square.top(); y <= square.bottom(); ++y)
          for (int x = square.left(); x <= square.right(); ++x) footprint.setPixel(x, y, 1);
      }
  }
  return footprint;
}

}  // namespace

TEST_F(LcdLookFace, EveryLitSegmentCastsAShadowAndNothingElseChangesAtEveryZoom) {
  for (const int zoom : {1, 3}) {
    TForm1& face = open(zoom);
    ASSERT_FALSE(face.lcdLook().enabled()) << "off unless asked for";
    headless.handheld.Mode = ModeAllSegments;
    headless.handheld.Gam_Set_Mode();
    const QImage plain = face.composedPicture();
    face.setLcdLook(true);
    EXPECT_EQ(headless.settings.values["LcdLook"], 1) << "stored when switched";
    const QImage look = face.composedPicture();
    const QImage footprint = shadowFootprint(face, panel);
    int shadowPixels = 0, elsewhere = 0, lighter = 0, blurred = 0;
    for (int y = 0; y < plain.height(); ++y)
      for (int x = 0; x < plain.width(); ++x) {
        if (look.pixel(x, y) != look.pixel(x - x % zoom, y - y % zoom)) ++blurred;
        if (look.pixel(x, y) == plain.pixel(x, y)) continue;
        ++shadowPixels;
        elsewhere += footprint.pixelIndex(x, y) == 0;
        const QRgb a = look.pixel(x, y), b = plain.pixel(x, y);
        lighter += qRed(a) > qRed(b) || qGreen(a) > qGreen(b) || qBlue(a) > qBlue(b);
      }
    EXPECT_GT(shadowPixels, 1000 * zoom * zoom) << "zoom " << zoom;
    EXPECT_EQ(elsewhere, 0) << "zoom " << zoom << ": pixels changed away from any shadow";
    EXPECT_EQ(lighter, 0) << "zoom " << zoom << ": a shadow only darkens";
    EXPECT_EQ(blurred, 0) << "zoom " << zoom << ": each skin pixel one square of window pixels";
    face.setLcdLook(false);
    EXPECT_EQ(face.composedPicture(), plain) << "zoom " << zoom << ": switched off, the plain face again";
    EXPECT_EQ(headless.settings.values["LcdLook"], 0);
  }
}

// A segment darkens in 60 ms and clears in 120 ms; a digit's old picture
// clears while its new one darkens. The face is the same at rest as when
// the change began and ended, and in between only the changing segment's
// rectangle is repainted; once at rest nothing wakes.
TEST_F(LcdLookFace, FadesReachTheirEndStatesOnTime) {
  TForm1& face = open(2);
  face.setLcdLook(true);
  headless.handheld.Mode = ModeChrono;  // 00:00, a steady colon, no timer
  headless.handheld.Gam_Set_Mode();
  now += 500;
  face.lcdLook().frame();
  const QImage before = face.composedPicture();
  face.show();
  QCoreApplication::processEvents();
  PaintSpy spy;
  face.installEventFilter(&spy);

  const int64_t start = now;
  std::map<int64_t, QImage> at;
  auto look = [&](int64_t t) {
    now = start + t;
    face.lcdLook().frame();
    at[t] = face.composedPicture();
  };
  panel.setVisible(im_panel_bell, true);
  for (int64_t t : {0, 30, 59, 60, 100}) look(t);
  const bool restedDark = !face.lcdLook().changing();
  QCoreApplication::processEvents();
  const QRegion repainted = spy.painted;
  panel.setVisible(im_panel_bell, false);
  for (int64_t t : {160, 219, 220, 300}) look(t);
  const bool restedClear = !face.lcdLook().changing();
  panel.Vid_Set_Digit(4, 7);
  for (int64_t t : {360, 419, 420, 500}) look(t);

  EXPECT_EQ(at[0], before) << "nothing darkened at once";
  EXPECT_NE(at[30], before);
  EXPECT_NE(at[30], at[100]);
  EXPECT_NE(at[59], at[100]);
  EXPECT_EQ(at[60], at[100]) << "dark after 60 ms";
  EXPECT_NE(at[219], before);
  EXPECT_EQ(at[220], before) << "clear 120 ms after it was hidden";
  EXPECT_NE(at[419], at[500]) << "the old digit still clearing";
  EXPECT_EQ(at[420], at[500]);
  EXPECT_NE(at[500], before);
  EXPECT_TRUE(restedDark && restedClear) << "the frame timer stops at rest";
  int between = 0;
  for (int y = 0; y < before.height(); ++y)
    for (int x = 0; x < before.width(); ++x) {
      const int g = qGray(at[30].pixel(x, y)), clear = qGray(before.pixel(x, y)), dark = qGray(at[100].pixel(x, y));
      between += g < clear && g > dark;
    }
  EXPECT_GT(between, 100) << "half way, pixels half dark";
  const QRect bell = face.toWindow(LcdLook::reach(panel[im_panel_bell].rect));
  EXPECT_FALSE(repainted.isEmpty());
  EXPECT_EQ(repainted.subtracted(bell), QRegion()) << "only the bell's rectangle repainted";
}

// Ctrl and L switch the look once per press and store it, unless L works a
// button: then the button is pressed, as a bound key is whatever is held.
TEST_F(LcdLookFace, CtrlAndLSwitchTheLookUnlessLIsABoundKey) {
  TForm1& face = open(1);
  auto key = [&](QEvent::Type type) {
    QKeyEvent event(type, Qt::Key_L, Qt::ControlModifier, 46, 0, 0);
    QCoreApplication::sendEvent(&face, &event);
  };
  key(QEvent::KeyPress);
  key(QEvent::KeyPress);  // held: repeated
  EXPECT_TRUE(face.lcdLook().enabled());
  EXPECT_EQ(headless.settings.values["LcdLook"], 1);
  key(QEvent::KeyRelease);
  key(QEvent::KeyPress);
  key(QEvent::KeyRelease);
  EXPECT_FALSE(face.lcdLook().enabled());
  EXPECT_EQ(headless.settings.values["LcdLook"], 0);

  face.applyKeyChoices({2, 3, 4, 22, 40});  // Left on 'L'
  key(QEvent::KeyPress);
  EXPECT_FALSE(face.lcdLook().enabled());
  EXPECT_TRUE(panel[btn_left_down].visible) << "Left pressed";
  key(QEvent::KeyRelease);
  EXPECT_FALSE(panel[btn_left_down].visible);
}
