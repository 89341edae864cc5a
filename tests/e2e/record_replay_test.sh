#!/usr/bin/env bash
# A session recorded with --record (and the LCD look on) under Xvfb: Game A
# and then Game B played with random presses of the arrow keys, a third game
# started and the program killed with SIGKILL in the middle of it. The
# recording, cut there, replays through zarvik-sim show by show as the
# program showed it, and ends with the high scores the program stored.
source "$(dirname "$0")/lib.sh"
e2e_init
e2e_start_xvfb
e2e_settings SoundMode=2 SplashScreen=0 FullscreenMode=0
RECORDING=$E2E_TMP/session.sim
STORE=$E2E_TMP/settings/Quendrel/Zarvik50.conf

e2e_start_zarvik --record "$RECORDING" --lcd-look
e2e_wait_window || exit 1
xdotool mousemove $((E2E_X + 280)) $((E2E_Y + 150)) windowfocus "$E2E_WINDOW"

games_over() { grep -c '^# t=.* misses=5 ' "$RECORDING"; }
# Random presses of Left and Right, some of them held, until `games_over`
# reaches $1 (at most 90 s).
play_until() {
  local end=$((SECONDS + 90)) key
  while [ "$(games_over)" -lt "$1" ] && [ $SECONDS -lt $end ]; do
    key=$([ $((RANDOM % 2)) -eq 0 ] && echo Left || echo Right)
    xdotool keydown "$key"
    sleep "0.$((RANDOM % 3))$((RANDOM % 10))"
    xdotool keyup "$key"
    sleep "0.$((RANDOM % 4))$((RANDOM % 10))"
  done
}
stored() { sed -n "s/^$1=//p" "$STORE"; }

xdotool key 3                    # the clock
xdotool keydown 1; sleep 0.3; xdotool keyup 1   # Game A
play_until 1
sleep 4                          # the high score is stored 3.6 s after the fifth miss
xdotool keydown 2; sleep 2.2; xdotool keyup 2   # Game B, held past its start delay
play_until 2
sleep 4
xdotool key 1                    # Game A again
play_until 3 & PLAYER=$!
sleep 6
kill -9 "$E2E_ZARVIK_PID"
kill "$PLAYER" 2>/dev/null; wait "$PLAYER" 2>/dev/null

e2e_check "the first line names zarvik-sim's options" \
  grep -Eq '^# zarvik-sim --seed [0-9]+ --now [0-9-]{10}T[0-9:]{8} --hiscore-a 0 --hiscore-b 0$' <(head -n1 "$RECORDING")
e2e_check "the recording ends with a whole line" [ "$(tail -c1 "$RECORDING" | od -An -c | tr -d ' ')" = '\n' ]
e2e_check "it holds the presses" [ "$(grep -c '^down \(left\|right\)$' "$RECORDING")" -gt 20 ]
e2e_check "and both games' ends" [ "$(games_over)" -eq 2 ]

# shellcheck disable=SC2046
"$E2E_BUILD_DIR/zarvik-sim" $(head -n1 "$RECORDING" | sed 's/^# zarvik-sim//') <"$RECORDING" >"$E2E_TMP/replay.txt" \
  2>"$E2E_TMP/replay.err"
status=$?
e2e_check "zarvik-sim replays it to its last line" [ "$status" -eq 0 ]
e2e_check "without a complaint" [ ! -s "$E2E_TMP/replay.err" ]
grep '^# t=' "$RECORDING" | cut -c3- >"$E2E_TMP/shown.txt"
grep '^t=' "$E2E_TMP/replay.txt" >"$E2E_TMP/replayed.txt"
e2e_check "every show as the program showed it ($(wc -l <"$E2E_TMP/shown.txt") shows)" \
  diff "$E2E_TMP/shown.txt" "$E2E_TMP/replayed.txt"
last=$(tail -n1 "$E2E_TMP/replayed.txt")
e2e_log "last show: $last; stored: HiScore1=$(stored HiScore1) HiScore2=$(stored HiScore2)"
field() { sed -n "s/.* $1=\([0-9]*\).*/\1/p" <<<"$last"; }
e2e_check "high score A as stored" [ "$(field hiscore_a)" = "$(stored HiScore1 | grep . || echo 0)" ]
e2e_check "high score B as stored" [ "$(field hiscore_b)" = "$(stored HiScore2 | grep . || echo 0)" ]
e2e_finish
