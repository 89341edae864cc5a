#include "sdl_library.h"

#include <dlfcn.h>

#include <optional>

namespace zarvik {
namespace {

// Opens `soname` and binds every function of `Table` by its own name.
template <typename Table, typename Bind>
std::optional<Table> bindLibrary(const char* soname, const char* what, Bind bind, std::string& error) {
  void* handle = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    error = std::string("the ") + what + " could not be loaded (" + dlerror() + ")";
    return std::nullopt;
  }
  Table table{};
  std::string missing;
  bind(table, [&](const char* name) {
    void* symbol = dlsym(handle, name);
    if (!symbol) missing += (missing.empty() ? "" : ", ") + std::string(name);
    return symbol;
  });
  if (!missing.empty()) {
    error = std::string("the ") + what + " " + soname + " lacks " + missing;
    return std::nullopt;
  }
  return table;
}

#define ZARVIK_LIBRARY_BIND(name) table.name = reinterpret_cast<decltype(&::name)>(find(#name));

}  // namespace

const SdlLibrary* loadSdl(std::string& error) {
  static std::string loadError;
  static const std::optional<SdlLibrary> library = bindLibrary<SdlLibrary>(
      "libSDL2-2.0.so.0", "SDL library",
      [](SdlLibrary& table, auto find) { ZARVIK_SDL_FUNCTIONS(ZARVIK_LIBRARY_BIND) }, loadError);
  if (!library) error = loadError;
  return library ? &*library : nullptr;
}

const MixerLibrary* loadMixer(std::string& error) {
  static std::string loadError;
  static const std::optional<MixerLibrary> library = bindLibrary<MixerLibrary>(
      "libSDL2_mixer-2.0.so.0", "sound library",
      [](MixerLibrary& table, auto find) { ZARVIK_MIXER_FUNCTIONS(ZARVIK_LIBRARY_BIND) }, loadError);
  if (!library) error = loadError;
  return library ? &*library : nullptr;
}

}  // namespace zarvik
