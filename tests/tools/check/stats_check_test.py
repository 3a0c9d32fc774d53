#!/usr/bin/env python3
"""stats-check as a whole, on small contests made by scripts/make-contest.py:
every verdict against the contest's ground truth, every station's claimed and
checked score against the scores the generator worked out (so the plug-in's
scoring is checked too), a contest without faults where every checked score
equals the claimed one, and bad submissions that must be named and left out
while the run goes on.

    stats_check_test.py STATS_CHECK MAKE_CONTEST WORK_DIR
"""

import collections
import csv
import os
import shutil
import signal
import subprocess
import sys
import time

CHECK, GENERATOR, WORK = sys.argv[1:4]
failures = []


def expect(condition, message):
    if not condition:
        failures.append(message)


def generate(name, *args):
    out = os.path.join(WORK, name)
    subprocess.run([sys.executable, GENERATOR, "--out", out] + list(args), check=True,
                   stdout=subprocess.DEVNULL)
    logs = os.path.join(out, "logs")
    return out, sorted(os.path.join(logs, d) for d in os.listdir(logs))


def check(out_name, folders, *options):
    out = os.path.join(WORK, out_name)
    run = subprocess.run([CHECK, "--out", out] + list(options) + folders, capture_output=True,
                         text=True)
    expect(run.returncode == 0, "%s: exit code %d\n%s" % (out_name, run.returncode, run.stderr))
    return out, run.stderr


def read_tsv(path):
    with open(path, newline="") as f:
        return list(csv.DictReader(f, delimiter="\t"))


def verdicts(out):
    got = {}
    with open(os.path.join(out, "verdicts.tsv")) as f:
        for line in f:
            call, path, number, verdict, detail = line.rstrip("\n").split("\t")
            got[(call, os.path.basename(path), int(number))] = verdict
    return got


def results(out):
    with open(os.path.join(out, "results.csv"), newline="") as f:
        return {row["call"]: row for row in csv.DictReader(f)}


def compare_verdicts(contest, out):
    truth = {(r["OWNCALL"], r["FILE"], int(r["LINE"])): r["VERDICT"]
             for r in read_tsv(os.path.join(contest, "truth.tsv"))}
    got = verdicts(out)
    agree = collections.Counter()
    total = collections.Counter()
    for key, verdict in truth.items():
        total[verdict] += 1
        if got.get(key) == verdict:
            agree[verdict] += 1
        else:
            expect(False, "%s line %d of %s: %s, truth %s" % (key[1], key[2], key[0],
                                                               got.get(key), verdict))
    expect(set(got) == set(truth), "verdicts.tsv holds %d lines the truth does not" %
           len(set(got) - set(truth)))
    print("verdicts: " + ", ".join("%s %d/%d" % (v, agree[v], total[v]) for v in sorted(total)))
    expect(all(total[v] > 0 for v in ("OK", "NIL", "BUSTED-CALL", "BUSTED-EXCH", "UNIQUE",
                                      "UNCHECKED", "DUPE")),
           "the contest lacks a verdict class: %s" % dict(total))
    return truth


def compare_scores(contest, out, checked_qsos, checked_score):
    ranked = results(out)
    for row in read_tsv(os.path.join(contest, "scores.tsv")):
        got = ranked.get(row["CALL"])
        if got is None:
            expect(False, "%s is missing from results.csv" % row["CALL"])
            continue
        expect(got["claimed_from"] == ("sheet" if row["SHEET"] == "1" else "logs"),
               "%s: claimed from %s" % (row["CALL"], got["claimed_from"]))
        for mine, theirs in (("CLAIMED_QSOS", "claimed_qsos"), ("CLAIMED_SCORE", "claimed_score"),
                             (checked_qsos, "checked_qsos"), (checked_score, "checked_score")):
            expect(row[mine] == got[theirs],
                   "%s: %s %s, expected %s" % (row["CALL"], theirs, got[theirs], row[mine]))
    return ranked


def unread_lines(out, call):
    """The lines a station's UBN list names as not read."""
    text = open(os.path.join(out, call.replace("/", "_") + ".ubn.txt")).read()
    return text.split("\nLines not read\n")[1].count("\n") if "\nLines not read\n" in text else 0


