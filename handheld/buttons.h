#pragma once
// The handheld's five buttons as every front end works them (the desktop
// program's keys, clicks and pads, zarvik-sim's scripts, the browser page):
// their numbers, their names and pictures, and each one's two button actions.

#include <array>
#include <string_view>

#include "handheld.h"

namespace zarvik {

// Buttons 1 to 5, in the order the key bindings number them.
enum Button : int { GameA = 1, GameB, Time, Left, Right };
inline constexpr int kButtonCount = 5;

struct ButtonInput {
  std::string_view name;  // as zarvik-sim's scripts name it
  ImageId clickable;      // the released picture, which takes clicks
  ImageId pressed;        // the picture shown while the button is held
  void (Handheld::*down)();
  void (Handheld::*up)();
};

// kButtonInputs[n - 1] belongs to button n.
inline constexpr std::array<ButtonInput, kButtonCount> kButtonInputs = {{
    {"game_a", btn_game_a_top, btn_game_a_down, &Handheld::Inp_game_a_down, &Handheld::Inp_game_a_up},
    {"game_b", btn_game_b_top, btn_game_b_down, &Handheld::Inp_game_b_down, &Handheld::Inp_game_b_up},
    {"time", btn_time_top, btn_time_down, &Handheld::Inp_time_down, &Handheld::Inp_time_up},
    {"left", btn_left_top, btn_left_down, &Handheld::Inp_left_down, &Handheld::Inp_left_up},
    {"right", btn_right_top, btn_right_down, &Handheld::Inp_right_down, &Handheld::Inp_right_up},
}};

// The button (1..5) whose clickable or pressed picture `id` is; 0 for none.
constexpr int buttonOf(ImageId id) {
  for (int n = 1; n <= kButtonCount; ++n)
    if (kButtonInputs[n - 1].clickable == id || kButtonInputs[n - 1].pressed == id) return n;
  return 0;
}

// The button of that name; 0 for none.
constexpr int buttonNamed(std::string_view name) {
  for (int n = 1; n <= kButtonCount; ++n)
    if (kButtonInputs[n - 1].name == name) return n;
  return 0;
}

// Runs button n's down or up action; nothing for n outside 1..5.
inline void pressButton(Handheld& handheld, int n, bool down) {
  if (n < 1 || n > kButtonCount) return;
  const ButtonInput& button = kButtonInputs[n - 1];
  (handheld.*(down ? button.down : button.up))();
}

}  // namespace zarvik
