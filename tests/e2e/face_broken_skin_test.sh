#!/usr/bin/env bash
# A broken installation on a real X server: without Config.ini the error box
# comes up and the program ends without showing the face; with a missing
# picture, a truncated PNG and a bad colour the error box lists the problems
# and the face still comes up.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"

e2e_init
e2e_start_xvfb 1024x768
e2e_settings FullscreenMode=0 SplashScreen=0 SoundMode=2

# A copy of the installation that the test may damage.
install="$E2E_TMP/install"
mkdir -p "$install"
cp -r "$E2E_BUILD_DIR/zarvik" "$E2E_BUILD_DIR/Config.ini" "$E2E_BUILD_DIR/Graphics" "$E2E_BUILD_DIR/Sound" "$install/"
E2E_BUILD_DIR=$install

error_box() { e2e_windows_titled '^Error( |$)' | head -n1; }  # X11 titles may add the program's name
has_error_box() { [ -n "$(error_box)" ]; }
face_shown() { [ -n "$(e2e_windows_titled "$E2E_FACE_TITLE")" ]; }
# The box lies about the middle of the 1024 x 768 screen, not in a corner
# near the face parked off it (Qt places a box by its size estimate).
box_centred() {
  local x y w h
  read -r x y w h < <(xwininfo -id "$(error_box)" | awk -F: '
    /Absolute upper-left X/ {x = $2} /Absolute upper-left Y/ {y = $2}
    /Width/ {w = $2} /Height/ {h = $2} END {print x, y, w, h}')
  local dx=$((x + w / 2 - 512)) dy=$((y + h / 2 - 384))
  e2e_log "  error box ${w}x${h}+$x+$y"
  [ "${dx#-}" -lt 60 ] && [ "${dy#-}" -lt 60 ]
}
running() { kill -0 "$E2E_ZARVIK_PID" 2>/dev/null; }
ended() { ! running; }

# No Config.ini.
mv "$install/Config.ini" "$install/Config.ini.away"
e2e_start_zarvik --windowed
e2e_check "without Config.ini an error box titled Error comes up" wait_until 30 has_error_box
e2e_check "the face is not shown meanwhile" test -z "$(e2e_windows_titled "$E2E_FACE_TITLE")"
e2e_check "the box is centred on the screen" box_centred
xdotool windowactivate --sync "$(error_box)" key Return 2>/dev/null || xdotool key Return
e2e_check "after OK the program ends without showing the face" wait_until 10 ended
mv "$install/Config.ini.away" "$install/Config.ini"

# A missing picture, a truncated PNG and a colour that is not a number.
skin_file() {  # the picture of Image<N>
  awk -F= -v s="[image$1]" '/^\[/ { in_s = tolower($0) == s } in_s && tolower($1) == "filename" { print $2; exit }' \
    "$install/Config.ini" | tr -d '\r'
}
rm "$install/Graphics/Skin/$(skin_file 35)"
png="$install/Graphics/Skin/$(skin_file 49)"
head -c 200 "$png" >"$png.cut" && mv "$png.cut" "$png"
sed -i 's/^TranspColor=.*/TranspColor=pink/' "$install/Config.ini"
e2e_start_zarvik --windowed
e2e_check "a damaged skin brings up one error box" wait_until 30 has_error_box
e2e_check "centred on the screen" box_centred
xdotool windowactivate --sync "$(error_box)" key Return 2>/dev/null || xdotool key Return
e2e_check "after OK the face comes up" wait_until 30 face_shown
e2e_check "and the program keeps running" bash -c "sleep 1; kill -0 $E2E_ZARVIK_PID"

e2e_finish
