#!/usr/bin/env python3
"""Compares the map view on a screenshot with a picture of what it must show.

    screen_compare.py SCREEN.ppm EXPECTED.ppm X Y [X,Y,W,H ...]

EXPECTED is laid on SCREEN with its top-left pixel at (X, Y); the rectangles are windows lying
over the view (the palettes), whose pixels are not compared. Prints how many pixels differ
and the first of them; exits 1 when any does.
"""
import sys

from find_view import read_ppm


def main():
    screen, expected = read_ppm(sys.argv[1]), read_ppm(sys.argv[2])
    x0, y0 = int(sys.argv[3]), int(sys.argv[4])
    masks = [tuple(int(v) for v in m.split(",")) for m in sys.argv[5:]]
    sw, sh, spix = screen
    ew, eh, epix = expected
    differ, first, compared = 0, None, 0
    for y in range(eh):
        for x in range(ew):
            sx, sy = x0 + x, y0 + y
            if sx >= sw or sy >= sh:
                continue
            if any(mx <= sx < mx + mw and my <= sy < my + mh for mx, my, mw, mh in masks):
                continue
            compared += 1
            shown = spix[(sy * sw + sx) * 3 : (sy * sw + sx) * 3 + 3]
            wanted = epix[(y * ew + x) * 3 : (y * ew + x) * 3 + 3]
            if shown != wanted:
                differ += 1
                first = first or (x, y, tuple(shown), tuple(wanted))
    print(f"{differ} of {compared} pixels differ" + (f"; first at view {first[0]},{first[1]}: "
          f"screen {first[2]}, expected {first[3]}" if first else ""))
    return 1 if differ or compared == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
