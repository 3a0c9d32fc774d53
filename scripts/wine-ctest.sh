#!/usr/bin/env bash
# Runs the tests of a Windows build folder under Wine, the way the test
# command does: a throwaway prefix, everything inside Xvfb, the crash dialog
# off, unmanaged windows, one wineserver for the whole run and a timeout on
# every test. Every test program of the build runs through ctest.
#   bash scripts/wine-ctest.sh build/win64 [ctest arguments, e.g. -R unit_tests]
# The build's toolchain file decides the Wine: 64-bit programs (build/win64)
# run under /usr/lib/wine/wine64, 32-bit ones under /usr/lib/wine/wine.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: wine-ctest.sh BUILD_DIR [ctest arguments]}
shift
if [ ! -f "$build/CTestTestfile.cmake" ]; then
  echo "wine-ctest: $build is not a configured build folder" >&2
  exit 1
fi
if grep -q '^CMAKE_TOOLCHAIN_FILE.*x86_64' "$build/CMakeCache.txt"; then
  loader=/usr/lib/wine/wine64 arch=win64
else
  loader=/usr/lib/wine/wine arch=win32
fi
wineserver=/usr/lib/wine/wineserver

prefix=$(mktemp -d /tmp/stats-wine.XXXXXX)
trap 'WINEPREFIX="$prefix" "$wineserver" -k >/dev/null 2>&1 || true; rm -rf "$prefix"' EXIT
# WINELOADER: processes Wine itself starts use the same loader.
export WINEPREFIX="$prefix" WINEARCH="$arch" WINELOADER="$loader" WINEDEBUG=-all \
  WINEDLLOVERRIDES="mscoree,mshtml=" STATS_WINESERVER="$wineserver"
start=$(date +%s)
# Everything Wine starts must start inside the X server, or windows cannot
# open. One server for the whole test run, and the background processes
# (services, the desktop) started before ctest with their output going
# nowhere: started by a test, they would hold ctest's output pipe open and
# ctest would wait for them until the timeout.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -e
  start=$1 build=$2
  shift 2
  timeout 300 "$WINELOADER" wineboot -i </dev/null >/dev/null 2>&1
  timeout 120 "$WINELOADER" reg add "HKCU\\Software\\Wine\\WineDbg" /v ShowCrashDialog \
    /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
  timeout 120 "$WINELOADER" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f \
    </dev/null >/dev/null 2>&1
  # The services of the session that made the prefix stay half-working
  # (under wine64 the running object table then answers nothing), so the
  # tests get a session of their own.
  timeout 120 "$STATS_WINESERVER" -w
  "$STATS_WINESERVER" -p </dev/null >/dev/null 2>&1
  timeout 120 "$WINELOADER" wineboot </dev/null >/dev/null 2>&1
  echo "wine prefix ($WINEARCH) ready in $(($(date +%s) - start)) s"
  cd "$build"
  status=0
  ctest --output-on-failure -j1 --timeout 300 "$@" || status=$?
  "$STATS_WINESERVER" -k >/dev/null 2>&1 || true
  exit $status
' wine-ctest "$start" "$build" "$@"
echo "wine tests ($build) took $(($(date +%s) - start)) s"
