#!/usr/bin/env bash
# Installs every Debian package Vantrel needs to build, test and run. Safe to run again.
set -euo pipefail
pkgs=(build-essential cmake ninja-build pkg-config
      libfreetype-dev libfontconfig-dev libpng-dev fonts-liberation fonts-dejavu-core
      libx11-dev libxext-dev libxrandr-dev libxi-dev libxfixes-dev libcanberra-dev xdg-utils
      libgtest-dev libgmock-dev libbenchmark-dev
      clang libclang-rt-dev
      xvfb xdotool xclip x11-utils trayer i3-wm openbox valgrind)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
