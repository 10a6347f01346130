// The view of the canvas: fitted to the space it has, or zoomed in (a pin big enough for a
// finger) and scrolled around.
import {HEIGHT, WIDTH, canvas, lastPressOnCanvas, toCanvas, toClient} from './canvas-space.js';

// Two screen pixels per canvas pixel: a 16-pixel pin is 32 px, comfortably touched.
const MOST = 2;
const viewport = document.getElementById('viewport');
const screen = document.getElementById('screen');
const zoomIn = document.getElementById('zoom-in');
const zoomOut = document.getElementById('zoom-out');
const panControl = document.getElementById('pan');

let scale = 0, fitted = true;

// The space it has is the screen's: the viewport inside it loses room to its scroll bars.
function fitScale() {
  return Math.min(screen.clientWidth / WIDTH, screen.clientHeight / HEIGHT);
}

// Sized through its CSS size: the program maps pointer positions back to its pixels through
// the box the canvas takes on the page, so the canvas has no border or padding. Fitted, the
// style sheet alone sizes it. The point of the canvas under (clientX, clientY) stays there.
export function zoomTo(next, clientX, clientY) {
  const fit = fitScale();
  next = Math.min(Math.max(next, fit), Math.max(MOST, fit));
  const at = toCanvas(clientX, clientY);
  scale = next;
  fitted = next === fit;
  canvas.classList.toggle('zoomed', !fitted);
  canvas.style.width = fitted ? '' : Math.floor(WIDTH * scale) + 'px';
  canvas.style.height = fitted ? '' : Math.floor(HEIGHT * scale) + 'px';
  const shown = toClient(at);
  viewport.scrollLeft += shown.clientX - clientX;
  viewport.scrollTop += shown.clientY - clientY;
  atLimit(zoomIn, scale >= Math.max(MOST, fit));
  atLimit(zoomOut, fitted);
}

// A control at its limit says so and does nothing, but keeps the focus: a disabled one would
// drop it to the page, and a click on it would take the keys from the canvas.
function atLimit(control, limited) {
  control.setAttribute('aria-disabled', String(limited));
}
function onClick(control, act) {
  control.addEventListener('click', () => {
    if (control.getAttribute('aria-disabled') !== 'true') act();
  });
}

export function zoomBy(factor, clientX, clientY) {
  zoomTo(scale * factor, clientX, clientY);
}

export function panBy(dx, dy) {
  viewport.scrollLeft -= dx;
  viewport.scrollTop -= dy;
}

function centre() {
  const box = viewport.getBoundingClientRect();
  return [box.left + box.width / 2, box.top + box.height / 2];
}

// The buttons zoom about where the visitor last pressed, while it is in view: tap the
// part to work on, then zoom in on it.
function focus() {
  const press = lastPressOnCanvas(), box = viewport.getBoundingClientRect();
  if (press) {
    const {clientX, clientY} = toClient(press);
    if (clientX >= box.left && clientX <= box.right && clientY >= box.top && clientY <= box.bottom)
      return [clientX, clientY];
  }
  return centre();
}

// Where the palette acts when nothing was pressed yet: the middle of what is shown.
export function shownCentre() {
  return toCanvas(...centre());
}

onClick(zoomIn, () => zoomBy(2, ...focus()));
onClick(zoomOut, () => zoomBy(0.5, ...focus()));
document.getElementById('zoom-fit').addEventListener('click', () => zoomTo(0, ...centre()));

// While on, a finger (or the mouse) moves the view rather than the parts.
export let panning = false;
panControl.addEventListener('click', () => {
  panning = !panning;
  panControl.setAttribute('aria-pressed', String(panning));
});

// A fitted view follows the space it has; a zoomed one keeps its scale. The screen is
// watched, not the viewport: sizing the canvas adds or drops the viewport's scroll bars, and
// so would resize what is watched from inside its own notification.
new ResizeObserver(() => zoomTo(fitted ? 0 : scale, ...centre())).observe(screen);
