# shellcheck shell=bash
# Sourced by bench/gui_bench.sh: the instrument writer, the readers (this
# program, also with a GNSS receiver, cutecom, floor, cat) and the check of
# the program's displays.
# Uses from the caller: tools, tmp, program, gnss_sim, nav, title, xvfb_pid,
# track, untrack.

# The open button of cutecom 0.51, window-relative; its window has no other
# way to open the port at start.
cutecom_open_xy="50 43"
# The status area's second tab, "趋势与质量", window-relative; --trend clicks
# it after opening the port. Empty for a program without it.
trend_tab_xy="116 445"

# start_writer ARGS...: a fresh instrument; sets port, writer_pid, writer_out.
start_writer()
{
    writer_out=$tmp/writer.out
    rm -f "$tmp/writer.ctl" "$writer_out"
    mkfifo "$tmp/writer.ctl"
    "$tools/ptywriter" "$@" <"$tmp/writer.ctl" >"$writer_out" &
    writer_pid=$!
    track "$writer_pid"
    exec 5>"$tmp/writer.ctl"
    port=""
    for _ in $(seq 100); do
        port=$(awk '$1 == "port" {print $2}' "$writer_out")
        [ -n "$port" ] && return 0
        sleep 0.05
    done
    echo "the instrument writer did not start" >&2
    return 1
}

# Standard input ending is the writer's cue to close the port and go.
stop_writer()
{
    exec 5>&-
    wait "$writer_pid" 2>/dev/null || true
    untrack "$writer_pid"
}

writer_value() { awk -v k="$1" '$1 == k {print $2}' "$writer_out"; }

# wait_writer KEY: until the writer has printed KEY (it waits for the reader
# to go idle itself, within its own time limit).
wait_writer()
{
    while ! grep -qx "$1.*" "$writer_out"; do
        kill -0 "$writer_pid" 2>/dev/null || return 1
        sleep 0.05
    done
}

