#!/usr/bin/env python3
"""Load benchmark of the log robot (not part of the test command): 200
concurrent clients each upload one station's 1,000-line log of a generated
contest over loopback, all at once. Prints the answer times (median, 99th
percentile, slowest), the robot's peak memory and whether every upload got a
receipt and is stored. Needs build/native (bash scripts/robot.sh or
scripts/test.sh builds it).

usage: python3 scripts/bench-robot.py [--clients 200] [--qsos 1000] [--threads 8]"""

import argparse
import os
import shutil
import signal
import sqlite3
import statistics
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "lib"))
import robot_client  # noqa: E402


def peak_memory_kib(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--clients", type=int, default=200)
    parser.add_argument("--qsos", type=int, default=1000)
    parser.add_argument("--threads", type=int, default=8)
    args = parser.parse_args()
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    robot = os.path.join(root, "build", "native", "stats-robot")
    work = os.path.join(root, "build", "bench-robot")
    shutil.rmtree(work, ignore_errors=True)
    subprocess.run([sys.executable, os.path.join(root, "scripts", "make-contest.py"), "--out",
                    os.path.join(work, "contest"), "--stations", str(args.clients), "--qsos",
                    str(args.qsos), "--random", "9", "--clean"], check=True,
                   stdout=subprocess.DEVNULL)
    logs = os.path.join(work, "contest", "logs")
    jobs = [(s.replace("_", "/"), robot_client.station_files(os.path.join(logs, s)))
            for s in sorted(os.listdir(logs))]
    lines = [sum(data.count(b"\n") for name, data in files if name.endswith(".log"))
             for _, files in jobs]
    data = os.path.join(work, "data")
    proc, port = robot_client.start_robot(robot, data, "--threads", str(args.threads),
                                          "--uploads-per-hour", "1000000",
                                          "--start", "2016-02-13", "--end", "2016-02-14")
    clients = [robot_client.Robot(port) for _ in jobs]
    for c in clients:
        c.open_form()
    start = threading.Barrier(len(jobs) + 1)
    times = [None] * len(jobs)
    receipts = [None] * len(jobs)

    def run(i):
        start.wait()
        began = time.monotonic()
        try:
            status, page = clients[i].upload(*jobs[i])
            receipts[i] = robot_client.receipt_of(page) if status == 200 else None
        except OSError as e:
            print("client %d: %s" % (i, e))
        times[i] = time.monotonic() - began

    threads = [threading.Thread(target=run, args=(i,)) for i in range(len(jobs))]
    for t in threads:
        t.start()
    start.wait()
    began = time.monotonic()
    for t in threads:
        t.join()
    wall = time.monotonic() - began
    peak = peak_memory_kib(proc.pid)
    proc.send_signal(signal.SIGTERM)
    proc.wait(timeout=30)
    db = sqlite3.connect("file:%s?mode=ro" % os.path.join(data, "robot.db"), uri=True)
    stored = {r for (r,) in db.execute("SELECT receipt FROM uploads")}
    got = [r for r in receipts if r]
    lost = len(jobs) - len([r for r in got if r in stored])
    ordered = sorted(times)
    p99 = ordered[min(len(ordered) - 1, int(round(0.99 * len(ordered))) - 1)]
    print("robot load: %d concurrent clients, one upload each of %d to %d QSO lines "
          "(median %d), %d worker threads" % (len(jobs), min(lines), max(lines),
                                              statistics.median(lines), args.threads))
    print("answer time: median %.2f s, 99th percentile %.2f s, slowest %.2f s; all %d answered "
          "in %.2f s (%.0f uploads/s)" % (statistics.median(times), p99, ordered[-1], len(jobs),
                                           wall, len(jobs) / wall))
    print("robot peak memory: %.0f MB; receipts %d of %d, stored %d, lost %d"
          % (peak / 1024, len(got), len(jobs), len(stored), lost))
    return 0 if lost == 0 and len(got) == len(jobs) else 1


if __name__ == "__main__":
    sys.exit(main())
