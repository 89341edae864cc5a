// The system clock follows a change of the local zone at its next reading:
// TZ naming a zone file that is replaced or rewritten, or TZ itself changing.

#include "system_clock.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// The hour a zone UTC+offset shows at some moment between two readings of
// the system's time, as the clock's reading falls between them.
bool showsOffset(const zarvik::SystemClock& clock, int offsetHours) {
  const auto hourAt = [offsetHours](std::time_t t) {
    std::tm utc{};
    gmtime_r(&t, &utc);
    return (utc.tm_hour + offsetHours) % 24;
  };
  const std::time_t before = std::time(nullptr);
  const int hour = clock.now().hour;
  return hour == hourAt(before) || hour == hourAt(std::time(nullptr));
}

class SystemClockTest : public testing::Test {
 protected:
  void SetUp() override {
    const char* tz = getenv("TZ");
    savedTz = tz ? std::optional<std::string>(tz) : std::nullopt;
    fs::create_directories(dir);
  }
  void TearDown() override {
    if (savedTz) setenv("TZ", savedTz->c_str(), 1);
    else unsetenv("TZ");
    tzset();
    fs::remove_all(dir);
  }
  std::optional<std::string> savedTz;
  fs::path dir = fs::temp_directory_path() / ("zarvik-clock-" + std::to_string(getpid()));
  fs::path zone = dir / "localtime";
};

TEST_F(SystemClockTest, FollowsAReplacedOrRewrittenZoneFile) {
  const fs::path zoneinfo = "/usr/share/zoneinfo";
  struct Row {
    const char* how;
    void (*put)(const fs::path& from, const fs::path& to);
  };
  const Row rows[] = {
      {"renamed over", [](const fs::path& from, const fs::path& to) {
         fs::copy_file(from, to.string() + ".new", fs::copy_options::overwrite_existing);
         fs::rename(to.string() + ".new", to);
       }},
      {"rewritten in place", [](const fs::path& from, const fs::path& to) {
         std::ifstream in(from, std::ios::binary);
         std::ofstream out(to, std::ios::binary | std::ios::trunc);
         out << in.rdbuf();
       }},
  };
  for (const Row& row : rows) {
    fs::copy_file(zoneinfo / "UTC", zone, fs::copy_options::overwrite_existing);
    setenv("TZ", zone.c_str(), 1);
    zarvik::SystemClock clock;
    EXPECT_TRUE(showsOffset(clock, 0)) << row.how;
    row.put(zoneinfo / "Asia/Tokyo", zone);
    EXPECT_TRUE(showsOffset(clock, 9)) << row.how;
    row.put(zoneinfo / "Asia/Kolkata", zone);  // +5:30: the hour is 5 or 6 ahead
    EXPECT_TRUE(showsOffset(clock, 5) || showsOffset(clock, 6)) << row.how;
    EXPECT_FALSE(showsOffset(clock, 9)) << row.how;
  }
}

TEST_F(SystemClockTest, FollowsTzItselfAndARuleWithoutAFile) {
  setenv("TZ", "UTC0", 1);
  zarvik::SystemClock clock;
  EXPECT_TRUE(showsOffset(clock, 0));
  setenv("TZ", "JST-9", 1);
  EXPECT_TRUE(showsOffset(clock, 9));
  EXPECT_TRUE(showsOffset(clock, 9));
}

}  // namespace
