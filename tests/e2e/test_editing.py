"""Building and running a circuit in the real window as a user does, with the exact trace."""

import os
import time

import pytest
from velkora_program import BLACK, CANVAS, LIT, LIVE_WIRE

AND_A, AND_B, AND_OUT = (60, 46), (60, 78), (184, 58)  # (184, 58) misses the OR gate's pin
BUTTON_OUT, BUTTON_BODY, LAMP_IN, LAMP_BODY = (664, 632), (620, 620), (700, 732), (730, 730)
ADD = ["uso 0", "uso 2"]


def dump(wired):
    """The graph dump: every gate slot, the button and the lamp with their neighbours."""
    return ["%d: %s" % (i, "".join("%d " % n for n in wired.get(i, ())))
            for i in [*range(8), 10007, 20007]]


def resident_kib(app):
    return int(open("/proc/%d/statm" % app.proc.pid).read().split()[1]) * 4  # 4 KiB pages


def blue(img, box):
    return dict((c, n) for n, c in img.crop(box).getcolors(box[2] * box[3])).get(LIVE_WIRE, 0)


# Without an OpenGL 4.1 core context: Mesa offers 3.3 at most, and the 2D renderer is the
# software one, drawing straight into the window (SDL's OpenGL one would ask for its own).
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
    assert blue(img, (306, 220, 326, 240)) == 0 and img.getpixel((780, 730)) == CANVAS  # lamp shows
    app.clicks([AND_A], ["GRMILICA"])
    assert app.counted == live  # and not once since
