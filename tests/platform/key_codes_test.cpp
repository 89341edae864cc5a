// Key codes of Qt key events, and the pairing of each release with its press.

#include "key_codes.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

using zarvik::KeyCodeTracker;
using zarvik::ScanCodes;
using zarvik::virtualKeyCode;

namespace {

QKeyEvent keyEvent(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, quint32 scan,
                   bool autoRepeat = false) {
  return QKeyEvent(type, key, modifiers, scan, 0, 0, QString(), autoRepeat);
}

}  // namespace

TEST(VirtualKeyCode, MainKeysGetTheirWindowsCodes) {
  EXPECT_EQ(virtualKeyCode(Qt::Key_0, Qt::NoModifier), 48);
  EXPECT_EQ(virtualKeyCode(Qt::Key_P, Qt::ShiftModifier), 80);
  EXPECT_EQ(virtualKeyCode(Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier), 90);
  EXPECT_EQ(virtualKeyCode(Qt::Key_Left, Qt::NoModifier), 37);
  EXPECT_EQ(virtualKeyCode(Qt::Key_Down, Qt::NoModifier), 40);
  EXPECT_EQ(virtualKeyCode(Qt::Key_Alt, Qt::AltModifier), 18);
  EXPECT_EQ(virtualKeyCode(Qt::Key_Space, Qt::NoModifier), 32);
  EXPECT_EQ(virtualKeyCode(Qt::Key_Enter, Qt::KeypadModifier), 13);
  EXPECT_EQ(virtualKeyCode(Qt::Key_F12, Qt::NoModifier), 123);
  EXPECT_EQ(virtualKeyCode(Qt::Key_Eacute, Qt::NoModifier), 0);
}

TEST(VirtualKeyCode, KeypadKeysNeverTakeMainRowCodes) {
  EXPECT_EQ(virtualKeyCode(Qt::Key_1, Qt::KeypadModifier), 97);
  EXPECT_EQ(virtualKeyCode(Qt::Key_0, Qt::KeypadModifier), 96);
  EXPECT_EQ(virtualKeyCode(Qt::Key_9, Qt::KeypadModifier | Qt::ShiftModifier), 105);
  EXPECT_EQ(virtualKeyCode(Qt::Key_Asterisk, Qt::KeypadModifier), 106);  // not '8'
  // With Num Lock off the keypad arrows are arrows.
  EXPECT_EQ(virtualKeyCode(Qt::Key_Left, Qt::KeypadModifier), 37);
}

TEST(VirtualKeyCode, ShiftedUsDigitsAreTheirDigits) {
  const int shifted[] = {Qt::Key_ParenRight, Qt::Key_Exclam,   Qt::Key_At,
                         Qt::Key_NumberSign, Qt::Key_Dollar,   Qt::Key_Percent,
                         Qt::Key_AsciiCircum, Qt::Key_Ampersand, Qt::Key_Asterisk,
                         Qt::Key_ParenLeft};
  for (int d = 0; d < 10; ++d) EXPECT_EQ(virtualKeyCode(shifted[d], Qt::ShiftModifier), 48 + d);
}

TEST(KeyCodeTracker, AReleaseCarriesTheCodeOfItsPressWhateverShiftDid) {
  KeyCodeTracker tracker;
  // '1' pressed with Shift held arrives as '!', released after Shift as '1'.
  EXPECT_EQ(tracker.press(keyEvent(QEvent::KeyPress, Qt::Key_Exclam, Qt::ShiftModifier, 10)), 49);
  EXPECT_EQ(tracker.release(keyEvent(QEvent::KeyRelease, Qt::Key_1, Qt::NoModifier, 10)), 49);
  // A key whose shifted character has no code keeps "no code" on release too.
  EXPECT_EQ(tracker.press(keyEvent(QEvent::KeyPress, Qt::Key_Question, Qt::ShiftModifier, 61)), 0);
  EXPECT_EQ(tracker.release(keyEvent(QEvent::KeyRelease, Qt::Key_Slash, Qt::NoModifier, 61)), 0);
  // The pairing is used once: the next release of that key is mapped afresh.
  EXPECT_EQ(tracker.release(keyEvent(QEvent::KeyRelease, Qt::Key_Slash, Qt::NoModifier, 61)), 0);
  EXPECT_EQ(tracker.release(keyEvent(QEvent::KeyRelease, Qt::Key_2, Qt::NoModifier, 11)), 50);
}

