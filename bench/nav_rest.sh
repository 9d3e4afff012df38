#!/usr/bin/env bash
# What a GNSS receiver at 10 epochs a second costs the program with nothing
# else to do: the Release program on a virtual display, from the defaults,
# without the receiver and with gnss-sim --rate 10 on a pseudo-terminal as
# its navigation input (--nav); and, as the floor under any Qt Widgets
# program woken by that stream, bench/gui/readfloor.cpp reading the same
# pseudo-terminal and nothing more. No instrument and no window-manager pings; CPU of every
# thread from /proc/PID/task/*/schedstat over each run, medians.
#
# Usage: bench/nav_rest.sh [--reps N] [--seconds S]
#   defaults: 5 repetitions of 20 s. Needs what gui_bench.sh --nav builds
#   (build-guibench/); run that first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-guibench
reps=5 seconds=20
while [ $# -gt 0 ]; do
    case $1 in
    --reps) reps=$2 && shift ;;
    --seconds) seconds=$2 && shift ;;
    *) sed -n '10,12p' "$0" >&2 && exit 2 ;;
    esac
    shift
done
for needed in app/svterminal tools/gnss-sim gui-tools/readfloor; do
    [ -x "$build/$needed" ] ||
        { echo "build-guibench/$needed missing: bash bench/gui_bench.sh --nav --quick" >&2 && exit 2; }
done

tmp=$(mktemp -d /tmp/navrest.XXXXXX)
pids=()
cleanup()
{
    for pid in ${pids[@]+"${pids[@]}"}; do kill "$pid" 2>/dev/null || true; done
    stop_xvfb
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT
export HOME=$tmp/home QT_QPA_PLATFORMTHEME=
mkdir -p "$HOME"
source "$root/scripts/xvfb.sh"
start_xvfb

cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {print s + 0}'; }

# run NAME: one run; prints the reader's CPU-ms/s.
run()
{
    local gnss="" reader
    if [ "$1" != plain ]; then
        rm -f "$tmp/gnss.out"
        "$build/tools/gnss-sim" --rate 10 >"$tmp/gnss.out" 2>/dev/null &
        gnss=$!
        pids+=("$gnss")
        until [ -s "$tmp/gnss.out" ]; do sleep 0.05; done
    fi
    case $1 in
    plain) "$build/app/svterminal" --defaults >/dev/null 2>&1 & ;;
    nav) "$build/app/svterminal" --defaults --nav "serial:$(head -n1 "$tmp/gnss.out")" >/dev/null 2>&1 & ;;
    floor) "$build/gui-tools/readfloor" "$(head -n1 "$tmp/gnss.out")" >/dev/null 2>&1 & ;;
    esac
    reader=$!
    pids+=("$reader")
    sleep 4 # started and settled
    local before after
    before=$(cpu_ns "$reader")
    sleep "$seconds"
    after=$(cpu_ns "$reader")
    kill "$reader" ${gnss:+"$gnss"} 2>/dev/null || true
    wait "$reader" ${gnss:+"$gnss"} 2>/dev/null || true
    awk -v a="$before" -v b="$after" -v s="$seconds" 'BEGIN {printf "%.3f\n", (b - a) / 1e6 / s}'
}

echo "load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
for rep in $(seq "$reps"); do
    for name in plain nav floor; do
        echo "$name $(run "$name")" | tee -a "$tmp/results"
    done
done
median() { awk -v n="$1" '$1 == n {print $2}' "$tmp/results" | sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
echo "at rest, CPU-ms/s, medians of $reps: program $(median plain), with gnss-sim at 10 Hz" \
    "$(median nav), a bare reader of the same stream $(median floor)"
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
