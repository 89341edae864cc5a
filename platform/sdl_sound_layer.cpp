#include "sdl_sound_layer.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <unistd.h>

#include "regular_file.h"
#include "sdl_library.h"
#include "shared_library.h"

namespace zarvik {

namespace {

// Frames per mixing buffer: about 23 ms at 22050 Hz, short enough for a
// step sound on every 185 ms game tick.
constexpr int kBufferFrames = 512;

// SDL_mixer is one global mixer: only one layer may hold it open. Its
// channel-finished callback reaches the layer through this.
std::atomic<SdlSoundLayer*> mixerOwner = nullptr;

// A sample is a short sound; a larger file is refused rather than read.
constexpr std::uint64_t kMaxSampleBytes = 64ull * 1024 * 1024;

// SDL's WAV reader allocates the length a chunk claims before reading it, so
// a few bytes could claim 4 GB. A claim beyond the end of the file is cut to
// what the file holds (as SDL does for the data it reads), which bounds every
// allocation by the file's size.
void limitWaveChunksToTheFile(std::string& bytes) {
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) return;
  auto length = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | std::uint8_t(bytes[at + i]);
    return std::uint64_t(v);
  };
  auto setLength = [&](std::size_t at, std::uint64_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = char(v >> (8 * i) & 0xff);
  };
  if (length(4) > bytes.size() - 8) setLength(4, bytes.size() - 8);
  for (std::size_t at = 12; at + 8 <= bytes.size();) {
    const std::uint64_t room = bytes.size() - at - 8;
    if (length(at + 4) > room) setLength(at + 4, room);
    const std::uint64_t chunk = length(at + 4);
    at += 8 + chunk + (chunk & 1);
  }
}

// The name the desktop's sound server shows for this program and its stream
// (the mixer's applications list).
constexpr char kMixerName[] = "Zarvik50 Simulator";

// ALSA prints a screenful of "ALSA lib ..." lines on standard error while SDL
// probes a machine without a sound card, even when another driver (or the
// silent one) then works. SDL loads libasound itself and offers no way to
// quiet it, so libasound's error handler is replaced here with a silent one;
// SDL's own error text still says why ALSA failed. The library stays loaded
// so that SDL's later dlopen finds this same instance and its handler.
void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

struct AlsaLibrary {
  using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
  int (*snd_lib_error_set_handler)(Handler);
};
void bindSymbols(AlsaLibrary& table, LibrarySymbols& find) {
  find(table.snd_lib_error_set_handler, "snd_lib_error_set_handler");
}

void quietAlsa() {
  std::string noAlsa;  // no ALSA, no noise
  if (const AlsaLibrary* alsa = loadLibraryOnce<AlsaLibrary>("libasound.so.2", "ALSA library", noAlsa))
    alsa->snd_lib_error_set_handler(ignoreAlsaError);
}

// PulseAudio's library spends over 100 ms finding no server, and ALSA's probe
// of a machine without sound cards some 70 ms, on the main thread before the
// face is shown; PipeWire's library, without a configuration of its own,
// prints "can't load default config client.conf" on standard error before it
// fails. A look at the file system first skips a driver that cannot answer:
// PulseAudio (or PipeWire's stand-in) and PipeWire without a server address
// or socket where their libraries look, ALSA without /dev/snd unless it is
// the driver chosen (a plugin may route it elsewhere).
bool anyExists(const std::vector<std::filesystem::path>& paths) {
  std::error_code ignored;
  return std::any_of(paths.begin(), paths.end(),
                     [&](const auto& path) { return std::filesystem::exists(path, ignored); });
}

std::optional<std::filesystem::path> environmentFolder(const char* name) {
  const char* value = std::getenv(name);
  if (!value || !*value) return std::nullopt;
  return std::filesystem::path(value);
}

bool pulseServerReachable() {
  if (const char* server = std::getenv("PULSE_SERVER"); server && *server) return true;
  std::vector<std::filesystem::path> sockets{"/run/user/" + std::to_string(getuid()) + "/pulse/native",
                                             "/var/run/pulse/native"};
  if (const auto dir = environmentFolder("PULSE_RUNTIME_PATH")) sockets.push_back(*dir / "native");
  if (const auto dir = environmentFolder("XDG_RUNTIME_DIR")) sockets.push_back(*dir / "pulse" / "native");
  return anyExists(sockets);
}

