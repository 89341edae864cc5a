// Which command lines are answered before a display is opened: the answers
// themselves (help, version, errors) are checked on the installed program.

#include "command_line.h"

#include <QByteArray>
#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

// Sets the display variables for one case and restores them after it.
class DisplayEnvironment {
 public:
  DisplayEnvironment(const char* display, const char* wayland, const char* platform) {
    set("DISPLAY", display);
    set("WAYLAND_DISPLAY", wayland);
    set("QT_QPA_PLATFORM", platform);
  }
  ~DisplayEnvironment() {
    for (const auto& [name, value] : saved_) value ? qputenv(name, *value) : qunsetenv(name);
  }

 private:
  void set(const char* name, const char* value) {
    saved_.push_back({name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt});
    value ? qputenv(name, value) : qunsetenv(name);
  }
  std::vector<std::pair<const char*, std::optional<QByteArray>>> saved_;
};

TEST(CommandLine, AnswersWithoutADisplayWhatNeedsNone) {
  struct Case {
    std::vector<const char*> arguments;
    const char* display;
    const char* wayland;
    const char* platform;
    bool answered;
  };
  const Case cases[] = {
      // An unknown option with no display server: told at once, not aborted.
      {{"--bogus"}, nullptr, nullptr, nullptr, true},
      {{"-V"}, nullptr, nullptr, "xcb", true},
      {{"--bogus"}, nullptr, nullptr, "wayland;xcb", true},
      {{"--bogus"}, "", "", nullptr, true},
      {{"-platform", "xcb", "--bogus"}, nullptr, nullptr, "offscreen", true},
      // With a display, or a platform that needs none, an option unknown here
      // may be Qt's own: the application reads it first.
      {{"--bogus"}, ":0", nullptr, nullptr, false},
      {{"-style", "fusion"}, nullptr, "wayland-0", nullptr, false},
      {{"--bogus"}, nullptr, nullptr, "offscreen", false},
      {{"-platform", "offscreen", "--bogus"}, nullptr, nullptr, nullptr, false},
      {{"-display", ":1", "--bogus"}, nullptr, nullptr, nullptr, false},
      // Answers that never need a display.
      {{"--zoom", "7"}, ":0", nullptr, nullptr, true},
      {{"--zoom"}, nullptr, nullptr, nullptr, true},
      {{"--version"}, ":0", nullptr, nullptr, true},
      {{"-h"}, ":0", nullptr, nullptr, true},
      {{"--help-all"}, nullptr, nullptr, nullptr, true},
      {{"--check-skin", "my-skin"}, ":0", nullptr, nullptr, true},
      // A start: the application is made, with or without a display.
      {{"--zoom", "4", "--windowed"}, ":0", nullptr, nullptr, false},
      {{"--fullscreen"}, nullptr, nullptr, nullptr, false},
  };
  for (const Case& c : cases) {
    const DisplayEnvironment environment(c.display, c.wayland, c.platform);
    std::vector<char*> argv{const_cast<char*>("zarvik")};
    for (const char* argument : c.arguments) argv.push_back(const_cast<char*>(argument));
    std::string line;
    for (const char* argument : c.arguments) line += std::string(" ") + argument;
    EXPECT_EQ(zarvik::CommandLine().answersWithoutDisplay(int(argv.size()), argv.data()), c.answered)
        << "zarvik" << line << " with DISPLAY=" << (c.display ? c.display : "(unset)")
        << " WAYLAND_DISPLAY=" << (c.wayland ? c.wayland : "(unset)")
        << " QT_QPA_PLATFORM=" << (c.platform ? c.platform : "(unset)");
  }
}

}  // namespace
