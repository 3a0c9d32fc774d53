#!/usr/bin/env bash
# Sanitizer builds of the library and its tests (AddressSanitizer with
# UndefinedBehaviorSanitizer, then ThreadSanitizer) and a bounded libFuzzer
# run of every fuzz target over its committed starting corpus. Any report fails.
# FUZZ_SECONDS sets the time per fuzz target (default 60). A failing input is
# kept in build/fuzz/ (fuzz_NAME-crash-...) so the failure can be replayed by
# hand (build/fuzz/fuzz/fuzz_NAME FILE); the next run replays it once first,
# fails again while it still fails and removes it once it passes.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/configure.sh

jobs=2
fuzz_seconds=${FUZZ_SECONDS:-60}
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

for kind in address thread; do
  dir=build/$kind
  echo "== $kind sanitizer build"
  CC=clang CXX=clang++ stats_configure "$dir" native -DSTATS_SANITIZE="$kind"
  cmake --build "$dir" -j"$jobs"
  echo "== $kind sanitizer tests"
  (cd "$dir" && ctest --output-on-failure -j"$jobs")
done

fuzz_options=(-timeout=10 -rss_limit_mb=2048)

# Replays the inputs an earlier run kept for this target, once each: one that
# passes now is removed, so a fixed fault does not fail every later run; one
# that still fails fails this run and stays.
replay_kept() {  # target name
  local kept log
  for kept in build/fuzz/"$2"-*; do
    [ -f "$kept" ] || continue
    log=$(mktemp)
    if "$1" "${fuzz_options[@]}" "$kept" >"$log" 2>&1; then
      echo "$2: the input an earlier run kept ($kept) passes now; removed"
      rm -f "$kept" "$log"
    else
      grep -E '^(==[0-9]+==ERROR|SUMMARY)' "$log" || tail -n 20 "$log"
      rm -f "$log"
      echo "$2 still fails on the input an earlier run kept: $kept"
      exit 1
    fi
  done
}

echo "== fuzz build"
CC=clang CXX=clang++ stats_configure build/fuzz native -DSTATS_FUZZ=ON -DSTATS_BUILD_TESTS=OFF
cmake --build build/fuzz -j"$jobs"
for target in build/fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  replay_kept "$target" "$name"
  corpus=fuzz/corpus/${name#fuzz_}
  work=$(mktemp -d)
  cp -r "$corpus"/. "$work"/ 2>/dev/null || true
  echo "== $name for ${fuzz_seconds}s"
  "$target" -max_total_time="$fuzz_seconds" -max_len=4096 "${fuzz_options[@]}" \
    -artifact_prefix="$PWD/build/fuzz/$name-" -print_final_stats=1 "$work" 2>&1 |
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|==[0-9]+==ERROR|SUMMARY)|Done ' || true
  rm -rf "$work"
  if ls build/fuzz/"$name"-* >/dev/null 2>&1; then
    echo "$name found a failing input: $(ls build/fuzz/"$name"-*)"
    exit 1
  fi
done
