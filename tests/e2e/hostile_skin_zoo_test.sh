#!/usr/bin/env bash
# A zoo of hostile skins, built here, each started in the real program on a
# real X server: FIFOs, links to devices, a folder and a sparse 1 GB file in
# the place of Config.ini, pictures and samples; folders linking to
# themselves under every letter case; the pictures that once stalled start-up
# or took gigabytes. Each must bring up the face or an error box within 5 s
# and never hold more than 400 MB resident; after OK the program either ends
# (no usable Config.ini, or no Gameover.wav) or shows the face.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
: "${MAKE_HOSTILE_FILES:?MAKE_HOSTILE_FILES must name the generator}"
regressions=$here/../../fuzz/regressions
# Under the sanitizers (scripts/sanitize) the program runs a few times slower
# and its shadow memory makes resident sizes meaningless.
limit_ms=5000 limit_mb=400
[ -n "${ZARVIK_SANITIZE:-}" ] && limit_ms=20000 limit_mb=100000

e2e_init
e2e_start_xvfb 1024x768

install="$E2E_TMP/install" pristine="$E2E_TMP/pristine" made="$E2E_TMP/made"
mkdir -p "$install" "$pristine" "$made"
cp -r "$E2E_BUILD_DIR/zarvik" "$install/"
cp -r "$E2E_BUILD_DIR/Config.ini" "$E2E_BUILD_DIR/Graphics" "$E2E_BUILD_DIR/Sound" "$pristine/"
"$MAKE_HOSTILE_FILES" "$made"
E2E_BUILD_DIR=$install
skin=$install/Graphics/Skin

