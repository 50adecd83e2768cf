// SPDX-License-Identifier: MIT
// The state in the address: every "#keys=" fragment opens the state its keys give from
// start-up; a malformed one opens the start-up state, without an error; changing the
// fragment changes the state, and other parameters are left alone.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const { openPage, pressAndWait, readCanvas, settle, frameAfter } =
  require('../../tools/browser/page_driver');
const { browserSuite, same, shownState } = require('./harness');
const { followed } = require('./panel');

// States the keys give, as the fragment names them (a key or none per group), each group's
// key among them; and malformed ones of each kind (a repeated group, an unknown key, broken
// escapes, no value). The reader of every spelling is tested under node (tests/js).
const kFragments = ['', '2', '4', '5', '6', '246', '45'];
const kMalformed = ['#keys=22', '#keys=8', '#keys=%E0%A4%A', '#keys'];

browserSuite('The address', {}, (browser) => {
  test('each fragment opens the state its keys give, and keys write it back', async () => {
    const byKeys = await openPage(browser());
    const startUpPicture = await readCanvas(byKeys);
    for (const keys of kFragments) {
      // From whatever state the last one left, a key for every group (Firefox draws no
      // frames in a tab that is not in front).
      await byKeys.bringToFront();
      for (const [k, unless] of [['2', '1'], ['4', '3'], ['5', ''], ['6', '']]) {
        if (keys.includes(k)) await pressAndWait(byKeys, k);
        else if (unless) await pressAndWait(byKeys, unless);
      }
      if (!keys.includes('5') && !keys.includes('6')) await pressAndWait(byKeys, '7');
      assert.equal(await byKeys.evaluate(() => location.hash), keys ? `#keys=${keys}` : '');
      const opened = await openPage(browser(), { hash: keys ? `#keys=${keys}` : '' });
      await settle(opened);
      assert.ok(same(await readCanvas(opened), await readCanvas(byKeys)), `#keys=${keys}`);
      assert.deepEqual(await shownState(opened), await shownState(byKeys), `#keys=${keys}`);
      assert.equal(await opened.evaluate(() => location.hash), keys ? `#keys=${keys}` : '');
      await opened.browserContext().close();
    }
    for (const hash of kMalformed) {
      const page = await openPage(browser(), { hash });
      await settle(page);
      assert.ok(same(await readCanvas(page), startUpPicture), `${hash}: not the start-up picture`);
      assert.deepEqual(page.errors, [], hash);
      await page.browserContext().close();
    }
  });

  test('a changed fragment changes the state; other parameters stay', async () => {
    const page = await openPage(browser(), { hash: '#view=2&keys=4' });
    const history = await page.evaluate(() => history.length);
    assert.match((await shownState(page)).line, /lighting off/);
    const change = async (hash) => {
      await frameAfter(page, () => page.evaluate((h) => { location.hash = h; }, hash));
      await settle(page);
      return [(await shownState(page)).pressed, await page.evaluate(() => location.hash)];
    };
    assert.deepEqual(await change('#view=2&keys=25'), ['235', '#view=2&keys=25']);
    assert.deepEqual(await change('#keys=6&view=3'), ['136', '#keys=6&view=3']);
    assert.deepEqual(await change('#keys=66&view=3'), ['137', '#view=3']);
    await pressAndWait(page, '2');
    assert.equal(await page.evaluate(() => location.hash), '#view=3&keys=2');
    assert.equal(await page.evaluate(() => history.length), history + 3,
      'only the fragment changes made here add history entries');
    assert.deepEqual(page.errors, []);
  });
});

// Pixel and step values that are not of the address's form, each with what it leaves: the
// canonical address and the pixel picked ('' for none): one of each kind (out of the frame,
// not a number, too many parts, out of range, not canonical, repeated). Those marked are also
// opened afresh.
const kLoaded = new Set(['#pixel=-1,5', '#pixel=450,150', '#pixel=010,05',
  '#view=1&step=1&keys=2&pixel=5,5']);
const kPicks = [
  ['#pixel=-1,5', '', ''], ['#pixel=1e3,5', '', ''], ['#pixel=5,6,7', '', ''],
  ['#pixel=300,300', '', ''], ['#pixel=99999999999999999999999,5', '', ''],
  ['#pixel=450,150', '', ''], ['#step=5', '', ''], ['#step=2.0', '', ''],
  ['#step=4', '', ''], ['#pixel=010,05', '#pixel=10,5', '10,5'],
  ['#step=2&step=3&pixel=1,2', '#pixel=1,2&step=2', '1,2'],
  ['#view=1&step=1&keys=2&pixel=5,5', '#view=1&keys=2&pixel=5,5&step=1', '5,5'],
];

