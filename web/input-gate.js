// The input gate: the one way into the program. Every key, click, finger and palette press
// reaches it through here, exactly once, as the events a keyboard and a mouse would give; no
// other module dispatches events to the canvas or stops them.
//
// What SDL's browser backend listens to, and what the gate does with it:
//
//   DOM event                     SDL listens on   the gate
//   keydown, keyup, keypress      the canvas       stops trusted ones at the window; gives a
//                                                  key's press and release as steps, but for
//                                                  Tab, the F-keys and Ctrl, Alt or Meta
//                                                  chords, which stay the browser's
//   mousedown, mousemove,         the canvas       stops trusted ones at the window: pointer
//   mouseenter, mouseleave                         events make the program's mouse, as steps
//   mouseup                       the document     the same
//   wheel                         the canvas       stops it at the viewport: Ctrl+wheel (and a
//                                                  trackpad's pinch) zooms the view, a wheel
//                                                  scrolls it; the program uses none
//   touchstart, touchmove,        the canvas       stops them at the viewport, passively:
//   touchend, touchcancel                          fingers come as pointer events (fingers.js)
//   focus, blur                   the window       stops them: SDL would let go of the keys
//                                                  behind the gate's back; the gate does that
//   visibilitychange, resize,     the document,    leaves them: there is no input in them
//   fullscreenchange,             the window
//   pointerlockchange, beforeunload
import {canvas, notePress, toCanvas, toClient} from './canvas-space.js';
import {circuitMayHaveChanged} from './circuit-region.js';
import {fingerGestures} from './fingers.js';
import {panBy, panning, zoomBy} from './view.js';

// What the program has been told, counting the steps still queued (each is given, in turn):
// the keys it holds, by their place on the keyboard; who holds its mouse button down (the
// mouse or a finger), if anyone; and where its pointer is, in canvas pixels. A palette chord
// is queued whole, so it owns its keys: nothing can come between its steps, and its keys are
// never among those held here for anyone else to let go.
const told = {keys: new Map(), button: null, at: null};

// The program reads the pointer once, at the top of a frame, and drags by how far it moved
// since the frame before; it reads every held key whenever it handles one. A press given in
// the frame of the move that took the pointer there would drag what it picked by the whole
// move, a release given in the frame of its press would be undone before the program looked.
// So steps wait here and are given one a frame, just before it, as a person's hands make them.
const queue = [];

export function beforeProgramFrame() {
  if (!queue.length) return;
  const step = queue.shift();
  give(step);
  // A key or a click may change the circuit, which the page then asks after this frame.
  if (step.type !== 'mousemove') circuitMayHaveChanged();
}

function give({type, at, fields}) {
  if (type.startsWith('mouse')) {
    // At a whole pixel of the page, as a mouse gives it: the same canvas point then reaches
    // the program as the same pixel, whoever points at it.
    const {clientX, clientY} = toClient(at);
    canvas.dispatchEvent(new MouseEvent(type, {
      clientX: Math.round(clientX), clientY: Math.round(clientY), button: 0,
      buttons: type === 'mouseup' ? 0 : 1, bubbles: true, cancelable: true, view: window,
    }));
    return;
  }
  const event = new KeyboardEvent(type, {
    code: fields.code, key: fields.key, location: fields.location,
    bubbles: true, cancelable: true, view: window,
  });
  // The legacy key code, which SDL reads and the constructor cannot set.
  Object.defineProperty(event, 'keyCode', {value: fields.keyCode});
  Object.defineProperty(event, 'which', {value: fields.keyCode});
  canvas.dispatchEvent(event);
}

export function moveTo(at) {
  told.at = at;
  const last = queue[queue.length - 1];
  if (last?.type === 'mousemove') last.at = at;  // only the latest place matters
  else queue.push({type: 'mousemove', at});
}

export function pressAt(owner, at) {
  moveTo(at);
  if (told.button) return;
  told.button = owner;
  queue.push({type: 'mousedown', at});
}

// The program hears a release only after a press it heard, and from whoever pressed.
export function releaseAt(owner, at = told.at) {
  if (told.button !== owner) return;
  moveTo(at);
  told.button = null;
  queue.push({type: 'mouseup', at});
}

function keyDown(fields) {
  told.keys.set(fields.code, fields);
  queue.push({type: 'keydown', fields});  // held already: an auto-repeat
}

function keyUp(code) {
  const fields = told.keys.get(code);
  if (!fields) return;
  told.keys.delete(code);
  queue.push({type: 'keyup', fields});
}

function releaseKeys() {
  for (const code of [...told.keys.keys()].reverse()) keyUp(code);
}
function releaseAll() {
  releaseKeys();
  if (told.button) releaseAt(told.button);
  fingers.forget();
}

// A palette control: its keys pressed in order at `at`, then released in reverse, each in a
// frame of its own, as fingers on keys make them.
export function playKeys(codes, at) {
  const keys = codes.map(keyboardFields);
  moveTo(at);
  for (const fields of keys) keyDown(fields);
  for (const {code} of keys.reverse()) keyUp(code);
}

