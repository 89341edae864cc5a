#include "face_art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <array>
#include <random>

#include "art_style.h"

namespace skingen {
namespace {

using zarvik::ImageId;

const QColor kCaseTop{46, 66, 100};
const QColor kCaseBottom{20, 31, 54};
const QColor kCaseEdge{10, 16, 30};
const QColor kNavy{27, 40, 68};
const QColor kOrange{238, 128, 52};
const QColor kPlateTop{232, 234, 236};
const QColor kPlateBottom{190, 195, 201};
const QColor kInkPrint{27, 40, 68};

const QRectF kCase{2.5, 2.5, 556.0, 369.0};
const QRectF kPlate{13.0, 13.0, 535.0, 344.0};
const QRectF kFrame{124.0, 30.0, 306.0, 246.0};

enum class ButtonKind { Round, Oblong, Small };

ButtonKind kindOf(ImageId id) {
  using namespace zarvik;
  switch (id) {
    case btn_left_top: case btn_left_down: case btn_right_top: case btn_right_down:
      return ButtonKind::Round;
    case btn_set_top:
      return ButtonKind::Small;
    default:
      return ButtonKind::Oblong;
  }
}

QFont font(int pixelSize, int weight = 700, bool italic = false,
           const QString& family = QStringLiteral("Liberation Sans")) {
  QFont f(family);
  f.setPixelSize(pixelSize);
  f.setWeight(QFont::Weight(weight));
  f.setItalic(italic);
  f.setHintingPreference(QFont::PreferNoHinting);
  return f;
}

void drawCase(QPainter& p) {
  // The side wall of the case shows below its front, which gives it depth.
  QPainterPath body;
  body.addRoundedRect(kCase, 30, 30);
  QLinearGradient side(0, kCase.bottom() - 40, 0, kCase.bottom());
  side.setColorAt(0.0, kCaseBottom);
  side.setColorAt(1.0, kCaseEdge);
  p.fillPath(body, side);
  p.setPen(QPen(kCaseEdge, 1.2));
  p.setBrush(Qt::NoBrush);
  p.drawPath(body);
  // The front of the case, lit from above.
  const QRectF frontRect = kCase.adjusted(0.6, 0.6, -0.6, -6.0);
  QPainterPath front;
  front.addRoundedRect(frontRect, 29, 29);
  QLinearGradient g(0, frontRect.top(), 0, frontRect.bottom());
  g.setColorAt(0.0, kCaseTop);
  g.setColorAt(0.55, kCaseBottom.lighter(125));
  g.setColorAt(1.0, kCaseBottom);
  p.fillPath(front, g);
  QLinearGradient rim(0, frontRect.top(), 0, frontRect.bottom());
  rim.setColorAt(0.0, QColor(255, 255, 255, 110));
  rim.setColorAt(0.25, QColor(255, 255, 255, 24));
  rim.setColorAt(0.8, QColor(255, 255, 255, 0));
  rim.setColorAt(1.0, QColor(255, 255, 255, 40));
  p.setPen(QPen(QBrush(rim), 1.6));
  p.drawRoundedRect(frontRect.adjusted(1.5, 1.5, -1.5, -1.5), 27.5, 27.5);
}

void drawPlate(QPainter& p) {
  // The brushed metal front plate, sunk a little into the case.
  QPainterPath plate;
  plate.addRoundedRect(kPlate, 20, 20);
  p.fillPath(plate.translated(0, 1.5), QColor(255, 255, 255, 50));
  p.fillPath(plate.translated(0, -1.0), QColor(0, 0, 0, 110));
  QLinearGradient g(0, kPlate.top(), 0, kPlate.bottom());
  g.setColorAt(0.0, kPlateTop);
  g.setColorAt(1.0, kPlateBottom);
  p.fillPath(plate, g);
  p.save();
  p.setClipPath(plate);
  std::mt19937 brush(5);
  std::uniform_int_distribution<int> alpha(0, 14);
  for (int y = int(kPlate.top()); y < int(kPlate.bottom()); ++y) {
    const int a = alpha(brush);
    p.setPen(QPen(y % 2 ? QColor(255, 255, 255, a) : QColor(60, 64, 70, a / 2), 1.0));
    p.drawLine(QPointF(kPlate.left(), y + 0.5), QPointF(kPlate.right(), y + 0.5));
  }
  p.restore();
  p.setPen(QPen(QColor(110, 116, 124), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawPath(plate);
}

// The scene printed faintly behind the liquid crystal: the roof the catcher
// walks on and the street the balloons rise from.
void drawLcdPrint(QPainter& p) {
  p.save();
  p.setClipRect(kLcdRect);
  // A bank of cloud under the catcher's feet in his three places.
  auto feetLine = [](double x) {  // through the feet of the three columns
    return 126.6 + 0.0909 * (x - 254) + 0.000598 * (x - 254) * (x - 287);
  };
  QPainterPath cloud;
  cloud.setFillRule(Qt::WindingFill);
  const std::array<double, 12> puff = {5.0, 6.5, 5.5, 7.0, 6.0, 5.0, 6.8, 5.6, 6.4, 7.2, 5.4, 4.6};
  for (int i = 0; i < int(puff.size()); ++i) {
    const double x = 238 + i * 8.2;
    cloud.addEllipse(QPointF(x, feetLine(x) + 3.6 + (i % 2) * 1.6), puff[i] + 2.4, puff[i] * 0.8);
  }
  cloud = cloud.simplified();
  p.fillPath(cloud, QColor(255, 255, 255, 96));
  p.setPen(QPen(QColor(110, 124, 104, 80), 0.9));
  p.setBrush(Qt::NoBrush);
  p.drawPath(cloud);
  // The street: a strip of grass with tufts along its edge.
  const QRectF lcd(kLcdRect);
  const double ground = lcd.bottom() - 9;
  p.fillRect(QRectF(lcd.left(), ground, lcd.width(), lcd.bottom() - ground + 1), QColor(96, 140, 70, 44));
  // Tufts of three blades at uneven spacing and height.
  std::mt19937 random(7);
  std::uniform_real_distribution<double> step(7.0, 15.0), height(2.0, 4.2);
  p.setPen(QPen(QColor(80, 120, 60, 80), 0.9, Qt::SolidLine, Qt::RoundCap));
  for (double x = lcd.left() + 5; x < lcd.right() - 5; x += step(random)) {
    const double h = height(random);
    p.drawLine(QPointF(x - 1.4, ground + 0.5), QPointF(x - 2.6, ground - h * 0.7));
    p.drawLine(QPointF(x, ground + 0.5), QPointF(x + 0.3, ground - h));
    p.drawLine(QPointF(x + 1.4, ground + 0.5), QPointF(x + 2.7, ground - h * 0.6));
  }
  p.restore();
}

void drawLcdWindow(QPainter& p) {
  // The printed frame around the LCD, with its pin stripe and labels.
  QPainterPath frame;
  frame.addRoundedRect(kFrame, 14, 14);
  p.fillPath(frame, kNavy);
  p.setPen(QPen(kOrange, 1.2));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(kFrame.adjusted(4.5, 4.5, -4.5, -4.5), 10, 10);

  p.setPen(QColor(236, 238, 242));
  p.setFont(font(9, 700));
  const QRectF topBand(kFrame.left() + 16, kFrame.top() + 5, kFrame.width() - 32, 15);
  p.drawText(topBand, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("QUENDREL"));
  // Marks over the score digits and the miss marks below them.
  p.setFont(font(8, 400));
  auto above = [&](zarvik::ImageId first, zarvik::ImageId last, const QString& text) {
    const QRectF r = QRectF(builtinRect(first)).united(QRectF(builtinRect(last)));
    p.drawText(QRectF(r.left() - 10, topBand.top(), r.width() + 20, topBand.height()), Qt::AlignCenter, text);
  };
  above(zarvik::im_panel_digit_pos_1, zarvik::im_panel_digit_pos_4, QStringLiteral("SCORE \u00b7 TIME"));
  above(zarvik::im_panel_miss_01, zarvik::im_panel_miss_05, QStringLiteral("MISS"));
  const QRectF bottomBand(kFrame.left() + 16, kLcdRect.bottom() + 3, kFrame.width() - 32, 15);
  p.setFont(font(8, 400));
  p.drawText(bottomBand, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("\u25c0 MOVE"));
  p.drawText(bottomBand, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("MOVE \u25b6"));
  p.setPen(kOrange);
  p.setFont(font(8, 700));
  p.drawText(bottomBand, Qt::AlignCenter, QStringLiteral("MODEL ZV-50"));

  // The recess of the glass and the liquid crystal's reflector.
  const QRectF lcd(kLcdRect);
  p.fillRect(lcd.adjusted(-3, -3, 3, 3), QColor(8, 12, 22));
  p.fillRect(lcd.adjusted(-3, lcd.height() + 1, 3, 3), QColor(70, 84, 110));
  QLinearGradient g(lcd.topLeft(), lcd.bottomRight());
  g.setColorAt(0.0, kLcdLight);
  g.setColorAt(1.0, kLcdDark);
  p.fillRect(lcd, g);
  drawLcdPrint(p);
}

void drawRoundHole(QPainter& p, QPointF c, const QString& label, bool arrowLeft) {
  // A printed disc with an arrow mark, and the hole of the big button.
  p.setPen(Qt::NoPen);
  p.setBrush(kNavy);
  p.drawEllipse(c, 30, 30);
  p.setPen(QPen(kOrange, 1.2));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(c, 27, 27);
  QRadialGradient hole(c + QPointF(0, -3), 23);
  hole.setColorAt(0.0, QColor(4, 6, 12));
  hole.setColorAt(0.85, QColor(14, 18, 28));
  hole.setColorAt(1.0, QColor(60, 70, 90));
  p.setPen(Qt::NoPen);
  p.setBrush(hole);
  p.drawEllipse(c, 20.6, 20.6);
  p.setPen(kInkPrint);
  p.setFont(font(11, 700));
  const QRectF labelBox(c.x() - 40, c.y() + 33, 80, 14);
  p.drawText(labelBox, Qt::AlignCenter, label);
  // Arrow printed on the plate above the disc.
  const double d = arrowLeft ? -1 : 1;
  QPolygonF arrow{c + QPointF(d * 8, -40), c + QPointF(-d * 4, -46), c + QPointF(-d * 4, -34)};
  p.setBrush(kOrange);
  p.setPen(Qt::NoPen);
  p.drawPolygon(arrow);
}

void drawOblongHole(QPainter& p, const QRectF& box) {
  QPainterPath hole;
  hole.addRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
  QLinearGradient g(0, box.top(), 0, box.bottom());
  g.setColorAt(0.0, QColor(6, 8, 14));
  g.setColorAt(1.0, QColor(40, 48, 64));
  p.fillPath(hole, g);
}

void drawSmallHole(QPainter& p, QPointF c) {
  QRadialGradient g(c + QPointF(0, -2), 13);
  g.setColorAt(0.0, QColor(6, 8, 14));
  g.setColorAt(0.8, QColor(18, 22, 32));
  g.setColorAt(1.0, QColor(90, 96, 108));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawEllipse(c, 12, 12);
}

void drawControls(QPainter& p) {
  using namespace zarvik;
  drawRoundHole(p, QRectF(builtinRect(btn_left_top)).center(), QStringLiteral("LEFT"), true);
  drawRoundHole(p, QRectF(builtinRect(btn_right_top)).center(), QStringLiteral("RIGHT"), false);

  // The printed panel that holds Game A, Game B and Time, with their labels.
  const QRectF a(builtinRect(btn_game_a_top)), b(builtinRect(btn_game_b_top)), t(builtinRect(btn_time_top));
  const QRectF panel(a.left() - 12, a.top() - 20, t.right() - a.left() + 24, a.height() + 30);
  p.setPen(Qt::NoPen);
  p.setBrush(kNavy);
  p.drawRoundedRect(panel, 9, 9);
  p.setPen(QPen(kOrange, 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(panel.adjusted(3, 3, -3, -3), 6, 6);
  p.setPen(QColor(236, 238, 242));
  p.setFont(font(9, 700));
  for (const auto& [box, label] : {std::pair{a, QStringLiteral("GAME A")}, std::pair{b, QStringLiteral("GAME B")},
                                   std::pair{t, QStringLiteral("TIME")}})
    p.drawText(QRectF(box.left() - 10, box.top() - 16, box.width() + 20, 13), Qt::AlignCenter, label);
  for (const QRectF& box : {a, b, t}) drawOblongHole(p, box);

  const QRectF set(builtinRect(btn_set_top));
  drawSmallHole(p, set.center());
  p.setPen(kInkPrint);
  p.setFont(font(8, 700));
  p.drawText(QRectF(set.left() - 10, set.top() - 14, set.width() + 20, 11), Qt::AlignCenter, QStringLiteral("SET"));
}

void drawBranding(QPainter& p) {
  // Word mark at the bottom left, with the tag line under it.
  QPainterPath mark;
  mark.addText(0, 0, font(34, 900, true), QStringLiteral("ZARVIK"));
  const QRectF mb = mark.boundingRect();
  mark.translate(QPointF(32, 334) - QPointF(mb.left(), mb.bottom()));
  p.fillPath(mark.translated(1.2, 1.6), QColor(255, 255, 255, 160));
  p.fillPath(mark, kNavy);
  p.setPen(QPen(kOrange, 2.2));
  p.drawLine(QPointF(34, 341), QPointF(32 + mb.width(), 341));
  p.setPen(kInkPrint);
  p.setFont(font(8, 400));
  p.drawText(QRectF(34, 344, 200, 11), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("POCKET LCD  \u00b7  CATCH GAME & WATCH"));

  // A little printed picture of the game at the top left: balloons rising.
  const std::array<std::pair<QPointF, QColor>, 3> balloons = {{
      {{54, 66}, QColor(226, 76, 58)}, {{76, 56}, QColor(244, 170, 46)}, {{94, 74}, QColor(66, 128, 196)}}};
  for (const auto& [c, colour] : balloons) {
    p.setPen(QPen(QColor(80, 86, 96), 1.0));
    p.drawLine(c + QPointF(0, 11), QPointF(74, 112));
    QRadialGradient g(c + QPointF(-3, -4), 13);
    g.setColorAt(0.0, colour.lighter(150));
    g.setColorAt(1.0, colour.darker(115));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, 9, 11);
  }
  p.setPen(kInkPrint);
  p.setFont(font(9, 700));
  p.drawText(QRectF(20, 116, 110, 12), Qt::AlignCenter, QStringLiteral("BALLOON CATCH"));

  // Speaker grille at the top right.
  p.setPen(Qt::NoPen);
  for (int row = 0; row < 5; ++row)
    for (int col = 0; col < 7; ++col) {
      const QPointF c(458 + col * 10 + (row % 2) * 5, 54 + row * 10);
      p.setBrush(QColor(255, 255, 255, 140));
      p.drawEllipse(c + QPointF(0, 0.8), 2.4, 2.4);
      p.setBrush(QColor(20, 26, 38));
      p.drawEllipse(c, 2.4, 2.4);
    }
}

// The caps of the buttons, drawn into a painter already placed at the face.
void drawCap(QPainter& p, ImageId id, bool pressed) {
  const QRectF box(builtinRect(id));
  const QPointF c = box.center();
  const double sink = pressed ? 1.2 : 0.0;
  p.setPen(Qt::NoPen);
  switch (kindOf(id)) {
    case ButtonKind::Round: {
      const double r = pressed ? 16.4 : 17.3;
      if (!pressed) {
        p.setBrush(QColor(0, 0, 0, 120));
        p.drawEllipse(c + QPointF(0, 2.0), r, r);
      }
      QRadialGradient g(c + QPointF(-5, -7 + sink), r * 1.5);
      g.setColorAt(0.0, pressed ? QColor(214, 100, 70) : QColor(255, 170, 130));
      g.setColorAt(0.45, pressed ? QColor(178, 54, 30) : QColor(232, 86, 52));
      g.setColorAt(1.0, pressed ? QColor(104, 24, 12) : QColor(150, 40, 22));
      p.setBrush(g);
      p.drawEllipse(c + QPointF(0, sink), r, r);
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(QColor(255, 255, 255, pressed ? 30 : 80), 1.2));
      p.drawArc(QRectF(c.x() - r + 3, c.y() - r + 3 + sink, 2 * r - 6, 2 * r - 6), 40 * 16, 100 * 16);
      break;
    }
    case ButtonKind::Oblong: {
      QRectF cap = box.adjusted(3, 2.5, -3, -3.5).translated(0, sink);
      if (pressed) cap.adjust(0.5, 0.5, -0.5, 0);
      if (!pressed) {
        p.setBrush(QColor(0, 0, 0, 140));
        p.drawRoundedRect(cap.translated(0, 1.6), 7.5, 7.5);
      }
      QLinearGradient g(0, cap.top(), 0, cap.bottom());
      g.setColorAt(0.0, pressed ? QColor(60, 64, 72) : QColor(104, 110, 122));
      g.setColorAt(0.5, pressed ? QColor(34, 37, 43) : QColor(52, 56, 64));
      g.setColorAt(1.0, pressed ? QColor(22, 24, 28) : QColor(30, 32, 38));
      p.setBrush(g);
      p.drawRoundedRect(cap, 7.5, 7.5);
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(QColor(255, 255, 255, pressed ? 20 : 60), 1.0));
      p.drawLine(QPointF(cap.left() + 6, cap.top() + 2), QPointF(cap.right() - 6, cap.top() + 2));
      break;
    }
    case ButtonKind::Small: {
      p.setBrush(QColor(0, 0, 0, 120));
      p.drawEllipse(c + QPointF(0, 1.5), 8.6, 8.6);
      QRadialGradient g(c + QPointF(-2.5, -3.5), 12);
      g.setColorAt(0.0, QColor(120, 126, 138));
      g.setColorAt(1.0, QColor(26, 28, 34));
      p.setBrush(g);
      p.drawEllipse(c, 8.6, 8.6);
      break;
    }
  }
}

}  // namespace

QImage drawFaceBase() {
  QImage art = blankPicture(kFaceRect.size());
  QPainter p(&art);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  drawCase(p);
  drawPlate(p);
  drawLcdWindow(p);
  drawControls(p);
  drawBranding(p);
  p.end();
  // The window's outline is binary: each pixel is either case or key colour,
  // so that no pink fringe shows around the antialiased rim.
  art = art.convertToFormat(QImage::Format_ARGB32);
  QImage face(art.size(), QImage::Format_RGB32);
  for (int y = 0; y < art.height(); ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(art.constScanLine(y));
    auto* to = reinterpret_cast<QRgb*>(face.scanLine(y));
    for (int x = 0; x < art.width(); ++x)
      to[x] = qAlpha(from[x]) >= 128 ? (from[x] | 0xff000000u) : kFaceKey.rgb();
  }
  return face;
}

QImage drawFace(const QImage& faceBase) {
  using namespace zarvik;
  QImage face = faceBase;
  QPainter p(&face);
  p.setRenderHint(QPainter::Antialiasing);
  for (ImageId id : {btn_game_a_top, btn_game_b_top, btn_time_top, btn_set_top, btn_left_top, btn_right_top})
    drawCap(p, id, false);
  return face;
}

QImage drawOverlay() {
  const QRect box = builtinRect(zarvik::im_background_screen_top);
  QImage overlay = blankPicture(box.size());
  QPainter p(&overlay);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r(QPointF(0, 0), QSizeF(box.size()));
  // The frame's shadow falls on the crystal at the top and left edges.
  QLinearGradient top(0, 0, 0, 7);
  top.setColorAt(0.0, QColor(20, 30, 20, 90));
  top.setColorAt(1.0, QColor(20, 30, 20, 0));
  p.fillRect(QRectF(0, 0, r.width(), 7), top);
  QLinearGradient left(0, 0, 5, 0);
  left.setColorAt(0.0, QColor(20, 30, 20, 70));
  left.setColorAt(1.0, QColor(20, 30, 20, 0));
  p.fillRect(QRectF(0, 0, 5, r.height()), left);
  // A faint light line along the bottom and right edges of the glass.
  p.setPen(QPen(QColor(255, 255, 255, 60), 1.0));
  p.drawLine(QPointF(1, r.height() - 0.5), QPointF(r.width(), r.height() - 0.5));
  p.drawLine(QPointF(r.width() - 0.5, 1), QPointF(r.width() - 0.5, r.height()));
  // A soft diagonal sheen across the upper left of the glass.
  QPainterPath sheen;
  sheen.moveTo(0, 0);
  sheen.lineTo(120, 0);
  sheen.lineTo(0, 110);
  sheen.closeSubpath();
  QLinearGradient shine(0, 0, 70, 70);
  shine.setColorAt(0.0, QColor(255, 255, 255, 34));
  shine.setColorAt(1.0, QColor(255, 255, 255, 0));
  p.fillPath(sheen, shine);
  return overlay;
}

QImage drawButton(const QImage& faceBase, ImageId id) {
  const QRect box = builtinRect(id);
  QImage picture = faceBase.copy(box).convertToFormat(QImage::Format_RGB32);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(-box.topLeft());
  drawCap(p, id, zarvik::kSkinImages[id].role == zarvik::ImageRole::Pressed);
  return picture;
}

}  // namespace skingen
