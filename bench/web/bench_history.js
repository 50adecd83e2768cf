// SPDX-License-Identifier: MIT
// The costs of the view into the frame, for bench.js: the time a picked pixel takes to fill
// the history panel (laid out), a key press to its finished frame with the depth view beside
// the picture and without it (the capture switched off from here), and the longest task a key
// brings in a frame of 2048x2048 pixels with a pixel picked, for a key that changes no depth
// and one that does; the page and an earlier build of it in turns, where one is named.
//
// A frame is finished when its pixels are. With the depth view that is when the view is
// drawn: reading the depth back waits for the GPU to finish the frame. Without it, the page
// never waits, so the benchmark asks, at the same moment the page would read its depth
// back, for one pixel of a target of its own: that too returns once the GPU has finished the
// frame. The time to the frame's last draw call issued is printed beside it.
'use strict';
const { openPage, settle } = require('../../tools/browser/page_driver');

const kPicks = 60, kKeys = 40, kLargeKeys = 10, kLarge = 2048;
const kPickMost = 8, kLargeMost = 50;

function median(values) {
  const s = [...values].sort((a, b) => a - b);
  return s[Math.floor(s.length / 2)];
}

// Milliseconds from a click on a pixel to the panel filled and laid out, each pick after a
// quiet frame, as a user's clicks come.
function pickTimes(page) {
  return page.evaluate(async (n) => {
    const canvas = document.getElementById('canvas'), times = [];
    for (let i = 0; i < n; ++i) {
      await new Promise((done) => requestAnimationFrame(() => setTimeout(done, 0)));
      const box = canvas.getBoundingClientRect();
      const x = box.left + ((i * 97) % box.width), y = box.top + ((i * 61) % box.height);
      const start = performance.now();
      canvas.dispatchEvent(new MouseEvent('click', { clientX: x, clientY: y, bubbles: true }));
      void document.body.offsetHeight;
      times.push(performance.now() - start);
    }
    return times;
  }, kPicks);
}

// The moment the page's views last followed a frame (window.zbvFollowedAt): its root says so.
function watchFollowing(page) {
  return page.evaluate(() => {
    window.zbvFollowedAt = 0;
    new MutationObserver(() => { window.zbvFollowedAt = performance.now(); })
      .observe(document.documentElement, { attributes: true, attributeFilter: ['data-followed'] });
  });
}

// The page without its instruments: nothing captured (what the probe's capture does at each
// frame made to do nothing), the picture drawn as the canvas's own.
function withoutView(page) {
  return page.evaluate(() => {
    ZbvCapture.begin = ZbvCapture.draw = ZbvCapture.end = () => {};
    ZbvCapture.live = false;
    ZbvGlDepth.readable = false;
    ZbvGlut.key(0);  // a key that changes nothing: the frame drawn again, without them
  });
}

// In the page without the depth view: after each frame, once the frame's event is done,
// the moment the GPU has finished it (window.zbvRenderedAt).
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
        window.zbvRenderedAt = performance.now();
      }, 0);
    };
  });
}

