#!/usr/bin/env bash
# Runs the tests of a Windows build folder under Wine, the way the test
# command does: a fresh Wine session (scripts/lib/wine.sh: a throwaway prefix,
# everything inside Xvfb, the crash dialog off, unmanaged windows, one
# wineserver for the whole run) and a timeout on every test. Every test
# program of the build runs through ctest.
#   bash scripts/wine-ctest.sh build/win64 [ctest arguments, e.g. -R unit_tests]
# The build's toolchain file decides the Wine: 64-bit programs (build/win64)
# run under /usr/lib/wine/wine64, 32-bit ones under /usr/lib/wine/wine.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/wine.sh
build=${1:?usage: wine-ctest.sh BUILD_DIR [ctest arguments]}
shift
if [ ! -f "$build/CTestTestfile.cmake" ]; then
  echo "wine-ctest: $build is not a configured build folder" >&2
  exit 1
fi
stats_wine_of_build "$build"

start=$(date +%s)
(cd "$build" && stats_wine_session ctest --output-on-failure -j1 --timeout 300 "$@")
echo "wine tests ($build) took $(($(date +%s) - start)) s"
