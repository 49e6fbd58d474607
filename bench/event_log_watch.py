"""Follows a client's event log as it grows, for the latency benchmarks."""
import time


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
