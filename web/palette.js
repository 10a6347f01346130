// The palette: a control for everything a key does, for visitors without a keyboard. Each
// gives the program the key events its key would, where the visitor last pressed on the
// canvas.
import {inFrames, lastPressOnCanvas, sendKey, sendMouse} from './program-input.js';
import {shownCentre} from './view.js';

// What a keyboard reports for the keys the program uses.
function fieldsOf(code) {
  if (code === 'ShiftLeft') return {code, key: 'Shift', keyCode: 16, location: 1};
  const letter = code.slice(3);  // KeyA
  return {code, key: letter.toLowerCase(), keyCode: letter.charCodeAt(0), location: 0};
}

function press(codes) {
  const keys = codes.map(fieldsOf);
  const at = lastPressOnCanvas() ?? shownCentre();
  // Each key event in a frame of its own, as fingers on keys make them: the program reads
  // every held key at each press, so Shift and A pressed in one frame would act twice. The
  // pointer goes back with each press to where the visitor pressed (or to the middle of the
  // view): leaving the canvas for the palette left it at the canvas's edge.
  inFrames(
    ...keys.map((fields) => () => {
      sendMouse('mousemove', at);
      sendKey('keydown', fields);
    }),
    ...keys.reverse().map((fields) => () => sendKey('keyup', fields)));
}

for (const control of document.querySelectorAll('#palette button')) {
  control.addEventListener('click', () => press(control.dataset.keys.split(' ')));
}
