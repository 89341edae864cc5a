#include "session_recording.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "system_clock.h"

namespace zarvik {

namespace {

int64_t steadyMilliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

std::unique_ptr<SessionRecording> SessionRecording::open(const std::string& file, TimerBackend& realTimers,
                                                         uint32_t seed, std::string& error) {
  const int descriptor = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (descriptor < 0) {
    error = "Cannot record the session to " + file + ": " + std::strerror(errno) + ".";
    return nullptr;
  }
  // The script's clock starts at the whole second; virtual time starts at
  // the milliseconds past it, so that the replayed watch ticks as this one.
  int64_t millisecondsPast = 0;
  const LocalDateTime now = SystemClock().now(millisecondsPast);
  return std::unique_ptr<SessionRecording>(
      new SessionRecording(file, descriptor, realTimers, seed, now, millisecondsPast));
}

SessionRecording::SessionRecording(std::string file, int descriptor, TimerBackend& realTimers, uint32_t seed,
                                   const LocalDateTime& now, int64_t millisecond)
    : sink_(std::move(file), descriptor), start_{seed, now}, paced_(realTimers, steadyMilliseconds, millisecond) {}

SessionRecording::~SessionRecording() = default;

std::unique_ptr<GameRecorder> SessionRecording::start(Handheld& handheld) {
  start_.hiScoreA = handheld.HiScoreA;
  start_.hiScoreB = handheld.HiScoreB;
  return std::make_unique<GameRecorder>(handheld, paced_, sink_, start_);
}

SessionRecording::FileSink::~FileSink() { ::close(descriptor_); }

// Each call is handed to the system at once: the lines survive the program
// being killed.
bool SessionRecording::FileSink::write(std::string_view lines) {
  while (!lines.empty()) {
    const ssize_t written = ::write(descriptor_, lines.data(), lines.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      std::fprintf(stderr, "zarvik: The recording %s stops here: it cannot be written: %s.\n", file_.c_str(),
                   written < 0 ? std::strerror(errno) : "nothing was written");
      return false;
    }
    lines.remove_prefix(std::size_t(written));
  }
  return true;
}

}  // namespace zarvik
