#!/usr/bin/env python3
"""Simulates a KOVA Brawlcup Digital Prefix Contest and writes what the sponsor
receives from it, for the log checker stats-check and its tests.

N stations work each other for two days on the six bands in every mode group.
Each station that sends its log gets a folder with its per-mode logs (Cabrillo
QSO lines as the plug-in's report run writes them) and, mostly, its summary
sheet. Faults are injected at set rates: halves of QSOs missing (NIL), calls
and serial numbers miscopied, station clocks off by less and by more than the
time window, repeated QSOs (dupes), stations that send no log, calls worked by
one station only, and lines that cannot be read.

Beside the logs it writes its ground truth: the verdict the contest's checking
rules give every QSO line written, and every station's claimed and checked
score. The truth follows from what was simulated, not from running the rules:
calls are chosen so that no call lies one edit from another except where a call
was miscopied on purpose, a pair of stations works each band and mode group
once (a dupe repeats it hours later), so nothing matches by coincidence.

    python3 scripts/make-contest.py --out DIR [--stations N] [--qsos Q]
                                    [--random N] [--window MINUTES] [--clean]

    DIR/logs/<CALL>/   one folder per station that sends its log
    DIR/truth.tsv      OWNCALL, FILE, LINE, VERDICT for every QSO line written
    DIR/scores.tsv     per station: claimed and checked QSOs and score, with
                       unique calls kept and removed, and the checked score per
                       mode group

The same --random value gives the same contest. Standard library only.
"""

import argparse
import os
import random
import re
from datetime import datetime, timedelta


def report_formats():
    """The QSO line, the sheet's labels and the score table's rows, read from
    the one header that the plug-in's writer and stats-check's reader share."""
    header = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "contest",
                          "report_formats.h")
    with open(header) as f:
        found = dict(re.findall(r'inline constexpr (?:char|std::string_view) (k\w+)(?:\[\])? = "([^"]*)";',
                                f.read()))
    return found


FORMATS = report_formats()
CONTEST_START = datetime(2016, 2, 13, 0, 0)
CONTEST_MINUTES = 48 * 60
SHEET_WRITTEN = datetime(2016, 2, 15)

# Score column, per-mode log, (host mode name, Cabrillo code) pairs, weight.
GROUPS = [
    ("BPSK", "PSK .log", [("BPSK31", "PS"), ("BPSK63", "PS"), ("BPSK125", "PS")], 25),
    ("HELL", "HELL .log", [("HELL", "HE")], 6),
    ("MFSK", "MFSK .log", [("MFSK", "MF"), ("OLIVIA", "OL")], 10),
    ("MT63", "MT63 .log", [("MT63", "MT")], 6),
    ("RTTY", "RTTY.log", [("RTTY", "RY")], 40),
    ("THROB", "THROB.log", [("THROB", "TH")], 5),
    ("SSTV", "SSTV.log", [("SSTV", "TV")], 8),
]
# Band, the digital segment in kHz, weight.
BANDS = [
    ("160m", 1838, 1842, 5),
    ("80m", 3580, 3600, 15),
    ("40m", 7035, 7045, 20),
    ("20m", 14070, 14099, 30),
    ("15m", 21070, 21099, 18),
    ("10m", 28070, 28150, 12),
]
LETTER_PREFIXES = ("G K W N F I M R DL EA PA ON OK SP HA YO LZ UA JA VK ZL PY LU VE OH SM LA OZ "
                   "ES YL LY EI GM GW CT HB OE YU ZS KH VU BV HL").split()
LETTERS = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"

# Fault rates; --clean sets them all to 0.
FAULTS = {
    "no_log": 0.08,      # stations that send no log
    "no_sheet": 0.06,    # of those that do: no summary sheet
    "one_off": 0.015,    # QSOs with a call nobody else works
    "nil": 0.03,         # QSOs one side did not log
    "bust_call": 0.02,   # QSOs one side logged with the other's call miscopied
    "bust_exch": 0.02,   # QSOs one side logged with a wrong serial received
    "dupe": 0.01,        # QSOs worked again later on the same band and mode
    "garbage": 0.04,     # log files with a line that cannot be read
    "clock": 0.15,       # stations whose clock is off, some near or beyond the window
}
PORTABLE = 0.04      # stations signing /P
PADDED = 0.4         # stations printing serials with three digits


def variants(call):
    """The call and its forms with one character dropped: calls one edit
    apart always share one."""
    return {call} | {call[:i] + call[i + 1:] for i in range(len(call))}