# Until PID has the port open, or 20 s.
wait_port_open()
{
    local fd
    for _ in $(seq 200); do
        for fd in /proc/"$1"/fd/*; do
            [ "$(readlink "$fd" 2>/dev/null)" = "$port" ] && return 0
        done
        sleep 0.1
    done
    return 1
}

find_window()
{
    timeout 20 xdotool search --sync --onlyvisible --pid "$1" 2>/dev/null | head -n1
}

# start_reader NAME: starts it on $port and has it read; sets reader_pid and
# reader_win (empty for cat).
start_reader()
{
    reader_win=""
    case $1 in
    cat)
        cat "$port" >/dev/null &
        reader_pid=$!
        track "$reader_pid"
        wait_port_open "$reader_pid"
        return
        ;;
    floor)
        (cd "$tmp" && exec "$tools/floor" "$port") >>"$tmp/floor.log" 2>&1 &
        reader_pid=$!
        ;;
    cutecom)
        write_cutecom_config
        (cd "$tmp" && exec env LD_PRELOAD="$tools/modemshim.so" cutecom) >>"$tmp/cutecom.log" 2>&1 &
        reader_pid=$!
        ;;
    ours | ours_trend)
        # Compared with the receiver, both start from the defaults.
        local args=()
        [ "${nav:-0}" = 1 ] && args=(--defaults)
        (cd "$tmp" && exec "$program" "${args[@]}") >>"$tmp/ours.log" 2>&1 &
        reader_pid=$!
        ;;
    ours_nav)
        start_gnss || return 1
        (cd "$tmp" && exec "$program" --defaults --nav "serial:$gnss_port") >>"$tmp/ours.log" 2>&1 &
        reader_pid=$!
        ;;
    esac
    track "$reader_pid"
    reader_win=$(find_window "$reader_pid")
    [ -n "$reader_win" ] || return 1
    sleep 1
    if [ "$1" = floor ]; then
        wait_port_open "$reader_pid" && sleep 0.5
        return
    fi
    if [ "$1" = cutecom ]; then
        # shellcheck disable=SC2086
        xdotool mousemove --window "$reader_win" $cutecom_open_xy click 1
        wait_port_open "$reader_pid" && sleep 0.5
        return
    fi
    # As an operator: type the port into the port choice, then open it.
    xdotool mousemove --window "$reader_win" 150 53 click --repeat 3 1
    xdotool key --window "$reader_win" ctrl+a
    xdotool type --window "$reader_win" "$port"
    xdotool mousemove --window "$reader_win" 113 221 click 1
    wait_port_open "$reader_pid" || return 1
    # It settles for a second before it starts reading.
    sleep 2
    if [ "$1" = ours_trend ]; then
        # shellcheck disable=SC2086
        xdotool mousemove --window "$reader_win" $trend_tab_xy click 1
        sleep 0.5
    fi
}

write_cutecom_config()
{
    mkdir -p "$HOME/.config/CuteCom"
    cat >"$HOME/.config/CuteCom/CuteCom5.conf" <<EOF
[sessions]
1\\BaudRate=115200
1\\DataBits=8
1\\Device=$port
1\\FlowControl=0
1\\OpenMode=3
1\\Parity=0
1\\StopBits=1
1\\autoReconnect=false
1\\name=Default
1\\showCtrlCharacters=false
1\\showTimestamp=false
size=1
EOF
}

# A serial program that is ended leaves its port lock behind.
remove_lock_of()
{
    local lock
    for lock in /run/lock/LCK..pts_*; do
        [ -f "$lock" ] && [ "$(head -n1 "$lock")" = "$1" ] && rm -f "$lock"
    done
    return 0
}

# A GNSS receiver at 10 epochs a second (GGA, RMC, ZDA) on a pseudo-terminal;
# sets gnss_pid and gnss_port.
start_gnss()
{
    "$gnss_sim" --rate 10 --speed 8 --turn 1 >"$tmp/gnss.out" 2>/dev/null &
    gnss_pid=$!
    track "$gnss_pid"
    for _ in $(seq 100); do
        gnss_port=$(head -n1 "$tmp/gnss.out")
        [ -n "$gnss_port" ] && return 0
        sleep 0.05
    done
    echo "gnss-sim did not start" >&2
    return 1
}

# Asks the window to close, so the port and its lock are let go in order;
# ends it if it does not (a modal dialog keeps it from closing).
stop_reader()
{
    [ -n "$reader_win" ] && "$tools/wmping" "$reader_win" --close 2>/dev/null
    for _ in $(seq 50); do
        kill -0 "$reader_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill "$reader_pid" 2>/dev/null || true
    wait "$reader_pid" 2>/dev/null || true
    remove_lock_of "$reader_pid"
    untrack "$reader_pid"
    if [ -n "${gnss_pid:-}" ]; then
        kill "$gnss_pid" 2>/dev/null || true
        wait "$gnss_pid" 2>/dev/null || true
        untrack "$gnss_pid"
        gnss_pid=""
    fi
}

# Visible windows besides the main one: a message box the reader put up.
dialog_count()
{
    [ -n "$reader_win" ] || { echo 0 && return; }
    xdotool search --onlyvisible --pid "$reader_pid" 2>/dev/null | grep -vxc "$reader_win" || true
}

rss_mb() { awk '/^VmRSS/ {printf "%.1f", $2 / 1024}' "/proc/$1/status"; }

# window_shot FILE: the reader's window as it is on screen.
window_shot()
{
    eval "$(xdotool getwindowgeometry --shell "$reader_win")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$1"
}

# find_displays SHOT: the speed and temperature displays are the top and the
# bottom of the black boxes in the window's upper right.
find_displays()
{
    local boxes
    boxes=$(convert "$1" -fill white -fuzz 12% +opaque black -fill black -opaque black \
        -define connected-components:verbose=true \
        -define connected-components:area-threshold=2000 -connected-components 4 null: |
        awk -v w="$(identify -format %w "$1")" -v h="$(identify -format %h "$1")" '
            $NF ~ /\(0,0,0\)/ { split($2, g, /[x+]/); if (g[3] > w / 3 && g[4] < h / 2) print g[4], $2 }' |
        sort -n | awk '{print $2}')
    speed_box=$(echo "$boxes" | head -n1)
    temp_box=$(echo "$boxes" | tail -n1)
    [ "$(echo "$boxes" | grep -c .)" -ge 2 ]
}

# make_reference: a fresh instance that got only the last line; keeps its
# speed and temperature displays as the picture every run must end with.
make_reference()
{
    start_writer --burst 1
    start_reader ours || { echo "the program did not open the port" >&2; return 1; }
    echo "start $reader_pid" >&5
    wait_writer "done"
    window_shot "$tmp/reference.png"
    stop_reader
    stop_writer
    find_displays "$tmp/reference.png" || { echo "no displays found in the window" >&2; return 1; }
    convert "$tmp/reference.png" -crop "$speed_box" +repage "$tmp/ref-speed.png"
    convert "$tmp/reference.png" -crop "$temp_box" +repage "$tmp/ref-temp.png"
}

# check_displays: ok when speed and temperature show what the reference does.
check_displays()
{
    local part diff verdict=ok
    window_shot "$tmp/shot.png"
    for part in speed temp; do
        local box=${part}_box
        convert "$tmp/shot.png" -crop "${!box}" +repage "$tmp/shot-$part.png"
        diff=$(compare -metric AE "$tmp/shot-$part.png" "$tmp/ref-$part.png" null: 2>&1 || true)
        [ "$diff" = 0 ] || verdict=MISMATCH
    done
    echo "$verdict"
}
