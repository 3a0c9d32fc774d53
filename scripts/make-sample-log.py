#!/usr/bin/env python3
"""Writes the sample contest log examples/kova-sample.adi, and beside the tool's
tests the two texts the plug-in must give for it: the result that stats-replay
prints and the error log err.txt.

The log is a made-up weekend of the KOVA Brawlcup Digital Prefix Contest seen
from station Q1OWN: a few hundred QSOs over 160 to 10 m in every contest mode,
with repeated QSOs (dupes), a QSO on 30 m, a CW QSO and one QSO without a
received serial number, which the contest rules refuse or mark.

The expected texts are worked out here from the contest rules on their own,
not by running the plug-in, so the test that compares them checks the tool and
the plug-in together. Deterministic: the same bytes on every run, no downloads.

    python3 scripts/make-sample-log.py   (from anywhere; paths are the repo's)
"""

import os
from datetime import datetime, timedelta

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LOG_PATH = os.path.join(ROOT, "examples", "kova-sample.adi")
RESULT_PATH = os.path.join(ROOT, "tests", "tools", "data", "kova-sample-result.txt")
ERRLOG_PATH = os.path.join(ROOT, "tests", "tools", "data", "kova-sample-err.txt")

OWN_CALL = "Q1OWN"
CONTEST_START = datetime(2016, 2, 13, 0, 0)
QSO_COUNT = 300


class Lcg:
    """A fixed linear congruential generator, so that the log does not change
    with the Python version's own random module."""

    def __init__(self, start):
        self.state = start

    def next(self):
        self.state = (self.state * 1103515245 + 12345) % 2**31
        return self.state >> 8

    def below(self, n):
        return self.next() % n

    def pick(self, items):
        return items[self.below(len(items))]


# ADIF MODE and SUBMODE as a logging program writes them, the name the host
# passes to the plug-in, the score column, and how often it is worked.
MODES = [
    ("RTTY", "", "RTTY", "RTTY", 30),
    ("PSK", "PSK31", "BPSK31", "BPSK", 18),
    ("PSK", "PSK63", "BPSK63", "BPSK", 8),
    ("PSK", "PSK125", "BPSK125", "BPSK", 5),
    ("HELL", "FMHELL", "HELL", "HELL", 5),
    ("MFSK", "MFSK16", "MFSK", "MFSK", 5),
    ("OLIVIA", "OLIVIA 8/500", "OLIVIA", "MFSK", 5),
    ("MT63", "", "MT63", "MT63", 5),
    ("THRB", "", "THROB", "THROB", 4),
    ("SSTV", "", "SSTV", "SSTV", 5),
]
COLUMNS = ["BPSK", "HELL", "MFSK", "MT63", "RTTY", "THROB", "SSTV"]

# Band, its weight, and the kHz where each kind of mode is worked.
BANDS = [
    ("160m", 1, {"default": 1838, "SSTV": 1838}),
    ("80m", 4, {"default": 3580, "SSTV": 3735}),
    ("40m", 6, {"default": 7040, "SSTV": 7165}),
    ("20m", 8, {"default": 14080, "SSTV": 14230}),
    ("15m", 5, {"default": 21080, "SSTV": 21340}),
    ("10m", 3, {"default": 28080, "SSTV": 28680}),
]

# Prefixes worked, each followed by a suffix of letters, so that the WPX prefix
# of every plain call is the entry itself.
PREFIXES = [
    "DL1", "DL2", "DK3", "DJ5", "OK1", "OK2", "OM3", "S51", "S57", "9A2", "9A5", "YU1", "E73",
    "HA5", "HA8", "SP9", "SP3", "G4", "M0", "2E0", "F5", "F6", "I2", "IK4", "EA3", "EA7",
    "CT1", "ON4", "PA3", "OZ1", "SM5", "OH2", "LY2", "YL2", "ES5", "UR5", "UT7", "UA3",
    "RA9", "LZ1", "YO3", "SV1", "4X4", "K1", "W2", "N8", "VE3", "JA1", "VK2", "ZS6", "PY2",
    "LU1", "3DA0", "UN7", "4L1",
]

