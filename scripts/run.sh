#!/usr/bin/env bash
# The main job: builds the plug-in and the replay command, then scores the
# sample contest log the way the host would (its err.txt lands in
# build/sample-score/), and leaves the contest report (per-mode logs and
# summary sheet) in build/sample-report/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/configure.sh

bash scripts/install-deps.sh
stats_configure build/native
cmake --build build/native -j2 --target Stats stats-replay

replay=build/native/stats-replay
sample=examples/kova-sample.adi
echo "== score of $sample"
mkdir -p build/sample-score/Plugins
"$replay" --out build/sample-score "$sample"
echo
echo "== report run into build/sample-report/"
rm -rf build/sample-report && mkdir -p build/sample-report/Plugins
"$replay" --report --out build/sample-report "$sample" >/dev/null
ls -l build/sample-report
