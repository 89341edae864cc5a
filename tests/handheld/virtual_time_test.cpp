#include <gtest/gtest.h>

#include <string>

#include "virtual_time.h"

namespace zarvik::test {

TEST(VirtualScheduler, FiresInTimeOrderAndTiesInSchedulingOrder) {
  VirtualScheduler s;
  std::string log;
  Timer a(s, [&] { log += "a" + std::to_string(s.now()) + " "; });
  Timer b(s, [&] { log += "b" + std::to_string(s.now()) + " "; });
  b.setInterval(100);
  a.setInterval(50);
  b.setEnabled(true);
  a.setEnabled(true);
  s.advance(200);
  EXPECT_EQ(log, "a50 b100 a100 a150 b200 a200 ");
  EXPECT_EQ(s.now(), 200);
}

TEST(VirtualScheduler, TimerSemantics) {
  VirtualScheduler s;
  int fired = 0;
  Timer t(s, [&] { ++fired; });
  EXPECT_FALSE(t.enabled());
  EXPECT_EQ(t.interval(), 1);
  t.setInterval(100);
  s.advance(500);
  EXPECT_EQ(fired, 0);  // disabled timers never fire
  t.setEnabled(true);
  s.advance(60);
  t.setEnabled(true);  // enabling an enabled timer changes nothing
  t.setInterval(100);  // nor does setting the same interval
  s.advance(40);
  EXPECT_EQ(fired, 1);
  s.advance(60);
  t.setInterval(30);  // a new interval restarts the period from now
  s.advance(29);
  EXPECT_EQ(fired, 1);
  s.advance(1);
  EXPECT_EQ(fired, 2);
}

TEST(VirtualScheduler, HandlerMayChangeItsOwnTimer) {
  VirtualScheduler s;
  std::string log;
  Timer* self = nullptr;
  Timer t(s, [&] {
    log += std::to_string(s.now()) + " ";
    if (s.now() == 1) self->setInterval(500);
    if (s.now() >= 1001) self->setEnabled(false);
  });
  self = &t;
  t.setEnabled(true);
  s.advance(5000);
  EXPECT_EQ(log, "1 501 1001 ");
}

TEST(AddMilliseconds, CrossesDaysMonthsAndLeapYears) {
  const LocalDateTime t = addMilliseconds({2028, 2, 28, 23, 59, 59}, 1000);
  EXPECT_EQ(t.month, 2);
  EXPECT_EQ(t.day, 29);
  EXPECT_EQ(t.hour, 0);
  const LocalDateTime u = addMilliseconds({2026, 12, 31, 12, 0, 0}, 12 * 3600 * 1000LL);
  EXPECT_EQ(u.year, 2027);
  EXPECT_EQ(u.month, 1);
  EXPECT_EQ(u.day, 1);
}

}  // namespace zarvik::test
