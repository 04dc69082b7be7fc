#!/usr/bin/env bash
# Installs the Debian 12 packages Tamsel needs to build, run and test.
# Only what is missing is installed; run as root or with sudo available.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-websockets-dev qt6-httpserver-dev
  libqt6svg6 qt6-qpa-plugins
  librlottie-dev qcoro-qt6-dev libxcb1-dev libicu-dev
  libgtest-dev libgmock-dev
  clang libclang-rt-14-dev clang-format
  xvfb xauth xcompmgr x11-utils xdotool openbox imagemagick dbus dbus-x11 dunst libnotify-bin
  fonts-noto-cjk fonts-noto-color-emoji fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
