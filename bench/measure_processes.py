#!/usr/bin/env python3
"""Start-up of si32-report and si32 measured as whole processes.

Each case runs the program repeatedly and reports the median wall time from
process start to exit and the peak resident memory of the child (from
wait4's rusage, taken by bin/process_probe). The window runs under Qt's offscreen platform and exits as
soon as its first activation has been handled (SI32_EXIT_AFTER_ACTIVATION=1),
so its time is start-up to first activation plus exit.

    python3 bench/measure_processes.py --build build [--runs 20] [--check]

--compare measures each program beside its comparison basis instead, in
paired runs (the two alternate, so a load on the machine weighs on both):
the report against bin/report_floor, which does only the report's reading
(its work list is taken from an strace of the report), and the window to its
first painted frame against bin/bare_dialog, bare and again with the
report's captions and values in its labels (the glyphs the window has to
draw). Under `xvfb-run -a` the display
cases run too. --instructions adds one run of each under callgrind, whose
instruction counts hold still on a loaded machine where wall times do not.

--peers measures the report beside the system-information tools of Debian
that this machine has (neofetch, screenfetch, inxi), each as it starts by
default with its output to a pipe, in paired runs without a display.

--mounts measures the report on 10 to 20,000 mounts (bind mounts in a private
mount namespace; needs root and unshare) and prints the time each mount adds.

    xvfb-run -a python3 bench/measure_processes.py --compare [--instructions]
    sudo python3 bench/measure_processes.py --mounts
"""
import argparse
import ctypes
import os
import re
import shutil
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


LOADER_FILES = re.compile(r"(\.so(\.[0-9.]+)?$|^/etc/ld\.so\.|^/usr/lib/locale/|/gconv/|^/dev/)")
TRACED = re.compile(r'^\d+\s+(openat|statfs|connect)\((?:AT_FDCWD, )?(?:"([^"]*)"|\d+, \{sa_family=AF_UNIX, sun_path=@?"([^"]*)")'
                    r"([^)]*)\).*= (-?\d+)")


def work_list(program, env, scratch):
    """The reading a run of program does, as report_floor's work list: the
    files opened (the loader's own left out, the floor has a loader too),
    the directories listed, the file systems asked for their sizes and
    whether it spoke to the X server."""
    if shutil.which("strace") is None:
        return None, "strace is not installed"
    trace = os.path.join(scratch, "trace.txt")
    subprocess.run(["strace", "-f", "-qq", "-e", "trace=openat,statfs,connect", "-o", trace, program],
                   env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    entries = []
    with open(trace, encoding="utf-8", errors="replace") as lines:
        for line in lines:
            match = TRACED.match(line)
            if not match or int(match.group(5)) < 0:
                continue
            call, path, socket, flags = match.group(1), match.group(2), match.group(3), match.group(4)
            if call == "connect":
                if socket and "X11" in socket and "display" not in entries:
                    entries.append("display")
            elif call == "statfs":
                entries.append(f"statfs {path}")
            elif not LOADER_FILES.search(path):
                entries.append(f"{'list' if 'O_DIRECTORY' in flags else 'read'} {path}")
    listed = os.path.join(scratch, f"work-{len(os.listdir(scratch))}.txt")
    with open(listed, "w", encoding="utf-8") as out:
        out.write("\n".join(entries) + "\n")
    return listed, None


def instructions(argv, env):
    """The instructions a run executes, by callgrind (threads included)."""
    done = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null", *argv], env=env,
                          stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, check=False)
    # A child the program forks (libdbus autolaunching a bus where the
    # session has none) reports first, with the counts it inherited: the
    # program's own line carries the pid of the command line.
    started = re.search(rb"==(\d+)== Command:", done.stderr)
    if not started:
        return None
    match = re.search(rb"==" + started.group(1) + rb"== Collected : (\d+)", done.stderr)
    return int(match.group(1)) if match else None


def paired(probe, subject, basis, env, runs, scratch):
    """Alternating runs of two command lines; the medians of each."""
    times = {"subject": [], "basis": []}
    peaks = {"subject": 0, "basis": 0}
    retried = {"subject": 0, "basis": 0}
    for i in range(runs + 1):
        for which, argv in (("subject", subject), ("basis", basis)):
            stderr_path = os.path.join(scratch, which + ".stderr")
            run = run_once(probe, argv[0], argv[1:], env, stderr_path)
            # A display server under load now and then misses the window's
            # probe of it; such a start is run again, and counted.
            for _ in range(3):
                if run.status == 0:
                    break
                retried[which] += 1
                run = run_once(probe, argv[0], argv[1:], env, stderr_path)
            if run.status != 0:
                with open(stderr_path, encoding="utf-8", errors="replace") as err:
                    lines = err.read().strip().splitlines()
                return None, f"{argv[0]} ended with status {run.status}: {lines[-1] if lines else 'no message'}"
            if i > 0:
                times[which].append(run.seconds * 1000)
                peaks[which] = max(peaks[which], run.max_rss_kb / 1024)
    if any(retried.values()):
        print(f"  (failed starts run again: {retried['subject']} of {subject[0]}, {retried['basis']} of {basis[0]})")
    return {which: (statistics.median(times[which]), peaks[which]) for which in times}, None


