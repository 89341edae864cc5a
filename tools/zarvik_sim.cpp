// zarvik-sim: plays the handheld headless in virtual time from a script read
// on standard input and prints its display. Its output format is relied on by
// tests and tools: keep it stable.

#include <chrono>
#include <cstdio>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>

#include "buttons.h"
#include "headless.h"
#include "integer_text.h"
#include "system_clock.h"

using namespace zarvik;

namespace {

const char kUsage[] =
    "usage: zarvik-sim [--seed N] [--now YYYY-MM-DDTHH:MM:SS] [--hiscore-a N] [--hiscore-b N]\n"
    "Commands on standard input, one a line:\n"
    "  down BUTTON | up BUTTON   BUTTON is game_a, game_b, time, left or right\n"
    "  wait MS                   advance virtual time, firing every due timer event\n"
    "  now YYYY-MM-DDTHH:MM:SS   set the local clock from this moment on\n"
    "  show                      print the state\n";

struct Failure {
  std::string what;
};

// Virtual time ends here (about 31 years), far from overflowing its counter
// and the calendar, however many waits a script holds.
constexpr long long kMaxVirtualTime = 1'000'000'000'000LL;

long long number(const std::string& text, const char* what, long long min, long long max) {
  const auto value = parseDecimal(text);
  if (!value || *value < min || *value > max)
    throw Failure{std::string("bad ") + what + " '" + text + "'"};
  return *value;
}

std::optional<LocalDateTime> parseDateTime(const std::string& text) {
  LocalDateTime t;
  char tail = 0;
  if (text.size() != 19 || std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &t.year, &t.month,
                                       &t.day, &t.hour, &t.minute, &t.second, &tail) != 6)
    return std::nullopt;
  using namespace std::chrono;
  const year_month_day date{year{t.year}, month{unsigned(t.month)}, day{unsigned(t.day)}};
  if (!date.ok() || t.hour > 23 || t.minute > 59 || t.second > 59 || t.hour < 0 || t.minute < 0 ||
      t.second < 0)
    return std::nullopt;
  return t;
}

LocalDateTime dateTime(const std::string& text) {
  if (auto t = parseDateTime(text)) return *t;
  throw Failure{"bad date and time '" + text + "' (expected YYYY-MM-DDTHH:MM:SS)"};
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
  std::cout << "t=" << sim.scheduler.now() << " mode=" << hh.Mode << " score=" << hh.Score
            << " misses=" << hh.MissCount << " hero=" << hh.HeroPos << " hiscore_a=" << hh.HiScoreA
            << " hiscore_b=" << hh.HiScoreB << "\n"
            << "digits=" << digits << "\n"
            << "lit=" << (lit.empty() ? "-" : lit) << "\n"
            << "sounds=" << joined(sim.sound.played) << "\n"
            << "store=" << joined(sim.settings.writes) << std::endl;  // flushed for pipes
  sim.sound.played.clear();
  sim.settings.writes.clear();
}

void run(HeadlessHandheld& sim, const std::string& line) {
  std::istringstream in(line);
  std::string command, argument, extra;
  in >> command >> argument >> extra;
  if (!extra.empty()) throw Failure{"unexpected '" + extra + "' after '" + command + " " + argument + "'"};
  const bool needsArgument = command != "show";
  if (needsArgument && argument.empty() && (command == "down" || command == "up" || command == "wait" || command == "now"))
    throw Failure{"'" + command + "' needs an argument"};
  if (command == "down" || command == "up") {
    const int button = buttonNamed(argument);
    if (!button) throw Failure{"unknown button '" + argument + "' (game_a, game_b, time, left, right)"};
    pressButton(sim.handheld, button, command == "down");
  } else if (command == "wait") {
    const long long ms = number(argument, "milliseconds", 0, kMaxVirtualTime);
    if (ms > kMaxVirtualTime - sim.scheduler.now())
      throw Failure{"wait " + argument + " would take virtual time past " +
                    std::to_string(kMaxVirtualTime) + " ms"};
    sim.wait(ms);
  } else if (command == "now") {
    sim.clock.set(dateTime(argument));
  } else if (command == "show") {
    if (!argument.empty()) throw Failure{"'show' takes no argument"};
    show(sim);
  } else {
    throw Failure{"unknown command '" + command + "'"};
  }
}

}  // namespace

int main(int argc, char** argv) {
  LocalDateTime start = SystemClock().now();
  uint32_t seed = uint32_t(std::chrono::high_resolution_clock::now().time_since_epoch().count());
  long long hiscoreA = 0, hiscoreB = 0;
  try {
    for (int i = 1; i < argc; ++i) {
      const std::string option = argv[i];
      if (option == "--help" || option == "-h") {
        std::cout << kUsage;
        return 0;
      }
      if (i + 1 >= argc) throw Failure{"'" + option + "' needs a value"};
      const std::string value = argv[++i];
      if (option == "--seed") seed = uint32_t(number(value, "seed", 0, UINT32_MAX));
      else if (option == "--now") start = dateTime(value);
      else if (option == "--hiscore-a") hiscoreA = number(value, "high score", 0, 9999);
      else if (option == "--hiscore-b") hiscoreB = number(value, "high score", 0, 9999);
      else throw Failure{"unknown option '" + option + "'"};
    }
  } catch (const Failure& failure) {
    std::cerr << "error: " << failure.what << "\n" << kUsage;
    return 2;
  }

  HeadlessHandheld sim(start, seed);
  sim.handheld.HiScoreA = int(hiscoreA);
  sim.handheld.HiScoreB = int(hiscoreB);
  sim.handheld.Mode = ModeAllSegments;
  sim.handheld.Gam_Set_Mode();

  std::string line;
  for (int lineNumber = 1; std::getline(std::cin, line); ++lineNumber) {
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#') continue;
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
