#!/usr/bin/env python3
"""Two sites joined by a real mosquitto on loopback: latency and telegrams per second.

   python3 bench/mqtt_bridge.py [COUNT] [FLOOD]     (default 1000 telegrams, a flood of 20000)

The receiver's meldlux-multimon (--mqtt) reads multimon-ng POCSAG lines on its standard input
and publishes them; the station's (--from-mqtt) serves them. A real meldlux (offscreen) hangs on
each bridge, so both sites show the same alarms.
Latency: COUNT telegrams, one every 20 ms, each with its own number in the text; the clock runs
from writing the line into the receiver's bridge to its "message" line in each meldlux's event
log (flushed per line). The receiver's own meldlux is the baseline: the difference is what the
broker and the second bridge cost.
Throughput: FLOOD lines written as fast as the bridge takes them; the time runs to the last line
read by a plain client of the station's bridge, beside a plain client of the receiver's bridge
(the local road, the baseline).
Not run in CI: the figures depend on the machine.
"""
import os, re, shutil, socket, statistics, subprocess, sys, tempfile, threading, time

from event_log_watch import connecting, end_all, follow, prepare

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
bin_dir = os.environ.get("MELDLUX_BIN", os.path.join(root, "build", "bin"))
count = int(sys.argv[1]) if len(sys.argv) > 1 else 1000
flood = max(1000, (int(sys.argv[2]) if len(sys.argv) > 2 else 20000) // 1000 * 1000)
work = tempfile.mkdtemp(prefix="meldlux-mqtt-bench-")
procs = []


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_port(port, what):
    deadline = time.time() + 10
    while True:
        try:
            socket.create_connection(("127.0.0.1", port), timeout=1).close()
            return
        except OSError:
            if time.time() > deadline:
                sys.exit(f"{what} does not listen on {port}")
            time.sleep(0.05)


def start(args, **kw):
    p = subprocess.Popen(args, **kw)
    procs.append(p)
    return p


def meldlux(name, port):
    folder = os.path.join(work, name)
    data = prepare(bin_dir, folder, connecting(port))
    events = os.path.join(folder, "events.log")
    open(events, "w").close()
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", MELDLUX_EVENT_LOG=events,
               XDG_CONFIG_HOME=os.path.join(folder, "config"),
               XDG_DATA_HOME=os.path.join(folder, "share"))
    client = start([f"{bin_dir}/meldlux"], cwd=data, env=env,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return client, events


def probe_number(line):
    found = re.search(rb"Probe (\d+)", line)
    return int(found.group(1)) if found else None


def watch(events, seen, stop):
    # A message line names its telegram's number.
    follow(events, stop, {b"message\t": (probe_number, seen)})


def reader(port, want, done, i):
    s = socket.create_connection(("127.0.0.1", port), timeout=60)
    s.sendall(b"PASS:bench\r\n")
    got = b""
    ready[i] = True
    while got.count(b"Flut") < want:
        chunk = s.recv(1 << 16)
        if not chunk:
            break
        got += chunk
    done[i] = time.perf_counter() if got.count(b"Flut") >= want else float("nan")


try:
    broker_port = free_port()
    with open(os.path.join(work, "mosquitto.conf"), "w") as f:
        f.write(f"user root\npersistence false\nlog_dest none\nlistener {broker_port} 127.0.0.1\n"
                "allow_anonymous true\nmax_queued_messages 100000\n")
    start(["mosquitto", "-c", os.path.join(work, "mosquitto.conf")], stderr=subprocess.DEVNULL)
    wait_port(broker_port, "mosquitto")
    url = f"mqtt://127.0.0.1:{broker_port}"
    station_port, receiver_port = free_port(), free_port()
    station = start([f"{bin_dir}/meldlux-multimon", "--from-mqtt", url, "--site", "bench",
                     "--listen", f"127.0.0.1:{station_port}", "--password", "bench",
                     "--heartbeat", "0", "--queue", "65536"], stderr=subprocess.DEVNULL)
    wait_port(station_port, "the station's bridge")
    receiver = start([f"{bin_dir}/meldlux-multimon", "--mqtt", url, "--site", "bench",
                      "--listen", f"127.0.0.1:{receiver_port}", "--password", "bench",
                      "--heartbeat", "0", "--queue", "65536", "--mqtt-queue", str(flood * 2)],
                     stdin=subprocess.PIPE, stderr=subprocess.DEVNULL)
    wait_port(receiver_port, "the receiver's bridge")
    sites = {"receiver": meldlux("receiver", receiver_port), "station": meldlux("station", station_port)}
    deadline = time.time() + 20
    while not all(b"sent\tPASS:bench" in open(e, "rb").read() for _, e in sites.values()):
        if time.time() > deadline:
            sys.exit("a meldlux did not log in")
        time.sleep(0.05)
    time.sleep(1)

    seen = {name: {} for name in sites}
    stop = threading.Event()
    watchers = [threading.Thread(target=watch, args=(e, seen[n], stop)) for n, (_, e) in sites.items()]
    for w in watchers:
        w.start()
    written = {}
    for n in range(1, count + 1):
        line = f"POCSAG1200: Address: 1234567  Function: 1  Alpha:   K}}che Probe {n}\n".encode()
        written[n] = time.perf_counter()
        receiver.stdin.write(line)
        receiver.stdin.flush()
        time.sleep(0.02)
    deadline = time.time() + 10
    while any(len(s) < count for s in seen.values()) and time.time() < deadline:
        time.sleep(0.05)
    stop.set()
    for w in watchers:
        w.join()
    for name in sites:
        delays = sorted(1000 * (seen[name][n] - written[n]) for n in written if n in seen[name])
        if not delays:
            sys.exit(f"nothing reached the {name}'s event log")
        print(f"{name}: {len(delays)} of {count} in the event log; input line to event log: "
              f"median {statistics.median(delays):.1f} ms, worst {delays[-1]:.1f} ms")
    for client, _ in sites.values():
        client.terminate()
        client.wait(timeout=10)

    ready, done = [False, False], [0.0, 0.0]
    readers = [threading.Thread(target=reader, args=(p, flood, done, i))
               for i, p in enumerate((receiver_port, station_port))]
    for r in readers:
        r.start()
    while not all(ready):
        time.sleep(0.01)
    time.sleep(0.3)
    block = b"".join(f"POCSAG1200: Address: 1234567  Function: 1  Alpha:   Flut {i}\n".encode()
                     for i in range(1000))
    begin = time.perf_counter()
    for _ in range(flood // 1000):
        receiver.stdin.write(block)
    receiver.stdin.flush()
    for r in readers:
        r.join()
    if any(d != d for d in done):
        sys.exit("a client did not get every line")
    local, remote = done[0] - begin, done[1] - begin
    print(f"{flood} telegrams: local client {flood / local:.0f}/s, through the "
          f"broker to the station's client {flood / remote:.0f}/s ({remote / local:.1f}x the time)")
finally:
    end_all(*procs)
    shutil.rmtree(work, ignore_errors=True)
