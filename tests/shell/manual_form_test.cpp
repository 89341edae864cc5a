// The manual viewer offscreen: pages turned by keys and buttons within their
// bounds, a held key turning one page, closing and reopening, dragging, and
// the built-in button pictures at their corners.

#include "manual_form.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include "manual_buttons.h"
#include "skin_fixture.h"

using namespace face_test;

namespace {

enum Look { Hidden, Released, Pressed };
enum { Close, Left, Right };
using Looks = std::array<Look, 3>;  // of the close, left and right buttons

class TestingManualForm : public TManualForm {
 public:
  using TManualForm::im_page_top;
  using TManualForm::ManualPage;
  using TManualForm::sh_page_top;
  using TManualForm::TManualForm;

  std::pair<const Image&, const Image&> button(int n) const {
    const Image* up[] = {&btn_close_up, &btn_left_up, &btn_right_up};
    const Image* down[] = {&btn_close_down, &btn_left_down, &btn_right_down};
    return {*up[n], *down[n]};
  }
  Looks looks() const {
    Looks looks;
    for (int n : {Close, Left, Right})
      looks[n] = button(n).first.visible ? Released : button(n).second.visible ? Pressed : Hidden;
    return looks;
  }
};

QRgb pageColour(int page) { return qRgb(20 * page, 100, 0); }

// A viewer of 300 x 200 whose page n is 320 x 180, all of colour pageColour(n).
class ManualTest : public testing::Test {
 protected:
  ManualTest() {
    skin.writeConfig("[Manual]\nManualDir=Pages\\\nManualWidth=300\nManualHeight=200\n");
    for (int n = 1; n <= 8; ++n)
      skin.writeImage("Pages/" + std::to_string(n) + ".bmp", filled(320, 180, pageColour(n)), "BMP");
    manual = std::make_unique<TestingManualForm>(skin.sources());
    manual->show();
  }

  // Keys carry their X11 keycodes, as on the real program.
  void key(QEvent::Type type, int qtKey, bool autoRepeat = false) {
    const quint32 scan = qtKey == Qt::Key_Escape ? 9 : qtKey == Qt::Key_Left ? 113 : 114;
    QKeyEvent event(type, qtKey, Qt::NoModifier, scan, 0, 0, QString(), autoRepeat);
    QApplication::sendEvent(manual.get(), &event);
  }
  void press(int qtKey) { key(QEvent::KeyPress, qtKey); }
  void release(int qtKey) { key(QEvent::KeyRelease, qtKey); }
  void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, at, manual->pos() + at, button, held, Qt::NoModifier);
    QApplication::sendEvent(manual.get(), &event);
  }
  void click(int n, Qt::MouseButton button = Qt::LeftButton) {
    const QPoint at = manual->button(n).first.rect.center();
    mouse(QEvent::MouseButtonPress, at, button, button);
    mouse(QEvent::MouseButtonRelease, at, button, Qt::NoButton);
  }
  QRgb shownColour() const { return manual->grab().toImage().pixel(150, 100); }

  SkinFixture skin;
  std::unique_ptr<TestingManualForm> manual;
};

TEST_F(ManualTest, TurnsThroughTheEightPagesWithoutWrappingAndReopensOnTheLastOne) {
  EXPECT_EQ(manual->looks(), (Looks{Released, Hidden, Released}));
  EXPECT_EQ(shownColour(), pageColour(1));
  press(Qt::Key_Left);
  EXPECT_EQ(manual->looks(), (Looks{Released, Hidden, Released}));
  release(Qt::Key_Left);
  for (int page = 2; page <= 8; ++page) {
    press(Qt::Key_Right);
    EXPECT_EQ(manual->looks()[Right], Pressed);
    EXPECT_EQ(manual->ManualPage, page - 1) << "pages turn on release";
    release(Qt::Key_Right);
    EXPECT_EQ(shownColour(), pageColour(page));
  }
  press(Qt::Key_Right);
  release(Qt::Key_Right);
  EXPECT_EQ(manual->ManualPage, 8);
  EXPECT_EQ(manual->looks(), (Looks{Released, Released, Hidden}));

  press(Qt::Key_Escape);
  EXPECT_EQ(manual->looks()[Close], Pressed);
  EXPECT_TRUE(manual->isVisible());
  release(Qt::Key_Escape);
  EXPECT_FALSE(manual->isVisible());
  manual->show();
  EXPECT_EQ(shownColour(), pageColour(8));
  EXPECT_EQ(manual->looks(), (Looks{Released, Released, Hidden}));
}

