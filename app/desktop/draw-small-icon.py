#!/usr/bin/env python3
"""Draws the 16-pixel icon pixel by pixel: scaled down, the large artwork's
gradients and thin edges blur into a blob, so the small size has its own
drawing on the pixel grid. Run after changing the map and commit the PNG."""
import pathlib
import struct
import zlib

# One character a pixel: the monitor's case, its blue screen, the white
# information sign with its blue letter, the stand.
PIXELS = """
cccccccccccccccc
cssssssssssssssc
cssssswwwwsssssc
csssswwiiwwssssc
cssswwwwwwwwsssc
cssswwwiiwwwsssc
cssswwwiiwwwsssc
cssswwwiiwwwsssc
csssswwiiwwssssc
cssssswwwwsssssc
cssssssssssssssc
cccccccccccccccc
......nnnn......
......nnnn......
...bbbbbbbbbb...
...bbbbbbbbbb...
"""

COLOURS = {
    ".": (0, 0, 0, 0),
    "c": (0x3b, 0x42, 0x4c, 255),
    "s": (0x1d, 0x6a, 0xd0, 255),
    "w": (255, 255, 255, 255),
    "i": (0x0d, 0x4a, 0xa6, 255),
    "n": (0x4a, 0x52, 0x5d, 255),
    "b": (0x2b, 0x30, 0x38, 255),
}


def rows():
    lines = PIXELS.strip("\n").split("\n")
    assert len(lines) == 16, "sixteen rows"
    for line in lines:
        assert len(line) == 16, f"sixteen pixels a row: {line!r}"
        yield bytes([0]) + b"".join(bytes(COLOURS[p]) for p in line)


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png():
    header = struct.pack(">IIBBBBB", 16, 16, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(b"".join(rows()), 9)) +
            chunk(b"IEND", b""))


if __name__ == "__main__":
    out = pathlib.Path(__file__).resolve().parent / "icons" / "com.tarvello.Si32-16.png"
    out.write_bytes(png())
