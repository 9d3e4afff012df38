#!/usr/bin/env bash
# Builds the program and the simulators, and starts the program with the
# instrument simulator attached and the GNSS simulator as its navigation
# input. Without a display it runs on a virtual one, opens the port as an
# operator would, checks that the program reads the instrument and stamps the
# readings with the simulated position, and saves screenshots of the live
# window, its trend and its map. Exits non-zero if anything did not come up.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
title="声速仪显示配置终端V1.0"
die() { echo "run.sh: $*" >&2; exit 1; }

bash "$root/scripts/deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target svterminal instrument-sim gnss-sim
source "$root/scripts/xvfb.sh"

# As root, link the simulator at /dev/COM1 so the default port choice works.
# A link left by a killed simulator points into /dev/pts at nothing: remove
# only such a dangling link, never anything else.
link_args=()
if [ "$(id -u)" -eq 0 ]; then
    if [ -L /dev/COM1 ] && [ ! -e /dev/COM1 ] && [[ "$(readlink /dev/COM1)" == /dev/pts/* ]]; then
        rm -f /dev/COM1
    fi
    [ -e /dev/COM1 ] || [ -L /dev/COM1 ] || link_args=(--link /dev/COM1)
fi
sim_out=$(mktemp)
sim_err=$(mktemp)
"$build/tools/instrument-sim" "${link_args[@]}" >"$sim_out" 2>"$sim_err" &
sim_pid=$!
# A vessel at 10 knots turning slowly, so the map draws a curve within a minute.
gnss_out=$(mktemp)
"$build/tools/gnss-sim" --rate 2 --speed 10 --turn 2 >"$gnss_out" 2>/dev/null &
gnss_pid=$!
record_dir=$(mktemp -d)
cleanup() {
    kill "$sim_pid" "$gnss_pid" 2>/dev/null || true
    wait "$sim_pid" "$gnss_pid" 2>/dev/null || true
    stop_xvfb
    rm -rf "$sim_out" "$sim_err" "$gnss_out" "$record_dir"
}
trap cleanup EXIT
for _ in $(seq 50); do
    [ -s "$sim_out" ] && [ -s "$gnss_out" ] && break
    kill -0 "$sim_pid" 2>/dev/null && kill -0 "$gnss_pid" 2>/dev/null || break
    sleep 0.1
done
port=$(head -n1 "$sim_out")
[ -n "$port" ] || die "the simulator did not start: $(cat "$sim_err")"
gnss_port=$(head -n1 "$gnss_out")
[ -n "$gnss_port" ] || die "the GNSS simulator did not start"
[ ${#link_args[@]} -gt 0 ] && port_hint="COM1 (linked to $port)" || port_hint="$port"

if { [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; } || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    echo "Simulated instrument on $port_hint: choose it as the port and click 打开串口."
    echo "Simulated GNSS receiver on $gnss_port, read with --nav: see the 地图 tab."
    "$build/app/svterminal" --nav "serial:$gnss_port"
    exit 0
fi

echo "No display: running on a virtual display."
start_xvfb
# From the defaults, whatever an earlier run remembered.
"$build/app/svterminal" --defaults --nav "serial:$gnss_port" --record "$record_dir" >/dev/null 2>&1 &
app_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name "$title" | head -n1) ||
    die "the program's window did not appear"
sleep 1
if [ ${#link_args[@]} -eq 0 ]; then
    # Type the simulator's port into the port choice.
    xdotool mousemove --window "$window" 150 53 click --repeat 3 1
    xdotool key --window "$window" ctrl+a
    xdotool type --window "$window" "$port"
fi
xdotool mousemove --window "$window" 113 221 click 1
# Live: the simulator has a host, and still has it once the readings flow.
for _ in $(seq 50); do
    grep -q "host connected" "$sim_err" && break
    sleep 0.1
done
sleep 3
grep -q "host connected" "$sim_err" && ! grep -q "host disconnected" "$sim_err" ||
    die "the program did not open the simulator's port $port_hint"
kill -0 "$app_pid" 2>/dev/null || die "the program ended"
shot=$build/screenshot.png
import -window root -crop 800x650+0+0 "$shot"
# The trend tab, a few more seconds into the stream.
xdotool mousemove --window "$window" 123 446 click 1
sleep 4
trend_shot=$build/screenshot-trend.png
import -window root -crop 800x650+0+0 "$trend_shot"
# The map tab, after the outputs.
xdotool mousemove --window "$window" 239 446 click 1
sleep 2
map_shot=$build/screenshot-map.png
import -window root -crop 800x650+0+0 "$map_shot"
kill "$app_pid" 2>/dev/null || true
wait "$app_pid" 2>/dev/null || true
# The log's rows carry the position (latitude is the tenth column).
log=$(find "$record_dir" -name '*.csv' | head -n1)
[ -n "$log" ] && awk -F, 'NR > 1 && $10 != "" { found = 1 } END { exit !found }' "$log" ||
    die "the readings were not stamped with the GNSS simulator's position"
echo "Simulated instrument on $port_hint, GNSS on $gnss_port; screenshots of the live window:" \
    "$shot, $trend_shot, $map_shot"
