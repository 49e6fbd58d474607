#!/usr/bin/env python3
"""Time from the server's send of a telegram to its line in Meldlux's event log and to the
first paint of the popup that shows it.

   python3 bench/paint_latency.py [COUNT]        (default 100 telegrams)

This script is the decoder server (127.0.0.1, a free port): the real meldlux (offscreen, or the
display in QT_QPA_PLATFORM) logs in, then gets one FMS status telegram every 200 ms, each with a
vehicle number of its own. The clock runs from the send() of a telegram to the moment its
"message" line, and then the "paint" line with the same text (MELDLUX_EVENT_LOG_PAINT=1), is
read from the event log, which is flushed per line. The popup keeps 30 lines: with fewer lines
than telegrams in the receive burst window (2 s) the lines wait for the cleanup tick by design.
Not run in CI: the figure depends on the
machine.
"""
import os, re, shutil, sys, tempfile, threading, time

from event_log_watch import await_login, connecting, end, follow, listen, prepare, start, summary

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
bin_dir = os.environ.get("MELDLUX_BIN", os.path.join(root, "build", "bin"))
count = int(sys.argv[1]) if len(sys.argv) > 1 else 100
work = tempfile.mkdtemp(prefix="meldlux-paint-")
client = None


def telegram(n):
    return f"FMSTlg\t6499{1000 + n}\t\t\t\t\t3\t\t0\t\t\t\t\t\r\n".encode()


def number(line):
    found = re.search(rb"6499(1\d{3})", line)
    return None if not found else int(found.group(1)) - 1000


try:
    server = listen()
    data = prepare(bin_dir, work, connecting(server.getsockname()[1], lines=30))
    client, events = start(bin_dir, work, data, MELDLUX_EVENT_LOG_PAINT="1")
    link = await_login(server, "bench")
    time.sleep(1)

    message, paint = {}, {}
    stop = threading.Event()

    def watch():
        follow(events, stop, {b"message\t": (number, message), b"paint\t": (number, paint)})

    watcher = threading.Thread(target=watch)
    watcher.start()
    sent = {}
    for n in range(1, count + 1):
        if n % 5 == 0:
            link.sendall(b"#!XX!#\r\n")  # the server's heartbeat, between telegrams
            time.sleep(0.1)
        sent[n] = time.perf_counter()
        link.sendall(telegram(n))
        time.sleep(0.2)
    wait_until = time.time() + 5
    while (len(message) < count or len(paint) < count) and time.time() < wait_until:
        time.sleep(0.05)
    stop.set()
    watcher.join()
    link.close()

    for name, seen in (("event log", message), ("paint", paint)):
        print(summary(name, sent, seen, count, digits=2))
finally:
    end(client)
    shutil.rmtree(work, ignore_errors=True)
