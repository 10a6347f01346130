#!/usr/bin/python3
"""Developer check of the e2e harness against stock X clients (not run by ctest).

xclock with a known background colour checks capture and colour order;
xev echoes the input we send, which checks window-relative coordinates,
buttons and keys. Usage: /usr/bin/python3 tests/e2e/harness_selfcheck.py [out.png]
"""

import os
import struct
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import App, Image, XServer, rss_kib  # noqa: E402

BG = (0xC0, 0x30, 0x20)  # distinct channels, so a swapped order shows


def check(cond, what):
    if not cond:
        raise AssertionError(what)
    print("ok:", what)


def check_xwd_byte_orders():
    # Xvfb on x86 only ever hands out LSB-first images; fake an MSB-first
    # dump and a 10-bit-per-channel one to cover the other decoding paths.
    def dump(byte_order, depth, masks, pixels):
        header = [102, 7, 2, depth, 2, 1, 0, byte_order, 32, byte_order, 32, 32, 8, 4,
                  *masks, 8, 0, 0, 2, 1, 0, 0, 0]
        return struct.pack(">25I", *header) + b"w\0" + pixels
    img = Image.from_xwd(dump(1, 24, (0xFF0000, 0xFF00, 0xFF), bytes([0, 1, 2, 3, 0, 4, 5, 6])))
    check([img.pixel(0, 0), img.pixel(1, 0)] == [(1, 2, 3), (4, 5, 6)], "MSB-first xwd decodes")
    px = (0x3FF << 20).to_bytes(4, "little") + (0x200 << 10).to_bytes(4, "little")
    img = Image.from_xwd(dump(0, 30, (0x3FF << 20, 0x3FF << 10, 0x3FF), px))
    check([img.pixel(0, 0), img.pixel(1, 0)] == [(255, 0, 0), (0, 127, 0)], "30-bit xwd decodes")


def main():
    check_xwd_byte_orders()
    png = sys.argv[1] if len(sys.argv) > 1 else "/tmp/harness_selfcheck.png"
    with XServer() as xs:
        print("display", xs.display)
        xvfb_pid = xs.proc.pid
        with XServer() as other:
            check(other.display != xs.display, "a second server picks another display (%s)"
                  % other.display)

        with App("xclock", ["-geometry", "200x200+10+10", "-bg", "#c03020", "-update", "1"],
                 env=xs.env) as clock:
            clock.wait_window(title="xclock")
            x, y, w, h = clock.geometry()
            check((w, h) == (200, 200), "xclock geometry %r" % ((x, y, w, h),))
            img = clock.screenshot()
            check((img.width, img.height) == (200, 200), "screenshot is 200x200")
            check(img.pixel(2, 2) == BG, "corner pixel %r is the background" % (img.pixel(2, 2),))
            check(img.count(BG) > 10000, "background covers most of the window")
            check(img.count(BG) < 200 * 200, "clock face is drawn over it")
            clock.wait_for_pixel(199, 199, BG, timeout=5)
            img.save_png(png)
            print("saved", png)
            check(rss_kib(clock.pid) > 0, "rss_kib reads VmRSS (%d KiB)" % rss_kib(clock.pid))
            clock.click(100, 100)
            clock.drag(20, 20, 150, 150)
            clock.terminate()
            code = clock.wait_exit(10)
            print("xclock exit status", code)

        with App("xev", ["-geometry", "400x300+300+200"], env=xs.env) as xev:
            xev.wait_window(title="Event Tester")
            # xev's window has a 2 px border: its inside starts at (302, 202).
            wx, wy, _, _ = xev.geometry()
            check((wx, wy) == (302, 202), "geometry gives the inside origin")
            start = len(xev.lines())
            xev.move(250, 180)
            where = "(250,180), root:(%d,%d)" % (wx + 250, wy + 180)
            i = xev.wait_for_line(where, timeout=10, start=start)
            check(True, "window-relative move lands at " + where)
            xev.click(260, 190, button=3)
            i = xev.wait_for_line("ButtonPress event", start=i)
            xev.wait_for_line("(260,190)", start=i)
            xev.wait_for_line("button 3,", start=i)
            i = xev.wait_for_line("ButtonRelease event", start=i)
            check(True, "click with button 3 at (260,190)")
            xev.press_keys(["ctrl", "a"])
            i = xev.wait_for_line("keysym 0xffe3, Control_L", start=i)
            i = xev.wait_for_line("keysym 0x61, a", start=i)
            check(True, "held ctrl+a reach the window under the pointer")
            xev.focus()
            xev.move(390, 290)
            xev.press_key("b")
            xev.wait_for_line("keysym 0x62, b", start=i)
            check(True, "key reaches the focused window")
            xev.drag(100, 200, 300, 250)
            xev.wait_for_line("(300,250)", start=i)
            check(True, "drag ends at its target")
        check(xev.proc.returncode is not None, "xev reaped on context exit")

        try:
            with App("/bin/false", env=xs.env) as bad:
                bad.wait_for_line("never", timeout=5)
            check(False, "wait_for_line fails when output never comes")
        except AssertionError as e:
            check("exit status 1" in str(e), "wait_for_line reports the exit status early")

    check(subprocess.run(["kill", "-0", str(xvfb_pid)], stderr=subprocess.DEVNULL).returncode != 0,
          "Xvfb %d is gone" % xvfb_pid)
    print("harness self-check passed")


if __name__ == "__main__":
    main()
