#!/usr/bin/env bash
# Builds the 32-bit Windows DLL and its tests into build/win32, checks the
# DLL's export table, then runs the Windows unit tests and the test host under
# Wine (in a throwaway prefix, inside Xvfb, crash dialog off, every test with
# a timeout) and compares the host's transcript with the native one.
#
# Wine needs a kernel that runs 32-bit programs. Where it cannot (a kernel
# booted without ia32 emulation), the Wine part is skipped with a message;
# STATS_REQUIRE_WINE=1 turns that skip into a failure.
#   NATIVE_BUILD  native build folder holding tests/host/stats_host (build/native)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=2
native=${NATIVE_BUILD:-build/native}

echo "== windows build"
start=$(date +%s)
cmake -S . -B build/win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/win32 -j"$jobs"
echo "windows build took $(($(date +%s) - start)) s"

echo "== windows export table"
(cd build/win32 && ctest --output-on-failure -R '^dll_exports$')

# Can this kernel start a 32-bit program at all? Wine's loader is one.
loader=/usr/lib/wine/wine
if ! "$loader" --version >/dev/null 2>&1; then
  why=$("$loader" --version 2>&1 | tail -1 || true)
  reason="this machine cannot start 32-bit programs ($loader: $why)"
  if [ "${STATS_REQUIRE_WINE:-0}" = "1" ]; then
    echo "FAIL: Windows tests need Wine, but $reason" >&2
    exit 1
  fi
  echo "SKIPPED: Windows unit tests and test host under Wine: $reason"
  exit 0
fi

echo "== windows tests under wine"
prefix=$(mktemp -d /tmp/stats-wine.XXXXXX)
trap 'WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true; rm -rf "$prefix"' EXIT
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
start=$(date +%s)
# Everything Wine starts must start inside the X server, or windows cannot open.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -e
  timeout 300 wineboot -i >/dev/null 2>&1
  timeout 120 wine reg add "HKCU\\Software\\Wine\\WineDbg" /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  timeout 120 wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
  timeout 120 wineserver -w
  # One server for the whole run, so ctest does not wait on each test for
  # background processes to let go of its output.
  wineserver -p </dev/null >/dev/null 2>&1
  cd build/win32
  ctest --output-on-failure -j1 --timeout 300 -E "^dll_exports$"
'
echo "wine tests took $(($(date +%s) - start)) s"

echo "== windows transcript against the native one"
if [ ! -x "$native/tests/host/stats_host" ]; then
  cmake -S . -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$native" -j"$jobs" --target stats_host
fi
work=$(mktemp -d /tmp/stats-host-native.XXXXXX)
(cd "$work" && "$root/$native/tests/host/stats_host" "$root/$native/libStats.so" "$work/native.txt")
if cmp "$work/native.txt" build/win32/tests/host/host_transcript_windows.txt; then
  echo "transcripts equal ($(wc -l <"$work/native.txt") lines)"
  rm -rf "$work"
else
  diff "$work/native.txt" build/win32/tests/host/host_transcript_windows.txt || true
  echo "FAIL: the Windows DLL answers differently from the native library" >&2
  exit 1
fi
