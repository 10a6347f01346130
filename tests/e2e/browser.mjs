// The end-to-end tests' browser: Chromium over CDP or Firefox ESR over WebDriver BiDi, driven
// by puppeteer-core for velkora_page.py. A request per line on stdin, {"cmd", "args"}; a reply
// per line on stdout, in order: {"value"} (JSON) or {"error"} (the JavaScript message).
import readline from 'node:readline';
import puppeteer from 'puppeteer-core';

// Software WebGL through SwiftShader; no calls home, which a closed network would only stall.
const CHROMIUM = ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
  '--ignore-gpu-blocklist', '--disable-background-networking', '--disable-component-update'];
// puppeteer already turns off Firefox's updates, safe browsing and health reports; these are
// the other services that reach out at start-up.
const FIREFOX = {
  'toolkit.telemetry.enabled': false, 'toolkit.telemetry.unified': false,
  'toolkit.telemetry.server': '', 'dom.push.connection.enabled': false,
  'network.captive-portal-service.enabled': false, 'network.connectivity-service.enabled': false,
  'network.trr.mode': 5, 'network.dns.disablePrefetch': true, 'network.prefetch-next': false,
  'browser.region.network.url': '', 'browser.region.update.enabled': false,
  'extensions.blocklist.enabled': false, 'messaging-system.rsexperimentloader.enabled': false,
};

let browser, page, cdp, firefox;
const logged = [];

const commands = {
  // A fresh profile each time (puppeteer's own temporary one); viewport as puppeteer's
  // defaultViewport (null: the window's size); each browser takes its own options and leaves
  // the other's: command-line args are Chromium's, prefs Firefox's.
  async launch(name, {viewport = {width: 1280, height: 800}, args = [], prefs = {}} = {}) {
    if (!['chromium', 'firefox'].includes(name)) throw new Error(`no browser '${name}'`);
    firefox = name === 'firefox';
    browser = await puppeteer.launch({
      browser: firefox ? 'firefox' : 'chrome', headless: true,
      executablePath: firefox ? '/usr/bin/firefox-esr' : '/usr/bin/chromium',
      args: firefox ? [] : [...CHROMIUM, ...args], extraPrefsFirefox: {...FIREFOX, ...prefs},
      defaultViewport: viewport, protocolTimeout: 60000,
    });
    [page] = await browser.pages();
    if (viewport) await page.setViewport(viewport);  // Firefox's first tab is not given it
    page.on('console', (m) => logged.push(`${m.type()}: ${m.text()}`));
    page.on('pageerror', (e) => logged.push(`pageerror: ${e.message}`));
  },
  goto: (url) => page.goto(url),
  viewport: (viewport) => page.setViewport(viewport),
  reload: () => page.reload(),
  // An expression, awaited; if it is a function, it is called with args first.
  evaluate: (source, ...args) => page.evaluate(async (source, args) => {
    const value = (0, eval)(source);
    return typeof value === 'function' ? value(...args) : value;
  }, source, args),
  // Run in every document before its own scripts (a function body in Firefox: use window.x).
  before: (source) => page.evaluateOnNewDocument(source),
  // To whole pixels, half-up as Math.round does (Python's round() takes ties to even, which
  // put a gate 2 px off); 'down' and 'up' press and release the left button where it is.
  mouse: (action, x, y) => (action === 'move' ? page.mouse.move(Math.round(x), Math.round(y))
    : page.mouse[action]()),
  key: (code, down = true) => (down ? page.keyboard.down(code) : page.keyboard.up(code)),
  // One finger: 'touchStart', 'touchMove' or 'tap' at page pixels (rounded as the mouse's), or
  // 'touchEnd' (Chromium: CDP's Input.dispatchTouchEvent; Firefox: WebDriver's touch actions).
  touch: (action, x, y) => page.touchscreen[action](Math.round(x), Math.round(y)),
  // Fingers, each along its points in step: the first down at its first point, each next
  // `lag` milliseconds later (so that no delay of the driver's decides it), all up together.
  async fingers(paths, lag = 0) {
    const at = paths.map((points) => points.map(([x, y]) => ({x: Math.round(x),
                                                             y: Math.round(y)})));
    if (firefox) {
      const moves = (points) => points.map((point) => ({type: 'pointerMove', ...point}));
      return page.mainFrame().browsingContext.performActions(at.map((points, n) => ({
        type: 'pointer', id: `finger${n}`, parameters: {pointerType: 'touch'},
        actions: [{type: 'pause', duration: n * lag}, ...moves(points.slice(0, 1)),
          {type: 'pointerDown', button: 0}, ...moves(points.slice(1)),
          {type: 'pointerUp', button: 0}],
      })));
    }
    const touch = (type, i, fingers = at.length) => commands.send('Input.dispatchTouchEvent', {
      type, touchPoints: at.slice(0, fingers).map((points, n) => ({...points[i], id: 100 + n}))});
    for (let n = 1; n <= at.length; n++) {
      await touch('touchStart', 0, n);
      await new Promise((done) => setTimeout(done, lag));
    }
    for (let i = 1; i < at[0].length; i++) await touch('touchMove', i);
    await touch('touchEnd', 0, 0);
  },
  // The wheel turned over a point, with Ctrl held or not.
  async wheel(x, y, deltaY, ctrl) {
    await page.mouse.move(Math.round(x), Math.round(y));
    if (ctrl) await page.keyboard.down('ControlLeft');
    await page.mouse.wheel({deltaY});
    if (ctrl) await page.keyboard.up('ControlLeft');
  },
  // A click with the mouse, or a tap, on the middle of the element a selector names.
  press: (selector) => page.click(selector),
  tap: (selector) => page.tap(selector),
  async send(method, params) {
    if (firefox) throw new Error(`${method}: CDP is Chromium's only`);
    cdp ??= await page.createCDPSession();
    return cdp.send(method, params);
  },
  console: () => logged,
};

for await (const line of readline.createInterface({input: process.stdin})) {
  const {cmd, args = []} = JSON.parse(line);
  let reply;
  try {
    if (!Object.hasOwn(commands, cmd)) throw new Error('no such command');
    const value = await commands[cmd](...args);
    // Only plain data goes back: handles (a response, a script's id) stay here.
    reply = {value: ['evaluate', 'send', 'console'].includes(cmd) ? value : null};
  } catch (error) {
    reply = {error: `${cmd}: ${error.message}`};
  }
  process.stdout.write(JSON.stringify(reply) + '\n');
}
// The end of the requests closes the browser, whoever's test failed.
await browser?.close();
