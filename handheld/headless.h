#pragma once
// The handheld run without a desktop, for zarvik-sim, tests and benchmarks:
// virtual time, a seeded random source, samples that are recorded instead of
// heard, and settings kept in memory with a log of every write.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "handheld.h"
#include "seeded_random.h"
#include "virtual_time.h"

namespace zarvik {

// Loads any file name, names each sample after its file ("Sound/Got.wav" is
// "got") and records the name of every sample played.
class RecordingSoundLayer : public SoundLayer {
 public:
  bool FSOUND_Init(int, int, unsigned) override { return true; }
  bool FSOUND_SetOutput(int) override { return true; }
  int FSOUND_Sample_Load(int, const char* name, unsigned, int, int) override;
  int FSOUND_PlaySound(int, int sample) override;
  bool FSOUND_StopSound(int) override { return true; }
  void FSOUND_Sample_Free(int) override {}
  void FSOUND_Close() override {}

  std::vector<std::string> played;

 private:
  std::vector<std::string> names_;  // handle h names names_[h - 1]
};

class MemorySettings : public SettingsStore {
 public:
  int readInteger(const std::string& name, int defaultValue) override;
  void writeInteger(const std::string& name, int value) override;

  std::map<std::string, int> values;
  std::vector<std::string> writes;  // "Name=Value", in order
};

class HeadlessHandheld {
 public:
  // Sound enabled with every sample loaded; the clock reads `start` at virtual
  // time 0; each glyph holds a picture that identifies its digit.
  HeadlessHandheld(const LocalDateTime& start, uint32_t seed);

  VirtualScheduler scheduler;
  VirtualClock clock{scheduler};
  SeededRandom random;
  RecordingSoundLayer sound;
  MemorySettings settings;
  Handheld handheld{scheduler, clock, random, sound, settings};

  void wait(int64_t ms) { scheduler.advance(ms); }
  // Presses (down) or releases button n (1..5: Game A, Game B, Time, Left, Right).
  void press(int button, bool down);
  // The digit shown at position 1..4, or kBlank.
  int digitShown(int position) const;
  // Names of the visible segments and pressed pictures, in skin order.
  std::vector<std::string_view> litNames() const;
};

}  // namespace zarvik
