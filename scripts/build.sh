#!/usr/bin/env bash
# Configures and builds Si32 into build/ (or $SI32_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${SI32_BUILD_DIR:-build}"
werror="${SI32_WERROR:-OFF}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSI32_WERROR="$werror" "$@" >/dev/null
cmake --build "$build"
