#pragma once
// The computer's local date and time.

#include <ctime>

#include "services.h"

namespace zarvik {

class SystemClock : public zarvik::Clock {
 public:
  zarvik::LocalDateTime now() const override {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
  }
};

}  // namespace zarvik
