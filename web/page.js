// The page around the program: each concern in a module of its own, all loaded here, then
// the program itself.
import {canvas} from './canvas-space.js';
import {showKeyLabels} from './key-labels.js';
import './keyboard-pointer.js';
import './palette.js';
import {startProgram} from './start.js';

// The modules ran: the page's classic script, which says why where they cannot, stays quiet.
document.body.dataset.modules = '';

// Its right button has no menu on the canvas, as in the window.
canvas.addEventListener('contextmenu', (event) => event.preventDefault());

// A mouse or finger on a control of the palette or the view leaves the keyboard focus where
// it was (on the canvas, usually); from the keyboard a control is reached with Tab and
// pressed with Enter or Space.
document.getElementById('tools').addEventListener('mousedown', (event) => {
  if (event.target.closest('button')) event.preventDefault();
});

showKeyLabels();
startProgram();
