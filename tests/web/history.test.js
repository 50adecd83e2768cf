// SPDX-License-Identifier: MIT
// The pixel history against the canvas and against the scene's geometry (scene/facts.json),
// and the address that keeps the pixel and the step.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const { openPage, pressAndWait, readCanvas, settle, frameAfter } =
  require('../../tools/browser/page_driver');
const { facts, tour, landmarks, floorDistance, windowZ } = require('../../tools/browser/scene');
const { browserSuite } = require('./harness');
const { followed, chooseStep, pickAll } = require('./panel');

// Besides the landmarks (each object, the sky, the edges between them), a few pixels drawn at
// random in each state: together every kind of history (floor alone, a teapot over the floor,
// one teapot over another, the sky; lit and unlit; with the depth test and without).
const kRandomPixels = 16;
const { width: kWidth, height: kHeight } = facts.window;

// Landmarks (from the top-left) in window coordinates (from the bottom left).
const toWindow = ([x, y]) => [x, kHeight - 1 - y];
const windowLandmarks = () => Object.values(landmarks()).map(toWindow);

// The same pseudo-random pixels on every run.
function randomPixels(n, seed) {
  let s = seed;
  const next = () => (s = (s * 1103515245 + 12345) % 2147483648) / 2147483648;
  return Array.from({ length: n }, () => [Math.floor(next() * kWidth), Math.floor(next() * kHeight)]);
}

const channels = (text) => text.split(',').map(Number);
const off = (a, b) => Math.max(...a.map((v, i) => Math.abs(v - b[i])));

browserSuite('The pixel history', {}, (browser, name) => {
  test('shows the canvas colour, ends with it, and lit colours with the terms\' result', async () => {
    const page = await openPage(browser());
    const seen = new Set();
    let checked = 0, lit = 0, worst = 0;
    for (const [k, stop] of tour().entries()) {
      await page.bringToFront();
      if (stop.key) await pressAndWait(page, stop.key);
      const canvas = await readCanvas(page);
      const key = canvas.rgb.toString('base64');
      if (seen.has(key)) continue;  // a state seen before on the tour
      seen.add(key);
      const pixels = [...windowLandmarks(), ...randomPixels(kRandomPixels, k + 1)];
      const panels = await pickAll(page, pixels);
      pixels.forEach(([x, y], i) => {
        const at = ((kHeight - 1 - y) * kWidth + x) * 3, shown = [...canvas.rgb.subarray(at, at + 3)];
        const p = panels[i], d = off(channels(p.end), shown);
        assert.equal(p.colour, shown.join(','), `${stop.file} (${x}, ${y}): the panel's colour`);
        worst = Math.max(worst, d);
        assert.ok(d <= 1, `${stop.file} (${x}, ${y}): history ends ${p.end}, canvas ${shown}`);
        if (p.lit) {
          lit += 1;
          assert.ok(off(channels(p.lit), shown) <= 1, `${stop.file} (${x}, ${y}): lit ${p.lit}, canvas ${shown}`);
        }
        checked += 1;
      });
    }
    console.log(`${name}: ${checked} pixels in ${seen.size} states, ${lit} of them lit: history ` +
      `within ${worst}/255 of the canvas`);
    assert.deepEqual(page.errors, []);
  });

  test('stores the floor\'s projected depth along the bottom row', async () => {
    const page = await openPage(browser());
    const row = Array.from({ length: kWidth }, (_, x) => [x, 0]);
    const panels = await pickAll(page, row);
    const steps = panels.map((p, x) => Math.abs(p.depth - windowZ(floorDistance(x, 0))) * 2 ** 24);
    console.log(`${name}: bottom row within ${Math.max(...steps).toFixed(2)} steps of 2^-24`);
    // The desktop's bound, and one step more: the target rounds each value to 24 bits.
    assert.ok(Math.max(...steps) <= facts.tolerance.depthSteps24 + 1);
  });

  test('gives the depth test\'s verdicts where the grey teapot stands in front of the red one', async () => {
    const page = await openPage(browser());
    const over = toWindow(landmarks().teapot1Over2), sky = toWindow(landmarks().sky);
    const red = (p) => p.rows.find((r) => r.draw === 'red teapot');
    let [p, s] = await pickAll(page, [over, sky]);
    assert.equal(red(p).verdict, 'failed');
    const [r, g, b] = channels(p.end);
    assert.ok(r === g && g === b, `grey in front: ${p.end}`);
    assert.deepEqual(s.rows.filter((row) => row.rgb).map((row) => row.draw), ['clear']);
    await pressAndWait(page, '2');
    [p] = await pickAll(page, [over]);
    assert.equal(red(p).verdict, 'no test');
    assert.equal(p.endDraw, 'red teapot');
    assert.ok(channels(p.end)[0] > 2 * channels(p.end)[1], `red over grey: ${p.end}`);
  });

  test('a pick asks nothing of the GPU, whatever the frame\'s size', async () => {
    const page = await openPage(browser(), { before: () => {
      // Every call the page makes of WebGL, counted.
      window.zbvGlCalls = 0;
      for (const type of [window.WebGLRenderingContext, window.WebGL2RenderingContext]) {
        for (const name of Object.getOwnPropertyNames(type.prototype)) {
          const real = Object.getOwnPropertyDescriptor(type.prototype, name).value;
          if (typeof real !== 'function') continue;
          type.prototype[name] = function(...args) {
            window.zbvGlCalls += 1;
            return real.apply(this, args);
          };
        }
      }
    } });
    for (const size of [600, 1024]) {
      await frameAfter(page, () => page.evaluate((s) => {
        Object.assign(document.querySelector('.frame').style, { width: `${s}px`, height: `${s}px` });
      }, size));
      await followed(page);
      const calls = await page.evaluate(() => window.zbvGlCalls);
      const [p] = await pickAll(page, [[size >> 1, size >> 1]]);
      assert.equal(await page.evaluate(() => window.zbvGlCalls), calls, `${size}: a pick called WebGL`);
      assert.match(p.where, new RegExp(`\\(${size >> 1}, ${size >> 1}\\)`));
      assert.ok(p.colour, `${size}: no colour`);
    }
    assert.deepEqual(page.errors, []);
  });

  test('a link with a pixel and a step shows them; arrows move the pixel, not the viewer', async () => {
    const page = await openPage(browser(), { hash: '#keys=2&pixel=180,167&step=3' });
    await followed(page);
    assert.equal(await page.$eval('input[name="step"]:checked', (i) => i.value), '3');
    assert.match(await page.$eval('#pixel-where', (e) => e.textContent), /\(180, 167\)/);
    const rows = await page.$$eval('#pixel-history tbody tr', (all) => all.map((r) => r.textContent));
    assert.match(rows.find((t) => t.startsWith('red teapot')), /no test/);
    assert.match(rows.find((t) => t.startsWith('blue teapot')), /not drawn yet/);
    const clears = await page.evaluate(() => window.zbvCalls.clears);
    await page.focus('#depth');
    await page.keyboard.press('ArrowUp');
    await page.keyboard.press('ArrowLeft');
    await settle(page);
    assert.match(await page.$eval('#pixel-where', (e) => e.textContent), /\(179, 168\)/);
    assert.equal(await page.evaluate(() => window.zbvCalls.clears), clears);
    await chooseStep(page, 4);
    await page.waitForFunction(() => /pixel=179,168/.test(location.hash) && !/step=/.test(location.hash));
    assert.match(await page.evaluate(() => location.hash), /^#keys=2&pixel=179,168$/);
    assert.deepEqual(page.errors, []);
  });
});
