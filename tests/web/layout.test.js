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
const { openPage, settle, frameAfter, readCanvas } = require('../../tools/browser/page_driver');
const { browserSuite, shownState } = require('./harness');
const { followed } = require('./history');

// The viewport of the latest frame and the drawing buffer it was drawn into.
const viewport = (page) => page.evaluate(() => {
  const gl = window.zbvContext();
  return { viewport: window.zbvCalls.viewport, buffer: [gl.drawingBufferWidth, gl.drawingBufferHeight] };
});

// Runs change in the page, then waits for the frame it brings.
async function thenFrame(page, change, ...args) {
  await frameAfter(page, () => page.evaluate(change, ...args));
  await settle(page);
}

// Drags the picture's frame to this size (CSS pixels) and waits for its frame.
const frameTo = (page, width, height) => thenFrame(page, (w, h) => {
  Object.assign(document.querySelector('.frame').style, { width: `${w}px`, height: `${h}px` });
}, width, height);

// The boxes of the two views, and what the inspector shows.
const views = (page) => page.evaluate(() => {
  const size = (id) => { const r = document.getElementById(id).getBoundingClientRect(); return [r.width, r.height]; };
  return { picture: size('canvas'), depth: size('depth'),
    depthFrame: size('depth') && [document.querySelector('.depth-frame').clientWidth,
      document.querySelector('.depth-frame').clientHeight],
    depthBitmap: [document.getElementById('depth').width, document.getElementById('depth').height],
    panel: !document.getElementById('pixel-facts').hidden,
    crosses: [...document.querySelectorAll('.cross')].filter((c) => !c.hidden).length,
    where: document.getElementById('pixel-where').textContent, hash: location.hash,
    range: document.getElementById('depth-range').textContent };
});

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

  test('a pick outside a frame made smaller is dropped; the depth view has the picture\'s size',
    async () => {
      const page = await openPage(browser(), { hash: '#pixel=279,271' });
      await followed(page);
      assert.equal((await views(page)).crosses, 2);
      await frameTo(page, 120, 120);
      await followed(page);
      let v = await views(page);
      assert.deepEqual([v.panel, v.crosses, v.hash], [false, 0, '']);
      assert.deepEqual(v.depth, v.picture);
      assert.deepEqual(v.depthFrame, v.picture.map(Math.round), 'the depth view\'s frame');
      await page.focus('#canvas');
      await page.keyboard.press('ArrowLeft');
      await page.waitForFunction(() => /\(59, 60\)/.test(document.getElementById('pixel-where').textContent));
      await frameTo(page, 8200, 300);
      v = await views(page);
      assert.deepEqual(v.depth, v.picture, 'a wide frame\'s depth view');
      assert.deepEqual(page.errors, []);
    });

  test('widening a frame past the largest drawing buffer draws it again', async () => {
    const page = await openPage(browser());
    const floor = async () => {
      const { width, height, rgb } = await readCanvas(page);
      const at = ((height - 2) * width + (width >> 1)) * 3;
      return [...rgb.subarray(at, at + 3)];
    };
    for (const [[w0, h0], [w1, h1]] of [[[8200, 300], [9000, 300]], [[8193, 100], [10000, 100]]]) {
      await frameTo(page, w0, h0);
      await frameTo(page, w1, h1);
      assert.ok((await floor()).some((c) => c > 0), `${w1}x${h1} after ${w0}x${h0}: no picture`);
    }
    assert.deepEqual(page.errors, []);
  });

  test('a frame too large for the depth view shows nothing stale of a smaller one', async () => {
    const page = await openPage(browser(), { hash: '#pixel=150,150' });
    await followed(page);
    await frameTo(page, 5000, 4000);
    await page.waitForFunction(() => /too large/.test(document.getElementById('depth-range').textContent));
    let v = await views(page);
    assert.ok(v.depthBitmap[0] * v.depthBitmap[1] <= 1, `a ${v.depthBitmap} depth bitmap`);
    assert.equal(v.panel, false, 'the panel still shows a pixel of the smaller frame');
    await frameTo(page, 300, 300);
    await followed(page);
    v = await views(page);
    assert.deepEqual([v.panel, v.depthBitmap], [true, [300, 300]]);
    assert.deepEqual(page.errors, []);
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
