#!/bin/sh
# Builds the line-framing fuzzer with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs it for a bounded time on a copy of the
# corpus in fuzz/corpus (fuzz/corpus/formats: the probes' other formats, see
# fuzz/framing_check.h), then lists what it found.
#
# Usage: scripts/fuzz.sh [seconds] [build-dir]
#   seconds    how long to fuzz (default 60)
#   build-dir  where to build and work (default build-fuzz/ in the repository)
# Needs clang++ and libclang-rt-14-dev (or the matching version) and Qt5Core.
set -eu

repo=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=${2:-"$repo/build-fuzz"}
mkdir -p "$build"
build=$(cd "$build" && pwd)

cxx=${CXX_FUZZ:-clang++}
if ! command -v "$cxx" >/dev/null 2>&1; then
    echo "fuzz.sh: $cxx not found (apt-get install clang libclang-rt-14-dev)" >&2
    exit 2
fi

echo "== building $build/fuzz_framing"
# shellcheck disable=SC2046
"$cxx" -std=c++17 -g -O1 -fPIC \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$repo/src/core" -I"$repo/fuzz" $(pkg-config --cflags Qt5Core) \
    $(for f in measurementstream lineframer formatrecogniser probeformat plainformats taggedformat \
        nmeaformats nmeachecksum linefields blockaverage; do echo "$repo/src/core/$f.cpp"; done) \
    "$repo/fuzz/framing_check.cpp" "$repo/fuzz/fuzz_framing.cpp" \
    $(pkg-config --libs Qt5Core) -o "$build/fuzz_framing"

# The fuzzer adds what it learns to the work copy; the corpus in the
# repository stays as it is.
work="$build/corpus"
artifacts="$build/artifacts"
mkdir -p "$work" "$artifacts"
cp -r "$repo"/fuzz/corpus/* "$work"/

echo "== fuzzing for $seconds s (corpus copy: $work)"
status=0
"$build/fuzz_framing" -max_total_time="$seconds" -max_len=16384 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "$work" \
    >"$build/fuzz.log" 2>&1 || status=$?
tail -n 20 "$build/fuzz.log"

echo "== result"
found=$(find "$artifacts" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
    -o -name 'oom-*' -o -name 'slow-unit-*' \) | sort)
if [ -n "$found" ]; then
    echo "findings (replay one with: $build/fuzz_framing FILE; minimize with -minimize_crash=1):"
    echo "$found"
    exit 1
fi
if [ "$status" -ne 0 ]; then
    echo "fuzzer exited with status $status; see $build/fuzz.log"
    exit "$status"
fi
echo "no findings in $seconds s; corpus copy holds $(find "$work" -type f | wc -l) inputs"
