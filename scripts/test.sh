#!/usr/bin/env bash
# Installs the dependencies with the test extras, builds everything (tests
# and benchmarks included) and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests
scripts/build.sh -DSI32_TESTS=ON -DSI32_BENCH=ON
# The host's display facts are tested on a real X server: a virtual one of
# the suite's own when this machine has none. It picks a free display number
# itself and admits only the holders of its cookie, so neither a desktop nor
# another machine's server on the same network namespace gets in the way.
if [ -z "${DISPLAY:-}" ] && [ -x /usr/bin/Xvfb ]; then
  xdir="$(mktemp -d)"
  xpid=""
  trap '[ -z "$xpid" ] || { kill "$xpid"; wait "$xpid"; } 2>/dev/null; rm -rf "$xdir"' EXIT
  { printf '\377\377\0\0\0\0\0\022MIT-MAGIC-COOKIE-1\0\020'; head -c 16 /dev/urandom; } >"$xdir/Xauthority"
  /usr/bin/Xvfb -displayfd 3 -auth "$xdir/Xauthority" -nolisten tcp -noreset -screen 0 1280x1024x24 \
    3>"$xdir/display" >"$xdir/Xvfb.log" 2>&1 </dev/null &
  xpid=$!
  for _ in $(seq 200); do
    grep -q '^[0-9]' "$xdir/display" 2>/dev/null && break
    kill -0 "$xpid" 2>/dev/null || { cat "$xdir/Xvfb.log" >&2; exit 1; }
    sleep 0.1
  done
  DISPLAY=":$(head -n 1 "$xdir/display")"
  export DISPLAY XAUTHORITY="$xdir/Xauthority"
fi
ctest --test-dir "${SI32_BUILD_DIR:-build}" --output-on-failure -j2 --timeout 300