bool pipewireServerReachable() {
  std::filesystem::path name = "pipewire-0";
  if (const auto remote = environmentFolder("PIPEWIRE_REMOTE")) {
    if (remote->is_absolute()) return anyExists({*remote});
    name = *remote;
  }
  std::vector<std::filesystem::path> sockets;
  for (const char* variable : {"PIPEWIRE_RUNTIME_DIR", "XDG_RUNTIME_DIR"})
    if (const auto dir = environmentFolder(variable)) sockets.push_back(*dir / name);
  return anyExists(sockets);
}

bool mayAnswer(const std::string& driver) {
  if (driver == "pulseaudio") return pulseServerReachable();
  if (driver == "pipewire") return pipewireServerReachable();
  if (driver == "alsa") return anyExists({"/dev/snd"});
  return true;
}

}  // namespace

SdlSoundLayer::~SdlSoundLayer() {
  if (preloader_.joinable()) preloader_.join();
  FSOUND_Close();
}

void SdlSoundLayer::preloadLibrary() {
  if (preloader_.joinable()) return;
  preloader_ = std::thread([] {
    std::string ignored;  // FSOUND_Init loads it again, and reports the failure
    if (loadSdl(ignored)) loadMixer(ignored);
  });
}

// No initialisation flags are supported; the handheld passes 0.
bool SdlSoundLayer::FSOUND_Init(int mixrate, int maxsoftwarechannels, unsigned /*flags*/) {
  if (initialised_) {
    lastError_ = "the sound library is already initialised";
    return false;
  }
  if (mixerOwner) {
    lastError_ = "another sound layer holds the mixer";
    return false;
  }
  if (mixrate <= 0 || maxsoftwarechannels <= 0) {
    lastError_ = "invalid mixing rate or channel count";
    return false;
  }
  if (preloader_.joinable()) preloader_.join();
  sdl_ = loadSdl(lastError_);
  mixer_ = sdl_ ? loadMixer(lastError_) : nullptr;
  if (!mixer_) return false;
  mixrate_ = mixrate;
  channels_ = maxsoftwarechannels;
  initialised_ = true;
  mixerOwner = this;
  stopRest_ = false;
  rester_ = std::thread([this] { keepDevice(); });
  return true;
}

bool SdlSoundLayer::FSOUND_SetOutput(int outputtype) {
  if (outputtype != kOutputAlsa && outputtype != kOutputDesktopServer) {
    lastError_ = "unknown output type " + std::to_string(outputtype);
    return false;
  }
  {
    std::lock_guard lock(deviceMutex_);  // the resting thread reads the order
    outputType_ = outputtype;
    if (!initialised_) return true;
    if (deviceOpen_) closeDevice();
    if (openDevice(/*lastResortAllowed=*/true, lastError_)) return true;
  }
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
  zarvik::FileContents contents = zarvik::readRegularFile(file, kMaxSampleBytes);
  if (!contents.ok()) {
    lastError_ = file + ": " + contents.problem->message;
    return 0;
  }
  limitWaveChunksToTheFile(contents.bytes);
  std::lock_guard lock(deviceMutex_);
  if (!ensureOpen()) {
    lastError_ = file + ": " + lastError_;
    return 0;
  }
  // Closed here rather than by SDL_mixer, which leaves it open when a file
  // is too short to tell its format.
  SDL_RWops* source = sdl_->SDL_RWFromConstMem(contents.bytes.data(), int(contents.bytes.size()));
  Mix_Chunk* chunk = source ? mixer_->Mix_LoadWAV_RW(source, 0) : nullptr;
  if (source) sdl_->SDL_RWclose(source);
  if (!chunk) {
    lastError_ = file + ": " + sdl_->SDL_GetError();
    return 0;
  }
  // SDL converts in a buffer several times the source's size and keeps all
  // of it: only the converted sound is kept (SDL frees it as any chunk).
  if (chunk->allocated && chunk->alen > 0) {
    if (void* exact = sdl_->SDL_realloc(chunk->abuf, chunk->alen)) chunk->abuf = static_cast<Uint8*>(exact);
  }
  const int handle = nextHandle_++;
  samples_[handle] = chunk;
  return handle;
}

int SdlSoundLayer::FSOUND_PlaySound(int channel, int sample) {
  const auto it = samples_.find(sample);
  if (!initialised_ || it == samples_.end()) return -1;
  if (channel != zarvik::FSOUND_FREE && (channel < 0 || channel >= channels_)) return -1;
  markWanted();
  // While the resting thread looks for a real driver there is none to play on.
  if (recovering_) return -1;
  std::lock_guard lock(deviceMutex_);
  if (!playableDevice()) {
    recover();
    return -1;
  }
  return mixer_->Mix_PlayChannel(channel, it->second, 0);
}

