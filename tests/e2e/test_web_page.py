"""The page is the desktop program in a browser, for every visitor: one session played on the
desktop, and on the page by keys, by the palette and by touch, traces and draws alike; every
press acts once, keys are released as the visitor means them, fingers pinch without a click.
Without a mouse and without sight: built, wired, switched and dragged by keys alone, a circuit
traces and draws as with the mouse; each part is named with its place, wiring and state in a
list the keys choose from; what changed is said soon and once; a circuit that only runs is not
even asked about. (The page as a site, failures and offline: test_web_site.)"""

import itertools
import re
import time


from test_editing import AND_A, AND_OUT, BUTTON_BODY, BUTTON_OUT, LAMP_IN
from velkora_page import code
from velkora_program import CANVAS, STARTUP_LINES, wait_until

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
WIDTH = "document.getElementById('canvas').clientWidth"
DESKTOP = []  # the desktop's trace, played once for every browser


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
        self.page.fingers([[self.page.at(*(a + (b - a) * i / 5 for a, b in zip(start, end)))
                            for i in range(6)]])
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
    try:
        wait_until(lambda: trace in [None, as_runs(web.lines())], 30, "the trace by keys")
    except AssertionError:  # then pytest names the first line that differs
        assert as_runs(web.lines()) == trace
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
    assert trace == DESKTOP[0]  # and its pixels the window's: test_web_site
    for touch in False, True:
        _, drawn = played(page(viewport=dict(tablet, hasTouch=touch)), by_palette, trace, touch)
        assert drawn.tobytes() == img.tobytes()


def test_every_key_acts_once_a_chord_is_never_cut_and_the_browsers_own_keys_stay_its(page):
    web = page().show()
    body = lambda x, y: web.canvas().crop((x - 64, y - 32, x + 64, y + 32)).tobytes()  # noqa
    for keys, x in [(["a"], 1000), (["Shift_L", "a"], 1200)]:  # an AND and a NAND to compare
        web.click(x, 650)
        by_keys(web, keys)
    # Left Shift let go where the canvas does not hear it: then A places an AND.
    web.click(1000, 150)
    web.key("ShiftLeft", True)
    web.press("#trace")
    web.key("ShiftLeft", False)
    web.click(1000, 150)
    by_keys(web, ["a"])
    # The palette's NAND on a busy machine (a frame every 0.1 s), cut into once its Shift is
    # down for the program: by Tab, by a click on another control, by Enter held on it.
    web.evaluate("(raf => { window.fast = raf; window.requestAnimationFrame = (f) =>"
                 " setTimeout(() => raf(f), 100); })(requestAnimationFrame)")
    nand = '#palette [data-keys="ShiftLeft KeyA"]'
    cuts = [lambda: web.key("Tab") or web.key("Tab", False), lambda: web.press("#zoom-fit"),
            lambda: web.key("Enter") or web.key("Enter") or web.key("Enter", False)]
    for x, cut in zip([1000, 1200, 1400], cuts):
        web.click(x, 400)
        web.evaluate("document.querySelector('%s').focus(); window.shift = new Promise((r) =>"
                     " document.getElementById('canvas').addEventListener('keydown', r)); 0" % nand)
        web.press(nand)
        web.evaluate("shift")
        cut()
    web.evaluate("window.requestAnimationFrame = fast; 0")
    wait_until(lambda: [body(1000, 150), body(1000, 400), body(1200, 400), body(1400, 400)] == [
        body(1000, 650)] + [body(1200, 650)] * 3, 10, "an AND, then the palette's NANDs")
    web.click(1000, 550)
    for keys, focus in [(["Tab"], "SUMMARY"), (["ShiftLeft", "Tab"], "canvas"),
                        (["ControlLeft", "KeyL"], "canvas")]:  # the browser's: no lamp
        for code, down in [(k, True) for k in keys] + [(k, False) for k in keys[::-1]]:
            web.key(code, down)
            web.frames()
        assert web.evaluate("[document.activeElement.id || document.activeElement.tagName,"
                            " document.getElementById('status').textContent]") == [
            focus, "Running."]  # said where the keys go, but not in the status line
    dumps = lambda: sum(line == "20007: " for line in web.lines())  # noqa: E731
    for _ in range(20):  # each let go before the program's next frame
        web.key("KeyT", True)
        web.key("KeyT", False)
    wait_until(lambda: dumps() >= 20, 30, "twenty graph dumps")
    web.frames()
    assert dumps() == 20 and "20008: " not in web.lines()
    if web.browser == "chromium":  # Firefox's driver gives keys that press no control
        web.evaluate("document.getElementById('zoom-in').focus()")
        for _ in range(4):  # to the closest zoom and past it: greyed, it keeps the focus
            web.key("Enter")
            web.key("Enter", False)
        assert web.evaluate("(b => b === document.activeElement && b.ariaDisabled)"
                            "(document.getElementById('zoom-in'))") == "true"
    web.evaluate("() => { for (let i = 0; i < 25000; i++) Module.print(String(i)); }")
    web.frames()
    assert web.lines() == list(map(str, range(15000, 25000)))  # the panel keeps the latest


