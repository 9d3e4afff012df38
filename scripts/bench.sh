#!/bin/sh
# Builds the benchmarks (Release) and runs them offscreen, printing their
# figures. Each benchmark's warnings go to <build-dir>/<name>.log.
#
# Usage: scripts/bench.sh [build-dir] [benchmark...]
#   build-dir   default build-bench/ in the repository
#   benchmark   any of the names below; default all of them
# Takes about ten minutes on a two-core machine; bench_soak and bench_pane
# are the long ones (about two minutes each).
set -eu

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$repo/build-bench"}
[ $# -gt 0 ] && shift
all="bench_framing bench_recognition bench_reader bench_sleep bench_latency bench_soak bench_pane
    bench_trend bench_review bench_map bench_nav"
benches=${*:-$all}

echo "== building in $build"
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DSVT_BUILD_TESTS=OFF >/dev/null
# shellcheck disable=SC2086
cmake --build "$build" -j2 --target $benches >"$build/build.log" 2>&1 || {
    tail -n 30 "$build/build.log"
    exit 1
}

export QT_QPA_PLATFORM=offscreen
export QT_QPA_PLATFORMTHEME=
failed=""
for name in $benches; do
    echo
    if ! "$build/bench/$name" 2>"$build/$name.log"; then
        failed="$failed $name"
        echo "-- $name exited with an error; its log:"
        tail -n 20 "$build/$name.log"
    fi
done

echo
if [ -n "$failed" ]; then
    echo "== failed:$failed"
    exit 1
fi
echo "== all benchmarks ran"
