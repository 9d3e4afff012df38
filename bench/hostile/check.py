#!/usr/bin/env python3
"""Checks what a hostile session left in its folder (see hostile_session.sh)
and prints a table of figures and PASS/FAIL lines. Exit status 1 on a FAIL.

usage: check.py DIR
DIR holds: runs.tsv (one simulator run a line), sim.N.out and copy.N (its
summary and every byte its host got), rec/ (the program's recording and
CSV log), sinks/{udp,tcp,serial}.txt (sentences received), mqtt.log (every
message under sv/hostile/#), broker.tsv, samples.tsv, windows.tsv, end.txt.
"""
import bisect
import csv
import glob
import json
import os
import re
import sys
from collections import Counter

DIR = sys.argv[1]
failures = []
figures = []


def verdict(ok, what, detail=""):
    print(("PASS " if ok else "FAIL ") + what + (": " + detail if detail else ""))
    if not ok:
        failures.append(what)


def figure(name, value):
    figures.append((name, str(value)))


def path(*parts):
    return os.path.join(DIR, *parts)


def read_keys(name):
    values = {}
    if os.path.exists(path(name)):
        for line in open(path(name), encoding="utf-8", errors="replace"):
            key, _, value = line.rstrip("\n").partition(" ")
            values[key] = value
    return values


def utc_ms(text):
    """2026-12-08T10:00:00.125Z to milliseconds since the epoch."""
    from datetime import datetime, timezone
    stamp = datetime.strptime(text, "%Y-%m-%dT%H:%M:%S.%fZ").replace(tzinfo=timezone.utc)
    return round(stamp.timestamp() * 1000)


def clock(ms):
    from datetime import datetime, timezone
    return datetime.fromtimestamp(ms / 1000, timezone.utc).strftime("%H:%M:%S.%f")[:-3]


def speed_key(text):
    return round(float(text), 3)


# --- the session as the script ran it ---------------------------------------
runs = []
for line in open(path("runs.tsv")):
    index, start, end, kind, flags = line.rstrip("\n").split("\t")
    summary = open(path(f"sim.{index}.out")).read()
    match = re.search(r"sent (\d+) lines: (\d+) valid, (\d+) malformed", summary)
    sent, valid, malformed = map(int, match.groups()) if match else (0, 0, 0)
    copy_file = path(f"copy.{index}")
    copy = open(copy_file, "rb").read() if os.path.exists(copy_file) else b""
    runs.append(dict(index=int(index), start=int(start), end=int(end), kind=kind, flags=flags,
                     sent=sent, valid=valid, malformed=malformed, copy=copy))
unplugs = [r for r in runs if r["kind"] != "final"]
configs = [r for r in runs if r["kind"] == "config"]
end = read_keys("end.txt")
figure("simulator runs (unplugs)", f"{len(runs)} ({len(unplugs)})")
figure("configuration exchanges cut by an unplug", len(configs))
lines_sent = sum(r["sent"] for r in runs)
valid_sent = sum(r["valid"] for r in runs)
figure("lines sent: valid, malformed", f"{lines_sent}: {valid_sent}, "
       f"{sum(r['malformed'] for r in runs)}")
plugged_s = sum(r["end"] - r["start"] for r in runs) / 1000
figure("lines/s while plugged", f"{lines_sent / plugged_s:.0f}" if plugged_s else "-")

# --- the raw recording -------------------------------------------------------
recordings = [f for f in glob.glob(path("rec", "*.txt")) if not f.endswith(".lines.txt")]
logs = glob.glob(path("rec", "*.csv"))
verdict(len(recordings) == 1 and len(logs) == 1, "one recording and one CSV log",
        f"{len(recordings)} recordings, {len(logs)} logs")
raw = open(recordings[0], "rb").read() if recordings else b""
date_line = re.compile(rb"\d{4}_\d\d_\d\d_\d\d_\d\d_\d\d\r\n")
body = raw
if date_line.match(body):
    body = body[21:]
end_line = len(body) >= 21 and date_line.fullmatch(body[-21:]) is not None
if end_line:
    body = body[:-21]
copy = b"".join(r["copy"] for r in runs)
figure("raw recording: bytes, end date line", f"{len(raw)}, {'yes' if end_line else 'no'}")


def first_difference(a, b):
    for i in range(min(len(a), len(b))):
        if a[i] != b[i]:
            return i
    return min(len(a), len(b))


if body == copy:
    verdict(True, "raw recording holds every byte the host got",
            f"{len(copy)} bytes in {len(runs)} runs")
