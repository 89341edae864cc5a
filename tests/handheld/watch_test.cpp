#include <gtest/gtest.h>

#include "rig.h"

namespace zarvik::test {

struct ClockCase {
  int hour, minute;
  const char* digits;
  bool pm;
};

TEST(Clock, TwelveHourDigitsAndAmPm) {
  const ClockCase cases[] = {{0, 5, "1205", false},  {12, 0, "1200", true}, {13, 7, "_107", true},
                             {9, 30, "_930", false}, {23, 59, "1159", true}, {10, 0, "1000", false},
                             {11, 59, "1159", false}};
  for (const ClockCase& c : cases) {
    Rig rig(at(c.hour, c.minute));
    rig.time();
    rig.wait(1);
    EXPECT_EQ(rig.digits(), c.digits) << c.hour << ":" << c.minute;
    EXPECT_EQ(rig.lit(im_panel_time_pm), c.pm) << c.hour << ":" << c.minute;
    EXPECT_EQ(rig.lit(im_panel_time_am), !c.pm) << c.hour << ":" << c.minute;
  }
}

TEST(Date, MonthAndDayWithoutLeadingZeros) {
  struct DateCase {
    int month, day;
    const char* digits;
  };
  for (const DateCase& c : {DateCase{3, 1, "_3_1"}, DateCase{12, 25, "1225"}, DateCase{10, 5, "10_5"}}) {
    Rig rig(at(8, 0, c.month, c.day));
    for (int i = 0; i < 5; ++i) rig.time();
    rig.wait(1);
    EXPECT_EQ(rig.digits(), c.digits);
    EXPECT_TRUE(rig.lit(im_panel_date));
  }
}

// The colon is lit for the first 500 ms of a display and then alternates.
void expectColonBlinks(Rig& rig) {
  rig.wait(1);
  EXPECT_TRUE(rig.lit(im_panel_time_colon));
  rig.wait(499);
  EXPECT_TRUE(rig.lit(im_panel_time_colon));
  rig.wait(1);
  EXPECT_FALSE(rig.lit(im_panel_time_colon));
  rig.wait(500);
  EXPECT_TRUE(rig.lit(im_panel_time_colon));
}

TEST(Colon, BlinksInClockAlarmAndDate) {
  for (int presses : {1, 3, 5}) {
    Rig rig;
    for (int i = 0; i < presses; ++i) rig.time();
    SCOPED_TRACE(presses);
    expectColonBlinks(rig);
  }
}

TEST(Clock, TimeTwoCarriesOnTheClockWithoutRestart) {
  Rig rig(at(13, 7));
  rig.time();
  rig.wait(700);  // colon dark since 501
  EXPECT_FALSE(rig.lit(im_panel_time_colon));
  rig.time();  // mode 2: no restart, so the colon keeps its phase
  rig.wait(1);
  EXPECT_FALSE(rig.lit(im_panel_time_colon));
  rig.wait(300);  // the next update at 1001 lights it
  EXPECT_TRUE(rig.lit(im_panel_time_colon));
  EXPECT_EQ(rig.digits(), "_107");
  EXPECT_TRUE(rig.lit(im_panel_time_2) && rig.lit(im_panel_time_pm));
}

TEST(Clock, MinuteChangeShowsWithinHalfASecond) {
  Rig rig(LocalDateTime{2026, 12, 31, 23, 59, 59});
  rig.time();
  rig.wait(1);
  EXPECT_EQ(rig.digits(), "1159");
  rig.wait(1000);
  EXPECT_EQ(rig.digits(), "1200");
  EXPECT_TRUE(rig.lit(im_panel_time_am));
  for (int i = 0; i < 4; ++i) rig.time();  // date: 1 January of the next year
  rig.wait(1);
  EXPECT_EQ(rig.digits(), "_1_1");
}

TEST(Clock, ANewTimeIsPickedUpAtTheNextUpdate) {
  Rig rig(at(9, 30));
  rig.time();
  rig.wait(1);
  rig.clock.set(at(21, 45));
  rig.wait(500);
  EXPECT_EQ(rig.digits(), "_945");
  EXPECT_TRUE(rig.lit(im_panel_time_pm));
}

}  // namespace zarvik::test
