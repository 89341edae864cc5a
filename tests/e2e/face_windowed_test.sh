#!/usr/bin/env bash
# The windowed face on a real X server: it has the skin's size and the
# handheld's outline, a click on a see-through pixel reaches the desktop, a
# click on the face reaches the program, and the face in mode 0 equals the
# skin composed offline from its pictures. Zoomed 2 times (--zoom 2), it is
# the same face in whole 2 x 2 pixels, with its shape and buttons, and Ctrl
# and - takes it back to its own size.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"

e2e_init
e2e_start_xvfb 1280x1024
e2e_screenshot "$E2E_TMP/desktop.png"
e2e_settings FullscreenMode=0 SplashScreen=0 SoundMode=2
e2e_start_zarvik --windowed
e2e_wait_window || e2e_finish
geometry="${E2E_W}x${E2E_H}+${E2E_X}+${E2E_Y}"
e2e_check "the window has the skin's size (${E2E_W}x${E2E_H})" test "${E2E_W}x${E2E_H}" = 561x374
e2e_check "the window is centred" test "$E2E_X,$E2E_Y" = "$(((1280 - E2E_W) / 2)),$(((1024 - E2E_H) / 2))"

# Mode 0: the composed face over the desktop that shows through it.
"$here/compose_face.sh" "$E2E_BUILD_DIR" "$E2E_TMP/face.png"
convert "$E2E_TMP/desktop.png" -crop "$geometry" +repage "$E2E_TMP/face.png" -composite "$E2E_TMP/expected.png"
e2e_wait_still "$E2E_TMP/screen.png"
convert "$E2E_TMP/screen.png" -crop "$geometry" +repage "$E2E_TMP/actual.png"
differing=$(compare -metric AE -fuzz 1% "$E2E_TMP/actual.png" "$E2E_TMP/expected.png" "$E2E_TMP/difference.png" 2>&1)
e2e_check "the face in mode 0 equals the composed skin ($differing pixels differ)" test "$differing" = 0
if [ -n "${E2E_SCREENSHOT_DIR:-}" ]; then
  convert "$E2E_TMP/face.png" -background black -gravity center -extent "$((E2E_W + 40))x$((E2E_H + 40))" \
    -alpha remove "$E2E_SCREENSHOT_DIR/face-windowed-expected.png"
  cp "$E2E_TMP/screen.png" "$E2E_SCREENSHOT_DIR/face-windowed-screen.png"
fi

# The shape: its extents are those of the face's opaque pixels.
shape=$(xwininfo -id "$E2E_WINDOW" -shape | awk '/Window shape extents/ {print $NF}')
opaque=$(convert "$E2E_TMP/face.png" -format '%@' info:)
e2e_check "the window is shaped to the face's outline (shape $shape, face $opaque)" test "$shape" = "$opaque"

# Where a press goes: through a see-through corner to the desktop, or to the face.
root=$(xwininfo -root | awk '/Window id:/ {print $4}')
window_under() {
  xdotool mousemove "$1" "$2"
  sleep 0.1
  eval "$(xdotool getmouselocation --shell)"
  echo "$WINDOW"
}
xev -root -event button >"$E2E_TMP/root-events.log" 2>&1 &
E2E_PIDS+=($!)
# Clicks until the desktop reports one: xev may take a while to listen.
root_gets_click() {
  local i
  for i in $(seq 50); do
    xdotool click 1
    sleep 0.2
    grep -q ButtonPress "$E2E_TMP/root-events.log" && return 0
  done
  return 1
}
e2e_check "the top-left corner is see-through in the composed face" \
  test "$(convert "$E2E_TMP/face.png" -format '%[fx:p{0,0}.a]' info:)" = 0
under=$(window_under "$E2E_X" "$E2E_Y")
e2e_check "the pointer over a see-through pixel is over the desktop" test "$((under))" = "$((root))"
e2e_check "a click there reaches the desktop" root_gets_click

