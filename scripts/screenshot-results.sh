#!/usr/bin/env bash
# Takes pictures of the pages stats-check publishes: checks a small generated
# contest and shows its pages in headless Chromium, saving
#   docs/results.png          the top of index.html 1280 pixels wide
#   docs/results-phone.png    the same 390 pixels wide, as a phone shows it
#   docs/results-station.png  a station's page 1280 pixels wide
#
# Chromium comes from Debian's packages; the script installs it when it is
# missing (it is no part of the build or the tests).
#   DOCS   folder to write the pictures to (default: docs)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
docs=${DOCS:-docs}
case "$docs" in /*) ;; *) docs="$root/$docs" ;; esac

if ! command -v chromium >/dev/null 2>&1; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    chromium fonts-dejavu-core >/dev/null
fi

cmake -S . -B build/native -G Ninja >/dev/null
cmake --build build/native -j2 --target stats-check Stats

work=$(mktemp -d /tmp/stats-results-shot.XXXXXX)
trap 'rm -rf "$work"' EXIT
python3 scripts/make-contest.py --out "$work/contest" --stations 16 --qsos 250 --random 7
build/native/stats-check --out "$work/results" "$work"/contest/logs/* 2>/dev/null

mkdir -p "$docs"
shot() {  # width height picture page
  # As root Chromium runs only without its sandbox; the pages are our own.
  chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --no-first-run \
    --window-size="$1,$2" --screenshot="$3" "file://$work/results/$4" 2>/dev/null
  echo "wrote $3"
}
shot 1280 1000 "$docs/results.png" index.html
shot 390 1200 "$docs/results-phone.png" index.html
station=$(grep -o 'href="stations/[^"]*"' "$work/results/index.html" | sed -n 3p | cut -d'"' -f2)
shot 1280 800 "$docs/results-station.png" "$station"
