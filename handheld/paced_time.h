#pragma once
// The handheld's timers in virtual time, paced by a real clock: what a
// recorded session and the browser's replays run on. Every timer event
// happens at the virtual moment that the intervals fired before it add up
// to, never at the late real moment a real timer delivers it, and events
// come in the order virtual time gives them. zarvik-sim, replaying the same
// presses at the same virtual moments, therefore plays the same game.
//
// One real timer wakes for the next virtual event. Virtual time follows the
// real clock at a fixed distance, so a real timer that is a little late is
// made up; one later than kMaxCatchUpMs (a machine that slept, a hidden page
// that was paused) moves the distance instead, and the game waits rather
// than running its missed events in a burst.

#include <cstdint>
#include <functional>
#include <optional>

#include "timer.h"
#include "virtual_time.h"

namespace zarvik {

class PacedScheduler : public TimerBackend {
 public:
  static constexpr int64_t kMaxCatchUpMs = 50;

  // Told around each group of timer events due at one virtual moment.
  class Listener {
   public:
    virtual ~Listener() = default;
    virtual void beforeEvents() = 0;
    virtual void afterEvents() = 0;
  };

  // `real` runs the one waking timer; `steadyMs` reads a monotonic clock in
  // milliseconds. Virtual time starts at `virtualStart`, at this moment.
  PacedScheduler(TimerBackend& real, std::function<int64_t()> steadyMs, int64_t virtualStart = 0);

  void arm(Timer& timer, int intervalMs) override;
  void disarm(Timer& timer) override;

  int64_t now() const { return virtual_.now(); }
  const VirtualScheduler& virtualTime() const { return virtual_; }
  // Virtual time for an input that arrives now: as far as the real clock has
  // gone, but before the next timer event, which has not been delivered yet.
  int64_t catchUp();

  // Virtual time runs `factor` times as fast as the real clock (a replay
  // shown fast), from now on.
  void setSpeed(int factor);
  // Virtual time stops at `limit`, once every event due up to it has fired,
  // and `reached` is called there (a replay's next press). Cleared before
  // `reached` runs, which may set the next limit.
  void stopAt(int64_t limit, std::function<void()> reached);

  Listener* listener = nullptr;

 private:
  int64_t target() const;  // virtual time by the real clock
  std::optional<int64_t> nextStop() const;
  void wake();
  void reschedule();

  VirtualScheduler virtual_;
  std::function<int64_t()> steadyMs_;
  Timer wakeTimer_;
  int64_t realStart_;     // the real moment that virtual time virtualStart_ matches
  int64_t virtualStart_;
  int speed_ = 1;
  std::optional<int64_t> limit_;
  std::function<void()> reached_;
  bool firing_ = false;  // inside wake(): arming waits for its end
};

}  // namespace zarvik
