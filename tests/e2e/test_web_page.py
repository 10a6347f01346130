"""The page is the desktop program in a browser, for every visitor: one session played on the
desktop, and on the page by keys, by the palette and by touch, traces and draws alike; keys are
released as the visitor means them; a failure is said; it starts without the network."""

import itertools
import os
import re
import shutil

import pytest
from test_editing import AND_A, AND_OUT, BUTTON_BODY, BUTTON_OUT, LAMP_IN
from velkora_page import SITE
from velkora_program import CANVAS, LIT, LIVE_WIRE, wait_until

SHOTS = os.environ.get("VELKORA_E2E_SHOTS", ".")
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
SELECTED = (44, 209, 118)
LIVE_WIRE_LINE = re.compile(r"\d+-\d+$")
DESKTOP = []  # the desktop's trace, played once for every browser
FOCUSED = "document.activeElement.id || document.activeElement.tagName"
MESSAGE = "(m => m.hidden ? '' : m.innerText)(document.getElementById('message'))"
CENTRE = "(s => (b => [b.x + b.width / 2, b.y + b.height / 2])(document.querySelector(s)" \
         ".getBoundingClientRect()))"


def codes(names):
    return " ".join("ShiftLeft" if name == "Shift_L" else "Key" + name.upper() for name in names)


def chord(web, codes):
    """Presses keys by their places on the keyboard, in order, and releases them backwards."""
    for code, down in [(c, True) for c in codes] + [(c, False) for c in codes[::-1]]:
        web.key(code, down)
        web.frames()


def click_on(web, selector):
    """Clicks an element of the page, then lets a palette control's keys play out."""
    web.mouse("move", *web.evaluate(CENTRE, selector))
    web.mouse("down")
    web.mouse("up")
    for _ in range(3):
        web.frames()


class Keys:
    """A visitor with a mouse and a keyboard, on the desktop or on the page."""
    def __init__(self, ui):
        self.ui = ui

    def click(self, x, y):
        self.ui.click(x, y)

    def act(self, names):
        self.ui.keys(names)
        self.ui.keys(names[::-1], down=False)

    def drag(self, start, end):
        self.ui.move(*start)
        self.ui.button(True)
        self.ui.move(*end)
        self.ui.button(False)


class Palette(Keys):
    def act(self, names):
        click_on(self.ui, '#palette [data-keys="%s"]' % codes(names))


class Touch(Palette):
    """A finger: taps and a drag on the canvas, taps on the controls."""
    def at(self, x, y):
        return self.ui.left + x * self.ui.scale, self.ui.top + y * self.ui.scale

    def tap(self, x, y):
        for action in ["touchStart", "touchEnd"]:
            self.ui.touch(action, x, y)
            self.ui.frames()

    def click(self, x, y):
        self.tap(*self.at(x, y))

    def drag(self, start, end):
        self.ui.touch("touchStart", *self.at(*start))
        for i in range(1, 6):
            self.ui.frames()
            self.ui.touch("touchMove", *self.at(*(a + (b - a) * i / 5 for a, b in zip(start, end))))
        self.ui.touch("touchEnd")
        self.ui.frames()

    def press(self, selector):
        self.tap(*self.ui.evaluate(CENTRE, selector))
        for _ in range(2):
            self.ui.frames()

    def act(self, names):
        self.press('#palette [data-keys="%s"]' % codes(names))


def session(hand):
    for names, at in PLACE:
        hand.click(*at)
        hand.act(names)
    for at in WIRING:
        hand.click(*at)
    hand.drag((1100, 150), (1100, 700))
    hand.act(["t"])


def as_runs(lines):
    """Each run of live-wire lines, printed every frame, as the lines in it, once each."""
    runs = []
    for live, group in itertools.groupby(lines, lambda line: bool(LIVE_WIRE_LINE.match(line))):
        runs += [tuple(dict.fromkeys(group))] if live else group
    return runs


def played(web, hand, shot=None):
    """What a session leaves on the page, once done: the trace and the canvas. Each page is
    closed before the next starts, since every open one draws all the time."""
    session(hand(web.show()))
    web.frames()  # each hand waits for what it gave to be handled: the trace is whole
    if shot:
        web.screenshot(os.path.join(SHOTS, "web-page-%s-%s.png" % (shot, web.browser)))
    left = as_runs(web.lines()), web.canvas()
    assert not web.console()  # the trace went to the panel, not the console
    web.close()
    return left


def test_one_session_traces_alike_on_the_desktop_and_on_the_page_by_keys_palette_and_touch(
        program, page):
    if not DESKTOP:
        desktop = program()
        session(Keys(desktop.show()))
        desktop.stop()
        DESKTOP.append(as_runs(desktop.lines))
    assert {"19: ", "10007: 1 3 3 ", "20008: 3 ", ("20008-3",)} <= set(DESKTOP[0])  # as meant
    tablet = {"width": 1024, "height": 768}
    trace, img = played(page(viewport=tablet), Keys)
    assert trace == DESKTOP[0]
    # Where the scaled canvas puts a pixel of the desktop's may be a pixel off: the wire from
    # the NAND to the lamp is looked for in a column.
    assert [img.getpixel(p) for p in [(1500, 850), (1100, 450), XOR_A]] == [CANVAS, LIT, SELECTED]
    assert LIVE_WIRE in [img.getpixel((800, y)) for y in range(240, 275)]
    for hand, shot in [(Palette, None), (Touch, "1024x768")]:
        again, drawn = played(page(viewport=dict(tablet, hasTouch=hand is Touch)), hand, shot)
        assert again == trace and drawn.tobytes() == img.tobytes()


