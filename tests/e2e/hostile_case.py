"""Shared by the end-to-end tests of the program in unfriendly surroundings: a test
case that starts the program and checks it ends cleanly, X keyboard auto-repeat,
graph dumps read back through the output, and an OpenGL context probe."""

import ctypes
import re
import subprocess
import sys
import time
import unittest

from harness import App, XServer
from screen_checks import NODE, assert_pin

STARTUP_LINES = ["SDL video system is ready to go", "8", "1", "1", "3", "3", "5", "5", "7", "7"]
AND_A, AND_B, AND_OUT = (60, 46), (60, 78), (184, 58)
BUTTON_OUT, BUTTON_BODY, LAMP_IN, LAMP_BODY = (664, 632), (620, 620), (700, 732), (730, 730)
PIN_CORNERS = ((52, 38), (52, 70), (392, 38), (656, 624), (692, 724))
PARK = (900, 400)  # empty canvas: keys place their components here
IMAGES = ["AND", "NAND", "OR", "NOR", "XOR", "NXOR", "NOT", "ButtonPressed", "ButtonReleased"]
CRASH = re.compile(r"Sanitizer|runtime error|Segmentation fault|Aborted|core dumped")
# Without a 4.1 core context: SDL's OpenGL 2D renderer would reset the context
# attributes to its own 2.1 compatibility profile before the program asks for its
# context, so the 2D renderer must be the software one, drawing straight into the
# X window (no texture framebuffer, which is OpenGL again); Mesa then offers 3.3 at most.
NO_GL41_CORE = {"SDL_RENDER_DRIVER": "software", "SDL_FRAMEBUFFER_ACCELERATION": "0",
                "MESA_GL_VERSION_OVERRIDE": "3.3"}


