#pragma once
// The small interfaces through which the handheld reaches the world: local
// time, a random source, the per-user settings store and the sound layer.

#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace zarvik {

// The sound layer's output types.
inline constexpr int kOutputAlsa = 1;
inline constexpr int kOutputDesktopServer = 2;

struct LocalDateTime {
  int year = 2000, month = 1, day = 1;  // month 1..12, day 1..31
  int hour = 0, minute = 0, second = 0;  // hour 0..23
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime now() const = 0;
};

// Uniform integers 0..3.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual int draw() = 0;
};

// The per-user settings: every value is text; reads that find nothing or
// text that is not a number yield the caller's default.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual int readInteger(const std::string& name, int defaultValue) = 0;
  virtual void writeInteger(const std::string& name, int value) = 0;
  // Several values that belong together; a store may save them in one go.
  virtual void writeIntegers(const std::vector<std::pair<std::string, int>>& values) {
    for (const auto& [name, value] : values) writeInteger(name, value);
  }
  // Stores `value` unless the stored integer is at least as high, and returns
  // the higher of the two. A store that several programs share compares and
  // writes in one step, so that no program's better value is replaced.
  virtual int writeIntegerIfHigher(const std::string& name, int value) {
    const int stored = readInteger(name, std::numeric_limits<int>::min());
    if (stored >= value) return stored;
    writeInteger(name, value);
    return value;
  }
  bool readBool(const std::string& name, bool defaultValue) {
    return readInteger(name, defaultValue ? 1 : 0) != 0;
  }
  void writeBool(const std::string& name, bool value) { writeInteger(name, value ? 1 : 0); }
};

// The sound library's seven calls. Sample handles are opaque; 0 means none.
class SoundLayer {
 public:
  virtual ~SoundLayer() = default;
  virtual bool FSOUND_Init(int mixrate, int maxsoftwarechannels, unsigned flags) = 0;
  virtual bool FSOUND_SetOutput(int outputtype) = 0;  // kOutputAlsa or kOutputDesktopServer
  virtual int FSOUND_Sample_Load(int index, const char* name, unsigned mode, int offset,
                                 int length) = 0;
  virtual int FSOUND_PlaySound(int channel, int sample) = 0;  // channel -1: any free
  virtual bool FSOUND_StopSound(int channel) = 0;             // channel -3: all
  virtual void FSOUND_Sample_Free(int sample) = 0;            // harmless for 0
  virtual void FSOUND_Close() = 0;  // harmless when never initialised
};

inline constexpr unsigned FSOUND_2D = 0x2000;
inline constexpr int FSOUND_FREE = -1;
inline constexpr int FSOUND_ALL = -3;

}  // namespace zarvik
