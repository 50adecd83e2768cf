// SPDX-License-Identifier: MIT
// The page as a window: resized by its frame's handle, idle when nothing happens, back after
// the GPU is lost, and saying so where there is no WebGL or its shader fails.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const { openPage, calls, settle, sleep, waitForFrames, frameAfter, readCanvas } =
  require('../../tools/browser/page_driver');
const { followed } = require('./panel');
const { frontTeapotWidth } = require('../../tools/browser/scene');
const { browserSuite, same } = require('./harness');

// Waits for one of the page's messages to show, and returns its text.
async function message(page, id) {
  await page.waitForFunction((i) => getComputedStyle(document.getElementById(i)).display !== 'none',
    { timeout: 20000 }, id);
  return page.evaluate((i) => ({ text: document.getElementById(i).innerText,
    canvasShown: document.getElementById('canvas').getClientRects().length > 0 }), id);
}

browserSuite('The page', { everyEngine: true }, (browser) => {
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
    await followed(page);  // past the frame the capture draws when it starts, after the first
    await settle(page);
    const before = await calls(page);
    assert.ok(before.draws > 0);
    await sleep(2000);
    assert.deepEqual(await calls(page), before);
  });

  test('a context lost at any moment comes back with the same picture, depth view and history',
    async () => {
      // What a page shows: both views, the depth's range, the pixel's colour and depth.
      const shows = async (page) => ({ picture: await readCanvas(page), depth: await readCanvas(page, 'depth'),
        panel: await page.evaluate(() => ['depth-range', 'pixel-colour', 'pixel-depth']
          .map((id) => document.getElementById(id).textContent)) });
      // The action, then (in the same task, while its frame is pending) the context lost; it
      // is restored a moment later.
      const actLosing = (page, action) => page.evaluate((act) => new Promise((done) => {
        const canvas = document.getElementById('canvas');
        const lose = window.zbvContext().getExtension('WEBGL_lose_context');
        // (Not counted among the page's listeners.)
        window.zbvAdd.call(canvas, 'webglcontextlost', () => setTimeout(() => lose.restoreContext(), 50),
          { once: true });
        canvas.addEventListener('webglcontextrestored', () => done(), { once: true });
        window.zbvAct[act]();
        lose.loseContext();
      }), action);
      const actions = () => {
        window.zbvAct = {
          key: () => document.body.dispatchEvent(new KeyboardEvent('keydown', { key: '2', bubbles: true })),
          step: () => document.querySelector('input[name="step"][value="2"]').click(),
          resize: () => Object.assign(document.querySelector('.frame').style,
            { width: '240px', height: '200px' }),
          pick: () => {
            const box = document.getElementById('canvas').getBoundingClientRect();
            document.getElementById('canvas').dispatchEvent(new MouseEvent('click',
              { bubbles: true, clientX: box.left + 60, clientY: box.top + 150 }));
          },
        };
        const add = window.zbvAdd = EventTarget.prototype.addEventListener;
        window.zbvLossListeners = 0;
        EventTarget.prototype.addEventListener = function(type, ...rest) {
          if (type === 'webglcontextlost') window.zbvLossListeners += 1;
          return add.call(this, type, ...rest);
        };
      };
      const lost = await openPage(browser(), { hash: '#pixel=150,150', before: actions });
      const listeners = await lost.evaluate(() => window.zbvLossListeners);
      // Each adds to what the ones before it did: the page that keeps its context does them all.
      const kActions = ['key', 'step', 'resize', 'pick'];
      for (const action of kActions) {
        await lost.bringToFront();
        const { clears } = await calls(lost);
        await actLosing(lost, action);
        await waitForFrames(lost, clears + 1);
        await followed(lost);
        await settle(lost);
        // The same action on a page that keeps its context.
        const kept = await openPage(browser(), { hash: '#pixel=150,150', before: actions });
        for (const done of kActions.slice(0, kActions.indexOf(action) + 1)) {
          const act = () => kept.evaluate((a) => window.zbvAct[a](), done);
          await (done === 'pick' ? act() : frameAfter(kept, act));  // a pick draws nothing
        }
        await followed(kept);
        await settle(kept);
        assert.deepEqual(await shows(lost), await shows(kept), `lost after ${action}`);
        await kept.browserContext().close();
      }
      assert.equal(await lost.evaluate(() => window.zbvLossListeners), listeners,
        'losing the context added listeners');
      assert.deepEqual(lost.errors, []);
    });

  test('says so in words when its shader does not compile', async () => {
    const page = await openPage(browser(), { waitForFrame: false, before: () => {
      for (const type of [window.WebGLRenderingContext, window.WebGL2RenderingContext]) {
        const real = type.prototype.shaderSource;
        type.prototype.shaderSource = function(shader, text) {
          real.call(this, shader, `${text} this does not compile`);
        };
      }
    } });
    const shown = await message(page, 'gl-failed');
    assert.match(shown.text, /could not set up its drawing.*shader did not compile/s);
    assert.equal(shown.canvasShown, false);
    assert.deepEqual(page.errors, []);
  });
});

browserSuite('The page without WebGL', { noWebgl: true, everyEngine: true }, (browser) => {
  test('says so in words', async () => {
    const page = await openPage(browser(), { waitForFrame: false });
    const shown = await message(page, 'no-webgl');
    assert.match(shown.text, /WebGL/);
    assert.equal(shown.canvasShown, false);
    assert.deepEqual(page.errors, []);
  });
});
