#pragma once
// Runs the handheld's timers on QTimer (precise, on the UI thread).

#include <QObject>
#include <QTimer>
#include <unordered_map>

#include "timer.h"

namespace zarvik {

class QtTimerBackend : public zarvik::TimerBackend {
 public:
  void arm(zarvik::Timer& timer, int intervalMs) override;
  void disarm(zarvik::Timer& timer) override;

 private:
  QTimer& qtimerFor(zarvik::Timer& timer);
  std::unordered_map<zarvik::Timer*, std::unique_ptr<QTimer>> timers_;
};

}  // namespace zarvik
