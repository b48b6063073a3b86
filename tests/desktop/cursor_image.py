#!/usr/bin/env python3
"""Prints the pointer's cursor as the X server shows it: "W H XHOT YHOT OPAQUE", OPAQUE being
1 when the pixel under the hot spot is drawn (not see-through). Screenshots leave the cursor
out, so it is asked for through the XFixes extension (libX11 and libXfixes, no compiler)."""
import ctypes
import ctypes.util
import sys


class CursorImage(ctypes.Structure):
    _fields_ = [
        ("x", ctypes.c_short),
        ("y", ctypes.c_short),
        ("width", ctypes.c_ushort),
        ("height", ctypes.c_ushort),
        ("xhot", ctypes.c_ushort),
        ("yhot", ctypes.c_ushort),
        ("cursor_serial", ctypes.c_ulong),
        ("pixels", ctypes.POINTER(ctypes.c_ulong)),
    ]


def main():
    x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    xfixes = ctypes.CDLL(ctypes.util.find_library("Xfixes") or "libXfixes.so.3")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("cannot open the display")
    image = xfixes.XFixesGetCursorImage(display)
    if not image:
        sys.exit("no cursor image")
    c = image.contents
    hot = c.pixels[c.yhot * c.width + c.xhot]
    print(c.width, c.height, c.xhot, c.yhot, 1 if hot >> 24 else 0)


main()
