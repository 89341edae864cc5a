#!/usr/bin/env bash
# The windows under a real window manager (openbox) with a desktop panel:
# during a first start's splash no pixel of the parked face is seen (in
# either window mode), the windowed face stays below a window raised after
# it, a click on the face leaves the key dialog in front, the fullscreen face
# holds the window manager's fullscreen state and covers the panel, the
# menu's windows come in front of the face, and toggling back leaves the
# state.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
: "${DOCK_WINDOW:?DOCK_WINDOW must name the dock_window program}"

e2e_init
e2e_start_xvfb 1024x768
HOME="$E2E_TMP" XDG_CONFIG_HOME="$E2E_TMP/openbox-config" openbox >"$E2E_TMP/openbox.log" 2>&1 &
E2E_PIDS+=($!)
"$DOCK_WINDOW" 40 &
E2E_PIDS+=($!)

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
e2e_check "openbox runs" wait_until 10 wm_running

# Client windows from the bottom of the stack to its top.
stacking() { xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g'; }
# Whether window $1 lies above window $2 in the stack (ids in any base).
above() {
  local w i=0 pa=0 pb=0
  for w in $(stacking); do
    i=$((i + 1))
    [ $((w)) -eq $(($1)) ] && pa=$i
    [ $((w)) -eq $(($2)) ] && pb=$i
  done
  [ $pb -gt 0 ] && [ $pa -gt $pb ]
}
wm_state() { xprop -id "$1" _NET_WM_STATE; }
has_state() { wm_state "$1" | grep -q "$2"; }
lacks_state() { ! has_state "$@"; }
face_geometry_is() { e2e_wait_window >/dev/null 2>&1 && [ "$E2E_X,$E2E_Y,$E2E_W,$E2E_H" = "$1" ]; }
window_titled() { e2e_windows_titled "$1" | head -n1; }

# What differs from the desktop lies within the splash window's frame.
e2e_wait_still "$E2E_TMP/desktop.png"
only_splash_shown() {
  local splash box x y w h l r t b
  splash=$(window_titled '^About this game') && [ -n "$splash" ] || return 1
  e2e_wait_still "$E2E_TMP/splash.png"
  compare "$E2E_TMP/desktop.png" "$E2E_TMP/splash.png" -compose src -highlight-color white \
    -lowlight-color black "$E2E_TMP/diff.png" 2>/dev/null
  box=$(convert "$E2E_TMP/diff.png" -trim -format '%w %h %X %Y' info:)
  read -r w h x y <<<"$box"
  read -r l r t b < <(xprop -id "$splash" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  eval "$(xwininfo -id "$splash" | awk -F: '/Absolute upper-left X/ {printf "sx=%d\n", $2}
    /Absolute upper-left Y/ {printf "sy=%d\n", $2} /Width/ {printf "sw=%d\n", $2} /Height/ {printf "sh=%d\n", $2}')"
  changed="changed ${w}x$h$x$y, the splash with its frame $((sw + l + r))x$((sh + t + b))+$((sx - l))+$((sy - t))"
  [ $((x)) -ge $((sx - l)) ] && [ $((y)) -ge $((sy - t)) ] &&
    [ $((x + w)) -le $((sx + sw + r)) ] && [ $((y + h)) -le $((sy + sh + b)) ]
}
for mode in 1 0; do
  e2e_settings FullscreenMode=$mode
  e2e_start_zarvik
  changed=""
  wait_until 20 only_splash_shown
  e2e_check "a first start (FullscreenMode=$mode) shows the splash and no pixel of the parked face ($changed)" \
    only_splash_shown
  kill "$E2E_ZARVIK_PID"
  wait "$E2E_ZARVIK_PID" 2>/dev/null
done

e2e_settings FullscreenMode=0 SplashScreen=0 SoundMode=2
e2e_start_zarvik
e2e_wait_window || e2e_finish
face=$E2E_WINDOW
e2e_check "the windowed face does not stay on top" lacks_state "$face" _NET_WM_STATE_ABOVE

xlogo -geometry 300x200+300+250 &
E2E_PIDS+=($!)
logo_shown() { logo=$(xdotool search --onlyvisible --class xlogo | head -n1) && [ -n "$logo" ]; }
e2e_check "another program's window appears" wait_until 10 logo_shown
e2e_check "and stays above the face" wait_until 5 above "$logo" "$face"

# The key dialog, from the context menu, stays in front of a clicked face.
xdotool windowactivate --sync "$face"
xdotool mousemove --window "$face" 280 20 click 3
sleep 0.5
xdotool key Down Down Down Down Down Down Return
keys_shown() { keys=$(window_titled '^Key settings$') && [ -n "$keys" ]; }
e2e_check "the menu opens the key dialog" wait_until 10 keys_shown
xdotool mousemove --window "$face" 100 100 click 1
sleep 0.5
e2e_check "a click on the face leaves the dialog in front" above "$keys" "$face"
xdotool windowactivate --sync "$keys"
xdotool key Escape
keys_gone() { [ -z "$(window_titled '^Key settings$')" ]; }
e2e_check "Esc closes it" wait_until 5 keys_gone

xdotool windowactivate --sync "$face"
xdotool key F12
e2e_check "F12: the face covers the screen, panel included" wait_until 10 face_geometry_is 0,0,1024,768
e2e_check "holding the fullscreen state" has_state "$face" _NET_WM_STATE_FULLSCREEN
panel=$(xdotool search --name '^panel$' | head -n1)
e2e_check "above the panel" above "$face" "$panel"

xdotool key F1
about_shown() { about=$(window_titled '^About the author') && [ -n "$about" ]; }
e2e_check "F1 shows the about box" wait_until 10 about_shown
e2e_check "in front of the fullscreen face" wait_until 5 above "$about" "$face"
xdotool keydown Escape
sleep 1.5
xdotool keyup Escape
about_gone() { [ -z "$(window_titled '^About the author')" ]; }
e2e_check "Esc, held, hides it" wait_until 5 about_gone
still_running() { kill -0 "$E2E_ZARVIK_PID" 2>/dev/null; }
e2e_check "and its repeats on the face do not end the program" still_running
xdotool windowactivate --sync "$face"
xdotool key F12
e2e_check "F12 again: windowed and centred" wait_until 10 face_geometry_is 231,197,561,374
e2e_check "without the fullscreen state" lacks_state "$face" _NET_WM_STATE_FULLSCREEN
e2e_finish
