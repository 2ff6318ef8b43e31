#!/usr/bin/env bash
# Builds the Debian package build/vantrel_<version>_<arch>.deb: installs what the build needs,
# makes a release build, and packs it with CPack.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)"
(cd build && cpack -G DEB)