def test_generated_contest():
    contest, folders = generate("contest", "--stations", "24", "--qsos", "120", "--random", "15")
    out, stderr = check("results", folders)
    truth = compare_verdicts(contest, out)
    compare_scores(contest, out, "CHECKED_QSOS", "CHECKED_SCORE")
    expect("\r" not in stderr, "a progress line went to a stderr that is not a terminal")

    # Every line of every log has a verdict or is named as not read.
    for folder in folders:
        lines = 0
        for name in os.listdir(folder):
            if name.endswith(".log"):
                with open(os.path.join(folder, name), newline="") as f:
                    lines += f.read().count("\r\n")
        judged = [k for k in truth if os.path.basename(folder) == k[0].replace("/", "_")]
        call = judged[0][0]
        expect(lines == len(judged) + unread_lines(out, call),
               "%s: %d lines, %d verdicts, %d not read" % (call, lines, len(judged),
                                                           unread_lines(out, call)))
    expect("not read" in stderr, "no line was reported as not read:\n" + stderr)

    page = open(os.path.join(out, "index.html")).read()
    for outside in ("<script", "src=", "href=\"http", "url(", "@import", "<link"):
        expect(outside not in page, "index.html reaches outside: " + outside)
    for call in results(out):
        word = call.replace("/", "_")
        expect('<a href="stations/%s.html">%s</a>' % (word, call) in page,
               "index.html has no link to %s's page" % call)
        station = open(os.path.join(out, "stations", word + ".html")).read()
        expect('<a href="../%s.ubn.txt">' % word in station, "%s's page lacks its list" % call)
    expect("<title>QSO lines of all logs per hour</title>" in page, "index.html lacks its chart")

    # Sent privately: the reports leave the public folder for one beside it.
    out, _ = check("results-private", folders, "--private-ubn")
    public = os.listdir(out)
    private = os.listdir(out + "-private")
    expect("stations" not in public and not any(n.endswith(".ubn.txt") for n in public),
           "--private-ubn published %s" % public)
    expect("stations" in private and sum(n.endswith(".ubn.txt") for n in private) ==
           len(results(out)), "--private-ubn wrote %s" % private)
    expect("stations/" not in open(os.path.join(out, "index.html")).read(),
           "the page links to pages that are not published")

    # The contest holds QSOs at the window's edge: a minute less changes them.
    out, _ = check("results-window-9", folders, "--window", "9")
    changed = sum(1 for key, verdict in verdicts(out).items() if truth[key] != verdict)
    expect(changed > 0, "no verdict depends on the window's last minute")

    out, _ = check("results-no-uniques", folders, "--remove-uniques")
    compare_scores(contest, out, "CHECKED_QSOS_NO_UNIQUES", "CHECKED_SCORE_NO_UNIQUES")


def test_contest_without_faults():
    contest, folders = generate("clean", "--stations", "12", "--qsos", "80", "--random", "4",
                                "--clean")
    out, _ = check("clean-results", folders)
    found = set(verdicts(out).values())
    expect(found == {"OK"}, "a contest without faults has verdicts %s" % found)
    for call, row in results(out).items():
        expect(row["claimed_from"] == "sheet" and row["checked_score"] == row["claimed_score"] and
               row["checked_qsos"] == row["claimed_qsos"],
               "%s: checked %s/%s, claimed %s/%s" % (call, row["checked_qsos"],
                                                     row["checked_score"], row["claimed_qsos"],
                                                     row["claimed_score"]))


