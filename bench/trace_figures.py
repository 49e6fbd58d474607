#!/usr/bin/env python3
"""Figures from system-call traces of meldlux, for bench/program.sh.

  trace_figures.py startup TRACE PID        strace -f -ttt: ms from exec to popup shown, armed, connect
  trace_figures.py idle TRACE PID FDS...    strace -f -ttt: calls per descriptor kind, wakeups
  trace_figures.py burst TRACE PID LOGFD    perf trace: burst time, rate, longest stall

FDS are "fd=kind" pairs. The main thread's id is the process id.
"""
import re
import sys

STRACE = re.compile(r'^(\d+)\s+(\d+\.\d+)\s+(?:<\.\.\. )?(\w+)(.*)$')


def strace_lines(path):
    with open(path, errors='replace') as f:
        for line in f:
            m = STRACE.match(line)
            if m:
                yield int(m.group(1)), float(m.group(2)), m.group(3), m.group(4)


def startup(path, pid):
    pid = int(pid)
    start = popup = armed = connect = None
    for tid, t, call, rest in strace_lines(path):
        if call == 'execve' and tid == pid and start is None:
            start = t
        elif call == 'write' and popup is None and 'popup\\tshown' in rest:
            popup = t
        elif call == 'write' and connect is None and ' geladen.' in rest:
            # The popup is armed right after the last loader's notice, with no write between:
            # the last notice before the first connect marks the end of start-up.
            armed = t
        elif call == 'connect' and connect is None and 'AF_INET' in rest:
            connect = t
    if start is None:
        sys.exit('no execve in ' + path)
    ms = lambda t: 'n/a' if t is None else '%.0f' % ((t - start) * 1000)
    print(ms(popup), ms(armed), ms(connect))


def idle(path, pid, *fds):
    pid = int(pid)
    kinds = dict(pair.split('=', 1) for pair in fds)
    counts = {}
    wakeups = 0
    first = last = None
    for tid, t, call, rest in strace_lines(path):
        first = t if first is None else first
        last = t
        if call in ('poll', 'ppoll') and tid == pid and not rest.startswith(' resumed'):
            wakeups += 1
            continue
        m = re.match(r'\((\d+)', rest)
        if call in ('write', 'writev', 'sendmsg', 'sendto') and m:
            kind = kinds.get(m.group(1), 'fd ' + m.group(1))
            counts[kind] = counts.get(kind, 0) + 1
    span = (last - first) if first is not None else 0
    print('event-loop waits (poll) of the main thread: %d in %.0f s' % (wakeups, span))
    for kind, n in sorted(counts.items()):
        print('writes to %s: %d' % (kind, n))
    if not counts:
        print('writes: none')


# "  12.345 ( 0.015 ms): meldlux/123 read(fd: 5, ...) = 8"; perf leaves out "comm/tid" when it
# traces one thread only, which is then the main thread.
# A call that blocked while others were printed shows first without its result ("...") and
# ends in a "[continued]" line without a time; its end is then unknown.
PERF = re.compile(r'^\s*(\d+\.\d+)\s+\(\s*([\d.]+|\s*) ms\):\s+(?:\S*?/(\d+)\s+)?(\w+)\((.*?)\)?\s+(?:=\s+(-?\d+)|\.\.\.)')


def burst(path, pid, logfd):
    """Longest gap between two event-loop waits of the main thread, from the first received block
    to the last event-log write; rate = handled lines / that time."""
    pid = int(pid)
    link = None
    first_read = last_log = None
    polls = []  # (start, end) of each poll of the main thread
    with open(path, errors='replace') as f:
        for line in f:
            m = PERF.match(line)
            if not m:
                continue
            t, dur, tid, call, args, ret = m.groups()
            t = float(t)
            done = ret is not None
            dur = float(dur) if dur.strip() else 0.0
            ret = ret or '0'
            tid = int(tid) if tid else pid
            fd = re.match(r'fd: (\d+)', args)
            fd = fd and fd.group(1)
            if call == 'connect' and 'addrlen: 16' in args:
                link = fd
            elif call in ('read', 'recvfrom') and fd == link and link and int(ret) > 0:
                if first_read is None:
                    first_read = t
            elif call == 'write' and fd == logfd:
                last_log = t + dur
            elif call in ('poll', 'ppoll') and tid == pid and 'nfds: 1,' not in args:
                # A wait on one descriptor is libxcb waiting for the X server's reply inside a
                # handler, not the event loop: counting it would cut one long turn into short ones.
                polls.append((t, t + dur if done else None))
    if first_read is None or last_log is None:
        sys.exit('no burst found in ' + path)
    worst = 0.0
    at = None
    # Gaps that begin while the burst is being handled; one after a wait whose end is unknown
    # is left out (the loop was waiting, not busy, and the wait ended unseen).
    for (s0, e0), (s1, e1) in zip(polls, polls[1:]):
        if e0 is not None and first_read <= e0 <= last_log and s1 - e0 > worst:
            worst, at = s1 - e0, e0
    print('%.0f %.0f' % (last_log - first_read, worst))


if __name__ == '__main__':
    {'startup': startup, 'idle': idle, 'burst': burst}[sys.argv[1]](*sys.argv[2:])
