#!/usr/bin/env bash
# Installs what the native build, the Windows cross build and the Wine tests need on Debian 12.
# Safe to run again: packages already present are skipped by apt-get.
set -euo pipefail

need_native=(cmake g++ make ninja-build googletest libgtest-dev libbenchmark-dev libcli11-dev ccache python3
             clang libclang-rt-14-dev)
need_win=(g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64-posix wine wine32:i386 wine64
          xvfb xauth)

missing=()
for p in "${need_native[@]}" "${need_win[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
