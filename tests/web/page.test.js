// SPDX-License-Identifier: MIT
// The page as a window: resized by its frame's handle, idle when nothing happens, back after
// the GPU is lost, and saying so where there is no WebGL.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const { openPage, calls, settle, waitForFrames, readCanvas } = require('../../tools/web/browser');
const { browserSuite, frontTeapotWidth, same } = require('./harness');

browserSuite('The page', {}, (browser) => {
  test('dragging the frame to 400x300 widens the view, not the teapots', async () => {
    const page = await openPage(browser());
    const square = await readCanvas(page);
    const box = await page.locator('.frame').boundingBox();
    // The handle sits in the frame's bottom-right corner.
    const x = box.x + box.width - 3, y = box.y + box.height - 3;
    await page.mouse.move(x, y);
    await page.mouse.down();
    await page.mouse.move(x + 50, y, { steps: 5 });
    await page.mouse.move(x + 100, y, { steps: 5 });
    await page.mouse.up();
    await page.waitForFunction(() => document.getElementById('canvas').width === 400);
    await settle(page);
    const wide = await readCanvas(page);
    assert.deepEqual([wide.width, wide.height], [400, 300]);
    const width = frontTeapotWidth(square);
    assert.ok(width > 100, `front teapot ${width} pixels wide`);
    assert.ok(Math.abs(frontTeapotWidth(wide) - width) <= 2,
      `front teapot ${frontTeapotWidth(wide)} pixels wide at 400x300, ${width} at 300x300`);
  });

  test('draws nothing while nothing happens', async () => {
    const page = await openPage(browser());
    await settle(page);
    const before = await calls(page);
    assert.ok(before.draws > 0);
    await page.waitForTimeout(2000);
    assert.deepEqual(await calls(page), before);
  });

  test('draws the picture again once a lost context is restored', async () => {
    const page = await openPage(browser());
    await settle(page);
    const startUp = await readCanvas(page);
    const { clears } = await calls(page);
    await page.evaluate(() => new Promise((done) => {
      const canvas = document.getElementById('canvas');
      const lose = canvas.getContext('webgl').getExtension('WEBGL_lose_context');
      canvas.addEventListener('webglcontextlost', () => setTimeout(() => lose.restoreContext(), 100));
      canvas.addEventListener('webglcontextrestored', () => done());
      lose.loseContext();
    }));
    await waitForFrames(page, clears + 1);
    assert.ok(same(await readCanvas(page), startUp));
    assert.deepEqual(page.errors, []);
  });
});

browserSuite('The page without WebGL', { args: ['--disable-webgl'], webgl: false }, (browser) => {
  test('says so in words', async () => {
    const page = await openPage(browser(), { waitForFrame: false });
    const message = page.locator('#no-webgl');
    await message.waitFor({ state: 'visible' });
    assert.match(await message.innerText(), /WebGL/);
    for (const view of ['#canvas', '#depth']) assert.equal(await page.locator(view).isVisible(), false);
    assert.deepEqual(page.errors, []);
  });
});