def test_fingers_pinch_without_a_click_a_lost_one_is_forgotten_and_the_wheel_zooms(page):
    web = page(viewport={"width": 390, "height": 844, "hasTouch": True, "isMobile": True,
                         "deviceScaleFactor": 2}).show()
    fitted = web.evaluate(WIDTH)
    # Two fingers land on the button, the second 50 ms after the first, and spread: the view
    # zooms, the button is not pressed.
    x, y = web.at(*BUTTON_BODY)
    web.fingers([[(x - 2, y), (x - 40, y)], [(x + 2, y), (x + 40, y)]], 50)
    for _ in range(10):
        web.frames()
    said = lambda: web.lines()[len(STARTUP_LINES):]  # noqa: E731
    assert web.evaluate(WIDTH) > fitted and said() == []
    web.tap("#zoom-fit")
    Finger(web).click(*BUTTON_BODY)
    wait_until(lambda: "1" in said(), 10, "the tapped button's switch")
    # A finger drags the button up; a mouse clicks a control meanwhile: the drag goes on.
    web.touch("touchStart", *web.at(*BUTTON_BODY))
    web.frames()
    web.press("#zoom-fit")
    web.touch("touchMove", *web.at(620, 300))
    web.frames()
    web.touch("touchEnd")
    wait_until(lambda: web.canvas().getpixel((632, 312)) != CANVAS, 10, "the button dragged")
    # Closer with +, about the last press, and back.
    for _ in range(3):
        web.tap("#zoom-in")
    pin = "(c => [c.clientWidth * 16 / 1600, c.parentNode.clientWidth])(document.getElementById"
    assert web.evaluate(pin + "('canvas'))")[0] >= 24
    web.tap("#zoom-fit")
    # A finger whose capture is lost (its up never comes) is forgotten: the next one drags.
    web.evaluate("(c => c.addEventListener('pointerdown', (e) => { c.lost = new PointerEvent("
                 "'lostpointercapture', e); }))(document.getElementById('canvas'))")
    web.touch("touchStart", *web.at(300, 800))
    web.evaluate("(c => c.dispatchEvent(c.lost))(document.getElementById('canvas'))")
    Finger(web).drag((632, 312), (632, 600))
    wait_until(lambda: web.canvas().getpixel((632, 612)) != CANVAS, 10, "the button dragged")
    # The wheel with Ctrl zooms, about the mouse; a wheel alone scrolls.
    web.wheel(*web.at(800, 450), -1000, True)
    assert web.evaluate(WIDTH) > fitted
    scrolled = "document.getElementById('viewport').scrollTop"
    web.evaluate(scrolled + " = 0")
    web.wheel(*web.at(800, 450), 100, False)
    wait_until(lambda: web.evaluate(scrolled) > 0, 10, "the view scrolled")


