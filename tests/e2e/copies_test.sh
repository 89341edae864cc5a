#!/usr/bin/env bash
# Three copies of the program at once on one X server, played with the mouse:
#   X and Y share one settings folder. X's zone is a file that TZ names,
#   first UTC, then replaced by Tokyo's: X's clock must show what Y, started
#   in Tokyo's zone, shows. Then X plays Game A to 3 (the hero waits in
#   column 1) and Y, started before X stored anything, plays Game A to 2
#   (the hero never moves) and ends 4 s after X: HiScore1 must stay 3.
#   Z's settings file is read-only (a read-only mount in its own namespace):
#   its Game B to 2 beats the stored 1, which shows one message naming the
#   file; a later failed write shows none; the file is unchanged.
#   Last, SIGTERM, SIGINT and SIGHUP end X, Y and Z as Exit does (status 0),
#   and no lock file is left.
# Without the games' randomness: below a score of 4 one item is in play at a
# time and enters the lanes in turn, so a player who never moves, or who
# waits in column 1, always scores 2, or 3.

source "$(dirname "$0")/lib.sh"

e2e_init
e2e_start_xvfb 1280x800

SHARED="$E2E_TMP/shared"
LOCKED="$E2E_TMP/locked"
PLAIN_SETTINGS=(SoundMode=2 SplashScreen=0 FullscreenMode=0 Key1=2 Key2=3 Key3=4 Key4=39 Key5=40)
seed() {  # folder values...
  local folder=$1
  shift
  mkdir -p "$folder/Quendrel"
  { echo "[General]"; printf '%s\n' "$@"; } >"$folder/Quendrel/Zarvik50.conf"
}
seed "$SHARED" "${PLAIN_SETTINGS[@]}"
seed "$LOCKED" "${PLAIN_SETTINGS[@]}" HiScore2=1
cp "$LOCKED/Quendrel/Zarvik50.conf" "$E2E_TMP/locked.before"
cp /usr/share/zoneinfo/UTC "$E2E_TMP/zone"

# start NAME settings-folder [launcher...]: the program, its pid in PID_<NAME>.
# SIGINT is left to its default: a background job of a script starts ignoring it.
start() {
  local name=$1 settings=$2
  shift 2
  (cd "$E2E_BUILD_DIR" && exec env --default-signal=INT "$@" ./zarvik --settings-dir "$settings") \
    >"$E2E_TMP/$name.log" 2>&1 &
  eval "PID_$name=$!"
  E2E_PIDS+=($!)
}
# Z's settings file is mounted read-only, which stops root too; without
# mount namespaces a user's file is made read-only, and root's Z is skipped.
if unshare -rm true 2>/dev/null; then
  READ_ONLY_FILE=(unshare -rm sh -c 'mount --bind "$0" "$0" && mount -o remount,bind,ro "$0" && exec "$@"'
                  "$LOCKED/Quendrel/Zarvik50.conf")
elif [ "$(id -u)" -ne 0 ]; then
  chmod a-w "$LOCKED/Quendrel/Zarvik50.conf"
  READ_ONLY_FILE=()
else
  e2e_log "skipped: Z, for want of a mount namespace"
  READ_ONLY_FILE=(false)
fi
z_runs() { [ "${READ_ONLY_FILE[0]}" != false ]; }

start X "$SHARED" TZ="$E2E_TMP/zone"
start Y "$SHARED" TZ=Asia/Tokyo
z_runs && start Z "$LOCKED" "${READ_ONLY_FILE[@]}"

