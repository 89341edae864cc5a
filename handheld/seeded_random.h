#pragma once
// The game's random source: uniform integers 0..3 from a Mersenne Twister
// seeded once per run.

#include <cstdint>
#include <random>

#include "services.h"

namespace zarvik {

class SeededRandom : public RandomSource {
 public:
  explicit SeededRandom(uint32_t seed) : engine_(seed) {}
  int draw() override { return distribution_(engine_); }

 private:
  std::mt19937 engine_;
  std::uniform_int_distribution<int> distribution_{0, 3};
};

}  // namespace zarvik
