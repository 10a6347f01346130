"""Drive the real Velkora binary under a private Xvfb for end-to-end tests.

Standard library only. Typical use:

    with XServer() as xs, App(env=xs.env) as app:
        app.wait_window()
        app.click(100, 200)
        img = app.wait_for_pixel(100, 200, (255, 0, 0))
"""

import os
import re
import select
import signal
import struct
import subprocess
import threading
import time
import zlib

REPO_ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINDOW_TITLE = "Velkora v2"

# Pauses between scripted input steps. SDL samples the pointer once per
# frame, so every step needs a few frames to be seen.
SETTLE = 0.08
STEP = 0.1


def default_binary():
    return os.environ.get("VELKORA_BIN") or os.path.join(REPO_ROOT, "build", "velkora")


def _poll(cond, timeout, interval=0.05):
    """Call cond() until it returns something truthy or timeout passes."""
    deadline = time.monotonic() + timeout
    while True:
        result = cond()
        if result:
            return result
        if time.monotonic() >= deadline:
            return None
        time.sleep(interval)


def rss_kib(pid):
    """Resident set size of a process in KiB, from /proc/<pid>/status."""
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    raise AssertionError("no VmRSS for pid %d" % pid)


class XServer:
    """A private Xvfb on a free display, stopped again on exit."""

    def __init__(self, screen="1920x1080x24", timeout=20):
        self.screen = screen
        self.timeout = timeout
        self.proc = None
        self.display = None
        self.env = None

    def __enter__(self):
        rfd, wfd = os.pipe()
        try:
            self.proc = subprocess.Popen(
                ["Xvfb", "-displayfd", str(wfd), "-screen", "0", self.screen,
                 "-nolisten", "tcp", "-noreset"],
                pass_fds=(wfd,), stdin=subprocess.DEVNULL,
                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
            os.close(wfd)
            wfd = -1
            number = self._read_display_number(rfd)
        except BaseException:
            if wfd >= 0:
                os.close(wfd)
            os.close(rfd)
            self._stop()
            raise
        os.close(rfd)
        self.display = ":%s" % number
        self.env = dict(os.environ, DISPLAY=self.display)
        # Xvfb reports the number once it accepts connections; make sure a
        # client really gets through before handing the display out.
        ok = _poll(lambda: subprocess.run(
            ["xdotool", "getdisplaygeometry"], env=self.env,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0,
            self.timeout)
        if not ok:
            self._stop()
            raise AssertionError("Xvfb on %s does not accept clients" % self.display)
        return self

    def _read_display_number(self, rfd):
        data = b""
        deadline = time.monotonic() + self.timeout
        while b"\n" not in data:
            left = deadline - time.monotonic()
            if left <= 0 or self.proc.poll() is not None:
                err = b""
                if self.proc.poll() is not None:
                    err = self.proc.stderr.read()
                raise AssertionError("Xvfb did not start: %s" % err.decode(errors="replace"))
            ready, _, _ = select.select([rfd], [], [], min(left, 0.2))
            if ready:
                chunk = os.read(rfd, 64)
                if not chunk and self.proc.poll() is None:
                    time.sleep(0.05)
                data += chunk
        return int(data.split(b"\n")[0].strip())

    def _stop(self):
        if self.proc is None:
            return
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.proc.stderr.close()

    def __exit__(self, *exc):
        self._stop()
        return False


class Image:
    """A captured window: width, height and pixel(x, y) -> (r, g, b)."""

    def __init__(self, width, height, rgb):
        self.width = width
        self.height = height
        self.rgb = rgb  # packed R, G, B bytes, row by row

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise IndexError("pixel (%d, %d) outside %dx%d" % (x, y, self.width, self.height))
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def count(self, rgb, x0=0, y0=0, x1=None, y1=None):
        """Number of pixels of exactly this colour in [x0, x1) x [y0, y1)."""
        x1 = self.width if x1 is None else x1
        y1 = self.height if y1 is None else y1
        want = bytes(rgb)
        n = 0
        for y in range(y0, y1):
            row = self.rgb[(y * self.width + x0) * 3:(y * self.width + x1) * 3]
            n += sum(1 for i in range(0, len(row), 3) if row[i:i + 3] == want)
        return n

    def save_png(self, path):
        stride = self.width * 3
        raw = b"".join(b"\x00" + self.rgb[y * stride:(y + 1) * stride]
                       for y in range(self.height))

        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body
                    + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
            f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)))
            f.write(chunk(b"IDAT", zlib.compress(raw, 6)))
            f.write(chunk(b"IEND", b""))

    @classmethod
    def from_xwd(cls, data):
        if len(data) < 100:
            raise ValueError("xwd dump too short (%d bytes)" % len(data))
        h = struct.unpack(">25I", data[:100])
        (header_size, version, fmt, depth, width, height, _xoff, byte_order,
         _unit, _bit_order, _pad, bpp, bpl, _vclass, rmask, gmask, bmask,
         _bits_rgb, _cmap_entries, ncolors) = h[:20]
        if version != 7 or fmt != 2:
            raise ValueError("unsupported xwd dump: version %d, format %d" % (version, fmt))
        if bpp not in (24, 32) or depth < 24:
            raise ValueError("unsupported xwd pixel layout: depth %d, %d bpp" % (depth, bpp))
        start = header_size + ncolors * 12
        pix = data[start:start + height * bpl]
        if len(pix) < height * bpl:
            raise ValueError("xwd dump truncated")
        step = bpp // 8
        # Fast path: one byte per channel, which is what a 24-bit TrueColor
        # visual always gives. Work out each channel's byte offset within a
        # pixel from its mask and the image byte order (0 = LSB first).
        offs = []
        for mask in (rmask, gmask, bmask):
            shift = (mask & -mask).bit_length() - 1
            if mask >> shift != 0xFF or shift % 8:
                offs = None
                break
            byte = shift // 8
            offs.append(byte if byte_order == 0 else step - 1 - byte)
        rgb = bytearray(width * height * 3)
        if offs is not None:
            for y in range(height):
                row = pix[y * bpl:y * bpl + width * step]
                o = y * width * 3
                for c in range(3):
                    rgb[o + c:o + width * 3:3] = row[offs[c]::step]
        else:
            order = "little" if byte_order == 0 else "big"
            chans = [(m, (m & -m).bit_length() - 1) for m in (rmask, gmask, bmask)]
            for y in range(height):
                for x in range(width):
                    i = y * bpl + x * step
                    v = int.from_bytes(pix[i:i + step], order)
                    for c, (m, s) in enumerate(chans):
                        top = m >> s
                        rgb[(y * width + x) * 3 + c] = ((v & m) >> s) * 255 // top
        return cls(width, height, bytes(rgb))


