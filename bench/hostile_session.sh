#!/usr/bin/env bash
# A hostile long session of the real program, as an unattended station runs
# it (--port --open --output ... --mqtt ... --record), on a virtual display:
#   - the instrument simulator at the port's link in runs of 10 to 50 s with
#     garbage, malformed lines and lines in pieces now and then, some runs
#     deep or out of range (spikes and range flags), unplugged for 2 to 6 s
#     between runs;
#   - outputs to UDP and a serial pseudo-terminal (json) and a TCP client
#     (sv3), every sentence recorded; MQTT to a broker of its own, every
#     message recorded, the broker stopped for a few seconds half-way;
#   - twice, 发送配置 clicked and the device unplugged a fraction of a second
#     later, mid-exchange;
#   - resident memory and CPU sampled every 30 s, other windows looked for.
# At the end SIGTERM closes the program, and bench/hostile/check.py compares
# the recording, the CSV log, the outputs and the broker's messages with
# what the simulator sent: a table of figures and PASS/FAIL lines; the exit
# status is non-zero on a FAIL.
#
# Usage: bench/hostile_session.sh [--minutes M] [--rate N] [--seed S] [--keep]
#   defaults: 20 minutes at 300 lines/s, the seed from the clock; --keep
#   leaves the session's files in /tmp/hostile_session.* afterwards.
#   Uses the Release build of gui_bench.sh (build-guibench/) if there is one,
#   else builds one in build-hostile/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
minutes=20 rate=300 seed=$(($(date +%s) % 32768)) keep=0
while [ $# -gt 0 ]; do
    case $1 in
    --minutes) minutes=$2 && shift ;;
    --rate) rate=$2 && shift ;;
    --seed) seed=$2 && shift ;;
    --keep) keep=1 ;;
    *) sed -n '19,23p' "$0" >&2 && exit 2 ;;
    esac
    shift
done

# --- the program, the simulator and the helpers ------------------------------
bash "$root/scripts/deps.sh"
if [ -x "$root/build-guibench/app/svterminal" ]; then
    build=$root/build-guibench
else
    build=$root/build-hostile
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DSVT_BUILD_TESTS=OFF \
        -DSVT_BUILD_BENCH=OFF -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
        -DCMAKE_C_COMPILER_LAUNCHER=ccache >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target svterminal instrument-sim >"$build/hostile-build.log" 2>&1 ||
    { tail -n 30 "$build/hostile-build.log" && exit 1; }
program=$build/app/svterminal
sim=$build/tools/instrument-sim
tools=$build/hostile-tools
mkdir -p "$tools"
cc -O2 -Wall -Wextra -o "$tools/mqttrec" "$root/bench/hostile/mqttrec.c" -lmosquitto
cc -O2 -Wall -Wextra -o "$tools/wmping" "$root/bench/gui/wmping.c" -lX11

