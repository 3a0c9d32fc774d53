#!/usr/bin/env bash
# Builds the 32-bit Windows DLL into build/win32 and checks its export table,
# then runs the Windows unit tests and the test host under Wine (through
# wine-ctest.sh: a throwaway prefix, inside Xvfb, crash dialog off, every test
# with a timeout) and compares the host's transcript with the native one.
#
# The shipped DLL is 32-bit, and its tests run under 32-bit Wine where the
# kernel can start 32-bit programs. A kernel booted without ia32 emulation
# cannot; there the same sources are built as 64-bit Windows programs into
# build/win64 and their tests run under 64-bit Wine instead. If no Wine can
# run at all this fails, unless STATS_ALLOW_NO_WINE=1.
#   NATIVE_BUILD  native build folder holding tests/host/stats_host (build/native)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/configure.sh
source scripts/lib/wine.sh
source scripts/lib/native-host.sh
jobs=2

build() {  # folder kind
  local start
  start=$(date +%s)
  stats_configure "$1" "$2"
  cmake --build "$1" -j"$jobs"
  echo "$1 built in $(($(date +%s) - start)) s"
}

echo "== windows build"
build build/win32 win32

echo "== windows export table"
(cd build/win32 && ctest --output-on-failure -R '^dll_exports$')

stats_need_wine "the Windows unit tests and test host"
tests=build/$wine_kind
if [ "$wine_kind" = win32 ]; then
  echo "== windows tests: 32-bit build under 32-bit Wine"
else
  echo "== windows tests: this machine cannot start 32-bit programs, so the 64-bit test build of the same sources runs under wine64 (build/win64)"
  build build/win64 win64
fi

rm -f "$tests/tests/host/host_transcript_windows.txt"
bash scripts/wine-ctest.sh "$tests" -E '^dll_exports$'

echo "== windows transcript against the native one"
work=$(mktemp -d /tmp/stats-host-native.XXXXXX)
stats_native_transcript "$work/native.txt"
windows_transcript=$tests/tests/host/host_transcript_windows.txt
if cmp "$work/native.txt" "$windows_transcript"; then
  echo "transcripts equal ($(wc -l <"$work/native.txt") lines, $tests)"
  rm -rf "$work"
else
  diff "$work/native.txt" "$windows_transcript" || true
  echo "FAIL: the Windows DLL answers differently from the native library" >&2
  exit 1
fi
