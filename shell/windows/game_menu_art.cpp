#include "game_menu_art.h"

#include <QPainter>

#include "fonts.h"

namespace zarvik {

QImage drawGameMenuBackground(bool withCaption) {
  QImage picture(256, 512, QImage::Format_ARGB32_Premultiplied);
  picture.fill(QColor(0, 0, 0, 204));
  QPainter p(&picture);
  p.fillRect(0, 0, 256, 32, Qt::black);
  for (const int y : {10, 15, 20}) p.fillRect(8, y, 20, 1, Qt::white);
  if (!withCaption) return picture;
  p.setPen(Qt::white);
  p.setFont(arial(15));  // capitals and ascenders about 12 pixels high
  p.drawText(QRect(36, 0, 220, 32), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Game menu"));
  return picture;
}

QFont gameMenuRowFont() { return arial(14); }

}  // namespace zarvik