tmp=$(mktemp -d /tmp/hostile_session.XXXXXX)
started=() sim_pid="" broker_pid="" app=""
cleanup()
{
    local pid
    [ -n "$sim_pid" ] && kill -CONT "$sim_pid" 2>/dev/null
    for pid in $sim_pid $app $broker_pid ${started[@]+"${started[@]}"}; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    if [ "$keep" = 1 ]; then echo "session files kept in $tmp"; else rm -rf "$tmp"; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/.config XDG_RUNTIME_DIR=$tmp/run
export QT_QPA_PLATFORMTHEME=
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$tmp/rec" "$tmp/sinks" && chmod 700 "$XDG_RUNTIME_DIR"
# shellcheck source=scripts/xvfb.sh
source "$root/scripts/xvfb.sh"
start_xvfb
started+=("$xvfb_pid")

tick() { now=$((${EPOCHREALTIME/./} / 1000)); }

# --- a broker of its own on a free loopback port, nothing kept on disk -------
broker_port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat >"$tmp/mosquitto.conf" <<EOF
listener $broker_port 127.0.0.1
allow_anonymous true
persistence false
log_dest none
EOF
start_broker()
{
    /usr/sbin/mosquitto -c "$tmp/mosquitto.conf" &
    broker_pid=$!
    for _ in $(seq 100); do
        (exec 3<>"/dev/tcp/127.0.0.1/$broker_port") 2>/dev/null && return 0
        sleep 0.05
    done
    echo "the broker did not start" >&2
    return 1
}
start_broker
"$tools/mqttrec" "$broker_port" 'sv/hostile/#' >"$tmp/mqtt.log" &
started+=($!)

# --- the receivers, then the program ------------------------------------------
python3 "$root/bench/hostile/sinks.py" "$tmp/sinks" >"$tmp/sinks.out" &
started+=($!)
sink_value() { awk -v k="$1" '$1 == k {print $2}' "$tmp/sinks.out"; }
for _ in $(seq 100); do
    [ -n "$(sink_value serial)" ] && break
    sleep 0.05
done
device=$tmp/ttySV
(cd "$tmp" && exec "$program" --port "$device" --open --record "$tmp/rec" \
    --output "udp:127.0.0.1:$(sink_value udp):json" --output "tcp:$(sink_value tcp):sv3" \
    --output "serial:$(sink_value serial):115200:json" \
    --mqtt "127.0.0.1:$broker_port" --station hostile) >"$tmp/program.log" 2>&1 &
app=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$app" 2>/dev/null | head -n1)
[ -n "$window" ] || { echo "the program's window did not come" >&2 && exit 1; }
for _ in $(seq 300); do
    grep -q "tcp connected" "$tmp/sinks.out" && break
    sleep 0.1
done
grep -q "tcp connected" "$tmp/sinks.out" || { echo "the TCP output did not take the client" >&2 && exit 1; }
"$tools/wmping" "$window" --interval-ms 250 >"$tmp/ping.session" &
ping_pid=$!
started+=("$ping_pid")
# 发送配置, window-relative (the window is 800 x 650).
send_config_xy="479 374"

# --- what the program is put through ----------------------------------------------
RANDOM=$seed
tick
t0=$now session_end=$((now + minutes * 60000))
next_sample=$now
broker_stop_at=$((now + minutes * 30000)) broker_start_at=0
config_at=("$((now + minutes * 18000))" "$((now + minutes * 39000))")
run=0 state=gap gap_until=$now run_kind="" click_at=0 stop_at=0
: >"$tmp/runs.tsv"
echo "seed $seed; $minutes min at $rate lines/s; display $DISPLAY; broker on 127.0.0.1:$broker_port; program $program"

# Visible windows besides the main one, and whether they are modal.
check_windows()
{
    local w name modal
    for w in $(xdotool search --onlyvisible --pid "$app" 2>/dev/null); do
        [ "$w" = "$window" ] && continue
        name=$(xdotool getwindowname "$w" 2>/dev/null || true)
        modal=plain
        xprop -id "$w" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_MODAL && modal=modal
        printf '%s\t%s\t%s\t%s\n' "$now" "$w" "$name" "$modal" >>"$tmp/windows.tsv"
    done
}

sample()
{
    local rss cpu
    rss=$(awk '/^VmRSS/ {print $2}' "/proc/$app/status")
    cpu=$(sed 's/.*) //' "/proc/$app/stat" | awk '{print $12 + $13}')
    echo "$(((now - t0) / 1000)) $now $rss $cpu" >>"$tmp/samples.tsv"
    awk -v t=$((now - t0)) -v r="$rss" -v c="$cpu" -v hz="$(getconf CLK_TCK)" -v n="$run" \
        'BEGIN { printf "%5.1f min  %6.1f MB  %7.1f CPU-s  run %d\n", t / 60000, r / 1024, c / hz, n }'
    check_windows
}

# start_run KIND: a new device at the link. A config run goes until 发送配置
# has been clicked; the others hang up after their lines.
start_run()
{
    local args=() seconds depth=0
    run=$((run + 1)) run_kind=$1 run_start=$now
    seconds=$((10 + RANDOM % 41))
    [ "$1" = final ] && seconds=8
    ((RANDOM % 2)) && args+=(--garbage)
    ((RANDOM % 2)) && args+=(--malformed)
    # In pieces the line's last bytes may still be in flight when a config
    # run or the final one is stopped from outside.
    [ "$1" = plain ] && ((RANDOM % 10 < 3)) && args+=(--split)
    # Deep water: a jump in range (spikes), or out of range; the second and
    # the fourth run for sure, then now and then.
    local water=$((RANDOM % 20))
    [ "$run" = 2 ] && water=3
    [ "$run" = 4 ] && water=0
    case $water in
    0 | 1 | 2) depth=$((3000 + RANDOM % 1000)) ;;
    3 | 4) depth=$((7000 + RANDOM % 2000)) ;;
    esac
    args+=(--depth "$depth" --temperature $((2 + RANDOM % 25)))
    if [ "$1" = plain ]; then
        args+=(--hangup-after $((seconds * rate)))
    else
        click_at=$((now + 6000 + RANDOM % 6000)) stop_at=0
    fi
    rm -f "$device"
    "$sim" --link "$device" --rate "$rate" --seed "$((seed * 1000 + run))" --copy "$tmp/copy.$run" \
        "${args[@]}" >"$tmp/sim.$run.out" 2>"$tmp/sim.$run.err" &
    sim_pid=$!
    run_flags="${args[*]}"
    state=plugged
}

