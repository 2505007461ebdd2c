#!/usr/bin/env python3
"""Times a desktop program from its start until it goes idle.

A reader has shown a document when it stops working on it; no program tells
when that is, so this watches the CPU time of the program and every process it
started (its session) and answers the moment its last busy stretch ended. A
stretch is busy while the session used at least a fifth of a core over the last
100 ms; the program counts as idle after `--quiet` seconds without one, so a
blinking caret or a clock does not keep it busy.

Prints one line: seconds until idle, CPU seconds used, then ends the program.
"""
import argparse
import os
import signal
import subprocess
import sys
import time

TICKS = os.sysconf("SC_CLK_TCK")
WINDOW = 0.1
BUSY_SHARE = 0.2


def session_cpu_seconds(session):
    total = 0
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat", "rb") as stat:
                fields = stat.read().rsplit(b")", 1)[1].split()
        except OSError:
            continue
        # After the command name: state ppid pgrp session ... utime(12) stime(13)
        if int(fields[3]) == session:
            total += int(fields[11]) + int(fields[12])
    return total / TICKS


def time_until_idle(command, quiet, limit):
    start = time.monotonic()
    child = subprocess.Popen(command, start_new_session=True, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    samples = []  # (time, cpu seconds)
    last_busy = 0.0
    try:
        while True:
            time.sleep(0.01)
            now = time.monotonic() - start
            cpu = session_cpu_seconds(child.pid)
            samples.append((now, cpu))
            while samples and samples[0][0] < now - WINDOW:
                samples.pop(0)
            if len(samples) > 1:
                used = samples[-1][1] - samples[0][1]
                spanned = max(samples[-1][0] - samples[0][0], 0.01)
                if used / spanned >= BUSY_SHARE:
                    last_busy = now
            if child.poll() is not None:
                raise RuntimeError(f"{command[0]} ended with code {child.returncode} before going idle")
            if now - last_busy >= quiet and now > quiet:
                return last_busy, cpu
            if now > limit:
                raise RuntimeError(f"{command[0]} still busy after {limit} s")
    finally:
        try:
            os.killpg(child.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        child.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--quiet", type=float, default=1.0, help="idle seconds that end the watch")
    parser.add_argument("--limit", type=float, default=120.0, help="give up after this many seconds")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    options = parser.parse_args()
    command = options.command[1:] if options.command[:1] == ["--"] else options.command
    if not command:
        parser.error("no program to time")
    try:
        seconds, cpu = time_until_idle(command, options.quiet, options.limit)
    except RuntimeError as failure:
        print(failure, file=sys.stderr)
        return 1
    print(f"{seconds:.3f} {cpu:.3f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
