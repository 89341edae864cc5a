#pragma once
// The environment that Qt reads as it starts, set for this process alone:
// the variables are put back as they were once the application exists, so
// that the programs the face opens (a browser, a mail program) get the
// user's own environment. A variable the user set is left as it is.
//
// - QT_XCB_NO_MITSHM=1: Qt would draw into memory shared with the X server
//   and, before drawing there again, wait for the server: a round trip, and
//   several wake-ups, for each blink of the clock's colon. The face repaints
//   small rectangles, which are cheaper sent over the connection.
// - QT_QPA_PLATFORM=xcb;wayland in a Wayland session with XWayland (DISPLAY
//   set): the windows are built on X11's behaviour (a window places itself,
//   stays on top, is moved by the program), which XWayland keeps and Wayland
//   does not; should XWayland fail to start, Qt falls back to Wayland.
//   QT_QPA_PLATFORM or Qt's -platform option choose otherwise.

#include <QByteArray>
#include <vector>

namespace zarvik {

class StartEnvironment {
 public:
  StartEnvironment();
  StartEnvironment(const StartEnvironment&) = delete;
  StartEnvironment& operator=(const StartEnvironment&) = delete;
  // Unsets what the constructor set.
  void restore();

 private:
  void setUnlessSet(const char* name, const QByteArray& value);
  std::vector<const char*> set_;
};

}  // namespace zarvik
