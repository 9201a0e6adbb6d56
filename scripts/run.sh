#!/usr/bin/env bash
# Installs what is missing, builds and starts the program.
# Usage: scripts/run.sh [DIRECTORY]
# The program opens the database of its current directory: DIRECTORY, or the
# directory this script was called from.
set -euo pipefail
here=$(pwd)
target=${1:-$here}
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRACKLORE_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target tracklore
program=$(pwd)/build/app/tracklore
cd "$here"
mkdir -p "$target"
cd "$target"
exec "$program"
