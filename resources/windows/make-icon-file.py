#!/usr/bin/env python3
"""Writes the Windows icon file of the program from its PNG pictures.

Usage: make-icon-file.py OUTPUT.ico PICTURE.png...

Each picture becomes one image of the icon, stored as PNG as Windows Vista
and later read it, in the order given.
"""
import struct
import sys


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise ValueError("not a PNG file")
    return struct.unpack(">II", data[16:24])


def main(output, pictures):
    images = []
    for path in pictures:
        with open(path, "rb") as f:
            data = f.read()
        images.append((png_size(data), data))
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries = b""
    for (width, height), data in images:
        # 256 is written as 0.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(output, "wb") as f:
        f.write(header + entries + b"".join(data for _, data in images))


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2:])
