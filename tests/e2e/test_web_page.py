"""The page is the desktop program in a browser: one session played on both gives the same
trace and shows on the canvas."""

import itertools
import os
import re

from velkora_program import CANVAS, LIT, LIVE_WIRE, wait_until

# Every kind placed by keys at the pointer: gates 9 to 19, buttons 10008 and 10009, lamp 20008.
PLACE = [((1000, 100), ["a"]), ((1000, 250), ["Shift_L", "a"]), ((1000, 400), ["o"]),
         ((1000, 550), ["Shift_L", "o"]), ((1300, 100), ["x"]), ((1300, 250), ["Shift_L", "x"]),
         ((800, 100), ["i"]), ((800, 250), ["b"]), ((1300, 550), ["l"])]
BUTTON_1, BUTTON_2, XOR_A, SELECTED = (800, 100), (800, 250), (1236, 84), (44, 209, 118)
# After a drag of the NOR gate, clicks on pins (wires: five made, one made and removed again)
# and on button bodies, and key taps: the evaluation mode switched there and back, the graph
# dumped, and the last pin left selected.
STEPS = [(832, 100), (936, 84), (832, 250), (936, 116), (1064, 100), XOR_A, (832, 250),
         (1036, 684), (1164, 700), (1236, 116), (1364, 100), (1268, 550), (832, 100), (936, 234),
         (936, 234), (832, 100), BUTTON_1, BUTTON_2, "q", BUTTON_1, "q", BUTTON_1, "t", XOR_A]
LIVE_WIRE_LINE = re.compile(r"\d+-\d+$")
DESKTOP = []  # the desktop's trace (as runs), played once for every browser


def play(ui):
    for where, keys in PLACE:
        ui.move(*where)
        ui.keys(keys)
        ui.keys(keys[::-1], down=False)
    ui.move(1000, 550)
    ui.button(True)
    ui.move(1100, 700)
    ui.button(False)
    for step in STEPS:
        if isinstance(step, str):
            ui.keys([step])
            ui.keys([step], down=False)
        else:
            ui.click(*step)


def as_runs(lines):
    """Each run of live-wire lines, printed every frame, as the lines in it, once each."""
    runs = []
    for live, group in itertools.groupby(lines, lambda line: bool(LIVE_WIRE_LINE.match(line))):
        runs += [tuple(dict.fromkeys(group))] if live else group
    return runs


def test_a_session_on_the_page_traces_as_on_the_desktop_and_shows_on_the_canvas(program, page):
    if not DESKTOP:
        desktop = program()
        play(desktop.show())
        desktop.stop()
        DESKTOP.append(as_runs(desktop.lines))
    assert {"19: ", "10009: 9 15 ", "20008: 17 "} <= set(DESKTOP[0])  # all placed and wired
    web = page().show()
    play(web)
    wait_until(lambda: as_runs(web.lines()) == DESKTOP[0], 30, "the desktop's trace")
    img = web.canvas()
    web.screenshot("%s/web-page-%s.png" % (os.environ.get("VELKORA_E2E_SHOTS", "."), web.browser))
    # The scaled canvas puts a part within two pixels of the desktop's place: the wire from
    # gate 9 to gate 17 is looked for in a column.
    assert [img.getpixel(p) for p in [(1500, 850), (1300, 550), XOR_A]] == [CANVAS, LIT, SELECTED]
    assert LIVE_WIRE in [img.getpixel((1150, y)) for y in range(86, 99)]
    assert not web.console()  # the trace went to the panel, not the console
    web.evaluate("() => { for (let i = 0; i < 25000; i++) Module.print(String(i)); }")
    web.frames()
    lines = web.lines()
    end = lines.index("24999") + 1  # live-wire lines follow
    assert len(lines) == 10000 and lines[:end] == list(map(str, range(25000 - end, 25000)))
