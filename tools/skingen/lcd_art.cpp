#include "lcd_art.h"

#include <QPainter>
#include <QtMath>
#include <array>

#include "art_style.h"

namespace skingen {
namespace {

using zarvik::ImageId;

// ---- Seven-segment digits -------------------------------------------------

// Segments a (top), b, c (right, top to bottom), d (bottom), e, f (left,
// bottom to top), g (middle), as bits.
constexpr std::array<int, 10> kDigitSegments = {
    0b0111111, 0b0000110, 0b1011011, 0b1001111, 0b1100110,
    0b1101101, 0b1111101, 0b0000111, 0b1111111, 0b1101111};

QPainterPath digitShape(int digit, QPointF origin) {
  const double left = 3.2, right = 12.4, top = 3.0, middle = 13.5, bottom = 24.0;
  const double t = 2.7, gap = 0.55;
  // A slight forward lean, as printed LCD digits have.
  auto at = [&](double x, double y) { return origin + QPointF(x + (middle - y) * 0.085, y); };
  auto horizontal = [&](double y) {
    const double x0 = left + gap, x1 = right - gap;
    return QPolygonF{at(x0, y), at(x0 + t / 2, y - t / 2), at(x1 - t / 2, y - t / 2),
                     at(x1, y), at(x1 - t / 2, y + t / 2), at(x0 + t / 2, y + t / 2)};
  };
  auto vertical = [&](double x, double y0, double y1) {
    y0 += gap;
    y1 -= gap;
    return QPolygonF{at(x, y0), at(x + t / 2, y0 + t / 2), at(x + t / 2, y1 - t / 2),
                     at(x, y1), at(x - t / 2, y1 - t / 2), at(x - t / 2, y0 + t / 2)};
  };
  const std::array<QPolygonF, 7> segments = {
      horizontal(top),           vertical(right, top, middle), vertical(right, middle, bottom),
      horizontal(bottom),        vertical(left, middle, bottom), vertical(left, top, middle),
      horizontal(middle)};
  QPainterPath path;
  path.setFillRule(Qt::WindingFill);
  for (int s = 0; s < 7; ++s)
    if (kDigitSegments[digit] & (1 << s)) path.addPolygon(segments[s]);
  return path;
}

// ---- Indicators -----------------------------------------------------------

QPainterPath indicatorText(ImageId id, const QString& text) {
  const QRectF box = QRectF(builtinRect(id)).adjusted(1.0, 2.0, -1.5, -2.0);
  return fittedText(text, box, QStringLiteral("Liberation Sans Narrow"));
}

QPainterPath bellShape() {
  const QPointF c = QRectF(builtinRect(zarvik::im_panel_bell)).center() + QPointF(-0.5, -0.5);
  QPainterPath bell;
  bell.moveTo(c + QPointF(-1.2, -7.0));
  bell.cubicTo(c + QPointF(-5.6, -6.6), c + QPointF(-5.0, -1.0), c + QPointF(-5.4, 2.6));
  bell.lineTo(c + QPointF(-7.0, 4.6));
  bell.lineTo(c + QPointF(7.0, 4.6));
  bell.lineTo(c + QPointF(5.4, 2.6));
  bell.cubicTo(c + QPointF(5.0, -1.0), c + QPointF(5.6, -6.6), c + QPointF(1.2, -7.0));
  bell.closeSubpath();
  bell.addEllipse(c + QPointF(0, -7.6), 1.5, 1.3);
  bell.addEllipse(c + QPointF(0, 6.4), 2.0, 1.6);
  // A ringing stroke at the right; the left side stays clear of GAME A.
  QPainterPath waves;
  waves.moveTo(c + QPointF(7.6, -5.2));
  waves.quadTo(c + QPointF(9.2, -3.2), c + QPointF(8.6, -1.0));
  return bell.united(strokeOf(waves, 1.2));
}

QPainterPath colonShape() {
  const QRectF box(builtinRect(zarvik::im_panel_time_colon));
  const double x = box.center().x() - 0.5;
  QPainterPath path;
  path.addRoundedRect(QRectF(x - 1.4, box.top() + 3.2, 2.8, 2.8), 0.6, 0.6);
  path.addRoundedRect(QRectF(x - 1.9, box.top() + 10.0, 2.8, 2.8), 0.6, 0.6);
  return path;
}

// ---- Theme shapes: balloons, birds, pops and sparkles ---------------------

// A star of `points` tips between the two radii.
QPolygonF star(QPointF c, int points, double outer, double inner) {
  QPolygonF p;
  for (int i = 0; i < 2 * points; ++i) {
    const double a = M_PI * i / points - M_PI / 2;
    const double r = (i % 2) ? inner : outer;
    p << c + QPointF(r * std::cos(a), r * std::sin(a));
  }
  return p;
}

// A balloon with its knot and string; c is the centre of the balloon.
QPainterPath balloonShape(QPointF c, double stringLength, int sway) {
  QPainterPath body;
  body.moveTo(c + QPointF(0, -7.2));
  body.cubicTo(c + QPointF(4.6, -7.2), c + QPointF(6.6, -3.0), c + QPointF(6.0, 0.8));
  body.cubicTo(c + QPointF(5.4, 4.4), c + QPointF(2.2, 6.8), c + QPointF(0, 7.0));
  body.cubicTo(c + QPointF(-2.2, 6.8), c + QPointF(-5.4, 4.4), c + QPointF(-6.0, 0.8));
  body.cubicTo(c + QPointF(-6.6, -3.0), c + QPointF(-4.6, -7.2), c + QPointF(0, -7.2));
  body.closeSubpath();
  // The shine of the rubber is a clear spot of the crystal.
  QPainterPath shine;
  shine.addEllipse(c + QPointF(-2.6, -3.4), 1.3, 2.0);
  body = body.subtracted(shine);
  QPainterPath knot;
  knot.addPolygon(QPolygonF{c + QPointF(0, 6.2), c + QPointF(1.9, 8.6), c + QPointF(-1.9, 8.6)});
  knot.closeSubpath();
  QPainterPath string;
  const QPointF s0 = c + QPointF(0, 8.6);
  string.moveTo(s0);
  string.cubicTo(s0 + QPointF(sway * 2.2, stringLength * 0.35), s0 + QPointF(-sway * 2.2, stringLength * 0.65),
                 s0 + QPointF(sway * 0.8, stringLength));
  return body.united(knot).united(strokeOf(string, 1.1));
}

// A gull in flight with its sharp beak turned down to the balloons.
QPainterPath birdShape(QPointF c) {
  QPainterPath wings;
  wings.moveTo(c + QPointF(-10.5, 0.5));
  wings.quadTo(c + QPointF(-7.5, -5.0), c + QPointF(-3.5, -3.0));
  wings.quadTo(c + QPointF(-1.5, -1.8), c + QPointF(0, 0.2));
  wings.quadTo(c + QPointF(1.5, -1.8), c + QPointF(3.5, -3.0));
  wings.quadTo(c + QPointF(7.5, -5.0), c + QPointF(10.5, 0.5));
  QPainterPath body;
  body.addEllipse(c + QPointF(0, 1.0), 2.4, 2.6);
  QPainterPath beak;
  beak.addPolygon(QPolygonF{c + QPointF(-1.3, 2.8), c + QPointF(1.3, 2.8), c + QPointF(0, 6.6)});
  beak.closeSubpath();
  return strokeOf(wings, 2.0).united(body).united(beak);
}

// A burst balloon: a ragged flash with torn scraps flying off.
QPainterPath popShape(QPointF c, double radius) {
  // Tips of uneven length, so that it reads as a bang and not as a cog.
  constexpr std::array<double, 10> reach = {1.0, 0.72, 0.94, 0.66, 1.0, 0.78, 0.9, 0.64, 0.98, 0.74};
  QPolygonF flash;
  for (int i = 0; i < 20; ++i) {
    const double a = M_PI * i / 10 - M_PI / 2 + 0.1;
    const double r = (i % 2) ? radius * 0.42 : radius * reach[i / 2];
    flash << c + QPointF(r * std::cos(a), r * std::sin(a));
  }
  QPainterPath path;
  path.addPolygon(flash);
  path.closeSubpath();
  QPainterPath hole;
  hole.addEllipse(c, radius * 0.2, radius * 0.2);
  return path.subtracted(hole);
}

// A miss mark: a little balloon split by a jagged crack.
QPainterPath missMarkShape(QPointF c) {
  QPainterPath body;
  body.addEllipse(c + QPointF(0, -1.6), 4.6, 5.4);
  body.addPolygon(QPolygonF{c + QPointF(-1.5, 4.8), c + QPointF(1.5, 4.8), c + QPointF(0, 3.2)});
  QPainterPath crack;
  crack.moveTo(c + QPointF(-5.0, -5.6));
  crack.lineTo(c + QPointF(-1.2, -2.6));
  crack.lineTo(c + QPointF(-2.4, -0.6));
  crack.lineTo(c + QPointF(1.6, 1.0));
  crack.lineTo(c + QPointF(0.8, 2.2));
  crack.lineTo(c + QPointF(5.0, 3.4));
  QPainterPath string;
  string.moveTo(c + QPointF(0, 4.8));
  string.cubicTo(c + QPointF(1.6, 6.4), c + QPointF(-1.6, 7.4), c + QPointF(0.4, 9.0));
  return body.simplified().subtracted(strokeOf(crack, 1.3)).united(strokeOf(string, 1.0));
}

// Twinkles: one big four-pointed star and two small ones.
QPainterPath sparkleShape(QPointF c, double radius) {
  QPainterPath path;
  path.setFillRule(Qt::WindingFill);
  path.addPolygon(star(c, 4, radius, radius * 0.26));
  path.addPolygon(star(c + QPointF(radius * 0.95, -radius * 0.75), 4, radius * 0.42, radius * 0.12));
  path.addPolygon(star(c + QPointF(-radius * 0.9, radius * 0.8), 4, radius * 0.36, radius * 0.1));
  return path.simplified();
}

// ---- The catcher ----------------------------------------------------------

// One column of the hero: where the figure stands, the side its net is on,
// and where the hand and the tip of the net are in the rest pose (net held
// up) and in the catch pose (net swung down at the balloon).
struct HeroColumn {
  QPointF feet;
  int facing;  // -1 left, +1 right
  QPointF restHand, restTip;
  QPointF catchHand, catchTip;