# A button, an OR and a lamp placed; the button wired to the OR's input A, the OR to the lamp;
# the button switched on, the OR dragged down, the button switched off. Places in canvas
# pixels, each a multiple of 8 as the keyboard pointer's steps make them from Button 1's
# middle (632, 632), where it starts; what happens there: a key, a click, or a drag to a place.
BUTTON, OR, LAMP = (1016, 248), (1216, 376), (1400, 376)
SESSION = [(BUTTON, "i"), (OR, "o"), (LAMP, "l"), ((1048, 248), "click"),
           ((1152, 360), "click"), ((1280, 376), "click"), ((1368, 376), "click"),
           (BUTTON, "click"), (OR, (1216, 504)), (BUTTON, "click")]
# The words for each part and what was said, without the places: the program has the parts
# where the pointer's pixel fell in the page's, a pixel off, maybe, the same by keys or mouse.
PLACES = re.compile(r",? (at|to) \d+, \d+")
UNWIRED = "input A not wired; input B not wired; output not wired"
WORDS = [gate + ": " + UNWIRED for gate in ["AND 1", "NAND 1", "OR 1", "NXOR 1"]] + [
    "Button 1, off: output not wired", "Lamp 1, dark: input not wired",
    "Button 2, off: output to input A of OR 2 carrying 0",
    "OR 2: input A from Button 2 carrying 0; input B not wired; output to Lamp 2 carrying 0",
    "Lamp 2, dark: input from OR 2 carrying 0"]
SAID = ["Button 2 placed.", "OR 2 placed.", "Lamp 2 placed.", "Button 2 switched on.",
        "Wire added from Button 2 to input A of OR 2.", "Wire added from OR 2 to Lamp 2.",
        "Lamp 2 lit.", "OR 2 moved.", "Button 2 switched off.", "Lamp 2 went dark."]
MODULE = "import(new URL(document.body.dataset.build + '/%s.js', location.href).href)"
# From now: what the live region says and when, the last release, any pointing but the keys'.
HEAR = """window.heard = []; window.pointed = 0;
addEventListener('mouseup', () => released = performance.now(), true);
for (const type of ['pointerdown', 'pointermove', 'mousedown', 'touchstart', 'wheel'])
  addEventListener(type, (event) => { pointed += event.isTrusted; }, true);
new MutationObserver(() => heard.push([performance.now(), changes.textContent]))
  .observe(changes, {childList: true, characterData: true, subtree: true});"""
COUNTS = "Promise.all([%s.then(r => r.upkeep.asked), heard.length, %s.then(t => t.upkeep.times)])" \
    % (MODULE % "circuit-region", MODULE % "trace-panel")
POINTER = "document.getElementById('pointer-place').textContent"


class Keyboard:
    """The page's keyboard pointer, moved in its steps, clicking and dragging by keys alone."""
    STEPS = [("End", "Home", 64, 0), ("ArrowRight", "ArrowLeft", 8, 0),
             ("PageDown", "PageUp", 64, 1), ("ArrowDown", "ArrowUp", 8, 1)]

    def __init__(self, web):
        self.web, self.here = web, (632, 632)
        self.tap("BracketRight")  # to the part nearest the middle of the view

    def tap(self, code, down=True, up=True):
        for pressed in [True] * down + [False] * up:
            self.web.key(code, pressed)
        self.web.frames()

    def move(self, *to):
        for more, fewer, step, axis in self.STEPS:
            while abs(to[axis] - self.here[axis]) >= step:
                ahead = to[axis] > self.here[axis]
                self.tap(more if ahead else fewer)
                self.here = tuple(h + (step if ahead else -step) * (i == axis)
                                  for i, h in enumerate(self.here))

    def keys(self, names, down=True):
        self.tap("Key" + names[0].upper(), down, not down)

    def click(self, *at):
        self.move(*at)
        self.tap("Enter")

    def drag(self, start, end):
        self.move(*start)
        self.tap(" ", up=False)  # the space bar, as both drivers name it
        self.move(*end)
        self.tap(" ", down=False)


