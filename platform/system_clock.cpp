#include "system_clock.h"

#include <chrono>

#include <sys/stat.h>

#include <cstdlib>

namespace zarvik {
namespace {

// The file that holds the local zone: /etc/localtime without TZ, else the
// file TZ names (an absolute path, or a zone name under TZDIR). A TZ that is
// a rule ("JST-9") names no file, and such a zone cannot change.
std::string zoneFileOf(const char* tz) {
  if (!tz) return "/etc/localtime";
  std::string name = tz[0] == ':' ? tz + 1 : tz;
  if (name.empty() || name[0] == '/') return name;
  const char* dir = std::getenv("TZDIR");
  return std::string(dir && *dir ? dir : "/usr/share/zoneinfo") + "/" + name;
}

// glibc reads the zone once and keeps it: tzset() reads a file again only
// when TZ has changed, or for /etc/localtime when its modification second
// has. TZ is set to another zone and back, so that the next tzset() must
// read the file afresh. Only this thread reads the local time.
void reloadZone(const char* tz) {
  const std::string kept = tz ? tz : "";
  setenv("TZ", "UTC0", 1);
  tzset();
  if (tz) setenv("TZ", kept.c_str(), 1);
  else unsetenv("TZ");
  tzset();
}

}  // namespace

bool SystemClock::FileState::operator==(const FileState& other) const {
  return device == other.device && inode == other.inode && size == other.size &&
         modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec &&
         changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
}

// The first reading loads the zone, later ones when TZ or its file has
// changed.
void SystemClock::followZoneChanges() const {
  const char* tz = std::getenv("TZ");
  const std::optional<std::string> variable = tz ? std::optional<std::string>(tz) : std::nullopt;
  FileState file;
  struct stat info {};
  if (::stat(zoneFileOf(tz).c_str(), &info) == 0)
    file = {info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
  if (looked_ && file == zoneFile_ && variable == zoneVariable_) return;
  reloadZone(tz);
  looked_ = true;
  zoneFile_ = file;
  zoneVariable_ = variable;
}

LocalDateTime SystemClock::now() const {
  int64_t millisecondsPast = 0;
  return now(millisecondsPast);
}

LocalDateTime SystemClock::now(int64_t& millisecondsPast) const {
  followZoneChanges();
  using namespace std::chrono;
  const auto wall = system_clock::now();
  const auto second = floor<seconds>(wall);
  millisecondsPast = duration_cast<milliseconds>(wall - second).count();
  const std::time_t t = system_clock::to_time_t(second);
  std::tm tm{};
  localtime_r(&t, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace zarvik
