#!/usr/bin/env python3
"""Lines per second through meldlux-multimon with several clients.

   python3 bench/multimon_throughput.py [LINES] [CLIENTS]     (default 100000 lines, 10 clients)

Feeds LINES multimon-ng POCSAG lines to the bridge's standard input as fast as it takes them,
while CLIENTS loopback clients read; the time runs from the first line written to the last byte
read by the slowest client. Not run in CI: the figure depends on the machine.
"""
import os, socket, subprocess, sys, threading, time

from event_log_watch import end_all

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
binary = os.environ.get("MELDLUX_BIN", os.path.join(root, "build", "bin")) + "/meldlux-multimon"
lines = int(sys.argv[1]) if len(sys.argv) > 1 else 100000
clients = int(sys.argv[2]) if len(sys.argv) > 2 else 10
port = int(os.environ.get("MELDLUX_BENCH_PORT", "17791"))

line_in = b"POCSAG1200: Address: 1234567  Function: 1  Alpha:   Brand in der K}che, Hauptstra~e 5<EOT>\n"
line_out = "POC\t1234567\tB\tBrand in der Küche, Hauptstraße 5\r\n".encode("cp1252")
bridge = subprocess.Popen([binary, "--listen", f"127.0.0.1:{port}", "--heartbeat", "0",
                           "--queue", "65536"], stdin=subprocess.PIPE, stderr=subprocess.PIPE)
try:
    socks = []
    deadline = time.time() + 10
    while len(socks) < clients:
        try:
            socks.append(socket.create_connection(("127.0.0.1", port), timeout=30))
        except OSError:
            if time.time() > deadline:
                raise
            time.sleep(0.05)
    time.sleep(0.3)
    done = [0.0] * clients

    def read(i):
        want, got = lines * len(line_out), 0
        while got < want:
            chunk = socks[i].recv(1 << 16)
            if not chunk:
                break
            got += len(chunk)
        done[i] = time.perf_counter() if got >= want else float("nan")

    threads = [threading.Thread(target=read, args=(i,)) for i in range(clients)]
    for t in threads:
        t.start()
    start = time.perf_counter()
    block = line_in * 1000
    for _ in range(lines // 1000):
        bridge.stdin.write(block)
    bridge.stdin.flush()
    for t in threads:
        t.join()
    if any(d != d for d in done):
        sys.exit("a client did not get every line: " + bridge.stderr.read1().decode())
    seconds = max(done) - start
    print(f"{lines} lines to {clients} clients in {seconds:.2f} s: {lines / seconds:.0f} lines/s "
          f"({lines * clients / seconds:.0f} client lines/s)")
finally:
    end_all(bridge)
