"""The page is the desktop program in a browser, for every visitor: one session played on the
desktop, and on the page by keys, by the palette and by touch, traces and draws alike; keys are
released as the visitor means them; a failure is said; it starts without the network."""

import itertools
import os
import re
import shutil

import pytest
from test_editing import AND_A, AND_OUT, BUTTON_BODY, BUTTON_OUT, LAMP_IN
from velkora_page import SITE, code
from velkora_program import CANVAS, LIT, LIVE_WIRE, wait_until

# Every key the program knows, each where the visitor pressed before it: gates 9 to 19, button
# 10008, lamp 20008 (its input at (1068, 450)), the both-inputs mode, the graph dump.
PLACE = [(["a"], (900, 150)), (["Shift_L", "a"], (1100, 150)), (["o"], (1300, 150)),
         (["Shift_L", "o"], (900, 300)), (["x"], (1100, 300)), (["Shift_L", "x"], (1300, 300)),
         (["i"], (900, 450)), (["l"], (1100, 450)), (["q"], (1300, 450)), (["t"], (1300, 600))]
NAND_A, NAND_B, NAND_OUT, XOR_A, XOR_B = (400, 46), (400, 78), (524, 58), (1036, 284), (1036, 316)
# Wires: the button into the AND's input A (which then waits for a B that never comes), the AND
# to the lamp; the button into both NAND inputs, whose 1 lights the new lamp; one made and taken
# off again. The button is switched on and off, and an input pin is left selected.
WIRING = [BUTTON_OUT, AND_A, AND_OUT, LAMP_IN, BUTTON_OUT, NAND_A, BUTTON_OUT, NAND_B, NAND_OUT,
          (1068, 450), BUTTON_OUT, XOR_B, BUTTON_OUT, XOR_B, BUTTON_BODY, BUTTON_BODY, XOR_A]
LIVE_WIRE_LINE = re.compile(r"\d+-\d+$")
DESKTOP = []  # the desktop's trace, played once for every browser


def shot(web, name):
    web.screenshot(os.path.join(os.environ.get("VELKORA_E2E_SHOTS", "."),
                                "web-page-%s-%s.png" % (name, web.browser)))


def control(names):
    return '#palette [data-keys="%s"]' % " ".join(map(code, names))


def by_keys(ui, names):
    ui.keys(names)
    ui.keys(names[::-1], down=False)


def by_palette(ui, names):
    """Clicks, or with a finger taps, a control; its keys play out, a frame each."""
    (ui.page.tap if isinstance(ui, Finger) else ui.press)(control(names))
    for _ in range(3):
        ui.frames()


class Finger:
    """Taps and a drag on the canvas, at its pixels."""
    def __init__(self, page):
        self.page, self.frames = page, page.frames

    def click(self, x, y):
        self.page.touch("tap", *self.page.at(x, y))
        self.page.frames()

    def drag(self, start, end):
        """A quick finger: it has moved on before the page gives the press, a frame later."""
        self.page.swipe([self.page.at(*(a + (b - a) * i / 5 for a, b in zip(start, end)))
                         for i in range(6)])
        for _ in range(3):
            self.page.frames()


def session(pointer, act):
    for names, at in PLACE:
        pointer.click(*at)
        act(pointer, names)
    for at in WIRING:
        pointer.click(*at)
    pointer.drag((1100, 150), (1100, 700))
    act(pointer, ["t"])


def as_runs(lines):
    """Each run of live-wire lines, printed every frame, as the lines in it, once each."""
    runs = []
    for live, group in itertools.groupby(lines, lambda line: bool(LIVE_WIRE_LINE.match(line))):
        runs += [tuple(dict.fromkeys(group))] if live else group
    return runs


def played(web, act, trace=None, touch=False):
    """What a session leaves on the page, once its trace is `trace` (keys are handled at once;
    the page plays a control's keys and a finger's moves out a frame each): the trace and the
    canvas. Each page is closed before the next opens, since every open one draws all the time."""
    session(Finger(web.show()) if touch else web.show(), act)
    wait_until(lambda: trace in [None, as_runs(web.lines())], 30, "the trace by keys")
    shot(web, "1024x768-" + ("touch" if touch else act.__name__))
    left = as_runs(web.lines()), web.canvas()
    assert not web.console()  # the trace went to the panel, not the console
    web.close()
    return left


def test_one_session_traces_alike_on_the_desktop_and_on_the_page_by_keys_palette_and_touch(
        program, page):
    if not DESKTOP:
        desktop = program()
        session(desktop.show(), by_keys)
        desktop.stop()
        DESKTOP.append(as_runs(desktop.lines))
    assert {"19: ", "10007: 1 3 3 ", "20008: 3 ", ("20008-3",)} <= set(DESKTOP[0])  # as meant
    tablet = {"width": 1024, "height": 768}
    trace, img = played(page(viewport=tablet), by_keys)
    assert trace == DESKTOP[0]
    # The lamp lit, the selected pin, and the wire from the NAND to the lamp looked for in a
    # column: the scaled canvas may put a pixel of the desktop's a pixel off.
    assert [img.getpixel(p) for p in [(1500, 850), (1100, 450), XOR_A]] == [
        CANVAS, LIT, (44, 209, 118)]
    assert LIVE_WIRE in [img.getpixel((800, y)) for y in range(240, 275)]
    for touch in False, True:
        _, drawn = played(page(viewport=dict(tablet, hasTouch=touch)), by_palette, trace, touch)
        assert drawn.tobytes() == img.tobytes()