def test_bad_submissions():
    contest, folders = generate("bad", "--stations", "6", "--qsos", "40", "--random", "2")
    bad = os.path.join(WORK, "bad-extra")
    shutil.rmtree(bad, ignore_errors=True)
    empty = os.path.join(bad, "empty")
    os.makedirs(empty)
    copy = os.path.join(bad, "copy")
    shutil.copytree(folders[0], copy)
    mixed = os.path.join(bad, "mixed")
    os.makedirs(mixed)
    with open(os.path.join(mixed, "RTTY.log"), "w", newline="") as f:
        f.write("QSO: 14080 RY 2016-02-13 0930 Q7AA 001 Q8BB 002\r\n"
                "QSO: 14080 RY 2016-02-13 0931 Q7AB 001 Q8BB 002\r\n")
    unreadable = os.path.join(bad, "unreadable")
    os.makedirs(os.path.join(unreadable, "RTTY.log"))
    missing = os.path.join(bad, "missing")
    out, stderr = check("bad-results", folders + [empty, copy, mixed, unreadable, missing])
    duplicated = os.path.basename(folders[0]).replace("_", "/")
    for message in (empty + ": holds none of the per-mode logs; not used",
                    mixed + ": its lines name more than one own call (Q7AA in RTTY.log; Q7AB in "
                            "RTTY.log); not used",
                    "cannot read " + os.path.join(unreadable, "RTTY.log") + ": it is a folder",
                    missing + " is not a folder",
                    "%s: also holds %s's logs; %s, named later, is used; not used" % (
                        folders[0], duplicated, copy)):
        expect(message in stderr, "no message: %s\nin:\n%s" % (message, stderr))
    # The resubmission replaces the first folder: the station is still ranked.
    ranked = results(out)
    expect(duplicated in ranked and len(ranked) == len(folders), "results list %s" % sorted(ranked))
    not_used = open(os.path.join(out, "not-used.txt")).read()
    expect(mixed + ": its lines name" in not_used and folders[0] + ": also holds" in not_used,
           "not-used.txt:\n" + not_used)


def listing(folder):
    """Every file of a published folder with its bytes."""
    found = {}
    for root, _, files in os.walk(folder, followlinks=True):
        for name in files:
            path = os.path.join(root, name)
            with open(path, "rb") as f:
                found[os.path.relpath(path, folder)] = f.read()
    return found