// Milliseconds from a key's keydown event to the frame's last draw call issued, and to the
// page's mark of the finished frame (`finished`: a property of window).
function keyToFrame(page, key, finished) {
  return page.evaluate((k, mark) => new Promise((done) => {
    let pressed = 0;
    document.addEventListener('keydown', () => { pressed = performance.now(); },
      { once: true, capture: true });
    const check = () => {
      if (pressed && window[mark] > pressed) {
        done({ issued: window.zbvCalls.lastDrawAt - pressed, finished: window[mark] - pressed });
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

// pages: [{name, url}], the page first.
async function measureFrameView(browser, pages) {
  const withView = await openPage(browser), without = await openPage(browser);
  await withoutView(without);
  for (const page of [withView, without]) await settle(page);
  await watchRendering(without);
  await watchFollowing(withView);
  const picked = [];
  for (const p of pages) {
    const page = await openPage(browser, { url: p.url });
    await settle(page);
    picked.push(page);
  }
  const picks = pages.map(() => []);
  for (let turn = 0; turn < 3; ++turn) {
    for (const [k, page] of picked.entries()) {
      await page.bringToFront();
      picks[k].push(...await pickTimes(page));
    }
  }
  for (const [k, p] of pages.entries()) {
    const m = median(picks[k]);
    console.log(`${p.name}: a pixel picked to its history panel filled and laid out: ${m.toFixed(1)} ` +
      `ms (median of ${picks[k].length}, in turns, slowest ${Math.max(...picks[k]).toFixed(1)} ms)` +
      `${k ? '' : `; at most ${kPickMost} ms: ${m <= kPickMost ? 'yes' : 'NO'}`}`);
  }
  await watchFollowing(picked[0]);
  const [on, off, onPicked] = await keysInTurns([
    { page: withView, finished: 'zbvFollowedAt' }, { page: without, finished: 'zbvRenderedAt' },
    { page: picked[0], finished: 'zbvFollowedAt' }]);
  const ratio = on.finished / off.finished;
  console.log(`key press to finished frame (medians of ${kKeys}, in turns): without the depth ` +
    `view ${off.finished.toFixed(1)} ms (its last draw call issued at ${off.issued.toFixed(1)} ` +
    `ms); with it, the view drawn: ${on.finished.toFixed(1)} ms; ratio ${ratio.toFixed(2)} ` +
    `(at most 2: ${ratio <= 2 ? 'yes' : 'NO'}); against the draw calls issued ` +
    `${(on.finished / off.issued).toFixed(2)}`);
  console.log(`  with a pixel picked too, the view and the pixel's history drawn: ` +
    `${onPicked.finished.toFixed(1)} ms, ratio ${(onPicked.finished / off.finished).toFixed(2)}`);
  for (const page of [withView, without, ...picked]) await page.browserContext().close();
}

// Run in the page before its script: the longest callback of an animation frame or a timer
// since zbvLongest was last set to 0, in ms, and the longest task the browser itself saw
// (its long tasks, those over 50 ms, of any kind) in zbvLongTask.
function timeTasks() {
  window.zbvLongest = 0;
  window.zbvLongTask = 0;
  new PerformanceObserver((list) => {
    for (const e of list.getEntries()) window.zbvLongTask = Math.max(window.zbvLongTask, e.duration);
  }).observe({ type: 'longtask' });
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

// The longest task a key press brings (its own event, its frame, the read-backs after it),
// once everything it brings is done: the page has followed the frame, or a second has passed.
function longestTask(page, key) {
  return page.evaluate((k) => new Promise((done) => {
    window.zbvLongest = window.zbvLongTask = 0;
    const root = document.documentElement, frame = root.dataset.frame;
    const start = performance.now();
    document.body.dispatchEvent(new KeyboardEvent('keydown', { key: k, bubbles: true }));
    const pressed = performance.now() - start;
    const check = () => {
      const followed = root.dataset.frame !== frame && root.dataset.followed === root.dataset.frame;
      if (!followed && performance.now() - start < 1000) return setTimeout(check, 20);
      // A timer more: the long task seen last has been told.
      return setTimeout(() => done(Math.max(pressed, window.zbvLongest, window.zbvLongTask)), 50);
    };
    requestAnimationFrame(() => requestAnimationFrame(check));
  }), key);
}

// A key press's longest task with a pixel picked in a frame of kLarge x kLarge pixels, for
// keys that change only colours (3, 4) and keys that change depth (2, 1), on each page with
// the depth view and on the page without it, in turns.
async function measureLargeFrame(browser, pages) {
  const all = [...pages.map((p) => ({ ...p, view: true })), { ...pages[0], name: `${pages[0].name} without the depth view`, view: false }];
  const opened = [];
  for (const p of all) {
    const page = await openPage(browser, { url: p.url, before: timeTasks });
    if (!p.view) await withoutView(page);
    await page.evaluate((size) => {
      Object.assign(document.querySelector('.frame').style, { width: `${size}px`, height: `${size}px` });
    }, kLarge);
    await settle(page);
    await page.evaluate(() => {
      const canvas = document.getElementById('canvas'), box = canvas.getBoundingClientRect();
      canvas.dispatchEvent(new MouseEvent('click', { bubbles: true,
        clientX: box.left + box.width / 2, clientY: box.top + box.height / 2 }));
    });
    await settle(page);
    opened.push(page);
  }
  for (const [what, keys] of [['a key that changes no depth (3, 4)', ['3', '4']],
    ['a key that changes depth (2, 1)', ['2', '1']]]) {
    const times = all.map(() => []);
    for (let i = 0; i < kLargeKeys; ++i) {
      for (const [n, page] of opened.entries()) {
        await page.bringToFront();
        times[n].push(await longestTask(page, keys[i % 2]));
      }
    }
    const m = times.map(median);
    console.log(`longest task after ${what}, a pixel picked, ${kLarge}x${kLarge} (medians of ` +
      `${kLargeKeys}, in turns): ` + all.map((p, n) => `${p.name} ${m[n].toFixed(0)} ms`).join('; '));
    if (keys[0] === '3') {
      console.log(`  at most ${kLargeMost} ms with the depth view: ${m[0] <= kLargeMost ? 'yes' : 'NO'}`);
    } else if (pages.length > 1) {
      console.log(`  against the earlier page: ${(m[0] / m[1]).toFixed(2)}x (at most 0.4x: ` +
        `${m[0] / m[1] <= 0.4 ? 'yes' : 'NO'})`);
    }
  }
  for (const page of opened) await page.browserContext().close();
}

module.exports = { measureFrameView, measureLargeFrame, median };
