"""The page as a site: wherever it cannot run it says why and what to do, and its controls are
disabled; its service worker keeps one build whole, downloads nothing twice, keeps the page when
the server fails it, and lets a new build take over without breaking an open page or another
deployment's copy; the build's folder is named by its contents; serve-web serves as a host
should; the canvas gets most of the screen at every size."""

import collections
import gzip
import os
import re
import shutil
import subprocess
import threading
import time
import urllib.error
import urllib.request

import pytest
from test_editing import AND_A, AND_OUT, BUTTON_BODY, BUTTON_OUT, LAMP_IN
from velkora_page import SERVE_WEB, SITE
from velkora_program import LIVE_WIRE, REPO, wait_until

BUILD_DIR = os.path.join(REPO, "build-web")
MESSAGE = "(m => m.hidden ? '' : m.innerText)(document.getElementById('message'))"
DISABLED = "[...document.querySelectorAll('#tools button')].every(b => b.matches(':disabled'))"
NOTICE = "document.getElementById('notice-text').textContent"
CACHES = "caches.keys()"
# The program's own canvas gives it no WebGL, on the page of that name only: it cannot make
# its renderer, and ends.
NO_RENDERER = """if (location.pathname.startsWith('/ends-at-start/')) {
  const real = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function (...args) {
    return this.id === 'canvas' ? null : real.apply(this, args); }; }"""
# Run as the page's own script: what the test's driver runs, the page never hears go wrong.
AS_PAGES = "void document.head.append(Object.assign(document.createElement('script'), " \
    "{textContent: \"%s\"}))"


def build_of(site):
    return next(p.name for p in os.scandir(site) if re.fullmatch("[0-9a-f]{12}", p.name))


def assemble(out, web=os.path.join(REPO, "web"), program=os.path.join(BUILD_DIR, "program")):
    """The site put together as the build does, from `web` and the program's files."""
    subprocess.run(["cmake", "-DPROGRAM=%s" % program, "-DWEB=%s" % web, "-DSITE=%s" % out,
                    "-DICONS=%s" % os.path.join(REPO, "img", "icons"),
                    "-P", os.path.join(REPO, "web", "site.cmake")], check=True)
    return out


def rebuilt(tmp_path, name="rebuilt"):
    """The site of a next build: one line of the style sheet changed."""
    web = shutil.copytree(os.path.join(REPO, "web"), tmp_path / (name + "-web"))
    with open(web / "page.css", "a") as css:
        css.write("/* the next build */\n")
    return assemble(tmp_path / name, web)


class Scripted(SERVE_WEB.SiteHandler):
    """serve-web's answers, counted by path, unless the test scripts another for a path: an
    HTTP status, "portal" (a page of someone else's), "drop" (the connection closes
    unanswered) or "stall" (an answer only once the test ends)."""
    served = collections.Counter()
    answers = {}
    ended = threading.Event()

    def do_GET(self):
        Scripted.served[self.path] += 1
        answer = Scripted.answers.get(self.path)
        if answer == "stall":
            Scripted.ended.wait(60)
        if answer == "drop":
            self.close_connection = True
        elif answer == "portal":
            self.send_response(200)
            self.end_headers()
            self.wfile.write(b"<!doctype html><title>Wi-Fi</title><p>Log in to go on.")
        elif isinstance(answer, int):
            self.send_error(answer)
        else:
            super().do_GET()


@pytest.fixture
def scripted():
    Scripted.served.clear()
    Scripted.answers.clear()
    Scripted.ended.clear()
    yield Scripted
    Scripted.ended.set()


def settled(web, expression):
    """The expression's value on the page, or None while the page is being replaced."""
    try:
        return web.evaluate(expression)
    except RuntimeError:
        return None


def says(web, words, what):
    wait_until(lambda: all(w in web.evaluate(MESSAGE) for w in words), 30, what)
    status = web.evaluate("document.getElementById('status').textContent")
    assert (status, web.evaluate(DISABLED)) == ("Not running.", True), what


