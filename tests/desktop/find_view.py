#!/usr/bin/env python3
"""Finds the map view's client area in a screenshot of the desktop.

    find_view.py SCREEN.ppm ORIGIN.ppm SEED_X SEED_Y [X,Y,W,H ...]

SCREEN is the whole screen, ORIGIN what krav-lvl render draws for the map's top-left cells at
1:1 with the grid (what the view shows at its origin when it starts), SEED a point inside the
view, the rectangles the frames of windows lying over the view (the palettes). Prints
"X Y W H" of the view's client area, or nothing when it cannot be found.

Qt paints the view inside the main window, so the X server knows nothing of it; its place on
the screen depends on the style, the menu bar, the toolbars and how the MDI area lays out a
maximised child. Rather than adding up those sizes, which change with every style and font,
this finds the area the way a person sees it: the view shows the level's colours (an empty
level is black cells with grid lines) and nothing around it does. From the seed, straight
scans in the four directions run until a pixel of another colour; a scan that ends on one of
the given windows tells nothing, so other lines are tried. The top-left corner found is then
confirmed by the render of the map's origin matching the screen there pixel for pixel, which
also pins the grid's phase to the exact pixel (where a window covers the corner, the part in
sight is compared).
"""
import sys


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos : pos + 1].isspace():
            pos += 1
        if data[pos : pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end : end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or fields[3] != b"255":
        sys.exit(f"{path}: not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1 : pos + 1 + width * height * 3]


class Image:
    def __init__(self, path):
        self.width, self.height, self.pixels = read_ppm(path)

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return self.pixels[i : i + 3]


def scan(screen, colours, masks, x, y, dx, dy):
    """The last pixel of the view's colours from (x, y) on, and whether what stopped the scan
    is a pixel of its own rather than a window over the view."""
    while True:
        nx, ny = x + dx, y + dy
        if not (0 <= nx < screen.width and 0 <= ny < screen.height):
            return x if dx else y, True
        if screen.at(nx, ny) not in colours:
            covered = any(mx <= nx < mx + mw and my <= ny < my + mh for mx, my, mw, mh in masks)
            return (x if dx else y), not covered
        x, y = nx, ny


def edge(screen, colours, masks, seed_x, seed_y, dx, dy):
    """Scans along lines through the seed and beside it until one ends on the view's own edge."""
    for offset in range(0, 400, 8):
        for sign in (1, -1):
            x = seed_x + (0 if dx else sign * offset)
            y = seed_y + (0 if dy else sign * offset)
            if 0 <= x < screen.width and 0 <= y < screen.height and screen.at(x, y) in colours:
                reach, own = scan(screen, colours, masks, x, y, dx, dy)
                if own:
                    return reach
    return None


def matches(screen, origin, left, top, masks):
    """Whether the screen shows ORIGIN with its top-left pixel at (left, top), wherever no
    window lies over it; at least a quarter of it must be in sight."""
    if left < 0 or top < 0 or left + origin.width > screen.width:
        return False
    if top + origin.height > screen.height:
        return False
    compared = 0
    for y in range(origin.height):
        for x in range(origin.width):
            sx, sy = left + x, top + y
            if any(mx <= sx < mx + mw and my <= sy < my + mh for mx, my, mw, mh in masks):
                continue
            if screen.at(sx, sy) != origin.at(x, y):
                return False
            compared += 1
    return compared * 4 >= origin.width * origin.height


def main():
    screen, origin = Image(sys.argv[1]), Image(sys.argv[2])
    seed_x, seed_y = int(sys.argv[3]), int(sys.argv[4])
    masks = [tuple(int(v) for v in arg.split(",")) for arg in sys.argv[5:]]
    colours = {origin.at(x, y) for y in range(origin.height) for x in range(origin.width)}
    # The pointer's cell may be drawn otherwise: start beside it if need be.
    seeds = [(seed_x + d, seed_y + d) for d in range(0, 64, 4)]
    seeds = [(x, y) for x, y in seeds if x < screen.width and y < screen.height]
    seeds = [(x, y) for x, y in seeds if screen.at(x, y) in colours]
    if not seeds:
        return
    seed_x, seed_y = seeds[0]
    left = edge(screen, colours, masks, seed_x, seed_y, -1, 0)
    top = edge(screen, colours, masks, seed_x, seed_y, 0, -1)
    right = edge(screen, colours, masks, seed_x, seed_y, 1, 0)
    bottom = edge(screen, colours, masks, seed_x, seed_y, 0, 1)
    if None in (left, top, right, bottom):
        return
    # A frame line in the view's colours would move the scans' corner by a pixel or two.
    for dy in range(0, 4):
        for dx in range(0, 4):
            if matches(screen, origin, left + dx, top + dy, masks):
                print(left + dx, top + dy, right + 1 - left - dx, bottom + 1 - top - dy)
                return


if __name__ == "__main__":
    main()
