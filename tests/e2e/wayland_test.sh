#!/usr/bin/env bash
# The program in a Wayland session (a headless weston with XWayland), started
# as the session starts programs:
#   default   no platform named (the program then runs on XWayland)
#   native    QT_QPA_PLATFORM=wayland
# A first start shows the splash, and nothing of the face parked behind it;
# a windowed face is the composed skin with the desktop showing through its
# see-through colour, and no pixel of that colour on the screen.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"

# A new weston for each start: it may keep showing a window of a program
# that was killed.
start_session() {
  e2e_start_weston 1024x768
  [ "$platform" = native ] && export QT_QPA_PLATFORM=wayland
  e2e_wait_still "$E2E_TMP/desktop.png" e2e_weston_screenshot || { e2e_log "weston-screenshooter failed"; exit 1; }
}

platform=$1
e2e_init
export QT_LOGGING_RULES="zarvik.startup.info=true"
start_session

painted() { grep -q "first frame $1" "$E2E_TMP/zarvik.log"; }
# The box around what differs from the desktop by more than weston's window
# shadows do, as WxH+X+Y.
changed_box() {
  compare -fuzz 25% "$E2E_TMP/desktop.png" "$1" -compose src -highlight-color white -lowlight-color black \
    "$E2E_TMP/diff.png" 2>/dev/null
  convert "$E2E_TMP/diff.png" -trim -format '%wx%h%X%Y' info:
}
key_coloured() { convert "$1" -fill black +opaque '#FF00FF' -fill white -opaque '#FF00FF' -format '%[fx:mean*w*h]' info:; }

e2e_start_zarvik
e2e_check "a first start paints the splash" wait_until 30 painted TSplashForm
e2e_wait_still "$E2E_TMP/splash.png" e2e_weston_screenshot
band=$(convert "$E2E_TMP/splash.png" -fill black +opaque '#BCD0E8' -fill white -opaque '#BCD0E8' -format '%[fx:mean*w*h]' info:)
e2e_check "the splash is on the screen ($band pixels of its picture band)" test "${band%.*}" -ge 45000
box=$(changed_box "$E2E_TMP/splash.png")
w=${box%%x*} rest=${box#*x} h=${rest%%[+-]*}
e2e_check "and nothing else: no pixel of the parked face ($box changed)" test "$w" -lt 520 -a "$h" -lt 520
kill "$E2E_ZARVIK_PID"
wait "$E2E_ZARVIK_PID" 2>/dev/null
e2e_stop_weston

start_session
e2e_settings FullscreenMode=0 SplashScreen=0 SoundMode=2
e2e_start_zarvik
e2e_check "a windowed face paints" wait_until 30 painted TForm1
e2e_wait_still "$E2E_TMP/face.png" e2e_weston_screenshot
e2e_check "no pixel of the see-through colour" test "$(key_coloured "$E2E_TMP/face.png")" = 0
# The window lies where the face's outline is found, less the see-through
# margin of the composed skin; there the screen is the desktop and the face.
"$here/compose_face.sh" "$E2E_BUILD_DIR" "$E2E_TMP/skin.png"
read -r sw sh sx sy < <(convert "$E2E_TMP/skin.png" -trim -format '%w %h %X %Y' info:)
box=$(changed_box "$E2E_TMP/face.png")
e2e_check "the face's outline is found ($box)" test "${box%%[+-]*}" = "${sw}x$sh"
if [[ $box =~ ^[0-9]+x[0-9]+\+([0-9]+)\+([0-9]+)$ ]]; then
  geometry="$(identify -format '%wx%h' "$E2E_TMP/skin.png")+$((BASH_REMATCH[1] - sx))+$((BASH_REMATCH[2] - sy))"
  convert "$E2E_TMP/desktop.png" -crop "$geometry" +repage "$E2E_TMP/skin.png" -composite "$E2E_TMP/expected.png"
  convert "$E2E_TMP/face.png" -crop "$geometry" +repage "$E2E_TMP/actual.png"
  differing=$(compare -metric AE -fuzz 1% "$E2E_TMP/actual.png" "$E2E_TMP/expected.png" null: 2>&1)
  e2e_check "the face equals the skin over the desktop, corners see-through ($differing pixels differ)" \
    test "$differing" = 0
fi
e2e_finish
