#include "play_action.h"

#include <QAction>
#include <QString>

#include "application_state.h"
#include "error_box.h"
#include "handheld.h"
#include "window_placement.h"

namespace zarvik {

namespace {
// The output type of each driver choice that has sound.
constexpr int kOutputTypes[] = {kOutputDesktopServer, kOutputAlsa};

bool startSound(Handheld& handheld, SettingsStore& settings, SoundDriver driver) {
  handheld.SoundEnabled = driver != NoSound;
  settings.writeInteger("SoundMode", driver);
  if (!handheld.SoundEnabled) return true;
  handheld.sound().FSOUND_Init(22050, 64, 0);
  handheld.sound().FSOUND_SetOutput(kOutputTypes[driver]);
  return handheld.Snd_Load();
}
}  // namespace

bool PlayAction::run(SoundDriver driver, bool showSplashAtStart) const {
  if (!startSound(handheld, settings, driver)) {
    showErrorBox(messageParent, QStringLiteral("Sound folder unproperly installed. Please reinstall the game."));
    settings.writeInteger("SoundMode", -1);
    settings.writeBool("SplashScreen", true);
    terminateApplication();
    return false;
  }
  settings.writeBool("SplashScreen", showSplashAtStart);
  if (splashMenuEntry) splashMenuEntry->setChecked(showSplashAtStart);
  centreOnScreen(face);
  handheld.Mode = ModeAllSegments;
  handheld.Gam_Set_Mode();
  return true;
}

std::optional<SoundDriver> driverPlayedAtStart(SettingsStore& settings) {
  const int stored = settings.readInteger("SoundMode", -1);
  if (stored < DesktopServerSound || stored > NoSound || settings.readBool("SplashScreen", true))
    return std::nullopt;
  return SoundDriver(stored);
}

}  // namespace zarvik
