#include "about_form.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QUrl>

#include "clickable_label.h"
#include "key_codes.h"
#include "product_info.h"

namespace {

const QColor kBackground(8, 41, 82);

QFont arial(int pixels, bool bold, bool italic = false, bool underline = false) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(pixels);
  font.setBold(bold);
  font.setItalic(italic);
  font.setUnderline(underline);
  return font;
}

template <typename Label>
Label* place(Label* label, const QString& text, QRect where, const QFont& font, QColor colour) {
  label->setText(text);
  label->setFont(font);
  if (where.width() > 0) label->setGeometry(where);
  else {
    label->move(where.topLeft());
    label->adjustSize();
  }
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  return label;
}

// A greyscale handheld on a transparent ground.
QPixmap drawPicture() {
  QPixmap picture(116, 160);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(40, 40, 40), 2));
  p.setBrush(QColor(150, 150, 150));
  p.drawRoundedRect(QRectF(10, 24, 96, 124), 10, 10);
  p.setBrush(QColor(214, 214, 214));
  p.drawRect(QRectF(24, 38, 68, 50));
  p.setBrush(QColor(60, 60, 60));
  p.drawEllipse(QPointF(34, 116), 9, 9);
  p.drawEllipse(QPointF(82, 116), 9, 9);
  p.drawRoundedRect(QRectF(48, 130, 20, 7), 3, 3);
  return picture;
}

}  // namespace

TAboutForm::TAboutForm(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
  setWindowTitle(QStringLiteral("About the author..."));
  setFixedSize(397, 176);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kBackground);
  setPalette(palette);
  setAutoFillBackground(true);

  im_picture = new QLabel(this);
  im_picture->setGeometry(8, 8, 116, 160);
  im_picture->setPixmap(drawPicture());

  struct Fact {
    const char* caption;
    const char* value;
    int top;
    int valueWidth;
  };
  const Fact facts[] = {{"Name:", product::kAboutName, 8, 147},
                        {"Birthplace:", product::kAboutBirthplace, 32, 101},
                        {"Birth date:", product::kAboutBirthDate, 56, 101},
                        {"Occupation:", product::kAboutOccupation, 80, 133},
                        {"Hobby:", product::kAboutHobby, 104, 93}};
  for (const Fact& fact : facts) {
    const bool hobby = fact.top == 104;
    place(new QLabel(this), QString::fromLatin1(fact.caption),
          hobby ? QRect(132, fact.top, 0, 0) : QRect(132, fact.top, 72, 14), arial(11, false),
          Qt::white);
    place(new QLabel(this), QString::fromLatin1(fact.value), QRect(212, fact.top, fact.valueWidth, 14),
          arial(11, true, hobby), Qt::white);
  }
  place(new QLabel(this), QStringLiteral("Website:"), QRect(132, 128, 0, 0), arial(11, false),
        Qt::white);
  place(new QLabel(this), QStringLiteral("Email:"), QRect(132, 152, 0, 0), arial(11, false),
        Qt::white);
  la_website_2 = place(new ClickableLabel(this), QString::fromLatin1(product::kWebsiteText),
                       QRect(212, 128, 168, 15), arial(12, true, false, true), Qt::yellow);
  la_email_2 = place(new ClickableLabel(this), QString::fromLatin1(product::kEmail),
                     QRect(212, 152, 168, 15), arial(12, true, false, true), Qt::yellow);
  connect(la_website_2, &ClickableLabel::clicked, this, &TAboutForm::la_website_2Click);
  connect(la_email_2, &ClickableLabel::clicked, this, &TAboutForm::la_email_2Click);

  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  move(screen.left() + (screen.width() - width()) / 2, screen.top() + (screen.height() - height()) / 2);
}

void TAboutForm::keyPressEvent(QKeyEvent* event) {
  if (zarvik::virtualKeyCode(event->key(), event->modifiers()) == zarvik::vk::Escape) close();
}

void TAboutForm::la_website_2Click() {
  QDesktopServices::openUrl(QUrl(QString::fromLatin1(product::kWebsiteUrl)));
  close();
}

void TAboutForm::la_email_2Click() {
  QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + QString::fromLatin1(product::kEmail)));
  close();
}
