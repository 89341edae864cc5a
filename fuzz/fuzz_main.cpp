// One libFuzzer program per target; ZARVIK_FUZZ_TARGET names it.
#include <cstring>

#include <QCoreApplication>

#include "targets.h"

namespace {

const zarvik::fuzz::Target* chosen = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static QCoreApplication app(*argc, *argv);  // Qt's image readers find their plugins through it
  for (const zarvik::fuzz::Target& target : zarvik::fuzz::targets())
    if (std::strcmp(target.name, ZARVIK_FUZZ_TARGET) == 0) chosen = &target;
  return chosen ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  chosen->run(data, size);
  return 0;
}
