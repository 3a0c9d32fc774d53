#!/usr/bin/env bash
# The project's whole check: installs what is missing, builds the native
# library and tests, then the Windows DLL and its tests under Wine, the
# release zips (checked, unzipped and run under Wine), and runs every test.
# Exits non-zero on the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/configure.sh

bash scripts/install-deps.sh
bash scripts/install-browser-test.sh
# The robot's browser test must run here, not be skipped.
export STATS_REQUIRE_BROWSER=1

jobs=2
echo "== native build"
stats_configure build/native
cmake --build build/native -j"$jobs"
echo "== native tests"
(cd build/native && ctest --output-on-failure -j"$jobs")

echo "== windows build and tests"
bash scripts/test-windows.sh

echo "== release zips"
bash scripts/test-package.sh

echo "== sanitizers and fuzzing"
bash scripts/test-hardening.sh
