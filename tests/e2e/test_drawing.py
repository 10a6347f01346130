#!/usr/bin/python3
"""What the real window shows for the start-up circuit, and pin highlights."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import App, XServer  # noqa: E402
from screen_checks import BLACK, CANVAS, NODE, SELECTED, assert_pin, centre  # noqa: E402

# Pin corners of the start-up circuit that no later component covers.
AND_IN_A, AND_IN_B = (52, 38), (52, 70)
NAND_PINS = [(392, 38), (392, 70), (520, 54)]
OR_PINS = [(192, 28), (192, 60), (320, 44)]  # its input B lies over the AND's output pin
NXOR_PINS = [(412, 168), (412, 200), (540, 184)]
BUTTON_OUT, LAMP_IN = (656, 624), (692, 724)


def start_app(test):
    """A fresh X server and program for one test, stopped again after it."""
    xs = XServer().__enter__()
    test.addCleanup(xs.__exit__, None, None, None)
    app = App(env=xs.env).__enter__()
    test.addCleanup(app.__exit__, None, None, None)
    app.wait_window()
    app.wait_for_pixel(60, 46, NODE)
    return app


class Drawing(unittest.TestCase):
    def test_startup_circuit_pins_bodies_and_canvas(self):
        img = start_app(self).screenshot()
        for corner in [AND_IN_A, AND_IN_B, BUTTON_OUT, LAMP_IN] + NAND_PINS + OR_PINS + NXOR_PINS:
            assert_pin(self, img, corner)
        # The AND's output pin shows only where the later OR gate does not cover it.
        self.assertEqual(img.pixel(180, 54), BLACK)
        self.assertEqual(img.count(NODE, 181, 55, 191, 60), 10 * 5)
        # Unlit lamp: a black body (its pin covers the left strip).
        self.assertEqual(img.count(BLACK, 708, 700, 764, 764), 56 * 64)
        self.assertNotEqual(img.pixel(765, 732), BLACK)
        # Gate and button images are drawn over their bodies; elsewhere the canvas.
        for body in ((120, 62), (460, 62), (480, 192), (260, 52), (620, 620)):
            self.assertNotEqual(img.pixel(*body), CANVAS, "body at %r" % (body,))
        self.assertEqual(img.count(CANVAS, 800, 300, 1600, 900), 800 * 600)

    def test_selected_pin_is_filled_in_selected_colour_until_clicked_again(self):
        app = start_app(self)
        nand_a, nand_b = NAND_PINS[0], NAND_PINS[1]
        app.click(*centre(nand_b))
        img = app.wait_for_pixel(*centre(nand_b), SELECTED)
        assert_pin(self, img, nand_b, fill=SELECTED)
        assert_pin(self, img, nand_a)
        # Another input pin takes over the destination side.
        app.click(*centre(nand_a))
        img = app.wait_for_pixel(*centre(nand_a), SELECTED)
        assert_pin(self, img, nand_a, fill=SELECTED)
        assert_pin(self, img, nand_b)
        app.click(*centre(nand_a))
        app.wait_for_pixel(*centre(nand_a), NODE)
        # The source side is highlighted the same way.
        app.click(*centre(BUTTON_OUT))
        assert_pin(self, app.wait_for_pixel(664, 632, SELECTED), BUTTON_OUT, fill=SELECTED)
        app.click(*centre(BUTTON_OUT))
        img = app.wait_for_pixel(664, 632, NODE)
        for corner in [BUTTON_OUT] + NAND_PINS:
            assert_pin(self, img, corner)
        # Deselecting prints nothing.
        self.assertEqual(app.lines()[10:], ["TEBRASTI", "GRMILICA", "BAKINA SENDVICARA"])


if __name__ == "__main__":
    unittest.main()
