/* A desktop panel stand-in: a window of the dock type along the bottom of
 * the screen that reserves its strip (_NET_WM_STRUT_PARTIAL), as desktop
 * panels do. Runs until killed.
 *
 *   dock_window <height>
 */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s <height>\n", argv[0]);
    return 2;
  }
  Display* display = XOpenDisplay(NULL);
  if (!display) {
    fprintf(stderr, "dock_window: cannot open the display\n");
    return 1;
  }
  const int screen = DefaultScreen(display);
  const int width = DisplayWidth(display, screen), height = atoi(argv[1]);
  const int top = DisplayHeight(display, screen) - height;
  Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, top, width, height, 0, 0,
                                      0x3050a0);
  Atom dock = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DOCK", False);
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32,
                  PropModeReplace, (unsigned char*)&dock, 1);
  long strut[12] = {0, 0, 0, height, 0, 0, 0, 0, 0, 0, 0, width - 1};
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_STRUT_PARTIAL", False), XA_CARDINAL, 32,
                  PropModeReplace, (unsigned char*)strut, 12);
  XStoreName(display, window, "panel");
  XMapWindow(display, window);
  XFlush(display);
  for (;;) pause();
}
