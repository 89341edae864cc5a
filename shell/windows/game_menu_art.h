#pragma once
// The in-game menu's built-in picture, its sizes and the font of its rows.

#include <QFont>
#include <QImage>
#include <QSize>

namespace zarvik {

// The menu button, which the folded menu's picture fills, and the unfolded
// menu: its title strip and thirteen rows of kGameMenuRowHeight.
inline constexpr QSize kGameMenuButtonSize(36, 32);
inline constexpr QSize kGameMenuOpenSize(256, 448);
inline constexpr int kGameMenuRowHeight = 32;

// 256 x 512 with alpha: an opaque black title strip (rows 0 to 31) with a
// three-line icon and, when `withCaption`, "Game menu" in white, then black at
// 80 % opacity. The folded menu shows only the icon, and drawing it without
// the caption needs no fonts.
QImage drawGameMenuBackground(bool withCaption = true);

// White row text: Arial in a 16-pixel cell.
QFont gameMenuRowFont();

}  // namespace zarvik
