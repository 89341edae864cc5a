#pragma once
// Windows-style virtual-key codes for Qt key events: the codes the key table
// and the windows' key handlers compare (digits 48-57, letters 65-90, arrows
// 37-40, Shift 16, Ctrl 17, Alt 18, space 32, Enter 13, Esc 27, F1-F12
// 112-123, keypad digits 96-105). nativeVirtualKey() cannot serve: it is 0
// offscreen and a case-dependent keysym on X11.

#include <QHash>
#include <Qt>
#include <cstdint>
#include <vector>

class QKeyEvent;

namespace zarvik {

namespace vk {
inline constexpr std::uint16_t Return = 13;
inline constexpr std::uint16_t Escape = 27;
inline constexpr std::uint16_t Left = 37;
inline constexpr std::uint16_t Right = 39;
}  // namespace vk

// The code of a Qt key; 0 for a key without one. Keypad keys (carrying
// Qt::KeypadModifier) get the keypad's own codes, so keypad digits never
// match the main row's. With Shift held a US keyboard reports the main-row
// digits as "!@#$%^&*()": those map to their digits.
std::uint16_t virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);

// What the platform's scan codes are: X11 keycodes (xcb, Wayland) or others.
enum class ScanCodes { X11, Other };
ScanCodes platformScanCodes();

// Gives each key event its code and makes every release carry the code its
// press had. Shift may change between press and release (press "1" as '!',
// release it as '1' after letting go of Shift), so the code given at press is
// remembered by the key's scan code. A press of a key already held is a
// repeat, marked by Qt or not (with X's detectable auto-repeat, repeated
// presses come unmarked and without releases between them). Auto-repeat
// releases are not releases: X11 sends them between repeated presses.
//
// The main row's digit keys are told by their position where the platform's
// scan codes are X11 keycodes (xcb, Wayland): whatever the layout prints on
// them, they give the digit codes, as on Windows. On an AZERTY keyboard the
// key '1' gives '&' without Shift.
class KeyCodeTracker {
 public:
  explicit KeyCodeTracker(ScanCodes scanCodes = platformScanCodes()) : scanCodes_(scanCodes) {}
  // The code of a press (first or repeated); `repeat`, when given, tells
  // whether the key was already held.
  std::uint16_t press(const QKeyEvent& event, bool* repeat = nullptr);
  // The code of a release, or 0 for an auto-repeat release that must be ignored.
  std::uint16_t release(const QKeyEvent& event);
  // The codes of every key still held, forgotten at once: for a window that
  // loses the keyboard and will never see their releases.
  std::vector<std::uint16_t> releaseAll();
  // Whether a key held now was given `code` at its press (never for code 0).
  bool holds(std::uint16_t code) const;
  // Keys already held when the window took the keyboard (pressed over
  // another window): their repeated presses and their release give no code.
  void ignoreHeld(const std::vector<quint32>& scanCodes);

 private:
  ScanCodes scanCodes_;
  QHash<quint32, std::uint16_t> pressed_;  // scan code -> code given at press
};

}  // namespace zarvik
