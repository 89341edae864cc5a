#!/usr/bin/env bash
# Plays a zarvik-sim script and compares its output with the expected one.
# The script's first line holds the command line: "# zarvik-sim ARGS".
set -euo pipefail
sim=$1 script=$2 expected=$3
args=$(head -n 1 "$script" | sed -n 's/^# zarvik-sim//p')
# shellcheck disable=SC2086
actual=$("$sim" $args < "$script")
if ! diff -u "$expected" <(printf '%s\n' "$actual"); then
  echo "zarvik-sim output differs from $expected" >&2
  exit 1
fi
