#!/usr/bin/env bash
# The windowed face on a desktop set to 125 % (Xft.dpi 120, as desktops set it
# for fractional scaling): the face is laid out in pixels and keeps its size
# and its outline instead of being stretched by 1.25.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"

e2e_init
e2e_start_xvfb 1024x768
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$(printf 'Xft.dpi:\t120')"
e2e_settings FullscreenMode=0 SplashScreen=0 SoundMode=2
e2e_start_zarvik --windowed
e2e_wait_window || e2e_finish
e2e_check "the window keeps the skin's size (${E2E_W}x${E2E_H})" test "${E2E_W}x${E2E_H}" = 561x374

"$here/compose_face.sh" "$E2E_BUILD_DIR" "$E2E_TMP/face.png"
shape=$(xwininfo -id "$E2E_WINDOW" -shape | awk '/Window shape extents/ {print $NF}')
opaque=$(convert "$E2E_TMP/face.png" -format '%@' info:)
e2e_check "the window is shaped to the face's outline (shape $shape, face $opaque)" test "$shape" = "$opaque"

e2e_finish
