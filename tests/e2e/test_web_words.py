"""The circuit in words: each part named with its place, wiring and state in a list the keys choose
from; what changed is said soon and once; a circuit that only runs is not even asked about."""

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
MODULE = "import(new URL(document.body.dataset.build + '/%s.js', location.href).href)"
# From now: what the live region says and when, the last release, the asking and the printing.
HEAR = """window.heard = []; addEventListener('mouseup', () => released = performance.now(), true);
new MutationObserver(() => heard.push([performance.now(), changes.textContent]))
  .observe(changes, {childList: true, characterData: true, subtree: true});"""
COUNTS = "Promise.all([%s.then(r => r.upkeep.asked), heard.length, %s.then(t => t.upkeep.times)])" \
    % (MODULE % "circuit-region", MODULE % "trace-panel")


def wire_and_switch(click):
    """Button → OR input A, OR → lamp, the button switched on, each by `click`."""
    for at in [BUTTON_OUT, OR_A, OR_OUT, LAMP_IN, BUTTON_BODY]:
        click(*at)


def first_said(web, sentence):  # by the page's clock, once it has been
    return wait_until(lambda: next((t for t, said in web.evaluate("heard") if sentence in said), 0),
                      10, sentence)


def test_every_part_is_named_with_its_state_and_what_changed_is_said_once_and_soon(page):
    web = page(viewport={"width": 1366, "height": 768}).show()
    web.evaluate(HEAR)
    wire_and_switch(web.click)
    assert first_said(web, "Lamp 1 lit.") - web.evaluate("released") < 1000
    web.click(*OR_B)  # just after something was said
    assert first_said(web, SAID[-1]) - web.evaluate("released") < 1000
    said = web.evaluate("heard")
    sentences = [s.strip() + "." for _, text in said for s in text.split(".") if s.strip()]
    assert [s for s in sentences if s in SAID] == SAID  # each once, in order
    assert all(b - a > 850 for (a, _), (b, _) in zip(said, said[1:]))
    told = web.told() if web.browser == "chromium" else [  # Firefox: what the page holds for it
        ("option", o, "") for o in web.evaluate("[...parts.children].map(o => o.textContent)")]
    assert [name for role, name, _ in told if role == "option"] == WORDS
    named = {(role, name) for role, name, _ in told}
    assert web.browser == "firefox" or {("region", "Circuit"), ("listbox", "Parts")} <= named
    web.evaluate("parts.firstChild.focus();" + MODULE % "circuit-region" +
                 ".then(r => r.onChoose((...c) => chosen = c))")
    for key in ["End", "ArrowUp", "Enter"]:
        web.key(key)
        web.key(key, False)
    assert web.evaluate("chosen") == [{"x": 632, "y": 632}, "Button 1"]
    web.press('#parts [data-id="5"]')
    assert web.evaluate("chosen") == [{"x": 264, "y": 52}, "OR 1"]


@pytest.mark.parametrize("page", ["chromium"], indirect=True)  # the same in every engine
def test_a_circuit_that_only_runs_is_neither_asked_about_nor_said(page):
    web = page().show()
    web.evaluate(HEAR)
    web.live_wires(100)
    first_said(web, "Lamps 2, 3, 4, ")  # lit, at once
    asked, said, frames = web.evaluate(COUNTS)
    time.sleep(5)
    assert web.evaluate(COUNTS)[:2] == [asked, said] and web.evaluate(COUNTS)[2] > frames
