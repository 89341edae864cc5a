#pragma once
// What the window system lets the program's windows do, asked of the running
// Qt platform. The program is built on X11's window behaviour (windows place
// themselves, a window off the screen is out of sight, SHAPE cuts a window to
// any outline); on Wayland and under XWayland some of it works otherwise.

class QRegion;
class QWidget;

namespace zarvik {

// On the native Wayland platform: windows cannot place themselves (the
// compositor does), and are moved by the compositor from a press.
bool onNativeWayland();

// The display composites translucent windows over what lies behind them
// (native Wayland, or XWayland, whose X windows are Wayland surfaces): the
// see-through colour is then made transparent instead of cut away by SHAPE,
// which XWayland fills in with the window's background.
bool seeThroughByTranslucency();

// A window manager (or a Wayland compositor) looks after the windows: it may
// pull a window placed off the screen back into view, so a window meant to be
// out of sight must stay unmapped.
bool windowManagerRuns();

// Where a translucent window takes presses: the region, and nothing else, so
// that presses on its transparent pixels reach what lies behind. Under X it
// sets only the window's input shape (the picture is left whole). An empty
// region gives the whole window its presses again. Under X, a window that
// has not been created yet is left alone: set it again once it is shown
// (creating it early would lose its place with some window managers).
void setInputRegion(QWidget& window, const QRegion& region);

}  // namespace zarvik
