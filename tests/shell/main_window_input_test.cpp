// The face window's set-up, keyboard and mouse offscreen: bound keys and
// clicks reach the button actions, hints name the keys, the window drags only
// in windowed mode, and the close handler releases sound and settings.

#include <QAbstractItemView>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QKeyEvent>
#include <QSettings>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <cmath>
#include <gtest/gtest.h>

#include "application_state.h"
#include "error_box.h"
#include "headless.h"
#include "main_window.h"
#include "settings_store.h"
#include "skin_fixture.h"
#include "sound_fakes.h"
#include "testing_windows.h"

using namespace zarvik;
using namespace face_test;

namespace {

class FaceInput : public testing::Test {
 protected:
  FaceInput() { skin.writeCompleteSkin(); }

  TestingForm1& open(bool fullscreen, QtSettingsStore* store = nullptr) {
    form = std::make_unique<TestingForm1>(handheld, TForm1::Options{skin.sources(), fullscreen, store});
    return *form;
  }
  QPoint centreOf(ImageId id) const {
    const Rect& r = handheld.panel[id].rect;
    return QPoint(r.left + r.width / 2, r.top + r.height / 2);
  }
  void key(QEvent::Type type, int qtKey, Qt::KeyboardModifiers modifiers, quint32 scan,
           bool autoRepeat = false) {
    QKeyEvent event(type, qtKey, modifiers, scan, 0, 0, QString(), autoRepeat);
    QApplication::sendEvent(form.get(), &event);
  }
  void press(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier, quint32 scan = 0) {
    key(QEvent::KeyPress, qtKey, modifiers, scan);
  }
  void release(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier, quint32 scan = 0) {
    key(QEvent::KeyRelease, qtKey, modifiers, scan);
  }
  void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), QPointF(form->mapToGlobal(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(form.get(), &event);
  }
  // A left-button drag from `from` by `by`, in window pixels.
  void drag(QPoint from, QPoint by) {
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, from + by, Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, from + by, Qt::LeftButton, Qt::NoButton);
  }
  bool shown(ImageId id) const { return handheld.panel[id].visible; }

  SkinFixture skin;
  VirtualScheduler scheduler;
  VirtualClock clock{scheduler};
  SeededRandom random{1};
  CountingSound sound;
  MemorySettings settings;
  Handheld handheld{scheduler, clock, random, sound, settings};
  std::unique_ptr<TestingForm1> form;
};

TEST_F(FaceInput, SetUpReadsTheStoreWritesTheKeysBackAndParksTheWindow) {
  settings.values = {{"HiScore1", 39}, {"HiScore2", 7}, {"Key3", 45}};
  handheld.GameAHeld = handheld.ButtonLatch = handheld.HeroMovable = true;
  TestingForm1& face = open(false);
  EXPECT_EQ(handheld.HiScoreA, 39);
  EXPECT_EQ(handheld.HiScoreB, 7);
  EXPECT_FALSE(handheld.GameAHeld || handheld.ButtonLatch || handheld.HeroMovable);
  // Key3 held no key of the table: repaired to its default '3' and stored.
  EXPECT_EQ(settings.writes, (std::vector<std::string>{"Key1=2", "Key2=3", "Key3=4", "Key4=39",
                                                       "Key5=40"}));
  EXPECT_EQ(face.hintOf(btn_time_top), "click or press '3' to switch mode");
  const QRect screen = face.screen()->geometry();
  EXPECT_EQ(face.pos(), QPoint(-screen.width(), -screen.height()));
  EXPECT_EQ(face.windowTitle(), "Zarvik (Omvix, Brumalo) Simulator");
}

