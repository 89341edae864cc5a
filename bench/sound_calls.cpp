// The cost of the sound layer's play call on the game's thread: on an open
// device, and while no real device is open (the play is dropped); and the
// process's CPU time over a second of a game's plays without a device, while
// the layer looks for one twice a second. SDL's silent driver stands in for
// a sound card. Run by hand; figures in bench/README.md.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "sdl_sound_layer.h"

using namespace zarvik;

namespace {

// A 50 ms mono tone at 22050 Hz in a temporary WAV file.
std::string toneFile() {
  const auto path = std::filesystem::temp_directory_path() / "zarvik-bench-tone.wav";
  const std::vector<int16_t> samples(1102, 3000);
  auto le = [](std::ofstream& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(char(v >> (8 * i) & 0xff));
  };
  std::ofstream out(path, std::ios::binary);
  out << "RIFF";
  le(out, uint32_t(36 + samples.size() * 2), 4);
  out << "WAVEfmt ";
  le(out, 16, 4), le(out, 1, 2), le(out, 1, 2), le(out, 22050, 4), le(out, 44100, 4), le(out, 2, 2), le(out, 16, 2);
  out << "data";
  le(out, uint32_t(samples.size() * 2), 4);
  for (int16_t s : samples) le(out, uint16_t(s), 2);
  return path.string();
}

// Plays on one channel again and again, as the game's ticks do.
void playOnOpenDevice(benchmark::State& state) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);  // chosen, so a device to play on
  SdlSoundLayer sound;
  sound.FSOUND_Init(22050, 64, 0);
  const int tone = sound.FSOUND_Sample_Load(-1, toneFile().c_str(), FSOUND_2D, 0, 0);
  for (auto _ : state) benchmark::DoNotOptimize(sound.FSOUND_PlaySound(0, tone));
  if (sound.FSOUND_PlaySound(0, tone) < 0) state.SkipWithError("the play failed");
}

// No driver but the last resort opens (the chosen disk driver cannot write
// its file, no sound server answers): plays are dropped while the layer
// looks for a real driver on its own thread.
template <typename Play>
void withoutADevice(Play play) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", "/nonexistent/folder/mix.raw", 1);
  setenv("PULSE_SERVER", "unix:/nonexistent/folder/native", 1);
  {
    SdlSoundLayer sound;
    sound.FSOUND_Init(22050, 64, 0);
    const int tone = sound.FSOUND_Sample_Load(-1, toneFile().c_str(), FSOUND_2D, 0, 0);
    sound.FSOUND_PlaySound(0, tone);  // starts the search
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    play(sound, tone);
  }
  unsetenv("SDL_DISKAUDIOFILE");  // once the layer has stopped looking
  unsetenv("PULSE_SERVER");
}

void playWithoutADevice(benchmark::State& state) {
  withoutADevice([&](SdlSoundLayer& sound, int tone) {
    for (auto _ : state) benchmark::DoNotOptimize(sound.FSOUND_PlaySound(0, tone));
  });
}

// A second of game ticks (one play every 185 ms) without a device.
void gameSecondWithoutADevice(benchmark::State& state) {
  withoutADevice([&](SdlSoundLayer& sound, int tone) {
    for (auto _ : state) {
      const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
      while (std::chrono::steady_clock::now() < end) {
        sound.FSOUND_PlaySound(0, tone);
        std::this_thread::sleep_for(std::chrono::milliseconds(185));
      }
    }
  });
}

}  // namespace

BENCHMARK(playOnOpenDevice);
BENCHMARK(playWithoutADevice);
BENCHMARK(gameSecondWithoutADevice)->Iterations(5)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
