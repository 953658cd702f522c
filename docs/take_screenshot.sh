#!/bin/sh
# Takes docs/screenshot.png from the real si32 window on a simulated machine
# (Windows 98 by default), under Xvfb with the openbox window manager (for the
# title bar). Usage: docs/take_screenshot.sh [build directory] [machine name]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$here/build"}
machine=${2:-win98}
command -v xvfb-run >/dev/null || { echo "take_screenshot: needs xvfb-run (package xvfb)" >&2; exit 1; }
command -v openbox >/dev/null || { echo "take_screenshot: needs openbox (package openbox)" >&2; exit 1; }
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
# The simulated screen is 1024 x 768, so the window is centred on this one.
XDG_RUNTIME_DIR=$runtime SI32_MACHINE="$here/machines/$machine.json" SI32_SCREENSHOT="$here/docs/screenshot.png" \
  xvfb-run -a -s "-screen 0 1024x768x24" sh -c 'openbox >/dev/null 2>&1 & sleep 1; exec "$0"' "$build/bin/si32"
echo "wrote $here/docs/screenshot.png"
