#!/usr/bin/env bash
# Installs what Vantrel needs, builds it and runs it: on the Wayland compositor or the X display
# when there is one, otherwise a short demonstration on the virtual desktop that writes screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target vantrel vantrel-scenario
if [ -n "${WAYLAND_DISPLAY:-}" ] || [ -n "${DISPLAY:-}" ]; then
  exec build/vantrel
fi
echo "No display (neither WAYLAND_DISPLAY nor DISPLAY is set): running a demonstration on the virtual desktop."
mkdir -p build/demo
(cd build/demo && ../vantrel-scenario ../../scripts/demo.scn)
echo "Screenshots written:"
ls -1 "$PWD"/build/demo/*.png
