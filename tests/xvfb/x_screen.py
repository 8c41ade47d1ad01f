#!/usr/bin/python3
"""The X screen for the cabinet tests.

    x_screen.py grab DISPLAY FILE.png    saves the whole screen
    x_screen.py press DISPLAY X Y        presses and releases the left button at (X, Y) of the
                                         screen, through the XTEST extension, as the touch
                                         screen's driver does
"""
import ctypes
import sys

from PIL import ImageGrab


def grab(display, path):
    ImageGrab.grab(xdisplay=display).save(path)


def press(display, x, y):
    x11 = ctypes.CDLL("libX11.so.6")
    xtest = ctypes.CDLL("libXtst.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    xtest.XTestFakeMotionEvent.argtypes = [
        ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
    xtest.XTestFakeButtonEvent.argtypes = [
        ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
    connection = x11.XOpenDisplay(display.encode())
    if not connection:
        sys.exit(f"cannot open the display {display}")
    xtest.XTestFakeMotionEvent(connection, -1, x, y, 0)
    x11.XSync(connection, 0)
    xtest.XTestFakeButtonEvent(connection, 1, 1, 0)
    xtest.XTestFakeButtonEvent(connection, 1, 0, 0)
    x11.XSync(connection, 0)
    x11.XCloseDisplay(connection)


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "grab":
        grab(sys.argv[2], sys.argv[3])
    elif len(sys.argv) == 5 and sys.argv[1] == "press":
        press(sys.argv[2], int(sys.argv[3]), int(sys.argv[4]))
    else:
        sys.exit(__doc__)
