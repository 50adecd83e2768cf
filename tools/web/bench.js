// SPDX-License-Identifier: MIT
// node tools/web/bench.js: the page's size, the time from navigation to its first frame in a
// cold browser (just started) and a warm one (the page loaded before), and from a key press
// to its frame. Times are medians; they measure, they do not test.
'use strict';
const fs = require('node:fs');
const { kPage, unavailable, launch } = require('./browser');
const { openPage, settle } = require('./page');

const kColdRuns = 3, kWarmRuns = 10, kKeys = 40;

function median(values) {
  const s = [...values].sort((a, b) => a - b);
  return s[Math.floor(s.length / 2)];
}

// Milliseconds from the start of navigation to the first frame's first call to WebGL.
async function firstFrame(browser) {
  const page = await openPage(browser);
  const ms = await page.evaluate(() => window.zbvCalls.firstFrameAt);
  await page.browserContext().close();
  return ms;
}

// Milliseconds from a key's keydown event to the end of the frame it brings (its last
// draw call issued), and how much of that the frame itself took.
async function keyToFrame(page, key) {
  return page.evaluate((k) => new Promise((done) => {
    let pressed = 0;
    document.addEventListener('keydown', () => { pressed = performance.now(); },
      { once: true, capture: true });
    const draws = window.zbvCalls.draws;
    const check = () => {
      if (window.zbvCalls.draws >= draws + 4) {
        const c = window.zbvCalls;
        done([c.lastDrawAt - pressed, c.lastDrawAt - c.lastClearAt]);
      }
      else requestAnimationFrame(check);
    };
    document.body.dispatchEvent(new KeyboardEvent('keydown', { key: k, bubbles: true }));
    requestAnimationFrame(check);
  }), key);
}

(async () => {
  const why = unavailable('chromium');
  if (why) throw new Error(why);
  console.log(`page: ${kPage}, ${fs.statSync(kPage).size} bytes`);
  const cold = [];
  for (let i = 0; i < kColdRuns; ++i) {
    const browser = await launch('chromium');
    cold.push(await firstFrame(browser));
    await browser.close();
  }
  const browser = await launch('chromium');
  try {
    await firstFrame(browser);
    const warm = [];
    for (let i = 0; i < kWarmRuns; ++i) warm.push(await firstFrame(browser));
    const page = await openPage(browser);
    await settle(page);
    const keys = [];
    for (let i = 0; i < kKeys; ++i) keys.push(await keyToFrame(page, i % 2 ? '3' : '4'));
    console.log(`navigation to first frame, cold browser: ${median(cold).toFixed(0)} ms ` +
      `(median of ${kColdRuns})`);
    console.log(`navigation to first frame, warm browser: ${median(warm).toFixed(0)} ms ` +
      `(median of ${kWarmRuns})`);
    const total = keys.map((k) => k[0]), drawing = keys.map((k) => k[1]);
    console.log(`key press to frame drawn: ${median(total).toFixed(1)} ms (median of ${kKeys}, ` +
      `slowest ${Math.max(...total).toFixed(1)} ms), of which drawing the frame ` +
      `${median(drawing).toFixed(1)} ms`);
  } finally {
    await browser.close();
  }
})().catch((e) => {
  console.error(`bench: ${e.message}`);
  process.exit(1);
});
