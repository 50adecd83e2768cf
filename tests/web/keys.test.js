// SPDX-License-Identifier: MIT
// Keys and buttons on the page, as on the desktop: every character reaches the viewer once
// and only 1-7 change the picture; keys that type nothing, and shortcuts, never reach it.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const { openPage, calls, settle, pressAndWait, readCanvas } = require('../../tools/web/browser');
const { browserSuite, same } = require('./harness');

browserSuite('Keys', {}, (browser) => {
  test('open on a focused canvas titled with the page path', async () => {
    const page = await openPage(browser());
    assert.equal(await page.title(), decodeURIComponent(new URL(page.url()).pathname));
    const focused = () => page.evaluate(() => document.activeElement.id);
    assert.equal(await focused(), 'canvas');
    const ring = await page.evaluate(() => getComputedStyle(document.querySelector('.frame')).outlineStyle);
    assert.notEqual(ring, 'none', 'no focus ring around the focused canvas');
    await page.mouse.click(700, 500);  // the page beside the canvas takes the focus away
    assert.notEqual(await focused(), 'canvas');
    await page.click('#canvas');
    assert.equal(await focused(), 'canvas');
  });

  test('every other character redraws the same picture, once, and none quits', async () => {
    const page = await openPage(browser());
    const startUp = await readCanvas(page);
    for (const key of ['x', 'q', 'Q', '0', '8', '9', 'Space', '!', '.', 'Escape', 'Enter', 'Tab',
      'Backspace', 'Delete']) {
      const before = (await calls(page)).clears;
      await pressAndWait(page, key);
      await settle(page);
      assert.equal((await calls(page)).clears, before + 1, `${key}: not exactly one frame`);
      assert.ok(same(await readCanvas(page), startUp), `${key} changed the picture`);
    }
    assert.equal(await page.evaluate(() => document.activeElement.id), 'canvas', 'Tab left');
    await pressAndWait(page, '4');
    assert.ok(!same(await readCanvas(page), startUp), '4 did not switch lighting off');
    assert.deepEqual(page.errors, []);
  });

  test('arrows, function keys, modifiers and shortcuts do not reach the viewer', async () => {
    const page = await openPage(browser());
    await settle(page);
    const before = await calls(page);
    for (const key of ['ArrowLeft', 'ArrowDown', 'F1', 'F2', 'Shift', 'Control', 'Alt',
      'Control+4', 'Alt+4', 'Meta+4']) {
      await page.keyboard.press(key);
    }
    await settle(page);
    assert.deepEqual(await calls(page), before, 'a key that types nothing brought a frame');
    // Keys are handled in order: once 4's frame shows, all of the above have been.
    await pressAndWait(page, '4');
    await settle(page);
    assert.equal((await calls(page)).clears, before.clears + 1);
  });

  test('each button sends its key and gives the focus back to the canvas', async () => {
    const byKeys = await openPage(browser()), byButtons = await openPage(browser());
    const labels = await byButtons.$$eval('[data-key]', (all) => all.map((b) => b.textContent));
    assert.deepEqual(labels.map((l) => l[0]), ['1', '2', '3', '4', '5', '6', '7']);
    for (const key of '2143567') {
      await pressAndWait(byKeys, key);
      const before = (await calls(byButtons)).clears;
      await byButtons.click(`[data-key="${key}"]`);
      await byButtons.waitForFunction((n) => window.zbvCalls.clears > n, before);
      assert.ok(same(await readCanvas(byButtons), await readCanvas(byKeys)), `button ${key}`);
      assert.equal(await byButtons.evaluate(() => document.activeElement.id), 'canvas');
    }
  });
});
