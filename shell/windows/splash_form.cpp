#include "splash_form.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QUrl>
#include <algorithm>

#include "application_state.h"
#include "clickable_label.h"
#include "error_box.h"
#include "handheld.h"
#include "key_codes.h"
#include "product_info.h"

namespace {

constexpr int kWidth = 460;
constexpr int kHeight = 420;
const QColor kDarkBlue(8, 41, 82);
const QColor kLightBlue(188, 208, 232);
const QColor kLinkBlue(24, 82, 148);
const QSize kButtonSize(107, 30);
const QSize kBoxSize(200, 116);

const QString kDriverNames[] = {QStringLiteral("PulseAudio / PipeWire"),
                                QStringLiteral("ALSA"),
                                QStringLiteral("(no sound)")};

QFont arial(bool bold, bool underline = false) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(12);
  font.setBold(bold);
  font.setUnderline(underline);
  return font;
}

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

// The retail box: a front with the handheld's picture and the name, a side
// and a lid drawn in a simple oblique view.
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
  QFont name(QStringLiteral("Arial"));
  name.setPixelSize(12);
  name.setBold(true);
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

// A rounded button face: `top` to `bottom` gradient, caption in `text`.
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
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(15);
  font.setBold(true);
  p.setFont(font);
  p.setPen(text);
  p.drawText(face.translated(pressed ? 1 : 0, pressed ? 1 : 0), Qt::AlignCenter, caption);
  return picture;
}

QLabel* makeLabel(QWidget* parent, const QString& text, QRect place, const QFont& font,
                  QColor colour, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(place);
  label->setFont(font);
  label->setAlignment(alignment);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  return label;
}

ClickableLabel* makeLink(QWidget* parent, const QString& text, QRect place) {
  auto* link = new ClickableLabel(parent);
  link->setText(text);
  link->setGeometry(place);
  link->setFont(arial(true, true));
  QPalette palette = link->palette();
  palette.setColor(QPalette::WindowText, kLinkBlue);
  link->setPalette(palette);
  return link;
}

void centreOnScreen(QWidget& window) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  const QRect area = screen->geometry();
  window.move(area.left() + (area.width() - window.width()) / 2,
              area.top() + (area.height() - window.height()) / 2);
}

}  // namespace

TSplashForm::TSplashForm(zarvik::Handheld& handheld, zarvik::SettingsStore& settings,
                         QWidget& mainWindow, const QImage& handheldPicture,
                         QAction* splashMenuEntry)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      handheld_(handheld),
      settings_(settings),
      mainWindow_(mainWindow),
      splashMenuEntry_(splashMenuEntry) {
  setWindowTitle(QStringLiteral("About this game..."));
  setFixedSize(kWidth, kHeight);

  im_background = new QLabel(this);
  im_background->setGeometry(0, 0, kWidth, kHeight);
  im_background->setPixmap(drawBackground());

  im_box_picture = new QLabel(this);
  im_box_picture->setGeometry(0, 56, kWidth, 160);
  im_box_picture->setAlignment(Qt::AlignCenter);
  im_box_picture->setPixmap(drawBox(handheldPicture));

  la_game_title = makeLabel(this, QString(), {0, 12, kWidth, 15}, arial(true), Qt::white,
                            Qt::AlignCenter);
  la_version = makeLabel(this, QString(), {0, 28, kWidth, 15}, arial(true), Qt::white,
                         Qt::AlignCenter);
  la_release_date = makeLabel(this, QString(), {0, 236, kWidth, 15}, arial(false), Qt::black,
                              Qt::AlignCenter);
  la_website_1 = makeLabel(this, QStringLiteral("website:"), {118, 259, 56, 15}, arial(false),
                           Qt::black);
  la_website_2 = makeLink(this, QString::fromLatin1(product::kWebsiteText), {174, 259, 168, 15});
  la_email_1 = makeLabel(this, QStringLiteral("email:"), {118, 282, 56, 15}, arial(false),
                         Qt::black);
  la_email_2 = makeLink(this, QString::fromLatin1(product::kEmail), {174, 282, 168, 15});
  la_sound_select = makeLabel(this, QStringLiteral("Select sound driver:"), {98, 308, 116, 15},
                              arial(false), Qt::black);

  cb_sound = new QComboBox(this);
  cb_sound->setFont(arial(false));
  cb_sound->addItems({kDriverNames[SoundServer], kDriverNames[Alsa], kDriverNames[NoSound]});
  // Wide enough for the longest name, whatever the fonts.
  cb_sound->setGeometry(217, 308, std::max(144, cb_sound->sizeHint().width()), cb_sound->sizeHint().height());
  cb_sound->setMaxVisibleItems(3);
  cb_sound->setCurrentIndex(-1);

  btn_play = new ClickableLabel(this);
  btn_play->setGeometry(QRect({116, 340}, kButtonSize));
  btn_play->setPictures(
      drawButton(QColor(92, 150, 230), QColor(24, 72, 160), Qt::white, tr("Play"), false),
      drawButton(QColor(92, 150, 230), QColor(24, 72, 160), Qt::white, tr("Play"), true));

  btn_play_disabled = new QLabel(this);
  btn_play_disabled->setGeometry(QRect({116, 340}, kButtonSize));
  btn_play_disabled->setPixmap(
      drawButton(QColor(214, 214, 214), QColor(150, 150, 150), QColor(236, 236, 236), tr("Play"),
                 false));
  btn_play_disabled->setCursor(Qt::WhatsThisCursor);
  btn_play_disabled->setToolTip(QStringLiteral("please select sound driver first"));
  btn_play_disabled->hide();

  btn_paypal = new ClickableLabel(this);
  btn_paypal->setGeometry(QRect({237, 340}, kButtonSize));
  btn_paypal->setPictures(
      drawButton(QColor(255, 204, 92), QColor(240, 140, 20), QColor(16, 44, 96), tr("Donate"),
                 false),
      drawButton(QColor(255, 204, 92), QColor(240, 140, 20), QColor(16, 44, 96), tr("Donate"),
                 true));

  chb_splashscreen = new QCheckBox(QStringLiteral("Display this splash screen at startup"), this);
  chb_splashscreen->setGeometry(12, 391, 444, 17);
  chb_splashscreen->setFont(arial(false));
  chb_splashscreen->setStyleSheet(QStringLiteral("QCheckBox { color: white; background: %1; }")
                                      .arg(kDarkBlue.name()));
  chb_splashscreen->setChecked(true);

  // Keys reach the window through its two focusable controls, whose events it
  // previews; the window itself hands its focus to the list.
  setFocusProxy(cb_sound);
  setTabOrder(cb_sound, chb_splashscreen);
  cb_sound->installEventFilter(this);
  chb_splashscreen->installEventFilter(this);

  connect(cb_sound, &QComboBox::currentIndexChanged, this, &TSplashForm::cb_soundChange);
  connect(btn_play, &ClickableLabel::clicked, this, &TSplashForm::btn_playClick);
  connect(la_website_2, &ClickableLabel::clicked, this, &TSplashForm::la_website_2Click);
  connect(la_email_2, &ClickableLabel::clicked, this, &TSplashForm::la_email_2Click);
  connect(btn_paypal, &ClickableLabel::clicked, this, &TSplashForm::btn_paypalClick);

  FormCreate();
}

