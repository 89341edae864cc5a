#pragma once
// The script language of zarvik-sim, read by zarvik-sim itself and by the
// browser's replays: the options of its command line (which a recorded
// session names in its first line) and one command a line. Reading never
// throws: a bad option or line gives the text of what is wrong.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "services.h"

namespace zarvik {

// Virtual time ends here (about 31 years), far from overflowing its counter
// and the calendar, however many waits a script holds.
inline constexpr int64_t kMaxVirtualTime = 1'000'000'000'000LL;

struct ScriptOptions {
  std::optional<uint32_t> seed;
  std::optional<LocalDateTime> now;
  int hiScoreA = 0;
  int hiScoreB = 0;
};

// Reads --seed N, --now YYYY-MM-DDTHH:MM:SS, --hiscore-a N and --hiscore-b N.
// Empty on success, else what is wrong.
std::string readScriptOptions(const std::vector<std::string>& arguments, ScriptOptions& options);
// The options that a recorded session's first line gives after "# zarvik-sim".
std::vector<std::string> splitWords(std::string_view text);

struct ScriptStep {
  enum Kind { Nothing, Down, Up, Wait, Now, Show, HiScores };
  Kind kind = Nothing;  // Nothing: a blank line or a comment
  int button = 0;       // Down and Up: 1..5 (buttons.h)
  int64_t ms = 0;       // Wait: 0..kMaxVirtualTime
  LocalDateTime time;   // Now
  int hiScoreA = 0;     // HiScores
  int hiScoreB = 0;
};

// Reads one line. Empty on success, else what is wrong.
std::string readScriptLine(std::string_view line, ScriptStep& step);

// A number in decimal (std::to_string would bring printf into the browser's module).
std::string decimal(int64_t n);

std::optional<LocalDateTime> parseDateTime(std::string_view text);
std::string formatDateTime(const LocalDateTime& t);  // YYYY-MM-DDTHH:MM:SS

}  // namespace zarvik