# Each failure on a page of its own, in one browser: how it is reached (a copy of the site with
# a file taken away or spoilt, or something done to the running page), and words of what went
# wrong and of what to do. Pages that run register their worker at their own path only.
FAILURES = [
    ("no-program", "velkora.wasm", None, None, ["could not be loaded", "Reload"]),
    ("no-data", "velkora.data", None, None, ["could not be loaded", "velkora.data", "Reload"]),
    ("no-scripts", "page.js", None, None, ["scripts are missing", "Reload"]),
    ("too-old", None, "page.js", None, ["too old", "current Firefox"]),
    ("ends-at-start", None, None, None, ["could not draw in the window", "Reload"]),
    ("throws-in-a-frame", None, None,
     "void (Module.ctx.clear = () => { throw new Error('planted'); })",
     ["Velkora stopped: planted", "reload"]),
    ("rejects", None, None, AS_PAGES % "setTimeout(() => Promise.reject(new Error('planted')))",
     ["Velkora stopped: planted", "reload"]),
    ("context-lost", None, None, "Module.ctx.getExtension('WEBGL_lose_context').loseContext()",
     ["lost its drawing", "Reload the page"]),
    ("file", None, None, None, ["Opened as a file", "serve its folder"])]


def test_every_failure_says_what_went_wrong_and_what_to_do_and_disables_the_controls(page,
                                                                                   tmp_path):
    for name, remove, spoil, then, _ in FAILURES:
        site = shutil.copytree(SITE, tmp_path / name)
        if remove:  # from the build's folder
            os.remove(next(site.glob("*/" + remove)))
        if spoil:
            next(site.glob("*/" + spoil)).write_text("export const syntax = 'of the future' ?;\n")
    web = page(tmp_path)
    web.before(NO_RENDERER)
    for name, _, _, then, words in FAILURES:
        web.goto(("file://%s/%s/index.html" if name == "file" else "%s%s/") % (
            tmp_path if name == "file" else web.url, name))
        if name == "file" and web.browser == "firefox":
            web.show()  # Firefox runs modules from files, and so the page too
        else:
            if then:
                web.show().evaluate(then)
            says(web, words, name)


@pytest.mark.parametrize("launch, words", [
    ({"args": ["--disable-webgl"], "prefs": {"webgl.disabled": True}},
     ["it draws with WebGL", "Try another browser"]),
    ({"args": ["--blink-settings=scriptEnabled=false"], "prefs": {"javascript.enabled": False}},
     ["switch JavaScript on"])], ids=["no_webgl", "no_javascript"])
def test_a_browser_without_webgl_or_javascript_is_told_so(page, launch, words):
    web = page(**launch)
    # Without scripts, the words stand in the page from the start, for whatever looks.
    shown = "[...document.querySelectorAll('.message')].map(m => m.innerText).join(' ')"
    wait_until(lambda: all(w in web.evaluate(shown) for w in words), 30, "the message")
    assert "Not running." in web.evaluate("document.querySelector('aside').innerText")
    assert "Loading" not in web.evaluate("document.querySelector('aside').innerText")
    assert web.evaluate(DISABLED)


def test_the_worker_downloads_nothing_twice_and_keeps_the_page_when_the_server_fails_it(
        page, scripted, tmp_path):
    site = shutil.copytree(SITE, tmp_path / "site")
    web = page(site, handler=scripted).show()
    wait_until(lambda: web.evaluate(NOTICE) == "Ready to work offline.", 30, "ready offline")
    files = {"/" + os.path.relpath(os.path.join(d, f), site) for d, _, fs in os.walk(site)
             for f in fs} - {"/index.html"} | {"/"}
    assert set(scripted.served) == files and set(scripted.served.values()) == {1}
    # The kept page, when the server fails it: an error, a captive portal's page, no answer
    # within seconds, or none at all. Any other page of the folder is still the server's.
    for answer in [503, "portal", "stall", "drop"]:
        scripted.answers["/"] = answer
        web.reload()
        started = time.monotonic()
        web.show()
        assert web.evaluate(NOTICE) == "", answer  # said once, on the first visit
        assert time.monotonic() - started < 20
    scripted.answers["/other.html"] = "drop"
    try:
        web.goto(web.url + "other.html")
    except RuntimeError:  # the browser's page for an empty answer
        pass
    wait_until(lambda: settled(web, "document.body?.dataset.build ?? 'none'") == "none", 10,
               "the browser's own page")


