#!/bin/sh
# Without libwmf's fonts no metafile can be drawn: the decoder's message must
# name the missing fonts, not call the file invalid. The fonts are hidden in a
# private mount namespace; where none can be made, the test is skipped (77).
#
#   metafile_without_fonts.sh <skin_loading_tests>
fonts=/usr/share/fonts/type1/urw-base35
[ -d "$fonts" ] || { echo "no $fonts to hide"; exit 77; }
unshare -rm true 2>/dev/null || { echo "no mount namespace here"; exit 77; }
out=$(unshare -rm sh -c "mount -t tmpfs none $fonts && exec '$1' --gtest_filter='PictureDecoders.*Metafile*'" 2>&1)
echo "$out"
echo "$out" | grep -q "fonts for drawing metafiles are missing (install the package fonts-urw-base35)"