class App:
    """The program under test, with its output collected line by line."""

    def __init__(self, binary=None, args=(), cwd=None, env=None):
        self.argv = [binary or default_binary()] + list(args)
        self.cwd = cwd or REPO_ROOT
        self.env = env if env is not None else dict(os.environ)
        self.proc = None
        self.wid = None
        self._origin = None  # screen position of the window's inside
        self._lines = []
        self._stderr = []
        self._cond = threading.Condition()
        self._threads = []

    # ---- process ---------------------------------------------------------
    def __enter__(self):
        env = dict(self.env)
        # Libraries to preload into the program alone (the sanitizer run uses it),
        # never into the X server or the tools.
        if env.get("VELKORA_LD_PRELOAD"):
            env["LD_PRELOAD"] = env["VELKORA_LD_PRELOAD"]
        self.proc = subprocess.Popen(
            self.argv, cwd=self.cwd, env=env, stdin=subprocess.DEVNULL,
            stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        for stream, sink in ((self.proc.stdout, self._lines), (self.proc.stderr, self._stderr)):
            t = threading.Thread(target=self._reader, args=(stream, sink), daemon=True)
            t.start()
            self._threads.append(t)
        return self

    def _reader(self, stream, sink):
        for raw in iter(stream.readline, b""):
            with self._cond:
                sink.append(raw.decode("utf-8", errors="replace").rstrip("\r\n"))
                self._cond.notify_all()
        with self._cond:
            self._cond.notify_all()

    def __exit__(self, *exc):
        if self.proc.poll() is None:
            self.proc.kill()
        self.proc.wait()
        for t in self._threads:
            t.join(timeout=5)
        self.proc.stdout.close()
        self.proc.stderr.close()
        return False

    @property
    def pid(self):
        return self.proc.pid

    def lines(self):
        with self._cond:
            return list(self._lines)

    def stderr_lines(self):
        with self._cond:
            return list(self._stderr)

    def output(self):
        """Everything captured so far, for failure messages."""
        return ("--- stdout ---\n%s\n--- stderr ---\n%s" %
                ("\n".join(self.lines()), "\n".join(self.stderr_lines())))

    def _wait(self, cond, timeout, what):
        deadline = time.monotonic() + timeout
        with self._cond:
            while True:
                result = cond()
                if result is not None:
                    return result
                left = deadline - time.monotonic()
                if left <= 0:
                    break
                if self.proc.poll() is not None and not any(t.is_alive() for t in self._threads):
                    break  # the process is gone and its output fully read
                self._cond.wait(min(left, 0.2))
        raise AssertionError("timed out after %gs waiting for %s (exit status %s)\n%s"
                             % (timeout, what, self.proc.poll(), self.output()))

    def wait_for_line(self, match, timeout=20, start=0):
        """Index of the first stdout line at or after `start` that contains
        `match` (a string) or satisfies it (a predicate)."""
        test = match if callable(match) else (lambda line: match in line)

        def find():
            for i in range(start, len(self._lines)):
                if test(self._lines[i]):
                    return i
            return None
        return self._wait(find, timeout, "a line matching %r" % (match,))

    def wait_for_lines_count(self, n, timeout=20):
        return self._wait(lambda: len(self._lines) if len(self._lines) >= n else None,
                          timeout, "%d lines of output" % n)

    def terminate(self):
        self.proc.send_signal(signal.SIGTERM)

    def wait_exit(self, timeout=20):
        try:
            code = self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("process still running after %gs\n%s" % (timeout, self.output()))
        for t in self._threads:
            t.join(timeout=5)
        return code

    # ---- window ----------------------------------------------------------
    def _xdo(self, *args, check=True):
        r = subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env,
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=20)
        if check and r.returncode != 0:
            raise AssertionError("xdotool %s failed: %s" % (" ".join(map(str, args)),
                                                            r.stderr.decode(errors="replace")))
        return r.stdout.decode()

    def wait_window(self, title=WINDOW_TITLE, timeout=20):
        """Wait until a visible window with exactly this title exists and
        return its id; later input and screenshots go to it."""
        pattern = "^%s$" % re.escape(title)

        def find():
            if self.proc.poll() is not None:
                raise AssertionError("process exited with status %s before its window "
                                     "appeared\n%s" % (self.proc.returncode, self.output()))
            out = self._xdo("search", "--onlyvisible", "--name", pattern, check=False)
            ids = out.split()
            return ids[0] if ids else None
        wid = _poll(find, timeout, 0.1)
        if not wid:
            raise AssertionError("no window titled %r after %gs\n%s" % (title, timeout, self.output()))
        self.wid = wid
        self._origin = None
        return wid

    def geometry(self):
        """(x, y, width, height) of the window's inside on the screen.

        X reports a window's position at the outer corner of its border;
        window coordinates start inside the border, so add it back."""
        r = subprocess.run(["xwininfo", "-id", self.wid], env=self.env,
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=20)
        if r.returncode != 0:
            raise AssertionError("xwininfo failed: %s" % r.stderr.decode(errors="replace"))
        vals = dict(re.findall(r"^\s*([A-Za-z -]+):\s+(-?\d+)\s*$", r.stdout.decode(), re.M))
        bw = int(vals["Border width"])
        return (int(vals["Absolute upper-left X"]) + bw, int(vals["Absolute upper-left Y"]) + bw,
                int(vals["Width"]), int(vals["Height"]))

    def focus(self):
        self._xdo("windowfocus", "--sync", self.wid)

    # ---- input -----------------------------------------------------------
    def move(self, x, y, settle=SETTLE):
        """Put the pointer at (x, y) in window coordinates.

        `mousemove --sync` is no use here: when the pointer is already at
        the target it spins for 15 s. Move to the absolute spot instead and
        poll the pointer position until the server reports it there."""
        if self._origin is None:
            self._origin = self.geometry()[:2]
        ax, ay = self._origin[0] + int(x), self._origin[1] + int(y)
        self._xdo("mousemove", "--", ax, ay)

        def arrived():
            out = self._xdo("getmouselocation", "--shell")
            vals = dict(line.split("=", 1) for line in out.split() if "=" in line)
            return (int(vals["X"]), int(vals["Y"])) == (ax, ay)
        if not _poll(arrived, 5, 0.01):
            raise AssertionError("pointer did not reach (%d, %d) (screen %d, %d)" % (x, y, ax, ay))
        time.sleep(settle)

    def mouse_down(self, button=1):
        self._xdo("mousedown", button)

    def mouse_up(self, button=1):
        self._xdo("mouseup", button)

    def click(self, x, y, button=1):
        self.move(x, y, settle=STEP)
        self.mouse_down(button)
        time.sleep(STEP)
        self.mouse_up(button)
        time.sleep(STEP)

    def drag(self, x0, y0, x1, y1, button=1, steps=8):
        self.move(x0, y0, settle=STEP)
        self.mouse_down(button)
        time.sleep(STEP)
        for i in range(1, steps + 1):
            self.move(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps, settle=0.04)
        time.sleep(STEP)
        self.mouse_up(button)
        time.sleep(STEP)

    def press_keys(self, keysyms, hold=STEP):
        """Hold several keys at once (e.g. ["ctrl", "s"]), then release them."""
        self._xdo("keydown", *keysyms)
        time.sleep(hold)
        self._xdo("keyup", *reversed(keysyms))
        time.sleep(STEP)

    def press_key(self, keysym, hold=STEP):
        self.press_keys([keysym], hold)

    # ---- screen ----------------------------------------------------------
    def screenshot(self):
        r = subprocess.run(["xwd", "-silent", "-nobdrs", "-id", self.wid], env=self.env,
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=20)
        if r.returncode != 0:
            raise AssertionError("xwd failed: %s" % r.stderr.decode(errors="replace"))
        return Image.from_xwd(r.stdout)

    def wait_for_pixel(self, x, y, rgb, timeout=20, tolerance=0):
        """Screenshot until pixel (x, y) is `rgb` (each channel within
        `tolerance`); returns that screenshot."""
        want = tuple(rgb)
        last = [None]

        def check():
            img = self.screenshot()
            last[0] = img.pixel(x, y)
            if all(abs(a - b) <= tolerance for a, b in zip(last[0], want)):
                return img
            return None
        img = _poll(check, timeout, 0.1)
        if img is None:
            raise AssertionError("pixel (%d, %d) is %r, expected %r after %gs"
                                 % (x, y, last[0], want, timeout))
        return img
