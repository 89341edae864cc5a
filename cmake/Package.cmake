# A Debian package of what `cmake --install` puts in place, made by
# `cpack -G DEB` in the build folder. The libraries it needs are found by
# dpkg-shlibdeps, but for the two the program loads only when it needs them
# (libwmf for a metafile, SDL2_mixer for sound); libwmf reads the URW fonts
# when it starts, and the windows use Liberation's metric twin of Arial.
set(CPACK_PACKAGE_NAME zarvik)
set(CPACK_PACKAGE_VENDOR Quendrel)
set(CPACK_PACKAGE_CONTACT "Quendrel <zarvik50@quendrel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "simulator of the Zarvik, a pocket LCD watch and catching game")
# Debian wants the extended description in lines under 80 columns.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "The Zarvik is a pocket LCD handheld that is both a watch (time, alarm,\n"
  "chronograph, date) and a catching game in two variants, Game A and Game B.\n"
  "The simulator shows its face on the desktop, shaped like the unit in a\n"
  "window of its own or on a backdrop in fullscreen mode; its five buttons\n"
  "work with the mouse, with keys of the player's choice or with a gamepad.\n"
  "Every element the LCD can darken is a picture from a skin that can be\n"
  "replaced, and the handheld's printed manual comes with it.")
set(CPACK_PACKAGE_HOMEPAGE_URL https://www.quendrel.example/zarvik50/)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The package takes the installation without the program's link in bin/
# (the program is in /usr/games, on Debian's PATH), and with lintian's notes.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};Unspecified;/"
                                 "${CMAKE_BINARY_DIR};${PROJECT_NAME};debian;/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libwmf-0.2-7, libsdl2-mixer-2.0-0, fonts-urw-base35, fonts-liberation")
# The documents and links of the menu, the splash and the about box open
# through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_GENERATOR DEB)
include(CPack)
