#include "application_state.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace zarvik {

namespace {
bool requested = false;
}

void terminateApplication() {
  requested = true;
  // exit() does nothing while no loop runs; a queued call ends the loop on its
  // first turn. Unlike quit(), exit() closes no window, so no close handler runs.
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
  QCoreApplication::exit(0);
}

bool terminationRequested() { return requested; }

}  // namespace zarvik
