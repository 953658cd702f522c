#!/usr/bin/env python3
"""Packs the icon's PNG sizes into app/windows/si32.ico for the Windows
programs: each size as the 32-bit bitmap with an AND mask that every Windows
from XP on reads. Run after changing the PNGs and commit the result."""
import pathlib
import struct
import zlib

HERE = pathlib.Path(__file__).resolve().parent
SIZES = (16, 24, 32, 48, 64)


def rgba_rows(png):
    """The rows of an 8-bit RGBA, non-interlaced PNG, top first."""
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", png[16:29])
    assert (depth, colour, interlace) == (8, 6, 0), "only 8-bit RGBA, non-interlaced"
    data, at = b"", 8
    while at < len(png):
        length, kind = struct.unpack(">I4s", png[at:at + 8])
        if kind == b"IDAT":
            data += png[at + 8:at + 8 + length]
        at += 12 + length
    raw, stride, rows, previous = zlib.decompress(data), width * 4, [], bytearray(width * 4)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            left = line[x - 4] if x >= 4 else 0
            up, corner = previous[x], previous[x - 4] if x >= 4 else 0
            if kind == 1:
                line[x] = (line[x] + left) & 255
            elif kind == 2:
                line[x] = (line[x] + up) & 255
            elif kind == 3:
                line[x] = (line[x] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                guess = min((abs(p - left), 0, left), (abs(p - up), 1, up), (abs(p - corner), 2, corner))[2]
                line[x] = (line[x] + guess) & 255
        rows.append(bytes(line))
        previous = line
    return width, height, rows


def bitmap_entry(width, height, rows):
    """BITMAPINFOHEADER (twice the height: colour and mask), BGRA bottom-up, and the AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes(b for x in range(width) for b in (r[4 * x + 2], r[4 * x + 1], r[4 * x], r[4 * x + 3]))
                      for r in reversed(rows))
    mask_stride = (width + 31) // 32 * 4
    mask = bytes(mask_stride * height)  # the alpha channel decides; nothing is masked
    return header + colour + mask


def main():
    images = [bitmap_entry(*rgba_rows((HERE / "icons" / f"com.tarvello.Si32-{s}.png").read_bytes())) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    (HERE.parent / "windows" / "si32.ico").write_bytes(out + b"".join(images))


if __name__ == "__main__":
    main()