def x_autorepeat(display, on, delay=200, interval=33):
    """Switch the X server's key auto-repeat, as `xset r` does (xset itself is
    not among the installed X utilities)."""
    xlib = ctypes.CDLL("libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    for f in (xlib.XAutoRepeatOn, xlib.XAutoRepeatOff, xlib.XCloseDisplay):
        f.argtypes = [ctypes.c_void_p]
    xlib.XkbSetAutoRepeatRate.argtypes = [ctypes.c_void_p] + [ctypes.c_uint] * 3
    dpy = xlib.XOpenDisplay(display.encode())
    assert dpy, "cannot open display %s" % display
    if on:
        xlib.XAutoRepeatOn(dpy)
        xlib.XkbSetAutoRepeatRate(dpy, 0x100, delay, interval)  # 0x100: the core keyboard
    else:
        xlib.XAutoRepeatOff(dpy)
    xlib.XCloseDisplay(dpy)  # flushes the requests


def key_down(app, *keys):
    """Press keys and keep them held (the harness only presses and releases)."""
    app._xdo("keydown", *keys)


def key_up(app, *keys):
    app._xdo("keyup", *keys)


def tap(app, key, count):
    """Press and release a key `count` times, as fast as xdotool sends them."""
    for n in range(0, count, 500):
        app._xdo("key", "--delay", "0", *[key] * min(500, count - n))


GL_PROBE = r"""
import ctypes
sdl = ctypes.CDLL("libSDL2-2.0.so.0")
sdl.SDL_CreateWindow.restype = sdl.SDL_GL_CreateContext.restype = ctypes.c_void_p
sdl.SDL_CreateRenderer.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_uint32]
sdl.SDL_GL_CreateContext.argtypes = [ctypes.c_void_p]
assert sdl.SDL_Init(0x20) == 0
# As the program asks: major 4, minor 1, core profile, double buffer, 24-bit depth.
for attr, value in ((17, 4), (18, 1), (21, 1), (5, 1), (6, 24)):
    sdl.SDL_GL_SetAttribute(attr, value)
window = sdl.SDL_CreateWindow(b"probe", 0, 0, 64, 64, 2)
sdl.SDL_CreateRenderer(window, -1, 2)
print("context" if sdl.SDL_GL_CreateContext(window) else "none")
"""


def gl_probe(env):
    """Whether the program's start-up sequence gets an OpenGL context in `env`."""
    r = subprocess.run([sys.executable, "-c", GL_PROBE], env=env, stdout=subprocess.PIPE,
                       stderr=subprocess.PIPE, timeout=60)
    assert r.returncode == 0, r.stderr.decode(errors="replace")
    return r.stdout.decode().strip()


class LiveCountingApp(App):
    """Counts the live-wire trace instead of keeping it: a live circuit prints a
    line every frame, far too many to hold for a long run."""
    LIVE = "20007-1"
    live = 0

    def _reader(self, stream, sink):
        for raw in iter(stream.readline, b""):
            line = raw.decode("utf-8", errors="replace").rstrip("\r\n")
            with self._cond:
                if line == self.LIVE:
                    self.live += 1
                else:
                    sink.append(line)
                self._cond.notify_all()
        with self._cond:
            self._cond.notify_all()


class HostileCase(unittest.TestCase):
    """Starting, driving and stopping the program, with the checks every test ends with."""

    def start(self, cwd=None, env=None, app_class=App):
        xs = XServer().__enter__()
        self.addCleanup(xs.__exit__, None, None, None)
        self.display = xs.display
        app = app_class(cwd=cwd, env=dict(xs.env, **(env or {}))).__enter__()
        self.addCleanup(app.__exit__, None, None, None)
        app.wait_window()
        img = app.wait_for_pixel(*AND_A, NODE)
        for corner in PIN_CORNERS:
            assert_pin(self, img, corner)
        app.wait_for_lines_count(len(STARTUP_LINES))
        self.assertEqual(app.lines()[:len(STARTUP_LINES)], STARTUP_LINES)
        self.selected = None  # input of the AND gate selected by select_other_and_input
        return app

    def finish(self, app):
        app.terminate()
        self.assertEqual(app.wait_exit(), 0, "\n".join(app.stderr_lines()))
        bad = [line for line in app.stderr_lines() if CRASH.search(line)]
        self.assertEqual(bad, [], "\n".join(app.stderr_lines()))

    def click_and_wait(self, app, point, line, settle=0.3):
        """Click and return the index of the output line that answers it. The pointer
        rests first, so the frame that handles the press has already sampled it."""
        start = len(app.lines())
        app.move(*point, settle=settle)
        app.mouse_down()
        time.sleep(0.1)
        app.mouse_up()
        return app.wait_for_line(lambda s: s == line, start=start, timeout=60)

    def select_other_and_input(self, app, settle=0.3):
        """Select whichever of the AND gate's inputs A and B is not selected, which
        prints a marker every time; return the marker's index. Every event sent
        before has been handled once the marker shows."""
        pin, marker = (AND_B, "TEBRASTI") if self.selected == "A" else (AND_A, "GRMILICA")
        self.selected = "B" if self.selected == "A" else "A"
        return self.click_and_wait(app, pin, marker, settle)

    def dump(self, app, settle=0.3):
        """One graph dump by a single T key-down, as lines. The dump is not flushed
        on its own; the marker of a pin selection after it flushes it."""
        x_autorepeat(self.display, False)
        start = self.select_other_and_input(app, settle) + 1  # no earlier key-down sees T
        key_down(app, "t")
        try:
            end = self.select_other_and_input(app, settle)
        finally:
            key_up(app, "t")
        lines = app.lines()[start:end]
        self.assertEqual(sum(1 for s in lines if s == "0: "), 1, "one dump per key-down")
        return lines

    def gates(self, app, **kw):
        ids = [int(s.split(":")[0]) for s in self.dump(app, **kw) if re.match(r"\d+: ", s)]
        slots = [i for i in ids if i < 10007]
        self.assertEqual(slots, list(range(len(slots))))
        return len(slots) // 2