// X's detectable auto-repeat sends repeated presses without releases; Qt
// marks the repeats it recognises itself as release and press pairs.
TEST_F(ManualTest, AHeldKeyRepeatsThePressedLookAndTurnsOnePageOnRelease) {
  for (int n = 0; n < 5; ++n) press(Qt::Key_Right);
  key(QEvent::KeyRelease, Qt::Key_Right, true);
  key(QEvent::KeyPress, Qt::Key_Right, true);
  EXPECT_EQ(manual->ManualPage, 1);
  EXPECT_EQ(manual->looks()[Right], Pressed);
  release(Qt::Key_Right);
  EXPECT_EQ(manual->ManualPage, 2);
  EXPECT_EQ(manual->looks()[Right], Released);

  // Losing the keyboard with a key held: its release goes elsewhere.
  press(Qt::Key_Right);
  QEvent deactivation(QEvent::ActivationChange);
  QApplication::sendEvent(manual.get(), &deactivation);
  EXPECT_EQ(manual->looks()[Right], Released);
  EXPECT_EQ(manual->ManualPage, 2);
}

TEST_F(ManualTest, TheButtonsTakeLeftClicksOnly) {
  click(Right, Qt::RightButton);
  EXPECT_EQ(manual->ManualPage, 1);
  const QPoint right = manual->button(Right).first.rect.center();
  mouse(QEvent::MouseButtonPress, right, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(manual->looks()[Right], Pressed);
  // The key turns the page meanwhile: both releases stop at the last page.
  for (int n = 0; n < 7; ++n) {
    press(Qt::Key_Right);
    release(Qt::Key_Right);
  }
  mouse(QEvent::MouseButtonRelease, right, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(manual->ManualPage, 8);
  click(Left);
  EXPECT_EQ(shownColour(), pageColour(7));
  click(Close);
  EXPECT_FALSE(manual->isVisible());
}

TEST_F(ManualTest, ALeftDragOnThePageMovesTheWindowAndNothingElseDoes) {
  const struct {
    QPoint pressAt;
    Qt::MouseButton button;
    bool moves;
  } cases[] = {{{100, 100}, Qt::LeftButton, true},
               {{0, 199}, Qt::LeftButton, true},
               {{100, 100}, Qt::RightButton, false},
               {manual->button(Right).first.rect.center(), Qt::LeftButton, false}};
  for (const auto& c : cases) {
    manual->move(200, 150);
    mouse(QEvent::MouseButtonPress, c.pressAt, c.button, c.button);
    mouse(QEvent::MouseMove, c.pressAt + QPoint(30, -20), Qt::NoButton, c.button);
    EXPECT_EQ(manual->pos(), c.moves ? QPoint(230, 130) : QPoint(200, 150)) << c.pressAt.x();
    mouse(QEvent::MouseButtonRelease, c.pressAt + QPoint(30, -20), c.button, Qt::NoButton);
  }
}

// A 320 x 180 page: unscaled, cut at the window's edge, white below it.
TEST(ManualForm, ShowsThePageUnscaledAndKeepsTheButtonsFourPixelsFromTheirCorners) {
  const struct {
    const char* config;
    QSize size;
    std::array<QPoint, 3> corners;
  } cases[] = {{"", {415, 270}, {{{395, 4}, {4, 252}, {395, 252}}}},
               {"[Manual]\nManualWidth=300\nManualHeight=200\n", {300, 200}, {{{280, 4}, {4, 182}, {280, 182}}}}};
  for (const auto& c : cases) {
    SkinFixture skin;
    skin.writeConfig(c.config);
    skin.writeImage("Graphics/Manual/1.bmp", filled(320, 180, qRgb(10, 0, 0)), "BMP");
    TestingManualForm manual(skin.sources());
    ASSERT_EQ(manual.size(), c.size);
    EXPECT_EQ(manual.im_page_top.rect, QRect(QPoint(0, 0), c.size));
    EXPECT_EQ(manual.sh_page_top, QRect(QPoint(0, 0), c.size));
    for (int n : {Close, Left, Right}) {
      EXPECT_EQ(manual.button(n).first.rect, QRect(c.corners[n], QSize(16, 14)));
      EXPECT_EQ(manual.button(n).second.rect, QRect(c.corners[n], QSize(16, 14)));
    }
    const QImage shown = manual.grab().toImage();
    EXPECT_EQ(shown.pixel(c.corners[Close]), qRgb(192, 192, 255));
    EXPECT_EQ(shown.pixel(c.corners[Right] + QPoint(15, 13)), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(0, 100), qRgb(0, 0, 0));  // the outline
    EXPECT_EQ(shown.pixel(c.size.width() - 1, 100), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(298, 100), qRgb(10, 0, 0));
    EXPECT_EQ(shown.pixel(150, 190), qRgb(255, 255, 255));
  }
}

// The smallest part of a button picture that holds its white glyph.
QImage glyphOf(const QImage& picture) {
  QRect box;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      if (picture.pixel(x, y) == qRgb(255, 255, 255)) box |= QRect(x, y, 1, 1);
  return picture.copy(box);
}

TEST(ManualButtons, BevelsRaiseTheReleasedPictureAndSinkThePressedOneWithItsGlyph) {
  const QRgb outerLight = qRgb(192, 192, 255), innerLight = qRgb(128, 128, 255);
  const QRgb innerDark = qRgb(0, 0, 192), outerDark = qRgb(0, 0, 0), face = qRgb(0, 0, 255);
  const struct {
    QPoint at;
    QRgb released, pressed;
  } pixels[] = {{{0, 0}, outerLight, outerDark}, {{0, 6}, outerLight, outerDark},  {{7, 1}, innerLight, innerDark},
                {{15, 0}, outerDark, outerLight}, {{0, 13}, outerDark, outerLight}, {{14, 6}, innerDark, innerLight},
                {{2, 2}, face, face}};
  using zarvik::ManualGlyph;
  for (const ManualGlyph glyph : {ManualGlyph::Cross, ManualGlyph::LeftChevron, ManualGlyph::RightChevron}) {
    const QImage released = zarvik::manualButtonPicture(glyph, false);
    const QImage pressed = zarvik::manualButtonPicture(glyph, true);
    ASSERT_EQ(released.size(), QSize(16, 14));
    for (const auto& p : pixels) {
      EXPECT_EQ(released.pixel(p.at), p.released) << int(glyph) << " " << p.at.x() << "," << p.at.y();
      EXPECT_EQ(pressed.pixel(p.at), p.pressed) << int(glyph) << " " << p.at.x() << "," << p.at.y();
    }
    EXPECT_EQ(released.copy(2, 2, 11, 9), pressed.copy(3, 3, 11, 9)) << "moved one pixel right and down";
    EXPECT_GT(glyphOf(released).width(), 4);
  }
  // The chevrons are each other's mirror image, the left one's tip on its left.
  const QImage left = glyphOf(zarvik::manualButtonPicture(ManualGlyph::LeftChevron, false));
  EXPECT_EQ(left.mirrored(true, false), glyphOf(zarvik::manualButtonPicture(ManualGlyph::RightChevron, false)));
  EXPECT_EQ(left.pixel(0, left.height() / 2), qRgb(255, 255, 255));
  EXPECT_NE(left.pixel(0, 0), qRgb(255, 255, 255));
}

}  // namespace
