#pragma once
// Shared libraries loaded when first needed rather than linked: SDL and
// SDL_mixer (with the sound servers, Wayland and the mixer's codecs they
// bring, some forty shared objects), ALSA's library (only to quiet it) and
// libwmf (a dozen more, for metafiles the default skin never uses). A start
// that needs none of them maps none.
//
// A library is a table of function pointers, each bound by its own name
// through a bindSymbols overload found beside the table's type:
//   struct WmfLibrary { decltype(&::wmf_play) play; };
//   void bindSymbols(WmfLibrary& table, LibrarySymbols& find) { find(table.play, "wmf_play"); }
//   const WmfLibrary* wmf = loadLibraryOnce<WmfLibrary>("libwmf-0.2.so.7", "metafile library", error);

#include <optional>
#include <string>

namespace zarvik {

// Finds functions in one opened library, noting the names it lacks.
class LibrarySymbols {
 public:
  explicit LibrarySymbols(void* handle) : handle_(handle) {}
  template <typename Function>
  void operator()(Function& function, const char* name) {
    function = reinterpret_cast<Function>(find(name));
  }
  // The names not found, separated by commas; empty when every one was.
  const std::string& missing() const { return missing_; }

 private:
  void* find(const char* name);
  void* handle_;
  std::string missing_;
};

// Opens `soname` for the rest of the process; null, with "the <what> could
// not be loaded (<reason>)" in `error`, when it cannot be.
void* openLibrary(const char* soname, const char* what, std::string& error);

// The table of `soname`, loaded once per process from any thread: later calls
// get the same table, or the same reason it failed in `error` and null. One
// table type names one library.
template <typename Table>
const Table* loadLibraryOnce(const char* soname, const char* what, std::string& error) {
  static std::string loadError;
  static const std::optional<Table> library = [&]() -> std::optional<Table> {
    void* handle = openLibrary(soname, what, loadError);
    if (!handle) return std::nullopt;
    Table table{};
    LibrarySymbols find(handle);
    bindSymbols(table, find);
    if (!find.missing().empty()) {
      loadError = std::string("the ") + what + " " + soname + " lacks " + find.missing();
      return std::nullopt;
    }
    return table;
  }();
  if (!library) error = loadError;
  return library ? &*library : nullptr;
}

}  // namespace zarvik
