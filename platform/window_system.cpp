#include "window_system.h"

#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <QWidget>
#include <cstdlib>
#include <memory>
#include <vector>
#include <xcb/shape.h>
#include <xcb/xcb.h>

namespace zarvik {

namespace {

xcb_connection_t* xcbConnection() {
  const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}

// XWayland names its outputs XWAYLAND0, XWAYLAND1...
bool onXWayland() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return xcbConnection() && screen && screen->name().startsWith(QLatin1String("XWAYLAND"));
}

struct FreeReply {
  void operator()(void* reply) const { std::free(reply); }
};

// The window that a window's property of type WINDOW names; 0 when it has none.
xcb_window_t windowProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property) {
  const std::unique_ptr<xcb_get_property_reply_t, FreeReply> reply(xcb_get_property_reply(
      connection, xcb_get_property(connection, 0, window, property, XCB_ATOM_WINDOW, 0, 1), nullptr));
  if (!reply || xcb_get_property_value_length(reply.get()) != sizeof(xcb_window_t)) return 0;
  return *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
}

}  // namespace

bool onNativeWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

bool seeThroughByTranslucency() { return onNativeWayland() || onXWayland(); }

// A running window manager names its check window on the root window, and the
// check window names itself: a property left behind by a manager that has
// ended names a window that no longer exists.
bool windowManagerRuns() {
  if (onNativeWayland()) return true;
  xcb_connection_t* connection = xcbConnection();
  if (!connection) return false;
  static constexpr char kName[] = "_NET_SUPPORTING_WM_CHECK";
  const std::unique_ptr<xcb_intern_atom_reply_t, FreeReply> atom(xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 1, sizeof kName - 1, kName), nullptr));
  if (!atom || atom->atom == XCB_ATOM_NONE) return false;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  const xcb_window_t check = windowProperty(connection, root, atom->atom);
  return check && windowProperty(connection, check, atom->atom) == check;
}

void setInputRegion(QWidget& window, const QRegion& region) {
  xcb_connection_t* connection = xcbConnection();
  if (!connection) {  // Wayland: the mask is the input region
    if (region.isEmpty()) window.clearMask();
    else window.setMask(region);
    return;
  }
  const auto id = xcb_window_t(window.internalWinId());
  if (!id) return;
  if (region.isEmpty()) {
    xcb_shape_mask(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, id, 0, 0, XCB_NONE);
    xcb_flush(connection);
    return;
  }
  std::vector<xcb_rectangle_t> rectangles;
  rectangles.reserve(region.rectCount());
  for (const QRect& rect : region)
    rectangles.push_back({int16_t(rect.x()), int16_t(rect.y()), uint16_t(rect.width()), uint16_t(rect.height())});
  xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_UNSORTED,
                       id, 0, 0, uint32_t(rectangles.size()), rectangles.data());
  xcb_flush(connection);
}

}  // namespace zarvik
