#!/usr/bin/env bash
# Installs the build to a temporary prefix, checks the files a desktop expects,
# starts the installed program on a virtual display and closes its window as
# a window manager would; then checks the Debian package.
# Usage: install_check.sh BUILD_DIR XCLOSE
set -euo pipefail
build=$1
xclose=$2
title="声速仪显示配置终端V1.0"
work=$(mktemp -d)
source "$(dirname "$0")/../scripts/xvfb.sh"
trap 'stop_xvfb; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
# Settings the program remembers go to a folder of the test's own.
export XDG_CONFIG_HOME=$work/config

cmake --install "$build" --prefix "$work/prefix" >/dev/null
for f in bin/svterminal bin/instrument-sim share/applications/svterminal.desktop \
         share/icons/hicolor/256x256/apps/svterminal.png; do
    [ -f "$work/prefix/$f" ] || fail "$f not installed"
done
desktop=$work/prefix/share/applications/svterminal.desktop
grep -qx 'Name=声速仪显示配置终端' "$desktop" || fail "desktop entry name"
grep -qx 'Exec=svterminal' "$desktop" || fail "desktop entry command"
grep -qx 'Icon=svterminal' "$desktop" || fail "desktop entry icon"
# The package is built meanwhile (most of its time is dpkg-shlibdeps).
(cd "$work" && cpack -B "$work/deb" --config "$build/CPackConfig.cmake" >/dev/null 2>&1) &
packing=$!

# A bad option stops the start with a message and status 2.
set +e
QT_QPA_PLATFORM=offscreen "$work/prefix/bin/svterminal" --output udp:host:70000 2>"$work/bad.err"
rc=$?
set -e
[ $rc -eq 2 ] && grep -q "70000" "$work/bad.err" || fail "bad option: status $rc"

# --help and --version print and exit 0; without a display a start says so
# in one line and exits 2, whether no display is named or it cannot be reached.
"$work/prefix/bin/svterminal" --version | grep -qx "svterminal [0-9.]*" || fail "--version"
"$work/prefix/bin/svterminal" --help | grep -q -- "--report" || fail "--help"
for display in "" ":97"; do
    set +e
    env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY="$display" "$work/prefix/bin/svterminal" \
        >/dev/null 2>"$work/nodisplay.err"
    rc=$?
    set -e
    [ $rc -eq 2 ] && [ "$(wc -l <"$work/nodisplay.err")" -eq 1 ] && grep -q "no display" "$work/nodisplay.err" ||
        fail "no display '$display': status $rc: $(cat "$work/nodisplay.err")"
done

# --report writes the PDF of a log without a window, and refuses a missing log.
{
    echo "time_utc,speed_m_s,temperature_c,average_m_s,quality,event,forwarded"
    for s in 10 11 12 13; do echo "2026-01-02T03:04:$s.000Z,1489.805,10.0449,,ok,,0"; done
} >"$work/night.csv"
env -u DISPLAY "$work/prefix/bin/svterminal" --report "$work/night.csv" --pdf "$work/night.pdf" \
    || fail "report: status $?"
pdftotext "$work/night.pdf" - | grep -q "声速测量报告" || fail "report lacks its title"
set +e
"$work/prefix/bin/svterminal" --report "$work/missing.csv" --pdf "$work/missing.pdf" 2>"$work/missing.err"
rc=$?
set -e
[ $rc -ne 0 ] && [ -s "$work/missing.err" ] || fail "report of a missing log: status $rc"

# On a real X server: the window appears at 800 x 650, and closing it ends
# the program with 0.
start_xvfb
unset QT_QPA_PLATFORM
"$work/prefix/bin/svterminal" 2>/dev/null &
app=$!
size=$("$xclose" 20 "$title") || fail "no window"
[ "$size" = "800 650" ] || fail "window size $size"
for _ in $(seq 100); do
    kill -0 $app 2>/dev/null || break
    sleep 0.1
done
kill -0 $app 2>/dev/null && { kill $app; fail "program still running after its window closed"; }
wait $app || fail "exit code $?"

# SIGTERM, as when the desktop session ends, with the port open: the program
# ends with 0 and releases the port's lock file.
"$work/prefix/bin/instrument-sim" --link "$work/instrument" \
    >"$work/sim.out" 2>"$work/sim.err" &
sim=$!
trap 'kill $sim 2>/dev/null; stop_xvfb; rm -rf "$work"' EXIT
"$work/prefix/bin/svterminal" 2>/dev/null &
app=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name "$title" | head -n1) || fail "no window"
sleep 0.5
xdotool mousemove --window "$window" 150 53 click --repeat 3 1 key ctrl+a type "$work/instrument"
xdotool mousemove --window "$window" 113 221 click 1
for _ in $(seq 50); do grep -q "host connected" "$work/sim.err" && break; sleep 0.1; done
grep -q "host connected" "$work/sim.err" || fail "the program did not open the port"
# The port is locked under the device the link leads to.
device=$(readlink -f "$work/instrument")
lock=$(ls /var/lock/LCK..*"$(basename "$device")" 2>/dev/null || true)
[ -n "$lock" ] || fail "no lock file for the open port"
kill -TERM $app
for _ in $(seq 50); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
kill -0 $app 2>/dev/null && { kill -9 $app; fail "still running after SIGTERM"; }
wait $app || fail "exit code $? after SIGTERM"
[ ! -e "$lock" ] || fail "lock file $lock left behind after SIGTERM"

# Unattended, offscreen: the port opened at start although the instrument
# comes after the first retries, recorded without a dialog into a new file
# with its log beside it, running until stopped.
mkdir "$work/rec"
QT_QPA_PLATFORM=offscreen "$work/prefix/bin/svterminal" --port "$work/late" --open \
    --record "$work/rec" 2>"$work/unattended.err" &
app=$!
sleep 1.5
"$work/prefix/bin/instrument-sim" --link "$work/late" --rate 50 >/dev/null 2>&1 &
late_sim=$!
rows=0
for _ in $(seq 100); do
    rows=$(grep -c ',ok,' "$work"/rec/sv_*.csv 2>/dev/null || true)
    [ "${rows:-0}" -ge 5 ] && break
    sleep 0.1
done
kill -TERM $app
wait $app || fail "unattended exit code $?"
kill $late_sim 2>/dev/null || true
wait $late_sim 2>/dev/null || true
[ "${rows:-0}" -ge 5 ] || fail "unattended recording: $rows log rows"
ls "$work"/rec/sv_*.txt >/dev/null 2>&1 && grep -q '^\$ ' "$work"/rec/sv_*.txt ||
    fail "unattended recording has no readings"
[ -s "$work/config/svterminal/svterminal.ini" ] || fail "settings not remembered"

# The Debian package carries the same files and asks for the Qt runtime.
wait $packing || fail "cpack: status $?"
deb=$(ls "$work"/deb/*.deb)
contents=$(dpkg-deb -c "$deb")
grep -q './usr/bin/svterminal$' <<<"$contents" || fail "package lacks the program"
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt5widgets5 libqt5serialport5 libqt5core5a; do
    grep -q "$p" <<<"$depends" || fail "package does not depend on $p"
done
echo "install check passed"
