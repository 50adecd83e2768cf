// SPDX-License-Identifier: MIT
// The page against the real desktop viewer: the gallery's tour, key for key, on both. The
// desktop frames (ZBV_DESKTOP_TOUR, written by `make test-web`) are the ones the desktop
// tests prove against the lighting equation.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { openPage, pressAndWait, readCanvas } = require('../../tools/browser/page_driver');
const { tour, kPixelSteps, kSmoothShareOff, readPng } = require('../../tools/browser/scene');
const { kDesktop, compare, outOfBounds } = require('./compare');
const { browserSuite } = require('./harness');


browserSuite('The page and the desktop viewer', {
  everyEngine: true,
  needs: () => (fs.existsSync(path.join(kDesktop, `${tour()[0].file}.png`)) ? ''
    : 'needs the desktop tour in ZBV_DESKTOP_TOUR (make test-web writes it)'),
}, (browser, name) => {
  test('draw the same picture at every stop of the tour, by keys and by address', async () => {
    const page = await openPage(browser());
    const results = [];
    for (const stop of tour()) {
      await page.bringToFront();  // Firefox draws no frames in a tab that is not in front
      if (stop.key) await pressAndWait(page, stop.key);
      const desktop = readPng(path.join(kDesktop, `${stop.file}.png`));
      // The same state opened fresh from the address the keys left.
      const hash = await page.evaluate(() => location.hash);
      const fresh = await openPage(browser(), { hash });
      for (const [how, web] of [['keys', await readCanvas(page)], [hash || 'no fragment',
        await readCanvas(fresh)]]) {
        assert.deepEqual([web.width, web.height], [desktop.width, desktop.height], stop.file);
        results.push({ stop: `${stop.file} (${how})`, ...compare(desktop, web) });
      }
      await fresh.browserContext().close();
    }
    for (const r of results) {
      console.log(`${name}: ${r.stop.padEnd(40)} landmarks within ${r.landmarkWorst}/255` +
        `${r.landmarkWorst ? ` (worst at ${r.worstLandmark})` : ''}; ${r.smooth} smooth pixels, ` +
        `${r.off} off by more than ${kPixelSteps}, worst ${r.worst}/255`);
    }
    console.log(`${name}: worst count ${Math.max(...results.map((r) => r.off))} smooth pixels ` +
      `off by more than ${kPixelSteps} (bound: ${100 * kSmoothShareOff} % of them)`);
    for (const r of results) assert.equal(outOfBounds(r, r.stop), '');
    assert.deepEqual(page.errors, []);
  });
});
