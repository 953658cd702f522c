#!/usr/bin/env bash
# Checks the tree's style: clang-format finds nothing to change and
# clang-tidy (.clang-tidy: function size, names) passes over every program
# source in the compilation database of a configured build.
#   scripts/check-style.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
if [ ! -f "$build/compile_commands.json" ]; then
  echo "check-style: no $build/compile_commands.json; configure a build first" >&2
  exit 2
fi

folders='app|format|facts|si32mod|drives|screeninfo|platform|tools'
# The layer check's fixtures break rules on purpose.
mapfile -t sources < <(git ls-files '*.cpp' '*.h' '*.c' | grep -v '^tests/layers/violations/')

echo "== clang-format"
clang-format --dry-run -Werror --style=file "${sources[@]}"

echo "== clang-tidy"
run-clang-tidy -p "$build" -j "$(nproc)" -quiet "^$PWD/($folders)/.*\\.(cpp|c)\$"
