#!/usr/bin/env bash
# Benchmarks the program as an operator runs it: on a virtual display, with an
# instrument on a pseudo-terminal sending lines at 30, 300 and 3000 lines/s
# and one burst of 100,000 lines, and silent for a while as the cost at rest.
# Against cutecom (a plain Qt serial terminal), floor (the least a Qt
# Widgets display can do: one label, redrawn at most ten times a second) and
# cat (no display at all), interleaved; medians of the repetitions. Measures CPU of the reader per
# 1000 lines, CPU of the X server, answers to the window manager's ping,
# resident memory, how long a burst takes to catch up, and that the displays
# end on the last line sent.
#
# Usage: bench/gui_bench.sh [--quick] [--program PATH] [--only ours|cutecom|floor|cat]
#            [--reps N] [--seconds S] [--rates "30 300"] [--burst N] [--trend] [--nav]
#   --quick     10 s runs, one repetition
#   --program   the executable to measure; default: the working tree, built
#               (Release) in build-guibench/
#   --burst     lines of the burst, 0 for none
#   --trend     50 lines/s with the status area's trend tab shown and hidden
#   --nav       30 lines/s and at rest, with and without gnss-sim at 10 Hz on a
#               pseudo-terminal as the navigation input (both from the defaults)
# Takes about 50 minutes with the defaults; --quick about 5. Every run's
# figures are kept in build-guibench/gui-bench-results.txt.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-guibench
tools=$build/gui-tools

seconds=60 reps=3 rates="30 300 3000" burst=100000 program="" only="" trend=0 nav=0
while [ $# -gt 0 ]; do
    case $1 in
    --quick) seconds=10 reps=1 ;;
    --program) program=$(realpath "$2") && shift ;;
    --only) only=$2 && shift ;;
    --reps) reps=$2 && shift ;;
    --seconds) seconds=$2 && shift ;;
    --rates) rates=$2 && shift ;;
    --burst) burst=$2 && shift ;;
    --trend) trend=1 ;;
    --nav) nav=1 ;;
    *) sed -n '11,20p' "$0" >&2 && exit 2 ;;
    esac
    shift
done

# shellcheck source=bench/gui/readers.sh
source "$root/bench/gui/readers.sh"
readers="ours cutecom floor cat"
if [ "$trend" = 1 ]; then
    [ -n "$trend_tab_xy" ] || { echo "--trend: the trend tab's position is not set yet" >&2 && exit 2; }
    readers="ours ours_trend" rates=50 burst=0
fi
if [ "$nav" = 1 ]; then
    readers="ours ours_nav" rates=30 burst=0
fi
case $only in
"") ;;
ours | cutecom | floor | cat) readers=$only ;;
*) echo "--only: one of ours, cutecom, floor, cat" >&2 && exit 2 ;;
esac

# --- set-up: packages, helpers, the program, a display ---------------------
bash "$root/scripts/deps.sh"
if [[ " $readers " == *" cutecom "* ]] && ! command -v cutecom >/dev/null; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get install -y -qq --no-install-recommends cutecom
fi
mkdir -p "$tools"
cc -O2 -Wall -Wextra -o "$tools/ptywriter" "$root"/bench/gui/{ptywriter,schedstat}.c
cc -O2 -Wall -Wextra -o "$tools/wmping" "$root/bench/gui/wmping.c" -lX11
cc -O2 -Wall -Wextra -shared -fPIC -o "$tools/modemshim.so" "$root/bench/gui/modemshim.c" -ldl
if [[ " $readers " == *" floor "* ]]; then
    # shellcheck disable=SC2046
    c++ -std=c++17 -O2 -fPIC -Wall -Wextra -o "$tools/floor" "$root/bench/gui/floor.cpp" \
        $(pkg-config --cflags --libs Qt5Widgets Qt5SerialPort)
fi
if [ -z "$program" ] && [[ " $readers " == *" ours"* ]]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DSVT_BUILD_TESTS=OFF \
        -DSVT_BUILD_BENCH=OFF >/dev/null
    cmake --build "$build" -j"$(nproc)" --target svterminal >"$build/build.log" 2>&1 ||
        { tail -n 30 "$build/build.log" && exit 1; }
    program=$build/app/svterminal
fi
if [ "$nav" = 1 ]; then
    # shellcheck disable=SC2046
    c++ -std=c++17 -O2 -fPIC -Wall -Wextra -o "$tools/readfloor" "$root/bench/gui/readfloor.cpp" \
        $(pkg-config --cflags --libs Qt5Widgets Qt5SerialPort)
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DSVT_BUILD_TESTS=OFF \
        -DSVT_BUILD_BENCH=OFF >/dev/null
    cmake --build "$build" -j"$(nproc)" --target gnss-sim >>"$build/build.log" 2>&1 ||
        { tail -n 30 "$build/build.log" && exit 1; }
    gnss_sim=$build/tools/gnss-sim
