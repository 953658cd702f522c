#!/bin/sh
# Builds the libFuzzer targets in a clang build of their own and runs each
# for the given number of seconds (default 60). Fails on the first crash,
# sanitizer report, broken property or input that takes more than 2 s. The
# repository's seed corpus is read but never written; new inputs go to a
# scratch directory.
#
#   tests/fuzz/run-fuzzers.sh [seconds]
#   SI32_FUZZ_BUILD=/path/to/build   (default: build-fuzz in the source tree)
set -eu

seconds=${1:-60}
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
build_dir=${SI32_FUZZ_BUILD:-$source_dir/build-fuzz}

CC=clang CXX=clang++ cmake -S "$source_dir" -B "$build_dir" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSI32_FUZZ=ON -DSI32_GUI=OFF -DSI32_BENCH=OFF >/dev/null
cmake --build "$build_dir" --target regedit4_fuzz ini_fuzz trvwin_fuzz restmp_fuzz machine_fuzz

# Undefined behaviour must stop the run as an address error does.
export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

for name in regedit4 ini trvwin restmp machine; do
  mkdir -p "$scratch/$name"
  echo "== ${name}_fuzz for ${seconds}s"
  if ! "$build_dir/fuzz/${name}_fuzz" -max_total_time="$seconds" -max_len=8192 -timeout=2 \
      $( [ -f "$here/$name.dict" ] && echo "-dict=$here/$name.dict" ) -artifact_prefix="$scratch/" \
      "$scratch/$name" "$here/corpus/$name" >"$scratch/$name.log" 2>&1; then
    tail -n 60 "$scratch/$name.log"
    for artifact in "$scratch"/crash-* "$scratch"/leak-* "$scratch"/timeout-* "$scratch"/oom-*; do
      [ -e "$artifact" ] && cp "$artifact" "$build_dir/" && echo "kept $build_dir/$(basename "$artifact")"
    done
    echo "FAILED: ${name}_fuzz" >&2
    exit 1
  fi
  grep -E '^Done|#[0-9]+.*DONE' "$scratch/$name.log" | tail -n 1
done
echo "all fuzzers ran clean"
