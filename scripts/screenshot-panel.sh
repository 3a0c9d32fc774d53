#!/usr/bin/env bash
# Takes a picture of the mode switch panel and the Multiplier window as the
# operator sees them (a worked-before grid for a call with five QSOs, the
# radio on 20 m), under Xvfb and Wine, and saves it as docs/panel.png.
#
# The screenshot program builds with the Windows cross build; where this machine cannot
# start 32-bit programs the 64-bit build is used (the windows are the same).
#   BUILD  Windows build folder (default: build/win32, or build/win64 where
#          32-bit Wine cannot run)
#   OUT    picture to write (default: docs/panel.png)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/configure.sh
source scripts/lib/wine.sh
root=$(pwd)

# The program that shows the windows and saves the picture, called as
# PROGRAM DLL --screenshot FILE.BMP, and its target in the build.
shot_target=panel_screenshot
shot_program=tests/host/panel_screenshot.exe

if ! stats_pick_wine; then
  echo "screenshot-panel: $wine_missing" >&2
  exit 1
fi
build=${BUILD:-build/$wine_kind}
out=${OUT:-docs/panel.png}
case "$out" in /*) ;; *) out="$root/$out" ;; esac

stats_configure "$build" "$wine_kind"
cmake --build "$build" -j2 --target "$shot_target" Stats
stats_wine_of_build "$build"

work=$(mktemp -d /tmp/stats-screenshot.XXXXXX)
trap 'rm -rf "$work"' EXIT
(cd "$work" && stats_wine_session timeout 120 "$wine_loader" "$root/$build/$shot_program" \
  "$root/$build/Stats.dll" --screenshot "$work/panel.bmp" </dev/null)

mkdir -p "$(dirname "$out")"
python3 - "$work/panel.bmp" "$out" <<'EOF'
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
