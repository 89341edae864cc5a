#pragma once
// The handheld's sound layer on SDL2_mixer: the seven FSOUND_ calls with the
// results the handheld relies on.
//
// Sound design:
// - FSOUND_Init opens the mixer at once, 16-bit stereo at the given rate with
//   the given number of mixing channels, trying drivers in SDL's own order.
// - FSOUND_SetOutput may come before or after FSOUND_Init. Before, it only
//   records the preference for the coming FSOUND_Init; after, it reopens the
//   device with the preferred driver order. The mixer's format never changes,
//   so samples loaded before a reopen stay valid (playing channels stop).
//   Output type 2 prefers PulseAudio, then PipeWire; type 1 prefers ALSA.
// - Whatever the order, SDL_AUDIODRIVER from the environment is tried first,
//   then the preferred drivers, then every other real driver (but "sndio",
//   which on Linux only reaches ALSA again), and last SDL's
//   "dummy" driver: a machine without a sound device still loads samples, so
//   a missing device is never mistaken for a missing Sound folder.
//
// One layer per process: SDL_mixer is a single global mixer.

#include <SDL_mixer.h>

#include <map>
#include <string>
#include <vector>

#include "services.h"

class SdlSoundLayer : public zarvik::SoundLayer {
 public:
  SdlSoundLayer() = default;
  ~SdlSoundLayer() override;
  SdlSoundLayer(const SdlSoundLayer&) = delete;
  SdlSoundLayer& operator=(const SdlSoundLayer&) = delete;

  bool FSOUND_Init(int mixrate, int maxsoftwarechannels, unsigned flags) override;
  bool FSOUND_SetOutput(int outputtype) override;
  int FSOUND_Sample_Load(int index, const char* name, unsigned mode, int offset,
                         int length) override;
  int FSOUND_PlaySound(int channel, int sample) override;
  bool FSOUND_StopSound(int channel) override;
  void FSOUND_Sample_Free(int sample) override;
  void FSOUND_Close() override;

  // The SDL audio driver in use ("pulseaudio", "alsa", "dummy"...), empty
  // while closed.
  std::string driverName() const;
  // Why the last call failed, naming the file for a failed load.
  const std::string& lastError() const { return lastError_; }

  static constexpr int kOutputAlsa = 1;
  static constexpr int kOutputDesktopServer = 2;

 private:
  std::vector<std::string> driverOrder() const;
  bool openDevice();
  bool openWith(const std::string& driver);
  void closeDevice();

  bool initialised_ = false;
  int mixrate_ = 0;
  int channels_ = 0;
  int outputType_ = 0;  // 0 until FSOUND_SetOutput: SDL's own order
  std::map<int, Mix_Chunk*> samples_;
  int nextHandle_ = 1;
  std::string lastError_;
};
