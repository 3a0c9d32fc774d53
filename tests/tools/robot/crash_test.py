"""Nothing the robot acknowledged is lost: 200 uploads from 50 concurrent
clients over loopback, the robot killed with SIGKILL in the middle and
started again, then every upload that got a receipt must be in the database
byte for byte, and an upload whose answer never came is either there whole or
not at all (it may have been stored just before the kill).

usage: crash_test.py STATS_ROBOT MAKE_CONTEST_PY WORK_DIR"""

import hashlib
import os
import shutil
import signal
import sqlite3
import subprocess
import sys
import threading

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "..", "scripts", "lib"))
import robot_client  # noqa: E402

UPLOADS = 200
CLIENTS = 50
KILL_AFTER = 70  # receipts


def main():
    robot, make_contest, work = sys.argv[1:4]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    contest = os.path.join(work, "contest")
    subprocess.run([sys.executable, make_contest, "--out", contest, "--stations", "60",
                    "--qsos", "100", "--random", "22", "--clean"], check=True,
                   stdout=subprocess.DEVNULL)
    logs = os.path.join(contest, "logs")
    stations = sorted(os.listdir(logs))
    jobs = [(s.replace("_", "/"), robot_client.station_files(os.path.join(logs, s)))
            for s in stations]
    jobs = [jobs[i % len(jobs)] for i in range(UPLOADS)]
    data = os.path.join(work, "data")
    options = ["--uploads-per-hour", "100000", "--start", "2016-02-13", "--end", "2016-02-14"]

    lock = threading.Lock()
    pending = list(range(UPLOADS))
    receipts = {}        # job -> receipt
    unanswered = set()   # jobs sent whose answer never came
    killed = threading.Event()
    proc, port = robot_client.start_robot(robot, data, *options)

    def client(port):
        while True:
            with lock:
                if not pending or killed.is_set():
                    return
                job = pending.pop(0)
            call, files = jobs[job]
            try:
                status, page = robot_client.Robot(port).upload(call, files)
                receipt = robot_client.receipt_of(page) if status == 200 else None
            except (OSError, Exception):
                receipt = None
                status = None
            with lock:
                if receipt:
                    receipts[job] = receipt
                    if len(receipts) == KILL_AFTER and not killed.is_set():
                        proc.send_signal(signal.SIGKILL)
                        killed.set()
                elif status is None:
                    unanswered.add(job)
                else:
                    print("upload %d refused with %d" % (job, status))
                    sys.exit(1)

    def run_clients(port):
        threads = [threading.Thread(target=client, args=(port,)) for _ in range(CLIENTS)]
        for t in threads:
            t.start()
        for t in threads:
            t.join()

    run_clients(port)
    proc.wait()
    before_kill = len(receipts)
    killed.clear()
    proc, port = robot_client.start_robot(robot, data, *options)
    try:
        run_clients(port)
    finally:
        proc.send_signal(signal.SIGTERM)
        proc.wait(timeout=30)

    db = sqlite3.connect("file:%s?mode=ro" % os.path.join(data, "robot.db"), uri=True)
    failures = []
    if db.execute("PRAGMA integrity_check").fetchone()[0] != "ok":
        failures.append("the database is damaged")
    stored = {}
    for upload_id, call, receipt in db.execute("SELECT id, call, receipt FROM uploads"):
        files = [(n, bytes(b), h) for n, b, h in db.execute(
            "SELECT name, bytes, sha256 FROM upload_files WHERE upload = ? ORDER BY position",
            (upload_id,))]
        stored[receipt] = (call, files)

    def same(job, entry):
        call, files = jobs[job]
        return entry[0] == call and [(n, b) for n, b, _ in entry[1]] == files and all(
            hashlib.sha256(b).hexdigest() == h for _, b, h in entry[1])

    for job, receipt in receipts.items():
        if receipt not in stored:
            failures.append("upload %d got receipt %s but is not stored" % (job, receipt))
        elif not same(job, stored[receipt]):
            failures.append("upload %d (receipt %s) is not stored byte for byte" % (job, receipt))
    known = set(receipts.values())
    extra = [entry for receipt, entry in stored.items() if receipt not in known]
    for entry in extra:
        if not any(same(job, entry) for job in unanswered):
            failures.append("an upload of %s is stored that no client sent whole" % entry[0])
    if len(extra) > len(unanswered):
        failures.append("%d uploads without a receipt are stored, but only %d went unanswered"
                        % (len(extra), len(unanswered)))
    if len(receipts) + len(unanswered) != UPLOADS:
        failures.append("%d uploads answered or lost, of %d" % (len(receipts) + len(unanswered),
                                                                UPLOADS))
    # The export writes each call's latest upload as a folder stats-check reads.
    out = os.path.join(work, "export")
    subprocess.run([robot, "--data", data, "export", out], check=True, stderr=subprocess.DEVNULL)
    latest = {}
    for upload_id, call in db.execute("SELECT max(id), call FROM uploads GROUP BY call"):
        latest[call.replace("/", "_")] = sorted(
            (n, bytes(b)) for n, b in db.execute(
                "SELECT name, bytes FROM upload_files WHERE upload = ?", (upload_id,)))
    exported = {word: robot_client.station_files(os.path.join(out, word))
                for word in os.listdir(out)}
    if exported != latest:
        failures.append("the export does not hold each call's latest upload")
    print("%d uploads from %d clients: %d receipts before the SIGKILL, %d after the restart; "
          "%d sent but unanswered at the kill, %d of those stored whole (stored before the "
          "answer went out), none stored in part; %d stored in all"
          % (UPLOADS, CLIENTS, before_kill, len(receipts) - before_kill, len(unanswered),
             len(extra), len(stored)))
    for f in failures:
        print("FAIL: " + f)
    return 1 if failures or before_kill < KILL_AFTER or not unanswered else 0


if __name__ == "__main__":
    sys.exit(main())
