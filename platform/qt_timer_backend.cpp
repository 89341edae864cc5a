#include "qt_timer_backend.h"

namespace zarvik {

QTimer& QtTimerBackend::qtimerFor(zarvik::Timer& timer) {
  auto& slot = timers_[&timer];
  if (!slot) {
    slot = std::make_unique<QTimer>();
    slot->setTimerType(Qt::PreciseTimer);
    QObject::connect(slot.get(), &QTimer::timeout, [&timer] { timer.fire(); });
  }
  return *slot;
}

void QtTimerBackend::arm(zarvik::Timer& timer, int intervalMs) {
  qtimerFor(timer).start(intervalMs);  // start() restarts a running period
}

void QtTimerBackend::disarm(zarvik::Timer& timer) {
  if (auto it = timers_.find(&timer); it != timers_.end()) it->second->stop();
}

}  // namespace zarvik
