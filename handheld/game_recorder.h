#pragma once
// A session written down as a zarvik-sim script while it is played. The
// first line gives the options that replay it (seed, start time, the high
// scores at the start); then every button's down and up at its virtual
// moment, with waits between, and a show after each change of score or
// misses and at the end, each followed by a comment holding the state the
// session had there (the first line that zarvik-sim's show prints), so that
// a replay can be checked line by line. Lines are handed on as they happen:
// a session that is killed keeps every line before it.
//
// Times are the handheld's own (PacedScheduler): a press lies between the
// same two timer events in the script as in the session.

#include <cstdint>
#include <string>
#include <string_view>

#include "handheld.h"
#include "paced_time.h"

namespace zarvik {

// Where the script goes; each call holds whole lines. False when they could
// not be written: the recording then stops.
class LineSink {
 public:
  virtual ~LineSink() = default;
  virtual bool write(std::string_view lines) = 0;
};

struct SessionStart {
  uint32_t seed = 0;
  LocalDateTime now;  // the local time at virtual time 0
  int hiScoreA = 0;
  int hiScoreB = 0;
};

// "t=T mode=M score=S misses=N hero=H hiscore_a=A hiscore_b=B", as the first
// line of zarvik-sim's show.
std::string statusLine(const Handheld& handheld, int64_t t);

class GameRecorder : public ButtonListener, public PacedScheduler::Listener {
 public:
  // Writes the first lines and listens to the handheld's buttons and timers.
  GameRecorder(Handheld& handheld, PacedScheduler& time, LineSink& sink, const SessionStart& start);
  // Ends the script as finish() does.
  ~GameRecorder() override;
  GameRecorder(const GameRecorder&) = delete;
  GameRecorder& operator=(const GameRecorder&) = delete;

  void buttonAction(ImageId pressed, bool down) override;
  void beforeEvents() override;
  void afterEvents() override;
  // The lines that would end the script now (a wait up to now and a show),
  // for a copy of it taken while the session goes on.
  std::string closingLines();
  // Ends the script with those lines; nothing is recorded afterwards.
  void finish();
  bool recording() const { return listening_; }

 private:
  bool pressChangesNothing(ImageId pressed) const;
  void waitUntil(int64_t t, std::string& out);
  void show(std::string& out);
  void showIfChanged(std::string& out);
  void noteHighScoresSetOutside(int64_t t, std::string& out);
  void send(const std::string& out);
  void stopListening();

  Handheld& handheld_;
  PacedScheduler& time_;
  LineSink& sink_;
  bool listening_ = false;
  struct Shown {
    int64_t written = 0;  // the virtual time the script has waited up to
    int score = 0, misses = 0;  // as last shown
    int hiScoreA = 0, hiScoreB = 0;  // as the script has them
  } shown_;
};

}  // namespace zarvik
