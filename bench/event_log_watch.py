"""Follows a client's event log as it grows, for the latency benchmarks; meets its login and
ends it. Also hands the benchmarks the tests' `end_all` of the processes they started."""
import os, socket, statistics, subprocess, sys, time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "tests",
                                "support"))
from processes import end_all  # noqa: E402,F401


def start(bin_dir, work, data, **env_extra):
    """The real meldlux (offscreen unless QT_QPA_PLATFORM says otherwise) in the folder data, its
    settings under work/config, its event log work/events.log; gives the process and the log."""
    events = os.path.join(work, "events.log")
    open(events, "w").close()
    env = dict(os.environ, MELDLUX_EVENT_LOG=events, XDG_CONFIG_HOME=os.path.join(work, "config"),
               XDG_DATA_HOME=os.path.join(work, "share"), **env_extra)
    env.setdefault("QT_QPA_PLATFORM", "offscreen")
    client = subprocess.Popen([f"{bin_dir}/meldlux"], cwd=data, env=env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return client, events


def connecting(port, lines=5):
    """Settings that connect at once to a bench server on 127.0.0.1 (password "bench"), with a
    popup of the given lines that never times out, at the bottom."""
    return (f"[Server]\nAdresse=127.0.0.1\nPort={port}\nPW=bench\n"
            f"[Einstellungen]\nAutoConnect=1\nMsgLines={lines}\nMsgTime=0\nMsgPosition=1\n")


def listen():
    """A decoder server's socket on 127.0.0.1, a free port, waiting for one client."""
    server = socket.socket()
    server.bind(("127.0.0.1", 0))
    server.listen(1)
    server.settimeout(20)
    return server


def await_login(server, password):
    """The link of the client that connects to the listening socket server and logs in."""
    link, _ = server.accept()
    link.settimeout(10)
    login = b""
    while f"PASS:{password}\r\n".encode() not in login:
        got = link.recv(256)
        if not got:
            sys.exit("meldlux closed the link before logging in")
        login += got
    return link


def end(client):
    """Ends a client politely (its settings saved), or by force after 5 s."""
    end_all(client)


def follow(events, stop, kinds, pause=0.0002):
    """Until stop is set, reads the event log at path events. kinds maps a line's prefix (such as
    b"message\\t") to (number, seen): number(line) gives the telegram's number or None, and seen
    keeps the moment (time.perf_counter) each number was first read."""
    with open(events, "rb") as f:
        pending = b""
        while not stop.is_set():
            got = f.read()
            if not got:
                time.sleep(pause)
                continue
            now = time.perf_counter()
            pending += got
            *lines, pending = pending.split(b"\n")
            for line in lines:
                for prefix, (number, seen) in kinds.items():
                    if line.startswith(prefix):
                        n = number(line)
                        if n is not None:
                            seen.setdefault(n, now)


def prepare(bin_dir, work, settings, sample=True):
    """The folders of a run under work: data (with the sample reference data unless sample is
    False) and config/meldlux with settings as its MeldluxWBR.ini; gives the data folder."""
    data, config = os.path.join(work, "data"), os.path.join(work, "config", "meldlux")
    os.makedirs(data)
    os.makedirs(config)
    if sample:
        subprocess.run([f"{bin_dir}/meldlux-refdata", "sample", data], check=True,
                       capture_output=True)
    with open(os.path.join(config, "MeldluxWBR.ini"), "w") as f:
        f.write(settings)
    return data


def summary(what, sent, seen, count, digits=1):
    """"send to WHAT: N of COUNT, median, worst, best" in ms from the moments in sent to those in
    seen (both by number); ends the run when none arrived."""
    delays = sorted(1000 * (seen[n] - sent[n]) for n in sent if n in seen)
    if not delays:
        sys.exit(f"nothing reached the {what}")
    return (f"send to {what}: {len(delays)} of {count}, median "
            f"{statistics.median(delays):.{digits}f} ms, worst {delays[-1]:.{digits}f} ms, "
            f"best {delays[0]:.{digits}f} ms")


def finish(seen, count, stop, watcher, seconds=10):
    """Waits up to seconds for count numbers in seen, then ends the watcher thread (stop is its
    event)."""
    until = time.time() + seconds
    while len(seen) < count and time.time() < until:
        time.sleep(0.05)
    stop.set()
    watcher.join()
