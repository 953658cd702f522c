#!/usr/bin/env python3
"""An installation as a user gets it: a staging `cmake --install` holds every
file a desktop and a shell look for, the validators accept them, and the
installed programs run from another directory, find their own prefix there,
and still do after the installation is moved; an installation into the
user's ~/.local changes neither the build tree's report nor an installed
one. `cpack -G DEB` makes a package lintian accepts: stripped programs with
their debug information beside them, whose Depends come from the binaries
and whose Recommends name every library the programs open at run time.

usage: install_test.py BUILD_DIR
"""
import glob
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

BUILD = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 1 else "build"
APP_ID = "com.tarvello.Si32"


def cache_value(name):
    with open(os.path.join(BUILD, "CMakeCache.txt"), encoding="utf-8") as cache:
        for line in cache:
            if line.startswith(name + ":"):
                return line.split("=", 1)[1].strip()
    return ""


GUI = cache_value("SI32_GUI") in ("ON", "1", "TRUE")
SOURCE = cache_value("CMAKE_HOME_DIRECTORY")
# Sanitizer instrumentation makes the programs several times larger, so the
# download limit holds only for the builds users get.
SANITIZED = cache_value("SI32_SANITIZE") in ("ON", "1", "TRUE")


def quiet_env(home):
    """The environment of a user without a prefix of their own, and without
    a display: --help, --version and the report need none."""
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "SI32_PREFIX", "SI32_MACHINE", "XDG_DATA_HOME", "WAYLAND_DISPLAY")}
    env["HOME"] = home
    env["XDG_RUNTIME_DIR"] = home
    return env


def run(argv, timeout=120, **kwargs):
    return subprocess.run(argv, capture_output=True, text=True, timeout=timeout, **kwargs)