def test_hostile_submissions():
    contest, folders = generate("hostile", "--stations", "10", "--qsos", "60", "--random", "3")
    extra = os.path.join(WORK, "hostile-extra")
    shutil.rmtree(extra, ignore_errors=True)
    os.makedirs(extra)
    out, _ = check("hostile-results", folders)
    before = listing(out)

    # Nothing usable: exit 1, and the published results stay as they were.
    run = subprocess.run([CHECK, "--out", out, os.path.join(extra, "logz", "*")],
                         capture_output=True, text=True)
    expect(run.returncode == 1 and "holds a usable submission" in run.stderr,
           "a wrong path: exit %d\n%s" % (run.returncode, run.stderr))
    expect(listing(out) == before, "a run without submissions changed the results")
    # A run that fails late (no plug-in) leaves them too.
    run = subprocess.run([CHECK, "--out", out, "--plugin", os.path.join(extra, "none.so")] +
                         folders, capture_output=True, text=True)
    expect(run.returncode == 1 and listing(out) == before,
           "a failed run: exit %d, results changed: %s" % (run.returncode,
                                                           listing(out) != before))
    # The plug-in's working folder of a run that was killed goes with the next run.
    temp = os.path.join(extra, "temp")
    stale = os.path.join(temp, "stats-check-999999999-1")
    os.makedirs(os.path.join(stale, "Stats"))
    run = subprocess.run([CHECK, "--out", os.path.join(extra, "out-temp")] + folders,
                         capture_output=True, text=True, env=dict(os.environ, TMPDIR=temp))
    expect(run.returncode == 0 and os.listdir(temp) == [],
           "a killed run's working folder stays: %s" % os.listdir(temp))
    # Killed in the middle: readers still see the whole last set.
    for delay in (0.05, 0.2):
        proc = subprocess.Popen([CHECK, "--out", out] + folders, stderr=subprocess.DEVNULL)
        time.sleep(delay)
        proc.send_signal(signal.SIGKILL)
        proc.wait()
        expect(listing(out) == before, "a killed run changed the results")

    # A forged folder for a station that sent its log, named first: the
    # station's own folder, named later, counts.
    victim = os.path.basename(folders[1]).replace("_", "/")
    forged = os.path.join(extra, victim.lower().replace("/", "_"))
    os.makedirs(forged)
    with open(os.path.join(forged, "RTTY.log"), "w", newline="") as f:
        f.write("QSO: 14080 RY 2016-02-13 1200 %s 1 XX1XX 1\r\n" % victim.lower())
    # Every call that one file word would name: one file each.
    clash = []
    for n, call in enumerate(("Q1AA/P", "Q1AA_P", "Q1AA:P", "Q1AA\\P")):
        folder = os.path.join(extra, "clash%d" % n)
        os.makedirs(folder)
        with open(os.path.join(folder, "RTTY.log"), "w", newline="") as f:
            f.write("QSO: 14080 RY 2016-02-13 1200 %s 1 Q9ZZ 1\r\n" % call)
        clash.append(folder)
    # A station with a byte-order mark, a lone CR, escape sequences, a
    # neighbour's far date, a formula for a call, absurd claims and junk.
    odd = os.path.join(extra, "odd\tname")
    os.makedirs(odd)
    with open(os.path.join(odd, "RTTY.log"), "wb") as f:
        f.write(b"\xef\xbb\xbfQSO: 14080 RY 2016-02-13 1200 =Q5EV 1 Q9ZZ 1\r"
                b"QSO: 14080 RY 9999-12-31 2359 =Q5EV 2 Q9ZY 1\r\n"
                b"QSO: 14080 RY 2016-02-13 1201 =Q5EV 3 \x1b[31mQ9\r\n"
                b"QSO: 14080 RY 2016-02-13 1202 =Q5EV 4 Q9ZX \xff\xfe\r\n")
    with open(os.path.join(odd, "=Q5EV.sum"), "w", newline="") as f:
        f.write("\tCallsign Used : =Q5EV\r\nQSO\t -35\t 0\t 0\t 0\t 0\t 0\t 0\r\n"
                "PFX\t 1\t 0\t 0\t 0\t 0\t 0\t 0\r\nScore\t -700\t 0\t 0\t 0\t 0\t 0\t 0\r\n")
    for n in range(3000):
        open(os.path.join(odd, "junk%04d.txt" % n), "w").close()
    out, stderr = check("hostile-results", [forged] + folders + clash + [odd])
    ranked = results(out)
    expect(victim in ranked, "the forged folder knocked %s out" % victim)
    expect("\x1b" not in stderr and "\t" not in stderr, "control characters reached the terminal")
    expect(stderr.count("junk") <= 12, "%d lines about junk files" % stderr.count("junk"))
    expect(forged + ": also holds %s's logs" % victim in stderr, "the forged folder is not named")
    ubn = [n for n in os.listdir(out) if n.endswith(".ubn.txt")]
    expect(len(ubn) == len(ranked), "%d UBN lists for %d stations" % (len(ubn), len(ranked)))
    expect("Q1AA_P.ubn.txt" in ubn, "the ordinary call lost its readable name")
    expect(ranked.get("'=Q5EV", {}).get("claimed_from") == "invalid",
           "absurd claims: %s" % ranked.get("'=Q5EV"))
    csv_text = open(os.path.join(out, "results.csv")).read()
    expect(",'=Q5EV," in csv_text, "a formula reaches results.csv")
    odd_report = [n for n in ubn if n.startswith("_Q5EV~")]
    expect(len(odd_report) == 1, "the odd station's report: %s" % odd_report)
    if odd_report:
        text = open(os.path.join(out, odd_report[0]), "rb").read()
        expect(b"\x1b" not in text and b"lies outside the years 1900 to 2099" in text and
               b"and 2980 more" not in text and text.count(b"junk") == 3000,
               "the odd station's report:\n%s" % text[:2000])
    with open(os.path.join(out, "verdicts.tsv"), "rb") as f:
        rows = f.read().split(b"\n")[:-1]
    expect(all(row.count(b"\t") == 4 for row in rows), "a verdicts.tsv row breaks")
    odd_rows = [r for r in rows if r.startswith(b"=Q5EV\t")]
    # Line 1 is read whole only when the mark is nothing and the lone CR ends it.
    expect(len(odd_rows) == 1 and odd_rows[0].split(b"\t")[2] == b"1",
           "the byte-order mark or the lone CR cost a line: %s" % odd_rows)
    page = open(os.path.join(out, "index.html"), "rb").read()
    page.decode("utf-8")  # raises on bytes that are no UTF-8


def main():
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    test_generated_contest()
    test_contest_without_faults()
    test_bad_submissions()
    test_hostile_submissions()
    for failure in failures[:40]:
        print("FAIL: " + failure)
    if failures:
        print("%d failures" % len(failures))
        sys.exit(1)
    print("all checks passed")


if __name__ == "__main__":
    main()
