// SPDX-License-Identifier: MIT
// Keys and buttons on the page, as on the desktop: every character typed anywhere reaches
// the viewer once and only 1-7 change the picture; keys that type nothing, shortcuts and Tab
// never reach it; the page says what the state is after each key.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const { openPage, calls, settle, press, frameAfter, pressAndWait, readCanvas } =
  require('../../tools/browser/page_driver');
const { tour } = require('../../tools/browser/scene');
const { browserSuite, same, shownState } = require('./harness');
const { followed } = require('./panel');

const kLit = 'Depth test on, lighting on, white light.';
const kUnlit = 'Depth test on, lighting off, white light.';
// What the page says at each stop of the tour, the buttons shown pressed, and its address.
const kTourShows = {
  '01-start-up': [kLit, '137', ''],
  '02-key-2-depth-off': ['Depth test off, lighting on, white light.', '237', '#keys=2'],
  '03-key-1-depth-on': [kLit, '137', ''],
  '04-key-4-unlit': [kUnlit, '147', '#keys=4'],
  '05-key-2-unlit-depth-off': [kUnlit.replace('on', 'off'), '247', '#keys=24'],
  '06-key-1-unlit-depth-on': [kUnlit, '147', '#keys=4'],
  '07-key-3-lit': [kLit, '137', ''],
  '08-key-5-yellow': ['Depth test on, lighting on, yellow light.', '135', '#keys=5'],
  '09-key-6-cyan': ['Depth test on, lighting on, cyan light.', '136', '#keys=6'],
  '10-key-7-white': [kLit, '137', ''],
};

const focused = (page) => page.evaluate(() => document.activeElement.id ||
  document.activeElement.dataset.key || document.activeElement.tagName);

browserSuite('Keys', { everyEngine: true }, (browser) => {
  test('the state line, the pressed buttons and the address follow the tour', async () => {
    const page = await openPage(browser());
    const live = await page.evaluate(() => document.getElementById('state').getAttribute('role'));
    assert.equal(live, 'status', 'the state line is not a polite live region');
    const history = await page.evaluate(() => history.length);
    let previous = '';
    for (const stop of tour()) {
      if (stop.key) await pressAndWait(page, stop.key);
      const { line, pressed } = await shownState(page);
      const hash = await page.evaluate(() => location.hash);
      assert.deepEqual([line, pressed, hash], kTourShows[stop.file], stop.file);
      if (stop.key) assert.notEqual(line, previous, `${stop.file}: the live region kept its text`);
      previous = line;
    }
    assert.equal(await page.evaluate(() => history.length), history, 'keys added history entries');
  });

  test('open on a focused canvas; keys work after a click beside it', async () => {
    const page = await openPage(browser());
    assert.equal(await page.title(), decodeURIComponent(new URL(page.url()).pathname));
    assert.equal(await focused(page), 'canvas');
    const ring = await page.evaluate(() => getComputedStyle(document.querySelector('.frame')).outlineStyle);
    assert.notEqual(ring, 'none', 'no focus ring around the focused canvas');
    await page.mouse.click(8, 590);  // the page's background takes the focus away
    assert.notEqual(await focused(page), 'canvas');
    await pressAndWait(page, '4');
    assert.match((await shownState(page)).line, /lighting off/);
    await page.click('#canvas');
    assert.equal(await focused(page), 'canvas');
  });

  test('every other character redraws the same picture, once, and none quits', async () => {
    const page = await openPage(browser());
    await followed(page);  // past the frame the capture draws when it starts, after the first
    const startUp = await readCanvas(page);
    for (const key of ['x', 'q', 'Q', '0', '8', '9', 'Space', '!', '.', 'Escape', 'Enter',
      'Backspace', 'Delete']) {
      const before = (await calls(page)).clears;
      await pressAndWait(page, key);
      await settle(page);
      assert.equal((await calls(page)).clears, before + 1, `${key}: not exactly one frame`);
      assert.ok(same(await readCanvas(page), startUp), `${key} changed the picture`);
    }
    await pressAndWait(page, '4');
    assert.ok(!same(await readCanvas(page), startUp), '4 did not switch lighting off');
    assert.deepEqual(page.errors, []);
  });

  test('arrows, function keys, modifiers, shortcuts and Tab do not reach the viewer', async () => {
    const page = await openPage(browser());
    await followed(page);
    await settle(page);
    const before = await calls(page);
    for (const key of ['ArrowLeft', 'ArrowDown', 'F2', 'Shift', 'Control', 'Alt', 'Control+4',
      'Alt+4', 'Meta+4', 'Tab', 'Shift+Tab']) {
      await press(page, key);
    }
    await settle(page);
    assert.deepEqual(await calls(page), before, 'a key that types nothing brought a frame');
    // Keys are handled in order: once 4's frame shows, all of the above have been.
    await pressAndWait(page, '4');
    await settle(page);
    assert.equal((await calls(page)).clears, before.clears + 1);
  });

  test('Tab leaves the canvas for the buttons; keys reach the viewer from a button; Enter and ' +
    'Space activate the focused button alone', async () => {
    const page = await openPage(browser());
    await followed(page);
    await press(page, 'Tab');
    assert.equal(await focused(page), 'depth');  // the depth view, beside the picture
    await press(page, 'Tab');
    assert.equal(await focused(page), '1');
    await press(page, 'Shift+Tab');
    await press(page, 'Shift+Tab');
    assert.equal(await focused(page), 'canvas');
    for (let i = 0; i < 5; ++i) await press(page, 'Tab');
    assert.equal(await focused(page), '4');
    await pressAndWait(page, '2');
    assert.equal((await shownState(page)).pressed, '237');
    const before = (await calls(page)).clears;
    await pressAndWait(page, 'Enter');
    await settle(page);
    assert.equal((await calls(page)).clears, before + 1, 'Enter reached the viewer as well');
    assert.equal((await shownState(page)).pressed, '247');
    await press(page, 'Shift+Tab');
    await pressAndWait(page, 'Space');
    assert.equal((await shownState(page)).pressed, '237');
    assert.equal(await focused(page), '3', 'activating a button moved the focus');
  });

  test('each button sends its key and leaves the focus where it is', async () => {
    const byKeys = await openPage(browser()), byButtons = await openPage(browser());
    const names = await byButtons.$$eval('[data-key]', (all) => all.map((b) => b.textContent));
    assert.deepEqual(names.map((n) => n.slice(0, 3)), ['1: ', '2: ', '3: ', '4: ', '5: ', '6: ', '7: ']);
    for (const key of '2143567') {
      // Firefox draws no frames in a tab that is not in front.
      await byKeys.bringToFront();
      await pressAndWait(byKeys, key);
      await byButtons.bringToFront();
      await frameAfter(byButtons, () => byButtons.click(`[data-key="${key}"]`));
      assert.ok(same(await readCanvas(byButtons), await readCanvas(byKeys)), `button ${key}`);
      assert.notEqual(await focused(byButtons), 'canvas', `button ${key} sent the focus away`);
    }
  });
});