def built(web, ui, after_each=lambda step: None):
    """The session by `ui`; once the program has heard all of it, its trace and canvas."""
    for step, (at, action) in enumerate(SESSION):
        if action == "click":
            ui.click(*at)
        elif isinstance(action, tuple):
            ui.drag(at, action)
        else:
            ui.move(*at)
            ui.keys([action])
            ui.keys([action], False)
        after_each(step)
    wait_until(lambda: "0" in web.lines()[-40:] and "20008-9" in web.lines(), 30, "the end")
    return as_runs(web.lines()), web.canvas().tobytes()


def first_said(web, sentence):  # by the page's clock, once it has been
    return wait_until(lambda: next((t for t, said in web.evaluate("heard") if sentence in said), 0),
                      10, sentence)


def test_built_by_the_keyboard_alone_as_by_the_mouse_and_every_part_and_change_said(page):
    laptop = {"width": 1366, "height": 768}
    mouse = page(viewport=laptop).show()
    by_mouse = built(mouse, mouse)
    mouse.close()
    web = page(viewport=laptop).show()
    web.evaluate(HEAR)
    keyboard = Keyboard(web)
    wait_until(lambda: web.evaluate(POINTER) == "Pointer over Button 1", 10, "where it points")

    def lit_soon(step):  # the button switched on: the lamp is said lit within a second
        if SESSION[step] == (BUTTON, "click") and "Lamp 2 lit." not in str(web.evaluate("heard")):
            assert first_said(web, "Lamp 2 lit.") - web.evaluate("released") < 1000
    assert built(web, keyboard, lit_soon) == by_mouse and web.evaluate("pointed") == 0
    first_said(web, "Lamp 2 went dark.")
    said = web.evaluate("heard")
    sentences = [PLACES.sub("", s.strip()) + "." for _, text in said for s in text.split(".")]
    assert sorted(s for s in sentences if s in SAID) == sorted(SAID)  # each once, soon and
    assert all(b - a > 850 for (a, _), (b, _) in zip(said, said[1:]))  # never chattering
    told = web.told() if web.browser == "chromium" else [  # Firefox: what the page holds for it
        ("option", o, "") for o in web.evaluate("[...parts.children].map(o => o.textContent)")]
    names = [name for role, name, _ in told if role == "option"]
    assert [PLACES.sub("", name) for name in names] == WORDS
    roles = {role: (name, described) for role, name, described in told}
    assert web.browser == "firefox" or roles["application"][0].startswith("Velkora") and "Tab" \
        in roles["application"][1] and [roles[r][0] for r in ["region", "listbox", "log"]] == [
            "Circuit", "Parts", "Trace"] and "status" in roles
    web.evaluate("parts.firstChild.focus()")  # chosen in the list, a part takes the pointer
    for key in ["End", "Enter"]:
        web.key(key)
        web.key(key, False)
    wait_until(lambda: web.evaluate(POINTER) == "Pointer over Lamp 2", 10, "the chosen lamp")


def test_a_circuit_that_only_runs_is_neither_asked_about_nor_said(page):
    web = page().show()
    shown = web.evaluate(WIDTH)  # however much is said, the canvas stays put under the pointer
    web.evaluate("changes.textContent = 'Lamp 1 lit. '.repeat(100)")
    web.frames()
    assert web.evaluate(WIDTH) == shown
    web.evaluate(HEAR)
    web.live_wires(100)
    first_said(web, "Lamps 2, 3, 4, ")  # lit, at once
    asked, said, frames = web.evaluate(COUNTS)
    time.sleep(5)
    assert web.evaluate(COUNTS)[:2] == [asked, said] and web.evaluate(COUNTS)[2] > frames
