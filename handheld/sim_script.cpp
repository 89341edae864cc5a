#include "sim_script.h"

#include <charconv>
#include <chrono>

#include "buttons.h"
#include "integer_text.h"

namespace zarvik {

namespace {

// The number in `text`, within min..max; else `error` says what is bad.
std::optional<int64_t> number(std::string_view text, const char* what, int64_t min, int64_t max,
                              std::string& error) {
  const auto value = parseDecimal(text);
  if (!value || *value < min || *value > max) {
    error = std::string("bad ") + what + " '" + std::string(text) + "'";
    return std::nullopt;
  }
  return value;
}

std::string badDateTime(std::string_view text) {
  return "bad date and time '" + std::string(text) + "' (expected YYYY-MM-DDTHH:MM:SS)";
}

std::string twoDigits(int n) { return {char('0' + n / 10 % 10), char('0' + n % 10)}; }

}  // namespace

std::string decimal(int64_t n) {
  char digits[24];
  return std::string(digits, std::to_chars(digits, digits + sizeof digits, n).ptr);
}

std::vector<std::string> splitWords(std::string_view text) {
  std::vector<std::string> words;
  constexpr std::string_view kBlanks = " \t\n\v\f\r";
  for (std::size_t at = text.find_first_not_of(kBlanks); at != std::string_view::npos;
       at = text.find_first_not_of(kBlanks, at)) {
    const std::size_t end = std::min(text.find_first_of(kBlanks, at), text.size());
    words.emplace_back(text.substr(at, end - at));
    at = end;
  }
  return words;
}

std::optional<LocalDateTime> parseDateTime(std::string_view text) {
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
      text[16] != ':')
    return std::nullopt;
  int fields[6] = {};
  constexpr int kStart[] = {0, 5, 8, 11, 14, 17}, kLength[] = {4, 2, 2, 2, 2, 2};
  for (int i = 0; i < 6; ++i) {
    const std::string_view digits = text.substr(kStart[i], kLength[i]);
    const std::optional<long long> field = parseDecimal(digits);
    if (!field || *field < 0) return std::nullopt;
    fields[i] = int(*field);
  }
  const LocalDateTime t{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
  using namespace std::chrono;
  const year_month_day date{year{t.year}, month{unsigned(t.month)}, day{unsigned(t.day)}};
  if (!date.ok() || t.hour > 23 || t.minute > 59 || t.second > 59) return std::nullopt;
  return t;
}

std::string formatDateTime(const LocalDateTime& t) {
  return twoDigits(t.year / 100) + twoDigits(t.year) + '-' + twoDigits(t.month) + '-' + twoDigits(t.day) + 'T' +
         twoDigits(t.hour) + ':' + twoDigits(t.minute) + ':' + twoDigits(t.second);
}

std::string readScriptOptions(const std::vector<std::string>& arguments, ScriptOptions& options) {
  std::string error;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (i + 1 >= arguments.size()) return "'" + option + "' needs a value";
    const std::string& value = arguments[++i];
    if (option == "--seed") {
      if (const auto seed = number(value, "seed", 0, UINT32_MAX, error)) options.seed = uint32_t(*seed);
    } else if (option == "--now") {
      options.now = parseDateTime(value);
      if (!options.now) return badDateTime(value);
    } else if (option == "--hiscore-a" || option == "--hiscore-b") {
      if (const auto score = number(value, "high score", 0, 9999, error))
        (option == "--hiscore-a" ? options.hiScoreA : options.hiScoreB) = int(*score);
    } else {
      return "unknown option '" + option + "'";
    }
    if (!error.empty()) return error;
  }
  return {};
}

std::string readScriptLine(std::string_view line, ScriptStep& step) {
  step = ScriptStep{};
  const std::vector<std::string> words = splitWords(line);
  if (words.empty() || words[0][0] == '#') return {};
  const std::string& command = words[0];
  const std::string argument = words.size() > 1 ? words[1] : "";
  const std::size_t arguments = command == "hiscores" ? 2 : 1;
  if (words.size() > arguments + 1)
    return "unexpected '" + words[arguments + 1] + "' after '" + command + " " + argument +
           (arguments == 2 ? " " + words[2] : "") + "'";
  if (words.size() < arguments + 1 &&
      (command == "down" || command == "up" || command == "wait" || command == "now" || command == "hiscores"))
    return "'" + command + "' needs " + (arguments == 2 ? "two arguments" : "an argument");
  std::string error;
  if (command == "down" || command == "up") {
    step.kind = command == "down" ? ScriptStep::Down : ScriptStep::Up;
    step.button = buttonNamed(argument);
    if (!step.button) return "unknown button '" + argument + "' (game_a, game_b, time, left, right)";
  } else if (command == "wait") {
    step.kind = ScriptStep::Wait;
    if (const auto ms = number(argument, "milliseconds", 0, kMaxVirtualTime, error)) step.ms = *ms;
  } else if (command == "now") {
    step.kind = ScriptStep::Now;
    const auto time = parseDateTime(argument);
    if (!time) return badDateTime(argument);
    step.time = *time;
  } else if (command == "show") {
    if (!argument.empty()) return "'show' takes no argument";
    step.kind = ScriptStep::Show;
  } else if (command == "hiscores") {
    step.kind = ScriptStep::HiScores;
    const auto a = number(argument, "high score", 0, 9999, error);
    const auto b = a ? number(words[2], "high score", 0, 9999, error) : std::nullopt;
    if (a && b) step.hiScoreA = int(*a), step.hiScoreB = int(*b);
  } else {
    return "unknown command '" + command + "'";
  }
  return error;
}

}  // namespace zarvik
