#pragma once
// The handheld's sound layer on SDL2_mixer: the seven FSOUND_ calls with the
// results the handheld relies on.
//
// Sound design:
// - FSOUND_Init only records the rate (16-bit stereo) and the number of mixing
//   channels; the device opens once, when first needed: at FSOUND_SetOutput
//   after FSOUND_Init (the output type is then known), or at the first load or
//   play. Samples are converted to the mixer's format, so loading needs it open.
// - FSOUND_SetOutput may come before or after FSOUND_Init. Before, it only
//   records the preference; after, it opens the device, or reopens an open
//   one with the preferred driver order. The mixer's format never changes, so
//   samples loaded before a reopen stay valid (playing channels stop).
//   Output type 2 prefers PulseAudio, then PipeWire; type 1 prefers ALSA.
// - Whatever the order, SDL_AUDIODRIVER from the environment is tried first,
//   then the preferred drivers, then every other real driver (but "sndio",
//   which on Linux only reaches ALSA again). SDL's "dummy" driver is the last
//   resort only for loading: a machine without a sound device still loads
//   samples, so a missing device is never mistaken for a missing Sound folder.
//   PulseAudio and PipeWire without a server address or socket, and ALSA
//   (unless chosen) without /dev/snd, are skipped rather than probed: they
//   cannot answer, probing them costs over 200 ms before the face is shown,
//   and PipeWire's library prints its complaints on standard error.
// - An open device keeps SDL's mixing thread awake for every buffer, sound or
//   not. So once the last channel has ended and nothing played for a while
//   (idleClose), a resting thread closes the device; the next play reopens it
//   with a real driver, trying them in the same order. While silent the
//   program then wakes for nothing but its own timers.
// - A device that stops working (SDL finds it lost: a sound server that went
//   away, a card unplugged), the last-resort "dummy" device, or no real
//   driver at that reopening, is no device to play on. The play then only
//   asks the resting thread to close it and to open a real driver, in the
//   same order, every kRetryInterval for as long as sounds are wanted (a play
//   within idleClose); meanwhile plays are dropped, never kept to sound late,
//   and none waits for those attempts.
// One layer per process: SDL_mixer is a single global mixer.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "services.h"

struct Mix_Chunk;

namespace zarvik {

struct SdlLibrary;
struct MixerLibrary;

class SdlSoundLayer : public zarvik::SoundLayer {
 public:
  // How often a lost device is tried again while sounds are wanted: a server
  // that is back is heard again within about this time, and a retry that
  // fails costs about a millisecond.
  static constexpr std::chrono::milliseconds kRetryInterval{500};

  explicit SdlSoundLayer(std::chrono::milliseconds idleClose = std::chrono::seconds(3))
      : idleClose_(idleClose) {}
  ~SdlSoundLayer() override;
  SdlSoundLayer(const SdlSoundLayer&) = delete;
  SdlSoundLayer& operator=(const SdlSoundLayer&) = delete;

  // Starts loading the sound library on another thread, so that a later
  // FSOUND_Init finds it loaded (or waits for the rest of the load).
  void preloadLibrary();

  bool FSOUND_Init(int mixrate, int maxsoftwarechannels, unsigned flags) override;
  bool FSOUND_SetOutput(int outputtype) override;
  int FSOUND_Sample_Load(int index, const char* name, unsigned mode, int offset,
                         int length) override;
  int FSOUND_PlaySound(int channel, int sample) override;
  bool FSOUND_StopSound(int channel) override;
  void FSOUND_Sample_Free(int sample) override;
  void FSOUND_Close() override;

  // The SDL audio driver last opened ("pulseaudio", "alsa", "dummy"...), also
  // while the device rests; empty until the device first opens.
  std::string driverName() const;
  bool deviceOpen() const;
  // Why the last call failed, naming the file for a failed load.
  const std::string& lastError() const { return lastError_; }

 private:
  std::vector<std::string> driverOrder() const;
  bool ensureOpen();
  bool openDevice(bool lastResortAllowed, std::string& error);
  bool openWith(const std::string& driver);
  void closeDevice();
  static void channelEnded(int channel);
  bool deviceLost() const;
  bool playableDevice();
  void markIdle();
  void markWanted();
  void recover();
  bool reopenRealDevice();
  void keepDevice();
  void closeIfStillIdle();
  void stopResting();

  const SdlLibrary* sdl_ = nullptr;  // both loaded by the first FSOUND_Init
  const MixerLibrary* mixer_ = nullptr;
  std::thread preloader_;
  bool initialised_ = false;
  int mixrate_ = 0;
  int channels_ = 0;
  int outputType_ = 0;  // 0 until FSOUND_SetOutput: SDL's own order
  std::map<int, Mix_Chunk*> samples_;
  int nextHandle_ = 1;
  std::string lastError_;

  // The device, and the SDL_mixer calls made on it from either thread.
  mutable std::mutex deviceMutex_;
  bool deviceOpen_ = false;
  std::string openedDriver_;
  bool onLastResort_ = false;  // "dummy", opened only because nothing else did
  std::uint32_t deviceId_ = 0;  // SDL's id of the mixer's device, 0 if unknown

  // The resting thread sleeps until a channel ends, then closes the device
  // after idleClose_ without a play; or, while recovering_, tries a real
  // driver every kRetryInterval until one opens or sounds are no longer
  // wanted. Its mutex is never held around a mixer call, as the mixer calls
  // channelEnded with its own lock held.
  const std::chrono::milliseconds idleClose_;
  std::mutex restMutex_;
  std::condition_variable restSignal_;
  std::optional<std::chrono::steady_clock::time_point> idleSince_;
  std::chrono::steady_clock::time_point wantedUntil_;
  std::chrono::steady_clock::time_point nextRetry_;
  std::atomic<bool> recovering_ = false;  // set with restMutex_ held
  bool stopRest_ = false;
  std::thread rester_;
};

}  // namespace zarvik
