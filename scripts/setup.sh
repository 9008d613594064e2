#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Orvi needs.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6dbus6 libqt6xml6 libqt6network6 libqt6test6
  qt6-webengine-dev qt6-httpserver-dev qt6-websockets-dev libqt6svg6 qt6-svg-dev
  qt6-qpa-plugins libgl-dev
  libasound2-dev
  dbus dbus-x11 xvfb x11-utils trayer xdotool imagemagick curl
  at-spi2-core python3 python3-pyatspi python3-gi
  clang libclang-rt-14-dev
  fonts-dejavu-core
)

need=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
