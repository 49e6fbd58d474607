#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The generator's audio in paced pieces, as a receiver hands it over, against the real
multimon-ng: the bridge must serve exactly the telegrams the generator was told to make.

   paced_audio_test.py BIN_DIR SCENARIO [--piece BYTES] [--every SECONDS] [--repeat N] [--direct]

--direct writes the pieces straight to multimon-ng's standard input (its output piped into the
bridge), as `rtl_fm ... | multimon-ng ...` does; without it the bridge starts the feeder itself
through --audio. Exit status 0 when the served lines are exactly the expected ones.
"""
import argparse, os, shlex, socket, subprocess, sys, tempfile, time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "support"))
from processes import end_all  # noqa: E402

DECODERS = ["-a", "POCSAG512", "-a", "POCSAG1200", "-a", "POCSAG2400", "-a", "ZVEI1", "-a",
            "FMSFSK"]


def feed(path, piece, every, go):
    # Waits until the test's client is there, then writes the file in paced pieces.
    while not os.path.exists(go):
        time.sleep(0.02)
    os.remove(go)  # a source started again stays silent
    data = open(path, "rb").read()
    out = sys.stdout.buffer
    tick = time.perf_counter()
    for at in range(0, len(data), piece):
        out.write(data[at:at + piece])
        out.flush()
        tick += every
        delay = tick - time.perf_counter()
        if delay > 0:
            time.sleep(delay)


def expected_lines(scenario_lines):
    # The wire lines the bridge makes of each scenario line, less the FMS fields it copies.
    lines = []
    for line in scenario_lines:
        words = line.split()
        if not words or words[0].startswith("#"):
            continue
        if words[0] == "zvei":
            lines.append(f"ZVEI\t{words[1]}")
        elif words[0] == "fms":
            lines.append(f"FMSTlg\t{words[1]}\tstatus {words[2]}\tdirection {words[3]}")
        elif words[0] == "pocsag":
            text = line.split(None, 5)[5] if len(words) > 5 else ""
            lines.append(f"POC\t{words[2]}\t{'ABCD'[int(words[3])]}\t{text}")
    return lines


def comparable(wire):
    fields = wire.split("\t")
    if fields[0] == "FMSTlg" and len(fields) > 8:
        return f"FMSTlg\t{fields[1]}\tstatus {fields[6]}\tdirection {fields[8]}"
    return wire


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def main():
    if len(sys.argv) > 1 and sys.argv[1] == "feed":
        feed(sys.argv[2], int(sys.argv[3]), float(sys.argv[4]), sys.argv[5])
        return 0
    parser = argparse.ArgumentParser()
    parser.add_argument("bin_dir")
    parser.add_argument("scenario")
    parser.add_argument("--piece", type=int, default=712)
    parser.add_argument("--every", type=float, default=0.004)
    parser.add_argument("--repeat", type=int, default=5)
    parser.add_argument("--direct", action="store_true")
    args = parser.parse_args()

    work = tempfile.mkdtemp(prefix="meldlux-paced-")
    scenario = open(args.scenario, encoding="utf-8").read().splitlines() * args.repeat
    audio, go = os.path.join(work, "audio.raw"), os.path.join(work, "go")
    subprocess.run([f"{args.bin_dir}/meldlux-signal-gen", "--output", audio] + scenario,
                   check=True)
    feeder = [sys.executable, os.path.abspath(__file__), "feed", audio, str(args.piece),
              str(args.every), go]
    port = free_port()
    bridge_args = [f"{args.bin_dir}/meldlux-multimon", "--listen", f"127.0.0.1:{port}"]
    procs = []
    try:
        if args.direct:
            bridge = subprocess.Popen(bridge_args, stdin=subprocess.PIPE, stderr=subprocess.PIPE)
            multimon = subprocess.Popen(["multimon-ng", "-q", "-t", "raw"] + DECODERS + ["-"],
                                        stdin=subprocess.PIPE, stdout=bridge.stdin)
            procs += [bridge, multimon]
            source = subprocess.Popen(feeder, stdout=multimon.stdin)
            procs.append(source)
        else:
            bridge = subprocess.Popen(bridge_args + ["--audio", shlex.join(feeder)],
                                      stderr=subprocess.PIPE)
            procs.append(bridge)
        deadline = time.time() + 10
        while True:
            try:
                client = socket.create_connection(("127.0.0.1", port), timeout=1)
                break
            except OSError:
                if time.time() > deadline:
                    sys.exit("the bridge does not serve")
                time.sleep(0.05)
        time.sleep(0.3)  # logged in: no password
        open(go, "w").close()

        want = expected_lines(scenario)
        received = b""
        audio_seconds = os.path.getsize(audio) / args.piece * args.every
        deadline = time.time() + audio_seconds + 15
        client.settimeout(0.2)
        quiet_since = None
        while time.time() < deadline:
            try:
                chunk = client.recv(65536)
                if not chunk:
                    break
                received += chunk
                quiet_since = None
            except socket.timeout:
                pass
            got = [l for l in received.decode("cp1252").split("\r\n") if l and l != "#!XX!#"
                   and not l.startswith("#!XX!#")]
            if len(got) >= len(want):
                # Anything invented late would come within a second.
                quiet_since = quiet_since or time.time()
                if time.time() - quiet_since > 1.5:
                    break
        got = [comparable(l) for l in received.decode("cp1252").split("\r\n")
               if l and not l.startswith("#!XX!#")]
    finally:
        end_all(*procs)
    lost = [l for l in want if l not in got]
    invented = [l for l in got if l not in want]
    how = "straight into multimon-ng" if args.direct else "through --audio"
    print(f"{args.piece}-byte pieces every {args.every * 1000:g} ms {how}: {len(got)} lines "
          f"served, {len(want)} sent")
    for line in lost:
        print("lost:    " + line.replace("\t", " | "))
    for line in invented:
        print("phantom: " + line.replace("\t", " | "))
    if got != want:
        print("order or count differs" if not lost and not invented else "")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
