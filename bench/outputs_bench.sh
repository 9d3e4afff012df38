#!/usr/bin/env bash
# Benchmarks the outputs and MQTT publishing of the real program, started as
# an unattended station is (--port --open --output --mqtt), on a virtual
# display. An instrument on a pseudo-terminal writes one line at a time; a
# probe receives the UDP datagrams, the bytes on a second pseudo-terminal (a
# serial output), a TCP client's stream and the broker's messages.
#   latency  last byte of a line written to the sentence received, three
#            outputs (udp, serial, tcp with one client), 30 and 300 lines/s
#   cost     program CPU per 1000 lines at 30 lines/s, three outputs or none
#   counts   lines with spikes, out-of-range readings, malformed and junk
#            lines at known places, and a simulator run with --garbage
#            --malformed: every output forwards exactly the readings the CSV
#            log marks ok, and lines in = forwarded + gated + not measurements
#   mqtt     line to message through a local mosquitto, 30 lines/s
#   floor    the same latency through a plain relay (read, sendto) in the
#            program's place: what the machine itself costs
# Runs are interleaved; figures are medians over the repetitions.
#
# Usage: bench/outputs_bench.sh [--quick] [--program PATH] [--sim PATH]
#            [--reps N] [--seconds S] [--runs "udp@30 tcp@30 ..."]
#   --runs      only these runs, CONFIG@RATE with CONFIG none, three, udp,
#               serial, tcp, mqtt or floor; no counts
#   --quick     5 s runs, one repetition (about a minute)
#   --program   the executable; default: the working tree built (Release) in
#               build-obench/, the simulator with it
# About four and a half minutes with the defaults (10 s runs, three
# repetitions). Every run's figures are kept in
# build-obench/outputs-bench-results.txt.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-obench
tools=$build/obench-tools

seconds=10 reps=3 program="" sim="" counts=1
runs="none@30 three@30 mqtt@30 floor@30 three@300 floor@300"
while [ $# -gt 0 ]; do
    case $1 in
    --quick) seconds=5 reps=1 ;;
    --program) program=$(realpath "$2") && shift ;;
    --sim) sim=$(realpath "$2") && shift ;;
    --reps) reps=$2 && shift ;;
    --seconds) seconds=$2 && shift ;;
    --runs) runs=$2 counts=0 && shift ;;
    *) sed -n '19,28p' "$0" >&2 && exit 2 ;;
    esac
    shift
done

bash "$root/scripts/deps.sh"
mkdir -p "$tools"
cc -O2 -Wall -Wextra -I"$root/bench/gui" -o "$tools/outprobe" "$root"/bench/outputs/{outprobe,outsinks}.c \
    "$root/bench/gui/schedstat.c" -lmosquitto -lpthread -lm
cc -O2 -Wall -Wextra -o "$tools/relay" "$root/bench/outputs/relay.c"
if [ -z "$program" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DSVT_BUILD_TESTS=OFF \
        -DSVT_BUILD_BENCH=OFF >/dev/null
    cmake --build "$build" -j"$(nproc)" --target svterminal instrument-sim >"$build/build.log" 2>&1 ||
        { tail -n 30 "$build/build.log" && exit 1; }
    program=$build/app/svterminal
    sim=${sim:-$build/tools/instrument-sim}
fi
sim=${sim:-$(dirname "$program")/../tools/instrument-sim}

tmp=$(mktemp -d /tmp/outbench.XXXXXX)
started=()
cleanup()
{
    local pid
    exec 5>&- 2>/dev/null || true
    for pid in ${started[@]+"${started[@]}"}; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

export XDG_RUNTIME_DIR=$tmp/run QT_QPA_PLATFORMTHEME=
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" >/dev/null 2>&1 &
started+=($!)
for _ in $(seq 100); do
    [ -s "$tmp/display" ] && break
    sleep 0.1
done
DISPLAY=":$(head -n1 "$tmp/display")"
export DISPLAY

# A broker of its own on a free loopback port, nothing kept on disk.
broker_port=$("$tools/outprobe" --free-port)
cat >"$tmp/mosquitto.conf" <<EOF
listener $broker_port 127.0.0.1
allow_anonymous true
persistence false
log_dest none
EOF
/usr/sbin/mosquitto -c "$tmp/mosquitto.conf" &
started+=($!)
for _ in $(seq 50); do
    (exec 3<>"/dev/tcp/127.0.0.1/$broker_port") 2>/dev/null && break
    sleep 0.1
done

# shellcheck source=bench/outputs/runs.sh
source "$root/bench/outputs/runs.sh"

echo "display $DISPLAY; program $program; $reps x ${seconds} s runs; broker on" \
    "127.0.0.1:$broker_port; load average $(cut -d' ' -f1-3 /proc/loadavg)"
for rep in $(seq "$reps"); do
    for run in $runs; do
        echo "repetition $rep: ${run%@*} at ${run#*@} lines/s"
        run_rate "${run%@*}" "${run#*@}"
    done
done
if [ "$counts" = 1 ]; then
    echo "counts: known spikes, out-of-range, malformed and junk lines"
    run_pattern
    echo "counts: the simulator with --garbage --malformed"
    run_simulator
fi

cp "$results" "$build/outputs-bench-results.txt"
# shellcheck source=bench/outputs/table.sh
source "$root/bench/outputs/table.sh"
print_tables
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