void TSplashForm::FormCreate() {
  la_game_title->setText(QString::fromLatin1(product::kTitle));
  la_version->setText(QString::fromLatin1(product::kVersion));
  la_release_date->setText(QString::fromLatin1(product::kReleaseLine));

  const int soundMode = settings_.readInteger("SoundMode", -1);
  cb_sound->setCurrentIndex(soundMode >= 0 && soundMode < cb_sound->count() ? soundMode : -1);
  chb_splashscreen->setChecked(settings_.readBool("SplashScreen", true));

  if (playEnabled() && !chb_splashscreen->isChecked()) {
    move(-width(), -height());
    zarvik::SplashPending = false;
    playedAtCreation_ = true;
    btn_playClick();
    return;
  }
  centreOnScreen(*this);
  cb_soundChange();
}

bool TSplashForm::playEnabled() const { return !cb_sound->currentText().isEmpty(); }

void TSplashForm::cb_soundChange() {
  btn_play->setVisible(playEnabled());
  btn_play_disabled->setVisible(!playEnabled());
}

void TSplashForm::btn_playClick() {
  const QString driver = cb_sound->currentText();
  int outputType = 0;
  if (driver == kDriverNames[NoSound]) {
    handheld_.SoundEnabled = false;
    settings_.writeInteger("SoundMode", NoSound);
  } else if (driver == kDriverNames[Alsa]) {
    handheld_.SoundEnabled = true;
    outputType = 1;
    settings_.writeInteger("SoundMode", Alsa);
  } else if (driver == kDriverNames[SoundServer]) {
    handheld_.SoundEnabled = true;
    outputType = 2;
    settings_.writeInteger("SoundMode", SoundServer);
  }

  if (handheld_.SoundEnabled) {
    handheld_.sound().FSOUND_Init(22050, 64, 0);
    handheld_.sound().FSOUND_SetOutput(outputType);
    if (!handheld_.Snd_Load()) {
      zarvik::showErrorBox(
          this, QStringLiteral("Sound folder unproperly installed. Please reinstall the game."));
      settings_.writeInteger("SoundMode", -1);
      settings_.writeBool("SplashScreen", true);
      zarvik::terminateApplication();
      return;
    }
  }

  settings_.writeBool("SplashScreen", chb_splashscreen->isChecked());
  if (splashMenuEntry_) splashMenuEntry_->setChecked(chb_splashscreen->isChecked());
  centreOnScreen(mainWindow_);
  handheld_.Mode = zarvik::ModeAllSegments;
  handheld_.Gam_Set_Mode();
  played_ = true;
  close();
  // The face takes the keyboard over from the splash window.
  mainWindow_.activateWindow();
}

void TSplashForm::FormKeyDown(std::uint16_t key) {
  if (key == zarvik::vk::Return || key == '1') {
    if (playEnabled()) btn_playClick();
  } else if (key == zarvik::vk::Escape) {
    zarvik::terminateApplication();
  }
}

bool TSplashForm::eventFilter(QObject* watched, QEvent* event) {
  // The window sees every key before the focused control, which gets it too.
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    FormKeyDown(zarvik::virtualKeyCode(key->key(), key->modifiers()));
  }
  return QWidget::eventFilter(watched, event);
}

void TSplashForm::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) cb_sound->setFocus();
  QWidget::changeEvent(event);
}

// Closed by the desktop (a window manager's Alt+F4) before playing, the splash
// would leave the face parked off the screen for good: end as Esc does.
void TSplashForm::closeEvent(QCloseEvent* event) {
  if (!played_) zarvik::terminateApplication();
  QWidget::closeEvent(event);
}

void TSplashForm::la_website_2Click() {
  QDesktopServices::openUrl(QUrl(QString::fromLatin1(product::kWebsiteUrl)));
}

void TSplashForm::la_email_2Click() {
  QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + QString::fromLatin1(product::kEmail)));
}

void TSplashForm::btn_paypalClick() {
  QDesktopServices::openUrl(QUrl(QString::fromLatin1(product::kDonationUrl)));
}
