#!/usr/bin/env bash
# Installs what Si32 needs to build and test on Debian 12. Safe to run again:
# it asks apt only when something is missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config python3
  qt6-base-dev qt6-base-private-dev libgl-dev
  nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev
  libblkid-dev libmount-dev libudev-dev libasound2-dev libcups2-dev libx11-dev
  xvfb xauth locales
  weston qt6-wayland x11-xserver-utils
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64 wine64
)

# Locales the regional-settings tests switch to.
wanted_locales=(de_DE.UTF-8 fr_FR.UTF-8)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

for l in "${wanted_locales[@]}"; do
  name="${l%%.*}"
  locale -a 2>/dev/null | grep -qi "^${name}.utf-\?8$" || $sudo localedef -i "$name" -f UTF-8 "$l" || true
done
