#!/usr/bin/env bash
# The browser build's size and speed: every file a first visit loads (the
# service worker's list, which the page needs whole to play offline, and the
# worker itself), compressed as web/serve.mjs sends it (gzip -9, pictures as
# they are); then the first frame of the face in a fresh headless Chromium,
# on localhost and on a throttled phone, and the work done while the face
# stands still.
#
#   bench/web.sh [SITE_DIR]   default build-web/ (built first when missing)
set -euo pipefail
cd "$(dirname "$0")/.."
site=${1:-build-web}
[ -f "$site/service-worker.js" ] || scripts/web "$site"

files=$(node -e "
  const text = require('fs').readFileSync(process.argv[1], 'utf8');
  console.log(Object.keys(JSON.parse(/^const BUILD = (\{[\s\S]*?\n\});/.exec(text)[1]).files).join('\n'));
" "$site/service-worker.js")
total=0 raw=0
echo "Every file of a first visit, as sent (gzip -9; pictures as they are):"
for file in $files service-worker.js; do
  case $file in
    *.png | *.jpg) size=$(stat -c %s "$site/$file") ;;
    *) size=$(gzip -9c "$site/$file" | wc -c) ;;
  esac
  total=$((total + size)) raw=$((raw + $(stat -c %s "$site/$file")))
  printf '  %-22s %7d bytes (%d raw)\n' "$file" "$size" "$(stat -c %s "$site/$file")"
done
printf '  %-22s %7d bytes (%d raw; budget 204800)\n' total "$total" "$raw"
node bench/web.mjs "$site"