def test_a_new_build_takes_over_an_open_page_keeps_working_and_other_deployments_keep_theirs(
        page, tmp_path):
    first = shutil.copytree(SITE, tmp_path / "first")
    following = rebuilt(tmp_path, "following")
    shutil.copytree(SITE, following / "preview")  # the first build, deployed beside it
    old, new = build_of(first), build_of(following)
    web = page(first).show()
    root = web.url
    wait_until(lambda: web.evaluate(NOTICE) == "Ready to work offline.", 30, "ready offline")
    web.server.site = following
    # Browsers look for a new worker now and then; the test has it look now.
    web.evaluate("navigator.serviceWorker.getRegistration().then(r => r.update())")
    wait_until(lambda: "new version" in web.evaluate(NOTICE), 60, "the offer to reload")
    # The open page goes on with its own build: the program runs, and its files still come.
    web.keys(["t"])
    web.keys(["t"], down=False)
    wait_until(lambda: "20007: " in web.lines(), 10, "the graph dump")
    assert web.evaluate("fetch('%s/page.css', {cache: 'no-store'}).then(r => r.status)" % old) \
        == 200  # not the browser's copy: the worker's
    web.press("#update")
    wait_until(lambda: settled(web, "document.body.dataset.build") == new, 30, "the new build")
    web.show()
    wait_until(lambda: web.evaluate(CACHES) == ["velkora %s %s" % (root, new)], 30,
               "the old build's files gone once no page used them")
    web.goto(root + "preview/")
    web.show()
    wait_until(lambda: web.evaluate(NOTICE) == "Ready to work offline.", 30, "preview offline")
    web.goto(root)
    web.show()
    assert sorted(web.evaluate(CACHES)) == ["velkora %s %s" % (root, new),
                                            "velkora %spreview/ %s" % (root, old)]


def test_the_build_folder_is_named_by_the_files_contents_alone(tmp_path):
    """Two checkouts and two links of the same sources (the file packager stamps each link with
    an id of its own) give one name; a changed file gives another."""
    program = shutil.copytree(os.path.join(BUILD_DIR, "program"), tmp_path / "elsewhere" / "p")
    js = program / "velkora.js"
    js.write_text(re.sub(r'"package_uuid":"[^"]*"', '"package_uuid":"another link"',
                         js.read_text()))
    web = shutil.copytree(os.path.join(REPO, "web"), tmp_path / "elsewhere" / "web")
    names = [build_of(assemble(tmp_path / "here")), build_of(SITE),
             build_of(assemble(tmp_path / "there", web, program)), build_of(rebuilt(tmp_path))]
    assert names[0] == names[1] == names[2] != names[3]


def test_serve_web_asks_again_for_the_fixed_files_keeps_the_build_and_compresses_it():
    server = SERVE_WEB.serve(SITE)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    build = build_of(SITE)

    def get(path, gzipped=True):
        request = urllib.request.Request("http://127.0.0.1:%d/%s" % (server.server_port, path),
                                         headers={"Accept-Encoding": "gzip"} if gzipped else {})
        try:
            with urllib.request.urlopen(request) as answer:
                body = answer.read()
                if answer.headers["Content-Encoding"] == "gzip":
                    body = gzip.decompress(body)
                return answer.headers, body
        except urllib.error.HTTPError as error:
            return error.headers, b""
    try:
        for path in ["", "sw.js", "manifest.webmanifest"]:
            assert get(path)[0]["Cache-Control"] == "no-cache", path
        for name, kind in [("velkora.wasm", "application/wasm"), ("velkora.js", "text/javascript"),
                           ("velkora.data", "application/octet-stream")]:
            with open(os.path.join(SITE, build, name), "rb") as f:
                raw = f.read()
            headers, body = get(build + "/" + name)
            assert (headers["Content-Encoding"], headers["Content-Type"], body) == (
                "gzip", kind, raw), name
            assert headers["Cache-Control"] == "public, max-age=31536000, immutable", name
            assert int(headers["Content-Length"]) < len(raw), name
            assert get(build + "/" + name, gzipped=False)[0]["Content-Encoding"] is None, name
        assert get("missing.html")[0]["Cache-Control"] is None  # an error is never kept
    finally:
        server.shutdown()


