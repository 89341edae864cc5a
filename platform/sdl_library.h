#pragma once
// SDL2 and SDL2_mixer, loaded when first needed (shared_library.h): a start
// with "(no sound)" and no gamepad never maps them. The sound layer and the
// gamepad layer call SDL through these tables; both get the same loaded
// library, so SDL's subsystems count their users as usual.

#include <SDL.h>
#include <SDL_mixer.h>

#include <string>

namespace zarvik {

#define ZARVIK_SDL_FUNCTIONS(F)                                                                    \
  F(SDL_GetError) F(SDL_SetHint) F(SDL_SetHintWithPriority) F(SDL_ResetHint) F(SDL_InitSubSystem) \
  F(SDL_QuitSubSystem) F(SDL_GetNumAudioDrivers) F(SDL_GetAudioDriver) F(SDL_RWFromConstMem)      \
  F(SDL_RWclose) F(SDL_PollEvent) F(SDL_GameControllerOpen) F(SDL_GameControllerClose)            \
  F(SDL_GameControllerGetJoystick) F(SDL_JoystickInstanceID) F(SDL_realloc)                       \
  F(SDL_GetAudioDeviceStatus)

#define ZARVIK_MIXER_FUNCTIONS(F)                                                                 \
  F(Mix_OpenAudioDevice) F(Mix_CloseAudio) F(Mix_Quit) F(Mix_AllocateChannels) F(Mix_LoadWAV_RW) \
  F(Mix_FreeChunk) F(Mix_PlayChannel) F(Mix_HaltChannel) F(Mix_Playing) F(Mix_ChannelFinished)

#define ZARVIK_LIBRARY_POINTER(name) decltype(&::name) name;
struct SdlLibrary {
  ZARVIK_SDL_FUNCTIONS(ZARVIK_LIBRARY_POINTER)
};
struct MixerLibrary {
  ZARVIK_MIXER_FUNCTIONS(ZARVIK_LIBRARY_POINTER)
};
#undef ZARVIK_LIBRARY_POINTER

// Each is loaded once per process, from any thread; null, with the reason in
// `error`, when the library or one of its functions cannot be found.
const SdlLibrary* loadSdl(std::string& error);
const MixerLibrary* loadMixer(std::string& error);

}  // namespace zarvik
