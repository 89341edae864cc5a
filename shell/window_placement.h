#pragma once
// Placing windows on the screen.

class QWidget;

namespace zarvik {

// Centres a window on its screen (the primary one while it has none yet),
// within the screen's own geometry.
void centreOnScreen(QWidget& window);

}  // namespace zarvik