TEST_F(FaceInput, DefaultKeysWorkTheirButtonsAndHintsNameThem) {
  TestingForm1& face = open(false);
  press(Qt::Key_1, Qt::NoModifier, 10);
  EXPECT_TRUE(handheld.GameAHeld);
  EXPECT_TRUE(shown(btn_game_a_down));
  release(Qt::Key_1, Qt::NoModifier, 10);
  EXPECT_FALSE(handheld.GameAHeld);
  EXPECT_FALSE(shown(btn_game_a_down));

  press(Qt::Key_Left);
  EXPECT_TRUE(shown(btn_left_down));
  release(Qt::Key_Left);
  press(Qt::Key_Right);
  EXPECT_TRUE(shown(btn_right_down));
  release(Qt::Key_Right);
  EXPECT_FALSE(shown(btn_right_down));

  // The tool tip over a button shows its hint; the face has none.
  EXPECT_EQ(face.hintOf(btn_set_top), "button disabled");
  EXPECT_EQ(face.hintOf(im_background), "");
  QHelpEvent help(QEvent::ToolTip, centreOf(btn_time_top), face.mapToGlobal(centreOf(btn_time_top)));
  QApplication::sendEvent(&face, &help);
  EXPECT_EQ(QToolTip::text(), "click or press '3' to switch mode");
  QToolTip::hideText();
}

TEST_F(FaceInput, KeypadDigitsAndUnboundKeysDoNothing) {
  open(false);
  press(Qt::Key_1, Qt::KeypadModifier);
  press(Qt::Key_4);
  press(Qt::Key_Eacute);
  EXPECT_FALSE(handheld.GameAHeld || handheld.ButtonLatch);
  EXPECT_EQ(handheld.Mode, ModeAllSegments);
}

TEST_F(FaceInput, ModifiersAreIgnoredAndEveryReleaseReachesItsPress) {
  settings.values = {{"Key1", 26}, {"Key2", 44}, {"Key3", 41}};
  TestingForm1& face = open(false);
  EXPECT_EQ(face.hintOf(btn_game_a_top), "click or press 'P' to start game A (hold to view highscore)");

  press(Qt::Key_P, Qt::ShiftModifier, 33);
  EXPECT_TRUE(handheld.GameAHeld);
  release(Qt::Key_P, Qt::NoModifier, 33);
  EXPECT_FALSE(handheld.GameAHeld);

  press(Qt::Key_Space, Qt::NoModifier, 65);
  EXPECT_TRUE(handheld.GameBHeld);
  release(Qt::Key_Space, Qt::NoModifier, 65);
  EXPECT_FALSE(handheld.GameBHeld);

  press(Qt::Key_Alt, Qt::AltModifier, 64);
  EXPECT_TRUE(shown(btn_time_down));
  release(Qt::Key_Alt, Qt::NoModifier, 64);
  EXPECT_FALSE(shown(btn_time_down));
}

TEST_F(FaceInput, ShiftLetGoWhileADigitIsHeldStillReleasesItsButton) {
  settings.values = {{"Key2", 2}, {"Key1", 3}};  // Game B on '1'
  open(false);
  press(Qt::Key_Exclam, Qt::ShiftModifier, 10);  // Shift+1
  EXPECT_TRUE(handheld.GameBHeld);
  release(Qt::Key_Shift, Qt::NoModifier, 50);
  release(Qt::Key_1, Qt::NoModifier, 10);  // reported unshifted
  EXPECT_FALSE(handheld.GameBHeld);
}

TEST_F(FaceInput, AutoRepeatRepeatsThePressButActsOnce) {
  open(false);
  handheld.Mode = ModeTime1;
  handheld.Gam_Set_Mode();
  press(Qt::Key_3, Qt::NoModifier, 12);
  const int afterFirstPress = handheld.Mode;
  EXPECT_NE(afterFirstPress, ModeTime1);
  for (int i = 0; i < 3; ++i) {
    key(QEvent::KeyRelease, Qt::Key_3, Qt::NoModifier, 12, true);
    EXPECT_TRUE(handheld.ButtonLatch);  // a repeat's release is no release
    key(QEvent::KeyPress, Qt::Key_3, Qt::NoModifier, 12, true);
    EXPECT_EQ(handheld.Mode, afterFirstPress);
  }
  release(Qt::Key_3, Qt::NoModifier, 12);
  EXPECT_FALSE(handheld.ButtonLatch);
}

