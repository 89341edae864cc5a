#pragma once
// Test helpers for sound through SDL's disk audio driver: a temporary folder,
// the environment that sends the mix into a file there, and readers of that
// file (16-bit stereo frames, written in real time while the mixer runs).

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace soundtest {

constexpr int kRate = 22050;

inline int framesOf(int ms) { return ms * kRate / 1000; }

// A folder under the system's temporary folder, removed with its contents.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zarvik-sound-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old, hadOld_ = true;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (hadOld_) setenv(name_, old_.c_str(), 1);
    else unsetenv(name_);
  }

 private:
  const char* name_;
  std::string old_;
  bool hadOld_ = false;
};

// Writes a mono 16-bit WAV file at 22050 Hz.
inline void writeWav(const std::filesystem::path& path, const std::vector<int16_t>& samples) {
  auto le = [](std::string& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(char((v >> (8 * i)) & 0xff));
  };
  const uint32_t dataBytes = uint32_t(samples.size() * 2);
  std::string out = "RIFF";
  le(out, 36 + dataBytes, 4);
  out += "WAVEfmt ";
  le(out, 16, 4), le(out, 1, 2), le(out, 1, 2), le(out, kRate, 4), le(out, kRate * 2, 4);
  le(out, 2, 2), le(out, 16, 2);
  out += "data";
  le(out, dataBytes, 4);
  for (int16_t s : samples) le(out, uint16_t(s), 2);
  std::ofstream(path, std::ios::binary).write(out.data(), std::streamsize(out.size()));
}

// A constant level: mixed output shows it exactly, and overlapping plays add.
inline std::vector<int16_t> flatTone(int ms, int16_t level) {
  return std::vector<int16_t>(size_t(framesOf(ms)), level);
}

// The mixed output captured so far, as stereo frames.
struct Capture {
  std::vector<int16_t> samples;  // left, right, left, right...

  size_t frames() const { return samples.size() / 2; }
  int peak(size_t from = 0) const {
    int best = 0;
    for (size_t i = from * 2; i < samples.size(); ++i) best = std::max(best, std::abs(int(samples[i])));
    return best;
  }
  size_t nonSilentFrames() const {
    size_t n = 0;
    for (size_t f = 0; f < frames(); ++f) n += samples[2 * f] != 0 || samples[2 * f + 1] != 0;
    return n;
  }
  // Index of the first non-silent frame, or frames() when all is silent.
  size_t firstSound() const {
    for (size_t f = 0; f < frames(); ++f)
      if (samples[2 * f] != 0 || samples[2 * f + 1] != 0) return f;
    return frames();
  }
  // Number of silent frames at the end.
  size_t trailingSilence() const {
    size_t n = 0;
    while (n < frames() && samples[2 * (frames() - 1 - n)] == 0 &&
           samples[2 * (frames() - 1 - n) + 1] == 0)
      ++n;
    return n;
  }
};

inline Capture readCapture(const std::filesystem::path& file) {
  Capture c;
  std::ifstream in(file, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  c.samples.resize(bytes.size() / 4 * 2);
  if (!c.samples.empty()) std::memcpy(c.samples.data(), bytes.data(), c.samples.size() * 2);  // data() may be null
  return c;
}

// Polls the capture until `done` holds; false after a generous time-out.
inline bool waitForCapture(const std::filesystem::path& file,
                           const std::function<bool(const Capture&)>& done) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < giveUp) {
    if (done(readCapture(file))) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

// Sends the mix of any sound layer opened during the test into a file.
class DiskAudio {
 public:
  explicit DiskAudio(const TempFolder& folder)
      : file_(folder.path() / "mix.raw"),
        driver_("SDL_AUDIODRIVER", "disk"),
        output_("SDL_DISKAUDIOFILE", file_.string()) {}
  const std::filesystem::path& file() const { return file_; }
  Capture capture() const { return readCapture(file_); }
  // Waits until at least `ms` more of output follows the frame `after`.
  bool waitForMore(size_t after, int ms) const {
    return waitForCapture(file_, [&](const Capture& c) {
      return c.frames() >= after + size_t(framesOf(ms));
    });
  }

 private:
  std::filesystem::path file_;
  ScopedEnv driver_;
  ScopedEnv output_;
};

}  // namespace soundtest
