#!/usr/bin/env bash
# Makes the software-centre screenshots in docs/screenshots/ (served at
# https://vantrel.org/screenshots/ and named by the AppStream data) from the scenario scripts, on
# the virtual desktop. RUNNER: the scenario runner (default build/vantrel-scenario).
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
runner=$(realpath "${1:-build/vantrel-scenario}")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for script in demo crossruler loupe; do
  (cd "$tmp" && "$runner" "$top/scripts/$script.scn" >/dev/null)
done
mkdir -p docs/screenshots
cp "$tmp/demo-strip.png" docs/screenshots/strip.png
cp "$tmp/crossruler-horizontal.png" docs/screenshots/cross-ruler.png
cp "$tmp/loupe-ticks.png" docs/screenshots/loupe.png
cp "$tmp/demo-about.png" docs/screenshots/about-box.png
file docs/screenshots/*.png
