#!/usr/bin/env bash
# Installs what the programs need, builds only the programs (no tests, no
# benchmarks) and starts the window on this machine. Without a display the
# build is still the work done: it ends 0 and names the report instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh -DSI32_TESTS=OFF -DSI32_BENCH=OFF
bin="${SI32_BUILD_DIR:-build}/bin"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Built. There is no display to open the window on; the same facts as text:"
  echo "  $bin/si32-report          (--json for JSON, --help for more)"
  echo "  SI32_MACHINE=win98se $bin/si32-report   (a simulated machine; --list-machines)"
  exit 0
fi
exec "$bin/si32" "$@"
