#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test; then runs
# the engine, catalogue and tool tests once more built with AddressSanitizer
# and UndefinedBehaviorSanitizer, so that no read or write outside a buffer
# and no undefined behaviour goes unnoticed. That pass runs the long sweeps
# with their reduced set (TRACKLORE_SWEEP=reduced: memory faults show in a
# few cuts as well as in many); every test has its own time limit
# (tests/CMakeLists.txt), so a busy machine is no failure.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
jobs=$(nproc)

# A compiler cache, where there is one, makes a second run build only what
# changed, also from another clone (paths are taken relative to it).
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
fi

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRACKLORE_BENCH=ON "${launcher[@]}" >/dev/null
cmake --build build-test -j"$jobs"
(cd build-test && ctest --output-on-failure -j"$jobs")

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTRACKLORE_UI=OFF "${launcher[@]}" \
      -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer" >/dev/null
cmake --build build-sanitize -j"$jobs"
cd build-sanitize
# Leaks are not looked for: a fatal error ends the process with its objects alive.
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  TRACKLORE_SWEEP=reduced ctest --output-on-failure -j"$jobs"
