#include "sdl_sound_layer.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>

#include "regular_file.h"

namespace {

// Frames per mixing buffer: about 23 ms at 22050 Hz, short enough for a
// step sound on every 185 ms game tick.
constexpr int kBufferFrames = 512;

// A sample is a short sound; a larger file is refused rather than read.
constexpr std::uint64_t kMaxSampleBytes = 64ull * 1024 * 1024;

// SDL_mixer is one global mixer: only one layer may hold it open.
bool mixerTaken = false;

}  // namespace

SdlSoundLayer::~SdlSoundLayer() { FSOUND_Close(); }

// No initialisation flags are supported; the handheld passes 0.
bool SdlSoundLayer::FSOUND_Init(int mixrate, int maxsoftwarechannels, unsigned /*flags*/) {
  if (initialised_) {
    lastError_ = "the sound library is already initialised";
    return false;
  }
  if (mixerTaken) {
    lastError_ = "another sound layer holds the mixer";
    return false;
  }
  if (mixrate <= 0 || maxsoftwarechannels <= 0) {
    lastError_ = "invalid mixing rate or channel count";
    return false;
  }
  mixrate_ = mixrate;
  channels_ = maxsoftwarechannels;
  if (!openDevice()) return false;
  initialised_ = true;
  mixerTaken = true;
  return true;
}

bool SdlSoundLayer::FSOUND_SetOutput(int outputtype) {
  if (outputtype != kOutputAlsa && outputtype != kOutputDesktopServer) {
    lastError_ = "unknown output type " + std::to_string(outputtype);
    return false;
  }
  outputType_ = outputtype;
  if (!initialised_) return true;
  closeDevice();
  if (openDevice()) return true;
  // Not even the dummy driver opened: the layer is unusable, so shut it
  // down cleanly rather than pretend.
  FSOUND_Close();
  return false;
}

// The slot is always chosen here (handles are this layer's own), and every
// sample is a plain 2D one, whatever the slot and mode arguments say.
int SdlSoundLayer::FSOUND_Sample_Load(int /*index*/, const char* name, unsigned /*mode*/,
                                      int offset, int length) {
  const std::string file = name ? name : "";
  if (!initialised_) {
    lastError_ = file + ": the sound library is not initialised";
    return 0;
  }
  // Samples are always whole files; a part of one is not supported.
  if (offset != 0 || length != 0) {
    lastError_ = file + ": loading part of a file is not supported";
    return 0;
  }
  // Read here under the file rule, so that a FIFO or a device in the
  // sample's place is refused instead of blocking or streaming into SDL.
  const zarvik::FileContents contents = zarvik::readRegularFile(file, kMaxSampleBytes);
  if (!contents.ok()) {
    lastError_ = file + ": " + contents.problem->message;
    return 0;
  }
  Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(contents.bytes.data(), int(contents.bytes.size())), 1);
  if (!chunk) {
    lastError_ = file + ": " + Mix_GetError();
    return 0;
  }
  const int handle = nextHandle_++;
  samples_[handle] = chunk;
  return handle;
}

int SdlSoundLayer::FSOUND_PlaySound(int channel, int sample) {
  const auto it = samples_.find(sample);
  if (!initialised_ || it == samples_.end()) return -1;
  if (channel != zarvik::FSOUND_FREE && (channel < 0 || channel >= channels_)) return -1;
  return Mix_PlayChannel(channel, it->second, 0);
}

bool SdlSoundLayer::FSOUND_StopSound(int channel) {
  if (!initialised_) return false;
  if (channel == zarvik::FSOUND_ALL) {
    Mix_HaltChannel(-1);
    return true;
  }
  if (channel < 0 || channel >= channels_) return false;
  Mix_HaltChannel(channel);
  return true;
}

void SdlSoundLayer::FSOUND_Sample_Free(int sample) {
  const auto it = samples_.find(sample);
  if (it == samples_.end()) return;
  Mix_FreeChunk(it->second);  // stops any channel still playing it
  samples_.erase(it);
}

void SdlSoundLayer::FSOUND_Close() {
  for (auto& [handle, chunk] : samples_) Mix_FreeChunk(chunk);
  samples_.clear();
  if (!initialised_) return;
  closeDevice();
  Mix_Quit();
  initialised_ = false;
  mixerTaken = false;
}

std::string SdlSoundLayer::driverName() const {
  if (!initialised_) return {};
  const char* name = SDL_GetCurrentAudioDriver();
  return name ? name : "";
}

std::vector<std::string> SdlSoundLayer::driverOrder() const {
  std::vector<std::string> order;
  if (const char* chosen = std::getenv("SDL_AUDIODRIVER"); chosen && *chosen) {
    order.push_back(chosen);
  }
  if (outputType_ == kOutputDesktopServer) {
    order.insert(order.end(), {"pulseaudio", "pipewire"});
  } else if (outputType_ == kOutputAlsa) {
    order.push_back("alsa");
  }
  // The rest of SDL's drivers in SDL's order, but never "disk" (it would
  // write a file) unless asked for through the environment.
  for (int i = 0; i < SDL_GetNumAudioDrivers(); ++i) {
    const std::string driver = SDL_GetAudioDriver(i);
    if (driver == "disk" || driver == "dummy") continue;
    if (std::find(order.begin(), order.end(), driver) == order.end()) order.push_back(driver);
  }
  order.push_back("dummy");
  return order;
}

bool SdlSoundLayer::openDevice() {
  std::string failures;
  for (const std::string& driver : driverOrder()) {
    if (openWith(driver)) return true;
    failures += (failures.empty() ? "" : "; ") + driver + ": " + SDL_GetError();
  }
  lastError_ = "no audio driver could be opened (" + failures + ")";
  return false;
}

bool SdlSoundLayer::openWith(const std::string& driver) {
  // SDL would otherwise turn SIGINT and SIGTERM into quit events that this
  // program never reads, and the program could no longer be stopped.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // The override beats SDL_AUDIODRIVER from the environment for this attempt;
  // resetting it afterwards restores the environment's value.
  SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, driver.c_str(), SDL_HINT_OVERRIDE);
  const bool started = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  if (!started) return false;
  // No format changes allowed: SDL converts to exactly this format, so loaded
  // samples suit whichever device is opened later.
  if (Mix_OpenAudioDevice(mixrate_, AUDIO_S16SYS, 2, kBufferFrames, nullptr, 0) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  Mix_AllocateChannels(channels_);
  return true;
}

void SdlSoundLayer::closeDevice() {
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
