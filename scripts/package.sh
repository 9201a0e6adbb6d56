#!/usr/bin/env bash
# Installs what the build needs, builds the programs without their tests and
# makes the Debian package build-package/tracklore_VERSION_ARCH.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh package
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DTRACKLORE_TESTS=OFF >/dev/null
cmake --build build-package -j"$(nproc)"
(cd build-package && cpack -G DEB)
