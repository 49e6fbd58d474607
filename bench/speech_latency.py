#!/usr/bin/env python3
"""Time from a telegram's arrival to the first sample of its speech.

   python3 bench/speech_latency.py [COUNT] [DEVICE]   (default 50 alarms, sound output "null")

This script is the decoder server (127.0.0.1, a free port): the real meldlux (offscreen) logs in
with an alarm rule that reads every ZVEI code beginning with 2 out once, then gets one ZVEI alarm
every GAP seconds (MELDLUX_BENCH_GAP, default 1.5), each with a code of its own. The clock runs
from the send() of a telegram to the moment its "speechstart" line (the first sample went to the
sound output) is read from the event log, which is flushed per line. The alarm sound is off, so
the figure is the speech road alone: rule, word table, queue, espeak-ng's synthesis of the first
block, the sound output's open. DEVICE is the pcaudiolib device ("null": ALSA's null device, for
machines without sound; "" for the system's own). Not run in CI: the figure depends on the machine.
"""
import os, shutil, sys, tempfile, threading, time

from event_log_watch import await_login, end, finish, follow, listen, prepare, start, summary

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
bin_dir = os.environ.get("MELDLUX_BIN", os.path.join(root, "build", "bin"))
count = int(sys.argv[1]) if len(sys.argv) > 1 else 50
device = sys.argv[2] if len(sys.argv) > 2 else "null"
gap = float(os.environ.get("MELDLUX_BENCH_GAP", "1.5"))
work = tempfile.mkdtemp(prefix="meldlux-speech-")
client = None
digits = "null eins zwei drei vier fünf sechs sieben acht neun".split()


def number(line):
    words = line.decode().split("\t", 1)[1].split()
    if len(words) != 5 or any(w not in digits for w in words):
        return None
    return int("".join(str(digits.index(w)) for w in words)) - 20000


try:
    server = listen()
    data = prepare(bin_dir, work,
                   f"[Server]\nAdresse=127.0.0.1\nPort={server.getsockname()[1]}\nPW=bench\n"
                   "[Einstellungen]\nAutoConnect=1\n[Sounds]\nAlarm=0\n"
                   "[Alarmregeln]\nRegel1=ZVEI:2*|sprechen|{code}\n"
                   f"[Sprache]\nWiederholen=1\nAusgabe={device}\n", sample=False)
    client, events = start(bin_dir, work, data)
    link = await_login(server, "bench")
    time.sleep(1)

    started = {}
    stop = threading.Event()
    watcher = threading.Thread(target=follow, args=(events, stop, {b"speechstart\t": (number, started)}))
    watcher.start()
    sent = {}
    for n in range(1, count + 1):
        sent[n] = time.perf_counter()
        link.sendall(f"ZVEI\t{20000 + n}\r\n".encode())
        time.sleep(gap)
    finish(started, count, stop, watcher)
    link.close()

    with open(events, "rb") as f:
        faults = [line for line in f.read().split(b"\n") if line.startswith(b"speechfault\t")]
    if faults:
        print("voice fault:", faults[0].decode().split("\t", 1)[1])
    print(summary("first sample of speech", sent, started, count))
finally:
    end(client)
    shutil.rmtree(work, ignore_errors=True)
