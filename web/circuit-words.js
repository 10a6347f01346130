// The circuit in words: the names a person would use ("AND 2", "Button 1", "Lamp 1"), every
// part with its place, pins, wiring and state, and what changed between two answers of the
// program's circuit query (app/circuit_query_web.cpp).

// A gate's pins, then a button's and a lamp's; `which` is an input's pin in the answer's wires.
const PINS = {
  gate: [{name: 'input A', which: 0}, {name: 'input B', which: 1}, {name: 'output'}],
  Button: [{name: 'output'}],
  Lamp: [{name: 'input', which: 2}],
};

function group(wires, end) {
  const by = new Map();
  for (const wire of wires) {
    if (!by.has(wire[end])) by.set(wire[end], []);
    by.get(wire[end]).push(wire);
  }
  return by;
}

// One answer, read: the parts by id, each with its name (numbered per kind in the order
// placed, which is the answer's order within a kind) and its pins' names and places; the
// wires, also by either end; the selection.
export function read(answer) {
  const parts = new Map(), counts = {};
  for (const part of answer.parts) {  // the answer's own objects, filled in
    counts[part.kind] = (counts[part.kind] ?? 0) + 1;
    part.name = `${part.kind} ${counts[part.kind]}`;
    part.pins = (PINS[part.kind] ?? PINS.gate).map(({name, which}, i) =>
      ({name, which, at: part.pins[i]}));
    parts.set(part.id, part);
  }
  const wires = answer.wires.map(([to, pin, from, value]) => ({to, pin, from, value}));
  const [to, pin, from] = answer.selected;
  return {parts, wires, into: group(wires, 'to'), out: group(wires, 'from'),
          selected: {to, pin, from}};
}

const place = ([x, y]) => `${x}, ${y}`;
// The input a wire feeds: a lamp by its name, a gate's input by its own.
function feeds(circuit, wire) {
  const part = circuit.parts.get(wire.to);
  return part.kind === 'Lamp' ? part.name : `input ${'AB'[wire.pin]} of ${part.name}`;
}

function selected(circuit, part, pin) {
  const {to, pin: which, from} = circuit.selected;
  return pin.which === undefined ? from === part.id : to === part.id && which === pin.which;
}

// "Lamp 1, lit, at 732, 732: input from OR 1 carrying 1"
export function describe(circuit, part) {
  const state = part.kind === 'Button' ? (part.on ? ', on' : ', off') :
    part.kind === 'Lamp' ? (part.lit ? ', lit' : ', dark') : '';
  const pins = part.pins.map((pin) => {
    const input = pin.which !== undefined;
    const ends = input ?
      (circuit.into.get(part.id) ?? []).filter((wire) => wire.pin === pin.which)
        .map((wire) => `${circuit.parts.get(wire.from).name} carrying ${wire.value}`) :
      (circuit.out.get(part.id) ?? []).map((wire) =>
        `${feeds(circuit, wire)} carrying ${wire.value}`);
    return pin.name + (selected(circuit, part, pin) ? ' (selected)' : '') +
      (ends.length ? (input ? ' from ' : ' to ') + ends.join(', ') : ' not wired');
  });
  return `${part.name}${state}, at ${place(part.at)}: ${pins.join('; ')}`;
}

// The selected pins, each as "Output of Button 1" or "Input A of OR 1".
function selection(circuit) {
  const {to, pin, from} = circuit.selected, pins = [];
  if (from) pins.push(`Output of ${circuit.parts.get(from).name}`);
  if (to) {
    const part = circuit.parts.get(to);
    pins.push(`${part.kind === 'Lamp' ? 'Input' : 'Input ' + 'AB'[pin]} of ${part.name}`);
  }
  return pins;
}

// "Lamp 1", "Lamps 2 and 3", "Lamps 2, 3 and 4": many lamps change at once, on a busy circuit.
function lamped(numbers) {
  const last = numbers.pop();
  return numbers.length ? `Lamps ${numbers.join(', ')} and ${last}` : `Lamp ${last}`;
}

// What the visitor did, then what followed, between two answers: sentences, none when
// nothing but the values on the wires changed.
export function changes(before, after) {
  const did = [], wired = [], switched = [], lit = [], dark = [];
  for (const part of after.parts.values()) {
    const old = before.parts.get(part.id);
    if (!old) {
      did.push(`${part.name} placed at ${place(part.at)}.`);
      continue;
    }
    if (place(old.at) !== place(part.at)) did.push(`${part.name} moved to ${place(part.at)}.`);
    if (old.on !== part.on) switched.push(`${part.name} switched ${part.on ? 'on' : 'off'}.`);
    if (old.lit !== part.lit) (part.lit ? lit : dark).push(part.name.slice('Lamp '.length));
  }
  const key = (wire) => `${wire.to} ${wire.pin} ${wire.from}`;
  for (const [one, other, done] of [[after, before, 'added'], [before, after, 'removed']]) {
    const there = new Set(other.wires.map(key));
    for (const wire of one.wires.filter((w) => !there.has(key(w))))
      wired.push(`Wire ${done} from ${one.parts.get(wire.from).name} to ${feeds(one, wire)}.`);
  }
  const was = selection(before), is = selection(after);
  const chosen = is.filter((pin) => !was.includes(pin)).map((pin) => `${pin} selected.`);
  const dropped = wired.length ? [] :  // a wire made or taken off clears the selection
    was.filter((pin) => !is.includes(pin)).map((pin) => `${pin} deselected.`);
  const lamps = [[lit, 'lit'], [dark, 'went dark']].filter(([numbers]) => numbers.length)
    .map(([numbers, what]) => `${lamped(numbers)} ${what}.`);
  return [...did, ...wired, ...switched, ...chosen, ...dropped, ...lamps];
}
