// Sessions on virtual time paced by a late real clock, written down as
// zarvik-sim scripts and replayed headless.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "game_recorder.h"
#include "headless.h"
#include "sim_script.h"

namespace zarvik::test {

namespace {

// Real timers on a real clock the test moves; each event is delivered late
// by what `lateness` gives when it is armed.
struct LateTimers : TimerBackend {
  VirtualScheduler real;
  std::function<int()> lateness = [] { return 0; };
  void arm(Timer& timer, int ms) override { real.arm(timer, ms + lateness()); }
  void disarm(Timer& timer) override { real.disarm(timer); }
  std::function<int64_t()> clock() {
    return [this] { return real.now(); };
  }
};

struct StringSink : LineSink {
  std::string text;
  bool write(std::string_view lines) override {
    text += lines;
    return true;
  }
};

struct FixedClock : Clock {
  LocalDateTime now() const override { return {2026, 6, 15, 8, 30, 0}; }
};

}  // namespace

TEST(PacedScheduler, EventsKeepTheirVirtualMomentsHoweverLateTheyAreDelivered) {
  // lateness of each delivery, and the real moments of the four events
  const std::vector<std::pair<int, std::vector<int64_t>>> cases = {
      {0, {250, 500, 750, 1000}},
      {45, {295, 545, 795, 1045}},    // made up: the next event is not later for it
      {1000, {1250, 2500, 3750}},    // too late: time moves, no burst of missed events
  };
  for (const auto& [late, realMoments] : cases) {
    LateTimers real;
    real.lateness = [late = late] { return late; };
    PacedScheduler paced(real, real.clock());
    std::vector<int64_t> virtualSeen, realSeen;
    Timer tick(paced, [&] {
      virtualSeen.push_back(paced.now());
      realSeen.push_back(real.real.now());
    });
    tick.setInterval(250);
    tick.setEnabled(true);
    real.real.advance(realMoments.back());
    const std::vector<int64_t> expected = {250, 500, 750, 1000};
    EXPECT_EQ(virtualSeen, std::vector<int64_t>(expected.begin(), expected.begin() + realMoments.size()))
        << "late " << late;
    EXPECT_EQ(realSeen, realMoments) << "late " << late;
  }
}

TEST(PacedScheduler, APressFallsBeforeAnEventNotYetDeliveredAndLimitsStopTime) {
  LateTimers real;
  real.lateness = [] { return 30; };
  PacedScheduler paced(real, real.clock(), 40);
  std::string log;
  Timer tick(paced, [&] { log += "e" + std::to_string(paced.now()) + " "; });
  tick.setInterval(250);
  tick.setEnabled(true);  // due at 290, delivered at real 280
  // real moment of a press, and its virtual moment
  for (const auto& [at, moment] : std::vector<std::pair<int64_t, int64_t>>{{100, 140}, {260, 289}, {300, 340}}) {
    real.real.advance(at - real.real.now());
    EXPECT_EQ(paced.catchUp(), moment) << "a press at real " << at;
  }
  EXPECT_EQ(log, "e290 ");
  // A limit at an event's moment stops after that event.
  paced.stopAt(540, [&] {
    log += "r" + std::to_string(paced.now()) + " ";
    paced.stopAt(600, [&] { log += "r" + std::to_string(paced.now()) + " "; });
  });
  real.real.advance(700);
  EXPECT_EQ(log, "e290 e540 r540 r600 e790 ");
}

// A player pressing at random while the real timers are late at random; the
// script replayed by the headless handheld shows what the session showed,
// show by show, and ends with its high scores.
TEST(GameRecorder, RandomSessionsReplayShowByShow) {
  for (const uint32_t seed : {1u, 7u, 2026u}) {
    std::mt19937 player(seed);
    auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(player); };
    LateTimers real;
    real.lateness = [&] { return between(0, 20) == 0 ? 400 : between(0, 25); };
    PacedScheduler paced(real, real.clock(), 613);
    FixedClock clock;
    SeededRandom random(seed);
    RecordingSoundLayer sound;
    MemorySettings settings;
    Handheld hh(paced, clock, random, sound, settings);
    hh.HiScoreB = 3;
    StringSink sink;
    GameRecorder recorder(hh, paced, sink, {seed, clock.now(), hh.HiScoreA, hh.HiScoreB});
    hh.Mode = ModeAllSegments;
    hh.Gam_Set_Mode();
    hh.Inp_time_down();
    hh.Inp_time_up();

    int best = 0;
    for (int game = 0; game < 4; ++game) {
      real.real.advance(between(100, 3000));
      auto down = game % 2 ? &Handheld::Inp_game_b_down : &Handheld::Inp_game_a_down;
      auto up = game % 2 ? &Handheld::Inp_game_b_up : &Handheld::Inp_game_a_up;
      (hh.*down)();
      real.real.advance(between(0, 2500));  // held past the start delay, or not
      (hh.*up)();
      if (game == 2) hh.HiScoreA = hh.HiScoreB = 0;  // Reset Hiscores from the menu
      while (hh.Mode != ModeGameOver) {
        const bool left = between(0, 1);
        (hh.*(left ? &Handheld::Inp_left_down : &Handheld::Inp_right_down))();
        if (between(0, 3) == 0) (hh.*(left ? &Handheld::Inp_left_down : &Handheld::Inp_right_down))();  // repeat
        real.real.advance(between(0, 150));
        if (between(0, 4) == 0) hh.Inp_time_down();  // shares the latch: ignored, or moves nothing
        (hh.*(left ? &Handheld::Inp_left_up : &Handheld::Inp_right_up))();
        real.real.advance(between(20, 500));
        best = std::max(best, hh.Score);
        hh.Inp_time_up();
      }
    }
    real.real.advance(between(0, 40000));
    recorder.finish();

    std::istringstream script(sink.text);
    std::string line;
    std::getline(script, line);
    ASSERT_EQ(line.rfind("# zarvik-sim ", 0), 0u) << line;
    ScriptOptions options;
    ASSERT_EQ(readScriptOptions(splitWords(line.substr(13)), options), "");
    HeadlessHandheld sim(*options.now, *options.seed);
    sim.handheld.HiScoreA = options.hiScoreA;
    sim.handheld.HiScoreB = options.hiScoreB;
    sim.handheld.Mode = ModeAllSegments;
    sim.handheld.Gam_Set_Mode();
    std::vector<std::string> recorded, replayed;
    int repeats = 0;
    for (int number = 2; std::getline(script, line); ++number) {
      if (line.rfind("# t=", 0) == 0) recorded.push_back(line.substr(2));
      ScriptStep step;
      ASSERT_EQ(readScriptLine(line, step), "") << "line " << number << ": " << line;
      if (step.kind == ScriptStep::Down) repeats += sim.handheld.panel[btn_left_down].visible && step.button == 4;
      if (step.kind == ScriptStep::Down || step.kind == ScriptStep::Up) sim.press(step.button, step.kind == ScriptStep::Down);
      if (step.kind == ScriptStep::Wait) sim.wait(step.ms);
      if (step.kind == ScriptStep::Show) replayed.push_back(statusLine(sim.handheld, sim.scheduler.now()));
      if (step.kind == ScriptStep::HiScores) {
        sim.handheld.HiScoreA = step.hiScoreA;
        sim.handheld.HiScoreB = step.hiScoreB;
      }
    }
    EXPECT_GT(best, 0) << "seed " << seed << ": the player caught nothing";
    EXPECT_GT(recorded.size(), 25u) << "seed " << seed;
    EXPECT_EQ(replayed, recorded) << "seed " << seed;
    EXPECT_EQ(recorded.back(), statusLine(hh, paced.now()));
    EXPECT_EQ(sim.settings.values, settings.values) << "the same high scores stored";
    EXPECT_NE(sink.text.find("\nhiscores 0 0\n"), std::string::npos);
    EXPECT_EQ(repeats, 0) << "a held key's repeated presses are left out";
  }
}

}  // namespace zarvik::test
