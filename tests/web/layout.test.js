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
const { followed } = require('./panel');
const { axeViolations } = require('../../tools/browser/axe');

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

// The boxes of the two views, and what the pixel history shows.
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

// The languages the page speaks, as the assembly wrote them into it.
const kLanguages = fs.existsSync(kPage)
  ? /data-langs="([^"]+)"/.exec(fs.readFileSync(kPage, 'utf8'))[1].split(',') : [];

// How far the page, or anything on it outside a box that scrolls by itself, reaches past
// a screen this wide (the whole page laid out, what lies below the first screen too).
const pastTheRight = (frame, width) => frame.evaluate(async (w) => {
  document.querySelectorAll('.inside').forEach((e) => e.scrollIntoView());
  await new Promise((done) => requestAnimationFrame(() => setTimeout(done, 0)));
  const past = [...document.querySelectorAll('body *')]
    .filter((e) => !e.closest('[hidden], .scroll') && e.getBoundingClientRect().width > 0)
    .map((e) => ({ what: `${e.tagName.toLowerCase()}#${e.id}.${e.className}`,
      by: e.getBoundingClientRect().right - Math.min(w, document.documentElement.clientWidth) }))
    .filter((e) => e.by > 0.5);
  return { page: document.documentElement.scrollWidth - Math.min(w, document.documentElement.clientWidth),
    past: past.slice(0, 3) };
}, width);

