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
import subprocess
import sys

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
        expect('href="#ubn-%s"' % call in page, "index.html has no link to %s's list" % call)
    expect(page.count("<svg") > len(results(out)), "index.html lacks its pictures")

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
    for message in (empty + " holds none of the per-mode logs; left out",
                    mixed + ": its lines name more than one own call (Q7AA in RTTY.log; Q7AB in "
                            "RTTY.log); left out",
                    "cannot read " + os.path.join(unreadable, "RTTY.log") + ": it is a folder",
                    missing + " is not a folder",
                    "%s sent more than one folder (%s, %s); all left out" % (duplicated,
                                                                             folders[0], copy)):
        expect(message in stderr, "no message: %s\nin:\n%s" % (message, stderr))
    ranked = results(out)
    expect(duplicated not in ranked and len(ranked) == len(folders) - 1,
           "results list %s" % sorted(ranked))


def main():
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    test_generated_contest()
    test_contest_without_faults()
    test_bad_submissions()
    for failure in failures[:40]:
        print("FAIL: " + failure)
    if failures:
        print("%d failures" % len(failures))
        sys.exit(1)
    print("all checks passed")


if __name__ == "__main__":
    main()
