#!/usr/bin/env bash
# The test command. Builds and tests every configuration:
#   release  the whole suite, the checks in Ardour 7 included;
#   asan     the whole suite under AddressSanitizer and UndefinedBehaviorSanitizer (no Ardour);
#   tsan     under ThreadSanitizer, the tests labelled "race": host threads calling the state
#            and chunk roads while another thread processes (see tests/hosts/race);
#   fuzz     every libFuzzer target (clang, AddressSanitizer and UndefinedBehaviorSanitizer)
#            for FUZZ_SECONDS seconds each (20 by default) from its seeds.
# Any failing test, any sanitizer report and any crash a fuzzer finds fails the command.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
jobs=$(nproc)
fuzz_seconds=${FUZZ_SECONDS:-20}

for preset in release asan; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done

cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$jobs" --target orvane_race_tests
ctest --preset tsan -j "$jobs" -L race

# Fuzzing: each target from its seed folder (only read) into a fresh corpus in the build; a
# crash leaves its input in build/fuzz/crashes/ and fails the run.
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs" --target orvane_fuzz_targets
crashes=build/fuzz/crashes
mkdir -p "$crashes"
fuzz_jobs=$(( jobs > 1 ? jobs / 2 : 1 ))
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
run_fuzz_target() {
  local executable=$1 max_len=$2 seeds=$3 name corpus log
  name=$(basename "$executable")
  corpus=build/fuzz/corpus/$name
  log=build/fuzz/logs/$name.log
  rm -rf "$corpus" && mkdir -p "$corpus" build/fuzz/logs
  if "$executable" -max_total_time="$fuzz_seconds" -max_len="$max_len" -timeout=10 \
       -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$crashes/$name-" \
       "$corpus" "$seeds" >"$log" 2>&1; then
    echo "fuzz $name: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$') runs, no crash"
  else
    echo "fuzz $name: FAILED (see $log)"
    tail -n 40 "$log"
    return 1
  fi
}
export -f run_fuzz_target
export fuzz_seconds crashes
grep . build/fuzz/fuzz_targets.txt >build/fuzz/run_list.txt
xargs -P "$fuzz_jobs" -L 1 bash -c 'run_fuzz_target "$@"' _ <build/fuzz/run_list.txt \
  >build/fuzz/summary.txt || true
cat build/fuzz/summary.txt
total=$(grep -c . build/fuzz/run_list.txt)
passed=$(grep -c ' runs, no crash$' build/fuzz/summary.txt || true)
echo "fuzz: $passed passed, $((total - passed)) failed"
[ "$passed" -eq "$total" ]