def base_prefix(call):
    if not call:
        return ""
    i = 1
    while i < len(call) and not call[i].isdigit():
        i += 1
    if i == len(call):
        return call[:2] + "0"
    j = i
    while j < len(call) and call[j].isdigit():
        j += 1
    return call[:j]


def wpx_prefix(call):
    """The WPX prefix, by the rules the host (and stats-check) use."""
    parts = [p for p in call.upper().split("/")
             if p and p not in ("P", "M", "MM", "AM", "QRP", "A", "E", "J")]
    if not parts:
        return ""
    if len(parts) == 1:
        return base_prefix(parts[0])
    home = 0
    for i in range(1, len(parts)):
        if len(parts[i]) >= len(parts[home]):
            home = i
    designator = parts[1 if home == 0 else 0]
    if designator.isdigit():
        prefix = base_prefix(parts[home])
        end = len(prefix)
        while end > 1 and prefix[end - 1].isdigit():
            end -= 1
        return prefix[:end] + designator
    if any(c.isdigit() for c in designator):
        return base_prefix(designator)
    return designator + "0"


class Calls:
    """Every call of the contest, none one edit from another unless it is a
    miscopy of that one on purpose."""

    def __init__(self, rng):
        self.rng = rng
        self.owner = {}

    def _free(self, call, allowed):
        return all(self.owner.get(v, allowed) == allowed for v in variants(call))

    def _take(self, call, owner):
        for v in variants(call):
            self.owner.setdefault(v, owner)

    def new(self, portable=False):
        rng = self.rng
        while True:
            call = (rng.choice(LETTER_PREFIXES) + str(rng.randrange(10)) +
                    "".join(rng.choice(LETTERS) for _ in range(rng.choice((1, 2, 2, 3, 3, 3)))))
            if portable:
                call += "/P"
            if self._free(call, None):
                self._take(call, call)
                return call

    def miscopy(self, call):
        """A call one edit from `call` that no one else has, or None."""
        rng = self.rng
        base, slash, suffix = call.partition("/")
        for _ in range(20):
            kind = rng.random()
            i = rng.randrange(len(base))
            if kind < 0.5:
                pool = "0123456789" if base[i].isdigit() else LETTERS
                wrong = base[:i] + rng.choice(pool.replace(base[i], "")) + base[i + 1:]
            elif kind < 0.65:
                wrong = base[:i] + base[i + 1:]
            elif kind < 0.8:
                wrong = base[:i] + rng.choice(LETTERS) + base[i:]
            else:
                if i + 1 >= len(base) or base[i] == base[i + 1]:
                    continue
                wrong = base[:i] + base[i + 1] + base[i] + base[i + 2:]
            wrong += slash + suffix
            if wrong != call and self._free(wrong, call):
                self._take(wrong, call)
                return wrong
        return None


class Event:
    """One QSO between station a and station b (-1: a call nobody else works,
    `other`), as each side logged it."""
    __slots__ = ("a", "b", "band", "g", "mode", "t", "logs", "call", "exch_ok", "exch_delta",
                 "other", "sent", "repeat")

    def __init__(self, a, b, band, g, mode, t):
        self.a, self.b, self.band, self.g, self.mode, self.t = a, b, band, g, mode, t
        self.logs = [True, True]  # whether each side logged it
        self.call = [None, None]  # the call each side logged, when miscopied
        self.exch_ok = [True, True]
        self.exch_delta = [1, 1]
        self.other = None
        self.sent = [None, None]
        self.repeat = False


class Line:
    """One QSO line of a log that is sent, and the verdict it must get."""
    __slots__ = ("k", "side", "group", "call", "right", "you", "minute", "sent", "rcvd",
                 "repeat", "verdict")

    def __init__(self, k, side, group, call, right, you, minute, sent, rcvd, repeat):
        self.k, self.side, self.group, self.call, self.right = k, side, group, call, right
        self.you, self.minute, self.sent, self.rcvd, self.repeat = you, minute, sent, rcvd, repeat
        self.verdict = None


def weighted(rng, items):
    total = sum(item[-1] for item in items)
    x = rng.uniform(0, total)
    for item in items:
        x -= item[-1]
        if x <= 0:
            return item
    return items[-1]


def serial_text(number, padded):
    return "%03d" % number if padded else "%d" % number


def wrong_serial(number, delta):
    """A serial received wrong: off by `delta`, never zero or below."""
    return number + delta if number + delta > 0 else number + abs(delta)


