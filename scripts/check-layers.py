#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer above its own, when
logic includes a platform backend, when logic includes an operating-system
or toolkit header, or when folders of the host backend include each other in
a circle.

Usage: check-layers.py [SOURCE_ROOT]   (default: the tree this script is in)

Layers, lowest first. A file may include its own layer and those listed for it.
"""
import pathlib
import re
import sys

# Which layer a file belongs to: that of the deepest folder listed here that
# holds it. Layers are folders, never single files: a file that needs other
# rules than its neighbours moves to a folder of its own.
LAYER_OF = {
    "platform/": "platform",
    # What the service headers promise that needs the C library: iconv, open().
    "platform/os/": "platform_os",
    "platform/backend/": "backend",
    "platform/contract/": "contract",
    "platform/engine/": "engine",
    "platform/sim/": "sim",
    "platform/host/": "host",
    "platform/win32/": "win32",
    "platform/capture/": "capture",
    "format/": "format",
    "window/": "window",
    "app/": "app",
    "app/view/": "view",
    "app/win32/": "win32view",
    "si32mod/": "si32mod",
    "drives/": "drives",
    "screeninfo/": "screeninfo",
    "facts/": "facts",
    "tools/": "tools",
}

LOGIC_BELOW_APP = {"platform", "format", "window", "si32mod", "drives"}
MAY_INCLUDE = {
    "platform": {"platform"},
    "platform_os": {"platform"},
    "contract": {"platform", "contract"},
    "engine": {"platform", "contract", "engine"},
    "sim": {"platform", "contract", "engine", "sim"},
    "host": {"platform", "contract", "engine", "host"},
    "win32": {"platform", "contract", "engine", "win32"},
    # Writes what the simulated machine reads, so it knows the sim's tables.
    "capture": {"platform", "contract", "engine", "sim", "capture"},
    "backend": {"platform", "contract", "engine", "sim", "host", "win32", "backend"},
    "format": {"platform", "format"},
    "window": {"platform", "format", "window"},
    "si32mod": {"platform", "format", "window", "si32mod"},
    "drives": {"platform", "format", "window", "drives"},
    "screeninfo": {"platform", "screeninfo"},
    "facts": LOGIC_BELOW_APP | {"facts"},
    "app": LOGIC_BELOW_APP | {"facts", "screeninfo", "capture", "app"},
    "view": LOGIC_BELOW_APP | {"facts", "screeninfo", "app", "view"},
    # The native Windows window: the Qt view's place in the Windows build.
    "win32view": LOGIC_BELOW_APP | {"facts", "screeninfo", "app", "win32view"},
    "tools": {"tools"},
}

# Layers that may include operating-system, X11 or Qt headers.
MAY_INCLUDE_SYSTEM = {"host", "win32", "view", "win32view", "backend", "platform_os", "capture"}
# Outside headers logic may still use: the standard library and the JSON one.
PORTABLE = re.compile(r"^(?:[a-z_]+|nlohmann/json\.hpp)$")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)


def layer_of(path):
    folders = path.split("/")[:-1]
    for depth in range(len(folders), 0, -1):
        layer = LAYER_OF.get("/".join(folders[:depth]) + "/")
        if layer is not None:
            return layer
    return None


def problems(root, folders):
    found = []
    files = sorted(f for folder in folders for f in (root / folder).rglob("*"))
    for file in files:
        if file.suffix not in (".h", ".cpp") or not file.is_file():
            continue
        path = file.relative_to(root).as_posix()
        layer = layer_of(path)
        if layer is None:
            continue
        text = file.read_text(encoding="utf-8", errors="replace")
        for match in INCLUDE.finditer(text):
            line = text.count("\n", 0, match.start()) + 1
            kind, header = match.groups()
            if kind == "<":
                if layer not in MAY_INCLUDE_SYSTEM and not PORTABLE.match(header):
                    found.append(f"{path}:{line}: {layer} includes the system header <{header}>")
                continue
            target = layer_of(header)
            if target is None:
                # A header beside the file ("resource_meter.h").
                if "/" not in header and (file.parent / header).is_file():
                    continue
                found.append(f'{path}:{line}: {layer} includes "{header}", which is in no layer')
            elif target not in MAY_INCLUDE[layer]:
                found.append(f'{path}:{line}: {layer} includes "{header}" of layer {target}')
    return found


HOST = "platform/host/"


def host_folder(path):
    """The host backend's folder a file or header is in; "." for its composition."""
    rest = path[len(HOST):]
    return rest.split("/", 1)[0] if "/" in rest else "."


def host_circles(root):
    """Folders of the host backend that reach each other through includes: a
    folder is meant to be read, tested and changed without the ones above it."""
    edges = {}  # (from folder, to folder) -> the first include that makes it
    for file in sorted((root / HOST).rglob("*")) if (root / HOST).is_dir() else []:
        if file.suffix not in (".h", ".cpp") or not file.is_file():
            continue
        path = file.relative_to(root).as_posix()
        text = file.read_text(encoding="utf-8", errors="replace")
        for match in INCLUDE.finditer(text):
            kind, header = match.groups()
            if kind != '"' or not header.startswith(HOST):
                continue
            ends = (host_folder(path), host_folder(header))
            if ends[0] != ends[1] and ends not in edges:
                line = text.count("\n", 0, match.start()) + 1
                edges[ends] = f"{path}:{line}"

    def reachable(start):
        seen, todo = set(), [start]
        while todo:
            here = todo.pop()
            for a, b in edges:
                if a == here and b not in seen:
                    seen.add(b)
                    todo.append(b)
        return seen

    found = []
    for (a, b), where in sorted(edges.items()):
        if a in reachable(b):
            found.append(f"{where}: host folder {a} includes {b}, whose includes lead back to {a}")
    return found


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)
    folders = [d for d in sorted({prefix.split("/")[0] for prefix in LAYER_OF})
                if (root / d).is_dir()]
    if not folders:
        print(f"check-layers: no source folders under {root}", file=sys.stderr)
        return 2
    found = problems(root, folders) + host_circles(root)
    for problem in found:
        print(problem)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