else:
    details = [f"recording {len(body)} bytes, simulator copies {len(copy)}"]
    offset = 0
    for r in runs:
        part = r["copy"]
        here = body[offset:offset + len(part)]
        if here != part:
            at = first_difference(here, part)
            details.append(
                f"run {r['index']} (copy offset {sum(len(x['copy']) for x in runs[:runs.index(r)]) + at}, "
                f"recording offset {21 + offset + at}): recording {body[offset + at:offset + at + 40]!r}, "
                f"host got {part[at:at + 40]!r}")
            found = body.find(part[at:at + 64], offset)
            if found < 0:
                break
            offset = found - at
        offset += len(part)
    verdict(False, "raw recording holds every byte the host got", "; ".join(details[:6]))

# --- the CSV log -------------------------------------------------------------
rows = list(csv.DictReader(open(logs[0], newline=""))) if logs else []
readings = [r for r in rows if r["speed_m_s"]]
events = [r for r in rows if r["event"]]
times = [utc_ms(r["time_utc"]) for r in rows]
backwards = [i for i in range(1, len(times)) if times[i] < times[i - 1]]
figure("CSV rows: readings, events", f"{len(readings)}, {len(events)}")
verdict(len(readings) == valid_sent, "one CSV row per valid line",
        f"{len(readings)} rows with a speed, {valid_sent} valid lines sent")
if len(readings) != valid_sent:
    # Which run: readings between one port_lost and the next.
    segment, counts = 0, Counter()
    for r in rows:
        if r["event"] == "port_lost":
            segment += 1
        elif r["speed_m_s"]:
            counts[segment] += 1
    wrong = [f"run {r['index']}: {counts[i]} rows, {r['valid']} valid"
             for i, r in enumerate(runs) if counts[i] != r["valid"]]
    print("     runs that differ: " + "; ".join(wrong[:10]))
verdict(not backwards, "CSV times never go backwards",
        f"{len(backwards)} steps back" + (f", first at row {backwards[0] + 2}" if backwards else ""))
names = Counter(r["event"] for r in events)
figure("CSV events", ", ".join(f"{k} {v}" for k, v in sorted(names.items())))
lost = [utc_ms(r["time_utc"]) for r in events if r["event"] == "port_lost"]
back = [utc_ms(r["time_utc"]) for r in events if r["event"] == "port_back"]


def near(stamps, moment, before_ms, after_ms):
    i = bisect.bisect_left(stamps, moment - before_ms)
    return i < len(stamps) and stamps[i] <= moment + after_ms


late_lost = [r["index"] for r in unplugs if not near(lost, r["end"], 2000, 2000)]
verdict(len(lost) == len(unplugs) and not late_lost, "a port_lost row for each unplug",
        f"{len(lost)} rows, {len(unplugs)} unplugs" +
        (f"; none within 2 s of the end of run {late_lost}" if late_lost else ""))
# The program starts before the first device comes and waits for it as for
# a device lost: its first open is a return too.
returns = runs
late_back = [r["index"] for r in returns if not near(back, r["start"], 0, 3000)]
verdict(len(back) == len(returns) and not late_back, "a port_back row for each device back",
        f"{len(back)} rows, {len(returns)} returns" +
        (f"; none within 3 s of the start of run {late_back}" if late_back else ""))
order = [r["event"] for r in events if r["event"] in ("port_lost", "port_back")]
alternating = all(a != b for a, b in zip(order, order[1:]))
verdict(alternating, "port_lost and port_back alternate")
starts = [utc_ms(r["time_utc"]) for r in events if r["event"] == "config_start"]
ends = [utc_ms(r["time_utc"]) for r in events if r["event"] == "config_end"]
paired = len(starts) == len(ends) == len(configs) and all(
    s <= e and near(lost, e, 2000, 2000) for s, e in zip(starts, ends))
verdict(paired, "config_start/config_end for each exchange, ended at the unplug",
        f"{len(starts)} starts, {len(ends)} ends, {len(configs)} exchanges" +
        "".join(f"; {clock(s)} to {clock(e)}" for s, e in zip(starts, ends)))

# --- the outputs ---------------------------------------------------------------
forwarded = sum(int(r["forwarded"] or 0) for r in readings)
flagged = [r for r in readings if r["quality"] != "ok"]
flagged_sent = [r for r in flagged if int(r["forwarded"] or 0) > 0]
ok_keys = Counter((r["time_utc"], speed_key(r["speed_m_s"])) for r in readings
                  if r["quality"] == "ok")
flagged_keys = Counter((r["time_utc"], speed_key(r["speed_m_s"])) for r in flagged)
received = {}
for sink in ("udp", "tcp", "serial"):
    file = path("sinks", f"{sink}.txt")
    received[sink] = [line.rstrip("\n") for line in open(file, encoding="utf-8",
                                                          errors="replace")] if os.path.exists(file) else []
total = sum(len(v) for v in received.values())
figure("CSV readings flagged range / spike",
       f"{sum(r['quality'] == 'range' for r in readings)} / {sum(r['quality'] == 'spike' for r in readings)}")
