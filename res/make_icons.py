#!/usr/bin/env python3
"""Draws Tarnwick's icons: a blue disc with a white arrow pointing up (a priority
being raised) over a yellow base line. Writes res/tarnwick.ico (32x32 and 16x16 in
16 colours, 48x48 in 256 colours) and res/tray.ico (16x16 in 16 colours)."""
import math
import struct
import sys
from pathlib import Path

# The classic 16-colour palette.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
       (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
       (255, 0, 255), (0, 255, 255), (255, 255, 255)]
NAVY, BLUE, YELLOW, WHITE, GRAY = 4, 12, 11, 15, 8


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


def pixels16(size):
    index = {"ring": NAVY, "disc": BLUE, "arrow": WHITE, "base": YELLOW}
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            part = shape((x + 0.5) / size, (y + 0.5) / size)
            row.append(None if part is None else index[part])
        rows.append(row)
    return rows, VGA


def pixels256(size):
    palette = [(0, 0, 0)] * 256
    # 0-63: a blue gradient for the disc, then ring, arrow, base.
    for i in range(64):
        palette[i] = (int(20 + i * 1.2), int(60 + i * 1.8), int(150 + i * 1.6))
    palette[64], palette[65], palette[66], palette[67] = (10, 25, 90), (255, 255, 255), (250, 200, 30), (200, 210, 230)
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            u, v = (x + 0.5) / size, (y + 0.5) / size
            part = shape(u, v)
            if part is None:
                row.append(None)
            elif part == "disc":
                light = max(0.0, min(1.0, 1.0 - math.hypot(u - 0.35, v - 0.3) * 1.4))
                row.append(int(light * 63))
            else:
                row.append({"ring": 64, "arrow": 65, "base": 66}[part])
        rows.append(row)
    return rows, palette


def image(rows, palette, bits):
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette[: 1 << bits])
    xor = b""
    mask = b""
    for row in reversed(rows):  # bottom-up
        if bits == 4:
            data = bytes(((row[x] or 0) << 4) | (row[x + 1] or 0) for x in range(0, size, 2))
        else:
            data = bytes(p or 0 for p in row)
        xor += data + b"\0" * (-len(data) % 4)
        bitsrow = 0
        for x, p in enumerate(row):
            if p is None:
                bitsrow |= 1 << (size - 1 - x)
        data = bitsrow.to_bytes((size + 7) // 8, "big")
        mask += data + b"\0" * (-len(data) % 4)
    return header + colours + xor + mask


def icon(images):
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for size, bits, blob in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 16 if bits == 4 else 0, 0, 1, bits, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    return out + b"".join(blobs)


def main():
    folder = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent)
    app = [(32, 4, image(*pixels16(32), 4)), (16, 4, image(*pixels16(16), 4)), (48, 8, image(*pixels256(48), 8))]
    (folder / "tarnwick.ico").write_bytes(icon(app))
    (folder / "tray.ico").write_bytes(icon([(16, 4, image(*pixels16(16), 4))]))


if __name__ == "__main__":
    main()
