#!/usr/bin/env python3
"""Loads the built libStats.so the way a host does (by name, through the
dynamic loader) and drives one pass with the host's full argument lists.

Checks that the library exports exactly the ten plain entry points and that a
caller that knows nothing of our headers gets the documented texts and files.
Usage: native_library_test.py LIBRARY
"""
import ctypes
import os
import subprocess
import sys
import tempfile

EXPECTED_EXPORTS = sorted([
    "AddData0", "RemoveData0", "CheckCall0", "GetNumberOfSets", "GetResult0",
    "GetSetName", "ResetStats0", "SetupSet0", "GetExchgCount0", "IsValidExchg0",
])

failures = []


def check(what, expected, actual):
    if expected != actual:
        failures.append(f"{what}: expected {expected!r}, got {actual!r}")


class OleDateTime(ctypes.Structure):
    _fields_ = [("m_dt", ctypes.c_double), ("m_status", ctypes.c_int32)]


def exported_names(library):
    out = subprocess.run(["nm", "-D", "--defined-only", library], check=True,
                         capture_output=True, text=True).stdout
    return sorted(line.split()[-1] for line in out.splitlines()
                  if len(line.split()) == 3 and line.split()[1] in "TtWDdBb")


def main():
    library = os.path.abspath(sys.argv[1])
    check("exported names", EXPECTED_EXPORTS, exported_names(library))

    work = tempfile.mkdtemp(prefix="stats_ctypes_")
    os.chdir(work)
    os.mkdir("Plugins")
    lib = ctypes.CDLL(library)
    s = ctypes.c_char_p
    t = ctypes.POINTER(OleDateTime)
    u = ctypes.c_uint
    i = ctypes.c_int
    d = ctypes.c_double
    lib.AddData0.argtypes = [s, s, t, t, t, t, u, u] + [s] * 15 + [i, i, i, d, d] + [s] * 5
    lib.AddData0.restype = i
    lib.CheckCall0.argtypes = [s, u, u] + [s] * 11 + [i, i, i, d, d] + [s] * 7 + [
        ctypes.c_char_p, ctypes.c_char_p]
    lib.CheckCall0.restype = i
    lib.ResetStats0.argtypes = [s, i, s, t, t] + [s] * 10 + [i, i, i, d, d] + [s] * 3
    lib.ResetStats0.restype = i
    lib.GetResult0.argtypes = [ctypes.POINTER(ctypes.c_int)]
    lib.GetResult0.restype = ctypes.c_char_p
    lib.GetSetName.argtypes = [i]
    lib.GetSetName.restype = ctypes.c_char_p

    check("GetNumberOfSets", 1, lib.GetNumberOfSets())
    check("GetSetName(0)", b"KOVA-BRAWLCUP", lib.GetSetName(0))

    start = OleDateTime(42522.0, 0)   # 1 Jun 2016
    end = OleDateTime(42523.5, 0)     # 2 Jun 2016 12:00
    check("ResetStats0", 1, lib.ResetStats0(b"", 0, b"Q1OWN", start, end, *([b""] * 10),
                                            0, 0, 0, 0.0, 0.0, b"", b"", b""))

    def add(call, band, mode, prefix, nr_rcvd=b"002"):
        when = OleDateTime(42522.0 + 9.5 / 24, 0)
        return lib.AddData0(b"Q1OWN", call, when, None, None, None, 0, 14080999, mode, b"599",
                            b"599", b"001", nr_rcvd, *([b""] * 8), prefix, b"", 0, 0, 0, 0.0,
                            0.0, b"", b"", b"", band, b"")

    check("stored", 1, add(b"Q2AA", b"20m", b"RTTY", b"Q2"))
    check("dupe stored", 1, add(b"Q2AA", b"20m", b"RTTY", b"Q2"))
    check("WARC refused", 0, add(b"Q3BB", b"17m", b"RTTY", b"Q3"))
    check("second prefix", 1, add(b"Q4CC", b"40m", b"RTTY", b"Q4"))
    buffers = [ctypes.create_string_buffer(b"keep", 16) for _ in range(2)]
    check("call check dupe", 0, lib.CheckCall0(b"Q2AA", 0, 0, b"RTTY", *([b""] * 8), b"Q2",
                                               b"599", 0, 0, 0, 0.0, 0.0, *([b""] * 5), b"20m",
                                               b"20m", buffers[0], buffers[1]))
    check("buffers untouched", [b"keep", b"keep"], [b.value for b in buffers])
    out = ctypes.c_int(7)
    check("result text",
          b"\t  KOVA-BRAWLCUP 01.06-02.06.2016 \r\n\t\t     Contestant: Q1OWN\r\n"
          b"    \tBPSK\tHELL\tMFSK\tMT63\tRTTY\tTHROB\tSSTV\r\n"
          b"QSO:\t 0\t 0\t 0\t 0\t 2\t 0\t 0\r\nPFX:\t 0\t 0\t 0\t 0\t 2\t 0\t 0\r\n"
          b"Score:\t 0\t 0\t 0\t 0\t 4\t 0\t 0\r\n\r\nCreated by Q9ZZ 2016",
          lib.GetResult0(ctypes.byref(out)))
    check("out untouched outside a report run", 7, out.value)
    with open("err.txt", "rb") as f:
        check("err.txt", b"KOVA-BRAWLCUP UBN file \r\n"
              b"QSO:  14080  RTTY  2016-06-01 0930  Q1OWN  599  001  Q2AA  599  002   DUPE !!!\r\n"
              b"QSO:  14080  RTTY  2016-06-01 0930  Q1OWN  599  001  Q3BB  599  002"
              b"   NO CONTEST BAND !!!\r\n", f.read())
    with open(os.path.join("Plugins", "KOVA-BRAWLCUP.ini"), "rb") as f:
        check("settings", b"[Settings]\r\nStart=1\r\nClaimed=4\r\n", f.read())

    for failure in failures:
        print("FAIL:", failure)
    print(f"{12 - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
