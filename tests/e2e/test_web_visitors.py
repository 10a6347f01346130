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
WIRING = [BUTTON_OUT, AND_A, AND_OUT, LAMP_IN]
STATUS = "document.getElementById('status').textContent"
MESSAGE = "(m => m.hidden ? '' : m.textContent)(document.getElementById('message'))"


def gate_at(img, x, y):
    return img.crop((x - 64, y - 32, x + 64, y + 32)).tobytes()


def chord(web, codes):
    """Presses keys by their places on the keyboard, in order, and releases them backwards."""
    for code, down in [(c, True) for c in codes] + [(c, False) for c in codes[::-1]]:
        web.key(code, down)
        web.frames()


def centre(web, selector):
    return web.evaluate("(s => { const b = document.querySelector(s).getBoundingClientRect();"
                        " return [b.left + b.width / 2, b.top + b.height / 2]; })", selector)


def click_on(web, selector):
    """Clicks an element of the page, then lets a palette control's keys play out."""
    web.mouse("move", *centre(web, selector))
    for action in ["down", "up"]:
        web.mouse(action)
    for _ in range(3):
        web.frames()


def focused(web):
    return web.evaluate("document.activeElement.id || document.activeElement.tagName")


def test_keys_are_released_off_the_canvas_and_the_browsers_own_keys_stay_the_browsers(page):
    web = page().show()
    web.move(1000, 150)
    chord(web, ["KeyA"])  # an AND to compare with
    web.move(1000, 400)
    web.keys(["Shift_L"])
    click_on(web, "#trace")
    web.keys(["Shift_L"], down=False)  # released where the canvas does not hear it
    web.click(1000, 400)
    chord(web, ["KeyA"])
    assert gate_at(web.canvas(), 1000, 400) == gate_at(web.canvas(), 1000, 150)
    chord(web, ["Tab"])
    assert focused(web) != "canvas"
    chord(web, ["ShiftLeft", "Tab"])
    assert focused(web) == "canvas"
    web.move(1200, 600)
    chord(web, ["ControlLeft", "KeyL"])  # the browser's: no lamp
    chord(web, ["KeyT"])
    wait_until(lambda: "20007: " in web.lines(), 10, "the graph dump")
    assert "20008: " not in web.lines()


def test_each_palette_control_acts_as_its_key_where_the_visitor_pressed(page):
    by_keys, by_palette = (page(viewport={"width": 1366, "height": 768}).show() for _ in "12")
    for codes, at in PALETTE:
        by_keys.move(*at)
        chord(by_keys, codes.split())
        by_palette.click(*at)
        click_on(by_palette, '#palette [data-keys="%s"]' % codes)
    for web in by_keys, by_palette:
        for at in WIRING + [BUTTON_BODY]:
            web.click(*at)
    wait_until(lambda: by_palette.lines() == by_keys.lines(), 10, "the trace by keys")
    assert by_palette.canvas().tobytes() == by_keys.canvas().tobytes()
    by_palette.screenshot(os.path.join(SHOTS, "web-page-1366x768-%s.png" % by_palette.browser))


class Touch:
    """A finger on the page through Chromium's touch emulation, at canvas pixels."""
    def __init__(self, web):
        self.web = web

    def touch(self, kind, *points):
        self.web.send("Input.dispatchTouchEvent",
                      {"type": kind, "touchPoints": [{"x": x, "y": y} for x, y in points]})
        self.web.frames()

    def at(self, x, y):
        return self.web.left + x * self.web.scale, self.web.top + y * self.web.scale

    def tap_page(self, x, y):
        self.touch("touchStart", (x, y))
        self.touch("touchEnd")

    def click(self, x, y):
        self.tap_page(*self.at(x, y))

    def drag(self, start, end, steps=5):
        self.touch("touchStart", self.at(*start))
        for i in range(1, steps + 1):
            self.touch("touchMove", self.at(*(a + (b - a) * i / steps for a, b in zip(start, end))))
        self.touch("touchEnd")

    def control(self, selector):
        self.tap_page(*centre(self.web, selector))
        for _ in range(2):
            self.web.frames()


