# shellcheck shell=bash
# Sourced by bench/outputs_bench.sh: one run of the program with the probe.
# Uses from the caller: tools, tmp, program, sim, seconds, broker_port,
# started.

results=$tmp/results
touch "$results"
run_number=0
station=bench

# record RUN KEY VALUE: RUN names the configuration, e.g. "three@30".
record() { echo "$1 $rep $2 $3" >>"$results"; }

untrack()
{
    local i
    for i in "${!started[@]}"; do
        [ "${started[$i]}" = "$1" ] && unset 'started[i]'
    done
    return 0
}

# start_probe ARGS...: the probe, waiting for "start"; sets probe_pid.
start_probe()
{
    probe_out=$tmp/probe.out
    rm -f "$tmp/probe.ctl" "$probe_out"
    mkfifo "$tmp/probe.ctl"
    "$tools/outprobe" "$@" <"$tmp/probe.ctl" >"$probe_out" &
    probe_pid=$!
    started+=("$probe_pid")
    exec 5>"$tmp/probe.ctl"
    wait_probe waiting 10
}

probe_value() { awk -v k="$1" '$1 == k {print $2}' "$probe_out"; }

# wait_probe KEY SECONDS: until the probe has printed KEY.
wait_probe()
{
    local _
    for _ in $(seq $(($2 * 20))); do
        grep -qx "$1.*" "$probe_out" 2>/dev/null && return 0
        kill -0 "$probe_pid" 2>/dev/null || break
        sleep 0.05
    done
    echo "  the probe did not get to \"$1\": $(grep error "$probe_out" || true)" >&2
    return 1
}

stop_probe()
{
    exec 5>&-
    wait "$probe_pid" 2>/dev/null || true
    untrack "$probe_pid"
}

# start_program ARGS...: a fresh instance with settings of its own; sets
# program_pid.
start_program()
{
    run_number=$((run_number + 1))
    local home=$tmp/home.$run_number
    mkdir -p "$home"
    (cd "$tmp" && HOME=$home exec "$program" "$@") >>"$tmp/program.log" 2>&1 &
    program_pid=$!
    started+=("$program_pid")
}

