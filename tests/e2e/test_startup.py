"""Start-up and shutdown of the real program, also where its surroundings let it down."""

import os
import random
import re
import struct
import time

import pytest
from test_install import BUILD, run
from velkora_program import CANVAS, REPO, STARTUP_LINES
from pyvirtualdisplay import Display

IMAGES = ["AND", "NAND", "OR", "NOR", "XOR", "NXOR", "NOT", "ButtonPressed", "ButtonReleased"]


def write_broken_images(folder):
    header = b"BM" + struct.pack("<IHHIIiiHHIIiiII", 24630, 0, 0, 54, 40, 128, 64, 1, 24, 0,
                                 24576, 0, 0, 0, 0)  # 128 x 64 x 24 bits, then no pixels
    huge = header[:18] + struct.pack("<ii", 8000, 8000) + header[26:]
    noise = random.Random(7).randbytes(4000)
    (folder / "img").mkdir()
    for i, name in enumerate(IMAGES[:-1]):  # noise, cut short, empty, too large, bad header
        contents = [noise, header + noise, b"", huge, b"BM" + noise[:200], header][i % 6]
        (folder / "img" / (name + ".bmp")).write_bytes(contents)
    (folder / "img" / (IMAGES[-1] + ".bmp")).mkdir()  # a directory, not a file


# "installed": the launcher, installed under a temporary root (a tree that is not where its
# prefix says) and run from elsewhere, finds the images; its output, signals and exit status
# are the program's.
@pytest.mark.parametrize("images", ["present", "missing", "broken", "installed"])
def test_lists_the_registry_draws_what_images_it_has_and_ends_on_close(program, tmp_path, images):
    if images == "broken":
        write_broken_images(tmp_path)
    if images == "installed":
        run("cmake", "--install", BUILD, "--prefix", "/usr", env=dict(os.environ, DESTDIR=tmp_path))
    app = program(cwd=REPO if images == "present" else tmp_path,
                  binary=tmp_path / "usr/bin/velkora" if images == "installed" else None).show()
    img = app.screenshot()
    bodies = [img.getpixel(body) for body in ((120, 62), (460, 62), (260, 52), (620, 620))]
    assert img.size == (1600, 900)
    assert CANVAS not in bodies if images in ["present", "installed"] else bodies == [CANVAS] * 4
    time.sleep(0.5)  # an idle circuit prints nothing, frame after frame
    assert app.lines == STARTUP_LINES
    app.click(620, 620)  # and the circuit works
    app.wait_line("1", len(STARTUP_LINES))
    start = time.monotonic()
    app.stop()
    assert 0.7 < time.monotonic() - start < 5  # the window closes, then a pause of 800 ms


@pytest.mark.parametrize("display", [None, ":31999"])
def test_without_a_display_says_so_and_ends(program, display):
    # Left to choose, SDL falls back to a driver that draws nowhere.
    app = program(env={"DISPLAY": display, "SDL_VIDEODRIVER": None, "WAYLAND_DISPLAY": None})
    assert app.wait_exit(5) != 0
    [line] = app.lines
    assert re.fullmatch("SDL could not be initialized: .+", line)  # with SDL's own reason


def test_on_a_display_without_glx_says_why_no_window_opened_and_ends(program):
    with Display(extra_args=["-extension", "GLX"], manage_global_env=False) as bare:
        app = program(env={"DISPLAY": bare.new_display_var})
        start = time.monotonic()
        assert app.wait_exit(5) != 0 and time.monotonic() - start < 5
    assert app.lines == ["SDL video system is ready to go"]
    assert re.fullmatch("velkora: could not open the window: .+", app.errors[0])  # SDL's reason