reset_install() {
  rm -rf "$install/Config.ini" "$install/Graphics" "$install/Sound"
  cp -r "$pristine/Config.ini" "$pristine/Graphics" "$pristine/Sound" "$install/"
}
set_value() {  # section key value: in Config.ini, adding the key when missing
  awk -v s="[$(echo "$1" | tr 'A-Z' 'a-z')]" -v k="$2" -v v="$3" '
    /^\[/ { if (in_s && !done) { print k "=" v; done = 1 } in_s = tolower($0) == s }
    in_s && tolower($1) ~ "^" tolower(k) "=" { print k "=" v; done = 1; next }
    { print }
    END { if (in_s && !done) print k "=" v }' "$install/Config.ini" | tr -d '\r' >"$install/Config.ini.new"
  mv "$install/Config.ini.new" "$install/Config.ini"
}
every_image_shows() {  # file name under the skin folder
  local n
  for n in $(seq 81); do set_value "Image$n" Filename "$1"; done
}
picture_of() {  # the file Image<N> names
  awk -F= -v s="[image$1]" '/^\[/ { in_s = tolower($0) == s } in_s && tolower($1) == "filename" { print $2; exit }' \
    "$install/Config.ini" | tr -d '\r'
}

error_box() { e2e_windows_titled '^Error( |$)' | head -n1; }
face_shown() { [ -n "$(e2e_windows_titled "$E2E_FACE_TITLE")" ]; }
running() { kill -0 "$E2E_ZARVIK_PID" 2>/dev/null; }
peak_mb() { awk '/^VmHWM/ { print int($2 / 1024) }' "/proc/$E2E_ZARVIK_PID/status" 2>/dev/null; }

# Starts the program on the prepared install and follows it: the first window
# (face or error box) within 5 s, then after OK the face or the end.
# `after_ok` is "ends" or "face".
run_case() {
  local name=$1 after_ok=$2 start elapsed box peak=0 outcome i
  start=$(date +%s%N)
  e2e_start_zarvik --windowed
  outcome=none
  for i in $(seq $((limit_ms / 50))); do
    if [ -n "$(error_box)" ]; then outcome=box; break; fi
    if face_shown; then outcome=face; break; fi
    running || break
    sleep 0.05
  done
  elapsed=$((($(date +%s%N) - start) / 1000000))
  peak=$(peak_mb)
  e2e_check "$name: face or error box within $limit_ms ms ($outcome after $elapsed ms)" \
    test "$outcome" != none -a "$elapsed" -le "$limit_ms"
  if [ "$outcome" = box ]; then
    box=$(error_box)
    xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return
    for i in $(seq $((limit_ms / 50))); do
      [ "$after_ok" = ends ] && ! running && break
      [ "$after_ok" = face ] && face_shown && break
      sleep 0.05
    done
    if [ "$after_ok" = ends ]; then e2e_check "$name: after OK the program ends" bash -c "! kill -0 $E2E_ZARVIK_PID 2>/dev/null"
    else e2e_check "$name: after OK the face comes up" face_shown; fi
  fi
  running && peak=$(peak_mb)
  e2e_check "$name: at most $limit_mb MB resident (peak ${peak:-?} MB)" test "${peak:-0}" -lt "$limit_mb"
  echo "zoo: $name: $outcome in $elapsed ms, peak ${peak:-?} MB" >&2
  kill "$E2E_ZARVIK_PID" 2>/dev/null
  wait "$E2E_ZARVIK_PID" 2>/dev/null
}

e2e_settings FullscreenMode=0 SplashScreen=0 SoundMode=2

# Config.ini that is no regular file: the "not found" box, then the end.
config_cases=(
  "config-fifo:mkfifo $install/Config.ini"
  "config-dev-zero:ln -s /dev/zero $install/Config.ini"
  "config-folder:mkdir $install/Config.ini"
  "config-sparse-1GB:truncate -s 1G $install/Config.ini.big"
)
for entry in "${config_cases[@]}"; do
  reset_install
  rm "$install/Config.ini"
  eval "${entry#*:}"
  [ -e "$install/Config.ini.big" ] && cat "$pristine/Config.ini" >"$install/Config.ini" &&
    truncate -s 1G "$install/Config.ini" && rm "$install/Config.ini.big"
  run_case "${entry%%:*}" ends
done

# Pictures that are no regular files, or that once took minutes or gigabytes.
picture=$(picture_of 35)
picture_cases=(
  "picture-fifo:rm $skin/$picture && mkfifo $skin/$picture"
  "picture-dev-zero:rm $skin/$picture && ln -s /dev/zero $skin/$picture"
  "wmf-wide-pen:cp $regressions/wmf/wide-pen-ellipse-4000x4000.wmf $skin/hostile.wmf && set_value Image1 Filename hostile.wmf"
  "wmf-canvas-4025x13403:cp $regressions/wmf/refused-canvas-4025x13403.wmf $skin/hostile.wmf && set_value Image1 Filename hostile.wmf"
  "wmf-canvas-8192-everywhere:cp $regressions/wmf/refused-canvas-8192x8192.wmf $skin/hostile.wmf && every_image_shows hostile.wmf"
  "jpeg-4000-scans:cp $made/scans-4000.jpg $skin/hostile.jpg && set_value Image1 Filename hostile.jpg"
  "png-text-claims-1.66GB:cp $regressions/png/refused-text-chunk-claims-1.66GB.png $skin/hostile.png && set_value Image1 Filename hostile.png"
  "png-8192-everywhere:cp $made/flat-8192.png $skin/hostile.png && every_image_shows hostile.png"
  "png-4096-everywhere:cp $made/flat-4096.png $skin/hostile.png && every_image_shows hostile.png"
  "bmp-size-overflow:cp $regressions/bmp/refused-stride-times-height-overflow.bmp $skin/hostile.bmp && set_value Image1 Filename hostile.bmp"
)
for entry in "${picture_cases[@]}"; do
  reset_install
  eval "${entry#*:}"
  run_case "${entry%%:*}" face
done

# Folders linking to themselves as Sub, sub and SUB, a 12-level SkinDir
# through them and one picture missing: the face (with a placeholder) at once.
reset_install
for name in Sub sub SUB; do ln -s . "$skin/$name"; done
set_value Common SkinDir "Graphics\\Skin$(printf '\\sub%.0s' $(seq 12))\\"
rm "$skin/$(picture_of 35)"
run_case case-link-loop face

# Samples that are no regular files, with sound on: a FIFO for Got.wav
# leaves that sound out; Gameover.wav linked to a device is the "Sound folder"
# box, and the program ends after OK.
for entry in "got-fifo:Got.wav:mkfifo:face" "gameover-dev-zero:Gameover.wav:ln -s /dev/zero:ends"; do
  IFS=: read -r name sample make after_ok <<<"$entry"
  reset_install
  rm "$install/Sound/$sample"
  $make "$install/Sound/$sample"
  e2e_settings FullscreenMode=0 SplashScreen=0 SoundMode=0
  run_case "sound-$name" "$after_ok"
done

e2e_finish