class StagedInstall(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.mkdtemp(prefix="si32-install-")
        cls.usr = os.path.join(cls.scratch, "stage", "usr")
        done = run(["cmake", "--install", BUILD, "--prefix", cls.usr])
        if done.returncode != 0:
            raise AssertionError("cmake --install failed:\n" + done.stdout + done.stderr)
        cls.home = os.path.join(cls.scratch, "home")
        cls.elsewhere = os.path.join(cls.scratch, "elsewhere")
        os.makedirs(cls.home)
        os.makedirs(cls.elsewhere)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.scratch, ignore_errors=True)

    def path(self, relative, usr=None):
        return os.path.join(usr or self.usr, relative)

    def report(self, usr, *args):
        return run([self.path("bin/si32-report", usr), *args], cwd=self.elsewhere, env=quiet_env(self.home))

    def test_every_file_is_where_desktops_and_shells_look(self):
        files = [
            ("bin/si32-report", True),
            ("libexec/si32/reschk", True),
            ("share/si32/prefix/drive_c/WINDOWS/SYSTEM/TRVWIN.INI", False),
            (f"share/icons/hicolor/scalable/apps/{APP_ID}.svg", False),
            (f"share/applications/{APP_ID}.desktop", False),
            (f"share/metainfo/{APP_ID}.metainfo.xml", False),
            ("share/man/man1/si32.1.gz", False),
            ("share/man/man1/si32-report.1.gz", False),
            ("share/si32/machines/win98se.json", False),
            ("share/si32/machines/win98se.reg", False),
            ("share/bash-completion/completions/si32-report", False),
            ("share/zsh/vendor-completions/_si32-report", False),
            ("share/fish/vendor_completions.d/si32-report.fish", False),
            ("share/doc/si32/differences.md", False),
            ("share/doc/si32/copyright", False),
            ("share/doc/si32/changelog.gz", False),
        ]
        files += [(f"share/icons/hicolor/{n}x{n}/apps/{APP_ID}.png", False) for n in (16, 24, 32, 48, 64, 128, 256)]
        if GUI:
            files.append(("bin/si32", True))
        for relative, executable in files:
            with self.subTest(relative):
                self.assertTrue(os.path.isfile(self.path(relative)), "missing")
                self.assertEqual(os.access(self.path(relative), os.X_OK), executable)
        product = self.path("share/si32/prefix/drive_c/TARVELLO/tarvello.exe")
        if GUI:
            self.assertTrue(os.path.samefile(product, self.path("bin/si32")), "tarvello.exe is the installed si32")

    def test_validators_accept_the_desktop_files(self):
        checks = [
            ["desktop-file-validate", self.path(f"share/applications/{APP_ID}.desktop")],
            ["appstreamcli", "validate", "--no-net", self.path(f"share/metainfo/{APP_ID}.metainfo.xml")],
        ]
        if shutil.which("man"):
            checks += [["man", "--warnings", "-l", self.path(f"share/man/man1/{page}.1.gz")] for page in ("si32", "si32-report")]
        for argv in checks:
            with self.subTest(argv[0]):
                if not shutil.which(argv[0]):
                    self.skipTest(argv[0] + " is not installed (scripts/install-deps.sh --tests)")
                done = run(argv, env={**os.environ, "MANWIDTH": "80", "LC_ALL": "C.UTF-8"})
                self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
                if argv[0] == "man":
                    self.assertEqual(done.stderr, "", "the page renders without warnings")

    def test_command_line_conventions_without_a_display(self):
        programs = ["si32-report"] + (["si32"] if GUI else [])
        for program in programs:
            exe = self.path("bin/" + program)
            env = quiet_env(self.home)
            with self.subTest(program):
                version = run([exe, "--version"], env=env)
                self.assertEqual(version.returncode, 0, version.stderr)
                self.assertTrue(version.stdout.startswith(program + " "), version.stdout)
                usage = run([exe, "--help"], env=env)
                self.assertEqual(usage.returncode, 0, usage.stderr)
                self.assertIn("--version", usage.stdout)
                wrong = run([exe, "--no-such-option"], env=env)
                self.assertEqual(wrong.returncode, 2)
                self.assertEqual(wrong.stderr.count("\n"), 1, wrong.stderr)

    def test_report_reads_the_installed_prefix_wherever_the_installation_is(self):
        ini = self.path("share/si32/prefix/drive_c/WINDOWS/SYSTEM/TRVWIN.INI")
        with open(ini, encoding="ascii") as f:
            record = f.read()
        with open(ini, "w", encoding="ascii") as f:
            f.write(record.replace('"C:\\TARVELLO"', '"C:\\STAGED"', 1))
        # The product directory under its new name keeps its relative link.
        drive_c = self.path("share/si32/prefix/drive_c")
        os.rename(os.path.join(drive_c, "TARVELLO"), os.path.join(drive_c, "STAGED"))
        moved = os.path.join(self.scratch, "moved", "usr")
        shutil.copytree(self.usr, moved, symlinks=True)
        for usr in (self.usr, moved):
            with self.subTest(usr):
                done = self.report(usr, "--json")
                self.assertEqual(done.returncode, 0, done.stderr)
                system = json.loads(done.stdout)["fields"]["Operating System Info"]
                self.assertEqual(system["Tarvello Directory:"], "C:\\STAGED")
                if GUI:
                    # The product's date is that of tarvello.exe, which the
                    # prefix links to the installed si32.
                    self.assertRegex(system["Tarvello Version:"], r"^2005\.20 \(\d\d-\w+-\d{4}\)$")

    def test_demo_machines_go_by_name_from_the_installation(self):
        listed = self.report(self.usr, "--list-machines")
        self.assertEqual(listed.returncode, 0, listed.stderr)
        names = [line.split()[0] for line in listed.stdout.splitlines()]
        shipped = sorted(f[:-5] for f in os.listdir(os.path.join(SOURCE, "machines")) if f.endswith(".json"))
        self.assertEqual(names, shipped)
        env = dict(quiet_env(self.home), SI32_MACHINE="win98se")
        installed = run([self.path("bin/si32-report"), "--json"], cwd=self.elsewhere, env=env)
        self.assertEqual(installed.returncode, 0, installed.stderr)
        env["SI32_MACHINE"] = os.path.join(SOURCE, "machines", "win98se.json")
        tree = run([os.path.join(BUILD, "bin", "si32-report"), "--json"], cwd=self.elsewhere, env=env)
        self.assertEqual(json.loads(installed.stdout)["fields"], json.loads(tree.stdout)["fields"])

    def test_bash_completes_options_and_drive_letters(self):
        if not shutil.which("bash"):
            self.skipTest("no bash")
        script = self.path("share/bash-completion/completions/si32-report")
        probe = (f'source "{script}"; COMP_WORDS=(si32-report --list-d); COMP_CWORD=1; _si32_report; '
                 'echo "${COMPREPLY[*]}"; COMP_WORDS=(si32-report --drive ""); COMP_CWORD=2; _si32_report; '
                 'echo "${COMPREPLY[*]}"')
        env = quiet_env(self.home)
        env["PATH"] = self.path("bin") + os.pathsep + env.get("PATH", "")
        done = run(["bash", "-c", probe], env=env, cwd=self.elsewhere)
        options, letters = (done.stdout.splitlines() + ["", ""])[:2]
        self.assertEqual(options, "--list-drives")
        drives = self.report(self.usr, "--list-drives").stdout.split()
        self.assertEqual(letters.split(), [d[0] for d in drives if d.endswith(":")])
        self.assertIn("c", letters.split())


