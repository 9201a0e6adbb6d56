#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test; then runs
# the engine, catalogue and tool tests once more built with AddressSanitizer
# and UndefinedBehaviorSanitizer, so that no read or write outside a buffer
# and no undefined behaviour goes unnoticed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
jobs=$(nproc)

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRACKLORE_BENCH=ON >/dev/null
cmake --build build-test -j"$jobs"
(cd build-test && ctest --output-on-failure -j"$jobs" --timeout 600)

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTRACKLORE_UI=OFF \
      -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer" >/dev/null
cmake --build build-sanitize -j"$jobs"
cd build-sanitize
# Leaks are not looked for: a fatal error ends the process with its objects alive.
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --output-on-failure -j"$jobs" --timeout 900
