#!/usr/bin/env bash
# Installs what Si32 needs on Debian 12. Safe to run again: it asks apt only
# when something is missing.
#   scripts/install-deps.sh          what building and running the programs needs
#   scripts/install-deps.sh --tests  that, and what the test suite and the
#                                    benchmarks need besides
#   scripts/install-deps.sh --package  that, and what `cpack -G DEB` needs
set -euo pipefail

# Building the programs, and what they open at run time.
packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-private-dev libgl-dev qt6-wayland
  nlohmann-json3-dev
  libblkid-dev libudev-dev libxkbregistry-dev libasound2-dev libcups2-dev libx11-dev
)

# The test suite only: GoogleTest and Google Benchmark; libmount, whose
# reading of mount tables the program's own is compared with; a virtual X server;
# the locales the regional-settings tests switch to; clang for the fuzzers;
# MinGW (64- and 32-bit) and Wine for the Windows programs, their tests and
# the differential test against the real Windows calls, NSIS and zip for
# their installer (wine32, for the 32-bit systems, where the machine can add
# the i386 architecture), libxtst6 for the key the native window's test presses;
# the desktop-file and AppStream validators, dpkg-shlibdeps, file and lintian
# for the packaging test, debootstrap for its opt-in fresh-machine install;
# clang-format and clang-tidy for the style check; the accessibility bus and
# its Python bindings for the screen-reader test.
test_packages=(
  python3
  libgtest-dev libgmock-dev libbenchmark-dev libmount-dev
  xvfb xauth locales
  weston x11-xserver-utils openbox
  at-spi2-core python3-pyatspi dbus-daemon
  clang libclang-rt-14-dev clang-format clang-tidy
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 nsis zip libxtst6
  desktop-file-utils appstream dpkg-dev file lintian debootstrap
)

# Making the Debian package: dpkg-shlibdeps computes its Depends, file tells
# cpack which installed files are programs.
package_packages=(dpkg-dev file)

# Locales the regional-settings tests switch to.
wanted_locales=(de_DE.UTF-8 fr_FR.UTF-8)

tests=0
case "${1:-}" in
  "") ;;
  --tests) tests=1 ;;
  --package) packages+=("${package_packages[@]}") ;;
  *) echo "usage: $0 [--tests | --package]" >&2; exit 2 ;;
esac
[ "$tests" -eq 0 ] || packages+=("${test_packages[@]}")

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

# The Windows 95 line runs only 32-bit programs: its tests need Wine's 32-bit
# loader, from the i386 architecture. A machine that cannot add it skips them.
if [ "$tests" -eq 1 ] && ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
  export DEBIAN_FRONTEND=noninteractive
  { $sudo dpkg --add-architecture i386 && $sudo apt-get update -q &&
    $sudo apt-get install -y -q --no-install-recommends wine32:i386; } ||
    echo "install-deps: wine32 could not be installed; the 32-bit Windows tests will skip" >&2
fi

if [ "$tests" -eq 1 ]; then
  for l in "${wanted_locales[@]}"; do
    name="${l%%.*}"
    locale -a 2>/dev/null | grep -qi "^${name}.utf-\?8$" || $sudo localedef -i "$name" -f UTF-8 "$l" || true
  done
fi
