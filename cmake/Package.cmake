# A Debian package of what `cmake --install` puts in place, made by
# `cpack -G DEB` in the build folder. The libraries it needs are found by
# dpkg-shlibdeps, but for the two the program loads only when it needs them
# (libwmf for a metafile, SDL2_mixer for sound); libwmf reads the URW fonts
# when it starts, and the windows use Liberation's metric twin of Arial.
set(CPACK_PACKAGE_NAME zarvik)
set(CPACK_PACKAGE_VENDOR Quendrel)
set(CPACK_PACKAGE_CONTACT "Quendrel <zarvik50@quendrel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "simulator of the Zarvik, a pocket LCD watch and catching game")
set(CPACK_PACKAGE_DESCRIPTION
    "The Zarvik is a pocket LCD handheld that is both a watch (time, alarm, chronograph, date) and a catching game in two variants. The simulator shows its face on the desktop; its buttons work with the mouse or the keyboard.")
set(CPACK_PACKAGE_HOMEPAGE_URL https://www.quendrel.example/zarvik50/)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libwmf-0.2-7, libsdl2-mixer-2.0-0, fonts-urw-base35, fonts-liberation")
set(CPACK_GENERATOR DEB)
include(CPack)
