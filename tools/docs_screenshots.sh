#!/usr/bin/env bash
# Takes the README's screenshots of the real program on a private X server:
# the windowed face in mode 0, during a game, and the fullscreen face.
# Usage: tools/docs_screenshots.sh [build-folder]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export E2E_BUILD_DIR=${1:-$root/build}
# shellcheck source=../tests/e2e/lib.sh
source "$root/tests/e2e/lib.sh"
e2e_init
e2e_start_xvfb 1024x768

shot_window() {  # the face window only, the desktop showing through its corners
  e2e_wait_window
  sleep 0.5
  e2e_screenshot "$1" "${E2E_W}x${E2E_H}+${E2E_X}+${E2E_Y}"
}

e2e_settings SoundMode=2 SplashScreen=0 FullscreenMode=0
e2e_start_zarvik
shot_window "$root/docs/face-windowed.png"
xdotool key 1  # from mode 0 Game A shows the clock
sleep 0.3
xdotool key 1  # Game A: its high score, then the game after 1.8 s
sleep 1.9
xdotool key Left
sleep 4.4
e2e_screenshot "$root/docs/face-game.png" "${E2E_W}x${E2E_H}+${E2E_X}+${E2E_Y}"
kill "$E2E_ZARVIK_PID"
wait "$E2E_ZARVIK_PID" 2>/dev/null || true

e2e_settings SoundMode=2 SplashScreen=0 FullscreenMode=1
e2e_start_zarvik
e2e_wait_window
e2e_wait_still "$root/docs/face-fullscreen.png"
echo "screenshots written to $root/docs"
