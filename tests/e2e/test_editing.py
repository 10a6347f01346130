"""Building and running circuits in the real window as a user does, with the exact trace."""

import os
import time

import pytest
from conftest import BLACK, LIT, LIVE_WIRE, NODE

AND_A, AND_B, AND_OUT = (60, 46), (60, 78), (184, 58)  # (184, 58) misses the OR gate's pin
BUTTON_OUT, BUTTON_BODY, LAMP_IN, LAMP_BODY = (664, 632), (620, 620), (700, 732), (730, 730)
ADD = ["uso 0", "uso 2"]


def dump(wired, slots=8):
    """The graph dump: every gate slot, the button and the lamp with their neighbours."""
    return ["%d: %s" % (i, "".join("%d " % n for n in wired.get(i, ())))
            for i in [*range(slots), 10007, 20007]]


def resident_kib(app):
    return int(open("/proc/%d/statm" % app.proc.pid).read().split()[1]) * 4  # 4 KiB pages


def blue(img, box):
    return dict((c, n) for n, c in img.crop(box).getcolors(box[2] * box[3])).get(LIVE_WIRE, 0)


# SDL's OpenGL renderer would ask for a compatibility context of its own, so without an
# OpenGL 4.1 core context the 2D renderer is the software one, drawing straight into the
# window, and Mesa offers OpenGL 3.3 at most.
NO_GL41 = {"SDL_RENDER_DRIVER": "software", "SDL_FRAMEBUFFER_ACCELERATION": "0",
           "MESA_GL_VERSION_OVERRIDE": "3.3"}


@pytest.mark.parametrize("env", [{}, NO_GL41], ids=["opengl", "without_opengl_41"])
def test_a_button_drives_a_lamp_through_a_gate_and_it_runs_on(program, env):
    # AddressSanitizer holds freed blocks back for a while, which would read as growth.
    asan = ":".join(filter(None, [os.environ.get("ASAN_OPTIONS"), "quarantine_size_mb=0"]))
    app = program(env=dict(env, ASAN_OPTIONS=asan), count_only="20007-1").show()
    released = app.pixel(*BUTTON_BODY)
    app.clicks([AND_A, BUTTON_OUT], ["GRMILICA", "BAKINA SENDVICARA", *ADD, "uso 3", "10007 0",
                                     *dump({1: [10007], 10007: [1]}), "10007 <-> 1, 0"])
    app.clicks([AND_B, BUTTON_OUT], ["TEBRASTI", "BAKINA SENDVICARA", *ADD, "uso 3", "10007 0",
                                     *dump({1: [10007] * 2, 10007: [1, 1]}),
                                     *["10007 <-> 1, 0"] * 2])
    wired = dump({1: [10007, 10007, 20007], 10007: [1, 1], 20007: [1]})
    app.clicks([AND_OUT, LAMP_IN], ["RESILICA", "JEDNA PALACINKARINA", *ADD, "10007 0", *wired,
                                    *["10007 <-> 1, 0"] * 2, *["1 <-> 20007, 0"] * 2])
    # On: the gate is evaluated as each input arrives, 0 then 1; the lamp ends lit.
    app.clicks([BUTTON_BODY], ["1", "10007 1", *wired, *["10007 <-> 1, 1"] * 2,
                               "1 <-> 20007, 0", "1 <-> 20007, 1"])
    img = app.wait_pixel(*LAMP_BODY, LIT)
    assert blue(img, (306, 220, 326, 240)) > 10 and blue(img, (357, 334, 367, 344)) > 5
    assert img.getpixel(BUTTON_BODY) != released
    # Live for twenty seconds: the gate-to-lamp wire is traced every frame, memory stays.
    time.sleep(1)
    first, frames = resident_kib(app), app.counted
    time.sleep(20)
    assert resident_kib(app) <= first + 5 * 1024 and app.counted - frames > 100
    app.clicks([BUTTON_BODY], ["0", "10007 0", *wired, *["10007 <-> 1, 0"] * 2,
                               *["1 <-> 20007, 0"] * 2])
    live = app.counted
    img = app.wait_pixel(*LAMP_BODY, BLACK)
    assert blue(img, (306, 220, 326, 240)) == 0
    app.clicks([AND_A], ["GRMILICA"])
    assert app.counted == live  # and not once since


def test_a_placed_gate_is_dragged_wired_and_waits_for_both_inputs_after_q(program):
    app = program(count_only="20007-9").show()
    app.move(900, 400)
    app.keys(["Shift_L", "x"])  # NXOR 9, centred on the pointer
    app.keys(["x", "Shift_L"], down=False)
    app.drag((900, 400), (1000, 450))
    app.wait_pixel(936, 434, NODE)  # its input A, moved along
    for point in ((936, 434), BUTTON_OUT, (1064, 450), LAMP_IN):
        app.click(*point)
    app.wait_pixel(*LAMP_BODY, LIT)  # only input A is wired: the NXOR gives not A
    app.key("q")  # a gate now waits for both inputs: it is not evaluated, the lamp stays lit
    app.clicks([BUTTON_BODY], ["1", "10007 1", *dump({9: [10007, 20007], 10007: [9], 20007: [9]},
                                                     slots=10), "10007 <-> 9, 1"])
