// SPDX-License-Identifier: MIT
// The page checked by axe-core, best practices included, in every state the keys give, with
// the system's colour scheme light and dark.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const { openPage, pressAndWait, frameAfter } = require('../../tools/browser/page_driver');
const { followed } = require('./panel');
const { axeViolations } = require('../../tools/browser/axe');
const { browserSuite } = require('./harness');

for (const dark of [false, true]) {
  browserSuite(`The page for everyone, ${dark ? 'dark' : 'light'}`, { dark, everyEngine: !dark }, (browser, name) => {
    test('axe finds nothing in any state', async () => {
      const page = await openPage(browser());
      const scheme = await page.evaluate(() => matchMedia('(prefers-color-scheme: dark)').matches);
      assert.equal(scheme, dark, 'the browser did not take the colour scheme');
      let checked = 0, version = '';
      for (const depth of '12') {
        for (const lighting of '34') {
          for (const light of '567') {
            for (const key of depth + lighting + light) await pressAndWait(page, key);
            const found = await axeViolations(page);
            assert.deepEqual(found.violations, [], `keys ${depth}${lighting}${light}`);
            version = found.version;
            checked += 1;
          }
        }
      }
      // The lab away from the program's values, a pixel picked, a value refused, the map on.
      await frameAfter(page, () => page.evaluate(() => {
        location.hash = '#near=0.0001&far=-3&depth=16&pixel=150,100';
      }));
      await page.click('#zfight');
      await followed(page);
      const lab = await axeViolations(page);
      assert.deepEqual(lab.violations, [], 'the lab');
      checked += 1;
      // Every language the page speaks, the last with the projector's scheme on too.
      for (const [lang, projector] of [['es', ''], ['fr', ''], ['de', ''], ['pt-BR', ''],
        ['zh-Hans', ''], ['en', '&projector=1'], ['zh-Hans', '&projector=1']]) {
        await page.evaluate((h) => { location.hash = h; }, `#lang=${lang}&pixel=150,100${projector}`);
        await page.waitForFunction((l) => document.documentElement.dataset.words === l, {}, lang);
        await followed(page);
        const found = await axeViolations(page);
        assert.deepEqual(found.violations, [], `${lang}${projector}`);
        checked += 1;
      }
      console.log(`${name}, ${dark ? 'dark' : 'light'}: axe-core ${version}, 0 violations in ` +
        `${checked} states`);
    });
  });
}
