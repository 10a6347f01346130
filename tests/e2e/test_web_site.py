"""The page as a site: it says why wherever it cannot run; served as a host should, its worker
downloads nothing twice, keeps the page when the server fails it, and lets a new build take over
gently; its build's folder is named by contents; its canvas shows the window's pixels and most of
the screen at every size."""

import collections
import itertools
import os
import re
import shutil
import subprocess
import threading
import time

import pytest
from test_editing import AND_A, AND_OUT, BUTTON_BODY, BUTTON_OUT, LAMP_IN
from velkora_page import SERVE_WEB, SITE
from velkora_program import LIVE_WIRE, REPO, wait_until

NOTICE = "document.getElementById('notice-text').textContent"
# What the page shows (the messages, the status) and whether every control is disabled.
SHOWN = """(shown => [shown('.message'), shown('#status, .status'), [...document.querySelectorAll(
  '#tools button')].every(b => b.matches(':disabled'))])(s => [...document.querySelectorAll(s)]
  .filter(e => e.checkVisibility()).map(e => e.innerText).join(' '))"""
# On that page only, the program's own canvas gives it no WebGL: it cannot make its renderer.
NO_RENDERER = """if (location.pathname === '/ends-at-start/')
  HTMLCanvasElement.prototype.getContext = new Proxy(HTMLCanvasElement.prototype.getContext,
    {apply: (real, c, args) => c.id === 'canvas' ? null : Reflect.apply(real, c, args)});"""
# Run as the page's own script: what the test's driver runs, the page never hears go wrong.
AS_PAGES = "void document.head.append(Object.assign(document.createElement('script'), " \
    "{textContent: \"%s\"}))"
NO_WEBGL = {"args": ["--disable-webgl"], "prefs": {"webgl.disabled": True}}
NO_SCRIPTS = {"args": ["--blink-settings=scriptEnabled=false"],
              "prefs": {"javascript.enabled": False}}
# Each on a page of its own, in a browser started as the row says: a file of the site's copy
# taken away (-) or spoilt (~), what is done to the running page, words of what went wrong and
# of what to do. Firefox runs the page from a file, as it runs modules from files.
FAILURES = [
    ("no-webgl", NO_WEBGL, None, None, ["draws with WebGL", "Try another browser"]),
    ("no-javascript", NO_SCRIPTS, None, None, ["switch JavaScript on"]),
    ("no-program", {}, "-velkora.wasm", None, ["could not be loaded", "Reload"]),
    ("no-data", {}, "-velkora.data", None, ["could not be loaded", "velkora.data", "Reload"]),
    ("no-scripts", {}, "-page.js", None, ["scripts are missing", "Reload"]),
    ("too-old", {}, "~page.js", None, ["too old", "current Firefox"]),
    ("ends-at-start", {}, None, None, ["could not draw in the window", "Reload"]),
    ("throws-in-a-frame", {}, None, "void (Module.ctx.clear = () => { throw new Error('x'); })",
     ["Velkora stopped: x", "reload"]),
    ("rejects", {}, None, AS_PAGES % "setTimeout(() => Promise.reject(new Error('x')))",
     ["Velkora stopped: x", "reload"]),
    ("context-lost", {}, None, "Module.ctx.getExtension('WEBGL_lose_context').loseContext()",
     ["lost its drawing", "Reload the page"]),
    ("file", {}, None, None, ["Opened as a file", "serve its folder"])]


def test_every_failure_says_what_went_wrong_and_what_to_do_and_disables_the_controls(page,
                                                                                   tmp_path):
    for name, _, change, _, _ in FAILURES:
        site = shutil.copytree(SITE, tmp_path / name)
        if change:  # in the build's folder
            spoilt = next(site.glob("*/" + change[1:]))
            spoilt.unlink() if change[0] == "-" else spoilt.write_text("export const x = ?;")
    for launch, rows in itertools.groupby(FAILURES, lambda row: row[1]):
        web = page(tmp_path, **launch)
        web.before(NO_RENDERER)
        for name, _, _, then, words in rows:
            web.goto("file://%s/file/index.html" % tmp_path if name == "file" else
                     web.url + name + "/")
            if name == "file" and web.browser == "firefox":
                web.show()
                continue
            if then:
                web.show().evaluate(then)
            wait_until(lambda: all(w in web.evaluate(SHOWN)[0] for w in words), 30, name)
            assert web.evaluate(SHOWN)[1:] == ["Not running.", True], name
        web.close()


