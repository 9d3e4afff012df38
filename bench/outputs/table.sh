# shellcheck shell=bash
# Sourced by bench/outputs_bench.sh: the tables from $results, whose lines
# are "RUN REPETITION KEY VALUE".

# median RUN KEY: over the repetitions; "-" when there is none.
median()
{
    awk -v r="$1" -v k="$2" '$1 == r && $3 == k && $4 != "" {print $4}' "$results" | sort -g |
        awk '{v[NR] = $1} END {print NR ? v[int((NR + 1) / 2)] : "-"}'
}

# total RUN KEY: summed over the repetitions.
total() { awk -v r="$1" -v k="$2" '$1 == r && $3 == k {s += $4} END {print s + 0}' "$results"; }

value() { awk -v r="$1" -v k="$2" '$1 == r && $3 == k {v = $4} END {print v == "" ? "-" : v}' "$results"; }

# verdict VALUE GOAL: met when VALUE is at most GOAL.
verdict() { awk -v v="$1" -v g="$2" 'BEGIN {print (v != "-" && v + 0 <= g) ? "met" : "MISSED"}'; }

latency_table()
{
    local rate sink p50 p99 row lost
    echo "Latency, last byte in to sentence out, ms: medians over $reps runs of each run's median / p99"
    echo "| lines/s | UDP | serial | TCP | relay floor, UDP | UDP and TCP lost | serial short |"
    echo "|---|---|---|---|---|---|---|"
    for rate in 30 300; do
        row="| $rate |"
        for sink in udp serial tcp; do
            p50=$(median "three@$rate" "$sink.p50_ms") p99=$(median "three@$rate" "$sink.p99_ms")
            row="$row $p50 / $p99 ($(verdict "$p50" 1) / $(verdict "$p99" 5)) |"
        done
        row="$row $(median "floor@$rate" udp.p50_ms) / $(median "floor@$rate" udp.p99_ms) |"
        lost=0
        for sink in udp tcp; do
            lost=$((lost + $(total "three@$rate" "$sink.lost") + $(total "three@$rate" "$sink.unexpected")))
        done
        echo "$row $lost | $(total "three@$rate" serial.lost) of $(total "three@$rate" serial.received) |"
    done
}

cost_line()
{
    local none three
    none=$(median none@30 cpu_per_1000) three=$(median three@30 cpu_per_1000)
    [ "$none" != - ] || [ "$three" != - ] || return 0
    awk -v n="$none" -v t="$three" -v r="$reps" 'BEGIN {
        if (n == "-" || t == "-") { print "Cost: a run failed"; exit }
        d = (t / n - 1) * 100
        printf "Cost at 30 lines/s, CPU-s per 1000 lines (medians of %d): none %.3f, three outputs %.3f, %+.1f %% (%s)\n",
            r, n, t, d, d <= 10 ? "met" : "MISSED" }'
}

mqtt_line()
{
    local p50 p99 got
    p50=$(median mqtt@30 mqtt.p50_ms) p99=$(median mqtt@30 mqtt.p99_ms)
    got=$(total mqtt@30 mqtt.received)
    grep -q '^mqtt@30 ' "$results" || return 0
    if [ "$got" = 0 ]; then
        echo "MQTT: no message reached the broker's subscriber (publishing not wired in yet?)"
        return
    fi
    echo "MQTT at 30 lines/s, line to message, ms (medians of $reps): $p50 ($(verdict "$p50" 2))" \
        "/ p99 $p99 ($(verdict "$p99" 10)); lost $(total mqtt@30 mqtt.lost)," \
        "unexpected $(total mqtt@30 mqtt.unexpected)"
}

# counts_row RUN: lines in = forwarded + gated + not measurements, for each
# output, with forwarded = the log's ok rows. A serial output that is still
# busy keeps only the newest sentence, so it may fall short by design.
counts_row()
{
    local run=$1 lines ok gated not sink n fwd="" check=holds
    lines=$(value "$run" lines) ok=$(value "$run" log_ok) gated=$(value "$run" log_gated)
    not=$(value "$run" expect_not_measurement)
    if [ "$(value "$run" failed)" = 1 ] || [ "$lines" = - ] || [ "$not" = - ]; then
        echo "| $run | run failed | | | | | |"
        return
    fi
    if [ "$ok" = - ]; then
        # No log written: the gated readings are those sent as such.
        gated=$(value "$run" expect_gated)
        [ "$gated" = - ] && gated=0
        ok="no log"
    fi
    for sink in udp serial tcp; do
        n=$(value "$run" "$sink.received")
        fwd="$fwd${fwd:+ / }$n"
        if [ "$lines" -ne $((n + gated + not)) ] || { [ "$ok" != "no log" ] && [ "$n" -ne "$ok" ]; }; then
            if [ "$sink" = serial ] && [ "$lines" -gt $((n + gated + not)) ]; then
                check="$check; serial $((lines - n - gated - not)) short"
            else
                check="FAILS for $sink"
            fi
        fi
    done
    [ "$(value "$run" expect_gated)" = - ] || [ "$gated" -eq "$(value "$run" expect_gated)" ] ||
        check="FAILS: gated $gated, sent $(value "$run" expect_gated)"
    echo "| $run | $lines | $fwd | $ok | $gated | $not | $check |"
}

# Every run's median CPU, the lone outputs' too when they were run.
cost_by_run()
{
    local run line=""
    for run in $(awk '$3 == "cpu_per_1000" && $1 !~ /^floor/ {print $1}' "$results" | sort -u); do
        line="$line${line:+, }$run $(median "$run" cpu_per_1000)"
    done
    echo "CPU-s per 1000 lines by run (medians): $line"
}

print_tables()
{
    echo
    latency_table
    echo
    cost_line
    cost_by_run
    mqtt_line
    [ "$counts" = 1 ] || return 0
    echo
    echo "Counts (simulator: lines as it counts them, junk between lines not included)"
    echo "| run | lines in | forwarded UDP / serial / TCP | log ok | gated (log) | not measurements | in = fwd + gated + not, fwd = log ok |"
    echo "|---|---|---|---|---|---|---|"
    counts_row pattern
    counts_row simulator
}
