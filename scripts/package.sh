#!/usr/bin/env bash
# Makes the release: builds the 32-bit Windows DLL and tools in a Release
# build (build/win32-release) and packs them with CPack into
#   build/package/Stats-<version>-win32.zip        the plug-in, to unzip into
#                                                  Vexa's folder
#   build/package/Stats-<version>-win32-tools.zip  stats-replay (and
#                                                  stats-check) for Windows
# with the debug information of each program beside them (Stats.dll.debug
# ...), then checks both zips without running anything and prints the sizes.
# The version is the project's one version number (CMakeLists.txt).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/configure.sh
root=$(pwd)
jobs=2
build=build/win32-release
out=build/package

bash scripts/install-deps.sh
echo "== release build ($build)"
start=$(date +%s)
# Release code with debug information, which is split off into the .debug
# files: the zip's DLL carries none of it.
stats_configure "$build" win32 -DCMAKE_BUILD_TYPE=Release -DSTATS_BUILD_TESTS=OFF \
  -DCMAKE_C_FLAGS=-g -DCMAKE_CXX_FLAGS=-g
cmake --build "$build" -j"$jobs"
echo "$build built in $(($(date +%s) - start)) s"

echo "== zips into $out"
rm -rf "$out"
(cd "$build" && cpack -B "$root/$out" >/dev/null)
rm -rf "$out/_CPack_Packages"
cp "$build"/package-files/*.debug "$out"/

plugin_zip=$(ls "$out"/Stats-*-win32.zip)
python3 tests/package/check_package.py "$plugin_zip" "$out" i686-w64-mingw32-objdump pei-i386

size() { stat -c %s "$1"; }
echo "$(basename "$plugin_zip"): $(size "$plugin_zip") bytes; Stats.dll in it:" \
  "$(size "$build/package-files/Stats.dll") bytes; Stats.dll.debug: $(size "$out/Stats.dll.debug") bytes"
ls -l "$out"
