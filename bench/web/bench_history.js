// SPDX-License-Identifier: MIT
// The costs of the view into the frame, for bench.js: the time a picked pixel takes to fill
// the history panel, and a key press to its finished frame with the depth view beside the
// picture and without it (the depth target and its read-back switched off), taken in turns
// in one run.
//
// A frame is finished when its pixels are. With the depth view that is when the view is
// drawn: reading the depth target back waits for the GPU to finish the frame. Without it,
// the page never waits, so the benchmark asks, at the same moment the page would read its
// target back, for one pixel of a target of its own: that too returns once the GPU has
// finished the frame. The time to the frame's last draw call issued is printed beside it.
'use strict';
const { openPage, settle } = require('../../tools/browser/page_driver');

const kPicks = 60, kKeys = 40, kLargeKeys = 10, kLarge = 2048;

function median(values) {
  const s = [...values].sort((a, b) => a - b);
  return s[Math.floor(s.length / 2)];
}

// Milliseconds from a click on a pixel to the panel filled, each pick after a quiet frame,
// as a user's clicks come.
function pickTimes(page) {
  return page.evaluate(async (n) => {
    const canvas = document.getElementById('canvas'), times = [];
    for (let i = 0; i < n; ++i) {
      await new Promise((done) => requestAnimationFrame(() => setTimeout(done, 0)));
      const box = canvas.getBoundingClientRect();
      const x = box.left + ((i * 97) % box.width), y = box.top + ((i * 61) % box.height);
      const start = performance.now();
      canvas.dispatchEvent(new MouseEvent('click', { clientX: x, clientY: y, bubbles: true }));
      times.push(performance.now() - start);
    }
    return times;
  }, kPicks);
}

// In the page without the depth view: after each frame, once the frame's event is done,
// the moment the GPU has finished it (Module.zbvRenderedAt).
function watchRendering(page) {
  return page.evaluate(() => {
    const gl = ZbvGl.gl, texture = gl.createTexture(), target = gl.createFramebuffer();
    gl.bindTexture(gl.TEXTURE_2D, texture);
    gl.texImage2D(gl.TEXTURE_2D, 0, gl.RGBA, 1, 1, 0, gl.RGBA, gl.UNSIGNED_BYTE, null);
    gl.bindTexture(gl.TEXTURE_2D, null);
    gl.bindFramebuffer(gl.FRAMEBUFFER, target);
    gl.framebufferTexture2D(gl.FRAMEBUFFER, gl.COLOR_ATTACHMENT0, gl.TEXTURE_2D, texture, 0);
    gl.bindFramebuffer(gl.FRAMEBUFFER, null);
    const frame = ZbvGlut.frame;
    ZbvGlut.frame = function() {
      frame();
      setTimeout(() => {
        gl.bindFramebuffer(gl.FRAMEBUFFER, target);
        gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, new Uint8Array(4));
        gl.bindFramebuffer(gl.FRAMEBUFFER, null);
        Module.zbvRenderedAt = performance.now();
      }, 0);
    };
  });
}

// Milliseconds from a key's keydown event to the frame's last draw call issued, and to the
// page's mark of the finished frame (`finished`: a property of Module).
function keyToFrame(page, key, finished) {
  return page.evaluate((k, mark) => new Promise((done) => {
    let pressed = 0;
    document.addEventListener('keydown', () => { pressed = performance.now(); },
      { once: true, capture: true });
    const check = () => {
      if (pressed && Module[mark] > pressed) {
        done({ issued: window.zbvCalls.lastDrawAt - pressed, finished: Module[mark] - pressed });
      } else {
        requestAnimationFrame(check);
      }
    };
    document.body.dispatchEvent(new KeyboardEvent('keydown', { key: k, bubbles: true }));
    requestAnimationFrame(check);
  }), key, finished);
}

// Key presses in turns on each page; the medians of what keyToFrame measures.
async function keysInTurns(pages) {
  const times = pages.map(() => []);
  for (let i = 0; i < kKeys; ++i) {
    for (const [n, { page, finished }] of pages.entries()) {
      await page.bringToFront();
      times[n].push(await keyToFrame(page, i % 2 ? '3' : '4', finished));
    }
  }
  return times.map((t) => ({ issued: median(t.map((x) => x.issued)),
    finished: median(t.map((x) => x.finished)) }));
}