figure("sentences received: UDP, TCP, serial",
       ", ".join(str(len(received[s])) for s in ("udp", "tcp", "serial")))
ok_rows = sum(r["quality"] == "ok" for r in readings)
figure("ok readings not sent by each output: UDP, TCP, serial",
       ", ".join(str(ok_rows - len(received[s])) for s in ("udp", "tcp", "serial")))
verdict(forwarded == total, "sentences received = the CSV forwarded column",
        f"sum {forwarded}, received {total}" + (
            f"; if UDP and TCP are counted right, the log counts {forwarded - len(received['udp']) - len(received['tcp'])}"
            f" serial sentences, {len(received['serial'])} came" if forwarded != total else ""))
verdict(not flagged_sent, "no flagged row forwarded",
        f"{len(flagged)} flagged rows, {len(flagged_sent)} with forwarded > 0")
for sink in ("udp", "serial"):
    sentences, bad, unknown, previous, back_steps = received[sink], 0, 0, "", 0
    left = Counter(ok_keys)
    for text in sentences:
        try:
            sentence = json.loads(text)
        except ValueError:
            bad += 1
            continue
        key = (sentence.get("time_utc", ""), speed_key(sentence.get("speed_m_s") or 0))
        back_steps += key[0] < previous
        previous = max(previous, key[0])
        if sentence.get("quality") != "ok" or flagged_keys[key]:
            bad += 1
        elif left[key] > 0:
            left[key] -= 1
        else:
            unknown += 1
    verdict(bad == 0 and unknown == 0 and back_steps == 0,
            f"{sink}: in time order, all ok, each a logged ok reading",
            f"{len(sentences)} sentences, {back_steps} back in time, {bad} not ok or unreadable, "
            f"{unknown} with no ok row")
# TCP carries the speed alone (sv3): its sentences must follow the forwarded
# rows in their order.
speeds = [speed_key(r["speed_m_s"]) for r in readings if int(r["forwarded"] or 0) > 0]
strays, at = [], 0
for number, text in enumerate(received["tcp"]):
    try:
        found = speeds.index(round(float(text), 3), at)
    except ValueError:
        strays.append(number)
        continue
    at = found + 1
verdict(not strays, "tcp: the forwarded readings in their order",
        f"{len(received['tcp']) - len(strays)} of {len(received['tcp'])} sentences follow the log" +
        (f", the first that does not is number {strays[0] + 1}" if strays else ""))

# --- MQTT -----------------------------------------------------------------------
messages, links = [], []
for line in open(path("mqtt.log"), encoding="utf-8", errors="replace"):
    if line.startswith("# "):
        links.append(line.split())
        continue
    parts = line.rstrip("\n").split("\t", 3)
    if len(parts) == 4:
        messages.append((int(parts[0]), parts[1], parts[2] == "1", parts[3]))
broker = read_keys("broker.tsv")
down, up = int(broker.get("stopped", 0)), int(broker.get("started", 0))
mqtt_readings = [(t, json.loads(p)) for t, topic, _, p in messages if topic.endswith("/reading")]
left = Counter((r["time_utc"], speed_key(r["speed_m_s"])) for r in readings)
strangers, previous, back_steps = 0, "", 0
for _, reading in mqtt_readings:
    key = (reading["time_utc"], speed_key(reading["speed_m_s"]))
    back_steps += key[0] < previous
    previous = max(previous, key[0])
    if left[key] > 0:
        left[key] -= 1
    else:
        strangers += 1
missing = sorted(utc_ms(t) for (t, _), n in left.items() for _ in range(n))
# The station is back at the broker with its first message of any kind.
after_restart = [t for t, topic, _, _ in messages if t > up and topic.startswith("sv/")] if up else []
back_at = after_restart[0] if after_restart else 0
outside = [m for m in missing if not (down - 1000 <= m <= (back_at or m) + 1000)] if down else missing
figure("MQTT reading messages / valid rows", f"{len(mqtt_readings)} / {len(readings)}")
if down:
    figure("broker down (restart)", f"{clock(down)} to {clock(up)}, {(up - down) / 1000:.1f} s")
    figure("readings missing at the broker",
           f"{len(missing)}" + (f", {clock(missing[0])} to {clock(missing[-1])}" if missing else ""))
    figure("the station's first message after the restart",
           f"{(back_at - up) / 1000:.1f} s after the broker" if back_at else "none")
verdict(strangers == 0 and back_steps == 0, "MQTT readings: each a logged valid line, in order",
        f"{strangers} with no row, {back_steps} back in time")
verdict(not outside and (back_at or not down), "MQTT: a reading per valid line while connected",
        f"{len(outside)} missing outside the broker's restart" +
        (f", first at {clock(outside[0])}" if outside else ""))
