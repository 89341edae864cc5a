#!/usr/bin/env bash
# The windows under a real window manager (openbox) with a desktop panel:
# the windowed face stays below a window raised after it, the fullscreen face
# holds the window manager's fullscreen state and covers the panel, the menu's
# windows come in front of the face, and toggling back leaves the state.
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
