#!/usr/bin/env bash
# Installs the dependencies, builds Si32 and starts its window on this machine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/bin/si32 "$@"
