#!/usr/bin/env python3
"""Runs after the suite's tests (a ctest fixture's cleanup) and fails when a
process that one of them started is still running: a display server, a
window or a probe that outlived its test holds display numbers and lock
files that later tests collide with, and piles up on a shared machine.

usage: leftover_processes.py BUILD_DIR

A process is the suite's when its environment carries the mark every test
runs with (SI32_TEST_SUITE=BUILD_DIR, inherited by whatever a test starts),
or when it is one of the build's programs running in the build tree (a test
may start one with an environment of its own). The leftovers are listed,
then ended, so that one failing run does not make the next one fail too.
"""
import os
import signal
import sys
import time


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return None


def link(path):
    try:
        return os.readlink(path)
    except OSError:
        return ""


def within(path, folder):
    return path == folder or path.startswith(folder + "/")


def ancestors():
    """This checker and the processes that run it (ctest, cmake -E env)."""
    mine, pid = set(), os.getpid()
    while pid > 1 and pid not in mine:
        mine.add(pid)
        stat = read("/proc/%d/stat" % pid)
        if stat is None:
            break
        pid = int(stat.rsplit(b")", 1)[1].split()[1])
    return mine


def leftovers(build):
    mark = b"SI32_TEST_SUITE=" + os.fsencode(build)
    skip = ancestors()
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) in skip:
            continue
        base = "/proc/" + entry
        stat = read(base + "/stat")
        if stat is None or stat.rsplit(b")", 1)[1].split()[0] == b"Z":
            continue
        environ = read(base + "/environ") or b""
        ours = mark in environ.split(b"\0")
        if not ours:
            ours = within(link(base + "/exe"), build) and within(link(base + "/cwd"), build)
        if ours:
            cmdline = (read(base + "/cmdline") or b"").replace(b"\0", b" ").strip()
            ppid = int(stat.rsplit(b")", 1)[1].split()[1])
            found.append((int(entry), ppid, cmdline.decode(errors="replace")))
    return found


def main():
    build = os.path.realpath(sys.argv[1])
    # A test's last process may still be on its way out.
    deadline = time.monotonic() + 5
    found = leftovers(build)
    while found and time.monotonic() < deadline:
        time.sleep(0.2)
        found = leftovers(build)
    for pid, ppid, cmdline in found:
        print("left running: pid %d (parent %d): %s" % (pid, ppid, cmdline))
        try:
            os.kill(pid, signal.SIGKILL)
        except OSError:
            pass
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
