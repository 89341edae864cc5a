#pragma once
// The program's start-up, step by step. Its rule:
//
//   Nothing runs before the first frame that the first frame does not need.
//
// The first frame the user waits for is the splash window's on a start that
// asks for the sound driver, else the face's: with a driver stored and the
// splash switched off, the play action runs at once and the splash window is
// never built. Before that frame come the settings, the face laid out from
// the skin while parked out of sight, and the splash window. Deferred:
// - the font database, which the splash's captions need: read on another
//   thread while the face is built;
// - the windows the menu opens (about box, manual viewer, key dialog): built
//   when first opened, the key dialog then copying the bindings of that
//   moment (only it changes them), the manual reading its pages then;
// - once the first frame is out: the window icon, in the sizes window
//   managers draw; malloc_trim, which gives back to the system the memory
//   that decoding the skin took; and, when the splash offers a stored driver
//   again, the sound library, loaded on another thread so that Play does not
//   wait for it;
// - on a start without the splash, the sound library's start and the
//   samples' loading, once the face has painted (PlayAction::runAtStart);
// - gamepads, looked for a second after the face's first frame, so that
//   SDL's start (its controller database, the device scan) delays no window;
// - SDL, SDL_mixer and libwmf themselves, loaded when first needed
//   (shared_library.h): a start with "(no sound)", no gamepad and no
//   metafile maps none of them.
// Before the application exists, the environment Qt reads as it starts is
// set (start_environment.h). The figures are in bench/README.md.

#include <QApplication>
#include <memory>
#include <optional>
#include <thread>

#include "command_line.h"
#include "handheld.h"
#include "play_action.h"
#include "qt_timer_backend.h"
#include "sdl_sound_layer.h"
#include "seeded_random.h"
#include "session_recording.h"
#include "settings_store.h"
#include "system_clock.h"

class TForm1;
class TSplashForm;

namespace zarvik {

class SdlGamepads;

// The steps before the application exists: the program's names, the
// questions answered without a display (--help, --version, --check-skin, a
// bad option) with the exit status they give, and the face's scale rounding.
std::optional<int> beforeApplication(CommandLine& commandLine, int argc, char* argv[]);

class Startup {
 public:
  Startup(QApplication& app, CommandLine& commandLine);
  ~Startup();
  Startup(const Startup&) = delete;
  Startup& operator=(const Startup&) = delete;

  // Brings the program up, in the order the steps below are declared. Gives
  // the exit status when the event loop is not to run: no data folder, or
  // told to terminate meanwhile (no Config.ini, no sound samples).
  std::optional<int> run();

 private:
  void setUpApplication();
  bool enterDataFolder();
  bool openRecordingIfAsked();
  void openSettings();
  void buildHandheld();
  void buildFace();
  void startRecording();
  void playOrBuildSplash();
  void attachWindowsBuiltOnFirstUse();
  void deferUntilFirstFrame();
  void showFace();

  QApplication& app_;
  CommandLine& commandLine_;
  QtTimerBackend timers_;
  SystemClock clock_;
  uint32_t seed_;
  SeededRandom random_;
  SdlSoundLayer sound_;
  QtSettingsStore settings_;
  std::unique_ptr<SessionRecording> recording_;  // with --record
  std::optional<Handheld> handheld_;  // built once its timers are known
  int storedDriver_ = -1;
  std::optional<SoundDriver> playedAtStart_;
  std::jthread fontDatabaseReader_;
  std::unique_ptr<TForm1> face_;
  std::unique_ptr<GameRecorder> recorder_;  // ends the recording before the face goes
  std::unique_ptr<TSplashForm> splash_;
  std::unique_ptr<SdlGamepads> gamepads_;
};

}  // namespace zarvik
