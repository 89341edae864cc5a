#include "start_environment.h"

#include <QtGlobal>

namespace zarvik {

StartEnvironment::StartEnvironment() {
  setUnlessSet("QT_XCB_NO_MITSHM", "1");
  const bool waylandSession = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
                              qgetenv("XDG_SESSION_TYPE") == "wayland";
  if (waylandSession && !qEnvironmentVariableIsEmpty("DISPLAY")) setUnlessSet("QT_QPA_PLATFORM", "xcb;wayland");
}

void StartEnvironment::setUnlessSet(const char* name, const QByteArray& value) {
  if (qEnvironmentVariableIsSet(name)) return;
  qputenv(name, value);
  set_.push_back(name);
}

void StartEnvironment::restore() {
  for (const char* name : set_) qunsetenv(name);
  set_.clear();
}

}  // namespace zarvik
