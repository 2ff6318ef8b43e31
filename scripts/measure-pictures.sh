#!/usr/bin/env bash
# Makes the pictures of the measuring tools in docs/ (measure-*.png): the measuring card from
# vantrel-testcard, measured by scripts/measure.scn on the virtual desktop. BUILD: the build
# folder (default build).
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
build=$(realpath "${1:-build}")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/dir" "$tmp/shots"
"$build/vantrel-testcard" --measure "$tmp/dir/measure-testcard.png" >/dev/null
(cd "$tmp/shots" && "$build/vantrel-scenario" --dir "$tmp/dir" "$top/scripts/measure.scn" >/dev/null)
for name in edges gap snap contrast; do cp "$tmp/shots/measure-$name.png" "docs/measure-$name.png"; done
ls docs/measure-*.png
