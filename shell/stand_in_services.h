#pragma once
// Services for tests and benchmarks of the shell: settings kept in memory,
// and a sound layer that plays nothing.

#include <map>
#include <string>

#include "services.h"

namespace zarvik {

class MemorySettingsStore : public SettingsStore {
 public:
  int readInteger(const std::string& name, int defaultValue) override {
    auto it = values_.find(name);
    return it == values_.end() ? defaultValue : it->second;
  }
  void writeInteger(const std::string& name, int value) override { values_[name] = value; }

 private:
  std::map<std::string, int> values_;
};

class SilentSoundLayer : public SoundLayer {
 public:
  bool FSOUND_Init(int, int, unsigned) override { return true; }
  bool FSOUND_SetOutput(int) override { return true; }
  int FSOUND_Sample_Load(int, const char*, unsigned, int, int) override { return 0; }
  int FSOUND_PlaySound(int, int) override { return -1; }
  bool FSOUND_StopSound(int) override { return true; }
  void FSOUND_Sample_Free(int) override {}
  void FSOUND_Close() override {}
};

}  // namespace zarvik
