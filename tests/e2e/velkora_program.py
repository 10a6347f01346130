"""The real program driven as a user drives it: started on the current X display, its output
read on threads, its window found, given input through XTEST and read back as pixels."""

import os
import signal
import subprocess
import threading
import time

from PIL import Image
from Xlib import X, XK, display
from Xlib.error import XError
from Xlib.ext import xtest

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
STARTUP_LINES = ["SDL video system is ready to go", "8", "1", "1", "3", "3", "5", "5", "7", "7"]
NODE, LIT, LIVE_WIRE = (74, 141, 247), (3, 252, 15), (52, 154, 250)
BLACK = (0, 0, 0)
CANVAS = (194, 238, 242)  # the cleared canvas reads as the OpenGL clear colour under Mesa
# SDL samples the pointer once per frame, at its top: a press handled in the frame that
# also sees the motion before it would act where the pointer was. So input waits a few
# frames between steps, and longer after a move.
STEP, SETTLE = 0.1, 0.2


def wait_until(check, timeout, what):
    deadline = time.monotonic() + timeout
    while not (result := check()):
        assert time.monotonic() < deadline, "timed out after %gs waiting for %s" % (timeout, what)
        time.sleep(0.05)
    return result


class Pointer:
    """A click or a drag as a person makes it, on the window or on the page."""
    def click(self, x, y):
        self.move(x, y)
        self.button(True)
        self.button(False)

    def drag(self, start, end):
        self.move(*start)
        self.button(True)
        self.move(*end)
        self.button(False)


class Program(Pointer):
    def __init__(self, cwd, env, count_only, binary=None):
        binary = binary or os.environ.get("VELKORA_BIN", os.path.join(REPO, "build", "velkora"))
        self.proc = subprocess.Popen([binary], cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.lines, self.errors, self.counted, self.count_only = [], [], 0, count_only
        self.readers = [threading.Thread(target=self._read, args=args, daemon=True)
                        for args in ((self.proc.stdout, self.lines), (self.proc.stderr, self.errors))]
        for reader in self.readers:
            reader.start()
        self.window = self.x = None

    def _read(self, stream, sink):
        for raw in stream:
            line = raw.decode(errors="replace").rstrip("\n")
            if line == self.count_only:  # a live wire is traced every frame: count, don't keep
                self.counted += 1
            else:
                sink.append(line)

    def wait_line(self, line, start=0, timeout=60):
        """Index of the first output line from `start` on that equals `line`."""
        found = wait_until(lambda: line in self.lines[start:], timeout,
                           "%r after line %d in %s" % (line, start, self.lines))
        return self.lines.index(line, start) if found else None

    def wait_exit(self, timeout=10):
        code = self.proc.wait(timeout)
        for reader in self.readers:
            reader.join(5)
        return code

    def stop(self):
        """Ends the program as a window close would; it must end cleanly."""
        self.proc.send_signal(signal.SIGTERM)
        if self.x is not None:
            self.x.close()
            self.x = None
        assert self.wait_exit() == 0, self.errors
        assert not [s for s in self.errors if "Sanitizer" in s or "runtime error" in s], self.errors

    def show(self, timeout=30):
        """Waits for the window (a child of the root: no window manager) to show its first
        frame. SDL may make its window anew for the renderer: then it is looked for again."""
        self.x = display.Display()
        root = self.x.screen().root

        def first_frame():
            assert self.proc.poll() is None, "ended with %s: %s" % (self.proc.poll(), self.errors)
            try:
                for window in root.query_tree().children:
                    if window.get_wm_name() == "Velkora v2" and \
                            window.get_attributes().map_state == X.IsViewable:
                        self.window = window
                        return self.pixel(60, 46) == NODE  # the first gate's input A
            except XError:
                return False
        wait_until(first_frame, timeout, "the window's first frame")
        self.origin = root.translate_coords(self.window, 0, 0)
        return self

    def send(self, event, detail=0, settle=STEP, **where):
        xtest.fake_input(self.x, event, detail, **where)
        self.x.sync()
        time.sleep(settle)

    def move(self, x, y):
        self.send(X.MotionNotify, x=self.origin.x + x, y=self.origin.y + y, settle=SETTLE)

    def button(self, down):
        self.send(X.ButtonPress if down else X.ButtonRelease, 1)

    def clicks(self, points, expected):
        """Clicks the points in turn; the output that follows is exactly `expected`."""
        start = len(self.lines)
        for point in points:
            self.click(*point)
        if expected:
            self.wait_line(expected[-1], start + len(expected) - 1)
        assert self.lines[start:] == expected

    def keys(self, names, down=True):
        for name in names:
            self.send(X.KeyPress if down else X.KeyRelease,
                      self.x.keysym_to_keycode(XK.string_to_keysym(name)))

    def screenshot(self):
        size = self.window.get_geometry()
        raw = self.window.get_image(0, 0, size.width, size.height, X.ZPixmap, 0xFFFFFFFF)
        return Image.frombytes("RGB", (size.width, size.height), raw.data, "raw", "BGRX")

    def pixel(self, x, y):
        return self.screenshot().getpixel((x, y))

    def wait_pixel(self, x, y, rgb, timeout=30):
        """The first screenshot that shows `rgb` at (x, y)."""
        def shows():
            img = self.screenshot()
            return img.getpixel((x, y)) == rgb and img
        return wait_until(shows, timeout, "%s at %d, %d" % (rgb, x, y))
