// SPDX-License-Identifier: MIT
// The page as a window: resized by its frame's handle, idle when nothing happens, back after
// the GPU is lost, and saying so where there is no WebGL or its shader fails.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const { openPage, calls, settle, sleep, waitForFrames, readCanvas } = require('../../tools/browser/page_driver');
const { frontTeapotWidth } = require('../../tools/browser/scene');
const { browserSuite, same } = require('./harness');

// Waits for one of the page's messages to show, and returns its text.
async function message(page, id) {
  await page.waitForFunction((i) => getComputedStyle(document.getElementById(i)).display !== 'none',
    { timeout: 20000 }, id);
  return page.evaluate((i) => ({ text: document.getElementById(i).innerText,
    canvasShown: document.getElementById('canvas').getClientRects().length > 0 }), id);
}

browserSuite('The page', {}, (browser) => {
  test('dragging the frame to 400x300 widens the view, not the teapots', async () => {
    const page = await openPage(browser());
    const square = await readCanvas(page);
    const box = await (await page.$('.frame')).boundingBox();
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
    await sleep(2000);
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

  test('says so in words when its shader does not compile', async () => {
    const page = await openPage(browser(), { waitForFrame: false, before: () => {
      const real = WebGLRenderingContext.prototype.shaderSource;
      WebGLRenderingContext.prototype.shaderSource = function(shader, text) {
        real.call(this, shader, `${text} this does not compile`);
      };
    } });
    const shown = await message(page, 'gl-failed');
    assert.match(shown.text, /could not set up its drawing.*shader did not compile/s);
    assert.equal(shown.canvasShown, false);
    assert.deepEqual(page.errors, []);
  });
});

browserSuite('The page without WebGL', { noWebgl: true }, (browser) => {
  test('says so in words', async () => {
    const page = await openPage(browser(), { waitForFrame: false });
    const shown = await message(page, 'no-webgl');
    assert.match(shown.text, /WebGL/);
    assert.equal(shown.canvasShown, false);
    assert.deepEqual(page.errors, []);
  });
});