mqtt_events = [json.loads(p) for _, topic, _, p in messages if topic.endswith("/event")]
log_events = [(r["time_utc"], r["event"]) for r in events]
got_events = [(e.get("time_utc"), e.get("event")) for e in mqtt_events]
# The log begins with the recording, after the port was first tried: what
# the station published before is only named.
log_start = rows[0]["time_utc"] if rows else ""
early = [e for e in got_events if e[0] < log_start]
if early:
    print("NOTE published before the log began: " + ", ".join(f"{n} at {t}" for t, n in early))
got_events = [e for e in got_events if e[0] >= log_start]
figure("MQTT events / CSV event rows", f"{len(got_events)} / {len(log_events)}")
same = got_events == log_events
detail = ""
if not same:
    diff = first_difference(got_events, log_events)
    detail = (f"first difference at event {diff}: broker {got_events[diff:diff + 2]}, "
              f"log {log_events[diff:diff + 2]}")
verdict(same, "MQTT events = the log's event rows, in order", detail)
mqtt_names = Counter(name for _, name in got_events)
verdict(mqtt_names["port_lost"] == len(unplugs) and mqtt_names["port_back"] == len(returns),
        "MQTT port_lost/port_back for every unplug and return",
        f"{mqtt_names['port_lost']} / {mqtt_names['port_back']}")
online, offline = end.get("status_before", ""), end.get("status_after", "")
verdict('"state":"online"' in online, "retained status online before closing", online[:80])
verdict('"state":"offline"' in offline, "retained status offline after closing", offline[:80])

# --- the window -----------------------------------------------------------------
windows = [line.rstrip("\n").split("\t") for line in open(path("windows.tsv"))] \
    if os.path.exists(path("windows.tsv")) else []
modal = [w for w in windows if len(w) > 3 and w[3] == "modal"]
plain = Counter(w[2] for w in windows if len(w) > 3 and w[3] == "plain")
figure("windows besides the main one at the checks (every 30 s)",
       f"{len(modal)} modal; non-modal: " + (", ".join(f"{n} x{c}" for n, c in plain.items()) or "none"))
verdict(not modal, "no modal box at any check", "; ".join(f"{clock(int(w[0]))} {w[2]}" for w in modal[:5]))
verdict(end.get("windows_at_end", "?") == "0", "no box left open at the end",
        end.get("windows_at_end_names", ""))
ping = dict(zip(*[iter(end.get("ping_session", "").split())] * 2))
if ping:
    figure("window pings answered, p99 / max ms",
           f"{ping.get('answered')} of {ping.get('pings')}, {ping.get('p99_ms')} / {ping.get('max_ms')}")
final_ping = dict(zip(*[iter(end.get("ping_end", "").split())] * 2))
verdict(bool(final_ping) and final_ping.get("pings") == final_ping.get("answered")
        and int(final_ping.get("pings", 0)) > 0,
        "still answers the window manager's ping at the end", end.get("ping_end", ""))
verdict(end.get("window_name", "") != "", "xdotool reads its window", end.get("window_name", ""))
verdict(end.get("exit", "") == "0", "closes on SIGTERM with status 0",
        f"status {end.get('exit')}, {end.get('exit_s')} s")

# --- memory and CPU -------------------------------------------------------------
samples = [list(map(float, line.split())) for line in open(path("samples.tsv"))]
if len(samples) >= 3:
    ticks = float(end.get("clk_tck", 100))
    half = samples[-1][0] / 2
    middle = min(samples, key=lambda s: abs(s[0] - half))
    growth = (samples[-1][2] - middle[2]) / 1024
    cpu = (samples[-1][3] - samples[0][3]) / ticks
    figure("resident MB: first sample, half-way, end, max",
           f"{samples[0][2] / 1024:.1f}, {middle[2] / 1024:.1f}, {samples[-1][2] / 1024:.1f}, "
           f"{max(s[2] for s in samples) / 1024:.1f}")
    # The trend keeps the last 360,000 readings, about 75 bytes each: until
    # it is full it grows by design.
    readings_late = sum(1 for t in times[:] if t >= middle[1]) if times else 0
    allowance = readings_late * 75 / 1048576 + 4
    figure("growth over the second half", f"{growth:.1f} MB ({readings_late} rows then; "
           f"the trend's share {readings_late * 75 / 1048576:.1f} MB)")
    verdict(growth <= allowance, "memory growth over the second half within the trend's share + 4 MB",
            f"{growth:.1f} MB, allowed {allowance:.1f}")
    figure("CPU-s in the session, per 1000 lines", f"{cpu:.1f}, {cpu / lines_sent * 1000:.3f}"
           if lines_sent else f"{cpu:.1f}")

print()
width = max(len(name) for name, _ in figures)
for name, value in figures:
    print(f"  {name.ljust(width)}  {value}")
print()
print(f"{len(failures)} FAIL" if failures else "all PASS")
sys.exit(1 if failures else 0)
