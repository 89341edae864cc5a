#pragma once
// Placing windows on the screen, and parking them out of sight.

class QPoint;
class QWidget;

namespace zarvik {

// Centres a window on its screen (the primary one while it has none yet),
// within the screen's own geometry.
void centreOnScreen(QWidget& window);

// Moves a window so that its centre lies at `centre`, then as little as it
// takes to lie on its screen (its top-left corner, if it is too large).
void keepOnScreen(QWidget& window, QPoint centre);

// Starts dragging a window from a left press on it. On Wayland, where a
// window cannot place itself, the compositor moves it with the pointer;
// elsewhere the window follows the pointer itself, and true says so.
bool dragFollowsPointer(QWidget& window);

// Parking: a window laid out where nobody sees it until it is placed. It
// goes off the screen (left and top at minus the screen's size), which hides
// it on an X server with no window manager. Where a window manager runs, it
// would pull the window partly back into view, and on Wayland a window
// cannot place itself: there the parked window is also kept unmapped (hidden
// if it was shown), and a show asked for meanwhile waits until it is placed.
void park(QWidget& window);
bool isParked(const QWidget& window);
// Parked and kept unmapped: the window cannot be activated until it is placed.
bool isParkedUnmapped(const QWidget& window);
// Shows the window; a window parked out of sight is shown when it is placed.
void showUnlessParked(QWidget& window);
// Centres the window on its screen, which ends its parking: it is shown (and
// given the keyboard) if a show was asked for while it was kept unmapped, and
// drawn, as it was not while parked.
void placeOnScreen(QWidget& window);

}  // namespace zarvik