# Calls whose prefix needs the portable rules, with the prefix they give.
SPECIAL_CALLS = [
    ("K1ABC/KH6", "KH6"),
    ("DL/PA3XYZ", "DL0"),
    ("W2XYZ/4", "W4"),
    ("OK1KOV/P", "OK1"),
    ("RAEM", "RA0"),
    ("N8BJQ/KH9", "KH9"),
]


def letters(rng, count):
    return "".join(chr(ord("A") + rng.below(26)) for _ in range(count))


def weighted(rng, items, weight):
    total = sum(weight(i) for i in items)
    n = rng.below(total)
    for item in items:
        n -= weight(item)
        if n < 0:
            return item
    return items[-1]


def mhz_text(hertz):
    return "%d.%06d" % (hertz // 1000000, hertz % 1000000)


class Qso:
    def __init__(self, **fields):
        self.__dict__.update(fields)


def make_qsos():
    rng = Lcg(20160213)
    stations = []  # (call, prefix) worked so far, so that some are met again
    qsos = []
    when = CONTEST_START
    for n in range(1, QSO_COUNT + 1):
        when += timedelta(minutes=2 + rng.below(8), seconds=rng.below(60))
        adif_mode, submode, host_mode, column, _ = weighted(rng, MODES, lambda m: m[4])
        band, _, khz = weighted(rng, BANDS, lambda b: b[1])
        if stations and rng.below(4) == 0:
            call, prefix = rng.pick(stations)
        elif rng.below(40) == 0:
            call, prefix = rng.pick(SPECIAL_CALLS)
        else:
            prefix = rng.pick(PREFIXES)
            call = prefix + letters(rng, 2 + rng.below(2))
        stations.append((call, prefix))
        hertz = khz.get(column, khz["default"]) * 1000 + rng.below(3000)
        qsos.append(Qso(call=call, prefix=prefix, when=when, adif_mode=adif_mode,
                        submode=submode, host_mode=host_mode, band=band, freq=mhz_text(hertz),
                        hertz=hertz, stx=str(n), srx=str(1 + rng.below(400)),
                        write_band=rng.below(10) != 0, use_strings=rng.below(12) == 0,
                        write_pfx=rng.below(15) == 0, rst="599" if column != "SSTV" else "595"))

    # The cases the rules refuse or mark, placed among the others: each is a
    # copy of an earlier QSO, logged again a little after QSO `at`.
    def first(test, start):
        return next(i for i in range(start, len(qsos)) if test(qsos[i]))

    def again(index, at, **change):
        q = Qso(**qsos[index].__dict__)
        q.__dict__.update(change)
        q.when = qsos[at].when + timedelta(seconds=30)
        return at, q

    on_20m = first(lambda q: q.band == "20m" and q.host_mode != "SSTV", 20)
    bpsk31 = first(lambda q: q.host_mode == "BPSK31", 60)
    extra = [
        again(10, 40),                              # a dupe
        again(10, 41),                              # the same again: two earlier matches
        again(on_20m, 120, freq="14.08", hertz=14080000, write_band=False),  # dupe, band from FREQ
        again(bpsk31, 201, adif_mode="PSK31", submode=""),  # dupe in a legacy mode name
        again(90, 150, band="30m", freq="10.142000", hertz=10142000),  # WARC band
        again(95, 160, adif_mode="CW", submode="", host_mode="CW", freq="7.025300",
              hertz=7025300, band="40m"),           # CW
        again(99, 170, srx=""),                     # no serial received
        again(140, 260),                            # a dupe
    ]
    for at, q in sorted(extra, key=lambda e: e[0], reverse=True):
        qsos.insert(at + 1, q)
    # Serial numbers sent follow the log order.
    for n, q in enumerate(qsos, start=1):
        q.stx = str(n)
    return qsos


def adif_field(name, value):
    return "<%s:%d>%s" % (name, len(value.encode("ascii")), value)


def write_log(qsos):
    out = ["Sample log of the KOVA Brawlcup Digital Prefix Contest, made by "
           "scripts/make-sample-log.py.\n",
           adif_field("ADIF_VER", "3.1.4") + "\n",
           adif_field("PROGRAMID", "make-sample-log.py") + "\n",
           adif_field("CREATED_TIMESTAMP", "20160215 120000") + "\n",
           "<EOH>\n\n"]
    for q in qsos:
        fields = [adif_field("CALL", q.call),
                  adif_field("QSO_DATE", q.when.strftime("%Y%m%d")),
                  adif_field("TIME_ON", q.when.strftime("%H%M%S"))]
        if q.write_band:
            fields.append(adif_field("BAND", q.band.upper() if q.band == "20m" else q.band))
        fields.append(adif_field("FREQ", q.freq))
        fields.append(adif_field("MODE", q.adif_mode))
        if q.submode:
            fields.append(adif_field("SUBMODE", q.submode))
        fields.append(adif_field("RST_SENT", q.rst))
        fields.append(adif_field("RST_RCVD", q.rst))
        stx, srx = ("STX_STRING", "SRX_STRING") if q.use_strings else ("STX", "SRX")
        fields.append(adif_field(stx, q.stx))
        if q.srx:
            fields.append(adif_field(srx, q.srx))
        if q.write_pfx:
            fields.append(adif_field("PFX", q.prefix))
        fields.append(adif_field("STATION_CALLSIGN", OWN_CALL))
        out.append(" ".join(fields) + " <EOR>\n")
    return "".join(out)


def expected_texts(qsos):
    """The plug-in's result text and error log for the log, from the rules."""
    err = ["KOVA-BRAWLCUP UBN file \r\n"]
    stored = []
    for q in qsos:
        khz = q.hertz // 1000
        line = "QSO:  %d  %s  %s  %s  %s  %s  %s  %s  %s" % (
            khz, q.host_mode, q.when.strftime("%Y-%m-%d %H%M"), OWN_CALL, q.rst, q.stx,
            q.call, q.rst, q.srx)
        if q.band in ("30m", "17m", "12m"):
            err.append(line + "   NO CONTEST BAND !!!\r\n")
            continue
        if q.host_mode in ("CW", "SSB"):
            err.append(line + "   NO CONTEST MODE !!!\r\n")
            continue
        if not q.srx or not q.stx:
            err.append(line + "   NO RX NUMBER !!!\r\n")
            continue
        dupe = False
        for s in stored:
            if (s.call, s.band, s.host_mode) == (q.call, q.band, q.host_mode):
                err.append(line + "   DUPE !!!\r\n")
                dupe = True
        q.dupe = dupe
        stored.append(q)

    column_of = {m[2]: m[3] for m in MODES}
    count = {c: 0 for c in COLUMNS}
    prefixes = {c: set() for c in COLUMNS}
    for q in stored:
        if q.dupe:
            continue
        column = column_of[q.host_mode]
        count[column] += 1
        prefixes[column].add(q.prefix)

    def row(label, values):
        return label + "".join("\t %d" % v for v in values) + "\r\n"

    first_day = min(q.when for q in qsos)
    last_day = max(q.when for q in qsos)
    result = ("\t  KOVA-BRAWLCUP %s-%s %s\r\n\t\t     Contestant: %s\r\n"
              "    \tBPSK\tHELL\tMFSK\tMT63\tRTTY\tTHROB\tSSTV\r\n" % (
                  first_day.strftime("%d.%m"), last_day.strftime("%d.%m.%Y"), "", OWN_CALL))
    result += row("QSO:", [count[c] for c in COLUMNS])
    result += row("PFX:", [len(prefixes[c]) for c in COLUMNS])
    result += row("Score:", [count[c] * len(prefixes[c]) for c in COLUMNS])
    result += "\r\nCreated by Q9ZZ 2016\r\n"
    return result, "".join(err)


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(text.encode("ascii"))


def main():
    qsos = make_qsos()
    write(LOG_PATH, write_log(qsos))
    result, err = expected_texts(qsos)
    write(RESULT_PATH, result)
    write(ERRLOG_PATH, err)
    print("%s: %d QSOs" % (os.path.relpath(LOG_PATH, ROOT), len(qsos)))


if __name__ == "__main__":
    main()
