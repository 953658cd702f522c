#!/usr/bin/env bash
# Installs the dependencies with the test extras, builds everything (tests
# and benchmarks included) and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests
scripts/build.sh -DSI32_TESTS=ON -DSI32_BENCH=ON
# The host's display facts are tested on a real X server: a virtual one when
# this machine has none.
run=()
if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
  run=(xvfb-run -a -s "-screen 0 1280x1024x24")
fi
"${run[@]}" ctest --test-dir "${SI32_BUILD_DIR:-build}" --output-on-failure -j2 --timeout 300
