#pragma once
// The work of the splash window's play action that is not about the window:
// setting sound up for the chosen driver and storing the choices.

namespace zarvik {

class Handheld;
class SettingsStore;

// The splash window's driver choices, by their place in its list, which is
// what SoundMode stores.
enum SoundDriver : int { DesktopServerSound = 0, AlsaSound = 1, NoSound = 2 };

// Stores the driver as SoundMode and sets sound up for it: with a driver,
// starts the sound library with that driver's output type and loads the five
// samples. False when the game-over sample, the first one loaded, is missing.
bool startSound(Handheld& handheld, SettingsStore& settings, SoundDriver driver);

// After a failed start: the next start asks for the driver again.
void forgetSoundChoice(SettingsStore& settings);

void storeSplashScreenChoice(SettingsStore& settings, bool showAtStart);

}  // namespace zarvik
