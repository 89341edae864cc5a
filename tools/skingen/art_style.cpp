#include "art_style.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPathStroker>

namespace skingen {

QRect builtinRect(zarvik::ImageId id) { return zarvik::toQRect(zarvik::kSkinImages[id].builtin); }

QImage blankPicture(QSize size) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

void paintInk(QPainter& p, const QPainterPath& path) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.fillPath(path.translated(1.0, 1.3), QColor(40, 50, 30, 46));
  const QRectF b = path.boundingRect();
  QLinearGradient ink(b.topLeft(), b.bottomRight());
  ink.setColorAt(0.0, kInkTop);
  ink.setColorAt(1.0, kInkBottom);
  p.fillPath(path, ink);
  p.restore();
}

QPainterPath strokeOf(const QPainterPath& line, double width, Qt::PenCapStyle cap) {
  QPainterPathStroker stroker;
  stroker.setWidth(width);
  stroker.setCapStyle(cap);
  stroker.setJoinStyle(Qt::RoundJoin);
  return stroker.createStroke(line).simplified();
}

QPainterPath fittedText(const QString& text, const QRectF& box, const QString& family, int weight) {
  QFont font(family);
  font.setPixelSize(100);
  font.setWeight(QFont::Weight(weight));
  QPainterPath path;
  path.addText(0, 0, font, text);
  const QRectF b = path.boundingRect();
  // Fill the height; condense (never widen) the letters to fit the width.
  const double sy = box.height() / b.height();
  const double sx = std::min(sy, box.width() / b.width());
  QTransform t;
  t.translate(box.center().x(), box.center().y());
  t.scale(sx, sy);
  t.translate(-b.center().x(), -b.center().y());
  return t.map(path);
}

}  // namespace skingen
