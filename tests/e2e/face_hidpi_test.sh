#!/usr/bin/env bash
# The windows on a desktop set to 125 % and 150 % (Xft.dpi 120 and 144, as
# desktops set it for fractional scaling): the face is laid out in pixels and
# keeps its size and its outline instead of being stretched, and the key
# dialog and the about box, laid out in pixels too, look exactly as at 100 %,
# where no text is cut short.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"

e2e_init
e2e_start_xvfb 1024x768
"$here/compose_face.sh" "$E2E_BUILD_DIR" "$E2E_TMP/face.png"
opaque=$(convert "$E2E_TMP/face.png" -format '%@' info:)

# Photographs window $2 (a title) as $1.png.
shown() { [ -n "$(e2e_windows_titled "$1")" ]; }
photograph() {
  wait_until 10 shown "$2" || return 1
  sleep 0.3
  import -window "$(e2e_windows_titled "$2" | head -n1)" "$E2E_TMP/$1.png"
}

for dpi in 96 120 144; do
  xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$(printf 'Xft.dpi:\t%s' "$dpi")"
  e2e_settings FullscreenMode=0
  e2e_start_zarvik --windowed
  wait_until 10 shown '^About this game'
  xdotool key Down Down Down Return  # "(no sound)", then play
  e2e_wait_window || e2e_finish
  if [ "$dpi" != 96 ]; then
    e2e_check "at $dpi dpi the window keeps the skin's size (${E2E_W}x${E2E_H})" test "${E2E_W}x${E2E_H}" = 561x374
    shape=$(xwininfo -id "$E2E_WINDOW" -shape | awk '/Window shape extents/ {print $NF}')
    e2e_check "and is shaped to the face's outline (shape $shape, face $opaque)" test "$shape" = "$opaque"
  fi
  xdotool mousemove --window "$E2E_WINDOW" 280 20 click 3
  sleep 0.5
  xdotool key Down Down Down Down Down Down Return  # Key settings
  photograph "keys-$dpi" '^Key settings$'
  xdotool key Escape
  xdotool key F1
  photograph "about-$dpi" '^About the author'
  kill "$E2E_ZARVIK_PID"
  wait "$E2E_ZARVIK_PID" 2>/dev/null
done

for window in keys about; do
  for dpi in 120 144; do
    differing=$(compare -metric AE "$E2E_TMP/$window-96.png" "$E2E_TMP/$window-$dpi.png" null: 2>&1)
    e2e_check "the $window window at $dpi dpi looks as at 96 ($differing pixels differ)" test "$differing" = 0
  done
done
e2e_finish
