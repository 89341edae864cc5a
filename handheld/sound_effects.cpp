// The handheld's five samples: loaded once when the player leaves the splash
// window with a driver chosen, played on request, released at close.

#include "handheld.h"

#include <iterator>

namespace zarvik {

bool Handheld::Snd_Load() {
  int* const handles[] = {&SoundGameover, &SoundGot, &SoundMiss, &SoundMove, &SoundStart};
  static_assert(std::size(handles) == std::size(kSampleFiles));
  for (std::size_t i = 0; i < std::size(handles); ++i)
    *handles[i] = sound_.FSOUND_Sample_Load(FSOUND_FREE, kSampleFiles[i], FSOUND_2D, 0, 0);
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