CLUBS = ("Kova Contest Club", "Brawlers", "Nordic DX Group", "Prefix Hunters", "Radio Club 73",
         "Digital Night Owls")


def entrant(call):
    """The power category and club a station's operator states on its sheet:
    drawn from the call alone, so the contest's other draws stay as they are."""
    rng = random.Random(call)
    power = weighted(rng, (("HIGH", 5), ("LOW", 4), ("QRP", 2), ("", 1)))[0]
    club = rng.choice(CLUBS) if rng.random() < 0.4 else ""
    return power, club


def sheet_text(call, table):
    """The summary sheet as the plug-in's report run writes it (text mode):
    the power category only when stated, the club only when the operator
    belongs to one."""
    rule = "_" * 59
    power, club = entrant(call)
    rows = [FORMATS[label] + "\t " + "\t ".join(str(n) for n in numbers)
            for label, numbers in zip(("kScoreRowQsos", "kScoreRowPrefixes", "kScoreRowScores"),
                                      table)]
    lines = [
        "\t\tKOVA Brawlcup Digital Prefix Contest 2016",
        "\t\t\tSUMMARY SHEET",
        "",
        "\t" + FORMATS["kSheetDatesLabel"] + " 13-Feb-2016 - 14-Feb-2016",
        "\t" + FORMATS["kSheetCallLabel"] + " " + call,
        "\tOperators(s)  : " + call,
        "",
        "         Name(s) : ",
    ] + (["         " + FORMATS["kSheetPowerLabel"] + " " + power] if power else []) + (
        ["       " + FORMATS["kSheetClubLabel"] + " " + club, ""] if club else []) + [
        "",
        "\tBPSK\tHELL\tMFSK\tMT63\tRTTY\tTHROB\tSSTV   ",
        rule,
    ] + rows + [
        rule,
        "",
        "I have observed all competition rules as well as all regulations",
        "established for amateur radio in my country. My report is correct",
        "and true to the best of my knowledge. I agree to be bound by the",
        "decisions of the Awards Committee.",
        "",
        "",
        "  ",
        "  " + SHEET_WRITTEN.strftime("%d-%b-%Y"),
    ]
    return "\r\n".join(lines) + "\r\n"


def score_table(lines, kept):
    """QSOs, prefixes and scores per mode group, as the plug-in counts the
    lines for which kept(line) holds."""
    qsos = [0] * len(GROUPS)
    prefixes = [set() for _ in GROUPS]
    for line in lines:
        if kept(line):
            qsos[line.group] += 1
            prefixes[line.group].add(wpx_prefix(line.call))
    pfx = [len(p) for p in prefixes]
    return [qsos, pfx, [q * p for q, p in zip(qsos, pfx)]]


def garbage_line(rng, own):
    kinds = [
        "this line is not a QSO line",
        "QSO: 14080 RY 2016-02-13",
        "QSO: 10140 RY 2016-02-13 1200 %s 001 Q9XX 002" % own,
        "QSO: 14080 XX 2016-02-13 1200 %s 001 Q9XX 002" % own,
        "QSO: 14080 RY 2016-02-30 1200 %s 001 Q9XX 002" % own,
        "QSO: 14080 RY 2016-02-13 2475 %s 001 Q9XX 002" % own,
        "QSO: 14O80 RY 2016-02-13 1200 %s 001 Q9XX 002" % own,
    ]
    return rng.choice(kinds)


