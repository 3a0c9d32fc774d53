#!/usr/bin/env bash
# Takes a picture of the mode switch panel and the Multiplier window as the
# operator sees them (a worked-before grid for a call with five QSOs, the
# radio on 20 m), under Xvfb and Wine, and saves it as docs/panel.png.
#
# The test host builds with the Windows cross build; where this machine cannot
# start 32-bit programs the 64-bit build is used (the windows are the same).
#   BUILD  Windows build folder (default: build/win32, or build/win64 where
#          32-bit Wine cannot run)
#   OUT    picture to write (default: docs/panel.png)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  build=${BUILD:-build/win32}
  toolchain=cmake/mingw-i686.cmake
  loader=/usr/lib/wine/wine
  export WINEARCH=win32
else
  build=${BUILD:-build/win64}
  toolchain=cmake/mingw-x86_64.cmake
  loader=/usr/lib/wine/wine64
fi
out=${OUT:-docs/panel.png}
case "$out" in /*) ;; *) out="$root/$out" ;; esac

cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target panel_screenshot Stats

work=$(mktemp -d /tmp/stats-screenshot.XXXXXX)
prefix="$work/prefix"
trap 'WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LOADER="$loader" HOST_EXE="$root/$build/tests/host/panel_screenshot.exe" DLL="$root/$build/Stats.dll"
export SHOT="$work/panel.bmp"
# Everything Wine starts must start inside the X server, or windows cannot open.
(cd "$work" && xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -e
  timeout 300 "$LOADER" wineboot -i >/dev/null 2>&1
  timeout 120 "$LOADER" reg add "HKCU\\Software\\Wine\\WineDbg" /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  timeout 120 "$LOADER" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
  timeout 120 /usr/lib/wine/wineserver -w
  timeout 120 "$LOADER" "$HOST_EXE" "$DLL" --screenshot "$SHOT" </dev/null
')

mkdir -p "$(dirname "$out")"
python3 - "$SHOT" "$out" <<'EOF'
# A 24-bit bottom-up BMP to an RGB PNG, with nothing but the standard library.
import struct, sys, zlib

data = open(sys.argv[1], "rb").read()
offset = struct.unpack_from("<I", data, 10)[0]
width, height = struct.unpack_from("<ii", data, 18)
bits = struct.unpack_from("<H", data, 28)[0]
if bits != 24:
    sys.exit("expected a 24-bit picture, got %d bits" % bits)
stride = (width * 3 + 3) & ~3
rows = []
for y in range(abs(height)):
    source = y if height < 0 else abs(height) - 1 - y
    row = data[offset + source * stride: offset + source * stride + width * 3]
    rgb = bytearray(width * 3)
    rgb[0::3], rgb[1::3], rgb[2::3] = row[2::3], row[1::3], row[0::3]
    rows.append(b"\0" + bytes(rgb))

def chunk(kind, body):
    return (struct.pack(">I", len(body)) + kind + body +
            struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

png = (b"\x89PNG\r\n\x1a\n" +
       chunk(b"IHDR", struct.pack(">IIBBBBB", width, abs(height), 8, 2, 0, 0, 0)) +
       chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))
open(sys.argv[2], "wb").write(png)
print("wrote %s (%dx%d)" % (sys.argv[2], width, abs(height)))
EOF
