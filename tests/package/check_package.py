#!/usr/bin/env python3
"""Checks the release zips as a user receives them, without running anything.

Usage: check_package.py PLUGIN_ZIP DEBUG_FOLDER OBJDUMP FORMAT
  PLUGIN_ZIP    build/package/Stats-<version>-win32.zip; the tools zip is the
                one beside it with -tools before .zip
  DEBUG_FOLDER  where NAME.debug lies for every program in the zips
  OBJDUMP       the mingw-w64 objdump of the build's width
  FORMAT        the object format every program must have (pei-i386)

The plug-in zip holds exactly the files its Stats-README.txt lists (the Plugins
folder empty), its DLL exports the 20 entry points and imports only system
DLLs (tests/host/check_exports.cmake), stays under 2 MB and shows the zip's
version in its version resource. Every program in both zips has the given
format, no debug sections, and a debug link naming its .debug file with that
file's checksum. The texts have Windows line ends.
"""
import os
import re
import subprocess
import sys
import tempfile
import zipfile
import zlib

MAX_DLL_BYTES = 2 * 1024 * 1024
HERE = os.path.dirname(os.path.abspath(__file__))
EXPORT_CHECK = os.path.join(HERE, "..", "host", "check_exports.cmake")

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)


def listed_files(readme):
    """The paths of the README's "Files in this archive" list, folders with a
    trailing slash: each entry line starts with two blanks and the path; its
    continuation lines are indented further; a blank line ends the list."""
    lines = readme.split("\r\n")
    start = lines.index("Files in this archive") + 2
    paths = []
    for line in lines[start:]:
        if not line:
            break
        m = re.match(r"  (\S+)", line)
        if m:
            paths.append(m.group(1).replace("\\", "/"))
    return paths


def check_text(archive, zip_name, name):
    data = archive.read(name)
    check(data.count(b"\n") > 0 and data.count(b"\n") == data.count(b"\r\n"),
          f"{zip_name}: {name} has lines not ended by CR LF")
    return data.decode("ascii")


def check_listing(archive, zip_name):
    """The README lists exactly the zip's entries; returns the README."""
    readme = check_text(archive, zip_name, "Stats-README.txt")
    check_text(archive, zip_name, "Stats-LICENSE.txt")
    listed = sorted(listed_files(readme))
    present = sorted(archive.namelist())
    check(listed == present,
          f"{zip_name}: Stats-README.txt lists {listed}, the zip holds {present}")
    return readme


def objdump(tool, *args):
    """objdump's output, empty when it fails (a section that is missing)."""
    return subprocess.run([tool, *args], capture_output=True, text=True).stdout


def debug_link(tool, path):
    """(file name, CRC-32) of the program's .gnu_debuglink section."""
    dump = objdump(tool, "-s", "-j", ".gnu_debuglink", path)
    data = b""
    for line in dump.splitlines():
        m = re.match(r" [0-9a-f]+ ((?:[0-9a-f]+ ?)+)", line)
        if m:
            data += bytes.fromhex(m.group(1).split("  ")[0].replace(" ", ""))
    name, _, rest = data.partition(b"\0")
    crc_at = (len(name) + 4) & ~3  # the name, its zero and padding to 4 bytes
    crc = int.from_bytes(data[crc_at:crc_at + 4], "little") if len(data) >= crc_at + 4 else None
    return name.decode("ascii", "replace"), crc


def check_program(tool, fmt, path, name, debug_folder):
    head = objdump(tool, "-f", path)
    check(f"file format {fmt}" in head, f"{name} is not {fmt}: {head.strip()[:120]}")
    sections = objdump(tool, "-h", path)
    check(".debug_" not in sections, f"{name} still holds debug sections")
    debug_path = os.path.join(debug_folder, name + ".debug")
    if not os.path.isfile(debug_path):
        failures.append(f"{name}: no {debug_path}")
        return
    check(".debug_info" in objdump(tool, "-h", debug_path),
          f"{debug_path} holds no debug information")
    link_name, link_crc = debug_link(tool, path)
    with open(debug_path, "rb") as f:
        crc = zlib.crc32(f.read())
    check(link_name == name + ".debug", f"{name} links to {link_name!r}")
    check(link_crc == crc, f"{name}'s debug link checksum {link_crc} is not that of "
                           f"{debug_path} ({crc})")


