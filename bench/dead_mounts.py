#!/usr/bin/env python3
"""Start-up of si32-report with network mounts whose server never answers.

In a private mount namespace (the script starts itself again under
`unshare -m`), it mounts --mounts FUSE file systems that nobody serves: the
kernel's requests to them wait for ever, as a dead NFS or sshfs server's do.
They hold what a user's setup can put there: drive letters of the prefix
(dosdevices links), the product directory of TRVWIN.INI, a link on C:, and
directories on PATH. The report is started --runs times, plus once with a
drive pick of the dead drive, and once as a capture of the whole machine
(every drive of the list, the dead ones among them), and the wall times are
printed; --check fails when a start-up takes 3 s or more, or when the capture
takes longer than the 2 s deadline per dead volume or leaves those volumes
recorded as answering.

    sudo python3 bench/dead_mounts.py --build build [--mounts 4] [--runs 5] [--check]
"""
import argparse
import ctypes
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

MS_NOSUID, MS_NODEV = 2, 4


def reexec_in_namespace():
    if os.environ.get("SI32_DEAD_MOUNTS_NS") == "1":
        return
    if shutil.which("unshare") is None:
        sys.exit("unshare (util-linux) is needed")
    env = dict(os.environ, SI32_DEAD_MOUNTS_NS="1")
    argv = ["unshare", "-m", "--propagation", "private", sys.executable, *sys.argv]
    os.execvpe(argv[0], argv, env)


def mount_dead_fuse(directory, libc):
    """Mounts FUSE at directory over a /dev/fuse descriptor that is never read.
    The descriptor is returned and must stay open while the mount is used."""
    fd = os.open("/dev/fuse", os.O_RDWR)
    options = f"fd={fd},rootmode=40000,user_id={os.getuid()},group_id={os.getgid()}".encode()
    if libc.mount(b"si32-dead", directory.encode(), b"fuse", MS_NOSUID | MS_NODEV, options) != 0:
        sys.exit(f"cannot mount FUSE at {directory}: {os.strerror(ctypes.get_errno())}")
    return fd


def make_prefix(base, dead):
    prefix = os.path.join(base, "prefix")
    system = os.path.join(prefix, "drive_c", "WINDOWS", "SYSTEM")
    os.makedirs(system)
    os.makedirs(os.path.join(prefix, "dosdevices"))
    with open(os.path.join(system, "TRVWIN.INI"), "w") as ini:
        ini.write('"E:\\TARVELLO","E:",0,0,0,"","","","","","","","","",0,0\n')
    for index, directory in enumerate(dead):
        letter = chr(ord("e") + index)
        os.symlink(os.path.join(directory, "share"), os.path.join(prefix, "dosdevices", letter + ":"))
    os.symlink(os.path.join(dead[0], "c"), os.path.join(prefix, "drive_c", "link"))
    return prefix


def dead_volumes_answering(captured, mounts):
    """How many of the dead letters (E: on) the capture records as answering."""
    import json
    with open(captured, encoding="utf-8") as description:
        drives = json.load(description).get("drives", [])
    dead_letters = {chr(ord("E") + index) for index in range(mounts)}
    recorded = [drive for drive in drives if drive.get("letter", "").upper() in dead_letters]
    if len(recorded) != mounts:
        return mounts  # a dead letter missing from the capture counts against it
    return sum(1 for drive in recorded if not drive.get("volume_fails", False))


def timed(argv, env):
    start = time.monotonic()
    done = subprocess.run(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    return time.monotonic() - start, done.returncode


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build")
    parser.add_argument("--mounts", type=int, default=4)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args()
    reexec_in_namespace()

    report = os.path.abspath(os.path.join(args.build, "bin", "si32-report"))
    libc = ctypes.CDLL(None, use_errno=True)
    base = tempfile.mkdtemp(prefix="si32-dead-")
    dead = []
    for index in range(args.mounts):
        directory = os.path.join(base, f"dead{index}")
        os.mkdir(directory)
        mount_dead_fuse(directory, libc)
        dead.append(directory)
    prefix = make_prefix(base, dead)
    path = ":".join(os.path.join(d, "bin") for d in dead) + ":" + os.environ.get("PATH", "/usr/bin")
    env = dict(os.environ, SI32_PREFIX=prefix, PATH=path)
    env.pop("DISPLAY", None)

    times = []
    for _ in range(args.runs):
        seconds, status = timed([report], env)
        times.append(seconds)
    pick, _ = timed([report, "--drive", "E"], env)
    print(f"dead mounts: {args.mounts}, runs: {args.runs}")
    print(f"start-up: median {statistics.median(times) * 1000:.0f} ms, worst {max(times) * 1000:.0f} ms "
          f"(exit status {status})")
    print(f"start-up with the dead drive picked: {pick * 1000:.0f} ms")
    captured = os.path.join(base, "capture.json")
    capture, capture_status = timed([report, "--capture", captured], env)
    answering = dead_volumes_answering(captured, args.mounts) if capture_status == 0 else args.mounts
    print(f"capture: {capture * 1000:.0f} ms (exit status {capture_status}), "
          f"dead volumes recorded as answering: {answering}")
    # The mounts go with the namespace; the files are ours to remove.
    for directory in dead:
        libc.umount2(directory.encode(), 2)
    shutil.rmtree(base, ignore_errors=True)
    if args.check and max(max(times), pick) >= 3.0:
        sys.exit("a start-up took 3 s or more")
    if args.check and (capture >= 1.0 + 2.0 * args.mounts or answering != 0):
        sys.exit("the capture waited past the deadlines or recorded a dead volume as answering")


if __name__ == "__main__":
    main()
