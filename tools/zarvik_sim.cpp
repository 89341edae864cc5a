// zarvik-sim: plays the handheld headless in virtual time from a script read
// on standard input and prints its display. Its output format is relied on by
// tests and tools: keep it stable.

#include <chrono>
#include <iostream>
#include <string>
#include <vector>

#include "game_recorder.h"
#include "headless.h"
#include "sim_script.h"
#include "system_clock.h"

using namespace zarvik;

namespace {

const char kUsage[] =
    "usage: zarvik-sim [--seed N] [--now YYYY-MM-DDTHH:MM:SS] [--hiscore-a N] [--hiscore-b N]\n"
    "Commands on standard input, one a line:\n"
    "  down BUTTON | up BUTTON   BUTTON is game_a, game_b, time, left or right\n"
    "  wait MS                   advance virtual time, firing every due timer event\n"
    "  now YYYY-MM-DDTHH:MM:SS   set the local clock from this moment on\n"
    "  hiscores A B              set the high scores (as the menu's Reset Hiscores does)\n"
    "  show                      print the state\n";

struct Failure {
  std::string what;
};

void check(const std::string& error) {
  if (!error.empty()) throw Failure{error};
}

std::string joined(const std::vector<std::string>& items) {
  if (items.empty()) return "-";
  std::string s;
  for (const auto& item : items) s += (s.empty() ? "" : ",") + item;
  return s;
}

void show(HeadlessHandheld& sim) {
  const Handheld& hh = sim.handheld;
  std::string digits;
  for (int k = 1; k <= 4; ++k) {
    const int d = sim.digitShown(k);
    digits += d == kBlank ? '_' : char('0' + d);
  }
  std::string lit;
  for (std::string_view name : sim.litNames()) (lit += lit.empty() ? "" : " ") += name;
  std::cout << statusLine(hh, sim.scheduler.now()) << "\n"
            << "digits=" << digits << "\n"
            << "lit=" << (lit.empty() ? "-" : lit) << "\n"
            << "sounds=" << joined(sim.sound.played) << "\n"
            << "store=" << joined(sim.settings.writes) << std::endl;  // flushed for pipes
  sim.sound.played.clear();
  sim.settings.writes.clear();
}

void run(HeadlessHandheld& sim, const std::string& line) {
  ScriptStep step;
  check(readScriptLine(line, step));
  Handheld& hh = sim.handheld;
  switch (step.kind) {
    case ScriptStep::Down:
    case ScriptStep::Up: sim.press(step.button, step.kind == ScriptStep::Down); break;
    case ScriptStep::Wait:
      if (step.ms > kMaxVirtualTime - sim.scheduler.now())
        throw Failure{"wait " + std::to_string(step.ms) + " would take virtual time past " +
                      std::to_string(kMaxVirtualTime) + " ms"};
      sim.wait(step.ms);
      break;
    case ScriptStep::Now: sim.clock.set(step.time); break;
    case ScriptStep::Show: show(sim); break;
    case ScriptStep::HiScores: hh.setHighScores(step.hiScoreA, step.hiScoreB); break;
    case ScriptStep::Nothing: break;
  }
}

}  // namespace

int main(int argc, char** argv) {
  ScriptOptions options;
  try {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    for (const std::string& argument : arguments)
      if (argument == "--help" || argument == "-h") {
        std::cout << kUsage;
        return 0;
      }
    check(readScriptOptions(arguments, options));
  } catch (const Failure& failure) {
    std::cerr << "error: " << failure.what << "\n" << kUsage;
    return 2;
  }
  const LocalDateTime start = options.now.value_or(SystemClock().now());
  const uint32_t seed =
      options.seed.value_or(uint32_t(std::chrono::high_resolution_clock::now().time_since_epoch().count()));

  HeadlessHandheld sim(start, seed);
  sim.handheld.HiScoreA = options.hiScoreA;
  sim.handheld.HiScoreB = options.hiScoreB;
  sim.handheld.Mode = ModeAllSegments;
  sim.handheld.Gam_Set_Mode();

  std::string line;
  for (int lineNumber = 1; std::getline(std::cin, line); ++lineNumber) {
    try {
      run(sim, line);
    } catch (const Failure& failure) {
      std::cerr << "error: line " << lineNumber << ": " << failure.what << std::endl;
      return 2;
    }
    if (!std::cout) {
      std::cerr << "error: line " << lineNumber << ": cannot write to standard output" << std::endl;
      return 1;
    }
  }
  return 0;
}
