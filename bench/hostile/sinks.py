#!/usr/bin/env python3
"""The three receivers of the hostile session: a UDP socket, a TCP client of
the program's server and the far end of a pseudo-terminal the program writes
to as a serial output. Each sentence received goes on its own line to
DIR/udp.txt, DIR/tcp.txt or DIR/serial.txt, its line end taken off.

First prints "udp PORT", "tcp PORT" and "serial PATH" (the pseudo-terminal
the program is to open); then "tcp connected" once the program's server took
the client. The client tries every 100 ms until then, and again if the
server goes. Runs until SIGTERM; what is in flight is read for a last
half second first.

usage: sinks.py DIR
"""
import os
import select
import signal
import socket
import sys
import time
import tty


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class Lines:
    """Splits a byte stream into sentences and writes them out."""

    def __init__(self, path):
        self.out = open(path, "wb")
        self.pending = b""

    def feed(self, data):
        self.pending += data
        *whole, self.pending = self.pending.split(b"\n")
        for line in whole:
            self.out.write(line.rstrip(b"\r") + b"\n")

    def close(self):
        if self.pending:
            self.out.write(b"#partial " + self.pending + b"\n")
        self.out.close()


def main():
    folder = sys.argv[1]
    stopping = []
    signal.signal(signal.SIGTERM, lambda *_: stopping.append(time.monotonic()))
    signal.signal(signal.SIGINT, lambda *_: stopping.append(time.monotonic()))

    udp = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    udp.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4 << 20)
    udp.bind(("127.0.0.1", 0))
    master, slave = os.openpty()
    tty.setraw(slave)
    tcp_port = free_port()
    print("udp", udp.getsockname()[1])
    print("tcp", tcp_port)
    print("serial", os.ttyname(slave), flush=True)

    udp_out = open(os.path.join(folder, "udp.txt"), "wb")
    tcp_lines = Lines(os.path.join(folder, "tcp.txt"))
    serial_lines = Lines(os.path.join(folder, "serial.txt"))
    client = None
    next_try = 0.0
    while not stopping or time.monotonic() - stopping[0] < 0.5:
        if client is None and time.monotonic() >= next_try:
            client = socket.socket()
            try:
                client.connect(("127.0.0.1", tcp_port))
                print("tcp connected", flush=True)
            except OSError:
                client.close()
                client = None
                next_try = time.monotonic() + 0.1
        watched = [udp, master] + ([client] if client else [])
        try:
            ready, _, _ = select.select(watched, [], [], 0.1)
        except InterruptedError:
            continue
        for source in ready:
            if source is udp:
                udp_out.write(udp.recv(65536).rstrip(b"\r\n") + b"\n")
            elif source is master:
                serial_lines.feed(os.read(master, 65536))
            else:
                try:
                    data = client.recv(65536)
                except OSError:
                    data = b""
                if data:
                    tcp_lines.feed(data)
                else:
                    print("tcp closed", flush=True)
                    client.close()
                    client = None
    udp_out.close()
    tcp_lines.close()
    serial_lines.close()


if __name__ == "__main__":
    main()
