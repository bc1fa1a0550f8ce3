"""Mouse and keyboard input to the X display through the XTEST extension, and
the place of a top-level window, for scripts that drive the program under Xvfb.

    x_input.py window TITLE          prints "x y width height" of the window, or nothing
    x_input.py click X Y             a left click at screen point (X, Y)
    x_input.py move X Y              the pointer to (X, Y)
    x_input.py drag X1 Y1 X2 Y2      the left button held from (X1, Y1) to (X2, Y2)
    x_input.py type TEXT             ASCII letters, digits and punctuation, typed
    x_input.py key NAME              one key by its keysym name (Escape, Return, n)
"""
import ctypes
import re
import subprocess
import sys
import time

x11 = ctypes.CDLL("libX11.so.6")
xtst = ctypes.CDLL("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XStringToKeysym.restype = ctypes.c_ulong
x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
x11.XKeysymToKeycode.restype = ctypes.c_ubyte
x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]

# Keysym names of the punctuation a password may hold.
PUNCTUATION = {".": "period", "-": "minus", "_": "underscore", "@": "at", " ": "space"}


def window(title):
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
    for line in tree.splitlines():
        m = re.search(r'"' + re.escape(title) + r'".*?(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)', line)
        if m and int(m.group(1)) > 1 and int(m.group(2)) > 1:
            return int(m.group(3)), int(m.group(4)), int(m.group(1)), int(m.group(2))
    return None


class Display:
    def __init__(self):
        self.d = x11.XOpenDisplay(None)
        if not self.d:
            sys.exit("no X display")

    def sync(self, pause=0.03):
        x11.XSync(self.d, 0)
        time.sleep(pause)   # lets Wine read the event before the next one

    def move(self, x, y):
        xtst.XTestFakeMotionEvent(self.d, -1, x, y, 0)
        self.sync()

    def button(self, down):
        xtst.XTestFakeButtonEvent(self.d, 1, 1 if down else 0, 0)
        self.sync()

    def key(self, name, shift=False):
        code = x11.XKeysymToKeycode(self.d, x11.XStringToKeysym(name.encode()))
        if not code:
            sys.exit(f"no key for {name!r}")
        shift_code = x11.XKeysymToKeycode(self.d, x11.XStringToKeysym(b"Shift_L"))
        if shift:
            xtst.XTestFakeKeyEvent(self.d, shift_code, 1, 0)
        xtst.XTestFakeKeyEvent(self.d, code, 1, 0)
        xtst.XTestFakeKeyEvent(self.d, code, 0, 0)
        if shift:
            xtst.XTestFakeKeyEvent(self.d, shift_code, 0, 0)
        self.sync()

    def close(self):
        x11.XCloseDisplay(self.d)


def main(args):
    if args[0] == "window":
        box = window(args[1])
        if box:
            print(*box)
        return
    d = Display()
    n = [int(v) for v in args[1:]] if args[0] in ("click", "move", "drag") else []
    if args[0] == "move":
        d.move(*n)
    elif args[0] == "click":
        d.move(*n)
        d.button(True)
        d.button(False)
    elif args[0] == "drag":
        d.move(n[0], n[1])
        d.button(True)
        steps = 10
        for i in range(1, steps + 1):
            d.move(n[0] + (n[2] - n[0]) * i // steps, n[1] + (n[3] - n[1]) * i // steps)
        d.button(False)
    elif args[0] == "type":
        for ch in args[1]:
            if ch.isalnum():
                d.key(ch.lower(), shift=ch.isupper())
            else:
                d.key(PUNCTUATION[ch], shift=ch in "_@")
    elif args[0] == "key":
        d.key(args[1])
    else:
        sys.exit(__doc__)
    d.close()


if __name__ == "__main__":
    main(sys.argv[1:])