// What a keyboard reports for a key the program uses.
function keyboardFields(code) {
  if (code === 'ShiftLeft') return {code, key: 'Shift', keyCode: 16, location: 1};
  const letter = code.slice(3);  // KeyA
  return {code, key: letter.toLowerCase(), keyCode: letter.charCodeAt(0), location: 0};
}

// The keys. The browser keeps Tab (so it leaves the canvas), the F-keys and every Ctrl, Alt
// or Meta chord (Ctrl+L goes to the address bar and places no lamp); the program uses none.
// The page keeps its own: the keyboard pointer's (keyboard-pointer.js), whose `key(event,
// down)` answers whether a key is one of them, and whose `pointed()` hears that the mouse or a
// finger moved the program's pointer.
let keyboardPointer = {key: () => false, pointed() {}};
export function attachKeyboardPointer(pointer) {
  keyboardPointer = pointer;
}
export function pointedAt() {
  return told.at;
}
function browsers(event) {
  return event.key === 'Tab' || event.ctrlKey || event.altKey || event.metaKey ||
         /^F\d+$/.test(event.key);
}
window.addEventListener('keydown', (event) => {
  if (!event.isTrusted) return;
  // A browser sends no focus events to a window the system has not made active (Firefox,
  // for one): a key elsewhere on the page means the canvas was left.
  if (event.target !== canvas) return releaseKeys();
  event.stopImmediatePropagation();
  if (browsers(event)) return;
  event.preventDefault();
  if (keyboardPointer.key(event, true)) return;
  keyDown({code: event.code, key: event.key, keyCode: event.keyCode, location: event.location});
}, {capture: true});
window.addEventListener('keyup', (event) => {
  if (!event.isTrusted || event.target !== canvas) return;
  event.stopImmediatePropagation();
  if (!keyboardPointer.key(event, false)) keyUp(event.code);
}, {capture: true});
window.addEventListener('keypress', (event) => {
  if (event.isTrusted && event.target === canvas) event.stopImmediatePropagation();
}, {capture: true});

// The mouse. SDL's own mouse listeners hear only the gate's events.
for (const type of ['mousedown', 'mousemove', 'mouseup', 'mouseenter', 'mouseleave']) {
  window.addEventListener(type, (event) => {
    if (event.isTrusted && (event.target === canvas || type === 'mouseup')) {
      event.stopImmediatePropagation();
    }
  }, {capture: true});
}

const fingers = fingerGestures({
  press: (at) => pressAt('finger', at),
  move: moveTo,
  release: (at) => releaseAt('finger', at),
});
let grab = null;  // the mouse moving the view, while the view control is on: its last place

canvas.addEventListener('pointerdown', (event) => {
  canvas.focus();  // a press on the canvas gives it the keys
  canvas.setPointerCapture(event.pointerId);  // a drag may leave the canvas
  const at = toCanvas(event.clientX, event.clientY);
  notePress(at);
  keyboardPointer.pointed();
  if (event.pointerType === 'touch') fingers.down(event);
  else if (panning) grab = {x: event.clientX, y: event.clientY};
  else pressAt('mouse', at);
});
canvas.addEventListener('pointermove', (event) => {
  if (event.pointerType === 'touch') {
    fingers.move(event);
  } else if (grab) {
    panBy(event.clientX - grab.x, event.clientY - grab.y);
    grab = {x: event.clientX, y: event.clientY};
  } else if (!panning) {
    moveTo(toCanvas(event.clientX, event.clientY));
    keyboardPointer.pointed();
  }
});
canvas.addEventListener('pointerup', (event) => {
  if (event.pointerType === 'touch') fingers.up(event);
  else releaseAt('mouse', toCanvas(event.clientX, event.clientY));
  grab = null;
});
// A cancel, or a capture lost without its pointer's up, ends what it held where it was.
for (const type of ['pointercancel', 'lostpointercapture']) {
  canvas.addEventListener(type, (event) => {
    if (event.pointerType === 'touch') fingers.lost(event);
    else releaseAt('mouse');
    grab = null;
  });
}

// The wheel and fingers over the canvas are the page's, never the program's.
const viewport = canvas.parentElement;
viewport.addEventListener('wheel', (event) => {
  event.stopPropagation();
  if (!event.ctrlKey) return;  // a wheel scrolls a zoomed view, as the browser does it
  event.preventDefault();
  const lines = event.deltaMode === WheelEvent.DOM_DELTA_LINE ? 16 : 1;
  zoomBy(Math.exp(-event.deltaY * lines / 400), event.clientX, event.clientY);
}, {capture: true, passive: false});
for (const type of ['touchstart', 'touchmove', 'touchend', 'touchcancel']) {
  viewport.addEventListener(type, (event) => event.stopPropagation(),
                            {capture: true, passive: true});
}

// Leaving the canvas, the window or the page lets go of everything held.
canvas.addEventListener('blur', releaseAll);
document.addEventListener('visibilitychange', () => {
  if (document.hidden) releaseAll();
});
for (const type of ['focus', 'blur']) {
  window.addEventListener(type, (event) => {
    if (event.target !== window) return;
    event.stopImmediatePropagation();
    if (type === 'blur') releaseAll();
  }, {capture: true});
}
window.addEventListener('pointerdown', (event) => {
  if (event.target !== canvas) releaseKeys();
}, {capture: true});
