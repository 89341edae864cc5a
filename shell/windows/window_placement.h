#pragma once
// Where the auxiliary windows appear.

class QWidget;

namespace zarvik {

// Moves a top-level window to the centre of its screen (the primary screen
// before it has one), up to the pixel an odd size leaves over.
void centreOnScreen(QWidget& window);

}  // namespace zarvik
