"""The real program with a key held down, and with its gate id space full."""

import time

from conftest import STARTUP_LINES
from Xlib import X, XK

AND_A, AND_B, BUTTON_BODY, PARK = (60, 46), (60, 78), (620, 620), (900, 400)  # keys act at PARK


def dumped_ids(app):
    """The ids a graph dump (T) lists; the line end of the next pin marker flushes it."""
    start = len(app.lines)
    app.key("t")
    app.click(*AND_A)
    app.click(*AND_B)  # prints its marker whichever input was selected before
    dumped = app.lines[start:app.wait_line("TEBRASTI", start)]
    return [int(line.split(":")[0]) for line in dumped if ": " in line]


def test_a_held_key_places_one_gate_per_auto_repeat(program):
    app = program().show()
    app.move(*PARK)
    held = time.monotonic()
    app.keys(["a"], settle=3)  # the X server repeats after 200 ms, every 33 ms
    held = time.monotonic() - held
    app.keys(["a"], down=False)
    placed = sum(id < 10007 for id in dumped_ids(app)) // 2 - 4
    assert 20 < placed <= 2 + held * 1000 / 33


def test_the_gate_id_space_fills_to_its_last_id_and_the_program_goes_on(program):
    # Thousands of stacked gates: the software renderer draws them several times faster.
    app = program(env={"SDL_RENDER_DRIVER": "software"}).show()
    app.settle = 1
    app.x.change_keyboard_control(auto_repeat_mode=X.AutoRepeatModeOff)
    try:
        app.move(*PARK)
        app.keys(["a"])  # while A is held, every key-down places a gate
        f5 = app.x.keysym_to_keycode(XK.string_to_keysym("F5"))
        for _ in range(5050):
            app.send(X.KeyPress, f5, settle=0)
            app.send(X.KeyRelease, f5, settle=0)
        # A key-down reads the keys held when it is handled: each marker shows that
        # every event before it was handled.
        app.click(*AND_A)
        app.wait_line("GRMILICA", len(STARTUP_LINES), timeout=120)
        app.keys(["l"])  # A's gate is refused; L's lamp is still placed
        app.click(*AND_B)
        app.wait_line("TEBRASTI", len(STARTUP_LINES))
        app.keys(["l", "a"], down=False)
    finally:
        app.x.change_keyboard_control(auto_repeat_mode=X.AutoRepeatModeDefault)
    assert dumped_ids(app) == [*range(10006), 10007, 20007, 20008]  # gate ids up to 10005
    start = len(app.lines)
    app.click(*BUTTON_BODY)
    app.wait_line("1", start)
