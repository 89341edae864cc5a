#include "key_codes.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <algorithm>
#include <string_view>

namespace zarvik {
namespace {

// The main-row digit under each shifted character of a US keyboard.
constexpr std::string_view kShiftedDigits = ")!@#$%^&*(";

std::uint16_t keypadCode(int qtKey) {
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 96 + (qtKey - Qt::Key_0);
  switch (qtKey) {
    case Qt::Key_Asterisk: return 106;
    case Qt::Key_Plus: return 107;
    case Qt::Key_Minus: return 109;
    case Qt::Key_Period:
    case Qt::Key_Comma: return 110;
    case Qt::Key_Slash: return 111;
    default: return 0;  // keypad arrows, Enter... fall through to the main codes
  }
}

}  // namespace

std::uint16_t virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers) {
  if (modifiers.testFlag(Qt::KeypadModifier)) {
    if (const std::uint16_t code = keypadCode(qtKey)) return code;
  } else if (qtKey > 0 && qtKey < 0x80) {
    const auto shifted = kShiftedDigits.find(char(qtKey));
    if (shifted != std::string_view::npos) return std::uint16_t('0' + shifted);
  }
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return std::uint16_t(qtKey);
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return std::uint16_t(qtKey);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return std::uint16_t(112 + (qtKey - Qt::Key_F1));
  switch (qtKey) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vk::Return;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return vk::Escape;
    case Qt::Key_Space: return 32;
    case Qt::Key_Left: return vk::Left;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return vk::Right;
    case Qt::Key_Down: return 40;
    default: return 0;
  }
}

ScanCodes platformScanCodes() {
  const QString platform = QGuiApplication::platformName();
  return platform == QLatin1String("xcb") || platform == QLatin1String("wayland") ? ScanCodes::X11
                                                                                   : ScanCodes::Other;
}

std::uint16_t KeyCodeTracker::press(const QKeyEvent& event, bool* repeat) {
  const quint32 scan = event.nativeScanCode();
  const bool held = scan != 0 && pressed_.contains(scan);
  if (repeat) *repeat = held || event.isAutoRepeat();
  if (held) return pressed_.value(scan);
  std::uint16_t code = virtualKeyCode(event.key(), event.modifiers());
  constexpr quint32 kDigitRow1 = 10, kDigitRow0 = 19;  // X11 keycodes of the keys '1' to '0'
  if (scanCodes_ == ScanCodes::X11 && scan >= kDigitRow1 && scan <= kDigitRow0 &&
      !event.modifiers().testFlag(Qt::KeypadModifier))
    code = scan == kDigitRow0 ? '0' : std::uint16_t('1' + (scan - kDigitRow1));
  if (scan != 0) pressed_.insert(scan, code);  // 0: no scan code known, nothing to pair
  return code;
}

std::uint16_t KeyCodeTracker::release(const QKeyEvent& event) {
  const quint32 scan = event.nativeScanCode();
  if (event.isAutoRepeat()) return 0;
  if (scan != 0) {
    if (const auto found = pressed_.constFind(scan); found != pressed_.cend()) {
      const std::uint16_t code = *found;
      pressed_.erase(found);
      return code;
    }
  }
  return virtualKeyCode(event.key(), event.modifiers());
}

void KeyCodeTracker::ignoreHeld(const std::vector<quint32>& scanCodes) {
  for (const quint32 scan : scanCodes)
    if (!pressed_.contains(scan)) pressed_.insert(scan, 0);
}

bool KeyCodeTracker::holds(std::uint16_t code) const {
  return code != 0 && std::find(pressed_.cbegin(), pressed_.cend(), code) != pressed_.cend();
}

std::vector<std::uint16_t> KeyCodeTracker::releaseAll() {
  std::vector<std::uint16_t> codes;
  for (const std::uint16_t code : std::as_const(pressed_))
    if (code) codes.push_back(code);
  pressed_.clear();
  return codes;
}

}  // namespace zarvik