class Mouse(Touch):
    def click(self, x, y):
        self.web.click(x, y)

    def drag(self, start, end):
        self.web.move(*start)
        self.web.button(True)
        self.web.move(*end)
        self.web.button(False)

    def control(self, selector):
        click_on(self.web, selector)


def session(hand):
    """Every kind placed from the palette, two wires, a button switched, a part dragged."""
    for codes, at in PALETTE[:8]:
        hand.click(*at)
        hand.control('#palette [data-keys="%s"]' % codes)
    for at in WIRING + [BUTTON_BODY]:
        hand.click(*at)
    hand.drag((1100, 150), (1100, 700))
    hand.control('#palette [data-keys="KeyT"]')


@pytest.mark.parametrize("browser", ["chromium"])  # touch is emulated through CDP
def test_a_session_by_touch_traces_as_by_mouse_and_zoom_makes_pins_fingertip_sized(page, browser):
    tablet = {"width": 1024, "height": 768}
    by_mouse, by_touch = page(viewport=tablet).show(), page(viewport=dict(tablet, hasTouch=True))
    session(Mouse(by_mouse))
    session(Touch(by_touch.show()))
    wait_until(lambda: by_touch.lines() == by_mouse.lines(), 10, "the trace by mouse")
    assert by_touch.canvas().tobytes() == by_mouse.canvas().tobytes()
    by_touch.screenshot(os.path.join(SHOTS, "web-page-1024x768.png"))

    phone = Touch(page(viewport={"width": 390, "height": 844, "hasTouch": True, "isMobile": True,
                                 "deviceScaleFactor": 2}).show())
    pin = "document.getElementById('canvas').clientWidth * 16 / 1600"
    phone.web.screenshot(os.path.join(SHOTS, "web-page-390x844.png"))
    phone.click(620, 620)  # where to zoom in: the button
    for _ in range(3):
        phone.control("#zoom-in")
    assert phone.web.evaluate(pin) >= 24
    phone.web.screenshot(os.path.join(SHOTS, "web-page-390x844-zoomed.png"))
    phone.control("#zoom-fit")
    assert phone.web.evaluate("document.getElementById('canvas').clientWidth <="
                              " document.getElementById('viewport').clientWidth")


def test_a_program_that_cannot_start_or_loses_its_drawing_says_so(page):
    # The program's own canvas gives no WebGL: it cannot make its renderer, and ends.
    web = page()
    web.before("const real = HTMLCanvasElement.prototype.getContext;"
               "HTMLCanvasElement.prototype.getContext = function (...args) {"
               "  return this.id === 'canvas' ? null : real.apply(this, args); };")
    web.reload()
    wait_until(lambda: "could not draw in the window" in web.evaluate(MESSAGE), 30, "the reason")
    assert web.evaluate(STATUS) == "Not running."
    web = page().show()
    web.evaluate("Module.ctx.getExtension('WEBGL_lose_context').loseContext()")
    wait_until(lambda: "lost its drawing" in web.evaluate(MESSAGE), 10, "the message")
    assert web.evaluate(STATUS) == "Not running."
    assert web.evaluate("!document.getElementById('reload').hidden")


def rebuilt(site, into):
    """The site as the next build would put it up: every name of the build's folder changed."""
    build = next(p.name for p in site.iterdir() if p.is_dir())
    shutil.copytree(site, into)
    (into / build).rename(into / "next-build")
    for name in ["index.html", "sw.js", "manifest.webmanifest"]:
        (into / name).write_text((site / name).read_text().replace(build, "next-build"))
    return into


@pytest.mark.parametrize("browser", ["chromium"])  # the network is taken away through CDP
def test_the_page_installs_starts_offline_and_a_new_build_replaces_the_old(page, browser, tmp_path):
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
