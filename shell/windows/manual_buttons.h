#pragma once
// The manual viewer's built-in button pictures: 16 x 14, a blue face with a
// white glyph inside a two-pixel bevel. Released, the bevel is light along
// the top and left and dark along the bottom and right, so the button looks
// raised; pressed, the colours trade places and the glyph moves one pixel
// right and down.

#include <QImage>
#include <QSize>

namespace zarvik {

enum class ManualGlyph { Cross, LeftChevron, RightChevron };

inline constexpr QSize kManualButtonSize{16, 14};

QImage manualButtonPicture(ManualGlyph glyph, bool pressed);

}  // namespace zarvik
