#!/usr/bin/python3
"""The real program under load: a live circuit running for twenty seconds, and the
gate id space filled to its last id by thousands of key-down events."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import rss_kib  # noqa: E402
from hostile_case import (AND_A, AND_B, AND_OUT, BUTTON_BODY, BUTTON_OUT, LAMP_BODY,  # noqa: E402
                          LAMP_IN, PARK, HostileCase, LiveCountingApp, key_down, key_up, tap,
                          x_autorepeat)
from screen_checks import BLACK, LIT  # noqa: E402


class HostileLoad(HostileCase):
    def test_live_circuit_runs_twenty_seconds_without_growing_memory(self):
        # A build with AddressSanitizer holds freed blocks back for a while, which
        # would read as growth; without that hold-back its figures mean what a
        # normal build's do. Other programs ignore the variable.
        asan = ":".join(filter(None, [os.environ.get("ASAN_OPTIONS"), "quarantine_size_mb=0"]))
        app = self.start(env={"ASAN_OPTIONS": asan}, app_class=LiveCountingApp)
        for p, line in ((AND_A, "GRMILICA"), (BUTTON_OUT, "uso 3"), (AND_B, "TEBRASTI"),
                        (BUTTON_OUT, "uso 3"), (AND_OUT, "RESILICA"), (LAMP_IN, "1 <-> 20007, 0"),
                        (BUTTON_BODY, "1")):
            self.click_and_wait(app, p, line)
        app.wait_for_pixel(*LAMP_BODY, LIT)
        time.sleep(1)
        first, frames, start = rss_kib(app.pid), app.live, time.monotonic()
        time.sleep(20)
        last, frames, took = rss_kib(app.pid), app.live - frames, time.monotonic() - start
        print("live run: RSS %d KiB after the first second, %d KiB %.1f s later; %d frames"
              % (first, last, took, frames))
        self.assertLessEqual(last, first + 5 * 1024)
        self.assertGreater(frames, 100)  # the gate-to-lamp wire is traced every frame
        self.assertEqual(app.screenshot().pixel(*LAMP_BODY), LIT)
        self.click_and_wait(app, BUTTON_BODY, "0")
        self.finish(app)

    def test_gate_id_space_fills_to_last_id_and_program_goes_on(self):
        # Thousands of stacked gates: SDL's OpenGL renderer on llvmpipe draws them
        # at about a frame a second, the software one several times faster.
        app = self.start(env={"SDL_RENDER_DRIVER": "software"})
        x_autorepeat(self.display, False)

        def hold_a_and_tap(taps):
            # Every key-down event places a gate while A is held: the press of A
            # and each tap of an unbound key. A stays held until all are handled.
            app.move(*PARK, settle=1)
            key_down(app, "a")
            tap(app, "F5", taps)
            self.select_other_and_input(app, settle=1)
            key_up(app, "a")

        hold_a_and_tap(4997)
        self.assertEqual(self.gates(app, settle=1), 5002)  # ids 1 to 10003
        hold_a_and_tap(50)
        self.assertEqual(self.gates(app, settle=1), 5003)  # the last id, 10005, and no more
        x_autorepeat(self.display, True, delay=100, interval=5)
        app.move(*PARK, settle=1)
        app.press_key("a", hold=2)  # auto-repeats too place nothing
        self.assertEqual(self.gates(app, settle=1), 5003)
        # A refused gate does not stop the other keys of the same key-down: with A
        # held, the key-down of L places a lamp. Each key-down is handled before
        # the next key goes down, so exactly one sees L held.
        for key in ("a", "l"):
            app.move(*PARK, settle=1)
            key_down(app, key)
            self.select_other_and_input(app, settle=1)
        key_up(app, "l", "a")
        img = app.wait_for_pixel(*PARK, BLACK)
        self.assertEqual(img.count(BLACK, 876, 368, 932, 432), 56 * 64)  # the unlit lamp body
        lines = self.dump(app, settle=1)
        self.assertEqual(len(lines), 10006 + 3)
        self.assertEqual(lines[-3:], ["10007: ", "20007: ", "20008: "])
        self.click_and_wait(app, BUTTON_BODY, "1", settle=1)
        self.finish(app)


if __name__ == "__main__":
    unittest.main()
