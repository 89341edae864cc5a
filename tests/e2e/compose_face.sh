#!/usr/bin/env bash
# Composes, with ImageMagick alone, the face as the handheld shows it in mode 0
# (every segment lit, the four digits showing 8) from a skin's Config.ini and
# pictures, in windowed mode. See-through pixels come out fully transparent.
#
#   compose_face.sh <folder with Config.ini> <out.png>
#
# Pictures: PNG and icon keep their own alpha; a bitmap or JPEG on a
# transparently drawn image loses its key colour (the bottom-left pixel, white
# for a two-colour bitmap); button pictures are opaque; btn_set_top (Image9) is
# scaled to its box, every other picture clipped to its box.
set -euo pipefail
skin=$1
out=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Config.ini as "section|key|value" lines: names lower case, blanks and one
# pair of matching quotes dropped.
awk '
  { sub(/\r$/, ""); sub(/^[ \t]+/, ""); sub(/[ \t]+$/, "") }
  /^\[/ { s = tolower(substr($0, 2, index($0, "]") - 2)); next }
  /=/ {
    k = tolower($0); sub(/[ \t]*=.*/, "", k)
    v = $0; sub(/^[^=]*=[ \t]*/, "", v)
    if (v ~ /^".*"$/ || v ~ /^\x27.*\x27$/) v = substr(v, 2, length(v) - 2)
    if (!((s "|" k) in seen)) { seen[s "|" k] = 1; print s "|" k "|" v }
  }' "$skin/Config.ini" >"$work/ini"

value() { awk -F'|' -v s="$1" -v k="$2" '$1 == s && $2 == k { print $3; exit }' "$work/ini"; }
or_default() { [ -n "$1" ] && echo "$1" || echo "$2"; }

skin_dir=$(or_default "$(value common skindir)" 'Graphics\Skin\')
skin_dir=${skin_dir//\\//}
[[ $skin_dir == */ ]] || skin_dir="$skin_dir/"
width=$(or_default "$(value common gamewidth)" 561)
height=$(or_default "$(value common gameheight)" 374)
key=$(or_default "$(value videomode transpcolor)" '$00ff00ff')
key=${key#\$}; key=${key#0x}; key=$(printf '%08x' "0x$key")
key_rgb="#${key:6:2}${key:4:2}${key:2:2}"

# Prepares the picture of image N for drawing into a box of w x h.
prepare() {
  local n=$1 w=$2 h=$3 file ext picture="$work/$1.png"
  file=$(value "image$n" filename)
  [ -n "$file" ] && [ "$file" != nil ] || return 1
  file="$skin/$skin_dir${file//\\//}"
  ext=${file##*.}; ext=${ext,,}
  if [ "$ext" = ico ]; then convert "$file[0]" -alpha on "$picture"
  else convert "$file" -alpha on "$picture"; fi
  if { [ "$ext" = bmp ] || [ "$ext" = jpg ] || [ "$ext" = jpeg ]; } && ! { [ "$n" -ge 3 ] && [ "$n" -le 13 ]; }; then
    local corner
    if [ "$(identify -format '%[type]' "$file")" = Bilevel ]; then corner='#ffffff'
    else corner=$(convert "$file" -gravity SouthWest -crop 1x1+0+0 -depth 8 -format '#%[hex:u.p{0,0}]' info: | cut -c1-7); fi
    convert "$picture" -transparent "$corner" "$picture"
  fi
  if [ "$n" = 9 ]; then convert "$picture" -filter point -resize "${w}x${h}!" "$picture"
  else convert "$picture" -background none -extent "${w}x${h}" -crop "${w}x${h}+0+0" +repage "$picture"; fi
}

rect() { echo "$(or_default "$(value "image$1" left)" 0) $(or_default "$(value "image$1" top)" 0) $(or_default "$(value "image$1" width)" 0) $(or_default "$(value "image$1" height)" 0)"; }

convert -size "${width}x${height}" "xc:$key_rgb" "$work/canvas.png"
args=()
draw() {  # draw <image whose box> <image whose picture>
  local l t w h
  read -r l t w h <<<"$(rect "$1")"
  [ "$w" -gt 0 ] && [ "$h" -gt 0 ] || return 0
  prepare "$2" "$w" "$h" || return 0
  mv "$work/$2.png" "$work/draw$1.png"
  args+=("$work/draw$1.png" -geometry "+$l+$t" -composite)
}
# Face; released buttons; indicators and miss marks; the digit positions with
# the glyph of 8; colon and words; hero and items; then the overlay.
draw 1 1
for n in 4 6 8 9 11 13 $(seq 14 25); do draw "$n" "$n"; done
for n in 26 27 28 29; do draw "$n" 47; done
for n in $(seq 30 38) $(seq 49 81); do draw "$n" "$n"; done
draw 2 2
convert "$work/canvas.png" "${args[@]}" -transparent "$key_rgb" "$out"
