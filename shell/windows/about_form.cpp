#include "about_form.h"

#include <QLabel>
#include <QPainter>
#include <QUrl>

#include "clickable_label.h"
#include "desktop_open.h"
#include "product_info.h"
#include "fonts.h"
#include "window_labels.h"
#include "window_placement.h"

using namespace zarvik;

namespace {

// Captions are plain, facts bold, the hobby bold italic; links are larger,
// underlined and yellow.
enum class TextStyle { Caption, Fact, Hobby, Link };

QFont arialFor(TextStyle style) {
  switch (style) {
    case TextStyle::Caption: return arial(11);
    case TextStyle::Fact: return arial(11, Bold);
    case TextStyle::Hobby: return arial(11, Bold | Italic);
    case TextStyle::Link: break;
  }
  return arial(12, Bold | Underlined);
}

// A label at `place`; a place without a size lets the label take its text's.
template <typename Label>
Label* addLabel(Label* label, const QString& text, TextStyle style, QRect place) {
  placeLabel(*label, text, place, arialFor(style), style == TextStyle::Link ? Qt::yellow : Qt::white);
  return label;
}

QRect sizedToText(int left, int top) { return QRect(QPoint(left, top), QSize()); }

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
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
  FormCreate();
}

void TAboutForm::FormCreate() {
  setWindowTitle(QStringLiteral("About the author..."));
  setFixedSize(397, 176);
  fillBackground(*this, kDialogBlue);

  using enum TextStyle;
  im_picture = new QLabel(this);
  im_picture->setGeometry(8, 8, 116, 160);
  im_picture->setPixmap(drawPicture());
  la_name_1 = addLabel(new QLabel(this), "Name:", Caption, {132, 8, 72, 14});
  la_name_2 = addLabel(new QLabel(this), product::kAboutName, Fact, {212, 8, 147, 14});
  la_birthplace_1 = addLabel(new QLabel(this), "Birthplace:", Caption, {132, 32, 72, 14});
  la_birthplace_2 = addLabel(new QLabel(this), product::kAboutBirthplace, Fact, {212, 32, 101, 14});
  la_birthdate_1 = addLabel(new QLabel(this), "Birth date:", Caption, {132, 56, 72, 14});
  la_birthdate_2 = addLabel(new QLabel(this), product::kAboutBirthDate, Fact, {212, 56, 101, 14});
  la_job_1 = addLabel(new QLabel(this), "Occupation:", Caption, {132, 80, 72, 14});
  la_job_2 = addLabel(new QLabel(this), product::kAboutOccupation, Fact, {212, 80, 133, 14});
  la_hobby_1 = addLabel(new QLabel(this), "Hobby:", Caption, sizedToText(132, 104));
  la_hobby_2 = addLabel(new QLabel(this), product::kAboutHobby, Hobby, {212, 104, 93, 14});
  la_website_1 = addLabel(new QLabel(this), "Website:", Caption, sizedToText(132, 128));
  la_website_2 = addLabel(new ClickableLabel(this), product::kWebsiteText, Link, {212, 128, 168, 15});
  la_email_1 = addLabel(new QLabel(this), "Email:", Caption, sizedToText(132, 152));
  la_email_2 = addLabel(new ClickableLabel(this), product::kEmail, Link, {212, 152, 168, 15});
  connect(la_website_2, &ClickableLabel::clicked, this, &TAboutForm::la_website_2Click);
  connect(la_email_2, &ClickableLabel::clicked, this, &TAboutForm::la_email_2Click);

  zarvik::centreOnScreen(*this);
}

void TAboutForm::la_website_2Click() {
  zarvik::openOnDesktop(this, QUrl(QString::fromLatin1(product::kWebsiteUrl)));
  hide();
}

void TAboutForm::la_email_2Click() {
  zarvik::openOnDesktop(this, QUrl(QStringLiteral("mailto:") + QString::fromLatin1(product::kEmail)));
  hide();
}
