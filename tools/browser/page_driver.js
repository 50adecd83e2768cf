// SPDX-License-Identifier: MIT
// The viewer's page in a browser that browser.js started: opened fresh, keys pressed, frames
// counted and the canvas read back. Works the same over either protocol.
'use strict';
const { pathToFileURL } = require('node:url');
const { kPage } = require('./browser');

// Counts what the page asks of WebGL (1 or 2) for the picture: frames (one clear each), draw
// calls, and the latest viewport. Runs in the page before its own script.
function countCalls() {
  // Times in ms since navigation began: the first frame's start, the latest frame's start
  // (its clear) and its latest draw call.
  const counts = { clears: 0, draws: 0, firstFrameAt: 0, firstDrawAt: 0, lastClearAt: 0, lastDrawAt: 0,
    viewport: null };
  Object.defineProperty(window, 'zbvCalls', { value: counts });
  const wrap = (proto, name, field) => {
    const real = proto[name];
    proto[name] = function(...args) {
      if (field === 'viewport') {
        counts.viewport = args;
        return real.apply(this, args);
      }
      // Only what is drawn into the picture (the canvas, or the target that stands in for it):
      // not the page's own depth target.
      const bound = this.getParameter(this.FRAMEBUFFER_BINDING), picture = window.ZbvGlDepth &&
        window.ZbvGlDepth.target && window.ZbvGlDepth.target.framebuffer;
      if (bound && bound !== picture) return real.apply(this, args);
      counts[field] += 1;
      if (!counts.firstFrameAt) counts.firstFrameAt = performance.now();
      if (field === 'draws' && !counts.firstDrawAt) counts.firstDrawAt = performance.now();
      const result = real.apply(this, args);
      counts[field === 'draws' ? 'lastDrawAt' : 'lastClearAt'] = performance.now();
      return result;
    };
  };
  for (const type of [window.WebGLRenderingContext, window.WebGL2RenderingContext]) {
    if (!type) continue;
    wrap(type.prototype, 'clear', 'clears');
    wrap(type.prototype, 'drawArrays', 'draws');
    wrap(type.prototype, 'drawElements', 'draws');
    wrap(type.prototype, 'viewport', 'viewport');
  }
  // The picture's context, whichever WebGL it is.
  window.zbvContext = () => {
    const canvas = document.getElementById('canvas');
    return canvas.getContext('webgl2') || canvas.getContext('webgl');
  };
}

// The page freshly loaded in a new browser context (nothing shared with earlier pages), once
// its first frame is drawn; errors the page throws are collected in page.errors. hash is
// added to the address; before, a function run in the page before its script. The device
// pixel ratio is the browser's own where it was launched with one, else `scale`.
async function openPage(browser, { width = 800, height = 600, scale = browser.zbvScale || 1,
  touch = false, hash = '', waitForFrame = true, before = null, url = '' } = {}) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  page.errors = [];
  page.on('pageerror', (e) => page.errors.push(String(e)));
  await page.setViewport({ width, height, deviceScaleFactor: browser.zbvRealScale ? 0 : scale,
    hasTouch: touch, isMobile: touch });
  await page.evaluateOnNewDocument(countCalls);
  if (before) await page.evaluateOnNewDocument(before);
  await page.goto(url || pathToFileURL(kPage).href + hash);
  // The program's first frame under way: its first draw call made.
  if (waitForFrame) {
    await page.waitForFunction(() => window.zbvCalls.firstDrawAt > 0, { timeout: 20000 });
  }
  return page;
}

function calls(page) {
  return page.evaluate(() => ({ ...window.zbvCalls }));
}

// Waits until the page has cleared its picture this many times in all (the window's clear
// when it opens, before the first frame, counts as the first).
async function waitForFrames(page, n) {
  await page.waitForFunction((k) => window.zbvCalls.clears >= k, { timeout: 20000 }, n);
}

// Lets the browser run two more animation frames: whatever was posted before has been drawn.
function settle(page) {
  return page.evaluate(() => new Promise((done) => {
    requestAnimationFrame(() => requestAnimationFrame(() => done()));
  }));
}

function sleep(ms) {
  return new Promise((done) => setTimeout(done, ms));
}

// Presses a key or a chord ('Control+4'), by the driver's names for keys.
async function press(page, keys) {
  const parts = keys.split('+');
  const key = parts.pop();
  for (const m of parts) await page.keyboard.down(m);
  await page.keyboard.press(key);
  for (const m of parts.reverse()) await page.keyboard.up(m);
}

// Runs action (a function of no arguments), then waits for the frame it brings.
async function frameAfter(page, action) {
  const before = (await calls(page)).clears;
  await action();
  await waitForFrames(page, before + 1);
}

// Presses a key and waits for the frame it brings.
function pressAndWait(page, key) {
  return frameAfter(page, () => press(page, key));
}

// A canvas of the page as drawn: { width, height, rgb } with rows from the top. The picture
// ('canvas') is read through its WebGL context, rows from the bottom as OpenGL counts them;
// any other canvas (the depth view) through its 2D context.
async function readCanvas(page, id = 'canvas') {
  const { width, height, data, fromBottom } = await page.evaluate((which) => {
    const canvas = document.getElementById(which);
    const gl = which === 'canvas' ? window.zbvContext() : null;
    let w = canvas.width, h = canvas.height, px;
    if (gl) {
      w = gl.drawingBufferWidth;
      h = gl.drawingBufferHeight;
      px = new Uint8Array(w * h * 4);
      gl.readPixels(0, 0, w, h, gl.RGBA, gl.UNSIGNED_BYTE, px);
    } else {
      px = canvas.getContext('2d').getImageData(0, 0, w, h).data;
    }
    let text = '';
    for (let i = 0; i < px.length; i += 0x8000) {
      text += String.fromCharCode.apply(null, px.subarray(i, i + 0x8000));
    }
    return { width: w, height: h, data: btoa(text), fromBottom: !!gl };
  }, id);
  const rgba = Buffer.from(data, 'base64');
  const rgb = Buffer.alloc(width * height * 3);
  for (let y = 0; y < height; ++y) {
    const row = fromBottom ? height - 1 - y : y;
    for (let x = 0; x < width; ++x) {
      const from = (row * width + x) * 4, to = (y * width + x) * 3;
      rgb[to] = rgba[from];
      rgb[to + 1] = rgba[from + 1];
      rgb[to + 2] = rgba[from + 2];
    }
  }
  return { width, height, rgb };
}

module.exports = { openPage, calls, waitForFrames, settle, sleep, press, frameAfter,
  pressAndWait, readCanvas };
