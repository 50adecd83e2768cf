// SPDX-License-Identifier: MIT
// A click picks the pixel painted under the pointer, in the picture and in the depth view, at
// device pixel ratios 1 to 2 and with the views starting part of the way into a pixel: checked
// against a screenshot of the screen's own pixels, along the edges where a row's colour
// differs from the row above (the first floor row among them).
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const { openPage, settle } = require('../../tools/browser/page_driver');
const { readPng } = require('../../tools/browser/scene');
const { browserSuite } = require('./harness');
const { followed } = require('./panel');

// Moves everything by a fraction of a CSS pixel, right and down.
function shiftBy(page, by) {
  return page.evaluate((s) => {
    const style = document.getElementById('shift') || document.createElement('style');
    style.id = 'shift';
    style.textContent = `body { padding: ${16 + s}px 16px 16px ${16 + s}px !important }`;
    document.head.appendChild(style);
  }, by);
}

// Clicks along the view's middle column at every whole CSS pixel whose device pixel differs
// from one beside it, above or below, in the screenshot `shot`; returns how many, and the first
// click whose pick is not that device pixel: the pick's colour in the view's own bitmap against
// the screen's.
async function clickEdges(page, shot, id, scale) {
  const screen = (x, y) => [...shot.rgb.subarray((y * shot.width + x) * 3, (y * shot.width + x) * 3 + 3)];
  const box = await page.$eval(`#${id}`, (e) => e.getBoundingClientRect().toJSON());
  const x = Math.round(box.left + box.width / 2), dx = Math.floor(x * scale);
  let clicked = 0;
  for (let y = Math.ceil(box.top) + 1; y < box.bottom - 1; ++y) {
    const dy = Math.floor(y * scale), here = String(screen(dx, dy));
    if (String(screen(dx, dy - 1)) === here && String(screen(dx, dy + 1)) === here) continue;
    await page.mouse.click(x, y);
    const picked = await page.evaluate((which) => {
      const m = document.getElementById('pixel-where').dataset.pixel.split(',');
      const view = document.getElementById(which), px = +m[0], py = view.height - 1 - m[1];
      if (which === 'depth') return [...view.getContext('2d').getImageData(px, py, 1, 1).data.slice(0, 3)];
      return document.getElementById('pixel-colour').dataset.rgb.split(',').map(Number);
    }, id);
    clicked += 1;
    if (String(picked) !== here) return { clicked, wrong: `(${x}, ${y}): screen ${here}, picked ${picked}` };
  }
  return { clicked, wrong: '' };
}

// Each ratio with the views shifted by a fraction of a CSS pixel that leaves them starting
// part of the way into a device pixel. Firefox paints an emulated ratio as a screen of it
// would, so one Firefox tries them all; Chromium snaps an emulated ratio's positions to whole
// CSS pixels, so it is tried at its own.
const kRatios = [[1, [0.328, 0.75]], [1.5, [0.328]], [2, [0.75]]];

browserSuite('Picking at any device pixel ratio', { everyEngine: true }, (browser, name) => {
  test('picks the pixel painted under the pointer, whatever fraction the views start at',
    async () => {
      for (const [scale, shifts] of name === 'firefox' ? kRatios : kRatios.slice(0, 1)) {
        const page = await openPage(browser(), { hash: '#keys=4', scale });
        // The crosshair, hidden, so that the screen shows the views alone.
        await page.addStyleTag({ content: '.cross { display: none !important }' });
        for (const by of shifts) {
          await shiftBy(page, by);
          await followed(page);
          await settle(page);
          const shot = readPng(Buffer.from(await page.screenshot({ captureBeyondViewport: false })));
          for (const id of ['canvas', 'depth']) {
            const { clicked, wrong } = await clickEdges(page, shot, id, scale);
            assert.ok(clicked >= 2, `${id} at ${scale}, shifted by ${by}: only ${clicked} edges`);
            assert.equal(wrong, '', `${id} at ${scale}, shifted by ${by}`);
          }
        }
        assert.deepEqual(page.errors, [], `at ${scale}`);
        await page.browserContext().close();
      }
    });
});
