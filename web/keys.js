// Focus and keys: the program hears the keys as the visitor means them, and the keyboard
// never gets stuck in the canvas.
import {canvas, keyFields, sendKey} from './program-input.js';

// Keys the program has been told are down, by their place on the keyboard. The program
// sees a key released only if it hears the release; one released while the canvas had no
// focus would stay held for it, and every later key would act with it.
const held = new Map();
canvas.addEventListener('keydown', (event) => held.set(event.code, keyFields(event)));
canvas.addEventListener('keyup', (event) => held.delete(event.code));

function releaseAll() {
  for (const fields of [...held.values()].reverse()) sendKey('keyup', fields);
  held.clear();
}
canvas.addEventListener('blur', releaseAll);
document.addEventListener('visibilitychange', () => {
  if (document.hidden) releaseAll();
});
// A browser sends no focus events to a window the system has not made active (Firefox,
// for one), so a press or a key that lands elsewhere on the page counts as leaving too.
for (const type of ['pointerdown', 'keydown', 'keyup']) {
  window.addEventListener(type, (event) => {
    if (event.target !== canvas && held.size) releaseAll();
  }, {capture: true});
}

// The program's keyboard handling cancels the browser's own action for Tab, the F-keys and
// every Ctrl combination. Such keys are the browser's: they never reach the program, so Tab
// leaves the canvas and Ctrl+L, F5 or zooming the page work while it has the focus. The
// program uses none of them.
function isBrowsers(event) {
  return event.key === 'Tab' || event.ctrlKey || event.altKey || event.metaKey ||
         /^F\d+$/.test(event.key);
}
window.addEventListener('keydown', (event) => {
  if (event.target === canvas && isBrowsers(event)) event.stopImmediatePropagation();
}, {capture: true});
