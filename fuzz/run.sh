#!/usr/bin/env bash
# Runs every fuzzer of a fuzzing build for SECONDS each, two at a time, from a seed corpus made
# from the unit tests' cases. A crash, a broken property, a leak or a hang fails the run; what
# the fuzzer found is left in BUILD/fuzz-findings/<fuzzer>/ with its log.
# Usage: fuzz/run.sh BUILD [SECONDS]
set -euo pipefail
build=$1
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
corpus=$build/fuzz-corpus
findings=$build/fuzz-findings
rm -rf "$corpus" "$findings"
"$build/bin/make_seed_corpus" "$corpus"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/../.ci/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export QT_QPA_PLATFORM=offscreen

run() {
  local name=$1 out=$findings/$1
  mkdir -p "$out" "$corpus/$name"
  local dict=()
  case $name in
    fuzz_dispatch | fuzz_wire_path) dict=(-dict="$here/wire.dict") ;;
    fuzz_settings_round_trip | fuzz_data_files) dict=(-dict="$here/settings.dict") ;;
    fuzz_multimon_lines) dict=(-dict="$here/multimon.dict") ;;
    fuzz_mqtt_payloads) dict=(-dict="$here/json.dict") ;;
  esac
  # The seeds stay as they are; what the run adds goes to a scratch folder next to them.
  mkdir -p "$corpus/$name-new"
  if "$build/bin/$name" "$corpus/$name-new" "$corpus/$name" "${dict[@]}" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$out/" >"$out/log" 2>&1; then
    echo "$name: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$out/log" | grep -o '[0-9]*$') runs, no finding"
  else
    echo "$name: FINDING"
    tail -n 40 "$out/log"
    return 1
  fi
}

status=0
names=()
for f in "$build"/bin/fuzz_*; do names+=("$(basename "$f")"); done
for ((i = 0; i < ${#names[@]}; i += 2)); do
  pids=()
  for name in "${names[@]:i:2}"; do
    run "$name" & pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid" || status=1; done
done
exit $status
