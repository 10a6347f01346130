#!/usr/bin/python3
"""Start-up and shutdown of the real program: its output, its window, SIGTERM,
a missing display and a working directory without images."""

import os
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import App, XServer, default_binary  # noqa: E402
from screen_checks import BLACK, NODE, assert_pin  # noqa: E402

STARTUP_LINES = ["SDL video system is ready to go", "8", "1", "1", "3", "3", "5", "5", "7", "7"]


class Startup(unittest.TestCase):
    def test_prints_registry_opens_window_and_quits_on_sigterm(self):
        with XServer() as xs, App(env=xs.env) as app:
            app.wait_window()
            self.assertEqual(app.geometry()[2:], (1600, 900))
            app.wait_for_lines_count(len(STARTUP_LINES))
            # Let it run a while: an idle circuit must print nothing per frame.
            app.wait_for_pixel(60, 46, NODE)
            time.sleep(0.5)
            start = time.monotonic()
            app.terminate()
            code = app.wait_exit(timeout=10)
            took = time.monotonic() - start
            self.assertEqual(code, 0, app.output())
            # Shutdown waits 800 ms after closing the window.
            self.assertGreaterEqual(took, 0.7)
            self.assertLess(took, 5)
            self.assertEqual(app.lines(), STARTUP_LINES)

    def test_without_display_reports_sdl_failure_and_exits(self):
        # Left to choose, SDL falls back to a driver that draws nowhere; the
        # program must still see that there is no display.
        base = dict(os.environ)
        for name in ("WAYLAND_DISPLAY", "SDL_VIDEODRIVER"):
            base.pop(name, None)
        unset = dict(base)
        unset.pop("DISPLAY", None)
        for env in (unset, dict(base, DISPLAY=":31999")):
            with self.subTest(display=env.get("DISPLAY")), App(env=env) as app:
                start = time.monotonic()
                code = app.wait_exit(timeout=10)
                self.assertLess(time.monotonic() - start, 5)
                self.assertNotEqual(code, 0)
                out = "\n".join(app.lines())
                self.assertTrue(out.startswith("SDL could not be initialized: "), out)
                self.assertGreater(len(out), len("SDL could not be initialized: "), out)
                self.assertNotIn("ready to go", out)

    def test_starts_without_images_and_still_draws_pins(self):
        with tempfile.TemporaryDirectory() as empty, XServer() as xs, \
                App(cwd=empty, env=xs.env) as app:
            app.wait_window()
            img = app.wait_for_pixel(60, 46, NODE)
            for corner in ((52, 38), (52, 70), (392, 38), (656, 624), (692, 724)):
                assert_pin(self, img, corner)
            bg = img.pixel(800, 450)
            # No image: gate and button bodies show the bare canvas.
            self.assertEqual(img.pixel(120, 62), bg)
            self.assertEqual(img.pixel(620, 620), bg)
            self.assertEqual(img.count(BLACK, 708, 700, 764, 764), 56 * 64)  # unlit lamp body
            self.assertEqual(app.lines(), STARTUP_LINES)
            app.terminate()
            self.assertEqual(app.wait_exit(), 0)


if __name__ == "__main__":
    if not os.access(default_binary(), os.X_OK):
        sys.exit("no program at %s; set VELKORA_BIN" % default_binary())
    unittest.main()
