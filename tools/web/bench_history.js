// SPDX-License-Identifier: MIT
// The inspector's costs, for bench.js: the time a picked pixel takes to fill the history
// panel, and a key press to its finished frame with the depth view beside the picture and
// without it (the depth target and its read-back switched off), taken in turns in one run.
'use strict';
const { openPage, settle } = require('./page');

const kPicks = 60, kKeys = 40;

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

// Milliseconds from a key's keydown event to the end of the frame it brings, the depth
// view's read-back and drawing included when it is on.
function keyToFinishedFrame(page, key) {
  return page.evaluate((k) => new Promise((done) => {
    let pressed = 0;
    document.addEventListener('keydown', () => { pressed = performance.now(); },
      { once: true, capture: true });
    const check = () => {
      if (Module.zbvFrameEndAt > pressed && pressed) done(Module.zbvFrameEndAt - pressed);
      else requestAnimationFrame(check);
    };
    document.body.dispatchEvent(new KeyboardEvent('keydown', { key: k, bubbles: true }));
    requestAnimationFrame(check);
  }), key);
}

async function measureInspector(browser) {
  const withView = await openPage(browser), without = await openPage(browser);
  await without.evaluate(() => Module.zbvDepthView(false));
  await settle(withView);
  await settle(without);
  const picks = await pickTimes(withView);
  const on = [], off = [];
  for (let i = 0; i < kKeys; ++i) {
    const key = i % 2 ? '3' : '4';
    await withView.bringToFront();
    on.push(await keyToFinishedFrame(withView, key));
    await without.bringToFront();
    off.push(await keyToFinishedFrame(without, key));
  }
  console.log(`pixel picked to history panel filled: ${median(picks).toFixed(1)} ms (median of ` +
    `${kPicks}, slowest ${Math.max(...picks).toFixed(1)} ms; at most 16 ms: ` +
    `${median(picks) <= 16 ? 'yes' : 'NO'})`);
  const ratio = median(on) / median(off);
  console.log(`key press to finished frame with the depth view: ${median(on).toFixed(1)} ms, ` +
    `without it: ${median(off).toFixed(1)} ms (medians of ${kKeys}, in turns); ratio ` +
    `${ratio.toFixed(2)} (at most 2: ${ratio <= 2 ? 'yes' : 'NO'})`);
  await withView.browserContext().close();
  await without.browserContext().close();
}

module.exports = { measureInspector };