def test_keys_are_released_off_the_canvas_and_the_browsers_own_keys_stay_the_browsers(page):
    web = page().show()
    gate = lambda img, y: img.crop((936, y - 32, 1064, y + 32)).tobytes()  # noqa: E731
    web.move(1000, 150)
    by_keys(web, ["a"])  # an AND to compare with
    web.move(1000, 400)
    web.key("ShiftLeft", True)
    web.press("#trace")
    web.key("ShiftLeft", False)  # where the canvas does not hear it
    web.click(1000, 400)
    by_keys(web, ["a"])
    assert gate(web.canvas(), 400) == gate(web.canvas(), 150)
    for keys, focus in [(["Tab"], "SUMMARY"), (["ShiftLeft", "Tab"], "canvas"),
                        (["ControlLeft", "KeyL"], "canvas")]:  # the browser's: no lamp
        for code, down in [(k, True) for k in keys] + [(k, False) for k in keys[::-1]]:
            web.key(code, down)
            web.frames()
        assert web.evaluate("[document.activeElement.id || document.activeElement.tagName,"
                            " document.getElementById('status').textContent]") == [
            focus, "Running."]  # said where the keys go, but not in the status line
    by_keys(web, ["t"])
    wait_until(lambda: "20007: " in web.lines(), 10, "the graph dump")
    assert "20008: " not in web.lines()
    web.evaluate("() => { for (let i = 0; i < 25000; i++) Module.print(String(i)); }")
    web.frames()
    assert web.lines() == list(map(str, range(15000, 25000)))  # the panel keeps the latest


def test_a_phone_zooms_to_fingertip_sized_pins_and_back_and_a_drag_outlasts_a_click_elsewhere(page):
    phone = Finger(page(viewport={"width": 390, "height": 844, "hasTouch": True,
                                  "isMobile": True, "deviceScaleFactor": 2}).show())
    shot(phone.page, "390x844")
    phone.click(620, 620)  # zooms in about the button
    for _ in range(3):
        phone.page.tap("#zoom-in")
    pin = "(c => [c.clientWidth * 16 / 1600, c.parentNode.clientWidth])(document.getElementById"
    assert phone.page.evaluate(pin + "('canvas'))")[0] >= 24
    shot(phone.page, "390x844-zoomed")
    phone.page.tap("#zoom-fit")
    size, room = phone.page.evaluate(pin + "('canvas'))")
    assert size * 100 <= room  # the whole width, 100 pins, shown
    # A finger drags the button up; a mouse clicks a control meanwhile: the drag goes on.
    web = phone.page
    web.touch("touchStart", *web.at(620, 620))
    web.frames()  # the page has given the press
    web.press("#zoom-fit")
    web.touch("touchMove", *web.at(620, 300))
    web.frames()
    web.touch("touchEnd")
    web.frames()
    assert web.canvas().getpixel((632, 312)) != CANVAS


# The program's own canvas gives it no WebGL: it cannot make its renderer, and ends.
NO_RENDERER = """const real = HTMLCanvasElement.prototype.getContext;
HTMLCanvasElement.prototype.getContext = function (...args) {
  return this.id === 'canvas' ? null : real.apply(this, args); };"""


@pytest.mark.parametrize("launch, remove, before, then, says", [
    ({"args": ["--disable-webgl"], "prefs": {"webgl.disabled": True}}, None, None, None,
     ["it draws with WebGL"]),
    ({}, "velkora.wasm", None, None, ["Velkora could not be loaded"]),
    ({}, None, NO_RENDERER, None, ["could not draw in the window"]),
    ({}, None, None, "Module.ctx.getExtension('WEBGL_lose_context').loseContext()",
     ["lost its drawing", "Reload the page"])],
    ids=["no_webgl", "no_program", "ends_at_start", "context_lost"])
def test_a_page_that_cannot_run_says_why_and_that_it_is_not_running(page, tmp_path, launch,
                                                                    remove, before, then, says):
    site = shutil.copytree(SITE, tmp_path / "site")
    if remove:  # from the build's folder
        os.remove(next(site.glob("*/" + remove)))
    web = page(site, **launch)
    if before:
        web.before(before)
        web.reload()
    if then:
        web.show().evaluate(then)
    message = "(m => m.hidden ? '' : m.innerText)(document.getElementById('message'))"
    wait_until(lambda: all(part in web.evaluate(message) for part in says), 30, "the message")
    assert web.evaluate("document.getElementById('status').textContent") == "Not running."


@pytest.mark.parametrize("page", ["chromium"], indirect=True)  # CDP: accessibility, network
def test_screen_readers_are_told_what_is_what_and_the_page_starts_again_offline(page):
    web = page(viewport={"width": 1366, "height": 768}).show()
    roles = {role: (name, described) for role, name, described in web.told()}
    assert roles["application"][0].startswith("Velkora") and "Tab" in roles["application"][1]
    assert roles["log"][0] == "Trace" and "status" in roles
    assert web.send("Page.getInstallabilityErrors")["installabilityErrors"] == []
    web.evaluate("navigator.serviceWorker.ready")
    web.send("Network.emulateNetworkConditions",
             {"offline": True, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})
    web.server.shutdown()  # the worker's own requests are not the page's: nothing answers either
    web.reload()
    shot(web.show(), "1366x768-offline")
