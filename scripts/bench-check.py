#!/usr/bin/env python3
"""Benchmark of the log checker: runs stats-check on generated contests of 100,
500 and 2,000 stations with about 1,000 QSOs each and prints, per size, the
wall time of the whole check (reading, matching, scoring through the plug-in,
writing every output), the time per claimed QSO line, the peak memory, and how
many verdicts agree with the contest's ground truth.

Goals: 2,000 stations checked and published in under 20 s on the project's
2-core machine, the cost per QSO at 2,000 stations within 1.5 times its cost
at 100, and peak memory under 1 GB. For the largest contest it also prints the
size of the results page and, where Debian's chromium is installed, how long
headless Chromium takes to draw it (a screenshot of the page, less the time
the same takes for an empty page); goals: at most about 1 MB and under 2 s.

    python3 scripts/bench-check.py [--sizes 100,500,2000] [--qsos 1000]
                                   [--runs 2] [--check build/native/stats-check]

Contests are made once by scripts/make-contest.py and kept in
build/bench-contests (the 2,000-station one takes about two minutes to make).
The best of --runs runs counts. Not part of the test command.
"""

import argparse
import csv
import os
import re
import resource
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Runs a command and prints its own peak memory (kB): measured in a process of
# its own, so the generator's memory never counts.
MEASURE = ("import resource, subprocess, sys, time\n"
           "start = time.perf_counter()\n"
           "code = subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL,"
           " stderr=subprocess.PIPE, text=True)\n"
           "seconds = time.perf_counter() - start\n"
           "sys.stderr.write(code.stderr)\n"
           "usage = resource.getrusage(resource.RUSAGE_CHILDREN)\n"
           "print(seconds, usage.ru_utime + usage.ru_stime, usage.ru_maxrss)\n"
           "sys.exit(code.returncode)\n")


def contest(stations, qsos, cache):
    folder = os.path.join(cache, "%d-%d" % (stations, qsos))
    if not os.path.exists(os.path.join(folder, "truth.tsv")):
        shutil.rmtree(folder, ignore_errors=True)
        print("making a contest of %d stations ..." % stations, flush=True)
        subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "make-contest.py"),
                        "--out", folder, "--stations", str(stations), "--qsos", str(qsos),
                        "--random", str(stations)], check=True, stdout=subprocess.DEVNULL)
    logs = os.path.join(folder, "logs")
    return folder, sorted(os.path.join(logs, d) for d in os.listdir(logs))


def agreement(folder, out):
    truth = {}
    with open(os.path.join(folder, "truth.tsv"), newline="") as f:
        for row in csv.DictReader(f, delimiter="\t"):
            truth[(row["OWNCALL"], row["FILE"], row["LINE"])] = row["VERDICT"]
    agree = 0
    with open(os.path.join(out, "verdicts.tsv")) as f:
        for line in f:
            call, path, number, verdict, _ = line.split("\t", 4)
            agree += truth.get((call, os.path.basename(path), number)) == verdict
    return agree, len(truth)


def run(check, folders, out):
    shutil.rmtree(out, ignore_errors=True)
    measured = subprocess.run([sys.executable, "-c", MEASURE, check, "--out", out] + folders,
                              capture_output=True, text=True)
    if measured.returncode != 0:
        sys.exit("stats-check failed:\n" + measured.stderr)
    summary = measured.stderr.strip().splitlines()[-1]
    found = re.search(r"(\d+) QSO lines checked in [\d.]+ s \((.*)\)", summary)
    seconds, cpu, peak_kb = measured.stdout.split()
    return int(found.group(1)), float(seconds), found.group(2), int(peak_kb), float(cpu)


def page_figures(out):
    """The results page's size and the time headless Chromium takes to draw
    it: best of three, less the time for an empty page."""
    page = os.path.join(out, "index.html")
    size = os.path.getsize(page)
    chromium = shutil.which("chromium")
    if chromium is None:
        return size, None, None

    def draw(url):
        """Best wall and CPU seconds (Chromium's processes together) of three."""
        best = None
        for _ in range(3):
            shot = os.path.join(out, "..", "page-shot.png")
            before = resource.getrusage(resource.RUSAGE_CHILDREN)
            start = time.perf_counter()
            subprocess.run([chromium, "--headless", "--no-sandbox", "--disable-gpu",
                            "--no-first-run", "--window-size=1280,1000", "--screenshot=" + shot,
                            url], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           timeout=300)
            seconds = time.perf_counter() - start
            after = resource.getrusage(resource.RUSAGE_CHILDREN)
            cpu = (after.ru_utime + after.ru_stime) - (before.ru_utime + before.ru_stime)
            if best is None or seconds < best[0]:
                best = (seconds, cpu)
        return best

    empty = draw("about:blank")
    full = draw("file://" + os.path.realpath(page))
    return size, (full[0] - empty[0], full[1] - empty[1]), empty


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--sizes", default="100,500,2000")
    parser.add_argument("--qsos", type=int, default=1000)
    parser.add_argument("--runs", type=int, default=2)
    parser.add_argument("--check", default=os.path.join(ROOT, "build", "native", "stats-check"))
    parser.add_argument("--cache", default=os.path.join(ROOT, "build", "bench-contests"))
    args = parser.parse_args()

    rows = []
    for stations in (int(s) for s in args.sizes.split(",")):
        folder, folders = contest(stations, args.qsos, args.cache)
        out = os.path.join(args.cache, "%d-%d-results" % (stations, args.qsos))
        best = None
        for _ in range(args.runs):
            result = run(args.check, folders, out)
            if best is None or result[1] < best[1]:
                best = result
        lines, seconds, stages, peak_kb, cpu = best
        agree, total = agreement(folder, out)
        rows.append((stations, len(folders), lines, seconds, cpu, peak_kb, agree, total))
        print("%5d stations (%d logs): %d QSO lines in %.2f s (%.2f s CPU), %.2f us per QSO, "
              "peak %.0f MB, %d/%d verdicts agree; %s" % (
                  stations, len(folders), lines, seconds, cpu, 1e6 * seconds / lines,
                  peak_kb / 1024, agree, total, stages), flush=True)

    print()
    print("| stations | logs sent | QSO lines | seconds | CPU seconds | us per QSO | peak memory "
          "| verdicts as the truth |")
    print("|---:|---:|---:|---:|---:|---:|---:|---:|")
    for stations, logs, lines, seconds, cpu, peak_kb, agree, total in rows:
        print("| %d | %d | %d | %.2f | %.2f | %.2f | %.0f MB | %.2f %% |" % (
            stations, logs, lines, seconds, cpu, 1e6 * seconds / lines, peak_kb / 1024,
            100.0 * agree / total))
    size, seconds, empty = page_figures(out)
    print("\nresults page at %d stations: %.2f MB" % (rows[-1][0], size / 1e6) + (
        "; headless Chromium draws it in %.2f s (%.2f s CPU) beyond the %.2f s (%.2f s CPU) "
        "an empty page takes" % (seconds[0], seconds[1], empty[0], empty[1])
        if seconds is not None else "; chromium is not installed"))
    if len(rows) > 1:
        first, last = rows[0], rows[-1]
        print("\ncost per QSO at %d stations: %.2f times its cost at %d (%.2f in CPU time)" % (
            last[0], (last[3] / last[2]) / (first[3] / first[2]), first[0],
            (last[4] / last[2]) / (first[4] / first[2])))


if __name__ == "__main__":
    main()
