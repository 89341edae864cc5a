#include "paced_time.h"

#include <algorithm>
#include <climits>

namespace zarvik {

PacedScheduler::PacedScheduler(TimerBackend& real, std::function<int64_t()> steadyMs, int64_t virtualStart)
    : steadyMs_(std::move(steadyMs)),
      wakeTimer_(real, [this] { wake(); }),
      realStart_(steadyMs_()),
      virtualStart_(virtualStart) {
  virtual_.advance(virtualStart);
}

void PacedScheduler::arm(Timer& timer, int intervalMs) {
  virtual_.arm(timer, intervalMs);
  reschedule();
}

void PacedScheduler::disarm(Timer& timer) {
  virtual_.disarm(timer);
  reschedule();
}

int64_t PacedScheduler::target() const { return virtualStart_ + (steadyMs_() - realStart_) * speed_; }

std::optional<int64_t> PacedScheduler::nextStop() const {
  std::optional<int64_t> stop = virtual_.nextDue();
  if (limit_ && (!stop || *limit_ < *stop)) stop = limit_;
  return stop;
}

int64_t PacedScheduler::catchUp() {
  if (firing_) return now();
  int64_t t = target();
  if (const std::optional<int64_t> stop = nextStop()) t = std::min(t, *stop - 1);
  if (t > now()) virtual_.advance(t - now());  // fires nothing: no event is due by then
  return now();
}

void PacedScheduler::setSpeed(int factor) {
  virtualStart_ = target();
  realStart_ = steadyMs_();
  speed_ = std::max(1, factor);
  reschedule();
}

void PacedScheduler::stopAt(int64_t limit, std::function<void()> reached) {
  limit_ = std::max(limit, now());
  reached_ = std::move(reached);
  reschedule();
}

// Fires, one virtual moment at a time, every event that the real clock has
// reached, and stops at the limit on the way.
void PacedScheduler::wake() {
  firing_ = true;
  wakeTimer_.setEnabled(false);
  if (const std::optional<int64_t> stop = nextStop()) {
    const int64_t lag = target() - *stop;
    if (lag > kMaxCatchUpMs) realStart_ += lag / speed_;
  }
  for (;;) {
    const int64_t until = target();
    const std::optional<int64_t> due = virtual_.nextDue();
    if (due && *due <= until && (!limit_ || *due <= *limit_)) {
      if (listener) listener->beforeEvents();
      virtual_.advance(*due - now());
      if (listener) listener->afterEvents();
    } else if (limit_ && *limit_ <= until) {
      virtual_.advance(*limit_ - now());
      limit_.reset();
      const std::function<void()> reached = std::move(reached_);
      reached();
    } else {
      break;
    }
  }
  firing_ = false;
  reschedule();
}

// The waking timer is set for the next event or the limit, in real time.
void PacedScheduler::reschedule() {
  if (firing_) return;
  wakeTimer_.setEnabled(false);
  const std::optional<int64_t> stop = nextStop();
  if (!stop) return;
  const int64_t realMs = (std::max<int64_t>(0, *stop - target()) + speed_ - 1) / speed_;
  wakeTimer_.setInterval(int(std::min<int64_t>(realMs, INT_MAX)));
  wakeTimer_.setEnabled(true);
}

}  // namespace zarvik