browserSuite('The page at any size', { everyEngine: true }, (browser, name) => {
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

  test('a pick keeps its point of the picture as the frame changes, and goes where it leaves it; ' +
    'the depth view has the picture\'s size', async () => {
      const page = await openPage(browser(), { hash: '#pixel=279,271' });
      await followed(page);
      assert.equal((await views(page)).crosses, 2);
      // Smaller, of the same shape: the same point, in the smaller buffer's pixels.
      await frameTo(page, 120, 120);
      await followed(page);
      let v = await views(page);
      assert.deepEqual([v.panel, v.crosses, v.hash], [true, 2, '#pixel=279,271']);
      assert.match(v.where, /\(279, 271\).*\(111, 108\) of 120 × 120/);
      assert.deepEqual(v.depth, v.picture);
      assert.deepEqual(v.depthFrame, v.picture.map(Math.round), 'the depth view\'s frame');
      // Narrower than the point's place in the view: gone.
      await frameTo(page, 120, 300);
      await followed(page);
      v = await views(page);
      assert.deepEqual([v.panel, v.crosses, v.hash], [false, 0, '']);
      await page.focus('#canvas');
      await page.keyboard.press('ArrowLeft');
      await page.waitForFunction(() => /\(59, 150\)/.test(document.getElementById('pixel-where').textContent));
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
        const layout = await page.evaluate(async (w) => {
          // What lies below the first screen is laid out once it comes near it.
          document.querySelector('.inside').scrollIntoView();
          await new Promise((done) => requestAnimationFrame(() => setTimeout(done, 0)));
          return {
            // Against the screen's width: a phone's browser widens its layout to what overflows.
            wide: document.documentElement.scrollWidth - w,
            small: [...document.querySelectorAll('button, canvas')].filter((e) => !e.hidden)
              .map((e) => e.getBoundingClientRect()).filter((r) => r.width < 44 || r.height < 44),
          };
        }, width);
        assert.ok(layout.wide <= 0, `${layout.wide} px of sideways scrolling`);
        assert.deepEqual(layout.small, [], 'targets smaller than 44x44');
        for (const key of ['4', '7']) {
          // Scrolled there, and what scrolled out of sight set aside, before the tap.
          await page.evaluate(async (k) => {
            document.querySelector(`[data-key="${k}"]`).scrollIntoView({ block: 'center' });
            for (let i = 0; i < 2; ++i) await new Promise((done) => requestAnimationFrame(done));
          }, key);
          const y = await page.evaluate(() => scrollY);
          const box = await (await page.$(`[data-key="${key}"]`)).boundingBox();
          await frameAfter(page, () => page.touchscreen.tap(box.x + box.width / 2,
            box.y + box.height / 2));
          await settle(page);
          // The state line above may wrap anew and the browser's scroll anchoring take that up,
          // by a pixel; a tap that scrolls or zooms the page moves it by far more.
          const now = await page.evaluate(() => scrollY);
          assert.ok(Math.abs(now - y) <= 1, `tapping ${key} moved the page from ${y} to ${now}`);
        }
        assert.equal((await shownState(page)).pressed, '147');
      });
  }

  test('a phone\'s width in every language, a pixel picked: nothing wider than the screen, axe ' +
    'finds nothing; the projector on a phone too', async () => {
    // Every language in Chromium; in Firefox, whose layout is the other engine's, the language
    // of the longest words (each language's words are the same in both).
    const languages = name === 'chromium' ? kLanguages : ['de'];
    for (const [width, lang, extra] of [...languages.map((l) => [360, l, '']),
      [320, 'de', '&projector=1'], [414, 'fr', '&step=2']]) {
      const page = await openPage(browser(), { width, height: 700, hash: `#lang=${lang}&pixel=150,150${extra}` });
      await followed(page);
      await page.waitForFunction((l) => document.documentElement.dataset.words === l, {}, lang);
      const wide = await pastTheRight(page, width);
      assert.deepEqual(wide, { page: 0, past: [] }, `${lang} at ${width} px${extra}`);
      assert.deepEqual((await axeViolations(page)).violations, [], `${lang} at ${width} px`);
      await page.browserContext().close();
    }
  });

  test('the projector on a 1024x768 screen: the whole picture and the state line beside it ' +
    'on the first screen', async () => {
    for (const lang of ['en', 'de']) {
      const page = await openPage(browser(), { width: 1024, height: 768, hash: `#projector=1&lang=${lang}` });
      await page.waitForFunction((l) => document.documentElement.dataset.words === l, {}, lang);
      const box = (q) => page.$eval(q, (e) => e.getBoundingClientRect().toJSON());
      const [picture, state] = [await box('.frame'), await box('#state')];
      assert.ok(picture.bottom <= 768 && state.bottom <= 768, `${lang}: picture to ${picture.bottom}, ` +
        `state line to ${state.bottom}`);
      assert.ok(state.left >= picture.right && picture.width >= 400, `${lang}: the state line beside a ` +
        `${picture.width} px picture`);
      assert.deepEqual(await pastTheRight(page, 1024), { page: 0, past: [] });
      await page.browserContext().close();
    }
  });

  test('embedded in a 200x200 frame, it does not scroll sideways', async () => {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'zbv-host-'));
    const host = path.join(dir, 'host.html');
    fs.writeFileSync(host, '<!doctype html><title>host</title>' +
      `<iframe src="${pathToFileURL(kPage).href}#pixel=150,150" width="200" height="200"></iframe>`);
    try {
      const page = await openPage(browser(), { url: pathToFileURL(host).href, waitForFrame: false });
      const frame = await (await page.$('iframe')).contentFrame();
      await frame.waitForFunction(() => document.documentElement.dataset.words === 'en' &&
        !document.getElementById('pixel-facts').hidden, { timeout: 20000 });
      assert.deepEqual(await pastTheRight(frame, 200), { page: 0, past: [] });
    } finally {
      fs.rmSync(dir, { recursive: true, force: true });
    }
  });

  test('embedded in another page, it leaves the host\'s focus alone until clicked', async () => {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'zbv-host-'));
    const host = path.join(dir, 'host.html');
    fs.writeFileSync(host, '<!doctype html><title>host</title><input id="host" autofocus>' +
      `<iframe src="${pathToFileURL(kPage).href}" width="700" height="500"></iframe>`);
    try {
      const page = await openPage(browser(), { url: pathToFileURL(host).href, waitForFrame: false });
      const frame = await (await page.$('iframe')).contentFrame();
      await frame.waitForFunction(() => window.zbvCalls && window.zbvCalls.clears > 1,
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
