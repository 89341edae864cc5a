# Helpers for end-to-end tests of zarvik on a private X server.
#
# Source this file, then:
#   e2e_init                  temp folder, clean-up on exit; needs E2E_BUILD_DIR
#   e2e_start_xvfb [WxH]      a private Xvfb (free display via -displayfd); sets DISPLAY
#   e2e_start_weston [WxH]    a private headless weston with XWayland, as a Wayland session
#   e2e_stop_weston           ends it (and what runs on it)
#   e2e_weston_screenshot f   photographs weston's output
#   e2e_settings k=v...       writes the settings zarvik will read (--settings-dir)
#   e2e_start_zarvik args...  runs zarvik from the build folder, as installed
#   e2e_windows_titled re     zarvik's shown windows whose title matches an extended regex
#   e2e_wait_window           waits for the face window; sets E2E_WINDOW, E2E_X/Y/W/H
#   e2e_wait_still file [shot] waits until the screen stops changing, keeps the last shot
#   e2e_screenshot file [geometry]
#   e2e_pixel file x y        the colour of one pixel, as "#RRGGBB"
#   wait_until secs cmd...    runs the command until it succeeds, at most secs seconds
#   e2e_check cond message    records a failure when the command fails
#   e2e_finish                prints the outcome and exits 0 or 1
# Every process started here is ended on exit, by its own id.

set -u

# The face's title: the application's name (the window's own caption is empty).
E2E_FACE_TITLE='^Zarvik \(Omvix, Brumalo\) Simulator$'

E2E_FAILURES=0
E2E_PASSES=0
E2E_PIDS=()

e2e_log() { echo "[e2e] $*" >&2; }

e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${E2E_PIDS[@]}"; do wait "$pid" 2>/dev/null; done
  [ -n "${E2E_TMP:-}" ] && rm -rf "$E2E_TMP"
}

e2e_init() {
  : "${E2E_BUILD_DIR:?E2E_BUILD_DIR must name the build folder}"
  E2E_TMP=$(mktemp -d /tmp/zarvik-e2e.XXXXXX)
  trap e2e_cleanup EXIT
  export QT_QPA_PLATFORM=xcb
  export SDL_AUDIODRIVER=dummy
  export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
}

# A private X server on a free display; its root shows the classic weave
# (-retro), so that see-through pixels are easy to tell from black ones. It
# keeps the root's properties when its last client leaves (-noreset), so
# that a test can set desktop resources before the program starts.
e2e_start_xvfb() {
  local size=${1:-1024x768} fdfile="$E2E_TMP/xvfb.display" i
  Xvfb -displayfd 7 -noreset -retro -screen 0 "${size}x24" -nolisten tcp 7>"$fdfile" 2>"$E2E_TMP/xvfb.log" &
  E2E_PIDS+=($!)
  for i in $(seq 300); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  [ -s "$fdfile" ] || { e2e_log "Xvfb did not start"; cat "$E2E_TMP/xvfb.log" >&2; exit 1; }
  export DISPLAY=":$(head -n1 "$fdfile")"
  e2e_log "Xvfb on $DISPLAY"
}

e2e_settings() {
  mkdir -p "$E2E_TMP/settings/Quendrel"
  { echo "[General]"; printf '%s\n' "$@"; } >"$E2E_TMP/settings/Quendrel/Zarvik50.conf"
}

e2e_start_zarvik() {
  (cd "$E2E_BUILD_DIR" && exec ./zarvik --settings-dir "$E2E_TMP/settings" "$@") >"$E2E_TMP/zarvik.log" 2>&1 &
  E2E_ZARVIK_PID=$!
  E2E_PIDS+=($E2E_ZARVIK_PID)
}

