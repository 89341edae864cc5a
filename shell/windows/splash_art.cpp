#include "splash_art.h"

#include <QPainter>
#include <QPainterPath>

#include "fonts.h"

namespace zarvik::splash {

QPixmap drawBackground() {
  QPixmap picture(kWidth, kHeight);
  picture.fill(Qt::white);
  QPainter p(&picture);
  p.fillRect(0, 0, kWidth, 56, kDarkBlue);           // behind title and version
  p.fillRect(0, 56, kWidth, 160, kLightBlue);        // behind the box picture
  p.fillRect(0, 56, kWidth, 2, kDarkBlue.lighter(160));
  p.fillRect(0, 214, kWidth, 2, kDarkBlue.lighter(160));
  p.fillRect(0, 382, kWidth, kHeight - 382, kDarkBlue);  // behind the check box
  return picture;
}

namespace {

// A drawn handheld for a skin without a face picture.
QImage drawPlainHandheld(QSize size) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF body(0.5, 0.5, size.width() - 1, size.height() - 1);
  p.setBrush(QColor(196, 40, 40));
  p.setPen(QColor(90, 20, 20));
  p.drawRoundedRect(body, 8, 8);
  const QRectF screen(body.width() * 0.27, body.height() * 0.13, body.width() * 0.46,
                      body.height() * 0.55);
  p.setBrush(QColor(200, 206, 170));
  p.drawRect(screen);
  p.setBrush(QColor(40, 40, 40));
  p.drawEllipse(QPointF(body.width() * 0.12, body.height() * 0.62), 6, 6);
  p.drawEllipse(QPointF(body.width() * 0.88, body.height() * 0.62), 6, 6);
  for (int i = 0; i < 3; ++i)
    p.drawRoundedRect(QRectF(body.width() * (0.52 + 0.11 * i), body.height() * 0.82, 12, 6), 2, 2);
  return image;
}

}  // namespace

QPixmap drawBox(const QImage& handheldPicture) {
  QPixmap picture(kBoxSize);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  const int depth = 26;
  const QRectF front(2, depth + 1, kBoxSize.width() - depth - 4, kBoxSize.height() - depth - 3);

  QPainterPath lid;
  lid.moveTo(front.topLeft());
  lid.lineTo(front.left() + depth, front.top() - depth);
  lid.lineTo(front.right() + depth, front.top() - depth);
  lid.lineTo(front.topRight());
  lid.closeSubpath();
  QPainterPath side;
  side.moveTo(front.topRight());
  side.lineTo(front.right() + depth, front.top() - depth);
  side.lineTo(front.right() + depth, front.bottom() - depth);
  side.lineTo(front.bottomRight());
  side.closeSubpath();

  p.setPen(QPen(QColor(10, 20, 40), 1));
  p.setBrush(QColor(32, 72, 140));
  p.drawPath(lid);
  p.setBrush(QColor(16, 44, 96));
  p.drawPath(side);
  QLinearGradient shine(front.topLeft(), front.bottomRight());
  shine.setColorAt(0, QColor(232, 236, 244));
  shine.setColorAt(1, QColor(176, 190, 214));
  p.setBrush(shine);
  p.drawRect(front);

  const QRectF band(front.left(), front.top(), front.width(), 17);
  p.fillRect(band.adjusted(1, 1, 0, 0), kDarkBlue);
  p.setPen(Qt::white);
  QFont name = arial(12, Bold);
  name.setLetterSpacing(QFont::AbsoluteSpacing, 2);
  p.setFont(name);
  p.drawText(band, Qt::AlignCenter, QStringLiteral("ZARVIK"));

  const QRectF window = front.adjusted(8, 22, -8, -6);
  const QImage face = handheldPicture.isNull() ? drawPlainHandheld(window.size().toSize())
                                               : handheldPicture;
  const QSizeF fitted = QSizeF(face.size()).scaled(window.size(), Qt::KeepAspectRatio);
  const QRectF placed(window.center() - QPointF(fitted.width() / 2, fitted.height() / 2), fitted);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(placed, face);
  return picture;
}

QPixmap drawButton(QColor top, QColor bottom, QColor text, const QString& caption, bool pressed) {
  QPixmap picture(kButtonSize);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF face = QRectF(0.5, 0.5, kButtonSize.width() - 1, kButtonSize.height() - 1);
  QLinearGradient fill(face.topLeft(), face.bottomLeft());
  fill.setColorAt(0, pressed ? bottom : top);
  fill.setColorAt(1, pressed ? top : bottom);
  p.setBrush(fill);
  p.setPen(QPen(bottom.darker(150), 1));
  p.drawRoundedRect(face, 9, 9);
  p.setFont(arial(15, Bold));
  p.setPen(text);
  p.drawText(face.translated(pressed ? 1 : 0, pressed ? 1 : 0), Qt::AlignCenter, caption);
  return picture;
}

}  // namespace zarvik::splash
