// SPDX-License-Identifier: MIT
// The page's start, for bench.js: from navigation to its first call to WebGL, to its first
// contentful paint (what a student sees first), and to the first draw call of the program's
// first frame (the picture on its way), in a cold browser (just started) and a warm one (the
// page loaded before), beside a minimal page that only creates a WebGL context with the same
// options and clears it once, and an earlier build of the page where one is named, taken in
// turns so that a busy moment of the machine falls on all alike.
'use strict';
const { launch } = require('../../tools/browser/browser');
const { openPage } = require('../../tools/browser/page_driver');
const { median } = require('./bench_history');

const kColdRuns = 3, kWarmRuns = 20;

// The least a page that draws with WebGL does: a context with the page's options, one clear.
const kMinimal = `<!doctype html><html lang="en"><title>minimal</title>
<canvas id="canvas" width="300" height="300"></canvas><script>
const gl = document.getElementById('canvas').getContext('webgl', { alpha: false, depth: true,
  stencil: false, antialias: false, preserveDrawingBuffer: true });
gl.clearColor(0, 0, 0, 1);
gl.clear(gl.COLOR_BUFFER_BIT | gl.DEPTH_BUFFER_BIT);
</script></html>`;

// {call, paint, picture} in ms from the start of navigation: the first WebGL call, the first
// contentful paint, the first draw call (for the minimal page, which draws nothing, its clear).
async function startOnce(browser, url, minimal) {
  const page = await openPage(browser, { url, waitForFrame: false });
  await page.waitForFunction((bare) => window.zbvCalls.firstFrameAt > 0 &&
    (bare || window.zbvCalls.firstDrawAt > 0), { timeout: 30000 }, minimal);
  const times = await page.evaluate(() => new Promise((done) => {
    const c = window.zbvCalls;
    const give = (paint) => done({ call: c.firstFrameAt, paint, picture: c.firstDrawAt || c.firstFrameAt });
    const seen = performance.getEntriesByName('first-contentful-paint')[0];
    if (seen) return give(seen.startTime);
    new PerformanceObserver((list) => give(list.getEntries()[0].startTime))
      .observe({ type: 'paint', buffered: true });
    return undefined;
  }));
  await page.browserContext().close();
  return times;
}

const medians = (runs) => Object.fromEntries(['call', 'paint', 'picture']
  .map((k) => [k, median(runs.map((r) => r[k]))]));
const ms = (t) => `first WebGL call ${t.call.toFixed(0)} ms, first paint ${t.paint.toFixed(0)} ms, ` +
  `first draw of the picture ${t.picture.toFixed(0)} ms`;
const ratios = (t, bare) => `first WebGL call ${(t.call / bare.call).toFixed(2)}x, first paint ` +
  `${(t.paint / bare.paint).toFixed(2)}x, first draw ${(t.picture / bare.picture).toFixed(2)}x`;

// pages: [{name, url}] with the page first; minimalUrl: where kMinimal is written.
async function measureStart(pages, minimalUrl) {
  const cold = [];
  for (let i = 0; i < kColdRuns; ++i) {
    const browser = await launch('chromium');
    cold.push(await startOnce(browser, pages[0].url, false));
    await browser.close();
  }
  console.log(`start, cold browser (median of ${kColdRuns}): ${ms(medians(cold))}`);
  const all = [...pages, { name: 'a minimal WebGL page', url: minimalUrl, minimal: true }];
  const browser = await launch('chromium');
  try {
    for (const p of all) await startOnce(browser, p.url, !!p.minimal);
    const runs = all.map(() => []);
    for (let i = 0; i < kWarmRuns; ++i) {
      for (const [k, p] of all.entries()) runs[k].push(await startOnce(browser, p.url, !!p.minimal));
    }
    const [bare] = runs.slice(-1).map(medians);
    console.log(`start, warm browser (medians of ${kWarmRuns}, in turns):`);
    for (const [k, p] of all.entries()) {
      const t = medians(runs[k]);
      console.log(`  ${p.name}: ${ms(t)}${p.minimal ? '' : `; against the minimal page: ${ratios(t, bare)}`}`);
    }
    const page = medians(runs[0]);
    // A page without a challenge against the earlier one, in the same turns.
    if (pages.length > 1) {
      const earlier = medians(runs[1]), r = page.picture / earlier.picture;
      console.log(`  first draw of the picture against the earlier page: ${r.toFixed(3)}x ` +
        `(first paint ${(page.paint / earlier.paint).toFixed(3)}x); at most 1.05x: ${r <= 1.05 ? 'yes' : 'NO'}`);
    }
    console.log(`  first WebGL call at most 1.3x the minimal page's: ${page.call / bare.call <= 1.3 ? 'yes' : 'NO'}; ` +
      `first paint at most 2x: ${page.paint / bare.paint <= 2 ? 'yes' : 'NO'}`);
  } finally {
    await browser.close();
  }
}

module.exports = { measureStart, kMinimal };
