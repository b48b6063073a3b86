#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets: small valid levels and bitmaps, and the edge cases
the readers have to get right, into <out>/level and <out>/tileset (default build-fuzz/corpus)."""
import os
import struct
import sys

WIDTH, HEIGHT = 304, 160
PIXELS = WIDTH * HEIGHT
STANDARD_SIZE = 1078 + PIXELS  # 49,718


def record(code, x, y):
    return struct.pack("<I", code << 24 | y << 12 | x)


def records(*triples):
    return b"".join(record(*t) for t in triples)


def bmp(width=WIDTH, height=HEIGHT, bits=8, off_bits=1078, extra=0, file_size=None, colours_used=0):
    """A 304 x 160 tile set by default; extra bytes follow the pixels and count in bfSize."""
    size = STANDARD_SIZE + extra
    header = b"BM" + struct.pack("<IHHI", size if file_size is None else file_size, 0, 0, off_bits)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, 0, 2834, 2834, colours_used, 0)
    colours = bytes((i * 37 + 11) % 256 for i in range(1024))
    pixels = bytes((i // WIDTH + i % WIDTH) % 256 for i in range(PIXELS))
    trailing = bytes(i % 251 for i in range(extra))
    return header + info + colours + pixels + trailing


# One of every kind of code, in the order the writer emits them.
EVERY_CODE = records(
    (1, 0, 0), (190, 1023, 0), (219, 10, 20), (220, 300, 20), (217, 5, 400),
    (216, 6, 400), (170, 7, 400), (218, 9, 400), (171, 1023, 1023))


def level_corpus():
    bad_codes = {f"code-{c}": record(c, 3, 3) for c in (0, 191, 215, 221, 255)}
    return {
        "empty": b"",
        "five-bytes": record(12, 7, 9) + b"x",
        "one-tile": record(5, 1, 1),
        "every-code": EVERY_CODE,
        "every-code-reversed": b"".join(reversed([EVERY_CODE[i:i + 4] for i in range(0, len(EVERY_CODE), 4)])),
        "objects-at-the-edges": records((219, 1020, 5), (220, 40, 1021), (219, 1023, 1023), (217, 1023, 0),
                                        (220, 0, 1023), (216, 1023, 1023)),
        "outside-the-grid": records((0, 1024, 0), (255, 0, 4095), (3, 4095, 4095), (3, 1023, 1023)),
        "flags-257": records(*[(170, i, 0) for i in range(257)], (170, 2000, 0)),
        "overlapping-objects": records((219, 3, 3), (217, 2, 2), (220, 6, 6), (5, 6, 6), (219, 0, 1),
                                       (217, 4, 0)),
        "tile-on-anchor": records((219, 10, 10), (40, 10, 10), (217, 20, 20), (41, 21, 21)),
        "bm-six-bytes": b"BM" + b"\0\0\0\0",
        "bm-not-a-bitmap": b"BM" + struct.pack("<I", 8) + record(5, 0, 0),
        "tile-set": bmp(),
        "tile-set-and-records": bmp() + EVERY_CODE,
        "tile-set-trailing-34": bmp(extra=34) + EVERY_CODE,
        "tile-set-offbits-1100": bmp(off_bits=1100, extra=22) + EVERY_CODE,
        "tile-set-bfsize-past-end": bmp(extra=8, file_size=0x100000),
        "tile-set-bfsize-too-small": bmp(file_size=STANDARD_SIZE - 1) + EVERY_CODE,
        "tile-set-bfsize-odd": bmp(extra=3) + EVERY_CODE + b"\1\2",
        "tile-set-cut-in-pixels": bmp()[:2000],
        "tile-set-cut-in-colours": bmp()[:600],
        "tile-set-cut-in-header": bmp()[:40],
        "tile-set-top-down": bmp(height=-HEIGHT),
        "tile-set-16-colours": bmp(bits=4),
        **bad_codes,
    }


def tileset_corpus():
    plain = bmp()
    return {
        "plain": plain,
        "trailing-34": bmp(extra=34),
        "trailing-358": bmp(extra=358),
        "offbits-1100": bmp(off_bits=1100, extra=22),
        "offbits-0": bmp(off_bits=0),
        "colours-used-16": bmp(colours_used=16),
        "bfsize-past-end": bmp(extra=8, file_size=0xFFFFFFFF),
        "bfsize-too-small": bmp(file_size=STANDARD_SIZE - 1),
        "bfsize-short-file": bmp(file_size=STANDARD_SIZE + 100),
        "cut-6": plain[:6],
        "cut-14": plain[:14],
        "cut-53": plain[:53],
        "cut-54": plain[:54],
        "cut-1077": plain[:1077],
        "cut-1078": plain[:1078],
        "cut-in-pixels": plain[:30000],
        "cut-last-pixel": plain[:-1],
        "top-down": bmp(height=-HEIGHT),
        "width-305": bmp(width=305, height=161),
        "height-161": bmp(height=161),
        "16-colours": bmp(bits=4),
        "24-bit": bmp(bits=24),
        "empty": b"",
    }


def write_all(folder, files):
    os.makedirs(folder, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build-fuzz", "corpus")
    write_all(os.path.join(out, "level"), level_corpus())
    write_all(os.path.join(out, "tileset"), tileset_corpus())
    print(f"corpus written to {out}")


if __name__ == "__main__":
    main()
