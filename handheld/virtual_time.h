#pragma once
// Virtual time for tests and zarvik-sim: a timer backend that fires due timer
// events in time order (events due at the same moment in the order they were
// scheduled), and a local clock that runs on with virtual time.

#include <cstdint>
#include <optional>
#include <vector>

#include "services.h"
#include "timer.h"

namespace zarvik {

class VirtualScheduler : public TimerBackend {
 public:
  int64_t now() const { return now_; }

  void arm(Timer& timer, int intervalMs) override;
  void disarm(Timer& timer) override;

  // Advances virtual time by `ms`, firing every event due up to and including
  // the new time. A handler may arm or disarm any timer, itself included.
  void advance(int64_t ms);
  // When the next timer event is due; none while no timer is armed.
  std::optional<int64_t> nextDue() const;

 private:
  struct Entry {
    Timer* timer;
    int64_t due;
    int64_t period;
    uint64_t order;  // when it was scheduled, to break ties
  };
  std::vector<Entry> entries_;
  int64_t now_ = 0;
  uint64_t nextOrder_ = 0;
};

// A local clock that reads `start` at virtual time `since` and runs on with
// the scheduler's time.
class VirtualClock : public Clock {
 public:
  explicit VirtualClock(const VirtualScheduler& scheduler) : scheduler_(scheduler) {}
  void set(const LocalDateTime& start) {
    start_ = start;
    since_ = scheduler_.now();
  }
  LocalDateTime now() const override;

 private:
  const VirtualScheduler& scheduler_;
  LocalDateTime start_;
  int64_t since_ = 0;
};

// Adds milliseconds to a local date and time, calendar included.
LocalDateTime addMilliseconds(const LocalDateTime& t, int64_t ms);

}  // namespace zarvik
