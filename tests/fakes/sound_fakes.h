#pragma once
// Sound layers for tests of the windows that set sound up and release it.

#include <string>
#include <vector>

#include "headless.h"

namespace zarvik {

// Records the sound calls in order; loads fail for the files named in `missing`.
class ScriptedSound : public SoundLayer {
 public:
  bool FSOUND_Init(int rate, int channels, unsigned flags) override {
    calls.push_back("Init " + std::to_string(rate) + " " + std::to_string(channels) + " " +
                    std::to_string(flags));
    return true;
  }
  bool FSOUND_SetOutput(int type) override {
    calls.push_back("SetOutput " + std::to_string(type));
    return true;
  }
  int FSOUND_Sample_Load(int, const char* name, unsigned, int, int) override {
    calls.push_back(std::string("Load ") + name);
    return missing == name ? 0 : int(calls.size());
  }
  int FSOUND_PlaySound(int, int) override { return 0; }
  bool FSOUND_StopSound(int) override { return true; }
  void FSOUND_Sample_Free(int) override {}
  void FSOUND_Close() override {}

  std::vector<std::string> calls;
  std::string missing;
};

// Records which samples are freed and how often the library is closed.
class CountingSound : public RecordingSoundLayer {
 public:
  void FSOUND_Sample_Free(int sample) override { freed.push_back(sample); }
  void FSOUND_Close() override { ++closes; }
  std::vector<int> freed;
  int closes = 0;
};

}  // namespace zarvik
