"""The real program without OpenGL 4.1, with keys held down, and under load."""

import os
import time

from conftest import LIT, STARTUP_LINES
from Xlib import X, XK

AND_A, AND_B, BUTTON_OUT, BUTTON_BODY = (60, 46), (60, 78), (664, 632), (620, 620)
LAMP_IN, LAMP_BODY, PARK = (700, 732), (730, 730), (900, 400)  # keys place at PARK


def dumped_ids(app):
    """The ids a graph dump (T) lists; the line end of the next pin marker flushes it."""
    start = len(app.lines)
    app.key("t")
    app.click(*AND_A)
    app.click(*AND_B)  # prints its marker whichever input was selected before
    dumped = app.lines[start:app.wait_line("TEBRASTI", start)]
    return [int(line.split(":")[0]) for line in dumped if ": " in line]


def test_runs_on_the_2d_renderer_without_an_opengl_41_context(program):
    # SDL's OpenGL renderer would ask for a compatibility context of its own, so the
    # 2D renderer is the software one, drawing straight into the window; Mesa offers 3.3.
    app = program(env={"SDL_RENDER_DRIVER": "software", "SDL_FRAMEBUFFER_ACCELERATION": "0",
                       "MESA_GL_VERSION_OVERRIDE": "3.3"}).show()
    app.click(*LAMP_IN)
    app.click(*BUTTON_OUT)
    app.wait_line("10007 <-> 20007, 0", len(STARTUP_LINES))
    app.click(*BUTTON_BODY)
    app.wait_pixel(*LAMP_BODY, LIT)


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


def test_a_live_circuit_runs_twenty_seconds_without_growing(program):
    # AddressSanitizer holds freed blocks back for a while, which would read as growth.
    asan = ":".join(filter(None, [os.environ.get("ASAN_OPTIONS"), "quarantine_size_mb=0"]))
    app = program(env={"ASAN_OPTIONS": asan}, count_only="20007-3").show()
    for point in ((400, 46), BUTTON_OUT, (528, 62), LAMP_IN):  # NAND 3 between button and lamp
        app.click(*point)
    app.wait_pixel(*LAMP_BODY, LIT)
    time.sleep(1)
    def resident_kib():
        return int(open("/proc/%d/statm" % app.proc.pid).read().split()[1]) * 4  # 4 KiB pages
    first, frames = resident_kib(), app.counted
    time.sleep(20)
    print("resident %d KiB, %d KiB 20 s later; %d frames" % (first, resident_kib(),
                                                             app.counted - frames))
    assert resident_kib() <= first + 5 * 1024 and app.counted - frames > 100
