#pragma once
// The backdrop and the logo shown around the face in fullscreen mode.

#include <QColor>
#include <QImage>

namespace skingen {

// The colour of the window around the backdrop: the backdrop fades into it.
inline const QColor kBackdropColour{14, 22, 40};

QImage drawBackdrop();
QImage drawLogo();

}  // namespace skingen
