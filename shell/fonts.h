#pragma once
// The fonts the windows are drawn with, built one way: a family at a size
// in pixels (the size of the characters, not of the cell) and a style.

#include <QFont>

namespace zarvik {

enum FontStyle { Regular = 0, Bold = 1, Italic = 2, Underlined = 4 };

QFont pixelFont(const QString& family, int pixels, int style = Regular);
inline QFont arial(int pixels, int style = Regular) { return pixelFont(QStringLiteral("Arial"), pixels, style); }

}  // namespace zarvik
