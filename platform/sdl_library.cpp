#include "sdl_library.h"

#include "shared_library.h"

namespace zarvik {

// Beside the tables' type, where loadLibraryOnce finds them.
#define ZARVIK_LIBRARY_BIND(name) find(table.name, #name);
static void bindSymbols(SdlLibrary& table, LibrarySymbols& find) { ZARVIK_SDL_FUNCTIONS(ZARVIK_LIBRARY_BIND) }
static void bindSymbols(MixerLibrary& table, LibrarySymbols& find) { ZARVIK_MIXER_FUNCTIONS(ZARVIK_LIBRARY_BIND) }
#undef ZARVIK_LIBRARY_BIND

const SdlLibrary* loadSdl(std::string& error) {
  return loadLibraryOnce<SdlLibrary>("libSDL2-2.0.so.0", "SDL library", error);
}

const MixerLibrary* loadMixer(std::string& error) {
  return loadLibraryOnce<MixerLibrary>("libSDL2_mixer-2.0.so.0", "sound library", error);
}

}  // namespace zarvik
