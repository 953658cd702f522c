#!/usr/bin/env python3
"""Start-up of si32-report and si32 measured as whole processes.

Each case runs the program repeatedly and reports the median wall time from
process start to exit and the peak resident memory of the child (from
wait4's rusage, taken by bin/process_probe). The window runs under Qt's offscreen platform and exits as
soon as its first activation has been handled (SI32_EXIT_AFTER_ACTIVATION=1),
so its time is start-up to first activation plus exit.

    python3 bench/measure_processes.py --build build [--runs 20] [--check]
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass, field


@dataclass
class Case:
    name: str
    program: str
    env: dict
    max_ms: float
    max_mb: float
    args: list = field(default_factory=list)


@dataclass
class Run:
    seconds: float
    max_rss_kb: int
    status: int


def run_once(probe, path, args, env, stderr_path):
    """Runs path through the small starter, which reports its wall time and
    peak memory: a child started from Python would count Python's memory."""
    with open(stderr_path, "wb") as err:
        out = subprocess.run([probe, path, *args], env=env, stdout=subprocess.PIPE, stderr=err, check=True).stdout
    nanoseconds, max_rss_kb, status = (int(x) for x in out.split())
    return Run(nanoseconds / 1e9, max_rss_kb, status)


def measure(case, build, runs, scratch):
    path = os.path.join(build, "bin", case.program)
    probe = os.path.join(build, "bin", "process_probe")
    for needed in (path, probe):
        if not os.access(needed, os.X_OK):
            return None, f"{needed} is not built"
    env = dict(os.environ)
    env.pop("SI32_MACHINE", None)
    env.update(case.env)
    stderr_path = os.path.join(scratch, case.name + ".stderr")
    results = []
    for i in range(runs + 1):
        args = [a.replace("{scratch}", scratch) for a in case.args]
        run = run_once(probe, path, args, env, stderr_path)
        if run.status != 0:
            with open(stderr_path, encoding="utf-8", errors="replace") as err:
                lines = err.read().strip().splitlines()
            return None, f"exit status {run.status}: {lines[-1] if lines else 'no message'}"
        if i > 0:  # the first run only warms the file cache
            results.append(run)
    return results, None


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build", help="the build directory (holds bin/)")
    parser.add_argument("--source", default=os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                        help="the source directory (holds machines/)")
    parser.add_argument("--runs", type=int, default=20)
    parser.add_argument("--check", action="store_true", help="exit 1 when a case misses its target")
    args = parser.parse_args()

    machine = os.path.join(args.source, "machines", "win98se.json")
    window = {"QT_QPA_PLATFORM": "offscreen", "SI32_EXIT_AFTER_ACTIVATION": "1"}
    cases = [
        Case("report, simulated Windows 98 SE", "si32-report", {"SI32_MACHINE": machine}, 10, 10),
        Case("report, this host", "si32-report", {}, 10, 10),
        # The whole run, every drive and the button, recorded and written.
        Case("capture, this host", "si32-report", {}, 50, 10, ["--capture", "{scratch}/capture.json"]),
        Case("window to activation, simulated", "si32", dict(window, SI32_MACHINE=machine), 100, 50),
        Case("window to activation, this host", "si32", window, 100, 50),
    ]

    print(f"{'case':36} {'median ms':>10} {'min ms':>8} {'peak MB':>8}   target")
    missed = 0
    with tempfile.TemporaryDirectory() as scratch:
        # Qt wants a private runtime directory and says so on every start.
        os.environ.setdefault("XDG_RUNTIME_DIR", scratch)
        for case in cases:
            results, problem = measure(case, args.build, args.runs, scratch)
            target = f"< {case.max_ms:g} ms, < {case.max_mb:g} MB"
            if problem:
                print(f"{case.name:36} {'-':>10} {'-':>8} {'-':>8}   {target}: not measured ({problem})")
                missed += 1
                continue
            ms = [r.seconds * 1000 for r in results]
            peak_mb = max(r.max_rss_kb for r in results) / 1024
            median_ms = statistics.median(ms)
            ok = median_ms < case.max_ms and peak_mb < case.max_mb
            missed += not ok
            print(f"{case.name:36} {median_ms:10.1f} {min(ms):8.1f} {peak_mb:8.1f}   {target}"
                  f"{'' if ok else '  MISSED'}")
    print(f"{args.runs} runs per case after one warm-up run; peak MB is the largest of the runs.")
    return 1 if args.check and missed else 0


if __name__ == "__main__":
    sys.exit(main())
