#!/usr/bin/env python3
"""Time from the end of a telegram's audio to its line in Meldlux's event log.

   python3 bench/multimon_latency.py [COUNT]        (default 100 telegrams)

Plays generated FMS frames (MELDLUX_BENCH_KIND=pocsag: POCSAG alarms) in real time (22050 samples a second, silence between them) into
the real multimon-ng, whose lines go through meldlux-multimon to the real meldlux (offscreen).
Each telegram carries its own number (in the vehicle number or the text); the time runs from the last sample of that alarm
written to the moment its "message" line appears in the event log, which is flushed per line.
MELDLUX_BENCH_STDBUF=0 runs multimon-ng without line-buffered output, to show what that costs.
MELDLUX_BENCH_AUDIO=1 lets the bridge run multimon-ng itself (--audio, its audio command reading
the chunks from a FIFO), to show what its relaying in whole blocks adds.
Not run in CI: the figure depends on the machine.
"""
import os, re, shutil, statistics, subprocess, sys, tempfile, threading, time

from event_log_watch import connecting, end_all, follow, prepare

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
bin_dir = os.environ.get("MELDLUX_BIN", os.path.join(root, "build", "bin"))
count = int(sys.argv[1]) if len(sys.argv) > 1 else 100
port = int(os.environ.get("MELDLUX_BENCH_PORT", "17792"))
rate, chunk = 22050, 441  # 20 ms chunks
work = tempfile.mkdtemp(prefix="meldlux-latency-")
procs = []


kind = os.environ.get("MELDLUX_BENCH_KIND", "fms")


def audio(n):
    # An FMS frame ends with its last bit; a page's transmission runs on with idle words to the
    # end of its batch, so its line may come before the audio ends.
    line = (f"fms 6499{1000 + n} 3 0" if kind == "fms"
            else f"pocsag 1200 1234567 1 alpha Probe {n}")
    return subprocess.run([f"{bin_dir}/meldlux-signal-gen", "--gap", "0", line],
                          check=True, capture_output=True).stdout


def number(line):
    found = re.search(rb"6499(1\d{3})" if kind == "fms" else rb"Probe (\d+)", line)
    return None if not found else int(found.group(1)) - (1000 if kind == "fms" else 0)


try:
    data = prepare(bin_dir, work, connecting(port))
    events = os.path.join(work, "events.log")
    open(events, "w").close()

    bridge_command = [f"{bin_dir}/meldlux-multimon", "--listen", f"127.0.0.1:{port}",
                      "--password", "bench"]
    demodulators = ["-a", "POCSAG1200", "-a", "ZVEI1", "-a", "FMSFSK"]
    if os.environ.get("MELDLUX_BENCH_AUDIO") == "1":
        fifo = os.path.join(work, "audio")
        os.mkfifo(fifo)
        bridge = subprocess.Popen(bridge_command + ["--audio", f"cat {fifo}", "--decoder-args",
                                                    " ".join(demodulators)],
                                  stderr=subprocess.DEVNULL)
        procs.append(bridge)

        class Feed:  # what the bench writes to, as to multimon-ng's standard input
            stdin = open(fifo, "wb")
        multimon = Feed()
    else:
        bridge = subprocess.Popen(bridge_command, stdin=subprocess.PIPE,
                                  stderr=subprocess.DEVNULL)
        procs.append(bridge)
        decoder = ["multimon-ng", "-q", "-t", "raw"] + demodulators + ["-"]
        if os.environ.get("MELDLUX_BENCH_STDBUF", "1") != "0":
            decoder = ["stdbuf", "-oL"] + decoder
        multimon = subprocess.Popen(decoder, stdin=subprocess.PIPE, stdout=bridge.stdin)
        procs.append(multimon)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", MELDLUX_EVENT_LOG=events,
               XDG_CONFIG_HOME=os.path.join(work, "config"),
               XDG_DATA_HOME=os.path.join(work, "share"))
    client = subprocess.Popen([f"{bin_dir}/meldlux"], cwd=data, env=env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    procs.append(client)

    deadline = time.time() + 20
    while b"connect" not in open(events, "rb").read():
        if time.time() > deadline:
            sys.exit("meldlux did not connect to the bridge")
        time.sleep(0.05)
    time.sleep(1)

    seen = {}
    stop = threading.Event()

    def watch():
        # A message line names its alarm's number.
        follow(events, stop, {b"message\t": (number, seen)}, pause=0.0005)

    watcher = threading.Thread(target=watch)
    watcher.start()
    silence = bytes(2 * chunk)
    ends = {}
    tick = time.perf_counter()

    def play(samples):
        # Writes in real time, chunk by chunk, as a sound card hands over what it captured: a
        # chunk is written once its last sample is in. Returns when the last chunk went out.
        global tick
        written = None
        for i in range(0, len(samples), 2 * chunk):
            tick += chunk / rate
            delay = tick - time.perf_counter()
            if delay > 0:
                time.sleep(delay)
            multimon.stdin.write(samples[i:i + 2 * chunk])
            multimon.stdin.flush()
            written = time.perf_counter()
        return written

    for _ in range(50):  # a second of silence first, as a receiver's open channel gives
        play(silence)
    for n in range(1, count + 1):
        ends[n] = play(audio(n))
        for _ in range(25):  # 0.5 s of silence
            play(silence)
    wait_until = time.time() + 5
    while len(seen) < count and time.time() < wait_until:
        play(silence)
    stop.set()
    watcher.join()

    delays = sorted(1000 * (seen[n] - ends[n]) for n in ends if n in seen)
    lost = count - len(delays)
    if not delays:
        sys.exit("no alarm reached the event log")
    print(f"{len(delays)} of {count} alarms in the event log, {lost} lost; audio end to event log: "
          f"median {statistics.median(delays):.1f} ms, worst {delays[-1]:.1f} ms, "
          f"best {delays[0]:.1f} ms" + (f"; lost: {sorted(set(ends) - set(seen))}" if lost else ""))
finally:
    end_all(*procs)
    shutil.rmtree(work, ignore_errors=True)
