#include "fullscreen_art.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <array>
#include <random>

namespace skingen {
namespace {

QFont wordFont(int pixelSize, int weight, bool italic) {
  QFont f(QStringLiteral("Liberation Sans"));
  f.setPixelSize(pixelSize);
  f.setWeight(QFont::Weight(weight));
  f.setItalic(italic);
  f.setHintingPreference(QFont::PreferNoHinting);
  return f;
}

void drawBalloon(QPainter& p, QPointF c, double r, QColor colour) {
  p.setPen(QPen(QColor(colour.red(), colour.green(), colour.blue(), colour.alpha() / 2), r / 9));
  QPainterPath string;
  string.moveTo(c + QPointF(0, r * 1.2));
  string.cubicTo(c + QPointF(r * 0.3, r * 1.8), c + QPointF(-r * 0.3, r * 2.4), c + QPointF(0, r * 3.0));
  p.setBrush(Qt::NoBrush);
  p.drawPath(string);
  QRadialGradient g(c + QPointF(-r * 0.35, -r * 0.45), r * 1.4);
  g.setColorAt(0.0, colour.lighter(160));
  g.setColorAt(1.0, colour);
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawEllipse(c, r, r * 1.18);
}

}  // namespace

QImage drawBackdrop() {
  const QSize size(1920, 1080);
  const QPointF centre(size.width() / 2.0, size.height() / 2.0);
  QImage image(size, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  // Evening sky, lightest behind the face, that reaches the window's colour
  // before every edge, so that no seam shows on a larger screen.
  QRadialGradient sky(QPointF(0, 0), 1.0);
  sky.setColorAt(0.0, QColor(56, 84, 130));
  sky.setColorAt(0.5, QColor(32, 50, 86));
  sky.setColorAt(0.96, kBackdropColour);
  QBrush brush(sky);
  brush.setTransform(QTransform::fromTranslate(centre.x(), centre.y()).scale(centre.x(), centre.y()));
  p.fillRect(image.rect(), brush);
  // Distant balloons drifting up, faint so that the face stays in front,
  // and none near the edges.
  std::mt19937 random(50);
  std::uniform_real_distribution<double> x(0, size.width()), y(0, size.height()), radius(10, 34), hue(0, 359);
  for (int i = 0; i < 60; ++i) {
    const QPointF c(x(random), y(random));
    const double r = radius(random);
    QColor colour = QColor::fromHsv(int(hue(random)), 120, 200);
    const QPointF d = c - centre;
    const double fromCentre = std::hypot(d.x() / centre.x(), d.y() / centre.y());
    if (fromCentre > 0.8) continue;
    colour.setAlpha(int(std::clamp(110 * fromCentre, 16.0, 70.0)));
    drawBalloon(p, c, r, colour);
  }
  p.end();
  return image;
}

QImage drawLogo() {
  QImage image(300, 92, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  drawBalloon(p, {34, 36}, 17, QColor(226, 76, 58));
  drawBalloon(p, {56, 28}, 13, QColor(244, 170, 46));
  QPainterPath word;
  word.addText(80, 58, wordFont(52, 900, true), QStringLiteral("ZARVIK"));
  p.fillPath(word.translated(2, 3), QColor(0, 0, 0, 110));
  QLinearGradient g(0, 14, 0, 60);
  g.setColorAt(0.0, QColor(255, 255, 255));
  g.setColorAt(1.0, QColor(200, 210, 228));
  p.fillPath(word, g);
  p.setPen(QColor(238, 128, 52));
  p.setFont(wordFont(15, 700, false));
  p.drawText(QRectF(82, 64, 216, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("QUENDREL  \u00b7  POCKET LCD"));
  p.end();
  return image.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace skingen