def gate_at(img, x, y):
    return img.crop((x - 64, y - 32, x + 64, y + 32)).tobytes()


def same_gate(img, at, like):
    """Whether the gate at `at` looks like the one at `like`: the page's scale may place either
    a pixel off where the pointer was."""
    return any(gate_at(img, at[0] + dx, at[1] + dy) == gate_at(img, *like)
               for dx in (-1, 0, 1) for dy in (-1, 0, 1))


def test_keys_are_released_off_the_canvas_and_the_browsers_own_keys_stay_the_browsers(page):
    web = page(viewport={"width": 1366, "height": 768}).show()
    web.screenshot(os.path.join(SHOTS, "web-page-1366x768-%s.png" % web.browser))
    web.move(1000, 150)
    chord(web, ["KeyA"])  # an AND to compare with
    web.move(1000, 400)
    web.key("ShiftLeft", True)
    click_on(web, "#trace")
    web.key("ShiftLeft", False)  # where the canvas does not hear it
    web.click(1000, 400)
    chord(web, ["KeyA"])
    assert same_gate(web.canvas(), (1000, 400), like=(1000, 150))
    chord(web, ["Tab"])
    assert web.evaluate(FOCUSED) != "canvas"
    chord(web, ["ShiftLeft", "Tab"])
    assert web.evaluate(FOCUSED) == "canvas"
    web.move(1200, 600)
    chord(web, ["ControlLeft", "KeyL"])  # the browser's: no lamp
    chord(web, ["KeyT"])
    wait_until(lambda: "20007: " in web.lines(), 10, "the graph dump")
    assert "20008: " not in web.lines()
    web.evaluate("() => { for (let i = 0; i < 25000; i++) Module.print(String(i)); }")
    web.frames()
    assert web.lines() == list(map(str, range(15000, 25000)))  # the panel keeps the latest


def test_a_phone_zooms_in_until_a_pin_is_fingertip_sized_and_back_out(page):
    phone = Touch(page(viewport={"width": 390, "height": 844, "hasTouch": True, "isMobile": True,
                                 "deviceScaleFactor": 2}).show())
    shot = os.path.join(SHOTS, "web-page-390x844%s-" + phone.ui.browser + ".png")
    phone.ui.screenshot(shot % "")
    phone.click(620, 620)  # zooms in about the button
    for _ in range(3):
        phone.press("#zoom-in")
    assert phone.ui.evaluate("document.getElementById('canvas').clientWidth * 16 / 1600") >= 24
    phone.ui.screenshot(shot % "-zoomed")
    phone.press("#zoom-fit")
    assert phone.ui.evaluate("(c => c.clientWidth <= c.parentNode.clientWidth)"
                             "(document.getElementById('canvas'))")


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
    wait_until(lambda: all(part in web.evaluate(MESSAGE) for part in says), 30, "the message")
    assert web.evaluate("document.getElementById('status').textContent") == "Not running."


def rebuilt(site, into):
    """The site as the next build would put it up: every name of the build's folder changed."""
    build = next(p.name for p in site.iterdir() if p.is_dir())
    shutil.copytree(site, into)
    (into / build).rename(into / "next-build")
    for name in ["index.html", "sw.js", "manifest.webmanifest"]:
        (into / name).write_text((site / name).read_text().replace(build, "next-build"))
    return into


@pytest.mark.parametrize("page", ["chromium"], indirect=True)  # the network, through CDP
def test_the_page_installs_starts_offline_and_a_new_build_replaces_the_old(page, tmp_path):
    site = shutil.copytree(SITE, tmp_path / "site")
    web = page(site).show()
    assert web.send("Page.getInstallabilityErrors")["installabilityErrors"] == []
    web.evaluate("navigator.serviceWorker.ready")
    offline = {"latency": 0, "downloadThroughput": -1, "uploadThroughput": -1}
    web.send("Network.emulateNetworkConditions", dict(offline, offline=True))
    web.serve(None)  # the worker's own requests are not the page's: nothing answers them either
    web.reload()
    web.show()
    web.send("Network.emulateNetworkConditions", dict(offline, offline=False))
    web.serve(rebuilt(site, tmp_path / "next"))
    web.reload()
    web.show()
    wait_until(lambda: web.evaluate("caches.keys()") == ["velkora-next-build"], 30, "one build")
    loaded = web.evaluate("performance.getEntriesByType('resource').map(e => e.name)")
    program = [url for url in loaded if url.endswith((".js", ".wasm", ".data"))]
    assert program and all("/next-build/" in url for url in program)