end_run()
{
    wait "$sim_pid" 2>/dev/null || true
    sim_pid=""
    tick
    printf '%s\t%s\t%s\t%s\t%s\n' "$run" "$run_start" "$now" "$run_kind" "$run_flags" >>"$tmp/runs.tsv"
    state=gap gap_until=$((now + 2000 + RANDOM % 4001))
}

# An unplug from outside: the device first falls silent (what it sent is
# read), then goes.
pull_device()
{
    kill -STOP "$sim_pid"
    sleep 0.3
    kill -TERM "$sim_pid"
    kill -CONT "$sim_pid"
    end_run
}

while :; do
    tick
    if ((now >= next_sample)); then
        sample
        next_sample=$((next_sample + 30000))
    fi
    if ((broker_stop_at && now >= broker_stop_at)); then
        kill "$broker_pid" 2>/dev/null || true
        wait "$broker_pid" 2>/dev/null || true
        tick
        echo "stopped $now" >>"$tmp/broker.tsv"
        broker_stop_at=0 broker_start_at=$((now + 3000 + RANDOM % 3000))
        echo "broker stopped"
    elif ((broker_start_at && now >= broker_start_at)); then
        start_broker
        tick
        echo "started $now" >>"$tmp/broker.tsv"
        broker_start_at=0
        echo "broker started again"
    fi
    kill -0 "$app" 2>/dev/null || { echo "the program ended during the session" >&2 && exit 1; }
    case $state in
    plugged)
        if [ "$run_kind" = config ]; then
            if ((stop_at == 0 && now >= click_at)); then
                # shellcheck disable=SC2086
                xdotool mousemove --window "$window" $send_config_xy click 1
                stop_at=$((now + 150 + RANDOM % 500))
                echo "run $run: 发送配置 clicked, unplugged $((stop_at - now)) ms later"
            elif ((stop_at && now >= stop_at)); then
                pull_device
            fi
        elif [ "$run_kind" = final ]; then
            ((now - run_start >= 8000)) && break
        elif ! kill -0 "$sim_pid" 2>/dev/null; then
            end_run
        fi
        ;;
    gap)
        if ((now >= gap_until)); then
            if ((now >= session_end)); then
                start_run final
            elif ((${#config_at[@]} && now >= config_at[0])); then
                config_at=("${config_at[@]:1}")
                start_run config
            else
                start_run plain
            fi
        fi
        ;;
    esac
    sleep 0.1
done

# --- the end: the device still there, the program still in its session ------
tick
sample
check_windows
{
    echo "windows_at_end $(xdotool search --onlyvisible --pid "$app" 2>/dev/null | grep -vxc "$window" || true)"
    names=""
    for w in $(xdotool search --onlyvisible --pid "$app" 2>/dev/null | grep -vx "$window" || true); do
        names+="$(xdotool getwindowname "$w" 2>/dev/null); "
    done
    echo "windows_at_end_names $names"
    echo "window_name $(timeout 5 xdotool getwindowname "$window" 2>/dev/null || true)"
    echo "status_before $("$tools/mqttrec" "$broker_port" sv/hostile/status --retained)"
    echo "clk_tck $(getconf CLK_TCK)"
} >>"$tmp/end.txt"
kill -TERM "$ping_pid" 2>/dev/null || true
wait "$ping_pid" 2>/dev/null || true
"$tools/wmping" "$window" --interval-ms 100 >"$tmp/ping.end" &
ping_pid=$!
sleep 2
kill -TERM "$ping_pid" 2>/dev/null || true
wait "$ping_pid" 2>/dev/null || true
echo "ping_session $(cat "$tmp/ping.session")" >>"$tmp/end.txt"
echo "ping_end $(cat "$tmp/ping.end")" >>"$tmp/end.txt"

# The device falls silent, then the program is closed as the desktop closes it.
kill -STOP "$sim_pid"
sleep 0.5
tick
sample
closing=$now
kill -TERM "$app"
status=""
for _ in $(seq 300); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.05
done
if kill -0 "$app" 2>/dev/null; then
    kill -KILL "$app"
    status=killed
fi
wait "$app" 2>/dev/null && status=${status:-0} || status=${status:-$?}
app=""
tick
echo "exit $status" >>"$tmp/end.txt"
echo "exit_s $(((now - closing) / 1000)).$(((now - closing) % 1000 / 100))" >>"$tmp/end.txt"
kill -TERM "$sim_pid"
kill -CONT "$sim_pid"
end_run
sleep 1
echo "status_after $("$tools/mqttrec" "$broker_port" sv/hostile/status --retained)" >>"$tmp/end.txt"
for pid in ${started[@]+"${started[@]}"}; do
    [ "$pid" = "$xvfb_pid" ] && continue
    kill -TERM "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
done
started=("$xvfb_pid")

echo
python3 "$root/bench/hostile/check.py" "$tmp"
