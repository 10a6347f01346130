// The "Circuit" region: every part in a list a screen reader walks and the keyboard chooses
// from, and a polite live region saying what changed, both made from the program's circuit
// query and asked for only when something may have changed. What it offers the other modules:
// - circuitMayHaveChanged(): the program was given a key or a press; asks after its next frame.
// - traced(line): a line the program printed; any but a live wire's means a change.
// - afterFrame(): the program's frame has ended (Module.postMainLoop); asks if it should.
// - onChoose(listener): listener({x, y}, name) when the visitor chooses a part in the list
//   (Enter, Space or a click): the part's centre in canvas pixels, and its name.
// - circuitNow(): the circuit as last asked for (see read() in circuit-words.js): every part
//   by id with its name, place, and pins with their names and places; the wires; the selection.
// - upkeep: how often it asked, and the milliseconds the query took and all of it did.
import {changes, describe, read} from './circuit-words.js';

const list = document.getElementById('parts');
const said = document.getElementById('changes');
// Said at most about once a second (a little less, so that what changed is said within one):
// what changes meanwhile is said together, at the end of the quiet.
const QUIET_MS = 900;
// Printed for every wire that carries a 1 out of a gate, every frame: no news.
const LIVE_WIRE = /^\d+-\d+$/;

export const upkeep = {asked: 0, queryMs: 0, ms: 0};
const listeners = [];
let wanted = true;  // the first frame is asked about: the start-up circuit
let circuit = null, baseline = null, lastSaid = -Infinity, timer = 0;

export function circuitNow() {
  return circuit;
}

export function onChoose(listener) {
  listeners.push(listener);
}

export function circuitMayHaveChanged() {
  wanted = true;
}

export function traced(line) {
  if (!LIVE_WIRE.test(line)) wanted = true;
}

export function afterFrame() {
  if (!wanted) return;
  wanted = false;
  const start = performance.now();
  const answer = JSON.parse(Module.UTF8ToString(Module._velkoraCircuit()));
  const asked = performance.now();
  circuit = read(answer);
  baseline ??= circuit;
  showParts();
  upkeep.asked++;
  upkeep.queryMs += asked - start;
  upkeep.ms += performance.now() - start;
  sayLater();
}

// Parts are never removed: each keeps its item, and only text that changed is written, so
// the item a screen reader or the focus is on stays where it is.
const shown = new Map();  // part id → its item and the text it shows
function showParts() {
  for (const part of circuit.parts.values()) {
    let item = shown.get(part.id);
    if (!item) {
      const node = list.appendChild(document.createElement('li'));
      node.setAttribute('role', 'option');
      node.dataset.id = part.id;
      node.tabIndex = shown.size ? -1 : 0;  // the list is one stop for Tab
      shown.set(part.id, item = {node, text: ''});
    }
    const text = describe(circuit, part);
    if (item.text !== text) item.node.textContent = item.text = text;
  }
}

function sayLater() {
  if (timer) return;
  const wait = lastSaid + QUIET_MS - performance.now();
  if (wait <= 0) say();
  else timer = setTimeout(say, wait);
}

function say() {
  const start = performance.now();
  timer = 0;
  const sentences = changes(baseline, circuit);
  baseline = circuit;
  if (sentences.length) {
    said.textContent = sentences.join(' ');
    lastSaid = start;
  }
  upkeep.ms += performance.now() - start;
}

function activate(item) {
  for (const other of list.querySelectorAll('[tabindex="0"]')) {
    other.tabIndex = -1;
    other.removeAttribute('aria-selected');
  }
  item.tabIndex = 0;
  item.setAttribute('aria-selected', 'true');
  item.focus();
}

function choose(item) {
  const part = circuit.parts.get(Number(item.dataset.id));
  for (const listener of listeners) listener({x: part.at[0], y: part.at[1]}, part.name);
}

list.addEventListener('keydown', (event) => {
  const items = [...list.children], at = items.indexOf(document.activeElement);
  const to = {ArrowDown: at + 1, ArrowUp: at - 1, Home: 0, End: items.length - 1}[event.key];
  if (to !== undefined) {
    activate(items[Math.min(Math.max(to, 0), items.length - 1)]);
  } else if (event.key === 'Enter' || event.key === ' ') {
    choose(items[at]);
  } else {
    return;
  }
  event.preventDefault();
});
list.addEventListener('click', (event) => {
  const item = event.target.closest('[role="option"]');
  if (!item) return;
  activate(item);
  choose(item);
});
