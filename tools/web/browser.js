// SPDX-License-Identifier: MIT
// Drives the viewer's web page in Debian's Chromium, headless, for the tests, the benchmark
// and the README's screenshot: the page opened fresh, keys pressed, frames counted and the
// canvas read back.
'use strict';
const fs = require('node:fs');
const path = require('node:path');
const { pathToFileURL } = require('node:url');

// The browser binary itself: /usr/bin/chromium is a shell wrapper that adds flags of its own.
const kChromium = process.env.ZBV_CHROMIUM || '/usr/lib/chromium/chromium';
const kRoot = path.resolve(__dirname, '../..');
const kPage = process.env.ZBV_WEB_PAGE || path.join(kRoot, 'build-web/zbuffer-viewer.html');

// WebGL from SwiftShader, on a machine with no GPU and no display; nothing fetched.
const kArgs = ['--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

// Why the page cannot be driven here, or '' when it can.
function unavailable() {
  const node = Number(process.versions.node.split('.')[0]);
  if (node < 20) return `needs node 20 or later for playwright-core; this is node ${node}`;
  if (!fs.existsSync(kChromium)) return `no Chromium at ${kChromium} (scripts/install-deps web)`;
  if (!fs.existsSync(kPage)) return `no page at ${kPage} (make web builds it)`;
  try {
    require.resolve('playwright-core');
  } catch {
    return 'playwright-core is not installed (npm ci in tools/web)';
  }
  return '';
}

// A headless Chromium with a fresh profile of its own; extra switches added to the usual.
async function launch(extraArgs = []) {
  const { chromium } = require('playwright-core');
  return chromium.launch({ executablePath: kChromium, headless: true, chromiumSandbox: false,
    args: [...kArgs, ...extraArgs] });
}

// Why this browser cannot draw the page ('' when it can): it offers no WebGL.
async function noWebgl(browser) {
  const page = await browser.newPage();
  try {
    const ok = await page.evaluate(() => !!document.createElement('canvas').getContext('webgl'));
    return ok ? '' : 'this Chromium offers no WebGL (is SwiftShader missing?)';
  } finally {
    await page.close();
  }
}

// Counts what the page asks of WebGL for the picture: frames (one clear each) and draw calls.
function countCalls() {
  // Times in ms since navigation began: the first frame's start, the latest frame's start
  // (its clear) and its latest draw call.
  const counts = { clears: 0, draws: 0, firstFrameAt: 0, lastClearAt: 0, lastDrawAt: 0 };
  Object.defineProperty(window, 'zbvCalls', { value: counts });
  const wrap = (proto, name, field) => {
    const real = proto[name];
    proto[name] = function(...args) {
      // Only what is drawn into the picture: not the page's own depth target.
      if (this.getParameter(this.FRAMEBUFFER_BINDING)) return real.apply(this, args);
      counts[field] += 1;
      if (!counts.firstFrameAt) counts.firstFrameAt = performance.now();
      const result = real.apply(this, args);
      counts[field === 'draws' ? 'lastDrawAt' : 'lastClearAt'] = performance.now();
      return result;
    };
  };
  wrap(WebGLRenderingContext.prototype, 'clear', 'clears');
  wrap(WebGLRenderingContext.prototype, 'drawArrays', 'draws');
  wrap(WebGLRenderingContext.prototype, 'drawElements', 'draws');
}

// The page freshly loaded in a new context (nothing shared with earlier pages), once its
// first frame is drawn; errors the page throws are collected in page.errors.
async function openPage(browser, { width = 800, height = 600, waitForFrame = true } = {}) {
  const context = await browser.newContext({ viewport: { width, height }, deviceScaleFactor: 1 });
  const page = await context.newPage();
  page.errors = [];
  page.on('pageerror', (e) => page.errors.push(String(e)));
  await page.addInitScript(countCalls);
  await page.goto(pathToFileURL(kPage).href);
  if (waitForFrame) await waitForFrames(page, 1);
  return page;
}

function calls(page) {
  return page.evaluate(() => ({ ...window.zbvCalls }));
}

// Waits until the page has drawn this many frames in all.
async function waitForFrames(page, n) {
  await page.waitForFunction((k) => window.zbvCalls.clears >= k, n, { timeout: 20000 });
}

// Lets the browser run two more animation frames: whatever was posted before has been drawn.
function settle(page) {
  return page.evaluate(() => new Promise((done) => {
    requestAnimationFrame(() => requestAnimationFrame(() => done()));
  }));
}

// Presses a key (Playwright's name for it) and waits for the frame it brings.
async function pressAndWait(page, key) {
  const before = (await calls(page)).clears;
  await page.keyboard.press(key);
  await waitForFrames(page, before + 1);
}

// The canvas as the page drew it: { width, height, rgb } with rows from the top.
async function readCanvas(page) {
  const { width, height, data } = await page.evaluate(() => {
    const canvas = document.getElementById('canvas');
    const gl = canvas.getContext('webgl');
    const w = canvas.width, h = canvas.height;
    const px = new Uint8Array(w * h * 4);
    gl.readPixels(0, 0, w, h, gl.RGBA, gl.UNSIGNED_BYTE, px);
    let text = '';
    for (let i = 0; i < px.length; i += 0x8000) {
      text += String.fromCharCode.apply(null, px.subarray(i, i + 0x8000));
    }
    return { width: w, height: h, data: btoa(text) };
  });
  const rgba = Buffer.from(data, 'base64');
  const rgb = Buffer.alloc(width * height * 3);
  for (let y = 0; y < height; ++y) {
    for (let x = 0; x < width; ++x) {
      const from = ((height - 1 - y) * width + x) * 4, to = (y * width + x) * 3;
      rgb[to] = rgba[from];
      rgb[to + 1] = rgba[from + 1];
      rgb[to + 2] = rgba[from + 2];
    }
  }
  return { width, height, rgb };
}

module.exports = { kPage, kRoot, unavailable, launch, noWebgl, openPage, calls, waitForFrames, settle,
  pressAndWait, readCanvas };
