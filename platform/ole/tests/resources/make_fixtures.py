#!/usr/bin/env python3
"""Writes the picture fixtures of the OLE tests (run from this folder)."""
import struct
import zlib

RED, GREEN, BLUE, YELLOW = (255, 0, 0), (0, 160, 0), (0, 0, 255), (255, 255, 0)


def quadrants(w, h):
    """Rows top first: red, blue on top; green, yellow below."""
    return [[(RED if x < w // 2 else BLUE) if y < h // 2 else (GREEN if x < w // 2 else YELLOW)
             for x in range(w)] for y in range(h)]


def bmp(rows):
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    pixels = b""
    for row in reversed(rows):  # bottom-up
        line = b"".join(bytes((b, g, r)) for r, g, b in row)
        pixels += line + b"\0" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + 40 + len(pixels), 0, 0, 54) + info + pixels


def gif(frames, w, h):
    """GIF89a with a 128-entry palette, 8-bit codes and a clear code often enough that the
    code size never grows."""
    palette = [RED, GREEN, BLUE, YELLOW] + [(0, 0, 0)] * 124
    out = b"GIF89a" + struct.pack("<HHBBB", w, h, 0x80 | 0x70 | 0x06, 0, 0)
    out += b"".join(bytes(c) for c in palette)
    for rows in frames:
        out += b"\x21\xF9\x04" + struct.pack("<BHB", 0, 10, 0) + b"\x00"
        out += b"\x2C" + struct.pack("<HHHHB", 0, 0, w, h, 0)
        codes = bytearray()
        pixels = [palette.index(c) for row in rows for c in row]
        for i in range(0, len(pixels), 100):
            codes.append(128)  # clear
            codes.extend(pixels[i:i + 100])
        codes.append(129)  # end of information
        out += b"\x07"
        for i in range(0, len(codes), 255):
            chunk = bytes(codes[i:i + 255])
            out += bytes((len(chunk),)) + chunk
        out += b"\x00"
    return out + b"\x3B"


def ico(rows):
    h, w = len(rows), len(rows[0])
    xor = b"".join(bytes((b, g, r, 255)) for row in reversed(rows) for r, g, b in row)
    mask = b"\0" * (((w + 31) // 32) * 4 * h)
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + mask
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", w, h, 0, 0, 1, 32, len(image), 22) + image


def png(rows):
    h, w = len(rows), len(rows[0])
    raw = b"".join(b"\0" + b"".join(bytes(c) for c in row) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


open("logo.bmp", "wb").write(bmp(quadrants(40, 20)))
open("two-frames.gif", "wb").write(gif([quadrants(30, 10), [[BLUE] * 30 for _ in range(10)]], 30, 10))
open("quadrants.ico", "wb").write(ico(quadrants(16, 16)))
open("quadrants.png", "wb").write(png(quadrants(16, 8)))
