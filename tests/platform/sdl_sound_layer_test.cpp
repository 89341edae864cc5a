// The SDL sound layer, heard through SDL's disk driver: what is played must
// reach the mix, what is not played must not, and every call the handheld
// may make on a missing sample or a closed library must be harmless.

#include "sdl_sound_layer.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "disk_capture.h"

using namespace soundtest;
using zarvik::SdlSoundLayer;
using zarvik::FSOUND_2D;

namespace {

class SoundLayerTest : public ::testing::Test {
 protected:
  int load(const std::string& name) {
    return sound.FSOUND_Sample_Load(-1, (dir.path() / name).c_str(), FSOUND_2D, 0, 0);
  }
  int loadTone(int ms, int16_t level) {
    writeWav(dir.path() / "tone.wav", flatTone(ms, level));
    return load("tone.wav");
  }
  // Waits until the mix shows a sound followed by `silenceMs` of silence.
  bool waitForSoundThenSilence(int silenceMs) {
    return waitForCapture(disk.file(), [&](const Capture& c) {
      return c.firstSound() < c.frames() && c.trailingSilence() >= size_t(framesOf(silenceMs));
    });
  }

  TempFolder dir;
  DiskAudio disk{dir};
  SdlSoundLayer sound;
};

TEST_F(SoundLayerTest, PlayedSampleReachesTheMixOnceAndExactly) {
  ASSERT_TRUE(sound.FSOUND_Init(22050, 64, 0)) << sound.lastError();
  const int tone = loadTone(300, 6000);
  ASSERT_NE(tone, 0) << sound.lastError();
  EXPECT_EQ(sound.driverName(), "disk");

  ASSERT_TRUE(disk.waitForMore(0, 150));
  const Capture before = disk.capture();
  EXPECT_EQ(before.nonSilentFrames(), 0u) << "the mix must be silent while nothing plays";

  EXPECT_GE(sound.FSOUND_PlaySound(-1, tone), 0);
  ASSERT_TRUE(waitForSoundThenSilence(150));
  const Capture after = disk.capture();
  EXPECT_GE(after.firstSound(), before.frames());
  EXPECT_EQ(after.nonSilentFrames(), size_t(framesOf(300)));
  EXPECT_EQ(after.peak(), 6000);
}

TEST_F(SoundLayerTest, OverlappingPlaysAreMixedTogether) {
  ASSERT_TRUE(sound.FSOUND_Init(22050, 64, 0));
  const int tone = loadTone(300, 5000);
  ASSERT_NE(tone, 0);
  const int first = sound.FSOUND_PlaySound(-1, tone);
  const int second = sound.FSOUND_PlaySound(-1, tone);
  EXPECT_GE(first, 0);
  EXPECT_GE(second, 0);
  EXPECT_NE(first, second);
  ASSERT_TRUE(waitForSoundThenSilence(100));
  EXPECT_EQ(disk.capture().peak(), 10000);
}

TEST_F(SoundLayerTest, SixtyFourChannelsPlayAtOnce) {
  ASSERT_TRUE(sound.FSOUND_Init(22050, 64, 0));
  const int tone = loadTone(2000, 100);
  ASSERT_NE(tone, 0);
  std::set<int> channels;
  for (int i = 0; i < 64; ++i) channels.insert(sound.FSOUND_PlaySound(-1, tone));
  EXPECT_EQ(channels.size(), 64u);
  EXPECT_EQ(*channels.begin(), 0);
  EXPECT_EQ(sound.FSOUND_PlaySound(-1, tone), -1) << "a 65th sound has no free channel";
}

TEST_F(SoundLayerTest, StopAllSilencesEveryChannel) {
  ASSERT_TRUE(sound.FSOUND_Init(22050, 64, 0));
  const int tone = loadTone(3000, 4000);
  ASSERT_NE(tone, 0);
  sound.FSOUND_PlaySound(-1, tone);
  sound.FSOUND_PlaySound(-1, tone);
  ASSERT_TRUE(waitForCapture(disk.file(), [](const Capture& c) { return c.peak() > 0; }));

  EXPECT_TRUE(sound.FSOUND_StopSound(zarvik::FSOUND_ALL));
  ASSERT_TRUE(waitForSoundThenSilence(200));
  EXPECT_LT(disk.capture().nonSilentFrames(), size_t(framesOf(2000)))
      << "the three-second sound must have been cut short";
}

TEST_F(SoundLayerTest, LoadReturnsZeroForFilesThatCannotBeSamples) {
  EXPECT_EQ(loadTone(100, 1000), 0) << "loading before FSOUND_Init";
  EXPECT_NE(sound.lastError().find("tone.wav"), std::string::npos) << sound.lastError();

  ASSERT_TRUE(sound.FSOUND_Init(22050, 64, 0));
  EXPECT_EQ(load("missing.wav"), 0);
  EXPECT_NE(sound.lastError().find("missing.wav"), std::string::npos) << sound.lastError();

  std::ofstream(dir.path() / "garbage.wav") << "These bytes are no sound at all, just text.\n";
  EXPECT_EQ(load("garbage.wav"), 0);
  std::ofstream(dir.path() / "empty.wav");
  EXPECT_EQ(load("empty.wav"), 0);
  std::filesystem::create_directory(dir.path() / "folder.wav");
  EXPECT_EQ(load("folder.wav"), 0);
  // Neither blocks (a FIFO without a writer) nor streams (an endless device).
  ASSERT_EQ(mkfifo((dir.path() / "fifo.wav").c_str(), 0600), 0);
  EXPECT_EQ(load("fifo.wav"), 0);
  EXPECT_NE(sound.lastError().find("fifo.wav: not a regular file"), std::string::npos) << sound.lastError();
  std::filesystem::create_symlink("/dev/zero", dir.path() / "zero.wav");
  EXPECT_EQ(load("zero.wav"), 0);

  writeWav(dir.path() / "good.wav", flatTone(50, 1000));
  EXPECT_EQ(sound.FSOUND_Sample_Load(-1, (dir.path() / "good.wav").c_str(), FSOUND_2D, 10, 0), 0)
      << "part of a file is not supported and must not pass for the whole";
  const int a = load("good.wav");
  const int b = load("good.wav");
  EXPECT_NE(a, 0);
  EXPECT_NE(b, 0);
  EXPECT_NE(a, b);
}

TEST_F(SoundLayerTest, ReleasingNothingOrTwiceIsHarmless) {
  sound.FSOUND_Sample_Free(0);
  sound.FSOUND_Sample_Free(42);
  EXPECT_FALSE(sound.FSOUND_StopSound(zarvik::FSOUND_ALL));
  EXPECT_EQ(sound.FSOUND_PlaySound(-1, 0), -1);
  sound.FSOUND_Close();
  sound.FSOUND_Close();

  ASSERT_TRUE(sound.FSOUND_Init(22050, 64, 0));
  const int tone = loadTone(200, 3000);
  ASSERT_NE(tone, 0);
  EXPECT_EQ(sound.FSOUND_PlaySound(-1, 0), -1);
  EXPECT_EQ(sound.FSOUND_PlaySound(-1, tone + 1), -1);
  sound.FSOUND_Sample_Free(tone);
  sound.FSOUND_Sample_Free(tone);
  EXPECT_EQ(sound.FSOUND_PlaySound(-1, tone), -1) << "a freed handle must not play";
  ASSERT_TRUE(disk.waitForMore(0, 200));
  EXPECT_EQ(disk.capture().nonSilentFrames(), 0u);

  sound.FSOUND_Close();
  sound.FSOUND_Close();
  EXPECT_EQ(sound.driverName(), "");
  EXPECT_EQ(loadTone(100, 1000), 0) << "loading after FSOUND_Close";

  // The layer can be opened again after closing.
  ASSERT_TRUE(sound.FSOUND_Init(22050, 64, 0));
  EXPECT_NE(loadTone(100, 1000), 0);
}

TEST_F(SoundLayerTest, SetOutputAfterInitKeepsLoadedSamples) {
  ASSERT_TRUE(sound.FSOUND_Init(22050, 64, 0));
  const int tone = loadTone(200, 2500);
  ASSERT_NE(tone, 0);
  EXPECT_TRUE(sound.FSOUND_SetOutput(zarvik::kOutputDesktopServer));
  EXPECT_EQ(sound.driverName(), "disk") << "SDL_AUDIODRIVER from the environment comes first";
  EXPECT_FALSE(sound.FSOUND_SetOutput(7));

  EXPECT_GE(sound.FSOUND_PlaySound(-1, tone), 0);
  ASSERT_TRUE(waitForSoundThenSilence(100));
  const Capture c = disk.capture();
  EXPECT_EQ(c.nonSilentFrames(), size_t(framesOf(200)));
  EXPECT_EQ(c.peak(), 2500);
}

// The text without the lines that the machine's sound stack prints itself
// as SDL tries its drivers: PipeWire's client without its configuration
// ("[W][06449.840626] pw.conf | ..."), PulseAudio's ("E: [pulseaudio] ..."),
// ALSA's ("ALSA lib pcm.c:...").
std::string withoutSoundStackLines(const std::string& text) {
  static const std::regex stackLine(R"(^(\[[TDIWE]\]\[[0-9.]+\] |[TDIWE]: \[|ALSA lib ))");
  std::istringstream lines(text);
  std::string rest, line;
  while (std::getline(lines, line))
    if (!std::regex_search(line, stackLine)) rest += line + "\n";
  return rest;
}

TEST_F(SoundLayerTest, UnusableDeviceFallsBackAndSamplesStillLoad) {
  // The disk driver cannot create its file here, as a sound card may fail to
  // open: the layer must settle on another driver, "dummy" at worst.
  // On a machine without a sound card ALSA fails on the way, and neither the
  // layer nor SDL says anything on the terminal, whatever sound stack the
  // machine has.
  ScopedEnv unwritable("SDL_DISKAUDIOFILE", (dir.path() / "no" / "such" / "folder").string());
  // No sound server answers: one that runs on the machine has nothing to do
  // with the layer's fall-back, and PipeWire without a session manager never
  // answers an open at all.
  ScopedEnv noServer("XDG_RUNTIME_DIR", (dir.path() / "runtime").string());
  testing::internal::CaptureStderr();
  ASSERT_TRUE(sound.FSOUND_Init(22050, 64, 0)) << sound.lastError();
  EXPECT_TRUE(sound.FSOUND_SetOutput(zarvik::kOutputAlsa)) << sound.lastError();
  EXPECT_NE(sound.driverName(), "disk");
  EXPECT_NE(sound.driverName(), "");
  EXPECT_EQ(withoutSoundStackLines(testing::internal::GetCapturedStderr()), "");
  const int tone = loadTone(50, 1000);
  EXPECT_NE(tone, 0) << sound.lastError();
  if (sound.driverName() == "dummy") {
    EXPECT_EQ(sound.FSOUND_PlaySound(-1, tone), -1) << "no device to play on: the sound is dropped";
  }
}

// Only the last resort opened: plays are dropped, not kept, and once the
// chosen driver works again a run of plays reaches it within a retry or two.
TEST_F(SoundLayerTest, NoRealDeviceDropsPlaysUntilTheChosenDriverWorksAgain) {
  const std::filesystem::path later = dir.path() / "later";
  ScopedEnv notYet("SDL_DISKAUDIOFILE", (later / "mix.raw").string());
  ScopedEnv noServer("PULSE_SERVER", "unix:" + (dir.path() / "no-server").string());
  ScopedEnv noPipewire("XDG_RUNTIME_DIR", dir.path().string());
  std::ofstream(dir.path() / "asound.conf");
  ScopedEnv noAlsa("ALSA_CONFIG_PATH", (dir.path() / "asound.conf").string());
  ASSERT_TRUE(sound.FSOUND_Init(22050, 64, 0));
  const int tone = loadTone(100, 1500);
  ASSERT_NE(tone, 0) << sound.lastError();
  ASSERT_EQ(sound.driverName(), "dummy");
  EXPECT_EQ(sound.FSOUND_PlaySound(-1, tone), -1);

  std::filesystem::create_directory(later);
  const auto back = std::chrono::steady_clock::now();
  int channel = -1;
  while (channel < 0 && std::chrono::steady_clock::now() - back < std::chrono::seconds(5)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // a game's ticks
    channel = sound.FSOUND_PlaySound(-1, tone);
  }
  EXPECT_LT(std::chrono::steady_clock::now() - back, 2 * SdlSoundLayer::kRetryInterval);
  ASSERT_GE(channel, 0) << "the disk driver was never tried again";
  EXPECT_EQ(sound.driverName(), "disk");
  ASSERT_TRUE(waitForCapture(later / "mix.raw", [](const Capture& c) {
    return c.firstSound() < c.frames() && c.trailingSilence() >= size_t(framesOf(100));
  }));
  EXPECT_EQ(readCapture(later / "mix.raw").nonSilentFrames(), size_t(framesOf(100)))
      << "only the play made on the real device may sound";
}

// Init alone opens nothing; after a silence the device rests, and the next
// play opens it again in time for the whole sound, every time.
TEST_F(SoundLayerTest, TheDeviceRestsWhileSilentAndWakesForTheWholeNextSound) {
  SdlSoundLayer resting(std::chrono::milliseconds(100));
  ASSERT_TRUE(resting.FSOUND_Init(22050, 64, 0));
  EXPECT_FALSE(resting.deviceOpen());
  writeWav(dir.path() / "tone.wav", flatTone(200, 3000));
  const int tone =
      resting.FSOUND_Sample_Load(-1, (dir.path() / "tone.wav").c_str(), FSOUND_2D, 0, 0);
  ASSERT_NE(tone, 0) << resting.lastError();
  for (int round = 0; round < 2; ++round) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (resting.deviceOpen() && std::chrono::steady_clock::now() < giveUp)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_FALSE(resting.deviceOpen()) << "the device did not rest in round " << round;
    EXPECT_EQ(resting.driverName(), "disk");
    EXPECT_GE(resting.FSOUND_PlaySound(-1, tone), 0);
    ASSERT_TRUE(waitForSoundThenSilence(50));
    EXPECT_EQ(disk.capture().nonSilentFrames(), size_t(framesOf(200))) << "round " << round;
  }
}

