#!/usr/bin/env python3
"""Writes the files the Windows resource compiler takes, from the artwork's PNG pictures.

Usage:
  make-resource-file.py icon OUTPUT.ico PICTURE.png...   one icon image per picture, in that order
  make-resource-file.py cursor OUTPUT.cur PICTURE.png HOT_X HOT_Y
  make-resource-file.py bitmap OUTPUT.bmp PICTURE.png

Icon images are stored as PNG, as Windows Vista and later read them. Cursor
images are 32-bit DIBs with their AND mask; bitmaps are 24-bit DIBs, or
32-bit with straight alpha when the picture has any transparency. The
pictures are decoded here (8-bit RGB, RGBA or palette, not interlaced: what
the artwork script writes), so that the output is the same on every machine.
"""
import struct
import sys
import zlib

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def png_chunks(data):
    if data[:8] != PNG_SIGNATURE:
        raise ValueError("not a PNG file")
    pos = 8
    while pos + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        yield kind, data[pos + 8:pos + 8 + length]
        pos += 12 + length


def png_size(data):
    kind, header = next(png_chunks(data))
    if kind != b"IHDR":
        raise ValueError("PNG without a header")
    return struct.unpack(">II", header[:8])


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def decode_png(data):
    """Returns (width, height, rows of (r, g, b, a) tuples, top row first)."""
    header, palette, alphas, compressed = None, [], b"", b""
    for kind, body in png_chunks(data):
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
        elif kind == b"tRNS":
            alphas = body
        elif kind == b"IDAT":
            compressed += body
    width, height, depth, colour, _, _, interlace = header
    channels = {2: 3, 3: 1, 6: 4}.get(colour)
    if depth != 8 or channels is None or interlace:
        raise ValueError("unsupported PNG form (depth %d, colour type %d)" % (depth, colour))
    raw = zlib.decompress(compressed)
    stride = width * channels
    rows, previous, pos = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[pos], bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            upper_left = previous[i - channels] if i >= channels else 0
            predictor = (0, left, up, (left + up) // 2, paeth(left, up, upper_left))[kind]
            line[i] = (line[i] + predictor) & 0xFF
        previous = line
        if colour == 2:
            rows.append([tuple(line[i:i + 3]) + (255,) for i in range(0, stride, 3)])
        elif colour == 6:
            rows.append([tuple(line[i:i + 4]) for i in range(0, stride, 4)])
        else:
            rows.append([palette[v] + ((alphas[v] if v < len(alphas) else 255),) for v in line])
    return width, height, rows


def dib(width, height, rows, bits, mask_rows=0):
    """A BITMAPINFOHEADER and its bottom-up pixels (BGR or BGRA), as BMP and CUR files hold them."""
    stride = (width * bits + 31) // 32 * 4
    pixels = b""
    for row in reversed(rows):
        line = b"".join(struct.pack("BBBB", b, g, r, a)[: bits // 8] for r, g, b, a in row)
        pixels += line + b"\0" * (stride - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, width, height + mask_rows, 1, bits, 0, len(pixels), 0, 0, 0, 0)
    return header + pixels


def and_mask(width, rows):
    """The cursor's 1-bit mask, bottom-up: set where the picture is fully transparent."""
    stride = (width + 31) // 32 * 4
    mask = b""
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return mask


def directory(kind, entries):
    """An icon (kind 1) or cursor (kind 2) file: (width, height, field1, field2, image bytes) per image."""
    out = struct.pack("<HHH", 0, kind, len(entries))
    offset = len(out) + 16 * len(entries)
    images = b""
    for width, height, first, second, image in entries:
        # 256 is written as 0.
        out += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, first, second, len(image), offset)
        offset += len(image)
        images += image
    return out + images


def read(path):
    with open(path, "rb") as f:
        return f.read()


def make_icon(pictures):
    entries = []
    for path in pictures:
        data = read(path)
        width, height = png_size(data)
        entries.append((width, height, 1, 32, data))
    return directory(1, entries)


def make_cursor(picture, hot_x, hot_y):
    width, height, rows = decode_png(read(picture))
    image = dib(width, height, rows, 32, mask_rows=height) + and_mask(width, rows)
    # A cursor file keeps the hot spot where an icon file keeps planes and bit count.
    return directory(2, [(width, height, hot_x, hot_y, image)])


def make_bitmap(picture):
    width, height, rows = decode_png(read(picture))
    bits = 32 if any(a != 255 for row in rows for _, _, _, a in row) else 24
    body = dib(width, height, rows, bits)
    return struct.pack("<2sIHHI", b"BM", 14 + len(body), 0, 0, 14 + 40) + body


def main(args):
    if len(args) >= 3 and args[0] == "icon":
        output = make_icon(args[2:])
    elif len(args) == 5 and args[0] == "cursor":
        output = make_cursor(args[2], int(args[3]), int(args[4]))
    elif len(args) == 3 and args[0] == "bitmap":
        output = make_bitmap(args[2])
    else:
        sys.exit(__doc__)
    with open(args[1], "wb") as f:
        f.write(output)


if __name__ == "__main__":
    main(sys.argv[1:])
