#include "virtual_time.h"

#include <algorithm>
#include <chrono>

namespace zarvik {

void VirtualScheduler::arm(Timer& timer, int intervalMs) {
  disarm(timer);
  entries_.push_back({&timer, now_ + intervalMs, intervalMs, nextOrder_++});
}

void VirtualScheduler::disarm(Timer& timer) {
  std::erase_if(entries_, [&](const Entry& e) { return e.timer == &timer; });
}

void VirtualScheduler::advance(int64_t ms) {
  const int64_t target = now_ + ms;
  for (;;) {
    auto next = std::min_element(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
      return a.due != b.due ? a.due < b.due : a.order < b.order;
    });
    if (next == entries_.end() || next->due > target) break;
    now_ = next->due;
    // Schedule the next period before the handler runs, so that a handler
    // changing the interval or disabling its timer overrides it.
    Timer* timer = next->timer;
    next->due += next->period;
    next->order = nextOrder_++;
    timer->fire();
  }
  now_ = target;
}

std::optional<int64_t> VirtualScheduler::nextDue() const {
  std::optional<int64_t> due;
  for (const Entry& e : entries_)
    if (!due || e.due < *due) due = e.due;
  return due;
}

LocalDateTime addMilliseconds(const LocalDateTime& t, int64_t ms) {
  using namespace std::chrono;
  const sys_days day = year_month_day{year{t.year}, month{unsigned(t.month)}, std::chrono::day{unsigned(t.day)}};
  const milliseconds total = day.time_since_epoch() + hours{t.hour} + minutes{t.minute} +
                             seconds{t.second} + milliseconds{ms};
  const sys_days newDay = floor<days>(sys_time<milliseconds>{total});
  const year_month_day ymd{newDay};
  const hh_mm_ss<milliseconds> tod{total - newDay.time_since_epoch()};
  return {int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())),
          int(tod.hours().count()), int(tod.minutes().count()), int(tod.seconds().count())};
}

LocalDateTime VirtualClock::now() const {
  return addMilliseconds(start_, scheduler_.now() - since_);
}

}  // namespace zarvik
