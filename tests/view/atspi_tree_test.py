#!/usr/bin/env python3
"""The window as a screen reader finds it over AT-SPI.

Started on a virtual X server inside its own session bus
(xvfb-run -a dbus-run-session -- atspi_tree_test.py BINARY_DIR SOURCE_DIR):
the window runs a demo machine, and the tree its accessibility bridge
publishes is walked with pyatspi. Every caption that the report prints with
a value must label that value (labelled-by / label-for), the drive list
must be named and show its entry as text, the window must be a frame and
the meters read-only. A drive picked with the Down key must reach a
listener as a notification that appears with the new drive's entry and
the frame's facts, and nothing may be announced before.
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
    from gi.repository import GLib
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


def pump(seconds, done):
    """Delivers the bus's events to the listeners until done() or the time is up."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while not done() and time.monotonic() < deadline:
        while context.pending():
            context.iteration(False)
        time.sleep(0.05)


def check_drive_pick(combos, notices):
    """Down on the closed drive list picks the next drive, which a notice announces."""
    check(notices == [], "announced before any pick: " + str(notices))
    if len(combos) != 1 or combos[0].childCount != 1:
        return
    entries = [item.name for item in combos[0][0]]
    check(len(entries) >= 2, "the demo machine lists two drives: " + str(entries))
    if len(entries) < 2:
        return
    check(shown_text(combos[0]) == entries[0], "the list shows its entry: " + repr(shown_text(combos[0])))
    combos[0].queryComponent().grabFocus()
    pump(5, lambda: combos[0].getState().contains(pyatspi.STATE_FOCUSED))
    check(combos[0].getState().contains(pyatspi.STATE_FOCUSED), "the drive list takes the focus")
    pyatspi.Registry.generateKeyboardEvent(0xff54, None, pyatspi.KEY_SYM)  # XK_Down
    pump(10, lambda: notices)
    check(len(notices) == 1, "one notice for one pick: " + str(notices))
    check(shown_text(combos[0]) == entries[1], "the list shows the drive picked: " + repr(shown_text(combos[0])))
    if notices:
        name, description = notices[0]
        check(name == entries[1], "the notice names the drive picked: " + repr(name))
        check(description.startswith("Drive Type: "), "the notice tells the frame's facts: " + repr(description))


def main():
    fields = report_fields()
    notices = []

    def on_showing(event):
        if event.detail1 and event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
            notices.append((event.source.name, event.source.description))

    pyatspi.Registry.registerEventListener(on_showing, "object:state-changed:showing")
    env = dict(os.environ, SI32_MACHINE=machine, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1",
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    env.pop("SI32_EXIT_AFTER_ACTIVATION", None)
    window = subprocess.Popen([os.path.join(binary_dir, "bin", "si32")], env=env, start_new_session=True)
    try:
        app = find_application(window.pid)
        if app is None:
            skip("the window never appeared on the accessibility bus")
        pump(1, lambda: False)  # the load fills the fields once the window is up
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
        check_drive_pick(combos, notices)
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
