#!/usr/bin/python3
"""Building and running circuits in the real window by clicking and typing, as a
user does, checking the traced output line by line and what the window shows."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import App, XServer  # noqa: E402
from screen_checks import BLACK, CANVAS, LIT, LIVE_WIRE, NODE, SELECTED, assert_pin  # noqa: E402

AND_A, AND_B, AND_OUT = (60, 46), (60, 78), (184, 58)  # AND id 1; (184, 58) misses the OR's pin
NXOR_A, NXOR_OUT = (420, 176), (548, 192)  # NXOR id 7
BUTTON_OUT, BUTTON_BODY, LAMP_IN, LAMP_BODY = (664, 632), (620, 620), (700, 732), (730, 730)


def dump(wired, gate_slots=8, lamps=(20007,)):
    """The graph dump: every gate slot, the button, the lamps, with their neighbours."""
    ids = list(range(gate_slots)) + [10007] + list(lamps)
    return ["%d: %s" % (i, "".join("%d " % n for n in wired.get(i, ()))) for i in ids]


class Editing(unittest.TestCase):
    def setUp(self):
        xs = XServer().__enter__()
        self.addCleanup(xs.__exit__, None, None, None)
        self.app = App(env=xs.env).__enter__()
        self.addCleanup(self.app.__exit__, None, None, None)
        self.app.wait_window()
        self.app.wait_for_pixel(*AND_A, NODE)
        self.app.wait_for_lines_count(10)
        self.seen = 10

    def clicks(self, points, expected, live=None):
        """Click the points in turn; the output that follows is exactly `expected`,
        apart from lines equal to `live` (a live-wire trace printed every frame)."""
        for p in points:
            self.app.click(*p)
        got = []
        while len(got) < len(expected):
            self.app.wait_for_lines_count(self.seen + 1)
            for line in self.app.lines()[self.seen:]:
                if len(got) == len(expected):
                    break
                self.seen += 1
                if line != live:
                    got.append(line)
        self.assertEqual(got, expected, self.app.output())

    def test_button_drives_lamp_through_and_gate(self):
        self.clicks([AND_A, BUTTON_OUT], ["GRMILICA", "BAKINA SENDVICARA", "uso 0", "uso 2", "uso 3",
                                          "10007 0"] + dump({1: [10007], 10007: [1]}) +
                    ["10007 <-> 1, 0"])
        self.clicks([AND_B, BUTTON_OUT], ["TEBRASTI", "BAKINA SENDVICARA", "uso 0", "uso 2", "uso 3",
                                          "10007 0"] + dump({1: [10007] * 2, 10007: [1, 1]}) +
                    ["10007 <-> 1, 0"] * 2)
        wired = {1: [10007, 10007, 20007], 10007: [1, 1], 20007: [1]}
        self.clicks([AND_OUT, LAMP_IN], ["RESILICA", "JEDNA PALACINKARINA", "uso 0", "uso 2",
                                         "10007 0"] + dump(wired) + ["10007 <-> 1, 0"] * 2 +
                    ["1 <-> 20007, 0"] * 2)
        # On: the gate is evaluated at each input's arrival, giving 0 then 1; the
        # lamp gets both in turn and ends lit.
        self.clicks([BUTTON_BODY], ["1", "10007 1"] + dump(wired) + ["10007 <-> 1, 1"] * 2 +
                    ["1 <-> 20007, 0", "1 <-> 20007, 1"])
        img = self.app.wait_for_pixel(*LAMP_BODY, LIT)
        # The gate-to-lamp wire, midway and clear of the button's wires, is blue;
        # so are the button's wires.
        self.assertGreater(img.count(LIVE_WIRE, 306, 220, 326, 240), 10)
        self.assertGreater(img.count(LIVE_WIRE, 357, 334, 367, 344), 5)
        self.app.wait_for_lines_count(self.seen + 5)
        self.assertEqual(set(self.app.lines()[self.seen:]), {"20007-1"})
        # Off again: lamp and wire go dark, and the live-wire trace stops at once.
        self.clicks([BUTTON_BODY], ["0", "10007 0"] + dump(wired) + ["10007 <-> 1, 0"] * 2 +
                    ["1 <-> 20007, 0"] * 2, live="20007-1")
        img = self.app.wait_for_pixel(*LAMP_BODY, BLACK)
        self.assertEqual(img.count(LIVE_WIRE, 306, 220, 326, 240), 0)
        self.assertGreater(img.count(BLACK, 306, 220, 326, 240), 10)
        self.clicks([(400, 46)], ["GRMILICA"])  # frames went by without a trace line

    def test_gate_placed_by_key_is_dragged_and_wired_at_its_new_place(self):
        app = self.app
        app.move(900, 400)
        app.press_key("a")  # a new AND gate, id 9, centred on the pointer
        img = app.wait_for_pixel(836, 384, NODE)
        for corner in ((828, 376), (828, 408), (956, 392)):
            assert_pin(self, img, corner)
        app.drag(900, 400, 1000, 450)
        img = app.wait_for_pixel(936, 434, NODE)
        for corner in ((928, 426), (928, 458), (1056, 442)):
            assert_pin(self, img, corner)
        self.assertEqual(img.pixel(836, 384), CANVAS)
        self.clicks([(936, 434)], ["GRMILICA"])
        app.wait_for_pixel(936, 434, SELECTED)
        self.clicks([BUTTON_OUT], ["BAKINA SENDVICARA", "uso 0", "uso 2", "uso 3", "10007 0"] +
                    dump({9: [10007], 10007: [9]}, gate_slots=10) + ["10007 <-> 9, 0"])
        app.wait_for_pixel(936, 434, NODE)

    def test_work_mode_off_evaluates_a_gate_only_once_both_inputs_arrived(self):
        app = self.app
        app.move(1200, 200)
        app.press_key("l")  # a new lamp, id 20008, at (1168, 168)
        app.wait_for_pixel(1168, 200, NODE)
        released = app.screenshot().pixel(*BUTTON_BODY)
        lamps = (20007, 20008)
        self.clicks([NXOR_A, BUTTON_OUT], ["GRMILICA", "BAKINA SENDVICARA", "uso 0", "uso 2",
                                           "uso 3", "10007 0"] +
                    dump({7: [10007], 10007: [7]}, lamps=lamps) + ["10007 <-> 7, 0"])
        wired = {7: [10007, 20008], 10007: [7], 20008: [7]}
        # The NXOR sees only input A, so it outputs not A.
        self.clicks([(1168, 200), NXOR_OUT], ["JEDNA PALACINKARINA", "RESILICA", "uso 0", "uso 2",
                                              "10007 0"] + dump(wired, lamps=lamps) +
                    ["10007 <-> 7, 0", "7 <-> 20008, 1"])
        app.wait_for_pixel(1200, 200, LIT)
        self.clicks([BUTTON_BODY], ["1", "10007 1"] + dump(wired, lamps=lamps) +
                    ["10007 <-> 7, 1", "7 <-> 20008, 0"], live="20008-7")
        app.wait_for_pixel(1200, 200, BLACK)
        app.press_key("q")
        # Input B never arrives, so the gate is no longer evaluated: the lamp
        # keeps its value although the button goes off.
        self.clicks([BUTTON_BODY], ["0", "10007 0"] + dump(wired, lamps=lamps) +
                    ["10007 <-> 7, 0"])
        img = app.wait_for_pixel(*BUTTON_BODY, released)
        self.assertEqual(img.pixel(1200, 200), BLACK)
        self.clicks([(400, 46)], ["GRMILICA"])  # later frames do not change it either
        self.assertEqual(app.screenshot().pixel(1200, 200), BLACK)
        # Back to evaluating on every arrival: the lamp follows again, untraced.
        app.press_key("q")
        app.wait_for_pixel(1200, 200, LIT)
        app.wait_for_line("20008-7", start=self.seen)
        self.assertEqual(set(app.lines()[self.seen:]), {"20008-7"})


if __name__ == "__main__":
    unittest.main()
