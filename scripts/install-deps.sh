#!/usr/bin/env bash
# Installs what the native build, the Windows cross build and the Wine tests need on Debian 12.
# Safe to run again: packages already present are skipped by apt-get.
set -euo pipefail

need_native=(cmake g++ make ninja-build googletest libgtest-dev libbenchmark-dev libcli11-dev ccache python3
             clang libclang-rt-14-dev
             pkg-config libcpp-httplib-dev libsqlite3-dev sqlite3 libsodium-dev libzip-dev chromium)
need_win=(g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64-posix wine wine32:i386 wine64
          xvfb xauth)

missing=()
for p in "${need_native[@]}" "${need_win[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
# The robot's browser test runs under Node.js with npm; any installed one does.
command -v node >/dev/null 2>&1 && command -v npm >/dev/null 2>&1 || missing+=(nodejs npm)
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
# A mirror caught mid-sync fails one index now and then: try again, and go
# on with the indexes that did arrive (the install below says what is missing).
for attempt in 1 2 3; do
  $SUDO apt-get update -qq && break
  echo "install-deps: apt-get update failed (attempt $attempt of 3)" >&2
  [ "$attempt" -lt 3 ] && sleep $((attempt * 5))
done
install() { DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$@" >/dev/null; }
if ! install "${missing[@]}"; then
  # 32-bit Wine needs the i386 halves of the system libraries at the very
  # versions of the amd64 ones; while a mirror's i386 index lags behind they
  # cannot be installed. Everything else still can, and the Windows tests then
  # run under 64-bit Wine, as on machines that cannot start 32-bit programs.
  rest=()
  for p in "${missing[@]}"; do [ "$p" = "wine32:i386" ] || rest+=("$p"); done
  [ ${#rest[@]} -eq ${#missing[@]} ] && exit 1
  echo "install-deps: wine32:i386 cannot be installed now; the Windows tests will run under 64-bit Wine" >&2
  install "${rest[@]}"
fi
