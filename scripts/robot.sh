#!/usr/bin/env bash
# A demo of the sponsor's log robot: builds it, generates a contest
# (scripts/make-contest.py), starts stats-robot on 127.0.0.1:8080 with a fresh
# database in build/robot-demo/data, uploads every station's logs through the
# upload form as the stations would (some are refused, as logs with faults
# are), sets a random back-office password and prints it, then serves until
# Ctrl-C. Nothing to install or start besides: the database is a file.
#   ROBOT_PORT=8081 bash scripts/robot.sh   (another port)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/configure.sh

export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
port=${ROBOT_PORT:-8080}
stats_configure build/native
cmake --build build/native -j2 --target stats-robot stats-check Stats >/dev/null

demo=build/robot-demo
rm -rf "$demo"
python3 scripts/make-contest.py --out "$demo/contest" --stations 30 --qsos 300 --random 1 >/dev/null
password=$(python3 -c 'import secrets; print(secrets.token_urlsafe(12))')
printf '%s\n' "$password" | build/native/stats-robot --data "$demo/data" set-password 2>/dev/null

build/native/stats-robot --data "$demo/data" --listen "127.0.0.1:$port" \
  --start 2016-02-13 --end 2016-02-14 --uploads-per-hour 1000 2>"$demo/robot.log" &
robot=$!
trap 'kill $robot 2>/dev/null || true' EXIT
trap 'exit 0' INT TERM
for _ in $(seq 50); do
  (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
  kill -0 $robot 2>/dev/null || { cat "$demo/robot.log"; exit 1; }
  sleep 0.2
done

python3 - "$port" "$demo/contest/logs" <<'PY'
import os, re, sys
sys.path.insert(0, "scripts/lib")
import robot_client
port, logs = int(sys.argv[1]), sys.argv[2]
robot = robot_client.Robot(port)
accepted = refused = 0
for folder in sorted(os.listdir(logs)):
    files = robot_client.station_files(os.path.join(logs, folder))
    sheet = b"".join(data for name, data in files if name.endswith(".sum")).decode("latin-1")
    power = re.search(r"CATEGORY-POWER : *(\w*)", sheet)
    club = re.search(r"Team/Club : *([^\r\n]*)", sheet)
    status, page = robot.upload(folder.replace("_", "/"), files,
                                power=power.group(1) if power and power.group(1) in ("HIGH", "LOW", "QRP") else "LOW",
                                club=club.group(1).strip() if club else "")
    if status == 200:
        accepted += 1
    else:
        refused += 1
print("demo: %d stations' logs accepted, %d refused (their problems are in the back office)"
      % (accepted, refused))
PY
echo "demo: the robot answers on http://127.0.0.1:$port/ (data in $demo/data, its log in $demo/robot.log)"
echo "demo: back office http://127.0.0.1:$port/admin, password: $password"
echo "demo: Ctrl-C stops it"
wait $robot