TEST(KeyCodeTracker, AutoRepeatRepeatsThePressAndHidesTheInterleavedReleases) {
  KeyCodeTracker tracker;
  EXPECT_EQ(tracker.press(keyEvent(QEvent::KeyPress, Qt::Key_Exclam, Qt::ShiftModifier, 10)), 49);
  EXPECT_EQ(tracker.release(keyEvent(QEvent::KeyRelease, Qt::Key_1, Qt::NoModifier, 10, true)), 0);
  // Shift let go while held: the repeat still belongs to the first press.
  EXPECT_EQ(tracker.press(keyEvent(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, 10, true)), 49);
  EXPECT_EQ(tracker.release(keyEvent(QEvent::KeyRelease, Qt::Key_1, Qt::NoModifier, 10)), 49);
  // X's detectable auto-repeat: unmarked presses of a held key, no releases.
  bool repeat = true;
  EXPECT_EQ(tracker.press(keyEvent(QEvent::KeyPress, Qt::Key_Exclam, Qt::ShiftModifier, 10), &repeat), 49);
  EXPECT_FALSE(repeat);
  EXPECT_EQ(tracker.press(keyEvent(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, 10), &repeat), 49);
  EXPECT_TRUE(repeat);
  EXPECT_EQ(tracker.release(keyEvent(QEvent::KeyRelease, Qt::Key_1, Qt::NoModifier, 10)), 49);
}

TEST(KeyCodeTracker, EventsWithoutScanCodesAreMappedOneByOne) {
  KeyCodeTracker tracker;
  EXPECT_EQ(tracker.press(keyEvent(QEvent::KeyPress, Qt::Key_1, Qt::KeypadModifier, 0)), 97);
  EXPECT_EQ(tracker.press(keyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 0)), 65);
  EXPECT_EQ(tracker.release(keyEvent(QEvent::KeyRelease, Qt::Key_1, Qt::KeypadModifier, 0)), 97);
}

TEST(KeyCodeTracker, DigitRowKeysGiveTheirDigitsWhateverTheLayoutWithX11Keycodes) {
  KeyCodeTracker x11(ScanCodes::X11);
  // AZERTY: '1' gives '&' and '2' gives 'e acute' without Shift.
  EXPECT_EQ(x11.press(keyEvent(QEvent::KeyPress, Qt::Key_Ampersand, Qt::NoModifier, 10)), 49);
  EXPECT_EQ(x11.release(keyEvent(QEvent::KeyRelease, Qt::Key_Ampersand, Qt::NoModifier, 10)), 49);
  EXPECT_EQ(x11.press(keyEvent(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, 11)), 50);
  EXPECT_EQ(x11.press(keyEvent(QEvent::KeyPress, Qt::Key_Agrave, Qt::NoModifier, 19)), 48);
  EXPECT_EQ(x11.press(keyEvent(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, 24)), 81);
  EXPECT_EQ(x11.press(keyEvent(QEvent::KeyPress, Qt::Key_1, Qt::KeypadModifier, 87)), 97);
  // Other scan codes say nothing of the position: the US shifted digits hold.
  KeyCodeTracker other(ScanCodes::Other);
  EXPECT_EQ(other.press(keyEvent(QEvent::KeyPress, Qt::Key_Ampersand, Qt::NoModifier, 10)), 55);
  EXPECT_EQ(other.press(keyEvent(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, 16)), 81);
}
