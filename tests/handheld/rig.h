#pragma once
// A handheld on virtual time for tests, with helpers to press buttons and read
// the display.

#include <algorithm>
#include <string>

#include "headless.h"

namespace zarvik::test {

inline LocalDateTime at(int hour, int minute, int month = 3, int day = 1) {
  return {2026, month, day, hour, minute, 0};
}

struct Rig : HeadlessHandheld {
  explicit Rig(LocalDateTime start = at(13, 7), uint32_t seed = 1) : HeadlessHandheld(start, seed) {
    handheld.Mode = ModeAllSegments;
    handheld.Gam_Set_Mode();
  }
  Handheld& hh = handheld;

  bool lit(ImageId id) const { return handheld.panel[id].visible; }
  // The four digit positions as text, '_' for a blank.
  std::string digits() const {
    std::string s;
    for (int k = 1; k <= 4; ++k) {
      const int d = digitShown(k);
      s += d == kBlank ? '_' : char('0' + d);
    }
    return s;
  }
  std::string sounds() {
    std::string s;
    for (auto& name : sound.played) s += (s.empty() ? "" : ",") + name;
    sound.played.clear();
    return s;
  }
  void time() { hh.Inp_time_down(); hh.Inp_time_up(); }
  void gameA() { hh.Inp_game_a_down(); hh.Inp_game_a_up(); }
  void gameB() { hh.Inp_game_b_down(); hh.Inp_game_b_up(); }
  void left() { hh.Inp_left_down(); hh.Inp_left_up(); }
  void right() { hh.Inp_right_down(); hh.Inp_right_up(); }
  // Starts Game A or B from mode 0 and waits for the reset.
  void startGame(bool gameA_ = true) {
    time();
    gameA_ ? gameA() : gameB();
    wait(1800);
  }
};

}  // namespace zarvik::test
