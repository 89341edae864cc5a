#include "splash_form.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QUrl>
#include <algorithm>

#include "application_state.h"
#include "clickable_label.h"
#include "desktop_open.h"
#include "key_codes.h"
#include "fonts.h"
#include "pixel_style.h"
#include "play_action.h"
#include "services.h"
#include "product_info.h"
#include "splash_art.h"
#include "window_labels.h"
#include "window_placement.h"

using namespace zarvik;
using namespace zarvik::splash;

namespace {

const QColor kLinkBlue(24, 82, 148);

// The driver list, in the order of SoundDriver.
const QString kDriverNames[] = {QStringLiteral("PulseAudio / PipeWire"),
                                QStringLiteral("ALSA"),
                                QStringLiteral("(no sound)")};

ClickableLabel* makeLink(QWidget* parent, const QString& text, QRect place) {
  auto* link = new ClickableLabel(parent);
  link->setText(text);
  link->setGeometry(place);
  link->setFont(arial(12, Bold | Underlined));
  setTextColour(*link, kLinkBlue);
  return link;
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

  const QFont bold = arial(12, Bold);
  const QFont regular = arial(12);
  la_game_title = makeLabel(this, QString(), {0, 12, kWidth, 15}, bold, Qt::white, Qt::AlignCenter);
  la_version = makeLabel(this, QString(), {0, 28, kWidth, 15}, bold, Qt::white, Qt::AlignCenter);
  la_release_date =
      makeLabel(this, QString(), {0, 236, kWidth, 15}, regular, Qt::black, Qt::AlignCenter);
  la_website_1 = makeLabel(this, QStringLiteral("website:"), {118, 259, 56, 15}, regular, Qt::black);
  la_website_2 = makeLink(this, QString::fromLatin1(product::kWebsiteText), {174, 259, 168, 15});
  la_email_1 = makeLabel(this, QStringLiteral("email:"), {118, 282, 56, 15}, regular, Qt::black);
  la_email_2 = makeLink(this, QString::fromLatin1(product::kEmail), {174, 282, 168, 15});
  la_sound_select =
      makeLabel(this, QStringLiteral("Select sound driver:"), {98, 308, 116, 15}, regular, Qt::black);

  cb_sound = new QComboBox(this);
  cb_sound->setFont(regular);
  for (const QString& name : kDriverNames) cb_sound->addItem(name);
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
  chb_splashscreen->setFont(regular);
  setTextColour(*chb_splashscreen, Qt::white);  // on the dark band of the background
  chb_splashscreen->setChecked(true);
  auto* pixelStyle = new PixelStyle(this);
  pixelStyle->use(*cb_sound);
  pixelStyle->use(*chb_splashscreen);

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

  centreOnScreen(*this);
  cb_soundChange();
}

bool TSplashForm::splashScreenChecked() const { return chb_splashscreen->isChecked(); }

bool TSplashForm::playEnabled() const { return !cb_sound->currentText().isEmpty(); }

void TSplashForm::cb_soundChange() {
  btn_play->setVisible(playEnabled());
  btn_play_disabled->setVisible(!playEnabled());
}

void TSplashForm::btn_playClick() {
  const PlayAction play{handheld_, settings_, mainWindow_, splashMenuEntry_, this};
  if (!play.run(SoundDriver(cb_sound->currentIndex()), chb_splashscreen->isChecked())) return;
  played_ = true;
  close();
  // The face takes the keyboard over from the splash window.
  mainWindow_.activateWindow();
}

void TSplashForm::FormKeyDown(std::uint16_t key) {
  if (key == vk::Return || key == '1') {
    if (playEnabled()) btn_playClick();
  } else if (key == vk::Escape) {
    terminateApplication();
  }
}

bool TSplashForm::eventFilter(QObject* watched, QEvent* event) {
  // The window sees every key before the focused control, which gets it too.
  // A held key acts once; the digit keys are told by their place, as on the face.
  if (event->type() == QEvent::KeyPress) {
    bool repeat = false;
    const std::uint16_t key = keyCodes_.press(*static_cast<QKeyEvent*>(event), &repeat);
    if (!repeat) FormKeyDown(key);
  } else if (event->type() == QEvent::KeyRelease) {
    keyCodes_.release(*static_cast<QKeyEvent*>(event));
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
  if (!played_) terminateApplication();
  QWidget::closeEvent(event);
}

void TSplashForm::la_website_2Click() {
  zarvik::openOnDesktop(this, QUrl(QString::fromLatin1(product::kWebsiteUrl)));
}

void TSplashForm::la_email_2Click() {
  zarvik::openOnDesktop(this, QUrl(QStringLiteral("mailto:") + QString::fromLatin1(product::kEmail)));
}

void TSplashForm::btn_paypalClick() {
  zarvik::openOnDesktop(this, QUrl(QString::fromLatin1(product::kDonationUrl)));
}
