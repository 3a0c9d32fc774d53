#!/usr/bin/env bash
# Takes a picture of the results page stats-check publishes: checks a small
# generated contest and shows its index.html in headless Chromium, saving the
# top of the page as docs/results.png.
#
# Chromium comes from Debian's packages; the script installs it when it is
# missing (it is no part of the build or the tests).
#   OUT     picture to write (default: docs/results.png)
#   WIDTH, HEIGHT  window size in pixels (default: 1500 x 1400)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=${OUT:-docs/results.png}
case "$out" in /*) ;; *) out="$root/$out" ;; esac

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

mkdir -p "$(dirname "$out")"
# As root Chromium runs only without its sandbox; the page is our own.
chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --no-first-run \
  --window-size="${WIDTH:-1500},${HEIGHT:-1400}" --screenshot="$out" \
  "file://$work/results/index.html" 2>/dev/null
echo "wrote $out"
