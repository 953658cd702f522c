#!/usr/bin/env python3
"""The window as a screen reader finds it over AT-SPI.

Started on a virtual X server inside its own session bus
(xvfb-run -a dbus-run-session -- atspi_tree_test.py BINARY_DIR SOURCE_DIR):
the window runs a demo machine, and the tree its accessibility bridge
publishes is walked with pyatspi. Every caption that the report prints with
a value must label that value (labelled-by / label-for), the drive list
must be named, the window must be a frame and the meters read-only.
Exits 77 (skipped) when pyatspi or the accessibility bus is missing.
"""
import json
import os
import signal
import subprocess
import sys
import time

SKIP = 77


def skip(reason):
    print("SKIP: " + reason)
    sys.exit(SKIP)


try:
    import pyatspi
except ImportError:
    skip("python3-pyatspi is not installed")

binary_dir, source_dir = sys.argv[1], sys.argv[2]
machine = os.path.join(source_dir, "machines", "win98.json")
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def report_fields():
    env = dict(os.environ, SI32_MACHINE=machine)
    out = subprocess.run([os.path.join(binary_dir, "bin", "si32-report"), "--json"], env=env,
                         capture_output=True, check=True, text=True).stdout
    return json.loads(out)["fields"]


def find_application(pid, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            desktop = pyatspi.Registry.getDesktop(0)
            for app in desktop:
                if app is not None and app.get_process_id() == pid and app.childCount > 0:
                    return app
        except Exception:  # the registry comes up with the first client
            pass
        time.sleep(0.2)
    return None


def walk(node, depth=0):
    yield node
    if depth > 30:
        return
    for child in node:
        if child is not None:
            yield from walk(child, depth + 1)


def targets(node, relation):
    found = []
    for rel in node.getRelationSet():
        if rel.getRelationType() == relation:
            found += [rel.getTarget(i) for i in range(rel.getNTargets())]
    return found


def shown_text(node):
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        return ""


def main():
    fields = report_fields()
    env = dict(os.environ, SI32_MACHINE=machine, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1",
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    env.pop("SI32_EXIT_AFTER_ACTIVATION", None)
    window = subprocess.Popen([os.path.join(binary_dir, "bin", "si32")], env=env, start_new_session=True)
    try:
        app = find_application(window.pid)
        if app is None:
            skip("the window never appeared on the accessibility bus")
        time.sleep(1)  # the load fills the fields once the window is up
        nodes = list(walk(app))
        frames = [n for n in nodes if n.getRole() == pyatspi.ROLE_FRAME]
        check(any(f.name == "Tarvello System Information" for f in frames),
              "the window is a frame: " + str([(n.getRoleName(), n.name) for n in nodes[:3]]))
        combos = [n for n in nodes if n.getRole() == pyatspi.ROLE_COMBO_BOX]
        check([c.name for c in combos] == ["Drive"], "drive list named: " + str([c.name for c in combos]))

        labels = {}
        for n in nodes:
            if n.getRole() == pyatspi.ROLE_LABEL:
                labels.setdefault(n.name, []).append(n)
        for frame, rows in fields.items():
            for caption, value in rows.items():
                if caption == "Drive:" or value == "" or not caption.endswith(":"):
                    continue
                captions = labels.get(caption, [])
                check(captions, "no caption label " + caption)
                for label in captions:
                    named = targets(label, pyatspi.RELATION_LABEL_FOR)
                    check(named, caption + " labels nothing")
                    for target in named:
                        check(any(t.name == caption for t in targets(target, pyatspi.RELATION_LABELLED_BY)),
                              target.name + " is not labelled by " + caption)
                        if target.getRole() == pyatspi.ROLE_LABEL:
                            check(target.name.startswith(caption + " "), "value named " + repr(target.name))
                        else:  # a list box under its caption
                            check(target.name == caption[:-1], "list named " + repr(target.name))
                    first = value.split("\n")[0].split("  ")[0]
                    check(any(first in t.name or first in shown_text(t) for t in named),
                          caption + " does not label " + repr(first))
        for meter in (n for n in nodes if n.getRole() == pyatspi.ROLE_PROGRESS_BAR):
            check(meter.name.endswith("%"), "meter named " + repr(meter.name))
            try:
                actions = meter.queryAction()
                names = [actions.getName(i) for i in range(actions.nActions)]
            except NotImplementedError:
                names = []
            check(not any(a in names for a in ("increase", "decrease", "Increase", "Decrease")),
                  meter.name + " offers " + str(names))
    finally:
        os.killpg(window.pid, signal.SIGTERM)
        try:
            window.wait(10)
        except subprocess.TimeoutExpired:
            os.killpg(window.pid, signal.SIGKILL)
            window.wait()
    for f in failures:
        print("FAIL: " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