def build_of(site):
    return next(p.name for p in os.scandir(site) if re.fullmatch("[0-9a-f]{12}", p.name))


def assemble(out, web=os.path.join(REPO, "web"), program=os.path.join(REPO, "build-web/program")):
    """The site put together as the build does, from `web` and the program's files."""
    subprocess.run(["cmake", "-DPROGRAM=%s" % program, "-DWEB=%s" % web, "-DSITE=%s" % out,
                    "-DICONS=%s/img/icons" % REPO, "-P", "%s/web/site.cmake" % REPO], check=True)
    return out


def rebuilt(tmp_path, name="rebuilt"):
    """The site of a next build: one line of the style sheet changed."""
    web = shutil.copytree(os.path.join(REPO, "web"), tmp_path / (name + "-web"))
    with open(web / "page.css", "a") as css:
        css.write("/* the next build */\n")
    return assemble(tmp_path / name, web)


def test_the_build_folder_is_named_by_the_files_contents_alone(tmp_path):
    """Two checkouts and two links of the same sources (the file packager stamps each link with
    an id of its own) give one name; a changed file gives another."""
    program = shutil.copytree(os.path.join(REPO, "build-web/program"), tmp_path / "elsewhere/p")
    js = program / "velkora.js"
    js.write_text(re.sub(r'"package_uuid":"[^"]*"', '"package_uuid":"another"', js.read_text()))
    web = shutil.copytree(os.path.join(REPO, "web"), tmp_path / "elsewhere" / "web")
    names = [build_of(assemble(tmp_path / "here")), build_of(SITE),
             build_of(assemble(tmp_path / "there", web, program)), build_of(rebuilt(tmp_path))]
    assert names[0] == names[1] == names[2] != names[3]


class Scripted(SERVE_WEB.SiteHandler):
    """serve-web, its requests counted and its headers noted by path, unless the test scripts
    another answer for a path: an HTTP status, "portal" (someone else's page), "drop" (the
    connection closes unanswered) or "stall" (an answer only once the test ends)."""
    served, sent, answers, ended = collections.Counter(), {}, {}, threading.Event()

    def send_header(self, key, value):
        Scripted.sent[self.path][key] = value
        super().send_header(key, value)

    def do_GET(self):
        Scripted.served[self.path] += 1
        Scripted.sent[self.path] = {}
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
    for kept in [Scripted.served, Scripted.sent, Scripted.answers]:
        kept.clear()
    Scripted.ended.clear()
    yield Scripted
    Scripted.ended.set()


def settled(web, expression):
    """The expression's value on the page, or None while the page is being replaced."""
    try:
        return web.evaluate(expression)
    except RuntimeError:
        return None


def test_served_as_a_host_should_the_worker_downloads_nothing_twice_and_keeps_the_page(
        page, scripted, tmp_path):
    site = shutil.copytree(SITE, tmp_path / "site")
    web = page(site, handler=scripted).show()
    wait_until(lambda: web.evaluate(NOTICE) == "Ready to work offline.", 30, "ready offline")
    files = {"/" + os.path.relpath(os.path.join(d, f), site) for d, _, fs in os.walk(site)
             for f in fs} - {"/index.html"} | {"/"}
    assert set(scripted.served) == files and set(scripted.served.values()) == {1}
    for path, headers in scripted.sent.items():  # compressed where it counts; fixed names asked
        assert headers["Cache-Control"] == ("no-cache" if path.count("/") == 1 else  # again
                                            "public, max-age=31536000, immutable"), path
        assert headers.get("Content-Encoding") == ("gzip" if re.search(
            r"/.*/.*\.(wasm|data|js|css|svg)$", path) else None), path
    # The kept page, when the server fails it: an error (never kept itself), a captive portal's
    # page, no answer at all, or none within seconds (last: the browser holds back requests
    # for the page while one is under way). Any other page of the folder is the server's.
    for answer in [503, "portal", "drop", "stall"]:
        scripted.answers["/"], asked, started = answer, scripted.served["/"], time.monotonic()
        web.reload()
        assert web.show().evaluate(NOTICE) == "", answer  # said once, on the first visit
        assert time.monotonic() - started < 20 and scripted.served["/"] > asked, answer
        assert answer != 503 or "Cache-Control" not in scripted.sent["/"]
    scripted.answers["/other.html"] = "drop"
    try:
        web.goto(web.url + "other.html")
    except RuntimeError:  # the browser's page for an empty answer
        pass
    wait_until(lambda: settled(web, "document.body?.dataset.build ?? 'none'") == "none", 10,
               "the browser's own page")


