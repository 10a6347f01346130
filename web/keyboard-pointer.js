// The keyboard pointer: a pointer of the page's own, moved by keys the program does not use
// and drawn by the page over the canvas, which the program's pointer follows. With it every
// click and drag a mouse makes can be made from the keyboard, and its place is said in words.
//
//   Arrow keys            a step of 8 canvas pixels (half a pin)
//   Home, End             64 pixels left, right (a button's width)
//   Page Up, Page Down    64 pixels up, down
//   ] and [               to the next, the previous part
//   . and ,               to the next, the previous pin
//   Space                 the mouse button: held while the pointer moves, it drags
//   Enter                 a click (the keypad's too)
import {HEIGHT, WIDTH, canvas, notePress, toClient} from './canvas-space.js';
import {circuitNow, onChoose} from './circuit-region.js';
import {attachKeyboardPointer, moveTo, pointedAt, pressAt, releaseAt} from './input-gate.js';
import {shownCentre} from './view.js';

const STEP = 8, LEAP = 64, PIN = 16;
const viewport = document.getElementById('viewport');
const marker = document.getElementById('keyboard-pointer');
const where = document.getElementById('pointer-place');

const moves = {
  ArrowLeft: [-STEP, 0], ArrowRight: [STEP, 0], ArrowUp: [0, -STEP], ArrowDown: [0, STEP],
  Home: [-LEAP, 0], End: [LEAP, 0], PageUp: [0, -LEAP], PageDown: [0, LEAP],
};
const jumps = {BracketRight: [parts, 1], BracketLeft: [parts, -1], Period: [pins, 1],
               Comma: [pins, -1]};

let here = null;  // where the keyboard pointer is, in canvas pixels; null until first moved
let saying = 0;
const point = ([x, y]) => ({x, y});

function parts() {
  return [...(circuitNow()?.parts.values() ?? [])].map((part) => ({at: part.at, part}));
}
function pins() {
  return parts().flatMap(({part}) => part.pins.map((pin) => ({at: pin.at, part, pin})));
}

// What is at a canvas point, in words: a pin first (a click there selects it), then a part.
export function placeOf([x, y]) {
  const inside = ([cx, cy], w, h) => Math.abs(x - cx) <= w / 2 && Math.abs(y - cy) <= h / 2;
  const pin = pins().find((p) => inside(p.at, PIN, PIN));
  if (pin) return `on the ${pin.pin.name} pin of ${pin.part.name}`;
  const size = (part) => (['Button', 'Lamp'].includes(part.kind) ? [64, 64] : [128, 64]);
  const part = parts().reverse().find((p) => inside(p.at, ...size(p.part)));
  return part ? `over ${part.part.name}` : `at ${x}, ${y}, over nothing`;
}

function goTo(at) {
  here = [Math.min(Math.max(Math.round(at[0]), 0), WIDTH - 1),
          Math.min(Math.max(Math.round(at[1]), 0), HEIGHT - 1)];
  moveTo(point(here));
  notePress(point(here));  // the palette acts here too
  show();
  // Said once the pointer rests: a long move is not read out step by step.
  clearTimeout(saying);
  saying = setTimeout(() => { where.textContent = 'Pointer ' + placeOf(here); }, 500);
}

function show() {
  const {clientX, clientY} = toClient(point(here));
  const box = viewport.getBoundingClientRect();
  marker.style.left = clientX - box.left + viewport.scrollLeft + 'px';
  marker.style.top = clientY - box.top + viewport.scrollTop + 'px';
  marker.hidden = false;
  marker.scrollIntoView({block: 'nearest', inline: 'nearest'});
}

// The next or previous of `targets` after the one under the pointer, or the nearest.
function jump([list, direction]) {
  const targets = list();
  if (!targets.length) return;
  const distance = (t) => Math.hypot(t.at[0] - here[0], t.at[1] - here[1]);
  const at = targets.findIndex((t) => distance(t) === 0);
  const nearest = targets.reduce((a, b) => (distance(b) < distance(a) ? b : a));
  goTo(at < 0 ? nearest.at : targets[(at + direction + targets.length) % targets.length].at);
}


function key(event, down) {
  const code = event.code === 'NumpadEnter' ? 'Enter' : event.code;
  if (!(code in moves || code in jumps || code === 'Space' || code === 'Enter')) return false;
  // It goes on from where the program's pointer is: the mouse or a finger may have moved it.
  const pointed = pointedAt(), centre = shownCentre();
  here = pointed ? [pointed.x, pointed.y] : here ?? [centre.x, centre.y];
  if (!down) {
    if (code === 'Space') releaseAt('keyboard', point(here));
  } else if (code in moves) {
    goTo([here[0] + moves[code][0], here[1] + moves[code][1]]);
  } else if (code in jumps) {
    jump(jumps[code]);
  } else if (!event.repeat) {
    goTo(here);
    pressAt('keyboard', point(here));
    if (code === 'Enter') releaseAt('keyboard', point(here));
  }
  return true;
}

attachKeyboardPointer({key, pointed: () => { marker.hidden = true; }});
canvas.addEventListener('blur', () => { marker.hidden = true; });
onChoose((at) => {
  canvas.focus();
  goTo([at.x, at.y]);
});