TEST_F(FaceInput, AButtonPressedByTheMouseIsReleasedWhereverThePointerGoes) {
  TestingForm1& face = open(false);
  const QPoint onGameA = centreOf(btn_game_a_top);
  mouse(QEvent::MouseButtonPress, onGameA, Qt::LeftButton, Qt::LeftButton);
  EXPECT_TRUE(handheld.GameAHeld);
  const QPoint away(5, 5);
  mouse(QEvent::MouseMove, away, Qt::NoButton, Qt::LeftButton);
  mouse(QEvent::MouseButtonRelease, away, Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(handheld.GameAHeld);
  EXPECT_EQ(face.pos(), QPoint(-face.screen()->geometry().width(), -face.screen()->geometry().height()));
}

TEST_F(FaceInput, OtherMouseButtonsPressNoButton) {
  open(false);
  for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
    mouse(QEvent::MouseButtonPress, centreOf(btn_game_a_top), button, button);
    EXPECT_FALSE(handheld.GameAHeld);
    EXPECT_FALSE(shown(btn_game_a_down));
    mouse(QEvent::MouseButtonRelease, centreOf(btn_game_a_top), button, Qt::NoButton);
  }
}

// The context menu takes the mouse and the keyboard, and another window may
// take the keyboard: the releases never reach the face, so it lets go itself.
TEST_F(FaceInput, ButtonsHeldWhenTheFaceLosesTheKeyboardOrTheMouseAreReleased) {
  TestingForm1& face = open(false);
  press(Qt::Key_1, Qt::NoModifier, 10);
  press(Qt::Key_Left, Qt::NoModifier, 113);
  EXPECT_TRUE(handheld.GameAHeld && handheld.ButtonLatch);
  QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(&face, &focusOut);
  EXPECT_FALSE(handheld.GameAHeld || handheld.ButtonLatch);
  EXPECT_FALSE(shown(btn_game_a_down) || shown(btn_left_down));

  mouse(QEvent::MouseButtonPress, centreOf(btn_time_top), Qt::LeftButton, Qt::LeftButton);
  EXPECT_TRUE(handheld.ButtonLatch);
  QContextMenuEvent rightClick(QContextMenuEvent::Mouse, centreOf(btn_time_top));
  QApplication::sendEvent(&face, &rightClick);
  EXPECT_FALSE(handheld.ButtonLatch);
  EXPECT_FALSE(shown(btn_time_down));
  face.pm_0_menu->hide();
  // The late release, should it come, does not press anything again.
  mouse(QEvent::MouseButtonRelease, centreOf(btn_time_top), Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(handheld.ButtonLatch);
}

TEST_F(FaceInput, PointerShapesFollowTheImages) {
  TestingForm1& face = open(false);
  auto shapeOver = [&](QPoint at) {
    mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    return face.cursor().shape();
  };
  for (ImageId button : {btn_game_a_top, btn_game_b_top, btn_time_top, btn_left_top, btn_right_top})
    EXPECT_EQ(shapeOver(centreOf(button)), Qt::PointingHandCursor) << kSkinImages[button].name;
  EXPECT_EQ(shapeOver(centreOf(btn_set_top)), Qt::WhatsThisCursor);
  EXPECT_EQ(shapeOver(QPoint(100, 20)), Qt::ArrowCursor);
  // A pressed picture shown over its button is still the button.
  handheld.Inp_time_down();
  EXPECT_EQ(shapeOver(centreOf(btn_time_top)), Qt::PointingHandCursor);
}

TEST_F(FaceInput, DraggingMovesTheWindowOnlyFromDragAreasInWindowedMode) {
  TestingForm1& face = open(false);
  face.move(100, 100);
  drag(QPoint(100, 20), QPoint(30, -10));  // the face
  EXPECT_EQ(face.pos(), QPoint(130, 90));
  drag(centreOf(im_background_screen_top), QPoint(-20, 5));  // the LCD overlay
  EXPECT_EQ(face.pos(), QPoint(110, 95));
  drag(centreOf(btn_set_top), QPoint(10, 10));
  EXPECT_EQ(face.pos(), QPoint(120, 105));
  for (ImageId button : {btn_game_a_top, btn_game_b_top, btn_time_top, btn_left_top, btn_right_top})
    drag(centreOf(button), QPoint(40, 40));
  EXPECT_EQ(face.pos(), QPoint(120, 105));
  // A move with the button held but no press on a drag area does nothing.
  mouse(QEvent::MouseMove, QPoint(300, 20), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(face.pos(), QPoint(120, 105));
}

TEST_F(FaceInput, FullscreenWindowsNeverMove) {
  TestingForm1& face = open(true);
  face.move(0, 0);
  drag(QPoint(10, 10), QPoint(50, 50));
  drag(QPoint(face.width() / 2, face.height() / 2), QPoint(-30, 20));
  EXPECT_EQ(face.pos(), QPoint(0, 0));
}

TEST_F(FaceInput, ARealStoreIsOpenedAtSetUpAndReleasedByTheCloseHandler) {
  QTemporaryDir dir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
  QDir().mkpath(dir.path() + "/Quendrel");
  QFile file(dir.path() + "/Quendrel/Zarvik50.conf");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[General]\nFullscreenMode=0\nHiScore1=$1F\nHiScore2=abc\nKey1=99\n");
  file.close();

  QtSettingsStore store;
  Handheld stored{scheduler, clock, random, sound, store};
  TForm1 face(stored, TForm1::Options{skin.sources(), std::nullopt, &store});
  EXPECT_TRUE(store.isOpen());
  EXPECT_FALSE(face.isFullscreen());
  EXPECT_EQ(stored.HiScoreA, 31);
  EXPECT_EQ(stored.HiScoreB, 0);
  EXPECT_EQ(stored.panel.observer, &face);

  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray text = file.readAll();
  file.close();
  for (const char* line : {"Key1=2\n", "Key2=3\n", "Key3=4\n", "Key4=39\n", "Key5=40\n"})
    EXPECT_TRUE(text.contains(line)) << line;

  face.close();
  EXPECT_FALSE(store.isOpen());
  EXPECT_EQ(sound.freed.size(), 5u);
  EXPECT_EQ(sound.closes, 1);
}

// A stored Zoom follows the integer rules, anything but 1 to 4 reading as
// 1; a zoom given for the run wins and leaves the stored one alone.
TEST_F(FaceInput, StoredZoomIsReadByTheIntegerRulesAndAGivenOneWins) {
  QTemporaryDir dir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
  const std::pair<const char*, int> cases[] = {{"0", 1}, {"9", 1}, {"abc", 1}, {"2", 2}, {"$3", 3}};
  for (auto [text, zoom] : cases) {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "Quendrel", "Zarvik50").setValue("Zoom", text);
    QtSettingsStore store;
    Handheld stored{scheduler, clock, random, sound, store};
    TForm1 face(stored, TForm1::Options{skin.sources(), false, &store});
    EXPECT_EQ(face.zoom(), zoom) << text;
    EXPECT_EQ(face.size(), QSize(561, 374) * zoom) << text;
  }
  QtSettingsStore store;
  Handheld stored{scheduler, clock, random, sound, store};
  TForm1 face(stored, TForm1::Options{skin.sources(), false, &store, 4});
  EXPECT_EQ(face.size(), QSize(2244, 1496));
  EXPECT_EQ(store.readInteger("Zoom", 0), 3);
}

// Ctrl and + (= unshifted) or - zoom the window, keep it on the screen and
// store the zoom.
TEST_F(FaceInput, CtrlPlusAndMinusZoomTheWindowAndStoreTheZoom) {
  TestingForm1& face = open(false);
  face.move(100, 50);
  press(Qt::Key_Equal, Qt::ControlModifier, 21);
  EXPECT_EQ(face.size(), QSize(1122, 748));
  EXPECT_TRUE(face.screen()->geometry().contains(face.pos()));  // not left above the screen
  press(Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier, 21);
  press(Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier, 86);
  press(Qt::Key_Plus, Qt::ControlModifier, 21);
  EXPECT_EQ(face.zoom(), 4);
  for (int i = 0; i < 3; ++i) press(Qt::Key_Minus, Qt::ControlModifier, 20);
  EXPECT_EQ(face.size(), QSize(561, 374));
  EXPECT_TRUE(face.screen()->geometry().contains(face.geometry()));
  EXPECT_EQ(std::vector<std::string>(settings.writes.end() - 6, settings.writes.end()),
            (std::vector<std::string>{"Zoom=2", "Zoom=3", "Zoom=4", "Zoom=3", "Zoom=2", "Zoom=1"}));
}

TEST_F(FaceInput, TheKeyDialogRefusesClashesAndAcceptingStoresAndAppliesTheKeys) {
  TestingForm1& face = open(false);
  TestingKeysForm keys(face.keyBindings());
  QObject::connect(&keys, &TKeysForm::keysChosen, &face, &TForm1::applyKeyChoices);
  auto texts = [&] {
    std::vector<std::string> shown;
    for (QComboBox* combo : keys.KeyCombos) shown.push_back(combo->currentText().toStdString());
    return shown;
  };
  auto redLabels = [&] {
    std::string red;
    for (QLabel* label : keys.KeyLabels)
      red += label->palette().color(QPalette::WindowText) == Qt::red ? 'R' : '-';
    return red;
  };
  // The caption reads clearly (WCAG contrast) on the button's face, and the
  // disabled button looks otherwise; the lists drop 8 items of 13 pixels.
  auto contrast = [&](QPalette::ColorGroup group) {
    const QPalette palette = keys.btn_accept->palette();
    auto luminance = [](QColor c) {
      auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
      return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double a = luminance(palette.color(group, QPalette::ButtonText));
    const double b = luminance(palette.color(group, QPalette::Button));
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
  };
  const QImage enabledLook = keys.btn_accept->grab().toImage();
  EXPECT_GE(contrast(QPalette::Active), 4.5);
  QComboBox& list = *keys.KeyCombos[0];
  EXPECT_EQ(list.view()->sizeHintForRow(0), 13);
  EXPECT_EQ(list.maxVisibleItems(), 8);
  EXPECT_FALSE(list.style()->styleHint(QStyle::SH_ComboBox_Popup, nullptr, &list));

  EXPECT_EQ(texts(), (std::vector<std::string>{"1", "2", "3", "<LEFT ARROW>", "<RIGHT ARROW>"}));
  EXPECT_EQ(redLabels(), "-----");
  EXPECT_TRUE(keys.btn_accept->isEnabled());

  keys.KeyCombos[0]->setCurrentIndex(38);  // Game A on <LEFT ARROW>, as Left
  EXPECT_EQ(redLabels(), "R--R-");
  EXPECT_FALSE(keys.btn_accept->isEnabled());
  EXPECT_NE(keys.btn_accept->grab().toImage(), enabledLook);
  EXPECT_GE(contrast(QPalette::Disabled), 2.0);
  const size_t writesBefore = settings.writes.size();
  QTest::keyClick(keys.KeyCombos[0], Qt::Key_Return);
  EXPECT_EQ(settings.writes.size(), writesBefore);

  keys.KeyCombos[0]->setCurrentIndex(25);  // 'P'
  keys.KeyCombos[2]->setCurrentIndex(43);  // <SPACEBAR>
  EXPECT_EQ(redLabels(), "-----");
  QTest::keyClick(keys.KeyCombos[2], Qt::Key_Return);
  EXPECT_EQ(std::vector<std::string>(settings.writes.begin() + writesBefore, settings.writes.end()),
            (std::vector<std::string>{"Key1=26", "Key2=3", "Key3=44", "Key4=39", "Key5=40"}));
  EXPECT_EQ(face.keyBindings()[GameA].VirtualKey, 80);
  EXPECT_EQ(face.keyBindings()[Time].VirtualKey, 32);
  EXPECT_EQ(face.hintOf(btn_game_a_top), "click or press 'P' to start game A (hold to view highscore)");

  // Esc leaves without storing; the bindings in force stay.
  keys.KeyCombos[1]->setCurrentIndex(0);
  QTest::keyClick(keys.KeyCombos[1], Qt::Key_Escape);
  EXPECT_EQ(settings.writes.size(), writesBefore + 5);
  EXPECT_EQ(face.keyBindings()[GameB].VirtualKey, 50);
}

}  // namespace
