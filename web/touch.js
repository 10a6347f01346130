// Touch: one finger is the mouse (a tap a click, a drag a drag); two fingers zoom and move
// the view, as does one finger while the view control is on.
import {canvas, inFrames, sendMouse, toCanvas} from './program-input.js';
import {panBy, panning, zoomBy} from './view.js';

// The program's own touch handling gives it no clicks; touches reach it only as the
// mouse events made here. Cancelling them also stops the browser's scrolling, zooming
// and made-up mouse events on the canvas; a touchcancel cannot be cancelled (trying logs
// an error).
for (const type of ['touchstart', 'touchmove', 'touchend', 'touchcancel']) {
  window.addEventListener(type, (event) => {
    if (event.target === canvas) {
      event.stopImmediatePropagation();
      if (event.cancelable) event.preventDefault();
    }
  }, {capture: true, passive: false});
}
// A mouse in the view control's hands moves the view, not the parts.
for (const type of ['mousedown', 'mousemove', 'mouseup']) {
  window.addEventListener(type, (event) => {
    if (panning && event.isTrusted && event.target === canvas) event.stopImmediatePropagation();
  }, {capture: true});
}

const fingers = new Map();  // pointer id: its last place on the page
let press = null;           // the finger that is the mouse: where it is, what it gave

// The press is given where the finger came down, however far it has moved by the time the
// steps before it have played out.
function pressWith(event) {
  const start = toCanvas(event.clientX, event.clientY);
  const mine = press = {at: start, down: false, gone: false};
  inFrames(() => sendMouse('mousemove', start), () => {
    if (!mine.gone) {
      sendMouse('mousedown', start);
      mine.down = true;
    }
  });
}

function moveTo(event) {
  press.at = toCanvas(event.clientX, event.clientY);
  if (!press.moving) {  // one move a frame, to the latest place
    const mine = press;
    mine.moving = true;
    inFrames(() => {
      mine.moving = false;
      sendMouse('mousemove', mine.at);
    });
  }
}

// The finger lifts: the press ends where it is, after what it queued.
function lift(event) {
  const mine = press;
  press = null;
  mine.at = toCanvas(event.clientX, event.clientY);
  inFrames(() => mine.down && sendMouse('mousemove', mine.at),
           () => mine.down && sendMouse('mouseup', mine.at));
}

// A second finger comes to zoom: a press not yet given never is; one given is released
// where the finger is.
function withdraw() {
  const mine = press;
  press = null;
  mine.gone = true;
  inFrames(() => mine.down && sendMouse('mouseup', mine.at));
}

function spread() {
  const [a, b] = [...fingers.values()];
  return {x: (a.x + b.x) / 2, y: (a.y + b.y) / 2, apart: Math.hypot(a.x - b.x, a.y - b.y)};
}

canvas.addEventListener('pointerdown', (event) => {
  if (event.pointerType !== 'touch' && !panning) return;
  canvas.setPointerCapture(event.pointerId);  // a drag may leave the canvas
  fingers.set(event.pointerId, {x: event.clientX, y: event.clientY});
  if (fingers.size === 1 && !panning) pressWith(event);
  else if (press) withdraw();
});

canvas.addEventListener('pointermove', (event) => {
  const last = fingers.get(event.pointerId);
  if (!last) return;
  if (fingers.size === 2) {
    const before = spread();
    fingers.set(event.pointerId, {x: event.clientX, y: event.clientY});
    const after = spread();
    panBy(after.x - before.x, after.y - before.y);
    if (before.apart > 0) zoomBy(after.apart / before.apart, after.x, after.y);
  } else {
    fingers.set(event.pointerId, {x: event.clientX, y: event.clientY});
    if (press) moveTo(event);
    else if (panning) panBy(event.clientX - last.x, event.clientY - last.y);
  }
});

function up(event) {
  if (fingers.delete(event.pointerId) && press) lift(event);
}
canvas.addEventListener('pointerup', up);
canvas.addEventListener('pointercancel', up);
