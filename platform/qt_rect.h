#pragma once
// The handheld's plain rectangles as Qt's.

#include <QRect>

#include "skin_images.h"

namespace zarvik {

inline QRect toQRect(const Rect& r) { return QRect(r.left, r.top, r.width, r.height); }

}  // namespace zarvik
