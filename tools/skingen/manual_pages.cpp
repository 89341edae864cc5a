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

// Everything drawn on pages goes through a Sheet, which notes text that does
// not fit its box instead of letting it run under the viewer's buttons.
struct Sheet {
  QPainter& p;
  QString title;
  QStringList& problems;
};

// Rich text set in the box, in the manual's body type.
void drawText(Sheet& sheet, const QRectF& box, const QString& html, int pixelSize = 11) {
  QPainter& p = sheet.p;
  QTextDocument doc;
  doc.setDocumentMargin(0);
  doc.setDefaultFont(pageFont(pixelSize));
  doc.setDefaultStyleSheet(QStringLiteral("p { margin-bottom: 5px; } b { color: #1b2844; } "
                                          "td { padding: 1px 6px 1px 0px; }"));
  doc.setTextWidth(box.width());
  doc.setHtml(html);
  if (doc.size().height() > box.height() + 0.5)
    sheet.problems << QStringLiteral("manual page \"%1\": text needs %2 px, its box has %3")
                          .arg(sheet.title)
                          .arg(doc.size().height())
                          .arg(box.height());
  p.save();
  p.translate(box.topLeft());
  QAbstractTextDocumentLayout::PaintContext context;
  context.palette.setColor(QPalette::Text, kText);
  context.clip = QRectF(QPointF(0, 0), box.size());
  doc.documentLayout()->draw(&p, context);
  p.restore();
}