// What the page shows of the pixel and the step, and its address.
const picked = (page) => page.evaluate(() => ({
  hash: location.hash,
  pixel: (/\((\d+), (\d+)\)/.exec(document.getElementById('pixel-where').textContent) || [])
    .slice(1).join(','),
  panel: !document.getElementById('pixel-facts').hidden,
  crosses: [...document.querySelectorAll('.cross')].filter((c) => !c.hidden).length,
  step: document.querySelector('input[name="step"]:checked').value,
  wide: document.documentElement.scrollWidth > innerWidth,
}));

browserSuite('The address of a pixel and a step', {}, (browser) => {
  test('names exactly what the page shows, in canonical form, at load and when edited',
    async () => {
      const edited = await openPage(browser(), { hash: '#pixel=10,10&step=2' });
      for (const [hash, canonical, pixel] of kPicks) {
        const loaded = kLoaded.has(hash) ? await openPage(browser(), { hash }) : null;
        if (loaded) await settle(loaded);
        await edited.bringToFront();
        await frameAfter(edited, () => edited.evaluate((h) => { location.hash = h; }, hash));
        await settle(edited);
        for (const page of loaded ? [loaded, edited] : [edited]) {
          await page.waitForFunction((h) => location.hash === h, {}, canonical);
          await followed(page);
          const shown = await picked(page);
          const step = (/step=(\d)/.exec(canonical) || [0, '4'])[1];
          assert.deepEqual(shown, { hash: canonical, pixel: shown.panel ? pixel : shown.pixel,
            panel: !!pixel, crosses: pixel ? 2 : 0, step, wide: false }, hash);
          if (pixel) assert.equal(shown.pixel, pixel, hash);
          assert.deepEqual(page.errors, [], hash);
        }
        if (loaded) await loaded.browserContext().close();
      }
      // The pick and the step go with an address that leaves them out.
      await frameAfter(edited, () => edited.evaluate(() => { location.hash = '#pixel=10,10&step=2'; }));
      await followed(edited);
      await frameAfter(edited, () => edited.evaluate(() => { location.hash = '#keys=2'; }));
      await settle(edited);
      assert.deepEqual(await picked(edited), { hash: '#keys=2', pixel: '10,10', panel: false,
        crosses: 0, step: '4', wide: false });
    });

  test('an edit that comes while a frame is pending wins over it', async () => {
    const page = await openPage(browser(), { hash: '#keys=4' });
    for (let i = 0; i < 6; ++i) {
      await page.bringToFront();
      const [from, to] = i % 2 ? ['#keys=25', '#keys=4'] : ['#keys=4', '#keys=25'];
      await page.evaluate((h) => {
        document.body.dispatchEvent(new KeyboardEvent('keydown', { key: '7', bubbles: true }));
        location.hash = h;
      }, to);
      await settle(page);
      await settle(page);
      assert.equal(await page.evaluate(() => location.hash), to, `from ${from}`);
      assert.equal((await shownState(page)).pressed, to === '#keys=4' ? '147' : '235', `from ${from}`);
    }
    // A storm of edits, keys and picks: the last edit is what shows.
    const last = await page.evaluate(() => {
      let s = 7, hash = '';
      const next = (n) => (s = (s * 1103515245 + 12345) % 2147483648) % n;
      for (let i = 0; i < 300; ++i) {
        const keys = ['1', '2', ''][next(3)] + ['3', '4', ''][next(3)] + ['5', '6', '7', ''][next(4)];
        hash = `#keys=${keys}&pixel=${next(300)},${next(300)}&step=${next(4)}`;
        if (next(2)) document.body.dispatchEvent(new KeyboardEvent('keydown', { key: String(1 + next(7)), bubbles: true }));
        location.hash = hash;
      }
      return hash;
    });
    await settle(page);
    await settle(page);
    await page.waitForFunction(() => window.zbvCalls.clears > 1);
    // Keys that name the start-up state (1, 3, 7) are left out.
    const canonical = last.replace(/keys=(\d*)&/, (m, k) => (k.replace(/[137]/g, '') ?
      `keys=${k.replace(/[137]/g, '')}&` : '')).replace('#&', '#');
    assert.equal(await page.evaluate(() => location.hash), canonical);
    assert.deepEqual(page.errors, []);
  });
});
