#include "shared_library.h"

#include <dlfcn.h>

namespace zarvik {

void* LibrarySymbols::find(const char* name) {
  void* symbol = dlsym(handle_, name);
  if (!symbol) missing_ += (missing_.empty() ? "" : ", ") + std::string(name);
  return symbol;
}

void* openLibrary(const char* soname, const char* what, std::string& error) {
  void* handle = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
  if (!handle) error = std::string("the ") + what + " could not be loaded (" + dlerror() + ")";
  return handle;
}

}  // namespace zarvik
