// The handheld's sound effects through the real SDL sound layer, heard on
// SDL's disk driver: the handheld's game runs in virtual time, and the test
// lets real time pass wherever it listens to the mix.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

#include "disk_capture.h"
#include "follower.h"
#include "handheld.h"
#include "headless.h"
#include "sdl_sound_layer.h"
#include "virtual_time.h"

using namespace soundtest;
using namespace zarvik;
namespace fs = std::filesystem;

namespace {

// The real layer, remembering which samples the handheld asked to play.
class ListenedSoundLayer : public SdlSoundLayer {
 public:
  int FSOUND_PlaySound(int channel, int sample) override {
    requested.push_back(sample);
    return SdlSoundLayer::FSOUND_PlaySound(channel, sample);
  }
  std::vector<int> requested;
};

// Runs the test inside a folder holding copies of the skin's samples, as a
// user's installation would be, less the ones named.
class InstalledSamples {
 public:
  explicit InstalledSamples(std::initializer_list<const char*> missing) {
    fs::create_directory(dir_.path() / "Sound");
    for (const auto& entry : fs::directory_iterator(SKIN_SOUND_DIR)) {
      const std::string name = entry.path().filename().string();
      if (std::find(missing.begin(), missing.end(), name) == missing.end())
        fs::copy_file(entry.path(), dir_.path() / "Sound" / name);
    }
    previous_ = fs::current_path();
    fs::current_path(dir_.path());
  }
  ~InstalledSamples() { fs::current_path(previous_); }
  const TempFolder& dir() const { return dir_; }

 private:
  TempFolder dir_;
  fs::path previous_;
};

// The mono samples of a WAV file written by our generator (44-byte header).
std::vector<int16_t> wavSamples(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<int16_t> samples((bytes.size() - 44) / 2);
  std::memcpy(samples.data(), bytes.data() + 44, samples.size() * 2);
  return samples;
}

// The left channel from frame `from` on, without silence at either end.
std::vector<int16_t> heardSince(const Capture& c, size_t from) {
  std::vector<int16_t> left;
  for (size_t f = from; f < c.frames(); ++f) left.push_back(c.samples[2 * f]);
  while (!left.empty() && left.back() == 0) left.pop_back();
  const auto first = std::find_if(left.begin(), left.end(), [](int16_t s) { return s != 0; });
  return {first, left.end()};
}

std::vector<int16_t> trimmed(std::vector<int16_t> s) {
  while (!s.empty() && s.back() == 0) s.pop_back();
  const auto first = std::find_if(s.begin(), s.end(), [](int16_t v) { return v != 0; });
  return {first, s.end()};
}

class HandheldSoundTest : public ::testing::Test {
 protected:
  explicit HandheldSoundTest(std::initializer_list<const char*> missing = {})
      : installed(missing), disk(installed.dir()) {
    clock.set({2026, 3, 1, 13, 7, 0});
  }

  // The splash's play action with a driver chosen.
  void openSound() {
    ASSERT_TRUE(sound.FSOUND_Init(22050, 64, 0)) << sound.lastError();
    sound.FSOUND_SetOutput(zarvik::kOutputDesktopServer);
    hh.SoundEnabled = true;
  }

  void startGameA() {
    hh.Mode = ModeAllSegments;
    hh.Gam_Set_Mode();
    hh.Inp_time_down(), hh.Inp_time_up();
    hh.Inp_game_a_down(), hh.Inp_game_a_up();
    scheduler.advance(1800);
    ASSERT_EQ(hh.Mode, ModeGameAPlay);
  }

  void follow() { soundtest::follow(hh); }

  // Plays on with the follower until the next tick is sure to catch.
  void playUntilACatchIsDue() {
    for (int ms = 0; ms < 120000; ++ms) {
      follow();
      if (hh.Timer_Game.enabled() && hh.ItemLanes[hh.HeroPos - 1][4] == 1) return;
      scheduler.advance(1);
    }
    FAIL() << "no catch came within two minutes of play";
  }

  // Waits until the mix has been silent for a while and returns its length.
  size_t quietMix() {
    EXPECT_TRUE(waitForCapture(disk.file(), [](const Capture& c) {
      return c.trailingSilence() >= size_t(framesOf(150));
    }));
    return disk.capture().frames();
  }

