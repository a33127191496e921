#!/usr/bin/env bash
# Installs the Debian 12 packages that Quorvel builds, runs and tests with (only what is missing).
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-multimedia-dev gstreamer1.0-plugins-base
  libzip-dev nettle-dev gettext libxkbcommon-dev libxkbcommon-x11-dev libxcb1-dev xkb-data
  libgtest-dev libbenchmark-dev
  xdg-utils
  xvfb xauth xdotool wmctrl x11-utils x11-apps imagemagick openbox fonts-dejavu-core
  libxcb-damage0-dev libxcb-xinput-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
