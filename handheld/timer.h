#pragma once
// A UI timer with millisecond intervals. Created disabled with an interval of
// 1 ms. An enabled timer fires after each interval. Changing the interval of
// an enabled timer restarts its period; setting the same interval, or enabling
// an enabled timer, changes nothing. The backend decides what time is: a
// virtual clock in tests and zarvik-sim, QTimer in the program.

#include <functional>

namespace zarvik {

class Timer;

class TimerBackend {
 public:
  virtual ~TimerBackend() = default;
  // Start (or restart) the timer's period from now; it then fires every
  // `intervalMs` until disarmed, by calling Timer::fire().
  virtual void arm(Timer& timer, int intervalMs) = 0;
  virtual void disarm(Timer& timer) = 0;
};

class Timer {
 public:
  Timer(TimerBackend& backend, std::function<void()> handler)
      : backend_(backend), handler_(std::move(handler)) {}
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer() { if (enabled_) backend_.disarm(*this); }

  int interval() const { return interval_; }
  bool enabled() const { return enabled_; }

  void setInterval(int ms) {
    if (ms == interval_) return;
    interval_ = ms;
    if (enabled_) backend_.arm(*this, interval_);
  }
  void setEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    if (on) backend_.arm(*this, interval_);
    else backend_.disarm(*this);
  }
  // Called by the backend when the period has elapsed.
  void fire() { handler_(); }

 private:
  TimerBackend& backend_;
  std::function<void()> handler_;
  int interval_ = 1;
  bool enabled_ = false;
};

}  // namespace zarvik