  InstalledSamples installed;
  DiskAudio disk;
  VirtualScheduler scheduler;
  VirtualClock clock{scheduler};
  SeededRandom random{7};
  ListenedSoundLayer sound;
  MemorySettings settings;
  Handheld hh{scheduler, clock, random, sound, settings};
};

TEST_F(HandheldSoundTest, EverySampleOfTheSkinLoadsAndTheReleaseClosesTheLibrary) {
  openSound();
  EXPECT_TRUE(hh.Snd_Load()) << sound.lastError();
  const std::set<int> handles{hh.SoundGameover, hh.SoundGot, hh.SoundMiss, hh.SoundMove,
                              hh.SoundStart};
  EXPECT_EQ(handles.size(), 5u);
  EXPECT_FALSE(handles.count(0));

  hh.Snd_Release();
  EXPECT_EQ(sound.driverName(), "");
  EXPECT_EQ(hh.SoundGot, 0);
  hh.Snd_Release();  // a second close is harmless too
}

TEST_F(HandheldSoundTest, TheStartJingleIsHeardWhenAGameIsChosen) {
  openSound();
  ASSERT_TRUE(hh.Snd_Load());
  const size_t before = quietMix();
  startGameA();
  ASSERT_TRUE(waitForCapture(disk.file(), [&](const Capture& c) {
    return c.firstSound() < c.frames() && c.trailingSilence() >= size_t(framesOf(100));
  }));
  EXPECT_EQ(heardSince(disk.capture(), before), trimmed(wavSamples("Sound/Start.wav")));
}

class HandheldWithoutGameoverTest : public HandheldSoundTest {
 protected:
  HandheldWithoutGameoverTest() : HandheldSoundTest({"Gameover.wav"}) {}
};

TEST_F(HandheldWithoutGameoverTest, LoadReportsTheFailure) {
  openSound();
  EXPECT_FALSE(hh.Snd_Load());
  EXPECT_EQ(hh.SoundGameover, 0);
  EXPECT_NE(sound.lastError().find("Gameover.wav"), std::string::npos) << sound.lastError();
  // The failure is the missing file, not the sound device: the others loaded.
  EXPECT_NE(hh.SoundGot, 0);
  EXPECT_NE(hh.SoundStart, 0);
  hh.Snd_Release();
}

class HandheldWithoutGotTest : public HandheldSoundTest {
 protected:
  HandheldWithoutGotTest() : HandheldSoundTest({"Got.wav"}) {}
};

TEST_F(HandheldWithoutGotTest, GameRunsSilentAtCatchesWhileStepsSound) {
  openSound();
  ASSERT_TRUE(hh.Snd_Load());
  ASSERT_EQ(hh.SoundGot, 0);
  startGameA();

  // A catch: the score goes up and the mix stays silent.
  playUntilACatchIsDue();
  const size_t beforeCatch = quietMix();
  const int score = hh.Score;
  while (hh.Score == score) scheduler.advance(1);
  EXPECT_EQ(hh.MissCount, 0);
  ASSERT_FALSE(sound.requested.empty());
  EXPECT_EQ(sound.requested.back(), 0) << "the catch asked for the missing sample";
  ASSERT_TRUE(disk.waitForMore(beforeCatch, 300));
  EXPECT_EQ(disk.capture().peak(beforeCatch), 0) << "something sounded at the catch";

  // The next step that asks for the step sound is heard, exactly.
  const size_t beforeStep = quietMix();
  const auto askedForStep = [&] {
    return std::find(sound.requested.begin(), sound.requested.end(), hh.SoundMove) !=
           sound.requested.end();
  };
  sound.requested.clear();
  for (int ms = 0; ms < 60000 && !askedForStep(); ++ms) {
    follow();
    scheduler.advance(1);
  }
  ASSERT_TRUE(askedForStep());
  ASSERT_TRUE(waitForCapture(disk.file(), [&](const Capture& c) {
    return c.peak(beforeStep) > 0 && c.trailingSilence() >= size_t(framesOf(100));
  }));
  EXPECT_EQ(heardSince(disk.capture(), beforeStep), trimmed(wavSamples("Sound/Move.wav")));

  // The game plays on to 30 points and ends after five misses once the
  // player stops following, with the game-over jingle.
  while (hh.Score < 30 && scheduler.now() < 3600000) {
    follow();
    scheduler.advance(5);
  }
  EXPECT_EQ(hh.Score, 30);
  EXPECT_EQ(hh.MissCount, 0);
  scheduler.advance(600000);
  EXPECT_EQ(hh.Mode, ModeTime1);
  EXPECT_EQ(settings.values["HiScore1"], hh.Score);
  EXPECT_NE(std::find(sound.requested.begin(), sound.requested.end(), hh.SoundGameover),
            sound.requested.end());
  hh.Snd_Release();
}

}  // namespace
