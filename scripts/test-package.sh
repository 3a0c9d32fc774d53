#!/usr/bin/env bash
# Checks the release as a user gets it: makes the zips (scripts/package.sh,
# which also checks them without running anything), unzips the plug-in zip
# into an empty folder and runs the Windows test host there against the
# unzipped DLL under Wine (--window-checks, as the host_program test does),
# and runs the tools zip's stats-replay.exe on the sample log; its score table
# must equal the native one.
#
# 32-bit Wine runs the real zip. Where this machine cannot start 32-bit
# programs, the 64-bit test build (build/win64) is packed the same way into a
# test-only zip (build/package-test) and that one runs under wine64; the real
# zip is then checked without running. Without Wine this fails, unless
# STATS_ALLOW_NO_WINE=1.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/configure.sh
source scripts/lib/wine.sh
source scripts/lib/native-host.sh
root=$(pwd)
jobs=2
sample=examples/kova-sample.adi

bash scripts/package.sh

stats_need_wine "the unzipped release under Wine"
build=build/$wine_kind
if [ "$wine_kind" = win32 ]; then
  zips=build/package
  echo "== release zip under 32-bit Wine"
else
  zips=build/package-test
  echo "== release zip under Wine: this machine cannot start 32-bit programs, so a test-only zip of the 64-bit test build (build/win64, same layout) runs under wine64"
fi
[ -f "$build/CMakeCache.txt" ] || stats_configure "$build" "$wine_kind"
cmake --build "$build" -j"$jobs" --target stats_host stats_package_files
if [ "$wine_kind" = win64 ]; then
  rm -rf "$zips"
  (cd "$build" && cpack -B "$root/$zips" >/dev/null)
  rm -rf "$zips/_CPack_Packages"
  python3 tests/package/check_package.py "$(ls "$zips"/Stats-*-win64.zip)" "$build/package-files" \
    x86_64-w64-mingw32-objdump pei-x86-64
fi
plugin_zip=$(ls "$zips"/Stats-*-"$wine_kind".zip)
tools_zip=${plugin_zip%.zip}-tools.zip

work=$(mktemp -d /tmp/stats-package.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/vexa" "$work/tools"
python3 -m zipfile -e "$plugin_zip" "$work/vexa"
python3 -m zipfile -e "$tools_zip" "$work/tools"

# In the unzipped plug-in folder: the test host against the DLL there; in the
# unzipped tools folder: stats-replay with the DLL beside it. Its settings say
# the panel runs, so the reset starts none: the panel, which only Windows has,
# would put its opening mode word "RTTY" into the score table's heading, and
# the table is compared with the native one. (Unloading right after a reset
# that opens the panel is the panel host's to check.)
mkdir "$work/tools/Plugins"
printf '[Settings]\r\nStart=1\r\n' >"$work/tools/Plugins/KOVA-BRAWLCUP.ini"
(cd "$work/vexa" && stats_wine_session bash -c '
  timeout 300 "$WINELOADER" "$1" Stats.dll "$2" --window-checks
  cd ../tools && timeout 120 "$WINELOADER" stats-replay.exe "$3" >"$4"
' unzipped "$root/$build/tests/host/stats_host.exe" "$work/transcript.txt" "$root/$sample" \
  "$work/replay-windows.txt" </dev/null)

echo "== unzipped release against the native build"
stats_native_transcript "$work/native.txt"
cmake --build build/native -j"$jobs" --target stats-replay >/dev/null
mkdir "$work/native-replay"
(cd "$work/native-replay" &&
  "$root/build/native/stats-replay" "$root/$sample" >"$work/replay-native.txt")
status=0
cmp "$work/native.txt" "$work/transcript.txt" || status=1
cmp "$work/replay-native.txt" "$work/replay-windows.txt" || status=1
if [ "$status" -ne 0 ]; then
  diff "$work/native.txt" "$work/transcript.txt" || true
  diff "$work/replay-native.txt" "$work/replay-windows.txt" || true
  echo "FAIL: the unzipped release answers differently from the native build" >&2
  exit 1
fi
echo "unzipped $(basename "$plugin_zip") and $(basename "$tools_zip"): test host transcript" \
  "($(wc -l <"$work/native.txt") lines) and stats-replay's score table equal the native ones"
