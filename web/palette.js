// The palette: a control for everything a key does, for visitors without a keyboard. Each
// gives the program its key's events, through the input gate, where the visitor last pressed
// on the canvas (or in the middle of the view).
import {lastPressOnCanvas} from './canvas-space.js';
import {playKeys} from './input-gate.js';
import {shownCentre} from './view.js';

for (const control of document.querySelectorAll('#palette button')) {
  control.addEventListener('click', () => {
    playKeys(control.dataset.keys.split(' '), lastPressOnCanvas() ?? shownCentre());
  });
}