bool SdlSoundLayer::FSOUND_StopSound(int channel) {
  if (!initialised_) return false;
  if (channel != zarvik::FSOUND_ALL && (channel < 0 || channel >= channels_)) return false;
  if (recovering_) return true;  // nothing plays where it could be heard
  std::lock_guard lock(deviceMutex_);
  if (deviceOpen_) mixer_->Mix_HaltChannel(channel == zarvik::FSOUND_ALL ? -1 : channel);
  return true;
}

void SdlSoundLayer::FSOUND_Sample_Free(int sample) {
  const auto it = samples_.find(sample);
  if (it == samples_.end()) return;
  std::lock_guard lock(deviceMutex_);
  mixer_->Mix_FreeChunk(it->second);  // stops any channel still playing it
  samples_.erase(it);
}

void SdlSoundLayer::FSOUND_Close() {
  stopResting();
  for (auto& [handle, chunk] : samples_) mixer_->Mix_FreeChunk(chunk);
  samples_.clear();
  if (!initialised_) return;
  if (deviceOpen_) closeDevice();
  openedDriver_.clear();
  mixer_->Mix_Quit();
  initialised_ = false;
  mixerOwner = nullptr;
}

std::string SdlSoundLayer::driverName() const {
  std::lock_guard lock(deviceMutex_);
  return openedDriver_;
}

bool SdlSoundLayer::deviceOpen() const {
  std::lock_guard lock(deviceMutex_);
  return deviceOpen_;
}

std::vector<std::string> SdlSoundLayer::driverOrder() const {
  std::vector<std::string> order;
  if (const char* chosen = std::getenv("SDL_AUDIODRIVER"); chosen && *chosen) {
    order.push_back(chosen);
  }
  if (outputType_ == kOutputDesktopServer) {
    for (const char* driver : {"pulseaudio", "pipewire"})
      if (mayAnswer(driver)) order.push_back(driver);
  } else if (outputType_ == kOutputAlsa) {
    order.push_back("alsa");
  }
  // The rest of SDL's drivers in SDL's order, but never "disk" (it would
  // write a file), nor "sndio", which on Linux only reaches ALSA again and
  // prints its failure on the terminal, unless asked for through the
  // environment, nor one that cannot answer here.
  for (int i = 0; i < sdl_->SDL_GetNumAudioDrivers(); ++i) {
    const std::string driver = sdl_->SDL_GetAudioDriver(i);
    if (driver == "disk" || driver == "sndio" || driver == "dummy" || !mayAnswer(driver)) continue;
    if (std::find(order.begin(), order.end(), driver) == order.end()) order.push_back(driver);
  }
  return order;
}

// Called with deviceMutex_ held, as are the functions down to closeDevice.
bool SdlSoundLayer::ensureOpen() { return deviceOpen_ || openDevice(/*lastResortAllowed=*/true, lastError_); }

// Tries the drivers in order, always from the first, so that the chosen one
// is used again as soon as it works; "dummy" last, when allowed.
bool SdlSoundLayer::openDevice(bool lastResortAllowed, std::string& error) {
  std::string failures;
  const auto opens = [&](const std::string& driver) {
    if (openWith(driver)) return true;
    failures += (failures.empty() ? "" : "; ") + driver + ": " + sdl_->SDL_GetError();
    return false;
  };
  const std::vector<std::string> order = driverOrder();
  const auto real = std::find_if(order.begin(), order.end(), opens);
  const bool lastResort = real == order.end() && lastResortAllowed && opens("dummy");
  if (real == order.end() && !lastResort) {
    error = "no audio driver could be opened (" + failures + ")";
    return false;
  }
  deviceOpen_ = true;
  openedDriver_ = lastResort ? "dummy" : *real;
  onLastResort_ = lastResort;
  // SDL_mixer keeps its device's id to itself; it is the one device this
  // process opens, and SDL_mixer starts it at once.
  deviceId_ = 0;
  for (SDL_AudioDeviceID id = 1; id <= 16 && !deviceId_; ++id)
    if (sdl_->SDL_GetAudioDeviceStatus(id) != SDL_AUDIO_STOPPED) deviceId_ = id;
  mixer_->Mix_ChannelFinished(channelEnded);
  markIdle();  // nothing plays yet
  return true;
}

