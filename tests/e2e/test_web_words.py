"""The circuit in words: every part named, with its place, wiring and state, in a list a screen
reader walks; choosing one hands its place on; what the visitor did and what followed is said,
a burst at most once a second, and nothing is said or even asked of a circuit that only runs."""

import time

import pytest

from test_editing import BUTTON_BODY, BUTTON_OUT, LAMP_IN
from velkora_program import wait_until

OR_A, OR_B, OR_OUT = (200, 36), (200, 68), (328, 52)
UNWIRED = "input A not wired; input B not wired; output not wired"
WORDS = ["AND 1, at 124, 62: " + UNWIRED, "NAND 1, at 464, 62: " + UNWIRED,
         "OR 1, at 264, 52: input A from Button 1 carrying 1; input B (selected) not wired; "
         "output to Lamp 1 carrying 1", "NXOR 1, at 484, 192: " + UNWIRED,
         "Button 1, on, at 632, 632: output to input A of OR 1 carrying 1",
         "Lamp 1, lit, at 732, 732: input from OR 1 carrying 1"]
SAID = ["Wire added from Button 1 to input A of OR 1.", "Wire added from OR 1 to Lamp 1.",
        "Button 1 switched on.", "Lamp 1 lit.", "Input B of OR 1 selected."]
REGION = "import(new URL(document.body.dataset.build + '/circuit-region.js', location.href).href)"
# Frames whose lines the trace panel has shown.
TRACED = REGION.replace("circuit-region", "trace-panel") + ".then(t => t.upkeep.times)"
# What the live region says from now on, each with the page's clock, and when the program was
# last given a release.
HEAR = """(() => {
  const region = document.getElementById('changes');
  window.heard = [];
  addEventListener('mouseup', () => { window.released = performance.now(); }, true);
  new MutationObserver(() => heard.push([performance.now(), region.textContent]))
    .observe(region, {childList: true, characterData: true, subtree: true});
})()"""


def wire_and_switch(click):
    """Button → OR input A, OR → lamp, the button switched on, each by `click`."""
    for at in [BUTTON_OUT, OR_A, OR_OUT, LAMP_IN, BUTTON_BODY]:
        click(*at)


def options(web):
    """The list's items as a screen reader is told them (in Firefox, as the page holds them)."""
    if web.browser == "firefox":
        return web.evaluate("[...document.querySelectorAll('#circuit [role=option]')]"
                            ".map(option => option.textContent)")
    nodes = web.send("Accessibility.getFullAXTree")["nodes"]
    named = [(n.get("role", {}).get("value"), n.get("name", {}).get("value")) for n in nodes]
    assert ("region", "Circuit") in named and ("listbox", "Parts") in named
    return [name for role, name in named if role == "option"]


def heard(web, sentence):
    wait_until(lambda: any(sentence in text for _, text in web.evaluate("heard")), 10, sentence)
    return web.evaluate("heard")


def test_every_part_is_named_with_its_state_and_what_changed_is_said_once_and_soon(page):
    web = page(viewport={"width": 1366, "height": 768}).show()
    web.evaluate(HEAR)
    wire_and_switch(web.click)
    lit = next(t for t, text in heard(web, "Lamp 1 lit.") if "Lamp 1 lit." in text)
    assert lit - web.evaluate("released") < 1000
    web.click(*OR_B)
    said = heard(web, SAID[-1])
    sentences = [s.strip() + "." for _, text in said for s in text.split(".") if s.strip()]
    assert [s for s in sentences if s in SAID] == SAID  # each once, in order
    assert all(b - a > 850 for (a, _), (b, _) in zip(said, said[1:]))
    assert options(web) == WORDS
    # Shift+Tab from the trace reaches the list, a single stop; the keys choose in it.
    web.evaluate(REGION + ".then(r => r.onChoose((at, name) => window.chosen = [at, name]))")
    web.evaluate("document.getElementById('trace').focus()")
    for keys in [["ShiftLeft", "Tab"], ["End"], ["ArrowUp"], ["Enter"]]:
        for code, down in [(k, True) for k in keys] + [(k, False) for k in keys[::-1]]:
            web.key(code, down)
    assert web.evaluate("window.chosen") == [{"x": 632, "y": 632}, "Button 1"]
    web.press('#parts [data-id="5"]')
    assert web.evaluate("window.chosen") == [{"x": 264, "y": 52}, "OR 1"]


@pytest.mark.parametrize("page", ["chromium"], indirect=True)  # the same in every engine
def test_a_circuit_that_only_runs_is_neither_asked_about_nor_said(page):
    web = page().show()
    web.evaluate(HEAR)
    web.live_wires(100)
    heard(web, "Lamps 2, 3, 4, ")  # lit, at once
    counts = REGION + ".then(r => [r.upkeep.asked, heard.length])"
    before, frames = web.evaluate(counts), web.evaluate(TRACED)
    time.sleep(5)
    assert web.evaluate(counts) == before
    assert web.evaluate(TRACED) > frames  # it ran, and printed, meanwhile
