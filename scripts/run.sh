#!/usr/bin/env bash
# Installs what the programs need, builds only the programs (no tests, no
# benchmarks) and starts the window on this machine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh -DSI32_TESTS=OFF -DSI32_BENCH=OFF
exec "${SI32_BUILD_DIR:-build}/bin/si32" "$@"