async function measureFrameView(browser) {
  const withView = await openPage(browser), without = await openPage(browser);
  const picked = await openPage(browser);
  await without.evaluate(() => Module.zbvDepthView(false));
  for (const page of [withView, without, picked]) await settle(page);
  await watchRendering(without);
  const picks = await pickTimes(picked);
  const [on, off, onPicked] = await keysInTurns([
    { page: withView, finished: 'zbvFrameEndAt' }, { page: without, finished: 'zbvRenderedAt' },
    { page: picked, finished: 'zbvFrameEndAt' }]);
  console.log(`pixel picked to history panel filled: ${median(picks).toFixed(1)} ms (median of ` +
    `${kPicks}, slowest ${Math.max(...picks).toFixed(1)} ms; at most 16 ms: ` +
    `${median(picks) <= 16 ? 'yes' : 'NO'})`);
  const ratio = on.finished / off.finished;
  console.log(`key press to finished frame (medians of ${kKeys}, in turns): without the depth ` +
    `view ${off.finished.toFixed(1)} ms (its last draw call issued at ${off.issued.toFixed(1)} ` +
    `ms); with it, the view drawn: ${on.finished.toFixed(1)} ms; ratio ${ratio.toFixed(2)} ` +
    `(at most 2: ${ratio <= 2 ? 'yes' : 'NO'}); against the draw calls issued ` +
    `${(on.finished / off.issued).toFixed(2)}`);
  console.log(`  with a pixel picked too, the view and the pixel's history drawn: ` +
    `${onPicked.finished.toFixed(1)} ms, ratio ${(onPicked.finished / off.finished).toFixed(2)}`);
  for (const page of [withView, without, picked]) await page.browserContext().close();
}

// Run in the page before its script: the longest callback of an animation frame or a timer
// since zbvLongest was last set to 0, in ms.
function timeTasks() {
  window.zbvLongest = 0;
  const timed = (callback) => function(...args) {
    const start = performance.now();
    try {
      return callback.apply(this, args);
    } finally {
      window.zbvLongest = Math.max(window.zbvLongest, performance.now() - start);
    }
  };
  const frame = window.requestAnimationFrame, timer = window.setTimeout;
  window.requestAnimationFrame = (callback) => frame.call(window, timed(callback));
  window.setTimeout = (callback, ...rest) =>
    timer.call(window, typeof callback === 'function' ? timed(callback) : callback, ...rest);
}

// The longest task a key press brings (its own event, its frame, the read-back after it),
// once everything it brings is done.
function longestTask(page, key) {
  return page.evaluate((k) => new Promise((done) => {
    window.zbvLongest = 0;
    const start = performance.now();
    document.body.dispatchEvent(new KeyboardEvent('keydown', { key: k, bubbles: true }));
    const pressed = performance.now() - start;
    // Two frames and a timer after the key's frame: the read-back has run.
    requestAnimationFrame(() => requestAnimationFrame(() => setTimeout(() => {
      done(Math.max(pressed, window.zbvLongest));
    }, 50)));
  }), key);
}

// A key press's longest task with a pixel picked in a frame of kLarge x kLarge pixels, with
// the depth view and without it, in turns.
async function measureLargeFrame(browser) {
  const pages = [];
  for (const view of [true, false]) {
    const page = await openPage(browser, { before: timeTasks });
    await page.evaluate((on, size) => {
      Module.zbvDepthView(on);
      Object.assign(document.querySelector('.frame').style, { width: `${size}px`, height: `${size}px` });
    }, view, kLarge);
    await settle(page);
    await page.evaluate(() => {
      const canvas = document.getElementById('canvas'), box = canvas.getBoundingClientRect();
      canvas.dispatchEvent(new MouseEvent('click', { bubbles: true,
        clientX: box.left + box.width / 2, clientY: box.top + box.height / 2 }));
    });
    pages.push(page);
  }
  const times = [[], []];
  for (let i = 0; i < kLargeKeys; ++i) {
    for (const [n, page] of pages.entries()) {
      await page.bringToFront();
      times[n].push(await longestTask(page, i % 2 ? '3' : '4'));
    }
  }
  const [on, off] = times.map(median);
  console.log(`longest task of a key press with a pixel picked at ${kLarge}x${kLarge} (medians ` +
    `of ${kLargeKeys}, in turns): with the depth view ${on.toFixed(0)} ms, without it ` +
    `${off.toFixed(0)} ms`);
  for (const page of pages) await page.browserContext().close();
}

module.exports = { measureFrameView, measureLargeFrame, median };
