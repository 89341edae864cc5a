#include "fonts.h"

namespace zarvik {

QFont pixelFont(const QString& family, int pixels, int style) {
  QFont font(family);
  font.setPixelSize(pixels);
  font.setBold(style & Bold);
  font.setItalic(style & Italic);
  font.setUnderline(style & Underlined);
  return font;
}

}  // namespace zarvik
