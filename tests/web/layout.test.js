// SPDX-License-Identifier: MIT
// The page at every size: a frame bigger than the browser's drawing buffer, full screen,
// phones held either way, and embedded in another page.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { pathToFileURL } = require('node:url');
const { kPage } = require('../../tools/browser/browser');
const { openPage, settle, frameAfter } = require('../../tools/browser/page_driver');
const { browserSuite, shownState } = require('./harness');

// The viewport of the latest frame and the drawing buffer it was drawn into.
const viewport = (page) => page.evaluate(() => {
  const gl = document.getElementById('canvas').getContext('webgl');
  return { viewport: window.zbvCalls.viewport, buffer: [gl.drawingBufferWidth, gl.drawingBufferHeight] };
});

// Runs change in the page, then waits for the frame it brings.
async function thenFrame(page, change, ...args) {
  await frameAfter(page, () => page.evaluate(change, ...args));
  await settle(page);
}

browserSuite('The page at any size', {}, (browser) => {
  test('a frame of 9000x9000 shows the whole view in the buffer the browser gave', async () => {
    const page = await openPage(browser());
    await thenFrame(page, () => {
      Object.assign(document.querySelector('.frame').style, { width: '9000px', height: '9000px' });
    });
    const { viewport: v, buffer } = await viewport(page);
    assert.deepEqual(v, [0, 0, ...buffer]);
    assert.equal(buffer[0], buffer[1], 'the buffer lost the frame\'s shape');
    await thenFrame(page, () => {
      Object.assign(document.querySelector('.frame').style, { width: '', height: '' });
    });
    assert.deepEqual((await viewport(page)).viewport, [0, 0, 300, 300]);
  });

  test('full screen gives reshape the screen\'s size, and leaving it the old size', async () => {
    const page = await openPage(browser());
    await frameAfter(page, () => page.click('#full-screen'));
    await page.waitForFunction(() => !!document.fullscreenElement);
    await settle(page);
    const screen = await page.evaluate(() => [screen.width, screen.height]);
    assert.deepEqual((await viewport(page)).viewport, [0, 0, ...screen]);
    await thenFrame(page, () => document.exitFullscreen());
    assert.deepEqual((await viewport(page)).viewport, [0, 0, 300, 300]);
  });

  for (const [width, height] of [[375, 667], [667, 375]]) {
    test(`a ${width}x${height} phone: no sideways scroll, 44 px targets, taps keep the page still`,
      async () => {
        const page = await openPage(browser(), { width, height, scale: 2, touch: true });
        const layout = await page.evaluate(() => ({
          wide: document.documentElement.scrollWidth - innerWidth,
          small: [...document.querySelectorAll('button, canvas')].filter((e) => !e.hidden)
            .map((e) => e.getBoundingClientRect()).filter((r) => r.width < 44 || r.height < 44),
        }));
        assert.ok(layout.wide <= 0, `${layout.wide} px of sideways scrolling`);
        assert.deepEqual(layout.small, [], 'targets smaller than 44x44');
        for (const key of ['4', '7']) {
          await page.evaluate((k) => document.querySelector(`[data-key="${k}"]`)
            .scrollIntoView({ block: 'center' }), key);
          const y = await page.evaluate(() => scrollY);
          const box = await (await page.$(`[data-key="${key}"]`)).boundingBox();
          await frameAfter(page, () => page.touchscreen.tap(box.x + box.width / 2,
            box.y + box.height / 2));
          await settle(page);
          assert.equal(await page.evaluate(() => scrollY), y, `tapping ${key} moved the page`);
        }
        assert.equal((await shownState(page)).pressed, '147');
      });
  }

  test('embedded in another page, it leaves the host\'s focus alone until clicked', async () => {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'zbv-host-'));
    const host = path.join(dir, 'host.html');
    fs.writeFileSync(host, '<!doctype html><title>host</title><input id="host" autofocus>' +
      `<iframe src="${pathToFileURL(kPage).href}" width="700" height="500"></iframe>`);
    try {
      const page = await openPage(browser(), { url: pathToFileURL(host).href, waitForFrame: false });
      const frame = await (await page.$('iframe')).contentFrame();
      await frame.waitForFunction(() => window.zbvCalls && window.zbvCalls.clears > 0,
        { timeout: 20000 });
      await settle(page);
      assert.equal(await page.evaluate(() => document.activeElement.id), 'host');
      const box = await (await frame.$('#canvas')).boundingBox();
      await page.mouse.click(box.x + 10, box.y + 10);
      assert.equal(await page.evaluate(() => document.activeElement.tagName), 'IFRAME');
      assert.equal(await frame.evaluate(() => document.activeElement.id), 'canvas');
    } finally {
      fs.rmSync(dir, { recursive: true, force: true });
    }
  });
});