def resource_text(data, key):
    """A value of the version resource's string table (UTF-16 key, zero,
    padding, UTF-16 value)."""
    at = data.find(key.encode("utf-16le") + b"\0\0")
    if at < 0:
        return None
    at += 2 * len(key) + 2
    while data[at:at + 2] == b"\0\0":
        at += 2
    end = at
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[at:end].decode("utf-16le")


def check_dll(tool, path, version):
    size = os.path.getsize(path)
    check(size < MAX_DLL_BYTES, f"Stats.dll has {size} bytes, not under {MAX_DLL_BYTES}")
    run = subprocess.run(["cmake", f"-DOBJDUMP={tool}", f"-DDLL={path}", "-P", EXPORT_CHECK],
                         capture_output=True, text=True)
    check(run.returncode == 0, f"Stats.dll export table: {run.stderr.strip()}")
    with open(path, "rb") as f:
        data = f.read()
    shown = resource_text(data, "FileVersion")
    check(shown == version + ".0", f"Stats.dll's version resource shows {shown!r}, "
                                   f"the zip is version {version}")


def main():
    plugin_zip, debug_folder, tool, fmt = sys.argv[1:5]
    m = re.match(r"Stats-(.+)-win(32|64)\.zip$", os.path.basename(plugin_zip))
    if not m:
        sys.exit(f"not a release zip name: {plugin_zip}")
    version = m.group(1)
    if not os.path.isfile(plugin_zip):
        sys.exit(f"FAIL: no {plugin_zip}")
    tools_zip = plugin_zip[:-len(".zip")] + "-tools.zip"
    with tempfile.TemporaryDirectory() as work:
        dlls = []
        for zip_path in (plugin_zip, tools_zip):
            zip_name = os.path.basename(zip_path)
            if not os.path.isfile(zip_path):
                failures.append(f"no {zip_path}")
                continue
            with zipfile.ZipFile(zip_path) as archive:
                readme = check_listing(archive, zip_name)
                check(version in readme.split("\r\n")[0],
                      f"{zip_name}: Stats-README.txt's title does not name version {version}")
                folder = os.path.join(work, zip_name)
                archive.extractall(folder)
            for name in sorted(os.listdir(folder)):
                if name.lower().endswith((".dll", ".exe")):
                    check_program(tool, fmt, os.path.join(folder, name), name, debug_folder)
            if "Stats.dll" in os.listdir(folder):
                with open(os.path.join(folder, "Stats.dll"), "rb") as f:
                    dlls.append(f.read())
        with zipfile.ZipFile(plugin_zip) as archive:
            names = archive.namelist()
            check({"Stats.dll", "Plugins/", "Stats-README.txt", "Stats-LICENSE.txt"} <= set(names),
                  f"{plugin_zip} lacks one of Stats.dll, Plugins/, Stats-README.txt, Stats-LICENSE.txt")
            check(not [n for n in names if n.startswith("Plugins/") and n != "Plugins/"],
                  f"{plugin_zip}: the Plugins folder is not empty")
        check_dll(tool, os.path.join(work, os.path.basename(plugin_zip), "Stats.dll"), version)
        check(len(dlls) == 2 and dlls[0] == dlls[1],
              "the tools zip does not carry the plug-in zip's Stats.dll")

    for f in failures:
        print("FAIL:", f)
    if failures:
        sys.exit(1)
    print(f"{os.path.basename(plugin_zip)} and {os.path.basename(tools_zip)}: "
          "contents, texts, programs and debug files as they should be")


if __name__ == "__main__":
    main()
