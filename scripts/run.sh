#!/usr/bin/env bash
# Builds the program and starts it with the instrument simulator attached.
# Without a display it runs on a virtual one, opens the port as an operator
# would, and saves a screenshot of the live window.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
title="声速仪显示配置终端V1.0"

bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh" "$build"
source "$root/scripts/xvfb.sh"

# As root, link the simulator at /dev/COM1 so the default port choice works.
link_args=()
if [ "$(id -u)" -eq 0 ] && [ ! -e /dev/COM1 ]; then
    link_args=(--link /dev/COM1)
fi
sim_out=$(mktemp)
"$build/tools/instrument-sim" "${link_args[@]}" >"$sim_out" &
sim_pid=$!
cleanup() {
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
    stop_xvfb
    rm -f "$sim_out"
}
trap cleanup EXIT
for _ in $(seq 50); do
    [ -s "$sim_out" ] && break
    sleep 0.1
done
port=$(head -n1 "$sim_out")
[ ${#link_args[@]} -gt 0 ] && port_hint="COM1 (linked to $port)" || port_hint="$port"

if { [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; } || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    echo "Simulated instrument on $port_hint: choose it as the port and click 打开串口."
    "$build/app/svterminal"
    exit 0
fi

echo "No display: running on a virtual display."
start_xvfb
"$build/app/svterminal" >/dev/null 2>&1 &
app_pid=$!
window=$(xdotool search --sync --onlyvisible --name "$title" | head -n1)
sleep 1
if [ ${#link_args[@]} -eq 0 ]; then
    # Type the simulator's port into the port choice.
    xdotool mousemove --window "$window" 150 53 click --repeat 3 1
    xdotool key --window "$window" ctrl+a
    xdotool type --window "$window" "$port"
fi
xdotool mousemove --window "$window" 113 221 click 1
sleep 5
shot=$build/screenshot.png
import -window root -crop 800x650+0+0 "$shot"
kill "$app_pid" 2>/dev/null || true
wait "$app_pid" 2>/dev/null || true
echo "Simulated instrument on $port_hint; screenshot of the live window: $shot"
