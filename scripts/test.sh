#!/usr/bin/env bash
# Installs the dependencies, builds Si32 and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
ctest --test-dir "${SI32_BUILD_DIR:-build}" --output-on-failure -j2 --timeout 300