  // End of the upper arm on the net side, lit in both poses.
  QPointF elbow() const { return feet + QPointF(facing * 5.8, -4.8); }
};

const std::array<HeroColumn, 3> kHeroColumns = {{
    {{254, 126}, -1, {243.5, 111.5}, {230.5, 94.0}, {238.5, 127.0}, {216.5, 144.5}},
    {{287, 129}, -1, {277.0, 116.0}, {272.5, 103.0}, {272.5, 136.0}, {263.5, 157.0}},
    {{311, 132}, +1, {322.0, 116.5}, {334.5, 101.5}, {325.5, 133.0}, {348.0, 145.5}},
}};

QPainterPath heroBody(const HeroColumn& h) {
  const QPointF f = h.feet;
  const int d = h.facing;
  QPainterPath path;
  path.setFillRule(Qt::WindingFill);
  const QPointF head = f + QPointF(0, -14.4);
  path.addEllipse(head, 4.6, 4.2);
  // A cap with its peak to the net side.
  QPainterPath cap;
  cap.moveTo(head + QPointF(-4.9, -0.8));
  cap.cubicTo(head + QPointF(-4.9, -5.9), head + QPointF(4.9, -5.9), head + QPointF(4.9, -0.8));
  cap.lineTo(head + QPointF(d * 7.8, -0.4));
  cap.lineTo(head + QPointF(d * 7.6, -2.0));
  cap.closeSubpath();
  path.addPath(cap);
  // Torso, legs and shoes.
  path.addRoundedRect(QRectF(f + QPointF(-4.0, -10.4), QSizeF(8.0, 6.2)), 2.0, 2.0);
  path.addRoundedRect(QRectF(f + QPointF(-3.7, -4.9), QSizeF(3.0, 4.3)), 0.6, 0.6);
  path.addRoundedRect(QRectF(f + QPointF(0.7, -4.9), QSizeF(3.0, 4.3)), 0.6, 0.6);
  path.addEllipse(f + QPointF(-2.2 + d * 0.7, -0.6), 2.2, 1.1);
  path.addEllipse(f + QPointF(2.2 + d * 0.7, -0.6), 2.2, 1.1);
  // The free arm hangs at the other side; the upper arm on the net side.
  QPainterPath arms;
  arms.moveTo(f + QPointF(-d * 3.4, -9.4));
  arms.lineTo(f + QPointF(-d * 5.6, -5.4));
  arms.moveTo(f + QPointF(d * 3.4, -9.4));
  arms.lineTo(h.elbow());
  path.addPath(strokeOf(arms, 2.2));
  // The face is clear crystal: an eye on the net side, under the peak.
  QPainterPath eye;
  eye.addEllipse(head + QPointF(d * 2.0, 0.9), 0.8, 1.0);
  return path.simplified().subtracted(eye);
}

// The forearm, the pole and the butterfly net: a round hoop at the pole's
// end with a short mesh bag hanging from it.
QPainterPath netArm(QPointF elbow, QPointF hand, QPointF tip) {
  auto unit = [](QPointF v) { return v / std::hypot(v.x(), v.y()); };
  const QPointF toHand = unit(hand - elbow);
  QPainterPath arm;
  arm.moveTo(elbow + toHand * 2.6);  // a clear gap after the upper arm
  arm.lineTo(hand);
  const QPointF u = unit(tip - hand);
  const double r = 5.2;
  const QPointF hoop = tip - u * r;
  QPainterPath pole;
  pole.moveTo(hand - u * 0.6);
  pole.lineTo(hoop - u * (r - 0.4));
  QPainterPath outer, inner;
  outer.addEllipse(hoop, r, r);
  inner.addEllipse(hoop, r - 1.4, r - 1.4);
  QPainterPath mesh;
  for (double k : {-1.6, 1.6}) {
    mesh.moveTo(hoop + QPointF(k - r, -r));
    mesh.lineTo(hoop + QPointF(k + r, r));
    mesh.moveTo(hoop + QPointF(k + r, -r));
    mesh.lineTo(hoop + QPointF(k - r, r));
  }
  return strokeOf(arm, 2.2)
      .united(strokeOf(pole, 1.4))
      .united(outer.subtracted(inner))
      .united(strokeOf(mesh, 0.7).intersected(inner));
}

// ---- Balloon places -------------------------------------------------------

// Centre of the balloon at each step of each lane, and the string's sway.
const std::array<std::array<QPointF, 5>, 3> kBalloonSteps = {{
    {{{222.0, 228.5}, {190.0, 227.5}, {189.0, 202.0}, {191.0, 177.0}, {197.0, 153.0}}},
    {{{251.0, 228.5}, {286.0, 229.0}, {288.0, 205.0}, {286.0, 181.0}, {288.0, 157.0}}},
    {{{340.0, 229.5}, {371.0, 230.0}, {373.0, 205.0}, {370.0, 180.0}, {362.0, 155.0}}},
}};

const std::array<QPointF, 3> kBirds = {{{201.0, 133.5}, {289.5, 140.5}, {364.0, 137.0}}};
const std::array<QPointF, 3> kPops = {{{224.0, 170.0}, {254.0, 174.0}, {331.0, 166.0}}};
const std::array<QPointF, 3> kSparkles = {{{223.0, 203.0}, {257.0, 204.0}, {329.0, 203.0}}};

}  // namespace

QPainterPath segmentShape(ImageId id) {
  using namespace zarvik;
  const ImageSpec& entry = kSkinImages[id];
  switch (entry.role) {
    case ImageRole::Glyph:
      return digitShape(id - im_panel_number_0, builtinRect(im_panel_digit_pos_1).topLeft());
    case ImageRole::Digit:
      return {};  // a blank digit position
    default:
      break;
  }
  if (id >= im_panel_miss_01 && id <= im_panel_miss_10) {
    const QRectF box(builtinRect(id));
    const double row = (id <= im_panel_miss_05) ? 71.0 : 91.0;
    return missMarkShape({box.center().x() - 0.5, row});
  }
  if (id >= im_hero_1_1 && id <= im_hero_3_3) {
    const int column = (id - im_hero_1_1) % 3, part = (id - im_hero_1_1) / 3;
    const HeroColumn& h = kHeroColumns[column];
    if (part == 0) return heroBody(h);
    if (part == 1) return netArm(h.elbow(), h.restHand, h.restTip);
    return netArm(h.elbow(), h.catchHand, h.catchTip);
  }
  if (id >= im_item_1_1 && id <= im_item_3_5) {
    const int lane = (id - im_item_1_1) % 3, step = (id - im_item_1_1) / 3;
    return balloonShape(kBalloonSteps[lane][step], 8.0, (lane + step) % 2 ? 1 : -1);
  }
  if (id >= im_item_1_got && id <= im_item_3_got) return sparkleShape(kSparkles[id - im_item_1_got], 10.0);
  if (id >= im_item_1_miss && id <= im_item_3_miss) return popShape(kPops[id - im_item_1_miss], 11.0);
  if (id >= im_item_1_target && id <= im_item_3_target) return birdShape(kBirds[id - im_item_1_target]);
  switch (id) {
    case im_panel_game_a: return indicatorText(id, QStringLiteral("GAME A"));
    case im_panel_game_b: return indicatorText(id, QStringLiteral("GAME B"));
    case im_panel_time_1: return indicatorText(id, QStringLiteral("TIME 1"));
    case im_panel_time_2: return indicatorText(id, QStringLiteral("TIME 2"));
    case im_panel_alarm: return indicatorText(id, QStringLiteral("ALM"));
    case im_panel_chrono: return indicatorText(id, QStringLiteral("CHR"));
    case im_panel_date: return indicatorText(id, QStringLiteral("DATE"));
    case im_panel_time_am: return indicatorText(id, QStringLiteral("AM"));
    case im_panel_time_pm: return indicatorText(id, QStringLiteral("PM"));
    case im_panel_bell: return bellShape();
    case im_panel_time_colon: return colonShape();
    default: return {};
  }
}

QImage drawSegment(ImageId id) {
  using namespace zarvik;
  const QRect box = builtinRect(id);
  // Glyphs are drawn where they are seen: at digit position 1.
  const QPoint origin =
      (kSkinImages[id].role == ImageRole::Glyph) ? builtinRect(im_panel_digit_pos_1).topLeft() : box.topLeft();
  QImage picture = blankPicture(box.size());
  QPainter p(&picture);
  p.translate(-origin);
  paintInk(p, segmentShape(id));
  return picture;
}

}  // namespace skingen
