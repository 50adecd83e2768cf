// SPDX-License-Identifier: MIT
// node bench/web/bench.js: the page's size, the time from navigation to its first frame in a
// cold browser (just started) and a warm one (the page loaded before), beside a minimal page
// that only creates a WebGL context with the same options and clears it; from a key press to
// its frame; the draw calls of an idle page; what the view into the frame costs
// (bench_history.js). With ZBV_WEB_EARLIER naming an earlier build of the page, that page's
// first frame is measured in the same turns, so that a change's cost is seen side by side.
// Times are medians; they measure, they do not test.
'use strict';
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const { kPage, unavailable, launch } = require('../../tools/browser/browser');
const { openPage, calls, settle, sleep } = require('../../tools/browser/page_driver');
const { measureFrameView, measureLargeFrame, median } = require('./bench_history');
const { measureLab } = require('./bench_lab');

const kColdRuns = 3, kWarmRuns = 20, kKeys = 40, kIdleMs = 2000;
// The page's limit, as make web checks it (WEB_PAGE_LIMIT in the Makefile).
const kPageLimit = Number(process.env.ZBV_WEB_PAGE_LIMIT || 140000);
const kEarlier = process.env.ZBV_WEB_EARLIER || '';

// The least a page that draws with WebGL does: a context with the page's options, one clear.
const kMinimal = `<!doctype html><html lang="en"><title>minimal</title>
<canvas id="canvas" width="300" height="300"></canvas><script>
const gl = document.getElementById('canvas').getContext('webgl', { alpha: false, depth: true,
  stencil: false, antialias: false, preserveDrawingBuffer: true });
gl.clearColor(0, 0, 0, 1);
gl.clear(gl.COLOR_BUFFER_BIT | gl.DEPTH_BUFFER_BIT);
</script></html>`;

// Milliseconds from the start of navigation to the first frame's first call to WebGL.
async function firstFrame(browser, url = '') {
  const page = await openPage(browser, { url });
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
  const size = fs.statSync(kPage).size;
  console.log(`page: ${kPage}, ${size} bytes (at most ${kPageLimit}: ` +
    `${size <= kPageLimit ? 'yes' : 'NO'})`);
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'zbv-bench-'));
  const minimal = pathToFileURL(path.join(dir, 'minimal.html')).href;
  fs.writeFileSync(path.join(dir, 'minimal.html'), kMinimal);
  const earlier = kEarlier && pathToFileURL(path.join(dir, 'earlier.html')).href;
  if (kEarlier) fs.copyFileSync(kEarlier, path.join(dir, 'earlier.html'));
  const cold = [];
  for (let i = 0; i < kColdRuns; ++i) {
    const browser = await launch('chromium');
    cold.push(await firstFrame(browser));
    await browser.close();
  }
  const browser = await launch('chromium');
  try {
    await firstFrame(browser);
    await firstFrame(browser, minimal);
    if (earlier) await firstFrame(browser, earlier);
    // Taken in turns, so that a busy moment of the machine falls on all alike.
    const warm = [], bare = [], before = [];
    for (let i = 0; i < kWarmRuns; ++i) {
      warm.push(await firstFrame(browser));
      bare.push(await firstFrame(browser, minimal));
      if (earlier) before.push(await firstFrame(browser, earlier));
    }
    const page = await openPage(browser);
    await settle(page);
    const idleFrom = await calls(page);
    await sleep(kIdleMs);
    const idleTo = await calls(page);
    const keys = [];
    for (let i = 0; i < kKeys; ++i) keys.push(await keyToFrame(page, i % 2 ? '3' : '4'));
    console.log(`navigation to first frame, cold browser: ${median(cold).toFixed(0)} ms ` +
      `(median of ${kColdRuns})`);
    console.log(`navigation to first frame, warm browser: ${median(warm).toFixed(0)} ms ` +
      `(median of ${kWarmRuns}); a minimal WebGL page's: ${median(bare).toFixed(0)} ms; ` +
      `ratio ${(median(warm) / median(bare)).toFixed(2)}`);
    if (earlier) {
      console.log(`the earlier page (${kEarlier}), in the same turns: ` +
        `${median(before).toFixed(0)} ms, ratio ${(median(before) / median(bare)).toFixed(2)}`);
    }
    console.log(`idle for ${kIdleMs / 1000} s: ${idleTo.draws - idleFrom.draws} draw calls, ` +
      `${idleTo.clears - idleFrom.clears} frames`);
    const total = keys.map((k) => k[0]), drawing = keys.map((k) => k[1]);
    console.log(`key press to frame drawn: ${median(total).toFixed(1)} ms (median of ${kKeys}, ` +
      `slowest ${Math.max(...total).toFixed(1)} ms), of which drawing the frame ` +
      `${median(drawing).toFixed(1)} ms`);
    await measureFrameView(browser);
    await measureLargeFrame(browser);
    await measureLab(browser);
  } finally {
    await browser.close();
    fs.rmSync(dir, { recursive: true, force: true });
  }
})().catch((e) => {
  console.error(`bench: ${e.message}`);
  process.exit(1);
});