// A picture with a thin frame and a caption under it.
void drawFigure(Sheet& sheet, const QImage& picture, QPointF at, const QString& caption = {}) {
  QPainter& p = sheet.p;
  const QRectF r(at, QSizeF(picture.size()));
  p.drawImage(at, picture);
  p.setPen(QPen(QColor(120, 126, 136), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRect(r.adjusted(-0.5, -0.5, 0.5, 0.5));
  if (!caption.isEmpty()) {
    p.setPen(kText);
    p.setFont(pageFont(10, 400, true));
    p.drawText(QRectF(r.left() - 10, r.bottom() + 3, r.width() + 20, 13), Qt::AlignCenter, caption);
  }
}

// A numbered callout: an orange disc with the number, and a leader line.
void drawCallout(Sheet& sheet, QPointF disc, QPointF target, int number) {
  QPainter& p = sheet.p;
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

// Page areas: text at the left, a figure at the right, both above the strip
// at the bottom where the viewer puts its page buttons.
const QRectF kTextColumn(14, 40, 184, 206);
const QPointF kFigureAt(207, 42);
constexpr double kLcdScale = 0.75;

// The LCD of the composed face, at the manual's figure scale.
QImage lcdFigure(const SkinPictures& skin, const Display& display) {
  return scaled(skin.compose(display).copy(kLcdRect), kLcdScale);
}

Display gameDisplay(std::vector<ImageId> lit, std::array<int, 4> digits) {
  Display d;
  d.lit = std::move(lit);
  d.digits = digits;
  return d;
}

void cover(Sheet& sheet, const SkinPictures& skin) {
  QPainter& p = sheet.p;
  p.fillRect(QRectF(0, 0, kManualWidth, 70), kNavy);
  p.fillRect(QRectF(0, 70, kManualWidth, 3), kOrange);
  QPainterPath mark;
  mark.addText(0, 0, pageFont(40, 900, true), QStringLiteral("ZARVIK"));
  mark.translate(QPointF(22, 50) - QPointF(mark.boundingRect().left(), 0));
  p.fillPath(mark, Qt::white);
  // Right-aligned short of the viewer's close button.
  p.setPen(QColor(220, 226, 236));
  p.setFont(pageFont(13, 700));
  p.drawText(QRectF(180, 24, 204, 18), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Instruction manual"));
  p.setFont(pageFont(10));
  p.drawText(QRectF(180, 42, 204, 16), Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("Pocket LCD catch game & watch"));
  p.drawImage(QPointF(14, 84), scaled(skin.compose(Display::allSegments()), 0.4));
  drawText(sheet, QRectF(250, 84, 152, 160),
           QStringLiteral("<p>Catch the balloons before the gulls get them!</p>"
                          "<p>Two games, <b>GAME A</b> and the faster <b>GAME B</b>, and a watch with "
                          "time, alarm, chronograph and date displays.</p>"
                          "<p>Turn the pages with the arrow buttons below or the arrow keys; "
                          "<b>Esc</b> closes the manual.</p>"));
  p.setPen(kNavy);
  p.setFont(pageFont(10, 700));
  p.drawText(QRectF(14, 238, 228, 14), Qt::AlignCenter, QStringLiteral("QUENDREL  \u00b7  MODEL ZV-50"));
}

void buttonsPage(Sheet& sheet, const SkinPictures& skin) {
  const double f = 0.36;
  const QPointF at(200, 48);
  drawFigure(sheet, scaled(skin.compose(Display::allSegments()), f), at);
  auto on = [&](ImageId id) { return at + QRectF(builtinRect(id)).center() * f; };
  drawCallout(sheet, on(btn_left_top) + QPointF(-2, -32), on(btn_left_top), 1);
  drawCallout(sheet, on(btn_right_top) + QPointF(2, -32), on(btn_right_top), 2);
  drawCallout(sheet, on(btn_game_a_top) + QPointF(-6, 30), on(btn_game_a_top), 3);
  drawCallout(sheet, on(btn_game_b_top) + QPointF(0, 30), on(btn_game_b_top), 4);
  drawCallout(sheet, on(btn_time_top) + QPointF(6, 30), on(btn_time_top), 5);
  drawCallout(sheet, on(btn_set_top) + QPointF(-8, 30), on(btn_set_top), 6);
  drawText(sheet, kTextColumn,
           QStringLiteral("<p><b>1 LEFT</b> and <b>2 RIGHT</b> move the catcher from cloud to cloud.</p>"
                          "<p><b>3 GAME A</b> and <b>4 GAME B</b> call up a game.</p>"
                          "<p><b>5 TIME</b> steps through the watch displays.</p>"
                          "<p><b>6 SET</b> has no function on this model.</p>"
                          "<p>At switch-on every segment of the display lights up. Press TIME, GAME A "
                          "or GAME B to go to the clock.</p>"));
}

void watchPage(Sheet& sheet, const SkinPictures& skin) {
  const QRect band(150, 57, 182, 35);
  const std::array<Display, 5> displays = {
      gameDisplay({im_panel_time_1, im_panel_time_am, im_panel_time_colon}, {-1, 9, 4, 5}),
      gameDisplay({im_panel_time_2, im_panel_time_pm, im_panel_time_colon}, {-1, 3, 2, 0}),
      gameDisplay({im_panel_alarm, im_panel_time_am, im_panel_time_colon}, {1, 2, 0, 0}),
      gameDisplay({im_panel_chrono, im_panel_time_colon}, {0, 0, 0, 0}),
      gameDisplay({im_panel_date, im_panel_time_colon}, {1, 2, 2, 5}),
  };
  for (int i = 0; i < 5; ++i) drawFigure(sheet, skin.compose(displays[i]).copy(band), QPointF(214, 41 + i * 41));
  drawText(sheet, QRectF(14, 40, 190, 206),
           QStringLiteral("<p><b>TIME 1</b>: the time of day, with AM or PM and a colon that "
                          "blinks every second.</p>"
                          "<p><b>TIME 2</b>: the same time, under its own mark.</p>"
                          "<p><b>ALM</b>: the alarm reads 12:00 AM; it cannot be set.</p>"
                          "<p><b>CHR</b>: the chronograph reads 00:00.</p>"
                          "<p><b>DATE</b>: the month, then the day.</p>"
                          "<p>Each press of <b>TIME</b> shows the next display; DATE is followed "
                          "by TIME 1. Time and date are your computer's.</p>"));
}

void gamesPage(Sheet& sheet, const SkinPictures& skin) {
  const std::vector<ImageId> ready = {heroPart(2, 1), heroPart(2, 2), itemTarget(1), itemTarget(2), itemTarget(3)};
  std::vector<ImageId> lit = ready;
  lit.push_back(im_panel_game_a);
  drawFigure(sheet, lcdFigure(skin, gameDisplay(lit, {-1, 1, 2, 8})), kFigureAt,
             QStringLiteral("GAME A called up: best score 128"));
  drawText(sheet, kTextColumn,
           QStringLiteral("<p>Press <b>GAME A</b> or <b>GAME B</b> in any watch display: the best "
                          "score of that game appears, the catcher stands on the middle cloud and a "
                          "short tune plays.</p>"
                          "<p>Let go, and the game starts after a moment. Keep holding to read the best "
                          "score: the game starts when you let go.</p>"
                          "<p><b>GAME B</b> is the expert game: the balloons rise faster, and from 4 "
                          "points on one more can be in the air.</p>"
                          "<p>A game runs until the fifth miss.</p>"));
}

void catchingPage(Sheet& sheet, const SkinPictures& skin) {
  drawFigure(sheet,
             lcdFigure(skin, gameDisplay({im_panel_game_a, heroPart(1, 1), heroPart(1, 3), itemStep(1, 5),
                                          itemStep(2, 3), itemStep(3, 1), itemTarget(1), itemTarget(2),
                                          itemTarget(3)},
                                         {-1, -1, 4, 2})),
             kFigureAt, QStringLiteral("A catch in the left lane"));
  drawText(sheet, kTextColumn,
           QStringLiteral("<p>Balloons are let go at the bottom of the screen and rise step by step in "
                          "three lanes, one lane at a time.</p>"
                          "<p>The catcher stands on the clouds above, over one lane at a time. Move him "
                          "with <b>LEFT</b> and <b>RIGHT</b>.</p>"
                          "<p>A balloon at the top of its lane is caught if the catcher is over it at the "
                          "next step: he swings his net, scores <b>one point</b>, and a twinkle shows "
                          "the catch.</p>"));
}

void missesPage(Sheet& sheet, const SkinPictures& skin) {
  drawFigure(sheet,
             lcdFigure(skin, gameDisplay({im_panel_game_b, heroPart(1, 1), heroPart(1, 2), itemMiss(3),
                                          itemTarget(1), itemTarget(2), itemStep(1, 2), missMark(1),
                                          missMark(2), missMark(3)},
                                         {-1, -1, 5, 7})),
             kFigureAt, QStringLiteral("A balloon lost: the third miss"));
  drawText(sheet, kTextColumn,
           QStringLiteral("<p>A balloon that reaches the top with nobody over it is pecked by the gull "
                          "there and pops: a <b>miss</b>. A miss mark lights, play rests a moment, then "
                          "goes on.</p>"
                          "<p>The <b>fifth miss</b> ends the game. The score stays on the display; half "
                          "a minute later the clock returns.</p>"
                          "<p>More balloons rise at once as the score grows, and faster from 100 points. "
                          "Every 200 points the game starts over at its opening pace.</p>"));
}

void highScoresPage(Sheet& sheet, const SkinPictures& skin) {
  drawFigure(sheet,
             lcdFigure(skin, gameDisplay({im_panel_game_b, heroPart(2, 1), heroPart(2, 2), itemTarget(1),
                                          itemTarget(2), itemTarget(3)},
                                         {-1, 3, 5, 7})),
             kFigureAt, QStringLiteral("GAME B called up: best score 357"));
  drawText(sheet, kTextColumn,
           QStringLiteral("<p>The unit keeps the best score of each game. Hold <b>GAME A</b> or "
                          "<b>GAME B</b> to read it.</p>"
                          "<p>A better score is kept as soon as the game is over; an equal one does not "
                          "replace it. After 9999 the score counter starts again at 0.</p>"
                          "<p>The simulator stores the scores in <b>~/.config/Quendrel/Zarvik50.conf</b> "
                          "(HiScore1 and HiScore2). <b>Reset Hiscores</b> in the menu sets both to 0.</p>"));
}

void simulatorPage(Sheet& sheet, const SkinPictures&) {
  drawText(sheet, QRectF(14, 40, 186, 206),
           QStringLiteral("<p><b>Keys</b> (change them under <i>Key settings</i>):</p>"
                          "<table>"
                          "<tr><td>GAME A</td><td><b>1</b></td></tr>"
                          "<tr><td>GAME B</td><td><b>2</b></td></tr>"
                          "<tr><td>TIME</td><td><b>3</b></td></tr>"
                          "<tr><td>LEFT</td><td><b>Left arrow</b></td></tr>"
                          "<tr><td>RIGHT</td><td><b>Right arrow</b></td></tr>"
                          "</table>"
                          "<p style='margin-top:6px'>Or click the buttons. Drag the case to move the "
                          "window.</p>"
                          "<p>Settings and high scores live in "
                          "<b>~/.config/Quendrel/Zarvik50.conf</b>.</p>"));
  drawText(sheet, QRectF(212, 40, 190, 206),
           QStringLiteral("<p><b>Menu</b>: right-click the unit.</p>"
                          "<table>"
                          "<tr><td><b>F1</b></td><td>About</td></tr>"
                          "<tr><td><b>F2</b></td><td>Readme</td></tr>"
                          "<tr><td><b>F3</b></td><td>What's new</td></tr>"
                          "<tr><td><b>F4</b></td><td>This manual</td></tr>"
                          "<tr><td><b>F12</b></td><td>Fullscreen on or off</td></tr>"
                          "<tr><td><b>Esc</b></td><td>Exit</td></tr>"
                          "</table>"
                          "<p style='margin-top:6px'>The menu also edits Config.ini, sets the keys, "
                          "resets the high scores and switches the splash screen. In fullscreen it "
                          "opens from the top-left corner.</p>"));
}

struct PageSpec {
  QString title;
  std::function<void(Sheet&, const SkinPictures&)> draw;
};

void drawHeader(QPainter& p, const QString& title, int number) {
  // The footer, between the viewer's page buttons.
  p.setPen(QColor(140, 144, 152));
  p.setFont(pageFont(9));
  p.drawText(QRectF(30, 252, kManualWidth - 60, 14), Qt::AlignCenter,
             QStringLiteral("ZARVIK  ·  Instruction manual"));
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

std::array<QImage, kManualPageCount> drawManualPages(const SkinPictures& skin, QStringList* problems) {
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
    Sheet sheet{p, pages[i].title.isEmpty() ? QStringLiteral("cover") : pages[i].title, *problems};
    pages[i].draw(sheet, skin);
    p.end();
    out[i] = page.convertToFormat(QImage::Format_RGB888);
  }
  return out;
}

}  // namespace skingen
