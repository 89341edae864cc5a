// The manual viewer offscreen: its pages turned by keys and buttons within
// their bounds, a held key turning one page, closing and reopening, dragging,
// and the built-in button pictures at their corners.

#include "manual_form.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>
#include <tuple>

#include "manual_buttons.h"
#include "skin_fixture.h"

using namespace face_test;

namespace {

class TestingManualForm : public TManualForm {
 public:
  using TManualForm::TManualForm;
  using TManualForm::btn_close_down;
  using TManualForm::btn_close_up;
  using TManualForm::btn_left_down;
  using TManualForm::btn_left_up;
  using TManualForm::btn_right_down;
  using TManualForm::btn_right_up;
  using TManualForm::im_page_top;
  using TManualForm::Image;
  using TManualForm::ManualPage;
  using TManualForm::sh_page_top;
};

enum class Look { Hidden, Released, Pressed };

Look look(const TestingManualForm::Image& up, const TestingManualForm::Image& down) {
  if (up.visible) return Look::Released;
  return down.visible ? Look::Pressed : Look::Hidden;
}

// The smallest part of a button picture that holds its white glyph.
QImage glyphOf(const QImage& picture) {
  QRect box;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      if (picture.pixel(x, y) == qRgb(255, 255, 255)) box |= QRect(x, y, 1, 1);
  return picture.copy(box);
}

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
    const quint32 scan = qtKey == Qt::Key_Escape ? 9 : qtKey == Qt::Key_Left ? 113 : qtKey == Qt::Key_Right ? 114 : 38;
    QKeyEvent event(type, qtKey, Qt::NoModifier, scan, 0, 0, QString(), autoRepeat);
    QApplication::sendEvent(manual.get(), &event);
  }
  void press(int qtKey) { key(QEvent::KeyPress, qtKey); }
  void release(int qtKey) { key(QEvent::KeyRelease, qtKey); }
  void tap(int qtKey) {
    press(qtKey);
    release(qtKey);
  }
  void mouse(QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons held) {
    const QPointF global = manual->pos() + local;
    QMouseEvent event(type, local, global, button, held, Qt::NoModifier);
    QApplication::sendEvent(manual.get(), &event);
  }

  Look close() const { return look(manual->btn_close_up, manual->btn_close_down); }
  Look left() const { return look(manual->btn_left_up, manual->btn_left_down); }
  Look right() const { return look(manual->btn_right_up, manual->btn_right_down); }
  QRgb shownColour() const { return manual->grab().toImage().pixel(150, 100); }

  SkinFixture skin;
  std::unique_ptr<TestingManualForm> manual;
};

TEST_F(ManualTest, FirstOpeningThenRightSevenTimesReachesTheLastPage) {
  EXPECT_EQ(manual->ManualPage, 1);
  EXPECT_EQ(shownColour(), pageColour(1));
  EXPECT_EQ(left(), Look::Hidden);
  EXPECT_EQ(right(), Look::Released);
  EXPECT_EQ(close(), Look::Released);
  for (int page = 2; page <= 8; ++page) {
    press(Qt::Key_Right);
    EXPECT_EQ(right(), Look::Pressed);
    EXPECT_EQ(manual->ManualPage, page - 1) << "pages turn on release";
    release(Qt::Key_Right);
    EXPECT_EQ(manual->ManualPage, page);
    EXPECT_EQ(shownColour(), pageColour(page));
    EXPECT_EQ(left(), Look::Released);
  }
  EXPECT_EQ(right(), Look::Hidden);
}

TEST_F(ManualTest, LeftOnTheFirstPageAndRightOnTheLastChangeNothing) {
  press(Qt::Key_Left);
  EXPECT_EQ(left(), Look::Hidden);
  release(Qt::Key_Left);
  EXPECT_EQ(manual->ManualPage, 1);
  for (int n = 0; n < 7; ++n) tap(Qt::Key_Right);
  press(Qt::Key_Right);
  EXPECT_EQ(right(), Look::Hidden);
  release(Qt::Key_Right);
  EXPECT_EQ(manual->ManualPage, 8);
  tap(Qt::Key_Left);
  EXPECT_EQ(manual->ManualPage, 7);
  EXPECT_EQ(right(), Look::Released);
}

// X's detectable auto-repeat sends repeated presses without releases; Qt
// marks the repeats it recognises itself as release and press pairs.
TEST_F(ManualTest, AHeldKeyRepeatsThePressedLookAndTurnsOnePageOnRelease) {
  press(Qt::Key_Right);
  for (int n = 0; n < 5; ++n) press(Qt::Key_Right);
  key(QEvent::KeyRelease, Qt::Key_Right, true);
  key(QEvent::KeyPress, Qt::Key_Right, true);
  EXPECT_EQ(manual->ManualPage, 1);
  EXPECT_EQ(right(), Look::Pressed);
  release(Qt::Key_Right);
  EXPECT_EQ(manual->ManualPage, 2);
  EXPECT_EQ(right(), Look::Released);

  // The viewer loses the keyboard while a key is held: the release will go
  // elsewhere, so the button looks released again and no page turns.
  press(Qt::Key_Right);
  QEvent deactivation(QEvent::ActivationChange);
  QApplication::sendEvent(manual.get(), &deactivation);
  EXPECT_EQ(right(), Look::Released);
  EXPECT_EQ(manual->ManualPage, 2);
}

