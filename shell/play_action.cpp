#include "play_action.h"

#include <QAction>
#include <QFileInfo>
#include <QString>

#include "application_state.h"
#include "error_box.h"
#include "first_frame.h"
#include "handheld.h"
#include "window_placement.h"

namespace zarvik {

namespace {
// The output type of each driver choice that has sound.
constexpr int kOutputTypes[] = {kOutputDesktopServer, kOutputAlsa};

void storeDriver(Handheld& handheld, SettingsStore& settings, SoundDriver driver) {
  handheld.SoundEnabled = driver != NoSound;
  settings.writeInteger("SoundMode", driver);
}

bool startSound(Handheld& handheld, SoundDriver driver) {
  if (!handheld.SoundEnabled) return true;
  handheld.sound().FSOUND_Init(22050, 64, 0);
  handheld.sound().FSOUND_SetOutput(kOutputTypes[driver]);
  return handheld.Snd_Load();
}

// Whether the game-over sample's file is there to be read; the sound library
// itself tells whether it can be loaded.
bool firstSampleFound() {
  const QFileInfo file(QString::fromLatin1(Handheld::kSampleFiles[0]));
  return file.isFile() && file.isReadable();
}
}  // namespace

bool PlayAction::run(SoundDriver driver, bool showSplashAtStart) const {
  storeDriver(handheld, settings, driver);
  if (!startSound(handheld, driver)) return soundFailed();
  handOver(showSplashAtStart);
  return true;
}

bool PlayAction::runAtStart(SoundDriver driver) const {
  storeDriver(handheld, settings, driver);
  if (handheld.SoundEnabled && !firstSampleFound()) return soundFailed();
  handOver(false);
  if (handheld.SoundEnabled) {
    FirstFrameWatch::afterFirstFrame(face, [play = *this, driver] {
      if (!startSound(play.handheld, driver)) play.soundFailed();
    });
  }
  return true;
}

bool PlayAction::soundFailed() const {
  showErrorBox(messageParent, QStringLiteral("Sound folder unproperly installed. Please reinstall the game."));
  settings.writeInteger("SoundMode", -1);
  settings.writeBool("SplashScreen", true);
  terminateApplication();
  return false;
}

void PlayAction::handOver(bool showSplashAtStart) const {
  settings.writeBool("SplashScreen", showSplashAtStart);
  if (splashMenuEntry) splashMenuEntry->setChecked(showSplashAtStart);
  placeOnScreen(face);
  handheld.Mode = ModeAllSegments;
  handheld.Gam_Set_Mode();
}

std::optional<SoundDriver> driverPlayedAtStart(SettingsStore& settings) {
  const int stored = settings.readInteger("SoundMode", -1);
  if (stored < DesktopServerSound || stored > NoSound || settings.readBool("SplashScreen", true))
    return std::nullopt;
  return SoundDriver(stored);
}

}  // namespace zarvik
