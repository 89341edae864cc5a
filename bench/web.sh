#!/usr/bin/env bash
# The browser build's size and speed: the module and the page's own code
# compressed, the first frame of the face served from localhost in a fresh
# headless Chromium, and the work done while the face stands still.
#
#   bench/web.sh [SITE_DIR]   default build-web/ (built first when missing)
set -euo pipefail
cd "$(dirname "$0")/.."
site=${1:-build-web}
[ -f "$site/zarvik.wasm" ] || scripts/web "$site"

total=0
echo "Compressed sizes (gzip -9):"
for file in index.html page.js zarvik.js zarvik.wasm; do
  size=$(gzip -9c "$site/$file" | wc -c)
  total=$((total + size))
  printf '  %-12s %7d bytes (%d raw)\n' "$file" "$size" "$(stat -c %s "$site/$file")"
done
printf '  %-12s %7d bytes (budget 307200)\n' total "$total"
node bench/web.mjs "$site"
