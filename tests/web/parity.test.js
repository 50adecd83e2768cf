// SPDX-License-Identifier: MIT
// The page against the real desktop viewer: the gallery's tour, key for key, on both. The
// desktop frames (ZBV_DESKTOP_TOUR, written by `make test-web`) are the ones the desktop
// tests prove against the lighting equation.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { openPage, pressAndWait, readCanvas } = require('../../tools/web/browser');
const { readPng } = require('../../tools/web/png');
const { tour, probes } = require('../../tools/web/scene');
const { browserSuite } = require('./harness');

const kDesktop = process.env.ZBV_DESKTOP_TOUR || '';
const kProbeTolerance = 1;   // of 255, per channel
const kSmoothTolerance = 3;
const kSmoothShare = 0.995;  // of the smooth pixels, within kSmoothTolerance

function distance(a, b, i) {
  return Math.max(Math.abs(a.rgb[i] - b.rgb[i]), Math.abs(a.rgb[i + 1] - b.rgb[i + 1]),
    Math.abs(a.rgb[i + 2] - b.rgb[i + 2]));
}

// Pixels whose 3x3 neighbourhood in the desktop frame is all one colour: away from edges,
// where a different rasteriser may rightly cover a pixel differently.
function smoothPixels(frame) {
  const { width, height, rgb } = frame, out = [];
  for (let y = 1; y + 1 < height; ++y) {
    for (let x = 1; x + 1 < width; ++x) {
      const c = (y * width + x) * 3;
      let uniform = true;
      for (let dy = -1; dy <= 1 && uniform; ++dy) {
        for (let dx = -1; dx <= 1 && uniform; ++dx) {
          const n = ((y + dy) * width + x + dx) * 3;
          uniform = rgb[n] === rgb[c] && rgb[n + 1] === rgb[c + 1] && rgb[n + 2] === rgb[c + 2];
        }
      }
      if (uniform) out.push(c);
    }
  }
  return out;
}

function compare(desktop, web) {
  let probeWorst = 0, worstProbe = '';
  for (const [name, [x, y]] of Object.entries(probes())) {
    const d = distance(desktop, web, (y * desktop.width + x) * 3);
    if (d > probeWorst) [probeWorst, worstProbe] = [d, name];
  }
  const smooth = smoothPixels(desktop);
  let off = 0, worst = 0;
  for (const i of smooth) {
    const d = distance(desktop, web, i);
    if (d > kSmoothTolerance) off += 1;
    worst = Math.max(worst, d);
  }
  return { probeWorst, worstProbe, smooth: smooth.length, off, worst,
    share: (smooth.length - off) / smooth.length };
}

browserSuite('The page and the desktop viewer', {
  needs: () => (fs.existsSync(path.join(kDesktop, `${tour()[0].file}.png`)) ? ''
    : 'needs the desktop tour in ZBV_DESKTOP_TOUR (make test-web writes it)'),
}, (browser) => {
  test('draw the same picture at every stop of the tour', async () => {
    const page = await openPage(browser());
    const results = [];
    for (const stop of tour()) {
      if (stop.key) await pressAndWait(page, stop.key);
      const web = await readCanvas(page);
      const desktop = readPng(path.join(kDesktop, `${stop.file}.png`));
      assert.deepEqual([web.width, web.height], [desktop.width, desktop.height], stop.file);
      results.push({ stop: stop.file, ...compare(desktop, web) });
    }
    for (const r of results) {
      console.log(`${r.stop.padEnd(14)} probes within ${r.probeWorst}/255` +
        `${r.probeWorst ? ` (worst at ${r.worstProbe})` : ''}; ${r.smooth} smooth pixels, ` +
        `${r.off} off by more than ${kSmoothTolerance} (${(100 * r.share).toFixed(2)} % within), ` +
        `worst ${r.worst}/255`);
    }
    console.log(`worst count: ${Math.max(...results.map((r) => r.off))} smooth pixels off`);
    for (const r of results) {
      assert.ok(r.probeWorst <= kProbeTolerance,
        `${r.stop}: ${r.worstProbe} differs by ${r.probeWorst}/255`);
      assert.ok(r.share >= kSmoothShare, `${r.stop}: ${r.off} of ${r.smooth} smooth pixels off`);
    }
    assert.deepEqual(page.errors, []);
  });
});
