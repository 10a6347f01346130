'use strict';
// The page around the program: the canvas fitted to the window, the trace panel, and
// a message instead of a blank page when the program cannot run in this browser.
(function () {
  const WIDTH = 1600, HEIGHT = 900, KEEP = 10000;
  const canvas = document.getElementById('canvas');
  const stage = document.getElementById('stage');
  const statusLine = document.getElementById('status');
  const message = document.getElementById('message');
  const panel = document.getElementById('trace');

  function fail(text) {
    message.textContent = text;
    message.hidden = false;
    statusLine.textContent = 'Not running.';
  }

  // Scaled through its CSS size: SDL maps pointer positions back to canvas pixels through
  // the box the canvas takes on the page, so it has no border or padding. The drawing
  // stays 1600 by 900.
  function fit() {
    const scale = Math.min(stage.clientWidth / WIDTH, stage.clientHeight / HEIGHT);
    canvas.style.width = Math.floor(WIDTH * scale) + 'px';
    canvas.style.height = Math.floor(HEIGHT * scale) + 'px';
  }
  new ResizeObserver(fit).observe(stage);
  fit();

  // A live circuit prints a line per live wire per frame: lines are gathered and shown
  // once per animation frame, and only the latest KEEP stay in the panel.
  const chunks = [];  // the panel's text nodes, oldest first, with their line counts
  let pending = [], scheduled = false, shown = 0;

  function show() {
    scheduled = false;
    const lines = pending.length > KEEP ? pending.slice(-KEEP) : pending;
    pending = [];
    const atEnd = panel.scrollTop + panel.clientHeight >= panel.scrollHeight - 4;
    const node = document.createTextNode(lines.join('\n') + '\n');
    panel.appendChild(node);
    chunks.push({node, count: lines.length});
    shown += lines.length;
    while (shown - chunks[0].count >= KEEP) {
      const oldest = chunks.shift();
      oldest.node.remove();
      shown -= oldest.count;
    }
    if (shown > KEEP) {  // the oldest chunk loses its first lines
      const oldest = chunks[0], text = oldest.node.data;
      let at = 0;
      for (let cut = shown - KEEP; cut > 0; cut--) at = text.indexOf('\n', at) + 1;
      oldest.node.data = text.slice(at);
      oldest.count -= shown - KEEP;
      shown = KEEP;
    }
    if (atEnd) panel.scrollTop = panel.scrollHeight;
  }

  function print(line) {
    pending.push(line);
    if (pending.length > 2 * KEEP) pending.splice(0, pending.length - KEEP);
    if (!scheduled) {
      scheduled = true;
      requestAnimationFrame(show);
    }
  }

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
  let lastError = '', running = false;
  function showRunning() {
    if (running && message.hidden) {
      statusLine.textContent = document.activeElement === canvas ?
        'Running. Keys act at the mouse pointer.' :
        'Running. Click the canvas to give it the keys.';
    }
  }

  window.Module = {
    canvas,
    print,
    printErr(line) {
      lastError = line;
      print(line);
    },
    setStatus(text) {  // download progress, then '' once the program runs
      running = !text;
      if (text) statusLine.textContent = text;
      showRunning();
    },
    // SDL takes its keys from the canvas alone, so the rest of the page keeps its own.
    preRun: [() => { Module.ENV.SDL_EMSCRIPTEN_KEYBOARD_ELEMENT = '#canvas'; }],
    onRuntimeInitialized() {
      canvas.focus();
    },
    onAbort(what) {
      fail('Velkora could not be loaded: ' + what + '.' + serveHint);
    },
    onExit(status) {
      if (status !== 0) fail('Velkora stopped (status ' + status + '). ' + lastError);
    },
  };
  canvas.addEventListener('pointerdown', () => canvas.focus());
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());
  canvas.addEventListener('focus', showRunning);
  canvas.addEventListener('blur', showRunning);

  const program = document.createElement('script');
  program.src = 'velkora.js';
  program.onerror = () => fail('Velkora could not be loaded: velkora.js is missing.' + serveHint);
  document.body.appendChild(program);
})();
