#!/usr/bin/env bash
# Takes the pictures of the log robot in docs/ again: the upload page, a
# receipt and a refusal, 1280 and 390 pixels wide, in headless chromium, by
# running the robot's browser test with a folder for its screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/configure.sh
bash scripts/install-deps.sh
bash scripts/install-browser-test.sh
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
stats_configure build/native
cmake --build build/native -j2 --target stats-robot stats-check Stats >/dev/null
node tests/tools/robot/browser_test.js "$PWD/build/robot-browser/node_modules" \
  build/native/stats-robot scripts/make-contest.py build/robot-screenshots "$PWD/docs" 2>/dev/null
ls -l docs/robot-*.png
