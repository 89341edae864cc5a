#include "manual_pages.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPainterPath>
#include <QTextDocument>
#include <functional>

#include "art_style.h"
#include "skin_pictures.h"

namespace skingen {
namespace {

using namespace zarvik;

const QColor kPaper{251, 248, 240};
const QColor kNavy{27, 40, 68};
const QColor kOrange{238, 128, 52};
const QColor kText{30, 32, 38};

QFont pageFont(int pixelSize, int weight = 400, bool italic = false) {
  QFont f(QStringLiteral("Liberation Sans"));
  f.setPixelSize(pixelSize);
  f.setWeight(QFont::Weight(weight));
  f.setItalic(italic);
  f.setHintingPreference(QFont::PreferFullHinting);
  return f;
}

// Rich text set in the box, in the manual's body type.
void drawText(QPainter& p, const QRectF& box, const QString& html, int pixelSize = 11) {
  QTextDocument doc;
  doc.setDocumentMargin(0);
  doc.setDefaultFont(pageFont(pixelSize));
  doc.setDefaultStyleSheet(QStringLiteral("p { margin-bottom: 5px; } b { color: #1b2844; } "
                                          "td { padding: 1px 6px 1px 0px; }"));
  doc.setTextWidth(box.width());
  doc.setHtml(html);
  p.save();
  p.translate(box.topLeft());
  QAbstractTextDocumentLayout::PaintContext context;
  context.palette.setColor(QPalette::Text, kText);
  context.clip = QRectF(QPointF(0, 0), box.size());
  doc.documentLayout()->draw(&p, context);
  p.restore();
}

// A picture with a thin frame and a caption under it.
void drawFigure(QPainter& p, const QImage& picture, QPointF at, const QString& caption = {}) {
  const QRectF r(at, QSizeF(picture.size()));
  p.drawImage(at, picture);
  p.setPen(QPen(QColor(120, 126, 136), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRect(r.adjusted(-0.5, -0.5, 0.5, 0.5));
  if (!caption.isEmpty()) {
    p.setPen(kText);
    p.setFont(pageFont(9, 400, true));
    p.drawText(QRectF(r.left() - 10, r.bottom() + 2, r.width() + 20, 12), Qt::AlignCenter, caption);
  }
}

// A numbered callout: an orange disc with the number, and a leader line.
void drawCallout(QPainter& p, QPointF disc, QPointF target, int number) {
  p.setPen(QPen(kOrange, 1.2));
  p.drawLine(disc, target);
  p.setBrush(kOrange);
  p.drawEllipse(target, 1.8, 1.8);
  p.setPen(Qt::NoPen);
  p.drawEllipse(disc, 6.5, 6.5);
  p.setPen(Qt::white);
  p.setFont(pageFont(9, 700));
  p.drawText(QRectF(disc.x() - 7, disc.y() - 7, 14, 14), Qt::AlignCenter, QString::number(number));
}

QImage scaled(const QImage& image, double factor) {
  return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The LCD part of a composed face.
QImage lcdOf(const SkinPictures& skin, const Display& display) {
  return skin.compose(display).copy(kLcdRect);
}

void cover(QPainter& p, const SkinPictures& skin) {
  p.fillRect(QRectF(0, 0, kManualWidth, 70), kNavy);
  p.fillRect(QRectF(0, 70, kManualWidth, 3), kOrange);
  QPainterPath mark;
  mark.addText(0, 0, pageFont(40, 900, true), QStringLiteral("ZARVIK"));
  mark.translate(QPointF(22, 50) - QPointF(mark.boundingRect().left(), 0));
  p.fillPath(mark, Qt::white);
  p.setPen(QColor(220, 226, 236));
  p.setFont(pageFont(12, 700));
  p.drawText(QRectF(200, 16, 200, 18), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Instruction manual"));
  p.setFont(pageFont(10));
  p.drawText(QRectF(200, 34, 200, 16), Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("Pocket LCD catch game & watch"));
  const QImage unit = scaled(skin.compose(Display::allSegments()), 0.4);
  p.drawImage(QPointF(16, 84), unit);
  drawText(p, QRectF(250, 88, 150, 150),
           QStringLiteral("<p>Catch the balloons before the gulls get them!</p>"
                          "<p>Two games, <b>GAME A</b> and the faster <b>GAME B</b>, and a watch with "
                          "time, alarm, chronograph and date displays.</p>"
                          "<p>Turn the pages with the arrow buttons below or the arrow keys; "
                          "<b>Esc</b> closes the manual.</p>"));
  p.setPen(kNavy);
  p.setFont(pageFont(10, 700));
  p.drawText(QRectF(0, 240, kManualWidth - 14, 20), Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("QUENDREL  \u00b7  MODEL ZV-50"));
}

void buttonsPage(QPainter& p, const SkinPictures& skin) {
  const double f = 0.42;
  const QPointF at(176, 44);
  drawFigure(p, scaled(skin.compose(Display::allSegments()), f), at);
  auto on = [&](ImageId id) { return at + QRectF(builtinRect(id)).center() * f; };
  drawCallout(p, at + QPointF(14, 178 * f - 6), on(btn_left_top), 1);
  drawCallout(p, at + QPointF(545 * f, 178 * f - 6), on(btn_right_top), 2);
  drawCallout(p, on(btn_game_a_top) + QPointF(-8, 34), on(btn_game_a_top), 3);
  drawCallout(p, on(btn_game_b_top) + QPointF(0, 34), on(btn_game_b_top), 4);
  drawCallout(p, on(btn_time_top) + QPointF(8, 34), on(btn_time_top), 5);
  drawCallout(p, on(btn_set_top) + QPointF(-14, 32), on(btn_set_top), 6);
  drawText(p, QRectF(14, 44, 152, 214),
           QStringLiteral("<p><b>1 LEFT</b> and <b>2 RIGHT</b> move the catcher one place along the roof.</p>"
                          "<p><b>3 GAME A</b> and <b>4 GAME B</b> call up a game.</p>"
                          "<p><b>5 TIME</b> steps through the watch displays.</p>"
                          "<p><b>6 SET</b> has no function on this model.</p>"
                          "<p>When the unit is switched on, every segment of the display lights up. "
                          "Press TIME, GAME A or GAME B to go to the clock.</p>"));
  drawText(p, QRectF(176, 220, 226, 40),
           QStringLiteral("<p><i>All segments lit: the display at switch-on.</i></p>"), 10);
}

Display watchDisplay(std::vector<ImageId> lit, std::array<int, 4> digits) {
  Display d;
  d.lit = std::move(lit);
  d.digits = digits;
  return d;
}

void watchPage(QPainter& p, const SkinPictures& skin) {
  const QRect band(150, 57, 182, 35);
  const std::array<Display, 5> displays = {
      watchDisplay({im_panel_time_1, im_panel_time_am, im_panel_time_colon}, {-1, 9, 4, 5}),
      watchDisplay({im_panel_time_2, im_panel_time_pm, im_panel_time_colon}, {-1, 3, 2, 0}),
      watchDisplay({im_panel_alarm, im_panel_time_am, im_panel_time_colon}, {1, 2, 0, 0}),
      watchDisplay({im_panel_chrono, im_panel_time_colon}, {0, 0, 0, 0}),
      watchDisplay({im_panel_date, im_panel_time_colon}, {1, 2, 2, 5}),
  };
  for (int i = 0; i < 5; ++i)
    drawFigure(p, skin.compose(displays[i]).copy(band), QPointF(224, 40 + i * 44));
  drawText(p, QRectF(14, 40, 200, 220),
           QStringLiteral("<p><b>TIME 1</b> shows the time of day with AM or PM; the colon blinks "
                          "every second.</p>"
                          "<p><b>TIME 2</b> shows the same time under its own mark.</p>"
                          "<p><b>ALARM</b> reads 12:00 AM. The alarm of this model cannot be set, "
                          "and the bell stays dark.</p>"
                          "<p><b>CHRONO</b> reads 00:00 with a steady colon.</p>"
                          "<p><b>DATE</b> shows the month left of the colon and the day right of it.</p>"
                          "<p>Each press of <b>TIME</b> goes to the next display; after DATE comes "
                          "TIME 1 again. Time and date are your computer's: there is nothing to set.</p>"));
}

Display readyDisplay(ImageId game, std::array<int, 4> digits) {
  Display d;
  d.lit = {game, heroPart(2, 1), heroPart(2, 2), itemTarget(1), itemTarget(2), itemTarget(3)};
  d.digits = digits;
  return d;
}

void gamesPage(QPainter& p, const SkinPictures& skin) {
  drawFigure(p, scaled(lcdOf(skin, readyDisplay(im_panel_game_a, {-1, 1, 2, 8})), 0.68), QPointF(224, 42),
             QStringLiteral("GAME A called up: best score 128"));
  drawText(p, QRectF(14, 40, 198, 220),
           QStringLiteral("<p>Press <b>GAME A</b> or <b>GAME B</b> in any watch display. The best score "
                          "of that game appears, the catcher stands in the middle of the roof and a "
                          "short tune plays.</p>"
                          "<p>Let go of the button and the game starts after a moment. Hold it to read "
                          "the best score as long as you like: the game then starts when you let go.</p>"
                          "<p><b>GAME B</b> is the expert game: the balloons rise faster, and from 4 "
                          "points on one more balloon can be in the air than in GAME A.</p>"
                          "<p>A game cannot be left with GAME A, GAME B or TIME: it runs until the "
                          "fifth miss.</p>"));
}

void catchingPage(QPainter& p, const SkinPictures& skin) {
  Display play;
  play.lit = {im_panel_game_a, heroPart(1, 1), heroPart(1, 3), itemStep(1, 5), itemStep(2, 3),
              itemStep(3, 1), itemTarget(1), itemTarget(2), itemTarget(3)};
  play.digits = {-1, -1, 4, 2};
  drawFigure(p, scaled(lcdOf(skin, play), 0.68), QPointF(224, 42), QStringLiteral("A catch in the left lane"));
  drawText(p, QRectF(14, 40, 198, 220),
           QStringLiteral("<p>Balloons are let go at the bottom of the screen and rise step by step in "
                          "three lanes, one lane moving at a time.</p>"
                          "<p>The catcher walks along the roof above them; each of his three places is "
                          "over one lane. Move him with <b>LEFT</b> and <b>RIGHT</b>.</p>"
                          "<p>A balloon that has reached the top of its lane is judged at the next step: "
                          "if the catcher is above it, he swings his net and catches it. Each catch "
                          "scores <b>one point</b>, and a twinkle shows it in the lane.</p>"
                          "<p>Two balloons never follow on neighbouring steps of one lane.</p>"));
}

void missesPage(QPainter& p, const SkinPictures& skin) {
  Display miss;
  miss.lit = {im_panel_game_b, heroPart(1, 1), heroPart(1, 2), itemMiss(3), itemTarget(1), itemTarget(2),
              itemStep(1, 2), missMark(1), missMark(2), missMark(3)};
  miss.digits = {-1, -1, 5, 7};
  drawFigure(p, scaled(lcdOf(skin, miss), 0.68), QPointF(224, 42), QStringLiteral("A balloon lost: third miss"));
  drawText(p, QRectF(14, 40, 198, 220),
           QStringLiteral("<p>When the catcher is not above a balloon at the top of its lane, the gull "
                          "there pecks it and it pops: a <b>miss</b>. A miss mark lights at the top "
                          "right, play rests a moment, and then the balloons rise again.</p>"
                          "<p>The <b>fifth miss</b> ends the game. The final score stays on the display; "
                          "half a minute later the unit returns to the clock.</p>"
                          "<p>The higher the score, the more balloons are in the air at once, and from "
                          "100 points they rise faster. At 200 points the game returns to its opening "
                          "pace, and so on every 200 points. After 9999 the counter starts again "
                          "at 0.</p>"));
}

void highScoresPage(QPainter& p, const SkinPictures& skin) {
  drawFigure(p, scaled(lcdOf(skin, readyDisplay(im_panel_game_b, {-1, 3, 5, 7})), 0.68), QPointF(224, 42),
             QStringLiteral("GAME B called up: best score 357"));
  drawText(p, QRectF(14, 40, 198, 220),
           QStringLiteral("<p>The unit keeps the best score of each game. Call up a game with "
                          "<b>GAME A</b> or <b>GAME B</b> and hold the button to read it.</p>"
                          "<p>A better score is kept as soon as the game is over. A score equal to the "
                          "best one does not replace it.</p>"
                          "<p>The simulator stores both scores with its other settings in "
                          "<b>~/.config/Quendrel/Zarvik50.conf</b>: HiScore1 for Game A and HiScore2 "
                          "for Game B.</p>"
                          "<p>The menu entry <b>Reset Hiscores</b> sets both back to 0.</p>"));
}

void simulatorPage(QPainter& p, const SkinPictures&) {
  drawText(p, QRectF(14, 40, 190, 220),
           QStringLiteral("<p><b>Keys</b> (change them under <i>Key settings</i>):</p>"
                          "<table>"
                          "<tr><td>GAME A</td><td><b>1</b></td></tr>"
                          "<tr><td>GAME B</td><td><b>2</b></td></tr>"
                          "<tr><td>TIME</td><td><b>3</b></td></tr>"
                          "<tr><td>LEFT</td><td><b>Left arrow</b></td></tr>"
                          "<tr><td>RIGHT</td><td><b>Right arrow</b></td></tr>"
                          "</table>"
                          "<p style='margin-top:6px'>Click the buttons with the mouse; drag the case to "
                          "move the window.</p>"
                          "<p>Settings and high scores live in "
                          "<b>~/.config/Quendrel/Zarvik50.conf</b>.</p>"));
  drawText(p, QRectF(214, 40, 188, 220),
           QStringLiteral("<p><b>Menu</b>: right-click the unit.</p>"
                          "<table>"
                          "<tr><td><b>F1</b></td><td>About</td></tr>"
                          "<tr><td><b>F2</b></td><td>Readme</td></tr>"
                          "<tr><td><b>F3</b></td><td>What's new</td></tr>"
                          "<tr><td><b>F4</b></td><td>This manual</td></tr>"
                          "<tr><td><b>F12</b></td><td>Fullscreen on or off</td></tr>"
                          "<tr><td><b>Esc</b></td><td>Exit</td></tr>"
                          "</table>"
                          "<p style='margin-top:6px'>The menu also edits the configuration file, sets "
                          "the keys, resets the high scores and turns the splash screen on or off. In "
                          "fullscreen mode it opens from the button at the top left of the "
                          "screen.</p>"));
}

struct PageSpec {
  QString title;
  std::function<void(QPainter&, const SkinPictures&)> draw;
};

void drawHeader(QPainter& p, const QString& title, int number) {
  p.fillRect(QRectF(0, 0, kManualWidth, 28), kNavy);
  p.fillRect(QRectF(0, 28, kManualWidth, 2), kOrange);
  p.setPen(Qt::white);
  p.setFont(pageFont(14, 700));
  p.drawText(QRectF(14, 0, 300, 28), Qt::AlignLeft | Qt::AlignVCenter, title);
  // Leave room for the viewer's close button in the top right corner.
  p.setPen(QColor(200, 208, 222));
  p.setFont(pageFont(10));
  p.drawText(QRectF(300, 0, 86, 28), Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("%1 / %2").arg(number).arg(kManualPageCount));
}

}  // namespace

std::array<QImage, kManualPageCount> drawManualPages(const SkinPictures& skin) {
  const std::array<PageSpec, kManualPageCount> pages = {{
      {QString(), cover},
      {QStringLiteral("The unit and its buttons"), buttonsPage},
      {QStringLiteral("The watch"), watchPage},
      {QStringLiteral("Game A and Game B"), gamesPage},
      {QStringLiteral("Catching balloons"), catchingPage},
      {QStringLiteral("Misses and the end of a game"), missesPage},
      {QStringLiteral("High scores"), highScoresPage},
      {QStringLiteral("Playing on the computer"), simulatorPage},
  }};
  std::array<QImage, kManualPageCount> out;
  for (int i = 0; i < kManualPageCount; ++i) {
    QImage page(kManualWidth, kManualHeight, QImage::Format_RGB32);
    page.fill(kPaper);
    QPainter p(&page);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!pages[i].title.isEmpty()) drawHeader(p, pages[i].title, i + 1);
    pages[i].draw(p, skin);
    p.end();
    out[i] = page.convertToFormat(QImage::Format_RGB888);
  }
  return out;
}

}  // namespace skingen