def test_a_new_build_takes_over_an_open_page_keeps_working_and_other_deployments_keep_theirs(
        page, tmp_path):
    first, following = shutil.copytree(SITE, tmp_path / "first"), rebuilt(tmp_path, "following")
    shutil.copytree(SITE, following / "preview")  # the first build, deployed beside it
    old, new = build_of(first), build_of(following)
    web = page(first).show()
    root, kept = web.url, lambda *scopes: sorted("velkora %s%s %s" % (web.url, *s) for s in scopes)
    wait_until(lambda: web.evaluate(NOTICE) == "Ready to work offline.", 30, "ready offline")
    web.server.site = following
    # Browsers look for a new worker now and then; the test has it look now.
    web.evaluate("navigator.serviceWorker.getRegistration().then(r => r.update())")
    wait_until(lambda: "new version" in web.evaluate(NOTICE), 60, "the offer to reload")
    # The open page goes on with its own build: the program runs, and its files still come,
    # not from the browser's cache but the worker's.
    web.keys(["t"])
    web.keys(["t"], down=False)
    wait_until(lambda: "20007: " in web.lines(), 10, "the graph dump")
    assert web.evaluate("fetch('%s/page.css', {cache: 'no-store'}).then(r => r.status)" % old) \
        == 200
    web.press("#update")
    wait_until(lambda: settled(web, "document.body.dataset.build") == new, 30, "the new build")
    wait_until(lambda: sorted(web.show().evaluate("caches.keys()")) == kept(("", new)), 30,
               "the old build's files gone once no page used them")
    web.goto(root + "preview/")
    wait_until(lambda: web.show().evaluate(NOTICE) == "Ready to work offline.", 30, "preview")
    web.goto(root)
    assert sorted(web.show().evaluate("caches.keys()")) == kept(("", new), ("preview/", old))


# What the page notes: each text the status line takes, and each error event (a ResizeObserver's
# loop is one, and no exception).
NOTING = """window.noted = {statuses: [], errors: []};
addEventListener('error', (event) => noted.errors.push(event.message));
new MutationObserver(() => {
  const text = document.getElementById('status')?.textContent;
  if (text && text !== noted.statuses.at(-1)) noted.statuses.push(text);
}).observe(document, {subtree: true, childList: true, characterData: true});"""
# The canvas's share of the largest 16:9 box the window could show, whether it is all in view,
# and every label wider or taller than its control.
LAYOUT = """(() => {
  const c = document.getElementById('canvas').getBoundingClientRect();
  const best = Math.min(innerWidth, innerHeight * 16 / 9) ** 2 * 9 / 16;
  const spilled = [...document.querySelectorAll('button')].filter((b) => b.checkVisibility()
    && (b.scrollWidth > b.clientWidth || b.scrollHeight > b.clientHeight));
  return [c.width * c.height / best > 0.5, c.left >= 0 && c.top >= 0 && c.right <= innerWidth
          && c.bottom <= innerHeight, spilled.map((b) => b.textContent.trim())];
})()"""
# The button wired to the AND, the AND to the lamp, the button switched on: the first wire is
# live, half-way along.
WIRED, LIT_WIRE, WINDOW = [BUTTON_OUT, AND_A, AND_OUT, LAMP_IN, BUTTON_BODY], (362, 338), []


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
        assert web.evaluate(LAYOUT) == [True, True, []], size
        for control in ["#zoom-in", "#zoom-in", "#zoom-out"]:
            web.tap(control)
            web.frames()
    if web.browser == "chromium":  # CDP: installability, a touch taken back
        assert web.send("Page.getInstallabilityErrors")["installabilityErrors"] == []
        x, y = web.show().at(800, 450)
        for kind, points in [("touchStart", [{"x": x, "y": y}]), ("touchCancel", [])]:
            web.send("Input.dispatchTouchEvent", {"type": kind, "touchPoints": points})
        web.frames()
    assert web.evaluate("noted") == {"statuses": ["Loading…", "Running."], "errors": []}
    assert not web.console()
