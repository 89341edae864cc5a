#include "play_action.h"

#include "handheld.h"

namespace zarvik {

namespace {
// The output type of each driver choice that has sound.
constexpr int kOutputTypes[] = {kOutputDesktopServer, kOutputAlsa};
}  // namespace

bool startSound(Handheld& handheld, SettingsStore& settings, SoundDriver driver) {
  handheld.SoundEnabled = driver != NoSound;
  settings.writeInteger("SoundMode", driver);
  if (!handheld.SoundEnabled) return true;
  handheld.sound().FSOUND_Init(22050, 64, 0);
  handheld.sound().FSOUND_SetOutput(kOutputTypes[driver]);
  return handheld.Snd_Load();
}

void forgetSoundChoice(SettingsStore& settings) {
  settings.writeInteger("SoundMode", -1);
  settings.writeBool("SplashScreen", true);
}

void storeSplashScreenChoice(SettingsStore& settings, bool showAtStart) {
  settings.writeBool("SplashScreen", showAtStart);
}

}  // namespace zarvik
