#pragma once
// zarvik --record FILE: the session written to FILE as a zarvik-sim script
// while it is played (game_recorder.h). For the script to replay exactly, the
// handheld's timers run in virtual time paced by the real ones, and the seed
// of the random source and the start time are the script's options.

#include <cstdint>
#include <memory>
#include <string>

#include "game_recorder.h"
#include "paced_time.h"

namespace zarvik {

class SessionRecording {
 public:
  // Opens FILE for writing (emptied if it exists); null, with `error` naming
  // the file and the problem, when it cannot be.
  static std::unique_ptr<SessionRecording> open(const std::string& file, TimerBackend& realTimers, uint32_t seed,
                                                std::string& error);
  ~SessionRecording();

  // What the handheld's timers run on.
  TimerBackend& timers() { return paced_; }
  // Writes the first lines, with the high scores the handheld has loaded, and
  // records from now on. The recorder writes the last lines when it goes.
  std::unique_ptr<GameRecorder> start(Handheld& handheld);

 private:
  class FileSink : public LineSink {
   public:
    FileSink(std::string file, int descriptor) : file_(std::move(file)), descriptor_(descriptor) {}
    ~FileSink() override;
    bool write(std::string_view lines) override;

   private:
    std::string file_;
    int descriptor_;
  };

  SessionRecording(std::string file, int descriptor, TimerBackend& realTimers, uint32_t seed,
                   const LocalDateTime& now, int64_t millisecond);

  FileSink sink_;
  SessionStart start_;
  PacedScheduler paced_;
};

}  // namespace zarvik
