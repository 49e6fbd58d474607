"""Ends the helper processes a test or a benchmark started."""
import subprocess


def end_all(*procs):
    """Asks every process to end, the last started first (so a server outlives its clients), then
    gives each 5 s before it is killed. None stands for a process that was never started."""
    procs = [p for p in procs if p is not None]
    for p in reversed(procs):
        p.terminate()
    for p in procs:
        try:
            p.wait(timeout=5)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()
