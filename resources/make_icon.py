#!/usr/bin/env python3
"""Builds a Windows .ico file (one 16 x 16 image, 32 bits per pixel) from a pixel-art text.

The text holds a palette ("<char> = RRGGBBAA" lines), a line "#", then 16 rows of 16 characters.
Lines starting with "# " are comments.
Usage: make_icon.py <art.txt> <out.ico>
"""
import struct
import sys

SIZE = 16


def read_art(path):
    palette, rows, in_rows = {}, [], False
    for line in open(path, encoding="ascii").read().splitlines():
        if line.startswith("# ") or not line:
            continue
        if line == "#":
            in_rows = True
        elif in_rows:
            rows.append(line)
        else:
            char, value = (part.strip() for part in line.split("=", 1))
            palette[char] = bytes.fromhex(value)
    if len(rows) != SIZE or any(len(row) != SIZE for row in rows):
        sys.exit(f"{path}: expected {SIZE} rows of {SIZE} characters")
    return [[palette[c] for c in row] for row in rows]


def icon_bytes(pixels):
    # The image is a bottom-up DIB with doubled height (colour rows, then the AND mask rows).
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((p[2], p[1], p[0], p[3])) for row in reversed(pixels) for p in row)
    mask = b""
    for row in reversed(pixels):
        bits = 0
        for x, p in enumerate(row):
            if p[3] == 0:
                bits |= 1 << (31 - x)
        mask += struct.pack(">I", bits)  # 16 pixels padded to a 32-bit row
    image = header + colour + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    data = icon_bytes(read_art(sys.argv[1]))
    with open(sys.argv[2], "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main()
