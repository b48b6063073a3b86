#!/usr/bin/env python3
"""Which map row the view shows at its top, read off the screen.

    view_rows.py SCREEN.ppm MAP.ppm X Y COLUMNS

MAP is what krav-lvl render draws at 1:1 with the grid for the map's columns 0..COLUMNS-1 and
its first rows; (X, Y) the view's client origin on the screen, the view scrolled to column 0.
Prints the first row R such that the screen from (X, Y) shows MAP's rows R..R+7 pixel for
pixel over COLUMNS columns, or nothing when no row does (the view shows other columns, or
something not in the level). The level must make every run of 8 rows unique in those
columns (a steep line does).
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from find_view import Image  # noqa: E402

CELL = 16
ROWS = 8


def shows(screen, level, x, y, row, width):
    for dy in range(ROWS * CELL):
        sy, my = y + dy, row * CELL + dy
        if sy >= screen.height or my >= level.height:
            return False
        start = (sy * screen.width + x) * 3
        mine = (my * level.width) * 3
        if screen.pixels[start : start + width * 3] != level.pixels[mine : mine + width * 3]:
            return False
    return True


def main():
    screen, level = Image(sys.argv[1]), Image(sys.argv[2])
    x, y, columns = int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5])
    width = min(columns * CELL, level.width, screen.width - x)
    for row in range(level.height // CELL - ROWS + 1):
        if shows(screen, level, x, y, row, width):
            print(row)
            return


if __name__ == "__main__":
    main()