def facts_that_an_install_could_change(report, home, cwd):
    """What the issue with a ~/.local install took away: the Windows side's
    facts (the Operating System frame, the Tarvello directory and version
    among them), the drive list and the drive it starts on."""
    shown = run([report, "--json"], cwd=cwd, env=quiet_env(home))
    drives = run([report, "--list-drives"], cwd=cwd, env=quiet_env(home))
    if shown.returncode != 0 or drives.returncode != 0:
        raise AssertionError(report + " failed:\n" + shown.stderr + drives.stderr)
    fields = json.loads(shown.stdout)["fields"]
    return {"system": fields["Operating System Info"], "drive": fields["Drive Info"].get("Drive:"),
            "drives": drives.stdout}


class UserLocalInstall(unittest.TestCase):
    def test_an_install_into_the_users_local_changes_neither_report(self):
        with tempfile.TemporaryDirectory(prefix="si32-local-") as scratch:
            home = os.path.join(scratch, "home")
            elsewhere = os.path.join(scratch, "elsewhere")
            os.makedirs(home)
            os.makedirs(elsewhere)
            usr = os.path.join(scratch, "usr")
            done = run(["cmake", "--install", BUILD, "--prefix", usr])
            self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
            reports = {"the build tree's": os.path.join(BUILD, "bin", "si32-report"),
                       "an installed one": os.path.join(usr, "bin", "si32-report")}
            before = {name: facts_that_an_install_could_change(r, home, elsewhere) for name, r in reports.items()}
            local = os.path.join(home, ".local")
            done = run(["cmake", "--install", BUILD, "--prefix", local], env=quiet_env(home))
            self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
            self.assertTrue(os.path.isdir(os.path.join(local, "share", "si32")), "the install reached ~/.local")
            for name, report in reports.items():
                with self.subTest(name):
                    self.assertEqual(facts_that_an_install_could_change(report, home, elsewhere), before[name])
            with self.subTest("the one in ~/.local"):
                mine = facts_that_an_install_could_change(os.path.join(local, "bin", "si32-report"), home, elsewhere)
                self.assertEqual(mine["system"]["Tarvello Directory:"], before["an installed one"]["system"]["Tarvello Directory:"])
                self.assertEqual(mine["drive"], before["an installed one"]["drive"])


def soname_package(soname):
    """The Debian package that holds a library: dpkg's answer where the
    library is installed here, else the name Debian's policy gives it
    (libXinerama.so.1: libxinerama1; libfoo2.so.0: libfoo2-0)."""
    found = run(["ldconfig", "-p"]).stdout if shutil.which("ldconfig") else ""
    for line in found.splitlines():
        parts = line.strip().split(" => ")
        if len(parts) == 2 and parts[0].split()[0] == soname:
            owner = run(["dpkg", "-S", os.path.realpath(parts[1])])
            if owner.returncode == 0:
                return owner.stdout.split(":")[0].strip()
    name, version = re.fullmatch(r"(.+)\.so\.(\d+)", soname).groups()
    return (name + ("-" if name[-1].isdigit() else "") + version).lower()


def elf_files(root):
    for folder, _, names in os.walk(root):
        for name in names:
            path = os.path.join(folder, name)
            if not os.path.islink(path) and os.path.isfile(path):
                with open(path, "rb") as f:
                    if f.read(4) == b"\x7fELF":
                        yield path


class DebianPackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        for tool in ("cpack", "dpkg-shlibdeps", "dpkg-deb", "readelf"):
            if not shutil.which(tool):
                raise unittest.SkipTest(tool + " is not installed (scripts/install-deps.sh --tests)")
        cls.out = tempfile.mkdtemp(prefix="si32-cpack-")
        done = run(["cpack", "-G", "DEB", "-B", cls.out, "--config", os.path.join(BUILD, "CPackConfig.cmake")])
        if done.returncode != 0:
            shutil.rmtree(cls.out, ignore_errors=True)
            raise AssertionError("cpack failed:\n" + done.stdout + done.stderr)
        cls.debs = glob.glob(os.path.join(cls.out, "si32_*.deb"))
        cls.ddebs = glob.glob(os.path.join(cls.out, "si32-dbgsym_*.ddeb"))
        cls.tree = os.path.join(cls.out, "tree")
        cls.debug_tree = os.path.join(cls.out, "debug")
        if len(cls.debs) == 1:
            run(["dpkg-deb", "-x", cls.debs[0], cls.tree])
        if len(cls.ddebs) == 1:
            run(["dpkg-deb", "-x", cls.ddebs[0], cls.debug_tree])

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.out, ignore_errors=True)

    def field(self, name):
        return run(["dpkg-deb", "-f", self.debs[0], name]).stdout.strip()

    def test_a_lean_package_whose_depends_come_from_the_binaries(self):
        self.assertEqual(len(self.debs), 1, os.listdir(self.out))
        if not SANITIZED:
            self.assertLess(os.path.getsize(self.debs[0]), 5 * 1024 * 1024, "the download a user pays for")
        depends = self.field("Depends")
        self.assertIn("libc6", depends)
        if GUI:
            self.assertIn("libqt6widgets6", depends)
        for path in ("usr/bin/si32-report", "usr/libexec/si32/reschk", f"usr/share/applications/{APP_ID}.desktop",
                     "usr/share/si32/machines/win98se.json"):
            self.assertTrue(os.path.isfile(os.path.join(self.tree, path)), path)

    def test_programs_are_stripped_and_their_debug_information_is_in_dbgsym(self):
        self.assertEqual(len(self.ddebs), 1, os.listdir(self.out))
        programs = list(elf_files(self.tree))
        self.assertGreaterEqual(len(programs), 3 if GUI else 2)
        for program in programs:
            with self.subTest(os.path.relpath(program, self.tree)):
                sections = run(["readelf", "-S", "-W", program]).stdout
                self.assertNotIn(".debug_info", sections)
                self.assertNotIn(".symtab", sections)
                notes = run(["readelf", "-n", program]).stdout
                build_id = re.search(r"Build ID: ([0-9a-f]+)", notes)
                self.assertIsNotNone(build_id, "a build id names its debug file")
                debug = os.path.join(self.debug_tree, "usr/lib/debug/.build-id", build_id[1][:2], build_id[1][2:] + ".debug")
                self.assertTrue(os.path.isfile(debug), debug)
                self.assertIn(".debug_info", run(["readelf", "-S", "-W", debug]).stdout)

    def test_copyright_is_machine_readable_and_states_the_licence(self):
        with open(os.path.join(self.tree, "usr/share/doc/si32/copyright"), encoding="utf-8") as f:
            paragraphs = [p for p in f.read().split("\n\n") if p.strip()]
        self.assertTrue(paragraphs[0].startswith(
            "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"))
        files = [p for p in paragraphs if p.startswith("Files: *\n")]
        self.assertEqual(len(files), 1, paragraphs)
        self.assertRegex(files[0], r"\nCopyright: (\d{4}(-\d{4})? )?the Si32 developers\n")
        self.assertIn("\nLicense: MIT", files[0])
        texts = [p for p in paragraphs if p.startswith("License: MIT\n")]
        self.assertEqual(len(texts), 1, paragraphs)
        with open(os.path.join(SOURCE, "LICENSE"), encoding="utf-8") as f:
            license = f.read()
        self.assertIn("Copyright (c) the Si32 developers", license)
        body = "\n".join("" if line == " ." else line[1:] for line in texts[0].splitlines()[1:])
        self.assertIn(body.strip(), license)
        self.assertGreater(len(body), 500, "the whole permission text")
        metainfo = os.path.join(self.tree, f"usr/share/metainfo/{APP_ID}.metainfo.xml")
        with open(metainfo, encoding="utf-8") as f:
            self.assertIn("<project_license>MIT</project_license>", f.read())

    def test_manual_pages_and_changelog_are_gzipped_without_name_or_time(self):
        pages = glob.glob(os.path.join(self.tree, "usr/share/man/*/*"))
        self.assertGreaterEqual(len(pages), 2)
        for path in pages + [os.path.join(self.tree, "usr/share/doc/si32/changelog.gz")]:
            with self.subTest(os.path.basename(path)):
                self.assertTrue(path.endswith(".gz"))
                with open(path, "rb") as f:
                    header = f.read(10)
                self.assertEqual(header[:3], b"\x1f\x8b\x08")
                self.assertEqual(header[3] & 0x08, 0, "no file name inside")
                self.assertEqual(header[4:8], b"\0\0\0\0", "no time inside")

    def test_recommends_name_every_library_the_programs_open_at_run_time(self):
        opened = set()
        for program in elf_files(os.path.join(self.tree, "usr")):
            with open(program, "rb") as f:
                names = set(n.decode() for n in re.findall(rb"lib[A-Za-z0-9_+-]+\.so\.\d+", f.read()))
            dynamic = run(["readelf", "-d", "-W", program]).stdout
            linked = set(re.findall(r"\(NEEDED\).*\[(.+?)\]", dynamic))
            opened |= names - linked
        self.assertTrue(opened, "the programs open libraries at run time (the scan found none)")
        recommends = {r.split()[0] for r in self.field("Recommends").split(",") if r.strip()}
        for soname in sorted(opened):
            with self.subTest(soname):
                self.assertIn(soname_package(soname), recommends)

    def test_lintian_finds_no_errors(self):
        if not shutil.which("lintian"):
            self.skipTest("lintian is not installed (scripts/install-deps.sh --tests)")
        done = run(["lintian", "--fail-on", "error", self.debs[0]], timeout=900)
        errors = [line for line in done.stdout.splitlines() if line.startswith("E:")]
        self.assertEqual(errors, [], done.stdout + done.stderr)
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
