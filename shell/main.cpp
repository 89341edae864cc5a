// The Zarvik simulator: creates its windows in order and runs until told to
// terminate or until the face is closed.

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QIcon>
#include <QSettings>
#include <QTimer>
#include <chrono>
#include <malloc.h>
#include <thread>

#include "about_form.h"
#include "after_first_paint.h"
#include "application_state.h"
#include "command_line.h"
#include "data_folder.h"
#include "error_box.h"
#include "first_frame_trace.h"
#include "handheld.h"
#include "keys_form.h"
#include "main_window.h"
#include "manual_form.h"
#include "play_action.h"
#include "qt_timer_backend.h"
#include "sdl_gamepad.h"
#include "sdl_sound_layer.h"
#include "seeded_random.h"
#include "settings_store.h"
#include "skin_check.h"
#include "skin_picture.h"
#include "start_environment.h"
#include "splash_form.h"
#include "system_clock.h"
#include "termination_signals.h"
#include "window_placement.h"
#include "x11_auto_repeat.h"

int main(int argc, char* argv[]) {
  QCoreApplication::setApplicationName("Zarvik50");
  QCoreApplication::setOrganizationName("Quendrel");
  QCoreApplication::setApplicationVersion(ZARVIK_VERSION);
  zarvik::CommandLine commandLine;
  if (commandLine.answersWithoutDisplay(argc, argv)) {
    // Answered without a display, then the program ends.
    QCoreApplication info(argc, argv);
    commandLine.process(info);
    if (commandLine.checksSkin()) return zarvik::printSkinProblems(commandLine.skinToCheck(), commandLine.dataDir());
  }

  // The skin is laid out in pixels: a desktop scaled by a fraction (125 %,
  // 150 %) shows the face at its own size rather than stretched unevenly;
  // one scaled by a whole factor (200 %) multiplies it.
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::RoundPreferFloor);
  zarvik::StartEnvironment environment;
  QApplication app(argc, argv);
  environment.restore();
  zarvik::quitOnTerminationSignals();
  zarvik::FirstFrameTrace::installIfEnabled(app);
  // A held key acts once: its repeats arrive as presses of a key already held.
  zarvik::requestDetectableAutoRepeat();
  QGuiApplication::setDesktopFileName(ZARVIK_APP_ID);
  commandLine.process(app);
  if (!commandLine.settingsDir().isEmpty())
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, commandLine.settingsDir());

  // Every file the skin names is relative to the data folder.
  const zarvik::DataFolderSearch data = zarvik::findDataFolder(
      commandLine.dataDir(), qEnvironmentVariable("ZARVIK_DATA_DIR"), QCoreApplication::applicationDirPath());
  if (data.folder.isEmpty() || !QDir::setCurrent(data.folder)) {
    zarvik::showErrorBox(nullptr, data.folder.isEmpty() ? data.error
                                                        : QStringLiteral("Cannot enter the data folder %1.").arg(data.folder));
    return 1;
  }

  zarvik::QtTimerBackend timers;
  zarvik::SystemClock clock;
  zarvik::SeededRandom random(
      uint32_t(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
  zarvik::SdlSoundLayer sound;
  zarvik::QtSettingsStore settings;
  // Opened once: the face reads the same store.
  settings.open();
  const int storedDriver = settings.readInteger("SoundMode", -1);
  zarvik::Handheld handheld(timers, clock, random, sound, settings);

  // The face first; then the splash's play action, which reads the store the
  // face has opened and needs the face. With a driver stored and the splash
  // switched off it runs at once (starting the sound library once the face is
  // on screen), and the splash window, never shown, is not built. The windows
  // the menu opens are built when first opened: the key dialog then copies
  // the bindings of that moment, which only the dialog itself changes, and
  // the manual reads its pages (reporting any it cannot load) as it first
  // opens.
  zarvik::SplashPending = true;
  const std::optional<zarvik::SoundDriver> playedAtStart = zarvik::driverPlayedAtStart(settings);
  // The splash's captions need the font database, which takes a while to
  // read: it is read on another thread while the face is built.
  std::jthread fontDatabaseReader;
  if (!playedAtStart) fontDatabaseReader = std::jthread([] { QFontDatabase::families(); });
  TForm1::Options options{zarvik::SkinSources::forProgram(), std::nullopt, &settings};
  options.fullscreen = commandLine.fullscreen();
  options.zoom = commandLine.zoom();
  TForm1 form(handheld, options);
  QAction* splashMenuEntry = form.menuEntry(TForm1::kSplashScreenRow);
  std::unique_ptr<TSplashForm> splash;
  if (playedAtStart) {
    zarvik::SplashPending = false;
    zarvik::PlayAction{handheld, settings, form, splashMenuEntry}.runAtStart(*playedAtStart);
  } else {
    splash = std::make_unique<TSplashForm>(
        handheld, settings, form, zarvik::SkinPicture::imageOf(handheld.panel[zarvik::im_background].picture),
        splashMenuEntry);
  }
  using zarvik::DeferredWindow;
  form.attachWindows({DeferredWindow([] { return std::make_unique<TAboutForm>(); }),
                      DeferredWindow([] { return std::make_unique<TManualForm>(zarvik::SkinSources::forProgram()); }),
                      DeferredWindow([&form] { return std::make_unique<TKeysForm>(form); }),
                      splash.get()});

  // Told to terminate during start-up (no Config.ini, no sound samples): the
  // event loop would end at once, so it is not entered and nothing is shown.
  if (zarvik::terminationRequested()) return 0;

  // Gamepads are looked for a second after the face's first frame, when the
  // windows of start-up are up: SDL's start (its controller database, the
  // device scan) then delays none of them.
  zarvik::SdlGamepads gamepads;
  QObject::connect(&gamepads, &zarvik::SdlGamepads::buttonDown, &form, &TForm1::gamepadButtonDown);
  QObject::connect(&gamepads, &zarvik::SdlGamepads::buttonUp, &form, &TForm1::gamepadButtonUp);
  zarvik::AfterFirstPaint::run(form, [&gamepads] { QTimer::singleShot(1000, &gamepads, [&gamepads] { gamepads.start(); }); });

  // Once the first window the user waits for is on screen (the splash, or
  // else the face): the window icon is read, in the sizes window managers
  // draw (larger ones come from the installed icon theme), and the memory
  // that start-up used for decoding goes back to the system. A splash that
  // offers a stored driver again has the sound library loaded meanwhile on
  // another thread, so that Play does not wait for it.
  const bool preloadSound = splash && (storedDriver == zarvik::DesktopServerSound || storedDriver == zarvik::AlsaSound);
  zarvik::AfterFirstPaint::run(splash ? static_cast<QWidget&>(*splash) : form, [&sound, preloadSound] {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) icon.addFile(QStringLiteral(":/icons/%1.png").arg(size));
    QApplication::setWindowIcon(icon);
    // After the rest of the first frame's work, such as starting sound.
    QTimer::singleShot(0, [] { malloc_trim(0); });
    if (preloadSound) sound.preloadLibrary();
  });

  // Shown where the set-up parked it, or centred if the splash already played.
  // Its first activation shows the splash window (a face parked unmapped,
  // which is never activated, shows it when the event loop starts).
  zarvik::showUnlessParked(form);
  form.activateWindow();
  return app.exec();
}
