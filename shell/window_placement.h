#pragma once
// Placing windows on the screen.

class QPoint;
class QWidget;

namespace zarvik {

// Centres a window on its screen (the primary one while it has none yet),
// within the screen's own geometry.
void centreOnScreen(QWidget& window);

// Moves a window so that its centre lies at `centre`, then as little as it
// takes to lie on its screen (its top-left corner, if it is too large).
void keepOnScreen(QWidget& window, QPoint centre);

}  // namespace zarvik
