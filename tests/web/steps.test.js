// SPDX-License-Identifier: MIT
// The page's frame draw by draw, and its depth view, against the desktop gallery's pictures
// of the same draws (written by `make test-web` under ZBV_DESKTOP_TOUR), within the bounds
// the parity test holds the whole frame to.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { openPage, pressAndWait, readCanvas } = require('../../tools/browser/page_driver');
const { facts, tour, readPng } = require('../../tools/browser/scene');
const { kDesktop, compare, outOfBounds } = require('./compare');
const { browserSuite } = require('./harness');
const { chooseStep } = require('./panel');

const kStepFiles = facts.draws.files;

browserSuite('The frame draw by draw, and its depth', {
  everyEngine: true,
  needs: () => (fs.existsSync(path.join(kDesktop, 'steps', tour()[0].file, 'depth')) ? ''
    : 'needs the desktop tour with its steps in ZBV_DESKTOP_TOUR (make test-web writes it)'),
}, (browser, name) => {
  test('every step of every stop, colour and depth, as the desktop draws it', async () => {
    const page = await openPage(browser());
    const worst = { colour: null, depth: null };
    const check = (what, kind, desktopFile, web) => {
      const r = { what, ...compare(readPng(desktopFile), web) };
      if (!worst[kind] || r.off > worst[kind].off) worst[kind] = r;
      assert.equal(outOfBounds(r, what), '');
    };
    for (const stop of tour()) {
      await page.bringToFront();
      if (stop.key) await pressAndWait(page, stop.key);
      const dir = path.join(kDesktop, 'steps', stop.file);
      for (const [n, file] of kStepFiles.entries()) {
        await chooseStep(page, n + 1);
        check(`${stop.file} ${file}`, 'colour', path.join(dir, `${file}.png`), await readCanvas(page));
        check(`${stop.file} ${file} depth`, 'depth', path.join(dir, 'depth', `${file}.png`),
          await readCanvas(page, 'depth'));
      }
      // The whole frame's depth view against the gallery's depth picture of the stop.
      check(`${stop.file} depth view`, 'depth', path.join(kDesktop, 'depth', `${stop.file}.png`),
        await readCanvas(page, 'depth'));
    }
    for (const [kind, r] of Object.entries(worst)) {
      console.log(`${name}: worst ${kind}: ${r.what}, ${r.off} of ${r.smooth} smooth pixels off, ` +
        `landmarks within ${r.landmarkWorst}/255, worst ${r.worst}/255`);
    }
    assert.deepEqual(page.errors, []);
  });
});
