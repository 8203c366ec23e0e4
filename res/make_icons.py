#!/usr/bin/env python3
"""Draws Tarnwick's icons: a blue disc with a white arrow pointing up (a priority
being raised) over a yellow base line. Writes res/tarnwick.ico (the window's icon,
the disc lit from the upper left) and res/tray.ico (the notification-area icon, in
flat colours that stay clear on the taskbar), each with 16, 20, 24, 28, 32, 36, 40,
48, 56, 64, 72 and 80 pixel images in 32-bit colour with alpha: the sizes of the small
and large icons at 100, 125, 150, 175, 200, 225 and 250 per cent, so that Windows need
not stretch them at any of these scalings."""
import math
import struct
import sys
from pathlib import Path

SIZES = (16, 20, 24, 28, 32, 36, 40, 48, 56, 64, 72, 80)
SAMPLES = 8  # per pixel and axis, for smooth edges
FLAT = {"ring": (10, 30, 110), "disc": (25, 95, 215), "arrow": (255, 255, 255), "base": (255, 215, 0)}


def shape(u, v):
    """What lies at (u, v) in the unit square: None (transparent) or a part name."""
    r = math.hypot(u - 0.5, v - 0.5)
    if r > 0.48:
        return None
    if 0.17 <= v <= 0.47 and abs(u - 0.5) <= (v - 0.17) / 0.30 * 0.26:
        return "arrow"
    if 0.46 <= v <= 0.72 and abs(u - 0.5) <= 0.085:
        return "arrow"
    if 0.76 <= v <= 0.83 and abs(u - 0.5) <= 0.24:
        return "base"
    if r > 0.42:
        return "ring"
    return "disc"


def flat(part, u, v):
    return FLAT[part]


def lit(part, u, v):
    if part != "disc":
        return {"ring": (10, 25, 90), "arrow": (255, 255, 255), "base": (250, 200, 30)}[part]
    light = max(0.0, min(1.0, 1.0 - math.hypot(u - 0.35, v - 0.3) * 1.4))
    return (20 + light * 75, 60 + light * 113, 150 + light * 100)


def pixels(size, colour):
    """Rows of (r, g, b, a), top row first: each pixel the mean of its samples."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            total, covered = [0.0, 0.0, 0.0], 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    u = (x + (sx + 0.5) / SAMPLES) / size
                    v = (y + (sy + 0.5) / SAMPLES) / size
                    part = shape(u, v)
                    if part is None:
                        continue
                    covered += 1
                    for i, c in enumerate(colour(part, u, v)):
                        total[i] += c
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                r, g, b = (round(t / covered) for t in total)
                row.append((r, g, b, round(255 * covered / SAMPLES**2)))
        rows.append(row)
    return rows


def image(rows):
    """One 32-bit image as an icon stores it: the header, the colours bottom-up and
    the transparency mask, which older readers use where alpha is zero."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colours, mask = b"", b""
    for row in reversed(rows):
        colours += b"".join(struct.pack("<BBBB", b, g, r, a) for r, g, b, a in row)
        bits = 0
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits |= 1 << (size - 1 - x)
        data = bits.to_bytes((size + 7) // 8, "big")
        mask += data + b"\0" * (-len(data) % 4)
    return header + colours + mask


def icon(colour):
    blobs = [image(pixels(size, colour)) for size in SIZES]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for size, blob in zip(SIZES, blobs):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def main():
    folder = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent)
    (folder / "tarnwick.ico").write_bytes(icon(lit))
    (folder / "tray.ico").write_bytes(icon(flat))


if __name__ == "__main__":
    main()
