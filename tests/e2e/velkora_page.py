"""The page in headless Chromium, used as a person uses it: served on a free local port, given
clicks and held keys through WebDriver's action chains, its trace read from the page's panel
and its canvas read back as pixels."""

import base64
import functools
import http.server
import io
import os
import tempfile
import threading

from PIL import Image
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys
from velkora_program import NODE, REPO, Pointer, wait_until

SITE = os.path.join(REPO, "build-web", "site")
# Software WebGL through SwiftShader, no calls home (a closed network refuses them), and a
# window smaller than the canvas, which the page then scales down.
FLAGS = ["--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
         "--ignore-gpu-blocklist", "--no-first-run", "--disable-background-networking",
         "--disable-component-update", "--disable-sync", "--window-size=1280,800"]
# The program draws in an animation frame; a callback queued after it runs in the same frame,
# while WebGL still holds the picture.
TWO_FRAMES = "requestAnimationFrame(() => requestAnimationFrame(() => arguments[0](%s)))"


class Page(Pointer):
    def __init__(self, site=SITE, flags=()):
        handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=site)
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.profile = tempfile.TemporaryDirectory()
        options = webdriver.ChromeOptions()
        for flag in [*FLAGS, *flags, "--user-data-dir=" + self.profile.name]:
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})  # the whole console
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.driver.get("http://127.0.0.1:%d/" % self.server.server_port)

    def close(self):
        self.driver.quit()
        self.server.shutdown()
        self.profile.cleanup()

    def show(self, timeout=60):
        """Waits for the first frame, then learns where the canvas's pixels are shown."""
        wait_until(lambda: self.canvas().getpixel((60, 46)) == NODE, timeout, "the first frame")
        self.left, self.top, width = self.driver.execute_script(
            "const c = document.getElementById('canvas'), box = c.getBoundingClientRect();"
            "return [box.left + c.clientLeft, box.top + c.clientTop, c.clientWidth];")
        self.scale = width / 1600
        return self

    def canvas(self):
        """The canvas as drawn, 1600 by 900 whatever size it is shown at."""
        url = self.driver.execute_async_script(
            TWO_FRAMES % "document.getElementById('canvas').toDataURL()")
        return Image.open(io.BytesIO(base64.b64decode(url.split(",")[1]))).convert("RGB")

    def frames(self):
        self.driver.execute_async_script(TWO_FRAMES % "")

    def act(self, do):
        """Performs what `do` adds to an action chain, then lets two frames see it."""
        chain = ActionChains(self.driver, duration=0)
        do(chain)
        chain.perform()
        self.frames()

    def move(self, x, y):
        to = round(self.left + x * self.scale), round(self.top + y * self.scale)
        self.act(lambda chain: chain.w3c_actions.pointer_action.move_to_location(*to))

    def button(self, down):
        self.act(lambda chain: chain.click_and_hold() if down else chain.release())

    def keys(self, names, down=True):
        for key in (Keys.SHIFT if name == "Shift_L" else name for name in names):
            self.act(lambda chain: chain.key_down(key) if down else chain.key_up(key))

    def lines(self):
        return self.driver.find_element("id", "trace").get_property("textContent").splitlines()
