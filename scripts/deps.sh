#!/usr/bin/env bash
# Installs every Debian package Vantrel needs to build, test and run. Safe to run again.
set -euo pipefail
pkgs=(build-essential cmake ninja-build pkg-config
      libfreetype-dev libfontconfig-dev libpng-dev fonts-liberation fonts-dejavu-core
      libx11-dev libxext-dev libxrandr-dev libxi-dev libxfixes-dev libcanberra-dev xdg-utils
      libsystemd-dev
      libgtest-dev libgmock-dev libbenchmark-dev
      clang libclang-rt-dev
      libsystemd-dev dbus python3-dbus python3-gi
      xvfb xdotool xclip x11-utils trayer i3-wm openbox
      libwayland-dev wayland-protocols libxkbcommon-dev librust-wayland-protocols-dev
      sway grim wl-clipboard wtype xwayland x11-xserver-utils
      dpkg-dev file lintian appstream desktop-file-utils groff-base valgrind)
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