# Titles are read from _NET_WM_NAME: Qt leaves WM_NAME empty for a window
# without a caption, and xdotool's --name reads only WM_NAME.
e2e_windows_titled() {
  local id title
  for id in $(xdotool search --all --onlyvisible --pid "$E2E_ZARVIK_PID" --name '' 2>/dev/null); do
    title=$(xprop -id "$id" _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME([A-Z0-9_]*) = "\(.*\)"$/\1/p')
    if printf '%s\n' "$title" | grep -Eq -- "$1"; then echo "$id"; fi
  done
}

# The face window: zarvik's shown window with the application's title.
e2e_wait_window() {
  local i id
  for i in $(seq 300); do
    id=$(e2e_windows_titled "$E2E_FACE_TITLE" | head -n1)
    if [ -n "$id" ]; then
      E2E_WINDOW=$id
      eval "$(xwininfo -id "$id" | awk -F: '
        /Absolute upper-left X/ {printf "E2E_X=%d\n", $2}
        /Absolute upper-left Y/ {printf "E2E_Y=%d\n", $2}
        /Width/ {printf "E2E_W=%d\n", $2}
        /Height/ {printf "E2E_H=%d\n", $2}')"
      # Parked off the screen until the splash hands over; wait for the final place.
      if [ "$E2E_X" -ge 0 ] && [ "$E2E_Y" -ge 0 ]; then return 0; fi
    fi
    sleep 0.1
  done
  e2e_log "no zarvik window appeared"; cat "$E2E_TMP/zarvik.log" >&2
  return 1
}

e2e_screenshot() {
  if [ $# -ge 2 ]; then import -window root -crop "$2" +repage "$1"
  else import -window root "$1"; fi
}

# Photographs the screen (with `shoot`, e2e_screenshot by default) until it
# stops changing.
e2e_wait_still() {
  local out=$1 shoot=${2:-e2e_screenshot} i
  "$shoot" "$E2E_TMP/still.a.png" || return 1
  for i in $(seq 50); do
    sleep 0.2
    "$shoot" "$E2E_TMP/still.b.png" || return 1
    if [ "$(compare -metric AE "$E2E_TMP/still.a.png" "$E2E_TMP/still.b.png" null: 2>&1)" = "0" ]; then
      mv "$E2E_TMP/still.b.png" "$out"
      return 0
    fi
    mv "$E2E_TMP/still.b.png" "$E2E_TMP/still.a.png"
  done
  mv "$E2E_TMP/still.a.png" "$out"
}

e2e_pixel() { convert "$1" -crop "1x1+$2+$3" -depth 8 -format '#%[hex:u.p{0,0}]' info: | cut -c1-7; }

wait_until() {  # seconds command...
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}

e2e_check() {
  local message=$1
  shift
  if "$@"; then
    E2E_PASSES=$((E2E_PASSES + 1))
    e2e_log "ok: $message"
  else
    E2E_FAILURES=$((E2E_FAILURES + 1))
    e2e_log "FAILED: $message"
  fi
}

e2e_finish() {
  echo "$E2E_PASSES passed, $E2E_FAILURES failed"
  [ "$E2E_FAILURES" -eq 0 ]
  exit $?
}

# A private headless weston with XWayland, as a Wayland session runs it: sets
# WAYLAND_DISPLAY, DISPLAY (XWayland's) and XDG_SESSION_TYPE, and leaves the
# platform to the program. Its desktop has no panel (whose clock would change
# the screen), and it never blanks. e2e_weston_screenshot photographs its
# output (its screenshooter works only with weston's --debug); windows fade
# in, so wait for a still screen with e2e_wait_still FILE e2e_weston_screenshot.
e2e_start_weston() {
  local size=${1:-1024x768} i display=""
  mkdir -p /tmp/.X11-unix 2>/dev/null && chmod 1777 /tmp/.X11-unix 2>/dev/null
  printf '[core]\nidle-time=0\n[shell]\npanel-position=none\n' >"$E2E_TMP/weston.ini"
  weston --config="$E2E_TMP/weston.ini" --backend=headless-backend.so --use-pixman --xwayland --debug \
    --socket=zarvik-e2e --width="${size%x*}" --height="${size#*x}" >"$E2E_TMP/weston.log" 2>&1 &
  E2E_WESTON_PID=$!
  E2E_PIDS+=($E2E_WESTON_PID)
  for i in $(seq 100); do
    display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$E2E_TMP/weston.log")
    [ -n "$display" ] && [ -S "$XDG_RUNTIME_DIR/zarvik-e2e" ] && break
    sleep 0.1
  done
  [ -n "$display" ] || { e2e_log "weston did not start"; cat "$E2E_TMP/weston.log" >&2; exit 1; }
  unset QT_QPA_PLATFORM
  export WAYLAND_DISPLAY=zarvik-e2e DISPLAY=$display XDG_SESSION_TYPE=wayland
  e2e_log "weston on $WAYLAND_DISPLAY, XWayland on $DISPLAY"
}

e2e_stop_weston() {
  kill "$E2E_WESTON_PID" 2>/dev/null
  wait "$E2E_WESTON_PID" 2>/dev/null
}

e2e_weston_screenshot() {
  local shot
  rm -f "$E2E_TMP"/wayland-screenshot-*.png
  (cd "$E2E_TMP" && timeout 20 weston-screenshooter) >/dev/null 2>&1
  shot=$(ls "$E2E_TMP"/wayland-screenshot-*.png 2>/dev/null | head -n1)
  [ -n "$shot" ] && mv "$shot" "$1"
}

