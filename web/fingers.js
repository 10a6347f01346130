// Fingers, as the input gate hands them on: one finger is the mouse once it is clearly one
// finger's work; two zoom and move the view, as one does while the view control is on.
import {toCanvas} from './canvas-space.js';
import {panBy, panning, zoomBy} from './view.js';

const SLOP = 8;          // CSS pixels a finger may stray and still be still
const LONG_PRESS = 150;  // milliseconds a still finger waits alone before it presses

// `mouse` gives the program a press, a move and a release ({press, move, release}, each at
// canvas pixels). A finger's press is given only once no second finger can make it part of a
// pinch: when it lifts (a tap), strays (a drag) or stays alone a while (a long press); it is
// given where the finger came down. A second finger, or a cancel, before then gives nothing.
export function fingerGestures(mouse) {
  const fingers = new Map();  // pointer id: its last place on the page
  let lone = null;            // the finger that is, or may become, the mouse

  function give() {
    if (!lone || lone.given) return;
    clearTimeout(lone.timer);
    lone.given = true;
    mouse.press(lone.start);
  }
  function end(at) {
    if (!lone) return;
    clearTimeout(lone.timer);
    if (lone.given) mouse.release(at);
    lone = null;
  }
  const lastAt = () => lone && toCanvas(fingers.get(lone.id).x, fingers.get(lone.id).y);

  function spread() {
    const [a, b] = fingers.values();
    return {x: (a.x + b.x) / 2, y: (a.y + b.y) / 2, apart: Math.hypot(a.x - b.x, a.y - b.y)};
  }

  return {
    down(event) {
      fingers.set(event.pointerId, {x: event.clientX, y: event.clientY});
      if (fingers.size === 1 && !panning) {
        lone = {id: event.pointerId, x: event.clientX, y: event.clientY, given: false,
                start: toCanvas(event.clientX, event.clientY), timer: setTimeout(give, LONG_PRESS)};
      } else {
        end(lastAt());
      }
    },
    move(event) {
      const last = fingers.get(event.pointerId);
      if (!last) return;
      const before = fingers.size > 1 && spread();
      fingers.set(event.pointerId, {x: event.clientX, y: event.clientY});
      if (before) {
        const after = spread();
        panBy(after.x - before.x, after.y - before.y);
        if (before.apart > 0) zoomBy(after.apart / before.apart, after.x, after.y);
      } else if (lone) {
        if (Math.hypot(event.clientX - lone.x, event.clientY - lone.y) > SLOP) give();
        if (lone.given) mouse.move(toCanvas(event.clientX, event.clientY));
      } else if (panning) {
        panBy(event.clientX - last.x, event.clientY - last.y);
      }
    },
    up(event) {
      if (lone?.id === event.pointerId) {
        give();
        end(toCanvas(event.clientX, event.clientY));
      }
      fingers.delete(event.pointerId);
    },
    // A cancel, or a capture lost without the finger's up: it ends where it was last seen.
    lost(event) {
      if (!fingers.has(event.pointerId)) return;
      if (lone?.id === event.pointerId) end(lastAt());
      fingers.delete(event.pointerId);
    },
    forget() {
      end(lastAt());
      fingers.clear();
    },
  };
}
