# -DZARVIK_SANITIZE=ON: everything built with AddressSanitizer (LeakSanitizer
# included) and UndefinedBehaviorSanitizer; undefined behaviour stops the
# program. scripts/sanitize builds it in its own folder and runs the suite.
option(ZARVIK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(ZARVIK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# -DZARVIK_FUZZ=ON (clang only): libFuzzer programs in fuzz/, with everything
# they link instrumented for coverage and built with the same sanitizers.
option(ZARVIK_FUZZ "Build the libFuzzer programs (clang)" OFF)
if(ZARVIK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "ZARVIK_FUZZ needs clang (CXX=clang++ CC=clang)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