def environment(**changes):
    env = dict(os.environ)
    env.pop("SI32_MACHINE", None)
    for name, value in changes.items():
        if value is None:
            env.pop(name, None)
        else:
            env[name] = value
    return env


def compare(args, scratch):
    bin_dir = os.path.join(args.build, "bin")
    probe, report, window = (os.path.join(bin_dir, p) for p in ("process_probe", "si32-report", "si32"))
    floor, bare = os.path.join(bin_dir, "report_floor"), os.path.join(bin_dir, "bare_dialog")
    display = os.environ.get("DISPLAY")
    # The window keeps its font fit between starts: the warm-up pair fills a
    # cache of the run's own, and a cache folder that cannot be made (its
    # parent is a file) gives every start's cost without one.
    cache, no_cache = os.path.join(scratch, "cache"), os.path.join(scratch, "not-a-folder")
    with open(no_cache, "w", encoding="utf-8"):
        pass
    painted = {"SI32_EXIT_AFTER_FIRST_PAINT": "1", "XDG_CACHE_HOME": cache}
    pairs = [("report, no display", environment(DISPLAY=None, WAYLAND_DISPLAY=None), report, [floor])]
    if display:
        pairs.append(("report, X display", environment(WAYLAND_DISPLAY=None), report, [floor]))
    # The bare dialog again, its labels showing what the report shows: the
    # part of the window's cost that is the machine's text to draw.
    texts = os.path.join(scratch, "texts.txt")
    with open(texts, "wb") as out:
        subprocess.run([report], env=environment(), stdout=out, stderr=subprocess.DEVNULL, check=False)
    offscreen = environment(QT_QPA_PLATFORM="offscreen", **painted)
    pairs.append(("window, offscreen", offscreen, window, [bare]))
    pairs.append(("window, offscreen, 1st", environment(QT_QPA_PLATFORM="offscreen", **dict(painted,
                  XDG_CACHE_HOME=os.path.join(no_cache, "cache"))), window, [bare]))
    pairs.append(("window, offscr., texts", offscreen, window, [bare, texts]))
    if display:
        xvfb = environment(QT_QPA_PLATFORM="xcb", **painted)
        pairs.append(("window, Xvfb", xvfb, window, [bare]))
        pairs.append(("window, Xvfb, texts", xvfb, window, [bare, texts]))
    else:
        print("no DISPLAY: the display cases are left out (run under xvfb-run -a)")
    print(f"{'case':22} {'si32 ms':>8} {'basis ms':>9} {'ratio':>6} {'si32 MB':>8} {'basis MB':>9} {'ratio':>6}"
          + (f" {'si32 Minstr':>12} {'basis Minstr':>12} {'ratio':>6}" if args.instructions else ""))
    for name, env, subject, basis in pairs:
        if args.only and args.only not in name:
            continue
        basis_argv = list(basis)
        if basis_argv == [floor]:
            listed, problem = work_list(subject, env, scratch)
            if problem:
                print(f"{name:22} not measured ({problem})")
                continue
            basis_argv.append(listed)
        result, problem = paired(probe, [subject], basis_argv, env, args.runs, scratch)
        if problem:
            print(f"{name:22} not measured ({problem})")
            continue
        (s_ms, s_mb), (b_ms, b_mb) = result["subject"], result["basis"]
        line = f"{name:22} {s_ms:8.1f} {b_ms:9.1f} {s_ms / b_ms:6.2f} {s_mb:8.1f} {b_mb:9.1f} {s_mb / b_mb:6.2f}"
        if args.instructions:
            s_in, b_in = instructions([subject], env), instructions(basis_argv, env)
            if s_in and b_in:
                line += f" {s_in / 1e6:12.2f} {b_in / 1e6:12.2f} {s_in / b_in:6.2f}"
        print(line)
    print(f"medians of {args.runs} paired runs after one warm-up pair; MB is the largest peak of the runs.")
    return 0


# Debian 12's system-information tools and the arguments that make each print
# its plain facts to a pipe (no logo, no colours where it has a switch).
PEERS = [("neofetch", ["--stdout"]), ("screenfetch", ["-n", "-N"]), ("inxi", ["-b", "-c", "0"])]


