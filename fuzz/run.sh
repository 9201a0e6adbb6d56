#!/usr/bin/env bash
# Runs every libFuzzer target under the address and undefined-behaviour
# sanitizers for MINUTES minutes each, one after the other, starting from
# the checked-in seed corpus (fuzz/corpus/<target>/). New inputs go to
# BUILD/corpus/<target>/, crashes to BUILD/artifacts/<target>/, each run's
# output to BUILD/<target>.log.
# Usage: fuzz/run.sh MINUTES [TARGET...]   (BUILD: $FUZZ_BUILD or build-fuzz)
set -uo pipefail

minutes=${1:?usage: fuzz/run.sh MINUTES [TARGET...]}
shift
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD:-$root/build-fuzz}
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(datafile_fuzz index_fuzz keys_fuzz csv_fuzz tags_fuzz names_fuzz)

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DTRACKLORE_FUZZ=ON -DTRACKLORE_TESTS=OFF -DTRACKLORE_UI=OFF "${launcher[@]}" >/dev/null || exit 1
cmake --build "$build" -j2 --target "${targets[@]}" >/dev/null || exit 1

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:symbolize=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=0
for target in "${targets[@]}"; do
  work="$build/corpus/$target"
  artifacts="$build/artifacts/$target"
  mkdir -p "$work" "$artifacts"
  log="$build/$target.log"
  start=$(date +%s)
  # The targets' own messages go nowhere (-close_fd_mask); the fuzzer's and
  # the sanitizers' reports still reach the log.
  "$build/fuzz/$target" -max_total_time=$((minutes * 60)) -timeout=30 -rss_limit_mb=2048 \
    -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$artifacts/" \
    "$work" "$root/fuzz/corpus/$target" >"$log" 2>&1
  status=$?
  seconds=$(($(date +%s) - start))
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  if [ $status -eq 0 ]; then
    echo "$target: ${runs:-?} runs in ${seconds}s, no failure"
  else
    failed=1
    echo "$target: FAILED after ${seconds}s (${runs:-?} runs); see $log and $artifacts/"
  fi
done
exit $failed
