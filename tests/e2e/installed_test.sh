#!/usr/bin/env bash
# The program as installed, started from another folder on a private X server:
#   install  `cmake --install` into a temporary prefix
#   deb      the Debian package cpack makes, unpacked into a temporary root
# The desktop entry and metainfo pass their validators, the package passes
# lintian (where it is installed), --help, --version and option errors answer
# with no display, and a first start plays the splash with "(no sound)" and
# shows the face with every picture of the default skin.
#
#   installed_test.sh install|deb     (E2E_BUILD_DIR and ZARVIK_VERSION set)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"

: "${ZARVIK_VERSION:?ZARVIK_VERSION must name the project version}"
e2e_init
root="$E2E_TMP/root"
case $1 in
  install)
    cmake --install "$E2E_BUILD_DIR" --prefix "$root/usr" >"$E2E_TMP/install.log" || { cat "$E2E_TMP/install.log"; exit 1; }
    e2e_check "bin/zarvik links to the program in games/" test "$(readlink "$root/usr/bin/zarvik")" = ../games/zarvik
    e2e_check "and starts it" test "$(cd / && env -u DISPLAY "$root/usr/bin/zarvik" --version | head -n1)" = "zarvik $ZARVIK_VERSION"
    ;;
  deb)
    cpack --config "$E2E_BUILD_DIR/CPackConfig.cmake" -G DEB -B "$E2E_TMP/package" >"$E2E_TMP/cpack.log" 2>&1 ||
      { cat "$E2E_TMP/cpack.log"; exit 1; }
    deb=$(ls "$E2E_TMP"/package/*.deb)
    e2e_log "$(basename "$deb"): $(du -k "$deb" | cut -f1) KiB"
    depends=$(dpkg-deb -f "$deb" Depends)
    e2e_log "Depends: $depends"
    for needed in libqt6widgets6 libsdl2-mixer libwmf fonts-urw-base35 libc6; do
      e2e_check "the package depends on $needed" grep -q "$needed" <<<"$depends"
    done
    e2e_check "the package is in the games section" test "$(dpkg-deb -f "$deb" Section)" = games
    e2e_check "the package recommends xdg-utils" test "$(dpkg-deb -f "$deb" Recommends)" = xdg-utils
    if command -v lintian >/dev/null; then
      lintian --pedantic --display-info "$deb" >"$E2E_TMP/lintian.log" 2>/dev/null
      e2e_log "lintian --pedantic --display-info: $(cat "$E2E_TMP/lintian.log")"
      e2e_check "lintian finds nothing to report" test ! -s "$E2E_TMP/lintian.log"
    fi
    dpkg-deb -x "$deb" "$root"
    e2e_check "the program is only in /usr/games" test ! -e "$root/usr/bin"
    ;;
  *) echo "usage: installed_test.sh install|deb" >&2; exit 2 ;;
esac
prefix="$root/usr"
program="$prefix/games/zarvik"
data="$prefix/share/games/zarvik"
id=example.quendrel.zarvik

e2e_check "the desktop entry is valid" desktop-file-validate "$prefix/share/applications/$id.desktop"
e2e_check "the metainfo is valid" appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
for size in 16 24 32 48 64 128 256; do
  icon="$prefix/share/icons/hicolor/${size}x$size/apps/$id.png"
  e2e_check "a ${size}px icon" test "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x$size"
done
e2e_check "the manual page documents --data-dir" zgrep -q 'data\\-dir' "$prefix/share/man/man6/zarvik.6.gz"
e2e_check "the copyright notice holds the licence" grep -q 'Permission is hereby granted' "$prefix/share/doc/zarvik/copyright"
e2e_check "the changelog names this version" \
  test "$(zcat "$prefix/share/doc/zarvik/changelog.gz" | head -n1)" = "zarvik ($ZARVIK_VERSION) unstable; urgency=medium"

no_display() { (cd / && env -u DISPLAY -u WAYLAND_DISPLAY "$program" "$@"); }
version=$(no_display --version)
e2e_check "--version answers with no display, as GNU programs do" \
  test "$(head -n2 <<<"$version")" = "zarvik $ZARVIK_VERSION"$'\n'"Copyright (C) 2026 Quendrel"
e2e_check "and names the licence" grep -q '^License MIT' <<<"$version"
help=$(no_display --help)
e2e_check "--help shows the options for users" grep -q -- '--data-dir' <<<"$help"
e2e_check "--help leaves out the options for tests" test -z "$(grep -- '--settings-dir' <<<"$help")"
e2e_check "--help names where to report bugs" grep -qF 'Report bugs to <zarvik50@quendrel.example>' <<<"$help"
e2e_check "the installed skin checks clean with no display" test "$(no_display --check-skin; echo "exit $?")" = "exit 0"
# Each mistake with no display: the arguments, then the start of the answer;
# the exit status is 1 (an abort would give 134).
while IFS='|' read -r arguments answer; do
  read -ra words <<<"$arguments"
  said=$(no_display "${words[@]}" 2>&1)
  status=$?
  e2e_check "zarvik $arguments with no display exits with 1 (gave $status)" test $status = 1
  e2e_check "and says: $answer" test "${said:0:${#answer}}" = "$answer"
done <<'MISTAKES'
--bogus|Zarvik50: Unknown option 'bogus'.
-V|Zarvik50: Unknown option 'V'.
--zoom 7|Zarvik50: Invalid value '7' for option 'zoom'
--windowed --zoom|Zarvik50: Missing value after '--zoom'.
MISTAKES

e2e_start_xvfb 1024x768
e2e_screenshot "$E2E_TMP/desktop.png"
start_from_root() {
  (cd / && exec "$1" --settings-dir "$E2E_TMP/settings" --windowed) >"$E2E_TMP/zarvik.log" 2>&1 &
  E2E_ZARVIK_PID=$!
  E2E_PIDS+=($E2E_ZARVIK_PID)
}
window_titled() { [ -n "$(e2e_windows_titled "$1" | head -n1)" ]; }
splash_has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(e2e_windows_titled '^About this game' | head -n1)" ]; }
ended() { ! kill -0 "$E2E_ZARVIK_PID" 2>/dev/null; }

start_from_root "$program"
e2e_check "the splash comes up on a first start" wait_until 30 window_titled '^About this game'
e2e_check "the splash has the keyboard" wait_until 10 splash_has_focus
xdotool key Down Down Down Return  # "(no sound)", then play
e2e_wait_window || e2e_finish
e2e_check "no error box" test -z "$(e2e_windows_titled '^Error')"
e2e_check "(no sound) is stored" grep -qx 'SoundMode=2' "$E2E_TMP/settings/Quendrel/Zarvik50.conf"

# Every picture of the installed skin in place: the face equals the skin
# composed offline, over the desktop that shows through it.
geometry="${E2E_W}x${E2E_H}+${E2E_X}+${E2E_Y}"
"$here/compose_face.sh" "$data" "$E2E_TMP/face.png"
convert "$E2E_TMP/desktop.png" -crop "$geometry" +repage "$E2E_TMP/face.png" -composite "$E2E_TMP/expected.png"
e2e_wait_still "$E2E_TMP/screen.png"
convert "$E2E_TMP/screen.png" -crop "$geometry" +repage "$E2E_TMP/actual.png"
differing=$(compare -metric AE -fuzz 1% "$E2E_TMP/actual.png" "$E2E_TMP/expected.png" null: 2>&1)
e2e_check "the face equals the installed skin ($differing pixels differ)" test "$differing" = 0
kill "$E2E_ZARVIK_PID"

# The program without its data: an error box names where it looked.
if [ "$1" = install ]; then
  mkdir -p "$E2E_TMP/lonely" && cp "$program" "$E2E_TMP/lonely/"
  start_from_root "$E2E_TMP/lonely/zarvik"
  e2e_check "a program without its data shows an error box" wait_until 30 window_titled '^Error'
  xdotool key Return
  e2e_check "and ends when it is dismissed" wait_until 10 ended
fi

e2e_finish