# The face of a copy, moved to x y; FX FY its corner afterwards.
face_of() { e2e_windows_titled_by "$1" "$E2E_FACE_TITLE" | head -n1; }
e2e_windows_titled_by() {
  local pid=$1 pattern=$2 id title
  for id in $(xdotool search --all --onlyvisible --pid "$pid" --name '' 2>/dev/null); do
    title=$(xprop -id "$id" _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME([A-Z0-9_]*) = "\(.*\)"$/\1/p')
    if printf '%s\n' "$title" | grep -Eq -- "$pattern"; then echo "$id"; fi
  done
}
corner() {  # pid -> FX FY
  eval "$(xwininfo -id "$(face_of "$1")" | awk -F: '
    /Absolute upper-left X/ {printf "FX=%d\n", $2}
    /Absolute upper-left Y/ {printf "FY=%d\n", $2}')"
}
face_at() { corner "$1" && [ "$FX,$FY" = "$2,$3" ]; }
place() {  # pid x y
  wait_until 30 face_up "$1" || return 1
  xdotool windowmove "$(face_of "$1")" "$2" "$3"
  wait_until 5 face_at "$@"
}
face_up() { [ -n "$(face_of "$1")" ] && corner "$1" && [ "$FX" -ge 0 ] && [ "$FY" -ge 0 ]; }

# The buttons' middles on the handheld.
declare -A BUTTON=([game_a]="298 314" [game_b]="357 314" [time]="417 314" [left]="67 238")
click() {  # pid button
  local x y
  corner "$1"
  read -r x y <<<"${BUTTON[$2]}"
  xdotool mousemove $((FX + x)) $((FY + y)) click 1
}

# The clock's hour digits, minutes and AM/PM of a copy, the blinking colon
# painted over.
clock_picture() {  # pid file
  corner "$1"
  e2e_screenshot "$E2E_TMP/clock.png" "78x27+$((FX + 250))+$((FY + 61))"
  convert "$E2E_TMP/clock.png" -fill white -draw "rectangle 30,0 37,26" "$2"
}
same_clock() {
  clock_picture "$PID_X" "$E2E_TMP/x.png" && clock_picture "$PID_Y" "$E2E_TMP/y.png" &&
    [ "$(compare -metric AE "$E2E_TMP/x.png" "$E2E_TMP/y.png" null: 2>&1)" = "0" ]
}
different_clock() { ! same_clock; }

stored() { awk -F= -v k="$2" '$1 == k { print $2 }' "$1/Quendrel/Zarvik50.conf"; }
shared_high_score_is() { [ "$(stored "$SHARED" HiScore1)" = "$1" ]; }
no_lock_file() { [ -z "$(find "$SHARED" "$LOCKED" -name '*.lock')" ]; }
error_boxes() { e2e_windows_titled_by "$PID_Z" '^Error$' | wc -l; }
has_error_box() { [ "$(error_boxes)" -ge 1 ]; }
no_error_box() { [ "$(error_boxes)" -eq 0 ]; }
locked_file_unchanged() { cmp -s "$E2E_TMP/locked.before" "$LOCKED/Quendrel/Zarvik50.conf"; }

e2e_check "X's face comes up" place "$PID_X" 0 0
e2e_check "Y's face comes up" place "$PID_Y" 620 0
z_runs && e2e_check "Z's face comes up" place "$PID_Z" 0 410
for pid in "$PID_X" "$PID_Y" ${PID_Z:-}; do click "$pid" time; done

e2e_check "X in UTC shows another hour than Y in Tokyo" wait_until 5 different_clock
cp /usr/share/zoneinfo/Asia/Tokyo "$E2E_TMP/zone.new" && mv "$E2E_TMP/zone.new" "$E2E_TMP/zone"
e2e_check "X's clock shows Tokyo's time within 5 s of its zone file changing" wait_until 5 same_clock

z_runs && click "$PID_Z" game_b
click "$PID_X" game_a
x_started=$SECONDS
sleep 3
click "$PID_X" left
sleep 4
click "$PID_Y" game_a
y_started=$SECONDS

if z_runs; then
  e2e_check "Z's better Game B score shows the error box" wait_until 45 has_error_box
  e2e_check "just one" [ "$(error_boxes)" -eq 1 ]
  e2e_check "naming the settings file" grep -qF "$LOCKED/Quendrel/Zarvik50.conf: the file is read-only" "$E2E_TMP/Z.log"
  e2e_check "Z's file is unchanged" locked_file_unchanged
fi

e2e_check "X's 3 in Game A is stored" wait_until $((45 - (SECONDS - x_started))) shared_high_score_is 3
# Y's game ends about 34 s after its start, 4 s after X's: its 2 must not be stored.
wait_for=$((40 - (SECONDS - y_started)))
[ $wait_for -gt 0 ] && sleep $wait_for
e2e_check "Y's lower 2, after X's 3, leaves HiScore1 at 3" shared_high_score_is 3

if z_runs; then
  xdotool windowfocus --sync "$(e2e_windows_titled_by "$PID_Z" '^Error$')" key Return
  e2e_check "the box goes" wait_until 5 no_error_box
  xdotool windowfocus --sync "$(face_of "$PID_Z")" key F12  # windowed to fullscreen: a write
  sleep 1
  e2e_check "a later failed write shows no second box" no_error_box
  e2e_check "and Z's file is still unchanged" locked_file_unchanged
fi

kill -TERM "$PID_X"
kill -INT "$PID_Y"
z_runs && kill -HUP "$PID_Z"
for name in X Y ${PID_Z:+Z}; do
  pid_var="PID_$name"
  wait "${!pid_var}"
  e2e_check "the signal ended $name as Exit does (status 0)" [ $? -eq 0 ]
done
e2e_check "no lock file is left" no_lock_file
e2e_check "the shared file still holds X's 3" shared_high_score_is 3

e2e_finish
