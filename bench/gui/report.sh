# shellcheck shell=bash
# Sourced by bench/gui_bench.sh: medians of the runs as tables.
# Uses from the caller: results ("reader mode rep key value" lines), readers,
# modes, burst, seconds.

# value READER MODE KEY: the median over the repetitions, or "-".
value()
{
    awk -v r="$1" -v m="$2" -v k="$3" '$1 == r && $2 == m && $4 == k {print $5}' "$results" |
        sort -g | awk '{v[NR] = $1}
            END {
                if (NR == 0) print "-"
                else if (NR % 2) print v[(NR + 1) / 2]
                else printf "%.4g\n", (v[NR / 2] + v[NR / 2 + 1]) / 2
            }'
}

# joined MODE KEY READER...: "a / b" over the readers.
joined()
{
    local mode=$1 key=$2 out="" r
    shift 2
    for r in "$@"; do
        out="$out${out:+ / }$(value "$r" "$mode" "$key")"
    done
    echo "$out"
}

report_tables()
{
    local gui=() r mode header="| lines/s |" rule="|---|" row
    for r in $readers; do
        [ "$r" = cat ] || gui+=("$r")
        header="$header $r CPU-s/1000 lines |" rule="$rule---|"
    done
    local names
    names=$(echo "${gui[*]}" | sed 's# # / #g')
    if [ ${#gui[@]} -gt 0 ]; then
        header="$header X CPU-s in the run, $names | ping p50 ms, $names |"
        header="$header ping p99 ms, $names | RSS MB, $names |"
        rule="$rule---|---|---|---|"
    fi
    echo
    echo "$header"
    echo "$rule"
    for mode in $modes; do
        local key=cpu_per_1000 label=$mode
        if [ "$mode" = burst ]; then
            key=catchup label="burst of $burst: catch-up s"
        elif [ "$mode" = rest ]; then
            key=cpu_ms_per_s label="at rest, pinged: CPU-ms/s"
        fi
        row="| $label |"
        for r in $readers; do
            row="$row $(value "$r" "$mode" "$key") |"
        done
        if [ ${#gui[@]} -gt 0 ]; then
            row="$row $(joined "$mode" x_cpu "${gui[@]}") | $(joined "$mode" ping_p50 "${gui[@]}") |"
            row="$row $(joined "$mode" ping_p99 "${gui[@]}") | $(joined "$mode" rss "${gui[@]}") |"
        fi
        echo "$row"
    done
    if [[ " $modes " == *" burst "* ]]; then
        row="| burst of $burst: CPU-s/1000 lines |"
        for r in $readers; do
            row="$row $(value "$r" burst cpu_per_1000) |"
        done
        echo "$row"
    fi
    report_checks
}

# The display check, and every run that did not go as planned.
report_checks()
{
    echo
    for r in $readers; do
        [[ $r == ours* ]] || continue
        local line="display check ($r, speed and temperature show the last line):"
        for mode in $modes; do
            line="$line $mode: $(awk -v r="$r" -v m="$mode" '$1 == r && $2 == m && $4 == "display" {
                printf "%s%s", (n++ ? "," : ""), $5 }' "$results")"
        done
        echo "$line"
    done
    awk -v s="$seconds" '
        $4 == "failed" { print "  " $1 " at " $2 ", run " $3 ": the port did not open" }
        $4 == "unread" && $5 != 0 { print "  " $1 " at " $2 ", run " $3 ": " $5 " bytes left unread" }
        $4 == "idle" && $5 != "yes" { print "  " $1 " at " $2 ", run " $3 ": never went idle" }
        $4 == "dialogs" && $5 > 0 { print "  " $1 " at " $2 ", run " $3 ": a dialog was open at the end" }
        $4 == "cpu_wait" && $5 > 1 {
            print "  " $1 " at " $2 ", run " $3 ": waited " $5 " s for a CPU (other load)" }
        $2 ~ /^[0-9]/ && $4 == "write_s" && $5 > s * 1.05 {
            printf "  %s at %s, run %s: the writer was held back, %.1f s for %d s of lines\n",
                $1, $2, $3, $5, s }
        $2 ~ /^[0-9]/ && $4 == "catchup" && $5 > s + 0.5 {
            printf "  %s at %s, run %s: still reading %.1f s after the last line was due\n",
                $1, $2, $3, $5 - s }' "$results" | sed '1i notes:' | grep . || true
}
