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
const { tour } = require('../../tools/web/scene');
const { compare, withinBounds, kSmoothTolerance } = require('./compare');
const { browserSuite } = require('./harness');

const kDesktop = process.env.ZBV_DESKTOP_TOUR || '';
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
    for (const r of results) assert.equal(withinBounds(r, r.stop), '');
    assert.deepEqual(page.errors, []);
  });
});
