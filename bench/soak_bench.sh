#!/usr/bin/env bash
# Memory over a long session: the Release program on a virtual display, its
# port opened by an operator's clicks, the status area's trend tab shown, an
# instrument on a pseudo-terminal at 500 lines/s. Resident memory is sampled
# every 30 s; the trend buffer (360,000 readings) is full after 12 minutes,
# and the growth from then to the end is what counts.
#
# Usage: bench/soak_bench.sh [--minutes M] [--rate N]
#   defaults: 20 minutes at 500 lines/s. Needs what gui_bench.sh builds
#   (build-guibench/); run that first, or with --quick.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-guibench
tools=$build/gui-tools
minutes=20 rate=500
while [ $# -gt 0 ]; do
    case $1 in
    --minutes) minutes=$2 && shift ;;
    --rate) rate=$2 && shift ;;
    *) sed -n '8,10p' "$0" >&2 && exit 2 ;;
    esac
    shift
done
[ -x "$build/app/svterminal" ] && [ -x "$tools/ptywriter" ] ||
    { echo "build-guibench/ has no program yet: bash bench/gui_bench.sh --quick" >&2 && exit 2; }

tmp=$(mktemp -d /tmp/soakbench.XXXXXX)
pids=()
cleanup()
{
    exec 5>&- 2>/dev/null || true
    for pid in ${pids[@]+"${pids[@]}"}; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config QT_QPA_PLATFORMTHEME=
mkdir -p "$HOME"
source "$root/scripts/xvfb.sh"
start_xvfb
pids+=("$xvfb_pid")

# shellcheck source=bench/gui/readers.sh
source "$root/bench/gui/readers.sh"
mkfifo "$tmp/ctl"
"$tools/ptywriter" --rate "$rate" --seconds $((minutes * 60 + 60)) --max-wait 5 \
    <"$tmp/ctl" >"$tmp/writer.out" &
pids+=($!)
exec 5>"$tmp/ctl"
port=""
for _ in $(seq 100); do
    port=$(awk '$1 == "port" {print $2}' "$tmp/writer.out")
    [ -n "$port" ] && break
    sleep 0.05
done
"$build/app/svterminal" --port "$port" --open >"$tmp/program.log" 2>&1 &
app=$!
pids+=("$app")
window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app" | head -n1)
sleep 1
# shellcheck disable=SC2086,SC2154
xdotool mousemove --window "$window" $trend_tab_xy click 1
echo "start $app" >&5
echo "minute RSS_MB"
start=$(date +%s)
samples=$tmp/samples
while [ $(($(date +%s) - start)) -lt $((minutes * 60)) ]; do
    sleep 30
    kill -0 "$app" 2>/dev/null || { echo "the program ended" >&2 && exit 1; }
    rss=$(awk '/VmRSS/ {print $2}' "/proc/$app/status")
    elapsed=$(($(date +%s) - start))
    echo "$elapsed $rss" >>"$samples"
    awk -v t="$elapsed" -v r="$rss" 'BEGIN {printf "%.1f %.1f\n", t / 60, r / 1024}'
done
awk -v full=$((360000 / rate + 60)) '
    $1 >= full && !seen { first = $2; seen = 1 }
    { last = $2 }
    END {
        if (!seen) { print "the buffer did not fill in this run"; exit }
        printf "after the buffer filled: %.1f MB, at the end %.1f MB, growth %.2f MB\n",
            first / 1024, last / 1024, (last - first) / 1024
    }' "$samples"
