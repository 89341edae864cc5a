#include "x11_auto_repeat.h"

#include <QGuiApplication>
#include <X11/XKBlib.h>

namespace zarvik {

namespace {
Display* x11Display() {
  const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->display() : nullptr;
}
}  // namespace

void requestDetectableAutoRepeat() {
  if (Display* display = x11Display()) XkbSetDetectableAutoRepeat(display, True, nullptr);
}

std::vector<quint32> keysHeldNow() {
  std::vector<quint32> held;
  Display* display = x11Display();
  if (!display) return held;
  char keys[32] = {};
  XQueryKeymap(display, keys);
  for (quint32 code = 8; code < 256; ++code)
    if (keys[code / 8] & (1 << (code % 8))) held.push_back(code);
  return held;
}

}  // namespace zarvik
