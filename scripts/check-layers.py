#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer above its own, when
logic includes a platform backend, or when logic includes an operating-system
or toolkit header.

Usage: check-layers.py [SOURCE_ROOT]   (default: the tree this script is in)

Layers, lowest first. A file may include its own layer and those listed for it.
"""
import pathlib
import re
import sys

# Which layer a file belongs to: the first prefix that matches its path.
LAYER_OF = [
    ("platform/backend.cpp", "platform_root"),
    ("platform/backend_win32.cpp", "platform_root"),
    # What the service headers promise that needs the C library: iconv, open().
    ("platform/code_page.cpp", "platform_os"),
    ("platform/input_file.cpp", "platform_os"),
    ("platform/win32/", "win32"),
    ("platform/contract/", "contract"),
    ("platform/engine/", "engine"),
    ("platform/sim/", "sim"),
    ("platform/host/", "host"),
    ("platform/capture/", "capture"),
    ("platform/", "platform"),
    ("format/", "format"),
    ("app/view/", "view"),
    ("app/control.h", "app_model"),
    ("app/layout.", "app_model"),
    ("app/si9x.", "app_model"),
    ("app/si32bg.", "app_model"),
    ("app/taskbar.", "app_model"),
    ("app/", "app"),
    ("si32mod/", "si32mod"),
    ("drives/", "drives"),
    ("screeninfo/", "screeninfo"),
    ("facts/", "facts"),
    ("tools/", "tools"),
]

LOGIC_BELOW_APP = {"platform", "format", "app_model", "si32mod", "drives"}
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
    "platform_root": {"platform", "contract", "engine", "sim", "host", "win32", "platform_root"},
    "format": {"platform", "format"},
    "app_model": {"platform", "format", "app_model"},
    "si32mod": {"platform", "format", "app_model", "si32mod"},
    "drives": {"platform", "format", "app_model", "drives"},
    "screeninfo": {"platform", "screeninfo"},
    "facts": LOGIC_BELOW_APP | {"facts"},
    "app": LOGIC_BELOW_APP | {"facts", "screeninfo", "capture", "app"},
    "view": LOGIC_BELOW_APP | {"facts", "screeninfo", "app", "view"},
    "tools": {"tools"},
}

# Layers that may include operating-system, X11 or Qt headers.
MAY_INCLUDE_SYSTEM = {"host", "win32", "view", "platform_root", "platform_os", "capture"}
# Outside headers logic may still use: the standard library and the JSON one.
PORTABLE = re.compile(r"^(?:[a-z_]+|nlohmann/json\.hpp)$")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)


def layer_of(path):
    for prefix, layer in LAYER_OF:
        if path.startswith(prefix):
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


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)
    folders = [d for d in ("platform", "format", "app", "si32mod", "drives", "screeninfo", "facts", "tools")
                if (root / d).is_dir()]
    if not folders:
        print(f"check-layers: no source folders under {root}", file=sys.stderr)
        return 2
    found = problems(root, folders)
    for problem in found:
        print(problem)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
