// What the page feeds the program on the visitor's behalf: key and mouse events as a
// keyboard and mouse would give them, one step per animation frame.
//
// The program reads the pointer at the top of its frame and every held key whenever it
// handles one: Shift and A pressed in one frame would both act with Shift and A held, and a
// press would act where the pointer is by then. So each step waits for a frame of its own,
// as a person's key presses and clicks do.

export const canvas = document.getElementById('canvas');
export const WIDTH = 1600, HEIGHT = 900;  // the program's own pixels

const steps = [];
let stepping = false;

function nextStep() {
  const step = steps.shift();
  if (step) step();
  if (steps.length) requestAnimationFrame(nextStep);
  else stepping = false;
}

// Queues steps; each runs in an animation frame after the one before.
export function inFrames(...queued) {
  steps.push(...queued);
  if (!stepping) {
    stepping = true;
    requestAnimationFrame(nextStep);
  }
}

// The canvas's own pixels under a point of the page, and back: the drawing stays 1600 by
// 900 whatever size and scroll it is shown at.
export function toCanvas(clientX, clientY) {
  const box = canvas.getBoundingClientRect();
  return {x: (clientX - box.left) * WIDTH / box.width,
          y: (clientY - box.top) * HEIGHT / box.height};
}
export function toClient({x, y}) {
  const box = canvas.getBoundingClientRect();
  return {clientX: box.left + x * box.width / WIDTH, clientY: box.top + y * box.height / HEIGHT};
}

// The program hears a mouse button let go anywhere on the page, so that a drag may end off
// the canvas, but pressed only on the canvas. A release whose press was elsewhere (the mouse
// events a browser makes up for a tap on a control, say) would end a press the page is
// giving it for a finger: the program hears a release only after a press it heard.
let pressedOnCanvas = false;
window.addEventListener('mousedown', (event) => {
  if (event.isTrusted) pressedOnCanvas = event.target === canvas;
}, {capture: true});
window.addEventListener('mouseup', (event) => {
  if (event.isTrusted && !pressedOnCanvas) event.stopImmediatePropagation();
  if (event.isTrusted) pressedOnCanvas = false;
}, {capture: true});

// Where the visitor last pressed on the canvas, in canvas pixels: where the palette acts.
let lastPress = null;
canvas.addEventListener('pointerdown', (event) => {
  lastPress = toCanvas(event.clientX, event.clientY);
});
export function lastPressOnCanvas() {
  return lastPress;
}

export function sendMouse(type, at) {
  canvas.dispatchEvent(new MouseEvent(type, {
    ...toClient(at), button: 0, buttons: type === 'mouseup' ? 0 : 1,
    bubbles: true, cancelable: true, view: window,
  }));
}

// The fields the program's key handling reads: the key's place on the keyboard (code) and
// its legacy key code, which the event's constructor cannot set.
export function keyFields(event) {
  return {code: event.code, key: event.key, keyCode: event.keyCode, location: event.location};
}

export function sendKey(type, fields) {
  const event = new KeyboardEvent(type, {
    code: fields.code, key: fields.key, location: fields.location,
    bubbles: true, cancelable: true, view: window,
  });
  Object.defineProperty(event, 'keyCode', {value: fields.keyCode});
  Object.defineProperty(event, 'which', {value: fields.keyCode});
  canvas.dispatchEvent(event);
}
