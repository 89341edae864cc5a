#pragma once
// The fuzz targets: each takes arbitrary bytes through one of the program's
// readers. They are built as libFuzzer programs (fuzz/CMakeLists.txt, with
// clang), and the ordinary test suite replays the saved inputs through the
// same functions.

#include <cstddef>
#include <cstdint>
#include <span>

namespace zarvik::fuzz {

struct Target {
  const char* name;  // also the folder of its saved inputs, fuzz/regressions/<name>/
  // Whether the input was accepted (a picture decoded, a sample loaded).
  bool (*run)(const std::uint8_t* data, std::size_t size);
};

// ini, values, png, jpeg, bmp, ico, wmf, wav.
std::span<const Target> targets();

}  // namespace zarvik::fuzz
