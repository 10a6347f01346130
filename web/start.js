// Start and failure: loads the program, and says on the page whether it runs, and if it
// does not, why: never a blank page or a frozen canvas.
import {canvas} from './canvas-space.js';
import {afterFrame, traced} from './circuit-region.js';
import {beforeProgramFrame} from './input-gate.js';
import {print} from './trace-panel.js';
import {keepForOffline} from './offline.js';

const statusLine = document.getElementById('status');
const hint = document.getElementById('hint');
const message = document.getElementById('message');
const reload = document.getElementById('reload');
const tools = document.getElementById('tools');
// The program's files sit beside this one, in the folder of this build.
const build = new URL('./', import.meta.url);

let running = false, lastError = '';

// The first reason stands: the end that follows a lost context, say, is no news. The
// controls would only feed a program that is gone.
function fail(text, offerReload = false) {
  if (!message.hidden) return;
  running = false;
  tools.disabled = true;
  document.getElementById('message-text').textContent = text;
  reload.hidden = !offerReload;
  message.hidden = false;
  statusLine.textContent = 'Not running.';
  hint.textContent = '';
  // Frames drawn into nothing only use up the battery.
  if (window.Module && Module.pauseMainLoop) Module.pauseMainLoop();
}
reload.addEventListener('click', () => location.reload());

// An exception nobody caught: thrown in a frame, it ends the program's loop and the canvas
// keeps its last picture; thrown while loading (the program's data could not be fetched, the
// file packager throws in its request's handler), the program never starts. Error events
// without an exception (a ResizeObserver's notice) are no failure.
function uncaught(what) {
  const reason = what instanceof Error ? what.message : String(what);
  fail(running ?
    'Velkora stopped: ' + reason + '. The circuit is gone; reload the page to start again.' :
    'Velkora could not be loaded: ' + reason + '. Reload the page to try again.', true);
}
window.addEventListener('error', (event) => {
  if (event.error != null) uncaught(event.error);
});
window.addEventListener('unhandledrejection', (event) => uncaught(event.reason));

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
});

const NO_WEBGL = 'Velkora cannot run in this browser: it draws with WebGL, which this ' +
  'browser does not offer or has switched off. Try another browser, or switch on hardware ' +
  'acceleration in its settings.';

// Asked only once the program has failed to start: a context made only to ask would be a
// second one beside the program's, slowing every start.
function offersWebGL() {
  const context = document.createElement('canvas').getContext('webgl');
  context?.getExtension('WEBGL_lose_context')?.loseContext();
  return context !== null;
}

export function startProgram() {
  if (typeof WebAssembly !== 'object' || !window.WebGLRenderingContext) {
    fail(NO_WEBGL);
    return;
  }
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
    // Download progress beside the status, then '' once the program starts.
    setStatus(text) {
      if (!message.hidden) return;
      const [, loaded, total] = text.match(/\((\d+)\/(\d+)\)/) || [];
      if (total) {
        hint.textContent = `Downloading… ${Math.floor(100 * loaded / total)} %`;
      } else if (!text) {
        running = true;
        tools.disabled = false;
        statusLine.textContent = 'Running.';
        showHint();
        // Only now: the worker's own downloads would race the program's, and a page that
        // cannot run has nothing worth keeping.
        keepForOffline(document.body.dataset.build);
      }
    },
    // The program takes its keys from the canvas alone, so the rest of the page keeps its own.
    preRun: [() => { Module.ENV.SDL_EMSCRIPTEN_KEYBOARD_ELEMENT = '#canvas'; }],
    // What the visitor does reaches the program through the gate, a step before each frame.
    preMainLoop: beforeProgramFrame,
    onRuntimeInitialized() {
      canvas.focus();
    },
    onAbort(what) {
      fail((running ? 'Velkora stopped: ' : 'Velkora could not be loaded: ') + what + '.',
           true);
    },
    onExit(status) {
      if (status !== 0 && !running && !offersWebGL()) fail(NO_WEBGL);
      fail(status === 0 ? 'Velkora has ended.' :
        'Velkora stopped (status ' + status + ')' + (lastError ? ': ' + lastError : '.'), true);
    },
  };

  const program = document.createElement('script');
  program.src = new URL('velkora.js', build).href;
  program.onerror = () => fail('Velkora could not be loaded: velkora.js is missing from ' +
                               'the site. Reload the page to try again.', true);
  document.body.appendChild(program);
}
