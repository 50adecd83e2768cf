// SPDX-License-Identifier: MIT
// node bench/web/bench.js: the page's size; its start beside a minimal WebGL page
// (bench_start.js); from a key press to its frame; the draw calls of an idle page; what the
// view into the frame costs (bench_history.js), the lab's controls (bench_lab.js) and a
// challenge's next task (bench_challenge.js). With
// ZBV_WEB_EARLIER naming an earlier build of the page, that page is measured in the same
// turns, so that a change's cost is seen side by side. Times are medians; they measure, they
// do not test.
'use strict';
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const { kPage, unavailable, launch } = require('../../tools/browser/browser');
const { openPage, calls, settle, sleep } = require('../../tools/browser/page_driver');
const { measureFrameView, measureLargeFrame, median } = require('./bench_history');
const { measureLab } = require('./bench_lab');
const { measureNext } = require('./bench_challenge');
const { measureStart, kMinimal } = require('./bench_start');
const { facts } = require('../../tools/browser/scene');

const kKeys = 40, kIdleMs = 2000;
// The page's limit, as make web checks it (WEB_PAGE_LIMIT in the Makefile).
const kPageLimit = Number(process.env.ZBV_WEB_PAGE_LIMIT || 140000);
const kEarlier = process.env.ZBV_WEB_EARLIER || '';

// Milliseconds from a key's keydown event to the end of the frame it brings (its last
// draw call issued, one for each of the frame's draws), and how much of that the frame
// itself took.
async function keyToFrame(page, key) {
  return page.evaluate((k, frameDraws) => new Promise((done) => {
    let pressed = 0;
    document.addEventListener('keydown', () => { pressed = performance.now(); },
      { once: true, capture: true });
    const draws = window.zbvCalls.draws;
    const check = () => {
      if (window.zbvCalls.draws >= draws + frameDraws) {
        const c = window.zbvCalls;
        done([c.lastDrawAt - pressed, c.lastDrawAt - c.lastClearAt]);
      }
      else requestAnimationFrame(check);
    };
    document.body.dispatchEvent(new KeyboardEvent('keydown', { key: k, bubbles: true }));
    requestAnimationFrame(check);
  }), key, facts.draws.files.length);
}

// Key presses in turns on each page: medians of [to the frame drawn, drawing it].
async function keysInTurns(browser, pages) {
  const opened = [];
  for (const p of pages) {
    const page = await openPage(browser, { url: p.url });
    await settle(page);
    opened.push(page);
  }
  const idleFrom = await calls(opened[0]);
  await sleep(kIdleMs);
  const idleTo = await calls(opened[0]);
  console.log(`idle for ${kIdleMs / 1000} s: ${idleTo.draws - idleFrom.draws} draw calls, ` +
    `${idleTo.clears - idleFrom.clears} frames`);
  const times = pages.map(() => []);
  for (let i = 0; i < kKeys; ++i) {
    for (const [n, page] of opened.entries()) {
      await page.bringToFront();
      times[n].push(await keyToFrame(page, i % 2 ? '3' : '4'));
    }
  }
  for (const [n, p] of pages.entries()) {
    const total = times[n].map((k) => k[0]), drawing = times[n].map((k) => k[1]);
    console.log(`${p.name}: key press to frame drawn ${median(total).toFixed(1)} ms (median of ` +
      `${kKeys}, in turns, slowest ${Math.max(...total).toFixed(1)} ms), of which drawing the ` +
      `frame ${median(drawing).toFixed(1)} ms`);
  }
  for (const page of opened) await page.browserContext().close();
}

(async () => {
  const why = unavailable('chromium');
  if (why) throw new Error(why);
  const size = fs.statSync(kPage).size;
  console.log(`page: ${kPage}, ${size} bytes (at most ${kPageLimit}: ` +
    `${size <= kPageLimit ? 'yes' : 'NO'})`);
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'zbv-bench-'));
  fs.writeFileSync(path.join(dir, 'minimal.html'), kMinimal);
  const pages = [{ name: 'the page', url: pathToFileURL(kPage).href }];
  if (kEarlier) {
    fs.copyFileSync(kEarlier, path.join(dir, 'earlier.html'));
    pages.push({ name: `the earlier page (${kEarlier})`, url: pathToFileURL(path.join(dir, 'earlier.html')).href });
  }
  try {
    await measureStart(pages, pathToFileURL(path.join(dir, 'minimal.html')).href);
    const browser = await launch('chromium');
    try {
      await keysInTurns(browser, pages);
      await measureFrameView(browser, pages);
      await measureLargeFrame(browser, pages);
      await measureLab(browser, pages);
      await measureNext(browser, pages);
    } finally {
      await browser.close();
    }
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
})().catch((e) => {
  console.error(`bench: ${e.message}`);
  process.exit(1);
});
