#!/usr/bin/env python3
"""CPU of the real meldlux while the hall monitor stands idle with its clock running.

   xvfb-run -a -s "-screen 0 1920x1080x24" python3 bench/monitor_idle_cpu.py [SECONDS]

Starts meldlux with the sample data, no link, once without and once with --monitor (on the
display in DISPLAY, through xcb), lets each settle for 10 s, then reads the process's user and
system time from /proc/PID/stat over SECONDS (default 60) and prints it as a share of one core.
Not run in CI: the figure depends on the machine.
"""
import os, shutil, subprocess, sys, tempfile, time

from event_log_watch import end_all, prepare

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
bin_dir = os.environ.get("MELDLUX_BIN", os.path.join(root, "build", "bin"))
seconds = float(sys.argv[1]) if len(sys.argv) > 1 else 60.0
tick = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / tick  # utime, stime


def measure(arguments):
    work = tempfile.mkdtemp(prefix="meldlux-idle-")
    client = None
    try:
        data = prepare(bin_dir, work, "[Einstellungen]\nAutoConnect=0\n[Journal]\nEnabled=0\n")
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(work, "config"),
                   XDG_DATA_HOME=os.path.join(work, "share"), QT_QPA_PLATFORM="xcb")
        client = subprocess.Popen([f"{bin_dir}/meldlux", *arguments], cwd=data, env=env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(10)
        start_cpu, start = cpu_seconds(client.pid), time.monotonic()
        time.sleep(seconds)
        used, wall = cpu_seconds(client.pid) - start_cpu, time.monotonic() - start
        return 100.0 * used / wall, used, wall
    finally:
        end_all(client)
        shutil.rmtree(work, ignore_errors=True)


if "DISPLAY" not in os.environ:
    sys.exit("needs an X display (run it under xvfb-run)")
for name, arguments in (("without the monitor", []), ("with --monitor", ["--monitor"])):
    share, used, wall = measure(arguments)
    print(f"meldlux {name}: {used:.2f} s CPU in {wall:.1f} s = {share:.2f} % of one core")
