#!/usr/bin/env python3
"""An installation as a user gets it: a staging `cmake --install` holds every
file a desktop and a shell look for, the validators accept them, and the
installed programs run from another directory, find their own prefix there,
and still do after the installation is moved. `cpack -G DEB` makes a package
whose Depends come from the binaries.

usage: install_test.py BUILD_DIR
"""
import json
import os
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


def quiet_env(home):
    """The environment of a user without a prefix of their own, and without
    a display: --help, --version and the report need none."""
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "SI32_PREFIX", "SI32_MACHINE", "XDG_DATA_HOME", "WAYLAND_DISPLAY")}
    env["HOME"] = home
    env["XDG_RUNTIME_DIR"] = home
    return env


def run(argv, **kwargs):
    return subprocess.run(argv, capture_output=True, text=True, timeout=120, **kwargs)


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
            ("share/man/man1/si32.1", False),
            ("share/man/man1/si32-report.1", False),
            ("share/bash-completion/completions/si32-report", False),
            ("share/zsh/vendor-completions/_si32-report", False),
            ("share/fish/vendor_completions.d/si32-report.fish", False),
            ("share/doc/si32/differences.md", False),
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
            checks += [["man", "--warnings", "-l", self.path(f"share/man/man1/{page}.1")] for page in ("si32", "si32-report")]
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

    def test_bash_completes_options_and_drive_letters(self):
        if not shutil.which("bash"):
            self.skipTest("no bash")
        script = self.path("share/bash-completion/completions/si32-report")
        probe = (f'source "{script}"; COMP_WORDS=(si32-report --li); COMP_CWORD=1; _si32_report; '
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


class DebianPackage(unittest.TestCase):
    def test_cpack_makes_a_package_whose_depends_come_from_the_binaries(self):
        for tool in ("cpack", "dpkg-shlibdeps", "dpkg-deb"):
            if not shutil.which(tool):
                self.skipTest(tool + " is not installed (scripts/install-deps.sh --tests)")
        with tempfile.TemporaryDirectory(prefix="si32-cpack-") as out:
            done = run(["cpack", "-G", "DEB", "-B", out, "--config", os.path.join(BUILD, "CPackConfig.cmake")])
            self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
            debs = [f for f in os.listdir(out) if f.startswith("si32_") and f.endswith(".deb")]
            self.assertEqual(len(debs), 1, os.listdir(out))
            deb = os.path.join(out, debs[0])
            depends = run(["dpkg-deb", "-f", deb, "Depends"]).stdout
            self.assertIn("libc6", depends)
            if GUI:
                self.assertIn("libqt6widgets6", depends)
            contents = run(["dpkg-deb", "-c", deb]).stdout
            for path in ("./usr/bin/si32-report", "./usr/libexec/si32/reschk", f"./usr/share/applications/{APP_ID}.desktop"):
                self.assertIn(path, contents)


if __name__ == "__main__":
    unittest.main(verbosity=2)