TEST_F(SoundLayerTest, OpeningLeavesTheProgramsSignalHandlingAlone) {
  struct sigaction termBefore {}, intBefore {}, termAfter {}, intAfter {};
  sigaction(SIGTERM, nullptr, &termBefore);
  sigaction(SIGINT, nullptr, &intBefore);
  ASSERT_TRUE(sound.FSOUND_Init(22050, 64, 0));
  ASSERT_TRUE(sound.FSOUND_SetOutput(zarvik::kOutputAlsa));  // opens the device
  sigaction(SIGTERM, nullptr, &termAfter);
  sigaction(SIGINT, nullptr, &intAfter);
  EXPECT_EQ(termAfter.sa_handler, termBefore.sa_handler);
  EXPECT_EQ(intAfter.sa_handler, intBefore.sa_handler);
}

TEST_F(SoundLayerTest, OnlyOneLayerHoldsTheMixer) {
  ASSERT_TRUE(sound.FSOUND_Init(22050, 64, 0));
  SdlSoundLayer other;
  EXPECT_FALSE(other.FSOUND_Init(22050, 64, 0));
  other.FSOUND_Close();  // must not close the first layer's mixer
  EXPECT_NE(loadTone(50, 1000), 0);
  EXPECT_EQ(sound.driverName(), "disk");
}

}  // namespace
