"""The page for every visitor: keys as the visitor means them, a control for every key, touch
as the mouse, failures said on the page, and a start without the network."""

import os
import shutil

import pytest
from test_editing import AND_A, AND_OUT, BUTTON_BODY, BUTTON_OUT, LAMP_IN
from velkora_page import SITE
from velkora_program import wait_until

SHOTS = os.environ.get("VELKORA_E2E_SHOTS", ".")
# Each palette control by the keys it stands for, and where the visitor pressed before it.
PALETTE = [("KeyA", (900, 150)), ("ShiftLeft KeyA", (1100, 150)), ("KeyO", (1300, 150)),
           ("ShiftLeft KeyO", (900, 300)), ("KeyX", (1100, 300)), ("ShiftLeft KeyX", (1300, 300)),
           ("KeyI", (900, 450)), ("KeyL", (1100, 450)), ("KeyQ", (1300, 450)),
           ("KeyT", (1300, 600))]
# Wired so that the evaluation mode shows: the button into the AND's input A, the AND to the
# lamp; in the both-inputs mode the AND waits for a B that never comes.
WIRING = [BUTTON_OUT, AND_A, AND_OUT, LAMP_IN, BUTTON_BODY]
MESSAGE = "(m => m.hidden ? '' : m.innerText)(document.getElementById('message'))"
CENTRE = "(s => (b => [b.x + b.width / 2, b.y + b.height / 2])(document.querySelector(s)" \
         ".getBoundingClientRect()))"
CONTROL = '#palette [data-keys="%s"]'


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


def gate_at(img, x, y):
    return img.crop((x - 64, y - 32, x + 64, y + 32)).tobytes()


def same_gate(img, at, like):
    """Whether the gate at `at` looks like the one at `like`: the page's scale may place either
    a pixel off where the pointer was."""
    return any(gate_at(img, at[0] + dx, at[1] + dy) == gate_at(img, *like)
               for dx in (-1, 0, 1) for dy in (-1, 0, 1))


def focused(web):
    return web.evaluate("document.activeElement.id || document.activeElement.tagName")


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
    assert focused(web) != "canvas"
    chord(web, ["ShiftLeft", "Tab"])
    assert focused(web) == "canvas"
    web.move(1200, 600)
    chord(web, ["ControlLeft", "KeyL"])  # the browser's: no lamp
    chord(web, ["KeyT"])
    wait_until(lambda: "20007: " in web.lines(), 10, "the graph dump")
    assert "20008: " not in web.lines()


class Keys:
    """A visitor with a mouse and a keyboard: parts placed by keys at the pointer."""
    def __init__(self, web):
        self.web = web

    def click(self, x, y):
        self.web.click(x, y)

    def act(self, codes):
        chord(self.web, codes.split())

    def drag(self, start, end):
        self.web.move(*start)
        self.web.button(True)
        self.web.move(*end)
        self.web.button(False)


class Palette(Keys):
    def act(self, codes):
        click_on(self.web, CONTROL % codes)


class Touch(Palette):
    """A finger: taps and a drag on the canvas, taps on the controls."""
    def at(self, x, y):
        return self.web.left + x * self.web.scale, self.web.top + y * self.web.scale

    def click(self, x, y, page=False):
        self.web.touch("touchStart", *((x, y) if page else self.at(x, y)))
        self.web.frames()
        self.web.touch("touchEnd")
        self.web.frames()

    def drag(self, start, end, steps=5):
        self.web.touch("touchStart", *self.at(*start))
        for i in range(1, steps + 1):
            self.web.frames()
            self.web.touch("touchMove", *self.at(*(a + (b - a) * i / steps for a, b in zip(start, end))))
        self.web.touch("touchEnd")
        self.web.frames()

    def act(self, codes, control=CONTROL):
        self.click(*self.web.evaluate(CENTRE, control % codes), page=True)
        for _ in range(2):
            self.web.frames()


def session(hand):
    """Every kind placed and every other key, wires, a button switched and a part dragged."""
    for codes, at in PALETTE:
        hand.click(*at)
        hand.act(codes)
    for at in WIRING:
        hand.click(*at)
    hand.drag((1100, 150), (1100, 700))
    hand.act("KeyT")


def played(web, hand, shot=None):
    """What a session leaves, once done: the trace and the canvas. Each page is closed before
    the next starts, since every open one draws all the time."""
    session(hand(web.show()))
    web.frames()  # each hand waits for what it gave to be handled: the trace is whole
    if shot:
        web.screenshot(os.path.join(SHOTS, "web-page-%s-%s.png" % (shot, web.browser)))
    left = web.lines(), web.canvas().tobytes()
    web.close()
    return left


def test_the_palette_and_touch_act_as_the_keys_and_the_mouse(page):
    tablet = {"width": 1024, "height": 768}
    by_keys = played(page(viewport=tablet), Keys)
    assert played(page(viewport=tablet), Palette) == by_keys
    assert played(page(viewport=dict(tablet, hasTouch=True)), Touch, "1024x768") == by_keys


def test_a_phone_zooms_in_until_a_pin_is_fingertip_sized_and_back_out(page):
    phone = Touch(page(viewport={"width": 390, "height": 844, "hasTouch": True, "isMobile": True,
                                 "deviceScaleFactor": 2}).show())
    phone.web.screenshot(os.path.join(SHOTS, "web-page-390x844-%s.png" % phone.web.browser))
    phone.click(620, 620)  # zooms in about the button
    for _ in range(3):
        phone.act("zoom-in", "#%s")
    assert phone.web.evaluate("document.getElementById('canvas').clientWidth * 16 / 1600") >= 24
    phone.web.screenshot(os.path.join(SHOTS, "web-page-390x844-zoomed-%s.png" % phone.web.browser))
    phone.act("zoom-fit", "#%s")
    assert phone.web.evaluate("(c => c.clientWidth <= c.parentNode.clientWidth)"
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