# Until the program has PATH open, or 20 s.
wait_open()
{
    local fd _
    for _ in $(seq 200); do
        for fd in /proc/"$program_pid"/fd/*; do
            [ "$(readlink "$fd" 2>/dev/null)" = "$1" ] && return 0
        done
        sleep 0.1
    done
    return 1
}

# Closed as the desktop would close it, so the log is complete.
stop_program()
{
    local _
    kill -TERM "$program_pid" 2>/dev/null || true
    for _ in $(seq 100); do
        kill -0 "$program_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
    untrack "$program_pid"
}

# three_outputs: sets outputs to UDP to the probe, serial to its
# pseudo-terminal and a TCP server it connects to; each format keeps the
# speed's three decimals, by which the probe matches sentences to lines.
three_outputs()
{
    outputs=(--output "udp:127.0.0.1:$(probe_value udp):line"
        --output "serial:$(probe_value serial):115200:sv3" --output "tcp:$tcp_port:svt")
}

# run_rate CONFIG RATE: none, three, one of them (udp, serial, tcp) or mqtt,
# written at RATE lines/s; floor is the relay in the program's place.
run_rate()
{
    local config=$1 rate=$2 args=() outputs=() key sink
    tcp_port=$("$tools/outprobe" --free-port)
    case $config in
    three) args=(--udp --serial --tcp "$tcp_port") ;;
    mqtt) args=(--mqtt "$broker_port" --topic "sv/$station/reading") ;;
    floor | udp) args=(--udp) ;;
    serial) args=(--serial) ;;
    tcp) args=(--tcp "$tcp_port") ;;
    esac
    start_probe --rate "$rate" --seconds "$seconds" ${args[@]+"${args[@]}"}
    case $config in
    three) three_outputs ;;
    udp) outputs=(--output "udp:127.0.0.1:$(probe_value udp):line") ;;
    serial) outputs=(--output "serial:$(probe_value serial):115200:sv3") ;;
    tcp) outputs=(--output "tcp:$tcp_port:svt") ;;
    mqtt) outputs=(--mqtt "127.0.0.1:$broker_port" --station "$station") ;;
    esac
    if [ "$config" = floor ]; then
        "$tools/relay" "$(probe_value input)" "$(probe_value udp)" &
        program_pid=$!
        started+=("$program_pid")
    else
        start_program --port "$(probe_value input)" --open ${outputs[@]+"${outputs[@]}"}
    fi
    if wait_open "$(probe_value input)" && echo "start $program_pid" >&5 &&
        wait_probe done $((seconds + 60)); then
        record "${config}@$rate" cpu_per_1000 \
            "$(awk -v c="$(probe_value cpu_ns)" -v n="$(probe_value lines)" 'BEGIN {printf "%.4f", c / 1e9 / n * 1000}')"
        for sink in udp serial tcp mqtt; do
            for key in p50_ms p99_ms lost unexpected received; do
                [ -n "$(probe_value "$sink.$key")" ] &&
                    record "${config}@$rate" "$sink.$key" "$(probe_value "$sink.$key")"
            done
        done
    else
        record "${config}@$rate" failed 1
    fi
    stop_program
    stop_probe
}

# csv_counts DIR: "ok gated rows" of the CSV log the program wrote there.
csv_counts()
{
    local csv
    csv=$(find "$1" -name '*.csv' 2>/dev/null | head -n1)
    [ -n "$csv" ] || { echo "- - -" && return; }
    awk -F, 'NR > 1 && $2 != "" { rows++; if ($5 == "ok") ok++; else gated++ }
        END { print ok + 0, gated + 0, rows + 0 }' "$csv"
}

# record_counts RUN: what each output delivered and what the log says.
record_counts()
{
    local sink counts
    for sink in udp serial tcp; do
        record "$1" "$sink.received" "$(probe_value "$sink.received")"
    done
    counts=$(csv_counts "$tmp/rec.$run_number")
    record "$1" log_ok "${counts%% *}"
    counts=${counts#* }
    record "$1" log_gated "${counts%% *}"
}

# Known spikes, out-of-range readings, malformed and junk lines, recorded.
run_pattern()
{
    local outputs=()
    tcp_port=$("$tools/outprobe" --free-port)
    start_probe --pattern --rate 30 --seconds "$seconds" --udp --serial --tcp "$tcp_port"
    three_outputs
    mkdir -p "$tmp/rec.$((run_number + 1))"
    start_program --port "$(probe_value input)" --open "${outputs[@]}" \
        --record "$tmp/rec.$((run_number + 1))"
    if wait_open "$(probe_value input)" && echo "start $program_pid" >&5 &&
        wait_probe done $((seconds + 60)); then
        stop_program
        for key in lines expect_forwarded expect_gated expect_not_measurement; do
            record pattern "$key" "$(probe_value $key)"
        done
        record_counts pattern
    else
        stop_program
        record pattern failed 1
    fi
    stop_probe
}

# The simulator with garbage and malformed lines, recorded. The program
# waits for the simulator's port, so the probe's TCP client is in first.
run_simulator()
{
    local outputs=() sent lines=$((seconds * 30))
    tcp_port=$("$tools/outprobe" --free-port)
    start_probe --listen --udp --serial --tcp "$tcp_port"
    three_outputs
    mkdir -p "$tmp/rec.$((run_number + 1))"
    start_program --port "$tmp/sim-port" --open "${outputs[@]}" \
        --record "$tmp/rec.$((run_number + 1))"
    echo "start $program_pid" >&5
    if wait_probe ready 30 && timeout $((seconds + 60)) "$sim" --link "$tmp/sim-port" \
        --rate 30 --lines "$lines" --garbage --malformed --seed 7 >"$tmp/sim.out" 2>"$tmp/sim.err"; then
        echo stop >&5
        wait_probe done 30 || true
        stop_program
        # "sent N lines: V valid, M malformed", after the device's path
        read -r _ sent _ _ _ malformed _ < <(grep '^sent ' "$tmp/sim.out")
        record simulator lines "$sent"
        record simulator expect_not_measurement "$malformed"
        record_counts simulator
    else
        stop_program
        record simulator failed 1
    fi
    stop_probe
}
