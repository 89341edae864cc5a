#include "sdl_library.h"

#include <dlfcn.h>

#include <optional>

namespace zarvik {
namespace {

// The functions of one opened library, noting the names it lacks.
struct Symbols {
  void* handle;
  std::string missing;

  void* operator()(const char* name) {
    void* symbol = dlsym(handle, name);
    if (!symbol) missing += (missing.empty() ? "" : ", ") + std::string(name);
    return symbol;
  }
};

#define ZARVIK_LIBRARY_BIND(name) table.name = reinterpret_cast<decltype(&::name)>(find(#name));
void bind(SdlLibrary& table, Symbols& find) { ZARVIK_SDL_FUNCTIONS(ZARVIK_LIBRARY_BIND) }
void bind(MixerLibrary& table, Symbols& find) { ZARVIK_MIXER_FUNCTIONS(ZARVIK_LIBRARY_BIND) }
#undef ZARVIK_LIBRARY_BIND

// Opens `soname` once per process and binds every function of `Table` by its
// own name; later calls get the same table, or the same reason it failed.
template <typename Table>
const Table* loadOnce(const char* soname, const char* what, std::string& error) {
  static std::string loadError;
  static const std::optional<Table> library = [&]() -> std::optional<Table> {
    Symbols find{dlopen(soname, RTLD_NOW | RTLD_LOCAL), {}};
    if (!find.handle) {
      loadError = std::string("the ") + what + " could not be loaded (" + dlerror() + ")";
      return std::nullopt;
    }
    Table table{};
    bind(table, find);
    if (!find.missing.empty()) {
      loadError = std::string("the ") + what + " " + soname + " lacks " + find.missing;
      return std::nullopt;
    }
    return table;
  }();
  if (!library) error = loadError;
  return library ? &*library : nullptr;
}

}  // namespace

const SdlLibrary* loadSdl(std::string& error) {
  return loadOnce<SdlLibrary>("libSDL2-2.0.so.0", "SDL library", error);
}

const MixerLibrary* loadMixer(std::string& error) {
  return loadOnce<MixerLibrary>("libSDL2_mixer-2.0.so.0", "sound library", error);
}

}  // namespace zarvik
