# Everything is built hardened, with the flags Debian's dpkg-buildflags gives
# a package: position-independent executables, strong stack protection,
# fortified C library calls (they need optimisation, and are left to the
# sanitizers in their builds) and relocations read-only once the program is
# linked and bound.
include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
add_compile_options(-fstack-protector-strong)
if(NOT ZARVIK_SANITIZE AND NOT ZARVIK_FUZZ)
  add_compile_options($<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE> $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
endif()
add_link_options(LINKER:-z,relro LINKER:-z,now)
