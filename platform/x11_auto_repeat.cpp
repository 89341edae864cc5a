#include "x11_auto_repeat.h"

#include <QGuiApplication>
#include <X11/XKBlib.h>

namespace zarvik {

void requestDetectableAutoRepeat() {
  const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (Display* display = x11 ? x11->display() : nullptr) XkbSetDetectableAutoRepeat(display, True, nullptr);
}

}  // namespace zarvik
