#pragma once
// The splash window's play action, apart from closing the window: setting
// sound up for the chosen driver, storing the choices and handing over to the
// face. A start that skips the splash runs it without building the window.

#include <optional>

class QAction;
class QWidget;

namespace zarvik {

class Handheld;
class SettingsStore;

// The splash window's driver choices, by their place in its list, which is
// what SoundMode stores.
enum SoundDriver : int { DesktopServerSound = 0, AlsaSound = 1, NoSound = 2 };

struct PlayAction {
  Handheld& handheld;
  SettingsStore& settings;
  QWidget& face;
  QAction* splashMenuEntry = nullptr;  // ticked like the splash choice; may be null
  QWidget* messageParent = nullptr;    // of the sound failure's message; may be null

  // Stores the driver as SoundMode and sets sound up for it (with a driver:
  // starts the sound library with its output type and loads the five
  // samples). When the game-over sample, the first one loaded, is missing:
  // the message, the choices reset so that the next start asks again, the
  // application told to end, and false. Otherwise stores the splash choice,
  // ticks the menu entry like it, centres the face, which brings it into
  // view, and lights every segment.
  bool run(SoundDriver driver, bool showSplashAtStart) const;

  // The same at start-up with the splash switched off, but the sound library
  // starts once the face has painted its first frame, so that the face does
  // not wait for it. Whether the game-over sample's file is there is checked
  // before, so that a missing one still gives the message instead of the
  // face; one the library then cannot load gives it over the face.
  bool runAtStart(SoundDriver driver) const;

 private:
  bool soundFailed() const;
  void handOver(bool showSplashAtStart) const;
};

// The stored driver when the splash is switched off: the play action then
// runs at start-up and the splash window is never shown. None otherwise.
std::optional<SoundDriver> driverPlayedAtStart(SettingsStore& settings);

}  // namespace zarvik
