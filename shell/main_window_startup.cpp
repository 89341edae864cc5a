// TForm1's start-up and shutdown: the set-up run at creation, the splash
// window shown on the first activation, and the release on a close request.

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QPointer>

#include "error_box.h"
#include "first_frame.h"
#include "main_window.h"
#include "product_info.h"
#include "settings_store.h"
#include "splash_form.h"
#include "window_placement.h"
#include "x11_auto_repeat.h"

using namespace zarvik;

void TForm1::FormCreate(std::optional<bool> fullscreen, std::optional<int> zoom) {
  // The application title. A desktop's task bar names a window by its title,
  // and the face draws no caption, so the program's name is the face's title.
  // (An application display name would be appended to every other window's
  // caption as well.)
  setWindowTitle(QString::fromLatin1(product::kTitle));

  // Parked out of sight until the play action centres it, so that the skin
  // is never seen half laid out.
  park(*this);

  if (settingsStore_) {
    settingsStore_->open();
    // Settings that cannot be saved are told in the error box, once the event
    // loop is back: never in the middle of what the handheld is doing.
    settingsStore_->setFailureReporter([face = QPointer<TForm1>(this)](const QString& message) {
      if (face) QMetaObject::invokeMethod(face, [face, message] { showErrorBox(face, message); }, Qt::QueuedConnection);
    });
  }
  SettingsStore& settings = handheld_.settings();

  IsFullscreen = fullscreen.value_or(settings.readBool("FullscreenMode", true));
  // A zoom given for this run is not stored; a stored one out of range is 1.
  Zoom = zoom.value_or(settings.readInteger("Zoom", 1));
  if (Zoom < 1 || Zoom > kMaxZoom) Zoom = 1;
  LoadSkin();

  KeyBindings.load(settings);
  UpdateButtonHints();
  setMouseTracking(true);  // pointer shapes follow the images under the pointer

  createMenu();

  handheld_.loadHighScores();

  handheld_.ButtonLatch = false;
  handheld_.GameAHeld = false;
  handheld_.GameBHeld = false;
  handheld_.HeroMovable = false;

  qCInfo(lcStartup, "FormCreate: settings in %s",
         settingsStore_ ? qPrintable(settingsStore_->fileName()) : "memory");
}

// A key still held from another window (the Esc that closed the about box)
// does not act on the face when it repeats there: Esc would end the program.
void TForm1::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    keyCodes_.ignoreHeld(keysHeldNow());
    FormActivate();
  }
  QWidget::changeEvent(event);
}

// A face kept unmapped while parked is never activated: the splash window
// then comes up as soon as the event loop runs.
void TForm1::showSplashIfNeverActivated() {
  if (isParkedUnmapped(*this)) FormActivate();
}

void TForm1::FormActivate() {
  if (!SplashPending || !windows_.splash) return;
  SplashPending = false;
  qCInfo(lcStartup, "FormActivate: showing the splash window");
  windows_.splash->show();
  windows_.splash->raise();
  windows_.splash->activateWindow();
}

void TForm1::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
  // Closing the main window ends the application, whatever else is shown.
  QCoreApplication::exit(0);
}

void TForm1::FormClose() {
  handheld_.Snd_Release();
  if (settingsStore_) settingsStore_->release();
  qCInfo(lcStartup, "FormClose: samples freed, sound library closed, settings released");
}
