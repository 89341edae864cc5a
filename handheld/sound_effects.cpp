// The handheld's five samples: loaded once when the player leaves the splash
// window with a driver chosen, played on request, released at close.

#include "handheld.h"

namespace zarvik {

bool Handheld::Snd_Load() {
  auto load = [this](const char* file) {
    return sound_.FSOUND_Sample_Load(FSOUND_FREE, file, FSOUND_2D, 0, 0);
  };
  SoundGameover = load("Sound/Gameover.wav");
  SoundGot = load("Sound/Got.wav");
  SoundMiss = load("Sound/Miss.wav");
  SoundMove = load("Sound/Move.wav");
  SoundStart = load("Sound/Start.wav");
  return SoundGameover != 0;
}

void Handheld::Snd_Play(int sample) {
  if (SoundEnabled) sound_.FSOUND_PlaySound(FSOUND_FREE, sample);
}

void Handheld::Snd_Silence() {
  if (SoundEnabled) sound_.FSOUND_StopSound(FSOUND_ALL);
}

void Handheld::Snd_Release() {
  for (int* sample : {&SoundGameover, &SoundGot, &SoundMiss, &SoundMove, &SoundStart}) {
    sound_.FSOUND_Sample_Free(*sample);
    *sample = 0;
  }
  sound_.FSOUND_Close();
}

}  // namespace zarvik
