"""The page in headless Chromium or Firefox ESR, used as a person uses it: served on a free local
port, given clicks and held keys, its trace read from the page's panel and its canvas read back
as pixels. The browser is driven by puppeteer-core through browser.mjs, a request per line."""

import base64
import importlib.machinery
import importlib.util
import io
import json
import os
import threading
from subprocess import PIPE, Popen

from PIL import Image
from velkora_program import NODE, REPO, Pointer, wait_until

SITE = os.path.join(REPO, "build-web", "site")
# The site is served as make serve-web serves it, with the headers a host should send.
SERVE_WEB = importlib.util.module_from_spec(importlib.util.spec_from_loader(
    "serve_web", importlib.machinery.SourceFileLoader(
        "serve_web", os.path.join(REPO, "scripts", "serve-web"))))
SERVE_WEB.__spec__.loader.exec_module(SERVE_WEB)
# The program draws in an animation frame; a callback queued after it runs in the same frame,
# while WebGL still holds the picture.
TWO_FRAMES = "new Promise(r => requestAnimationFrame(() => requestAnimationFrame(() => r(%s))))"
# browser.mjs's generic commands, by name: page.evaluate("(n) => Module.print(String(n))", 5).
COMMANDS = ["goto", "viewport", "reload", "evaluate", "before", "mouse", "key", "touch",
            "fingers", "wheel", "press", "tap", "send", "console"]


def code(name):
    """The browser's code for a key as X names it."""
    return "ShiftLeft" if name == "Shift_L" else "Key" + name.upper()


class Page(Pointer):
    """The site in a fresh `browser` (launch options: see browser.mjs); Firefox needs DISPLAY.
    A `handler` of the server's own (a subclass of serve-web's) may answer otherwise."""
    def __init__(self, browser="chromium", site=SITE, handler=None, **launch):
        self.server = SERVE_WEB.serve(site)
        self.server.RequestHandlerClass = handler or self.server.RequestHandlerClass
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.node = Popen(["node", os.path.join(os.path.dirname(__file__), "browser.mjs")],
                          text=True, bufsize=1, stdin=PIPE, stdout=PIPE)
        self.browser, self.url = browser, "http://127.0.0.1:%d/" % self.server.server_port
        self.call("launch", browser, launch)
        self.goto(self.url)

    def call(self, cmd, *args):
        """Sends a command; returns its reply's value, or raises its error's message."""
        self.node.stdin.write(json.dumps({"cmd": cmd, "args": args}) + "\n")  # a line, flushed
        reply = json.loads(self.node.stdout.readline() or '{"error": "%s: node ended"}' % cmd)
        if "error" in reply:
            raise RuntimeError(reply["error"])
        return reply.get("value")  # undefined is left out

    def close(self):
        if self.node.stdin.closed:  # closed early already
            return
        self.node.stdin.close()
        self.server.shutdown()
        assert self.node.wait(60) == 0, "the browser did not close cleanly"

    def show(self, timeout=60):
        """Waits for the first frame, then learns where the canvas's pixels are shown."""
        wait_until(lambda: self.canvas().getpixel((60, 46)) == NODE, timeout, "the first frame")
        self.left, self.top, self.scale = self.evaluate(
            "(() => { const c = document.getElementById('canvas'), box = c.getBoundingClientRect();"
            " return [box.left + c.clientLeft, box.top + c.clientTop, box.width / 1600]; })()")
        return self

    def canvas(self):
        """The canvas as drawn, 1600 by 900 whatever size it is shown at."""
        url = self.evaluate(TWO_FRAMES % "document.getElementById('canvas').toDataURL()")
        return Image.open(io.BytesIO(base64.b64decode(url.split(",")[1]))).convert("RGB")

    def frames(self):
        self.evaluate(TWO_FRAMES % "")

    def at(self, x, y):
        """Where the canvas's pixel (x, y) is shown on the page."""
        return self.left + x * self.scale, self.top + y * self.scale

    def move(self, x, y):
        self.mouse("move", *self.at(x, y))
        self.frames()

    def button(self, down):
        self.mouse("down" if down else "up")
        self.frames()

    def keys(self, names, down=True):
        for name in names:
            self.key(code(name), down)
            self.frames()

    def told(self):
        """What assistive technology is told (Chromium): every node's role, name, description."""
        return [tuple(node.get(k, {}).get("value", "") for k in ["role", "name", "description"])
                for node in self.send("Accessibility.getFullAXTree")["nodes"]]

    def live_wires(self, count):
        """The start-up NAND wired to `count` lamps, then fed 0 by the button: as many live wires.
        Built while none is live, and quicker than Pointer's clicks: once the pointer has moved
        (Firefox gives a move only at its next frame), a press and its release act together."""
        def act(x, y, *steps):
            self.move(x, y)
            for step in steps:
                self.call(*step)
            self.frames()
        click = [("mouse", "down"), ("mouse", "up")]
        for i in range(count):
            x, y = 850 + 75 * (i % 10), 120 + 78 * (i // 10)
            act(x, y, ("key", "KeyL"))
            act(528, 62, ("key", "KeyL", False), *click)  # the NAND's output
            act(x - 32, y, *click)  # the lamp's input
        act(664, 632, *click)  # the button's output
        act(400, 46, *click)  # the NAND's input A

    def lines(self):
        return self.evaluate("document.getElementById('trace').textContent").splitlines()


for _cmd in COMMANDS:
    setattr(Page, _cmd, lambda self, *args, cmd=_cmd: self.call(cmd, *args))
