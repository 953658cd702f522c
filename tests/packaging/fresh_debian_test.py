#!/usr/bin/env python3
"""The Debian package on a fresh Debian 12: `cpack -G DEB`, then a scratch
root made by debootstrap installs it with `apt-get install ./si32_*.deb`, and
the installed si32-report runs there. Needs root and Debian's mirrors, and
takes minutes, so it runs only when SI32_FRESH_DEBIAN=1 (exit 77: skipped).

usage: fresh_debian_test.py BUILD_DIR
The debootstrap result is kept in $SI32_FRESH_DEBIAN_CACHE (default
BUILD_DIR/fresh-debian-base) and copied for each run, so a second run skips
the download.
"""
import os
import shutil
import subprocess
import sys
import tempfile

SKIP = 77
MIRROR = os.environ.get("SI32_DEBIAN_MIRROR", "http://deb.debian.org/debian")


def run(argv, **kwargs):
    print("+", " ".join(argv), flush=True)
    return subprocess.run(argv, check=True, timeout=1500, **kwargs)


def chroot(root, *argv, **kwargs):
    env = {"PATH": "/usr/sbin:/usr/bin:/sbin:/bin", "HOME": "/root", "LANG": "C.UTF-8",
           "DEBIAN_FRONTEND": "noninteractive"}
    return run(["chroot", root, *argv], env=env, **kwargs)


def base_system(cache):
    if not os.path.isfile(os.path.join(cache, "etc", "debian_version")):
        shutil.rmtree(cache, ignore_errors=True)
        run(["debootstrap", "bookworm", cache, MIRROR])
    return cache


def main():
    if os.environ.get("SI32_FRESH_DEBIAN") != "1":
        print("skipped: set SI32_FRESH_DEBIAN=1 to install the package on a fresh Debian 12")
        return SKIP
    missing = [t for t in ("debootstrap", "cpack", "dpkg-shlibdeps", "chroot") if not shutil.which(t)]
    if os.geteuid() != 0 or missing:
        print("skipped: needs root and " + ", ".join(missing or ["nothing else"]))
        return SKIP
    build = os.path.abspath(sys.argv[1])
    cache = os.environ.get("SI32_FRESH_DEBIAN_CACHE", os.path.join(build, "fresh-debian-base"))
    scratch = tempfile.mkdtemp(prefix="si32-fresh-debian-")
    try:
        return install_and_run(build, cache, scratch)
    finally:
        # Never delete through a mount that is still there: /dev is the host's.
        root = os.path.join(scratch, "root")
        if not any(os.path.ismount(os.path.join(root, m)) for m in ("proc", "sys", "dev")):
            shutil.rmtree(scratch, ignore_errors=True)
        else:
            print("left " + scratch + " in place: a mount inside it did not come off")


def install_and_run(build, cache, scratch):
    out = os.path.join(scratch, "out")
    run(["cpack", "-G", "DEB", "-B", out, "--config", os.path.join(build, "CPackConfig.cmake")])
    deb = next(f for f in os.listdir(out) if f.startswith("si32_") and f.endswith(".deb"))
    root = os.path.join(scratch, "root")
    run(["cp", "-a", base_system(cache), root])
    shutil.copy(os.path.join(out, deb), os.path.join(root, "tmp", deb))
    shutil.copy("/etc/resolv.conf", os.path.join(root, "etc", "resolv.conf"))
    mounts = []
    try:
        for kind, target in (("proc", "proc"), ("sysfs", "sys")):
            run(["mount", "-t", kind, kind, os.path.join(root, target)])
            mounts.append(os.path.join(root, target))
        run(["mount", "--rbind", "/dev", os.path.join(root, "dev")])
        mounts.append(os.path.join(root, "dev"))
        chroot(root, "apt-get", "update", "-q")
        chroot(root, "apt-get", "install", "-y", "-q", "--no-install-recommends", "/tmp/" + deb)
        chroot(root, "si32-report", "--version")
        report = chroot(root, "si32-report", capture_output=True, text=True).stdout
        print(report)
        if "Tarvello Directory:" not in report or "C:\\TARVELLO" not in report:
            print("FAILED: the report does not show the installed prefix's Tarvello directory")
            return 1
        demo = chroot(root, "env", "SI32_MACHINE=win98se", "si32-report", capture_output=True, text=True).stdout
        if "Microsoft Windows 98, 2nd Edition" not in demo:
            print("FAILED: the installed demo machine win98se is not found by its name")
            return 1
        # A bootstrapped root has no man; a user who reads pages has man-db.
        chroot(root, "apt-get", "install", "-y", "-q", "--no-install-recommends", "man-db")
        page = chroot(root, "man", "-P", "cat", "si32", capture_output=True, text=True).stdout
        if "Tarvello System Information" not in page:
            print("FAILED: man si32 does not show the installed manual page")
            return 1
    finally:
        for mount in reversed(mounts):
            subprocess.run(["umount", "-R", mount], check=False)
    print("1 passed, 0 failed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