TEST_F(ManualTest, EscPressedShowsTheCloseButtonPressedAndItsReleaseHidesTheViewer) {
  tap(Qt::Key_Right);
  tap(Qt::Key_Right);
  press(Qt::Key_Escape);
  EXPECT_EQ(close(), Look::Pressed);
  EXPECT_TRUE(manual->isVisible());
  release(Qt::Key_Escape);
  EXPECT_FALSE(manual->isVisible());

  manual->show();
  EXPECT_EQ(manual->ManualPage, 3);
  EXPECT_EQ(shownColour(), pageColour(3));
  EXPECT_EQ(close(), Look::Released);
  EXPECT_EQ(left(), Look::Released);
}

TEST_F(ManualTest, TheButtonsActOnTheLeftMouseButtonAndTurnOnRelease) {
  const QPoint rightButton = manual->btn_right_up.rect.center();
  mouse(QEvent::MouseButtonPress, rightButton, Qt::RightButton, Qt::RightButton);
  EXPECT_EQ(right(), Look::Released);
  mouse(QEvent::MouseButtonRelease, rightButton, Qt::RightButton, Qt::NoButton);
  EXPECT_EQ(manual->ManualPage, 1);

  mouse(QEvent::MouseButtonPress, rightButton, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(right(), Look::Pressed);
  EXPECT_EQ(manual->ManualPage, 1);
  mouse(QEvent::MouseButtonRelease, rightButton, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(manual->ManualPage, 2);

  const QPoint leftButton = manual->btn_left_up.rect.center();
  mouse(QEvent::MouseButtonPress, leftButton, Qt::LeftButton, Qt::LeftButton);
  mouse(QEvent::MouseButtonRelease, leftButton, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(manual->ManualPage, 1);

  // The key and the mouse both holding Right on page 7: both releases turn
  // no further than page 8.
  for (int n = 0; n < 6; ++n) tap(Qt::Key_Right);
  mouse(QEvent::MouseButtonPress, rightButton, Qt::LeftButton, Qt::LeftButton);
  tap(Qt::Key_Right);
  mouse(QEvent::MouseButtonRelease, rightButton, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(manual->ManualPage, 8);
  EXPECT_EQ(shownColour(), pageColour(8));

  const QPoint closeButton = manual->btn_close_up.rect.center();
  mouse(QEvent::MouseButtonPress, closeButton, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(close(), Look::Pressed);
  mouse(QEvent::MouseButtonRelease, closeButton, Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(manual->isVisible());
}

TEST_F(ManualTest, ALeftDragOnThePageMovesTheWindowAndNothingElseDoes) {
  struct Case {
    const char* what;
    QPoint pressAt;
    Qt::MouseButton button;
    bool moves;
  };
  const Case cases[] = {
      {"left drag on the page", {100, 100}, Qt::LeftButton, true},
      {"left drag on the page's edge", {0, 199}, Qt::LeftButton, true},
      {"right drag on the page", {100, 100}, Qt::RightButton, false},
      {"left drag from the close button", manual->btn_close_up.rect.center(), Qt::LeftButton, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    manual->move(200, 150);
    const QPoint start = manual->pos();
    mouse(QEvent::MouseButtonPress, c.pressAt, c.button, c.button);
    mouse(QEvent::MouseMove, c.pressAt + QPoint(30, -20), Qt::NoButton, c.button);
    EXPECT_EQ(manual->pos(), c.moves ? start + QPoint(30, -20) : start);
    mouse(QEvent::MouseButtonRelease, c.pressAt + QPoint(30, -20), c.button, Qt::NoButton);
    manual->show();
  }
}

TEST(ManualForm, ButtonsKeepFourPixelsFromTheirCornersAtAnySize) {
  struct Case {
    const char* config;
    QSize size;
    QPoint close, left, right;
  };
  const Case cases[] = {
      {"", {415, 270}, {395, 4}, {4, 252}, {395, 252}},
      {"[Manual]\nManualWidth=300\nManualHeight=200\n", {300, 200}, {280, 4}, {4, 182}, {280, 182}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    SkinFixture skin;
    skin.writeConfig(c.config);
    TestingManualForm manual(skin.sources());
    ASSERT_EQ(manual.size(), c.size);
    EXPECT_EQ(manual.im_page_top.rect, QRect(QPoint(0, 0), c.size));
    EXPECT_EQ(manual.sh_page_top, QRect(QPoint(0, 0), c.size));
    for (const auto& [up, down, corner] :
         {std::tuple{&manual.btn_close_up, &manual.btn_close_down, c.close},
          std::tuple{&manual.btn_left_up, &manual.btn_left_down, c.left},
          std::tuple{&manual.btn_right_up, &manual.btn_right_down, c.right}}) {
      EXPECT_EQ(up->rect, QRect(corner, QSize(16, 14)));
      EXPECT_EQ(down->rect, up->rect);
    }
    // Drawn there: the released close and right buttons; the left one hidden on page 1.
    const QImage shown = manual.grab().toImage();
    EXPECT_EQ(shown.pixel(c.close), qRgb(192, 192, 255));
    EXPECT_EQ(shown.pixel(c.right + QPoint(15, 13)), qRgb(0, 0, 0));
    EXPECT_NE(shown.pixel(c.left), qRgb(192, 192, 255));
  }
}

// Page 1 on display, unscaled and cut at the window's edge, inside a black outline.
TEST(ManualForm, ShowsAPageUnscaledInsideABlackOutline) {
  SkinFixture skin;
  skin.writeConfig("[Manual]\nManualDir=Pages\\\nManualWidth=300\nManualHeight=200\n");
  for (int n = 1; n <= 8; ++n)
    skin.writeImage("Pages/" + std::to_string(n) + ".bmp", filled(320, 180, qRgb(10 * n, 0, 0)), "BMP");
  TManualForm manual(skin.sources());
  const QImage shown = manual.grab().toImage();
  EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(shown.pixel(299, 100), qRgb(0, 0, 0));
  EXPECT_EQ(shown.pixel(150, 100), qRgb(10, 0, 0));
  EXPECT_EQ(shown.pixel(150, 190), qRgb(255, 255, 255));  // below the 180-pixel page: white
}

TEST(ManualButtons, BevelsRaiseTheReleasedPictureAndSinkThePressedOne) {
  const QRgb outerLight = qRgb(192, 192, 255), innerLight = qRgb(128, 128, 255);
  const QRgb innerDark = qRgb(0, 0, 192), outerDark = qRgb(0, 0, 0);
  const QRgb face = qRgb(0, 0, 255), glyph = qRgb(255, 255, 255);
  using zarvik::ManualGlyph;
  for (const ManualGlyph shape : {ManualGlyph::Cross, ManualGlyph::LeftChevron, ManualGlyph::RightChevron}) {
    SCOPED_TRACE(int(shape));
    const QImage released = zarvik::manualButtonPicture(shape, false);
    const QImage pressed = zarvik::manualButtonPicture(shape, true);
    ASSERT_EQ(released.size(), QSize(16, 14));
    ASSERT_EQ(pressed.size(), QSize(16, 14));
    struct Pixel {
      QPoint at;
      QRgb released, pressed;
    };
    const Pixel bevel[] = {{{0, 0}, outerLight, outerDark},    {{7, 0}, outerLight, outerDark},
                           {{0, 6}, outerLight, outerDark},    {{1, 1}, innerLight, innerDark},
                           {{7, 1}, innerLight, innerDark},    {{15, 13}, outerDark, outerLight},
                           {{15, 0}, outerDark, outerLight},   {{0, 13}, outerDark, outerLight},
                           {{14, 12}, innerDark, innerLight},  {{14, 6}, innerDark, innerLight},
                           {{2, 2}, face, face}};
    for (const Pixel& p : bevel) {
      EXPECT_EQ(released.pixel(p.at), p.released) << p.at.x() << "," << p.at.y();
      EXPECT_EQ(pressed.pixel(p.at), p.pressed) << p.at.x() << "," << p.at.y();
    }
    // Inside the bevel, the pressed glyph is the released one moved one pixel right and down.
    int glyphPixels = 0;
    for (int y = 2; y < 11; ++y)
      for (int x = 2; x < 13; ++x) {
        const QRgb inside = released.pixel(x, y);
        ASSERT_TRUE(inside == face || inside == glyph);
        glyphPixels += inside == glyph;
        EXPECT_EQ(pressed.pixel(x + 1, y + 1), inside) << x << "," << y;
      }
    EXPECT_GT(glyphPixels, 10);
  }
  // The chevrons point their own ways: each the other's mirror image, the
  // left one's tip on its left edge.
  const QImage left = glyphOf(zarvik::manualButtonPicture(ManualGlyph::LeftChevron, false));
  const QImage right = glyphOf(zarvik::manualButtonPicture(ManualGlyph::RightChevron, false));
  EXPECT_EQ(left.mirrored(true, false), right);
  EXPECT_EQ(left.pixel(0, left.height() / 2), glyph);
  EXPECT_NE(left.pixel(0, 0), glyph);
}

}  // namespace
