#!/usr/bin/env bash
# Installs the robot's browser test's one npm package (puppeteer-core, the
# version pinned in tests/tools/robot/package-lock.json) into
# build/robot-browser/, never globally. puppeteer-core brings no browser: the
# test drives Debian's chromium (scripts/install-deps.sh installs it).
# Safe to run again: a folder that holds the locked version is kept.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build/robot-browser
mkdir -p "$dir"
if [ -f "$dir/node_modules/.package-lock.json" ] &&
   cmp -s tests/tools/robot/package-lock.json "$dir/package-lock.json"; then
  exit 0
fi
cp tests/tools/robot/package.json tests/tools/robot/package-lock.json "$dir/"
(cd "$dir" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