bool SdlSoundLayer::openWith(const std::string& driver) {
  // SDL would otherwise turn SIGINT and SIGTERM into quit events that this
  // program never reads, and the program could no longer be stopped.
  sdl_->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  sdl_->SDL_SetHint(SDL_HINT_APP_NAME, kMixerName);
  sdl_->SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, kMixerName);
  quietAlsa();
  // The override beats SDL_AUDIODRIVER from the environment for this attempt;
  // resetting it afterwards restores the environment's value.
  sdl_->SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, driver.c_str(), SDL_HINT_OVERRIDE);
  const bool started = sdl_->SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  sdl_->SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  if (!started) return false;
  // No format changes allowed: SDL converts to exactly this format, so loaded
  // samples suit whichever device is opened later.
  if (mixer_->Mix_OpenAudioDevice(mixrate_, AUDIO_S16SYS, 2, kBufferFrames, nullptr, 0) != 0) {
    sdl_->SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  mixer_->Mix_AllocateChannels(channels_);
  return true;
}

void SdlSoundLayer::closeDevice() {
  mixer_->Mix_CloseAudio();
  sdl_->SDL_QuitSubSystem(SDL_INIT_AUDIO);
  deviceOpen_ = false;
  onLastResort_ = false;
  deviceId_ = 0;
}

// SDL marks a device stopped when it finds it gone (its mixing thread then
// mixes into nothing); the mixer's device always plays otherwise.
bool SdlSoundLayer::deviceLost() const {
  return deviceId_ != 0 && sdl_->SDL_GetAudioDeviceStatus(deviceId_) == SDL_AUDIO_STOPPED;
}

// A device that rested is opened again here, as quickly as it opened before;
// the last resort is no device to play on, nor one that was lost.
bool SdlSoundLayer::playableDevice() {
  if (!deviceOpen_) return openDevice(/*lastResortAllowed=*/false, lastError_);
  return !onLastResort_ && !deviceLost();
}

// Runs on the mixing thread with the mixer locked, or inside a halt.
void SdlSoundLayer::channelEnded(int /*channel*/) {
  if (SdlSoundLayer* layer = mixerOwner) layer->markIdle();
}

void SdlSoundLayer::markIdle() {
  {
    std::lock_guard lock(restMutex_);
    idleSince_ = std::chrono::steady_clock::now();
  }
  restSignal_.notify_one();
}

void SdlSoundLayer::markWanted() {
  std::lock_guard lock(restMutex_);
  wantedUntil_ = std::chrono::steady_clock::now() + idleClose_;
}

// Hands the search for a real driver to the resting thread, which starts at once.
void SdlSoundLayer::recover() {
  {
    std::lock_guard lock(restMutex_);
    recovering_ = true;
    nextRetry_ = std::chrono::steady_clock::now();
  }
  restSignal_.notify_one();
}

bool SdlSoundLayer::reopenRealDevice() {
  std::lock_guard lock(deviceMutex_);
  if (deviceOpen_ && !onLastResort_ && !deviceLost()) return true;  // opened meanwhile
  if (deviceOpen_) closeDevice();
  std::string failures;  // not lastError_, which belongs to the caller's thread
  return openDevice(/*lastResortAllowed=*/false, failures);
}

// The resting thread: asleep without a timeout until a channel ends or a
// device must be found.
void SdlSoundLayer::keepDevice() {
  std::unique_lock lock(restMutex_);
  while (!stopRest_) {
    const auto now = std::chrono::steady_clock::now();
    if (recovering_) {
      if (now >= wantedUntil_) {
        recovering_ = false;  // silent now: the next play opens a device itself
      } else if (now >= nextRetry_) {
        lock.unlock();
        const bool reopened = reopenRealDevice();
        lock.lock();
        nextRetry_ = std::chrono::steady_clock::now() + kRetryInterval;
        if (reopened) recovering_ = false;
      } else {
        restSignal_.wait_until(lock, std::min(nextRetry_, wantedUntil_));
      }
      continue;
    }
    if (!idleSince_) {
      restSignal_.wait(lock);
      continue;
    }
    const auto due = *idleSince_ + idleClose_;
    if (now < due) {
      restSignal_.wait_until(lock, due);
      continue;
    }
    idleSince_.reset();
    lock.unlock();
    closeIfStillIdle();
    lock.lock();
  }
}

void SdlSoundLayer::closeIfStillIdle() {
  std::lock_guard lock(deviceMutex_);
  if (deviceOpen_ && mixer_->Mix_Playing(-1) == 0) closeDevice();
}

void SdlSoundLayer::stopResting() {
  if (!rester_.joinable()) return;
  {
    std::lock_guard lock(restMutex_);
    stopRest_ = true;
    recovering_ = false;
    idleSince_.reset();
  }
  restSignal_.notify_one();
  rester_.join();
}

}  // namespace zarvik