: >"$E2E_TMP/root-events.log"
under=$(window_under "$((E2E_X + 30))" "$((E2E_Y + 120))")
e2e_check "the pointer over the face is over the program's window" test "$((under))" = "$((E2E_WINDOW))"
xdotool click 1
sleep 0.3
e2e_check "a click on the face does not reach the desktop" bash -c "! grep -q ButtonPress '$E2E_TMP/root-events.log'"

# A click on the Time button is handled: mode 0 gives way to the clock.
read -r left top width height < <(awk -F= '
  /^\[/ { s = tolower($0) } s == "[image8]" && /=/ { v[tolower($1)] = $2 + 0 }
  END { print v["left"], v["top"], v["width"], v["height"] }' "$E2E_BUILD_DIR/Config.ini")
xdotool mousemove "$((E2E_X + left + width / 2))" "$((E2E_Y + top + height / 2))" click 1
display_changed() {
  e2e_screenshot "$E2E_TMP/after-time-face.png" "$geometry"
  changed=$(compare -metric AE "$E2E_TMP/after-time-face.png" "$E2E_TMP/actual.png" null: 2>&1)
  [ "${changed%% *}" -gt 0 ]
}
changed=0
for i in $(seq 50); do display_changed && break; sleep 0.2; done
e2e_check "a click on the Time button changes the display ($changed pixels)" test "${changed%% *}" -gt 0

# Zoomed: mode 0 is the composed skin at twice its size, pixel for pixel.
kill "$E2E_ZARVIK_PID" && wait "$E2E_ZARVIK_PID" 2>/dev/null
e2e_start_zarvik --windowed --zoom 2
e2e_wait_window || e2e_finish
geometry="${E2E_W}x${E2E_H}+${E2E_X}+${E2E_Y}"
e2e_check "zoomed 2 times, the window is 1122x748 (${E2E_W}x${E2E_H})" test "${E2E_W}x${E2E_H}" = 1122x748
convert "$E2E_TMP/desktop.png" -crop "$geometry" +repage \( "$E2E_TMP/face.png" -sample 200% \) -composite \
  "$E2E_TMP/expected.png"
e2e_wait_still "$E2E_TMP/screen.png"
convert "$E2E_TMP/screen.png" -crop "$geometry" +repage "$E2E_TMP/actual.png"
differing=$(compare -metric AE -fuzz 1% "$E2E_TMP/actual.png" "$E2E_TMP/expected.png" null: 2>&1)
e2e_check "the zoomed face equals the composed skin in 2 x 2 pixels ($differing pixels differ)" test "$differing" = 0
zoomed_shape=$(xwininfo -id "$E2E_WINDOW" -shape | awk '/Window shape extents/ {print $NF}')
e2e_check "the zoomed window's shape is twice the face's ($zoomed_shape)" \
  test "$zoomed_shape" = "$(echo "$shape" | awk -F'[x+]' '{printf "%dx%d+%d+%d", 2*$1, 2*$2, 2*$3, 2*$4}')"
e2e_check "its top-left corner shows the desktop" \
  test "$(e2e_pixel "$E2E_TMP/screen.png" "$E2E_X" "$E2E_Y")" = "$(e2e_pixel "$E2E_TMP/desktop.png" "$E2E_X" "$E2E_Y")"
xdotool mousemove "$((E2E_X + 2 * (left + width / 2)))" "$((E2E_Y + 2 * (top + height / 2)))" click 1
changed=0
for i in $(seq 50); do display_changed && break; sleep 0.2; done
e2e_check "a click on the zoomed Time button changes the display ($changed pixels)" test "${changed%% *}" -gt 0

# Ctrl and - on the face: back to its own size.
xdotool key ctrl+minus
own_size() { [ "$(xwininfo -id "$E2E_WINDOW" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}')" = 561x374 ]; }
e2e_check "Ctrl and - takes the face back to 561x374" wait_until 5 own_size

e2e_finish
