#include "startup.h"

#include <QDir>
#include <QFontDatabase>
#include <QIcon>
#include <QSettings>
#include <QTimer>
#include <chrono>
#include <malloc.h>

#include "about_form.h"
#include "application_state.h"
#include "data_folder.h"
#include "error_box.h"
#include "first_frame.h"
#include "keys_form.h"
#include "main_window.h"
#include "manual_form.h"
#include "sdl_gamepad.h"
#include "skin_check.h"
#include "skin_picture.h"
#include "splash_form.h"
#include "termination_signals.h"
#include "window_placement.h"
#include "x11_auto_repeat.h"

namespace zarvik {

std::optional<int> beforeApplication(CommandLine& commandLine, int argc, char* argv[]) {
  QCoreApplication::setApplicationName("Zarvik50");
  QCoreApplication::setOrganizationName("Quendrel");
  QCoreApplication::setApplicationVersion(ZARVIK_VERSION);
  if (commandLine.answersWithoutDisplay(argc, argv)) {
    // Answered without a display, then the program ends.
    QCoreApplication info(argc, argv);
    commandLine.process(info);
    if (commandLine.checksSkin()) return printSkinProblems(commandLine.skinToCheck(), commandLine.dataDir());
  }
  // The skin is laid out in pixels: a desktop scaled by a fraction (125 %,
  // 150 %) shows the face at its own size rather than stretched unevenly;
  // one scaled by a whole factor (200 %) multiplies it.
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::RoundPreferFloor);
  return std::nullopt;
}

Startup::Startup(QApplication& app, CommandLine& commandLine)
    : app_(app),
      commandLine_(commandLine),
      seed_(uint32_t(std::chrono::high_resolution_clock::now().time_since_epoch().count())),
      random_(seed_) {}

Startup::~Startup() = default;

std::optional<int> Startup::run() {
  setUpApplication();
  if (!enterDataFolder() || !openRecordingIfAsked()) return 1;
  openSettings();
  buildHandheld();
  buildFace();
  startRecording();
  playOrBuildSplash();
  attachWindowsBuiltOnFirstUse();
  // Told to terminate meanwhile: the event loop would end at once, so it is
  // not entered and nothing is shown.
  if (terminationRequested()) return 0;
  deferUntilFirstFrame();
  showFace();
  return std::nullopt;
}

void Startup::setUpApplication() {
  quitOnTerminationSignals();
  FirstFrameWatch::traceFirstFrames(app_);
  // A held key acts once: its repeats arrive as presses of a key already held.
  requestDetectableAutoRepeat();
  QGuiApplication::setDesktopFileName(ZARVIK_APP_ID);
  commandLine_.process(app_);
  if (!commandLine_.settingsDir().isEmpty())
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, commandLine_.settingsDir());
}

// Every file the skin names is relative to the data folder.
bool Startup::enterDataFolder() {
  const DataFolderSearch data = findDataFolder(commandLine_.dataDir(), qEnvironmentVariable("ZARVIK_DATA_DIR"),
                                               QCoreApplication::applicationDirPath());
  if (!data.folder.isEmpty() && QDir::setCurrent(data.folder)) return true;
  showErrorBox(nullptr, data.folder.isEmpty() ? data.error
                                              : QStringLiteral("Cannot enter the data folder %1.").arg(data.folder));
  return false;
}

// With --record, the handheld's timers run in virtual time paced by the real
// ones, so that the recording replays exactly (session_recording.h); without
// it, on the real timers alone.
bool Startup::openRecordingIfAsked() {
  const QString file = commandLine_.recordFile();
  if (file.isEmpty()) return true;
  std::string error;
  recording_ = SessionRecording::open(file.toStdString(), timers_, seed_, error);
  if (!recording_) showErrorBox(nullptr, QString::fromStdString(error));
  return recording_ != nullptr;
}

// Opened once: the face and the splash read the same store.
void Startup::openSettings() {
  settings_.open();
  storedDriver_ = settings_.readInteger("SoundMode", -1);
  playedAtStart_ = driverPlayedAtStart(settings_);
}

void Startup::buildHandheld() {
  handheld_.emplace(recording_ ? recording_->timers() : timers_, clock_, random_, sound_, settings_);
}

void Startup::buildFace() {
  // The splash's captions need the font database, which takes a while to
  // read: it is read on another thread while the face is built.
  if (!playedAtStart_) fontDatabaseReader_ = std::jthread([] { QFontDatabase::families(); });
  TForm1::Options options{SkinSources::forProgram(), commandLine_.fullscreen(), &settings_};
  options.zoom = commandLine_.zoom();
  if (commandLine_.lcdLook()) options.lcdLook = true;
  face_ = std::make_unique<TForm1>(*handheld_, options);
}

// The first lines hold the high scores the face has loaded.
void Startup::startRecording() {
  if (recording_) recorder_ = recording_->start(*handheld_);
}

// With a driver stored and the splash switched off, the play action runs at
// once (sound starts once the face is on screen) and the splash window is
// not built.
void Startup::playOrBuildSplash() {
  QAction* splashMenuEntry = face_->menuEntry(TForm1::kSplashScreenRow);
  if (playedAtStart_) {
    PlayAction{*handheld_, settings_, *face_, splashMenuEntry}.runAtStart(*playedAtStart_);
    return;
  }
  splash_ = std::make_unique<TSplashForm>(*handheld_, settings_, *face_,
                                          SkinPicture::imageOf(handheld_->panel[im_background].picture),
                                          splashMenuEntry);
}

void Startup::attachWindowsBuiltOnFirstUse() {
  TForm1& face = *face_;
  face.attachWindows({DeferredWindow([] { return std::make_unique<TAboutForm>(); }),
                      DeferredWindow([] { return std::make_unique<TManualForm>(SkinSources::forProgram()); }),
                      DeferredWindow([&face] {
                        auto keys = std::make_unique<TKeysForm>(face.keyBindings());
                        QObject::connect(keys.get(), &TKeysForm::keysChosen, &face, &TForm1::applyKeyChoices);
                        return keys;
                      }),
                      splash_.get()});
}

void Startup::deferUntilFirstFrame() {
  gamepads_ = std::make_unique<SdlGamepads>();
  SdlGamepads& gamepads = *gamepads_;
  QObject::connect(&gamepads, &SdlGamepads::buttonDown, face_.get(), &TForm1::gamepadButtonDown);
  QObject::connect(&gamepads, &SdlGamepads::buttonUp, face_.get(), &TForm1::gamepadButtonUp);
  FirstFrameWatch::afterFirstFrame(*face_, [&gamepads] {
    QTimer::singleShot(1000, &gamepads, [&gamepads] { gamepads.start(); });
  });

  const bool preloadSound = splash_ && (storedDriver_ == DesktopServerSound || storedDriver_ == AlsaSound);
  QWidget& firstWindow = splash_ ? static_cast<QWidget&>(*splash_) : *face_;
  FirstFrameWatch::afterFirstFrame(firstWindow, [this, preloadSound] {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) icon.addFile(QStringLiteral(":/icons/%1.png").arg(size));
    QApplication::setWindowIcon(icon);
    // After the rest of the first frame's work, such as starting sound.
    QTimer::singleShot(0, [] { malloc_trim(0); });
    if (preloadSound) sound_.preloadLibrary();
  });
}

// Shown where the set-up parked it, or centred if the play action has run.
// Its first activation shows the splash window (a face parked unmapped,
// which is never activated, shows it when the event loop starts).
void Startup::showFace() {
  showUnlessParked(*face_);
  face_->activateWindow();
}

}  // namespace zarvik
