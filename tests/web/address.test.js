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

// Every state the keys can give, as the fragment names it: a key or none per group.
const kFragments = [];
for (const depth of ['', '2']) {
  for (const lighting of ['', '4']) {
    for (const light of ['', '5', '6']) kFragments.push(depth + lighting + light);
  }
}
const kMalformed = ['#keys=22', '#keys=21', '#keys=42', '#keys=8', '#keys=2x', '#keys=%zz',
  '#keys=%E0%A4%A', '#keys=+2', '#keys=\u0662', '#keys'];

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
