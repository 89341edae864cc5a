#!/usr/bin/env bash
# The fullscreen face on a real X server: the window covers the screen with no
# shape, the face lies centred on the backdrop, the logo in its corner.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"

e2e_init
e2e_start_xvfb 1024x768
e2e_settings FullscreenMode=1 SplashScreen=0 SoundMode=2
e2e_start_zarvik --fullscreen
e2e_wait_window || e2e_finish
e2e_check "the window covers the screen (${E2E_W}x${E2E_H}+${E2E_X}+${E2E_Y})" \
  test "${E2E_W}x${E2E_H}+${E2E_X}+${E2E_Y}" = 1024x768+0+0
e2e_check "the window has no shape" bash -c "xwininfo -id $E2E_WINDOW -shape | grep -q 'No window shape defined'"

e2e_wait_still "$E2E_TMP/screen.png"
[ -n "${E2E_SCREENSHOT_DIR:-}" ] && cp "$E2E_TMP/screen.png" "$E2E_SCREENSHOT_DIR/face-fullscreen-screen.png"

# The default skin's backdrop is centred at its own size, the logo top right.
backdrop="$E2E_BUILD_DIR/Graphics/Backdrops/backdrop.jpg"
logo="$E2E_BUILD_DIR/Graphics/Backdrops/logo.png"
read -r bw bh < <(identify -format '%w %h' "$backdrop")
read -r lw lh < <(identify -format '%w %h' "$logo")

# Whether a region of the screen shows the backdrop with a picture over it.
screen_shows() {  # picture|none width height left top
  local w=$2 h=$3 x=$4 y=$5 differing
  convert "$E2E_TMP/screen.png" -crop "${w}x${h}+$x+$y" +repage "$E2E_TMP/region.png"
  convert "$backdrop" -crop "${w}x${h}+$((x + (bw - 1024) / 2))+$((y + (bh - 768) / 2))" +repage "$E2E_TMP/expected.png"
  [ "$1" = none ] || convert "$E2E_TMP/expected.png" "$1" -composite "$E2E_TMP/expected.png"
  differing=$(compare -metric AE -fuzz 1% "$E2E_TMP/region.png" "$E2E_TMP/expected.png" null: 2>&1)
  e2e_log "  region ${w}x${h}+$x+$y: $differing pixels differ"
  [ "$differing" = 0 ]
}

"$here/compose_face.sh" "$E2E_BUILD_DIR" "$E2E_TMP/face.png"
e2e_check "the backdrop is centred at its own size" screen_shows none 200 200 0 568
e2e_check "the face in mode 0 lies centred on it" screen_shows "$E2E_TMP/face.png" 561 374 231 197
e2e_check "the logo lies in the top right corner" screen_shows "$logo" "$lw" "$lh" "$((1024 - lw))" 0

e2e_finish
