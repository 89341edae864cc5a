#pragma once
// The computer's local date and time, in the zone the system has now.

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "services.h"

namespace zarvik {

class SystemClock : public zarvik::Clock {
 public:
  // Each reading first looks whether the zone has changed since the last one
  // (a stat of one file), so a watch that is shown follows a zone change at
  // its next update.
  zarvik::LocalDateTime now() const override;
  // The same, and the milliseconds past its second.
  zarvik::LocalDateTime now(int64_t& millisecondsPast) const;

 private:
  // What the zone file was when last looked at.
  struct FileState {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{}, changed{};
    bool operator==(const FileState&) const;
  };
  void followZoneChanges() const;

  mutable bool looked_ = false;
  mutable std::optional<std::string> zoneVariable_;  // TZ as last seen
  mutable FileState zoneFile_;
};

}  // namespace zarvik