def simulate(args, faults):
    rng = random.Random(args.random)
    window = args.window
    calls = Calls(rng)
    n = args.stations
    station_calls = [calls.new(rng.random() < PORTABLE) for _ in range(n)]
    sends = [rng.random() >= faults["no_log"] for _ in range(n)]
    sends[0] = True  # at least one log
    padded = [rng.random() < PADDED for _ in range(n)]
    big = window + 40
    offsets = []
    for _ in range(n):
        x = rng.random()
        if x >= faults["clock"]:
            offsets.append(0)
        elif x < faults["clock"] * 0.75:
            # Two such clocks are at most the window apart, often just so.
            offsets.append(rng.randint(-(window // 2), window // 2))
        elif x < faults["clock"] * 0.9:
            # Around the window's edge against a right clock.
            offsets.append(rng.choice((-1, 1)) * rng.randint(max(1, window - 2), window + 3))
        else:
            offsets.append(rng.choice((-1, 1)) * rng.randint(window // 2 + 1, big))
    # A repeat lies far enough from the first QSO that no clock error brings
    # either half of one near a half of the other.
    repeat_gap = (2 * big + window + 10, 2 * big + window + 200)

    # Each station wants about Q QSOs; slots are paired at random.
    slots = []
    for s in range(n):
        slots += [s] * max(1, round(args.qsos * rng.uniform(0.6, 1.4)))
    rng.shuffle(slots)
    used = set()
    events = []
    for k in range(0, len(slots) - 1, 2):
        a, b = slots[k], slots[k + 1]
        if a == b:
            continue
        if rng.random() < faults["one_off"]:
            b = -1
        for _ in range(30):
            band = weighted(rng, BANDS)
            g = GROUPS.index(weighted(rng, GROUPS))
            key = (min(a, b), max(a, b), band[0], g) if b >= 0 else None
            if key is None or key not in used:
                break
        else:
            continue  # the pair has worked every band and mode group
        if key is not None:
            used.add(key)
        events.append(Event(a, b, band, g, rng.choice(GROUPS[g][2]), rng.randrange(CONTEST_MINUTES)))

    # Faults, and repeats.
    repeats = []
    for e in events:
        e.exch_delta = [rng.choice((-10, -2, -1, 1, 2, 10, 100)) for _ in range(2)]
        if e.b < 0:
            e.other = calls.new()
            e.logs[1] = False
            continue
        if rng.random() < faults["nil"]:
            e.logs[rng.randrange(2)] = False
        if rng.random() < faults["bust_call"]:
            side = rng.randrange(2)
            worked = station_calls[e.b if side == 0 else e.a]
            e.call[side] = calls.miscopy(worked)
        if rng.random() < faults["bust_exch"]:
            e.exch_ok[rng.randrange(2)] = False
        repeat_at = e.t + rng.randint(*repeat_gap)
        if rng.random() < faults["dupe"] and e.call == [None, None] and repeat_at < CONTEST_MINUTES:
            logs = [e.logs[0] and (rng.random() < 0.7), e.logs[1] and (rng.random() < 0.7)]
            if any(logs):
                repeat = Event(e.a, e.b, e.band, e.g, e.mode, repeat_at)
                repeat.logs = logs
                repeat.repeat = True
                repeats.append(repeat)
    events += repeats

    # Serial numbers: each station counts its QSOs in time order.
    by_station = [[] for _ in range(n)]
    for k, e in enumerate(events):
        by_station[e.a].append((e.t, k, 0))
        if e.b >= 0:
            by_station[e.b].append((e.t, k, 1))
    for s in range(n):
        by_station[s].sort()
        for number, (_, k, side) in enumerate(by_station[s], 1):
            events[k].sent[side] = number
    for e in events:
        if e.b < 0:
            e.sent[1] = rng.randrange(1, 400)
    return rng, station_calls, sends, padded, offsets, events


def contest_lines(station_calls, sends, padded, offsets, events, window):
    """Every QSO line of the logs that are sent, with its verdict."""
    lines = [[] for _ in station_calls]
    for k, e in enumerate(events):
        for side in (0, 1):
            me = e.a if side == 0 else e.b
            if me < 0 or not sends[me] or not e.logs[side]:
                continue
            you = e.b if side == 0 else e.a
            right = station_calls[you] if you >= 0 else e.other
            logged = e.call[side] or right
            rcvd = e.sent[1 - side]
            if not e.exch_ok[side]:
                rcvd = wrong_serial(rcvd, e.exch_delta[side])
            lines[me].append(Line(k, side, e.g, logged, logged == right, you, e.t + offsets[me],
                                  serial_text(e.sent[side], padded[me]),
                                  serial_text(rcvd, padded[me]), e.repeat))

    # Which stations' logs hold each call.
    loggers = {}
    for s, own in enumerate(lines):
        for line in own:
            loggers.setdefault(line.call, set()).add(s)

    for s, own in enumerate(lines):
        for line in own:
            e = events[line.k]
            you = line.you
            other_side = 1 - line.side
            other_has = (you >= 0 and sends[you] and e.logs[other_side] and
                         abs(offsets[s] - offsets[you]) <= window)
            if line.repeat:
                verdict = "DUPE"
            elif line.right and you >= 0 and sends[you]:
                verdict = "NIL"
                if other_has:
                    verdict = "OK" if e.exch_ok[line.side] else "BUSTED-EXCH"
            elif not line.right and other_has and e.call[other_side] is None:
                verdict = "BUSTED-CALL"
            else:
                verdict = "UNCHECKED" if len(loggers[line.call]) > 1 else "UNIQUE"
            line.verdict = verdict
    return lines


def file_word(call):
    return call.replace("/", "_").replace("\\", "_")


def write_contest(args, faults, rng, station_calls, sends, padded, offsets, events, lines):
    logs_dir = os.path.join(args.out, "logs")
    os.makedirs(logs_dir, exist_ok=True)
    truth = ["OWNCALL\tFILE\tLINE\tVERDICT\n"]
    scores = ["CALL\tSHEET\tCLAIMED_QSOS\tCLAIMED_SCORE\tCHECKED_QSOS\tCHECKED_SCORE\t"
              "CHECKED_QSOS_NO_UNIQUES\tCHECKED_SCORE_NO_UNIQUES\t" +
              "\t".join("SCORE_" + g[0] for g in GROUPS) + "\n"]
    for s, own in enumerate(lines):
        if not sends[s]:
            continue
        call = station_calls[s]
        folder = os.path.join(logs_dir, file_word(call))
        os.makedirs(folder, exist_ok=True)
        own.sort(key=lambda line: (line.minute, line.k))
        for g, group in enumerate(GROUPS):
            group_lines = [line for line in own if line.group == g]
            if not group_lines:
                continue
            text = []
            garbage_at = rng.randrange(len(group_lines)) if rng.random() < faults["garbage"] else -1
            for number, line in enumerate(group_lines):
                e = events[line.k]
                band = e.band
                khz = band[1] + (e.t * 7 + line.side) % (band[2] - band[1] + 1)
                when = CONTEST_START + timedelta(minutes=line.minute)
                if number == garbage_at:
                    text.append((garbage_line(rng, call), None))
                text.append((FORMATS["kQsoLineFormat"] % (
                    khz, e.mode[1], when.strftime(FORMATS["kQsoLineTimeFormat"]), call, line.sent,
                    line.call, line.rcvd), line))
            with open(os.path.join(folder, group[1]), "w", newline="") as f:
                for number, (content, line) in enumerate(text, 1):
                    f.write(content + "\r\n")
                    if line is not None:
                        truth.append("%s\t%s\t%d\t%s\n" % (call, group[1], number,
                                                           line.verdict))
        claimed = score_table(own, lambda line: not line.repeat)
        checked = score_table(own, lambda line: line.verdict in ("OK", "UNCHECKED", "UNIQUE"))
        strict = score_table(own, lambda line: line.verdict in ("OK", "UNCHECKED"))
        sheet = rng.random() >= faults["no_sheet"]
        if sheet:
            with open(os.path.join(folder, file_word(call) + ".sum"), "w", newline="") as f:
                f.write(sheet_text(call, claimed))
        scores.append("\t".join([call, "1" if sheet else "0", str(sum(claimed[0])),
                                 str(sum(claimed[2])), str(sum(checked[0])), str(sum(checked[2])),
                                 str(sum(strict[0])), str(sum(strict[2]))] +
                                [str(x) for x in checked[2]]) + "\n")
    with open(os.path.join(args.out, "truth.tsv"), "w") as f:
        f.writelines(truth)
    with open(os.path.join(args.out, "scores.tsv"), "w") as f:
        f.writelines(scores)
    return len(truth) - 1


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--out", required=True, help="folder to write the contest into")
    parser.add_argument("--stations", type=int, default=50, help="stations taking part")
    parser.add_argument("--qsos", type=int, default=200, help="QSOs a station makes, about")
    parser.add_argument("--random", type=int, default=1, help="starting value of the generator")
    parser.add_argument("--window", type=int, default=10,
                        help="the checker's time window in minutes, for the truth")
    parser.add_argument("--clean", action="store_true",
                        help="no faults at all: every line is OK and every claimed score holds")
    args = parser.parse_args()
    if args.stations < 2:
        parser.error("--stations must be at least 2")
    faults = {k: 0.0 for k in FAULTS} if args.clean else FAULTS
    rng, station_calls, sends, padded, offsets, events = simulate(args, faults)
    lines = contest_lines(station_calls, sends, padded, offsets, events, args.window)
    written = write_contest(args, faults, rng, station_calls, sends, padded, offsets, events, lines)
    print("%s: %d stations (%d send logs), %d QSO lines" % (
        args.out, len(station_calls), sum(sends), written))


if __name__ == "__main__":
    main()
