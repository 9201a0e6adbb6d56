#!/usr/bin/env bash
# Installs what is missing, builds and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRACKLORE_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)"
exec build/tools/quill --help
