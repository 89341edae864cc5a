#pragma once
// The in-game menu's built-in picture and the font of its rows.

#include <QFont>
#include <QImage>

namespace zarvik {

// 256 x 512 with alpha: an opaque black title strip (rows 0 to 31) with a
// three-line icon and, when `withCaption`, "Game menu" in white, then black at
// 80 % opacity. The folded menu shows only the icon, and drawing it without
// the caption needs no fonts.
QImage drawGameMenuBackground(bool withCaption = true);

// White row text: Arial in a 16-pixel cell.
QFont gameMenuRowFont();

}  // namespace zarvik
