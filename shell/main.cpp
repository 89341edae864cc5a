// The Zarvik simulator: creates the face and starts the handheld in mode 0.

#include <QApplication>
#include <QCommandLineParser>
#include <QSettings>
#include <chrono>

#include "application_state.h"
#include "handheld.h"
#include "main_window.h"
#include "qt_timer_backend.h"
#include "stand_in_services.h"
#include "system_clock.h"
#include "virtual_time.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Zarvik50");
  QApplication::setOrganizationName("Quendrel");

  QCommandLineParser parser;
  parser.setApplicationDescription("Zarvik (Omvix, Brumalo) Simulator");
  parser.addHelpOption();
  const QCommandLineOption windowed("windowed", "For tests: start in windowed mode, whatever is stored.");
  const QCommandLineOption fullscreen("fullscreen", "For tests: start in fullscreen mode, whatever is stored.");
  const QCommandLineOption settingsDir("settings-dir", "For tests: keep the settings under <dir> instead of the user's.",
                                       "dir");
  parser.addOptions({windowed, fullscreen, settingsDir});
  parser.process(app);
  if (parser.isSet(settingsDir))
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, parser.value(settingsDir));

  QtTimerBackend timers;
  SystemClock clock;
  zarvik::SeededRandom random(
      uint32_t(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
  zarvik::SilentSoundLayer sound;
  zarvik::MemorySettingsStore settings;
  zarvik::Handheld handheld(timers, clock, random, sound, settings);

  TForm1::Options options{zarvik::SkinSources::forProgram(), std::nullopt};
  if (parser.isSet(windowed)) options.fullscreen = false;
  if (parser.isSet(fullscreen)) options.fullscreen = true;
  TForm1 form(handheld, options);
  if (!zarvik::terminationRequested()) {
    form.centreOnScreen();
    form.show();
    handheld.Mode = zarvik::ModeAllSegments;
    handheld.Gam_Set_Mode();
  }
  return app.exec();
}
