#!/usr/bin/python3
"""The real program where its surroundings let it down: broken image files, no
OpenGL 4.1 core context, a key held down for seconds with the X server repeating it."""

import os
import random
import struct
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from hostile_case import (AND_A, AND_B, AND_OUT, BUTTON_BODY, BUTTON_OUT, IMAGES,  # noqa: E402
                          LAMP_BODY, LAMP_IN, NO_GL41_CORE, PARK, HostileCase, gl_probe,
                          key_down, key_up, x_autorepeat)
from screen_checks import BLACK, LIT, NODE, assert_pin  # noqa: E402


class HostileSetup(HostileCase):
    def test_broken_image_files_leave_bodies_bare_and_program_working(self):
        rng = random.Random(7)
        pixels = 128 * 64 * 3
        header = (b"BM" + struct.pack("<IHHI", 54 + pixels, 0, 0, 54) +
                  struct.pack("<IiiHHIIiiII", 40, 128, 64, 1, 24, 0, pixels, 0, 0, 0, 0))
        huge = header[:18] + struct.pack("<ii", 8000, 8000) + header[26:]
        contents = [bytes(rng.randrange(256) for _ in range(4000)),  # noise
                    header + bytes(rng.randrange(256) for _ in range(5000)),  # cut mid-pixels
                    b"",
                    header,  # no pixels at all
                    huge + bytes(100),  # claims 8000 x 8000
                    b"BM" + bytes(rng.randrange(256) for _ in range(200))]  # noise after the magic
        with tempfile.TemporaryDirectory() as cwd:
            os.mkdir(os.path.join(cwd, "img"))
            for i, name in enumerate(IMAGES[:-1]):
                with open(os.path.join(cwd, "img", name + ".bmp"), "wb") as f:
                    f.write(contents[i % len(contents)])
            os.mkdir(os.path.join(cwd, "img", IMAGES[-1] + ".bmp"))  # a directory, not a file
            app = self.start(cwd=cwd)
            img = app.screenshot()
            # Unreadable images leave textures empty: bodies show the bare canvas.
            canvas = img.pixel(800, 450)
            for body in ((120, 62), (460, 62), (480, 192), (260, 52), BUTTON_BODY):
                self.assertEqual(img.pixel(*body), canvas, "body at %r" % (body,))
            self.assertEqual(img.count(BLACK, 708, 700, 764, 764), 56 * 64)  # unlit lamp body
            self.click_and_wait(app, BUTTON_BODY, "1")
            self.click_and_wait(app, BUTTON_BODY, "0")
            self.finish(app)

    def test_runs_on_2d_renderer_without_opengl_41_core_context(self):
        app = self.start(env=NO_GL41_CORE)
        # The environment really takes the context away, and only the override does.
        self.assertEqual(gl_probe(app.env), "none")
        self.assertEqual(gl_probe(dict(app.env, MESA_GL_VERSION_OVERRIDE="4.5")), "context")
        app.focus()  # the probes' windows took the keyboard focus with them
        for p, line in ((AND_A, "GRMILICA"), (BUTTON_OUT, "uso 3"), (AND_OUT, "RESILICA"),
                        (LAMP_IN, "1 <-> 20007, 0"), (BUTTON_BODY, "1")):
            self.click_and_wait(app, p, line)
        # Input B still reads 0, so the lamp stays dark until B is wired too.
        self.click_and_wait(app, AND_B, "TEBRASTI")
        self.click_and_wait(app, BUTTON_OUT, "1 <-> 20007, 1")
        app.wait_for_pixel(*LAMP_BODY, LIT)
        app.move(*PARK, settle=0.3)
        app.press_key("a", hold=0.3)  # a gate centred on the pointer: its input A at (828, 376)
        assert_pin(self, app.wait_for_pixel(836, 384, NODE), (828, 376))
        self.finish(app)

    def test_auto_repeat_places_one_gate_per_repeated_key_down(self):
        app = self.start()
        app.move(*PARK, settle=0.3)
        interval = 33
        x_autorepeat(self.display, True, delay=200, interval=interval)
        key_down(app, "a")
        held = time.monotonic()
        time.sleep(3)
        key_up(app, "a")
        held = time.monotonic() - held
        x_autorepeat(self.display, False)
        placed = self.gates(app) - 4
        print("auto-repeat: %d gates placed holding A for %.1f s" % (placed, held))
        # The press and each repeat place one gate; the server repeats no faster
        # than its interval.
        self.assertGreater(placed, 20)
        self.assertLessEqual(placed, 2 + held * 1000 / interval)
        self.click_and_wait(app, BUTTON_BODY, "1")
        self.finish(app)


if __name__ == "__main__":
    unittest.main()
