// Start and failure: loads the program, and says on the page whether it runs, and if it
// does not, why: never a blank page or a frozen canvas.
import {canvas} from './program-input.js';
import {afterFrame, traced} from './circuit-region.js';
import {print} from './trace-panel.js';

const statusLine = document.getElementById('status');
const hint = document.getElementById('hint');
const message = document.getElementById('message');
const reload = document.getElementById('reload');
// The program's files sit beside this one, in the folder of this build.
const build = new URL('./', import.meta.url);

let running = false, lastError = '';

// The first reason stands: the end that follows a lost context, say, is no news.
function fail(text, offerReload = false) {
  if (!message.hidden) return;
  running = false;
  document.getElementById('message-text').textContent = text;
  reload.hidden = !offerReload;
  message.hidden = false;
  statusLine.textContent = 'Not running.';
  hint.textContent = '';
}
reload.addEventListener('click', () => location.reload());

// Said where the focus is, but not in the status line: a screen reader announces that
// line whenever it changes, and the focus changes all the time.
function showHint() {
  if (running) {
    hint.textContent = document.activeElement === canvas ?
      'Keys act at the pointer.' : 'Click the canvas to give it the keys.';
  }
}
canvas.addEventListener('focus', showHint);
canvas.addEventListener('blur', showHint);

// The circuit lives in the drawing context's textures and the program's memory: a lost
// context (a graphics reset; phones reclaim them) cannot be brought back.
canvas.addEventListener('webglcontextlost', () => {
  fail('The canvas lost its drawing: the graphics driver was reset, or the browser took ' +
       'the memory back. The circuit is gone; reload the page to start again.', true);
  // Frames drawn into nothing only use up the battery. (The program then ends.)
  if (window.Module && Module.pauseMainLoop) Module.pauseMainLoop();
});

export function startProgram() {
  const probe = document.createElement('canvas');
  if (typeof WebAssembly !== 'object' || !probe.getContext('webgl')) {
    fail('Velkora cannot run in this browser: it draws with WebGL, which this browser ' +
         'does not offer or has switched off. Try another browser, or switch on ' +
         'hardware acceleration in its settings.');
    return;
  }
  const serveHint = location.protocol === 'file:' ?
    ' Opened as a file, the page cannot load the program: serve its folder ' +
    'with a web server (make serve-web) and open the address it prints.' : '';

  window.Module = {
    canvas,
    print(line) {
      print(line);
      traced(line);
    },
    postMainLoop: afterFrame,
    printErr(line) {
      lastError = line;
      print(line);
    },
    locateFile: (path) => new URL(path, build).href,
    // Download progress, then '' once the program starts; after a failure, the images may
    // still be coming, but the status stays as the failure left it.
    setStatus(text) {
      if (!message.hidden) return;
      if (text) {
        statusLine.textContent = text;
      } else {
        running = true;
        statusLine.textContent = 'Running.';
        showHint();
      }
    },
    // The program takes its keys from the canvas alone, so the rest of the page keeps its own.
    preRun: [() => { Module.ENV.SDL_EMSCRIPTEN_KEYBOARD_ELEMENT = '#canvas'; }],
    onRuntimeInitialized() {
      canvas.focus();
    },
    onAbort(what) {
      fail((running ? 'Velkora stopped: ' : 'Velkora could not be loaded: ') + what + '.' +
           serveHint, running);
    },
    onExit(status) {
      fail(status === 0 ? 'Velkora has ended.' :
        'Velkora stopped (status ' + status + ')' + (lastError ? ': ' + lastError : '.'), true);
    },
  };

  const program = document.createElement('script');
  program.src = new URL('velkora.js', build).href;
  program.onerror = () => fail('Velkora could not be loaded: velkora.js is missing.' + serveHint);
  document.body.appendChild(program);
}
