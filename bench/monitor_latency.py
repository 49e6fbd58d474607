#!/usr/bin/env python3
"""Time from a telegram's arrival to the hall monitor's first paint of its alarm.

   xvfb-run -a -s "-screen 0 1920x1080x24" python3 bench/monitor_latency.py [COUNT] [MODE]

(default 50 alarms, MODE "idle"). This script is the decoder server (127.0.0.1, a free port): the
real meldlux (on the X display, with the sample data) logs in with the hall monitor running and
one alarm rule, `Regel1=POCSAG:12*|monitor|{text}`, and gets POCSAG alarms, each to a RIC and
with a text of its own. The clock runs from the send() of a telegram to the moment its lines are
read from the event log, which is flushed per line: "message" (the strip's line), "monitor alarm"
(the rule handed the alarm to the monitor) and "monitor painted" (MELDLUX_EVENT_LOG_PAINT=1: the
first paint of the unit's name after the alarm came; the rest of the window paints in the same
pass). MODE "idle": each alarm after the monitor went idle again (the script clicks the monitor,
as a firefighter would, waits for its "monitor idle" line and a second more); MODE "stack": a new
alarm on top of the last every GAP seconds (MELDLUX_BENCH_GAP, default 1.5). The alarm sound is
off. Needs xdotool for the click. Not run in CI: the figure depends on the machine.
"""
import itertools, os, re, shutil, subprocess, sys, tempfile, threading, time

from event_log_watch import await_login, end, finish, follow, listen, prepare, start, summary

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
bin_dir = os.environ.get("MELDLUX_BIN", os.path.join(root, "build", "bin"))
count = int(sys.argv[1]) if len(sys.argv) > 1 else 50
mode = sys.argv[2] if len(sys.argv) > 2 else "idle"
gap = float(os.environ.get("MELDLUX_BENCH_GAP", "1.5"))
if mode not in ("idle", "stack"):
    sys.exit("MODE is idle or stack")
if not os.environ.get("DISPLAY"):
    sys.exit("no X display: run under xvfb-run")
work = tempfile.mkdtemp(prefix="meldlux-monitor-")
client = None


def number(line):
    found = re.search(rb"Probealarm (\d{4})", line)
    return None if not found else int(found.group(1))


def wait_for(seen, key, seconds):
    until = time.time() + seconds
    while key not in seen and time.time() < until:
        time.sleep(0.005)
    return key in seen


try:
    width, height = map(int, subprocess.run(["xdotool", "getdisplaygeometry"], check=True,
                                            capture_output=True, text=True).stdout.split())
    server = listen()
    data = prepare(bin_dir, work,
                   f"[Server]\nAdresse=127.0.0.1\nPort={server.getsockname()[1]}\nPW=bench\n"
                   "[Einstellungen]\nAutoConnect=1\n[Sounds]\nAlarm=0\n"
                   "[Alarmregeln]\nRegel1=POCSAG:12*|monitor|{text}\n"
                   "[Alarmmonitor]\nStart=1\n")
    client, events = start(bin_dir, work, data, MELDLUX_EVENT_LOG_PAINT="1",
                           QT_QPA_PLATFORM=os.environ.get("QT_QPA_PLATFORM", "xcb"))
    link = await_login(server, "bench")
    time.sleep(2)  # the monitor's first idle paint

    message, handed, painted, idle = {}, {}, {}, {}
    idles = itertools.count(1)
    stop = threading.Event()
    kinds = {b"message\t": (number, message), b"monitor\talarm\t": (number, handed),
             b"monitor\tpainted\t": (number, painted),
             b"monitor\tidle": (lambda line: next(idles), idle)}
    watcher = threading.Thread(target=follow, args=(events, stop, kinds), daemon=True)
    watcher.start()
    sent = {}
    for n in range(1, count + 1):
        sent[n] = time.perf_counter()
        link.sendall(f"POC\t{1200000 + n}\tA\tProbealarm {n:04d}\r\n".encode())
        if mode == "stack":
            time.sleep(gap)
            continue
        if not wait_for(painted, n, 10):
            print(f"alarm {n} was not painted within 10 s")
        time.sleep(0.3)
        # Below the middle: the strip may lie over the top of the screen.
        subprocess.run(["xdotool", "mousemove", str(width // 2), str(height * 3 // 4), "click",
                        "1"], check=True)
        if not wait_for(idle, n, 10):
            sys.exit(f"the monitor did not go idle after alarm {n}")
        time.sleep(1)
    finish(painted, count, stop, watcher)
    link.close()

    with open("/proc/loadavg") as f:
        load = " ".join(f.read().split()[:3])
    print(f"{count} alarms, mode {mode}, load average {load}")
    for name, seen in (("strip's line", message), ("monitor's alarm", handed),
                       ("monitor's paint", painted)):
        print(summary(name, sent, seen, count))
finally:
    end(client)
    shutil.rmtree(work, ignore_errors=True)