def peers(args, scratch):
    """The report beside the peers that are installed, run for run."""
    probe, report = (os.path.join(args.build, "bin", p) for p in ("process_probe", "si32-report"))
    env = environment(DISPLAY=None, WAYLAND_DISPLAY=None)
    print(f"{'peer':22} {'si32 ms':>8} {'peer ms':>9} {'ratio':>6} {'si32 MB':>8} {'peer MB':>9}")
    found = 0
    for name, peer_args in PEERS:
        path = shutil.which(name)
        if path is None:
            print(f"{name:22} not installed (apt-get install {name})")
            continue
        found += 1
        result, problem = paired(probe, [report], [path, *peer_args], env, args.runs, scratch)
        if problem:
            print(f"{name:22} not measured ({problem})")
            continue
        (s_ms, s_mb), (p_ms, p_mb) = result["subject"], result["basis"]
        print(f"{name:22} {s_ms:8.1f} {p_ms:9.1f} {s_ms / p_ms:6.3f} {s_mb:8.1f} {p_mb:9.1f}")
    print(f"medians of {args.runs} paired runs after one warm-up pair; a peer's MB is its first process's peak"
          " (the programs it starts are timed, not weighed).")
    return 0 if found else 1


def reexec_in_namespace():
    if os.environ.get("SI32_MOUNTS_NS") == "1":
        return
    if shutil.which("unshare") is None or os.geteuid() != 0:
        sys.exit("--mounts needs root and unshare (util-linux)")
    argv = ["unshare", "-m", "--propagation", "private", sys.executable, *sys.argv]
    os.execvpe(argv[0], argv, dict(os.environ, SI32_MOUNTS_NS="1"))


def mounts(args, scratch):
    """The report's time on more and more mounts, and the time each adds."""
    reexec_in_namespace()
    libc = ctypes.CDLL(None, use_errno=True)
    ms_bind = 4096
    base = os.path.join(scratch, "mounts")
    os.mkdir(base)
    if libc.mount(b"si32-mounts", base.encode(), b"tmpfs", 0, b"size=1m") != 0:
        sys.exit(f"cannot mount tmpfs: {os.strerror(ctypes.get_errno())}")
    source = os.path.join(base, "source")
    os.mkdir(source)
    env = environment(DISPLAY=None, WAYLAND_DISPLAY=None)
    probe, report = os.path.join(args.build, "bin", "process_probe"), os.path.join(args.build, "bin", "si32-report")
    with open("/proc/self/mountinfo", encoding="utf-8") as table:
        existing = sum(1 for _ in table)
    made = 0
    print(f"{'mounts':>7} {'report ms':>10} {'per mount us':>13}" + (f" {'Minstr':>9} {'per mount':>10}"
                                                                    if args.instructions else ""))
    first = None
    for count in (10, 100, 1000, 10000, 20000):
        while made < count:
            target = os.path.join(base, f"m{made}")
            os.mkdir(target)
            if libc.mount(source.encode(), target.encode(), None, ms_bind, None) != 0:
                sys.exit(f"cannot bind-mount {target}: {os.strerror(ctypes.get_errno())}")
            made += 1
        ms = statistics.median(run_once(probe, report, [], env, os.devnull).seconds * 1000
                               for _ in range(args.runs))
        line = f"{count:7} {ms:10.1f}"
        instr = instructions([report], env) if args.instructions else None
        if first is None:
            first = (count, ms, instr)
            line += f" {'-':>13}"
        else:
            line += f" {(ms - first[1]) * 1000 / (count - first[0]):13.2f}"
        if instr is not None:
            line += f" {instr / 1e6:9.1f}"
            if first[2] is not None and count != first[0]:
                line += f" {(instr - first[2]) / (count - first[0]):10.0f}"
        print(line)
    print(f"{existing} mounts of the host besides; medians of {args.runs} runs; per mount: beyond the first row.")
    libc.umount2(base.encode(), 2)  # MNT_DETACH takes the bind mounts along
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build", help="the build directory (holds bin/)")
    parser.add_argument("--source", default=os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                        help="the source directory (holds machines/)")
    parser.add_argument("--runs", type=int, default=20)
    parser.add_argument("--check", action="store_true", help="exit 1 when a case misses its target")
    parser.add_argument("--compare", action="store_true", help="each program beside its comparison basis")
    parser.add_argument("--mounts", action="store_true", help="the report on 10 to 20,000 mounts")
    parser.add_argument("--peers", action="store_true", help="the report beside the installed peer tools")
    parser.add_argument("--instructions", action="store_true", help="instruction counts by callgrind too")
    parser.add_argument("--only", help="with --compare: only the cases whose name holds this text")
    args = parser.parse_args()
    args.build = os.path.abspath(args.build)
    if args.compare or args.mounts or args.peers:
        with tempfile.TemporaryDirectory() as scratch:
            os.environ.setdefault("XDG_RUNTIME_DIR", scratch)
            if args.peers:
                return peers(args, scratch)
            return compare(args, scratch) if args.compare else mounts(args, scratch)

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