fi

tmp=$(mktemp -d /tmp/guibench.XXXXXX)
started=()
track() { started+=("$1"); }
untrack()
{
    local i
    for i in "${!started[@]}"; do
        [ "${started[$i]}" = "$1" ] && unset 'started[i]'
    done
    return 0
}
cleanup()
{
    local pid
    exec 5>&- 2>/dev/null || true
    for pid in ${started[@]+"${started[@]}"}; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        remove_lock_of "$pid"
    done
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

export HOME=$tmp/home XDG_RUNTIME_DIR=$tmp/run QT_QPA_PLATFORMTHEME=
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" >/dev/null 2>&1 &
xvfb_pid=$!
track "$xvfb_pid"
for _ in $(seq 100); do
    [ -s "$tmp/display" ] && break
    sleep 0.1
done
DISPLAY=":$(head -n1 "$tmp/display")"
export DISPLAY

# --- one run ---------------------------------------------------------------
results=$tmp/results
touch "$results"
record() { echo "$reader $mode $rep $1 $2" >>"$results"; }

# run_once READER MODE REP: MODE is a rate in lines/s, "burst" or "rest".
run_once()
{
    reader=$1 mode=$2 rep=$3
    local ping_pid="" ping_out=$tmp/ping.out
    if [ "$mode" = burst ]; then
        start_writer --burst "$burst" --max-wait 1800
    elif [ "$mode" = rest ]; then
        start_writer --silent "$rest_seconds"
    else
        start_writer --rate "$mode" --seconds "$seconds" --max-wait 1800
    fi
    if ! start_reader "$reader"; then
        echo "  $reader did not open the port" >&2
        record failed 1
        stop_reader
        stop_writer
        return 0
    fi
    # Pings would keep the reader from ever looking idle after a burst.
    if [ -n "$reader_win" ] && [ "$mode" != burst ]; then
        "$tools/wmping" "$reader_win" >"$ping_out" &
        ping_pid=$!
        track "$ping_pid"
    fi
    echo "start $reader_pid $xvfb_pid" >&5
    wait_writer written
    if [ -n "$ping_pid" ]; then
        kill "$ping_pid"
        wait "$ping_pid" || true
        untrack "$ping_pid"
        read -r _ _ _ _ _ p50 _ p99 _ <"$ping_out"
        record ping_p50 "$p50"
        record ping_p99 "$p99"
    fi
    wait_writer "done"
    local lines cpu
    lines=$(writer_value lines)
    cpu=$(writer_value cpu_ns.0)
    if [ "$mode" = rest ]; then
        record cpu_ms_per_s "$(awk -v c="$cpu" -v t="$(writer_value write_s)" 'BEGIN {printf "%.4g", c / 1e6 / t}')"
    else
        record cpu_per_1000 "$(awk -v c="$cpu" -v n="$lines" 'BEGIN {printf "%.4g", c / 1e9 / n * 1000}')"
    fi
    record x_cpu "$(awk -v c="$(writer_value cpu_ns.1)" 'BEGIN {printf "%.3f", c / 1e9}')"
    record catchup "$(writer_value catchup_s)"
    record write_s "$(writer_value write_s)"
    record cpu_wait "$(awk -v c="$(writer_value wait_ns)" 'BEGIN {printf "%.2f", c / 1e9}')"
    record unread "$(writer_value unread_bytes)"
    record idle "$(writer_value idle)"
    record rss "$(rss_mb "$reader_pid")"
    record dialogs "$(dialog_count)"
    if [[ $reader == ours* ]]; then
        record display "$(check_displays)"
    fi
    stop_reader
    stop_writer
}

# --- the runs, interleaved -------------------------------------------------
rest_seconds=$(awk -v s="$seconds" 'BEGIN {print (s < 20 ? s : 20)}')
modes="rest $rates"
[ "$burst" -gt 0 ] && modes="$modes burst"
echo "display $DISPLAY; program ${program:-none}; readers: $readers; $reps x ($modes)," \
    "${seconds} s a rate; load average $(cut -d' ' -f1-3 /proc/loadavg)"
if [[ " $readers " == *" ours"* ]]; then
    make_reference
    echo "speed display at $speed_box, temperature display at $temp_box"
fi
for rep in $(seq "$reps"); do
    for mode in $modes; do
        for reader in $readers; do
            echo "repetition $rep: $reader at $mode"
            run_once "$reader" "$mode" "$rep"
        done
    done
done

# shellcheck source=bench/gui/report.sh
source "$root/bench/gui/report.sh"
cp "$results" "$build/gui-bench-results.txt"
report_tables
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