# What a session leaves noted: each text the status line took, and each error event the page
# saw (a ResizeObserver's loop is one, and no exception).
NOTING = """window.noted = {statuses: [], errors: []};
addEventListener('error', (event) => noted.errors.push(event.message));
new MutationObserver(() => {
  const text = document.getElementById('status')?.textContent;
  if (text && text !== noted.statuses.at(-1)) noted.statuses.push(text);
}).observe(document, {subtree: true, childList: true, characterData: true});"""
# Wires from the button to the AND and from the AND to the lamp, and the button switched on:
# the first wire is live, half-way.
WIRED = [BUTTON_OUT, AND_A, AND_OUT, LAMP_IN, BUTTON_BODY]
LIT_WIRE = (362, 338)
WINDOW = []
# The canvas's share of the largest 16:9 box the window could show, whether it is all in view,
# and every label wider or taller than its control.
LAYOUT = """(() => {
  const c = document.getElementById('canvas').getBoundingClientRect();
  const best = Math.min(innerWidth, innerHeight * 16 / 9) ** 2 * 9 / 16;
  const spilled = [...document.querySelectorAll('button')].filter((b) => b.checkVisibility()
    && (b.scrollWidth > b.clientWidth || b.scrollHeight > b.clientHeight));
  return [c.width * c.height / best, c.left >= 0 && c.top >= 0 && c.right <= innerWidth &&
          c.bottom <= innerHeight, spilled.map((b) => b.textContent.trim())];
})()"""


def test_the_canvas_shows_the_windows_pixels_and_most_of_the_screen_at_every_size(program,
                                                                                page):
    """Besides: the status line changes only with the program's state, and resizes, zooms and a
    cancelled touch raise no error."""
    if not WINDOW:  # played once for both browsers
        desktop = program().show()
        for at in WIRED:
            desktop.click(*at)
        WINDOW.append(desktop.wait_pixel(*LIT_WIRE, LIVE_WIRE).tobytes())
    # Loaded whole before it is loaded again, with notes: a download cut short is no error.
    web = page(viewport={"width": 1280, "height": 800, "hasTouch": True}).show()
    web.before(NOTING)
    web.reload()
    web.show()
    for at in WIRED:
        web.click(*at)
    wait_until(lambda: web.canvas().getpixel(LIT_WIRE) == LIVE_WIRE, 10, "the live wire")
    assert web.canvas().tobytes() == WINDOW[0]
    for size in [(844, 390), (390, 844), (320, 256), (800, 600), (1280, 800)]:
        web.viewport(dict(zip(["width", "height"], size), hasTouch=True))  # zoomed in, but first
        web.tap("#zoom-fit")
        web.frames()
        share, in_view, spilled = web.evaluate(LAYOUT)
        assert (share > 0.5, in_view, spilled) == (True, True, []), size
        for control in ["#zoom-in", "#zoom-in", "#zoom-out"]:
            web.tap(control)
            web.frames()
    if web.browser == "chromium":  # CDP: accessibility, installability, a touch taken back
        roles = {role: (name, described) for role, name, described in web.roles()}
        assert roles["application"][0].startswith("Velkora") and "Tab" in roles["application"][1]
        assert roles["log"][0] == "Trace" and "status" in roles
        assert web.send("Page.getInstallabilityErrors")["installabilityErrors"] == []
        x, y = web.show().at(800, 450)
        for kind, points in [("touchStart", [{"x": x, "y": y}]), ("touchCancel", [])]:
            web.send("Input.dispatchTouchEvent", {"type": kind, "touchPoints": points})
        web.frames()
    assert web.evaluate("noted") == {"statuses": ["Loading…", "Running."], "errors": []}
    assert not web.console()
