// SPDX-License-Identifier: MIT
// The depth-precision lab: the program's values draw the picture the program asks for;
// links and controls set the planes and the depth buffer's format, and refuse what they
// cannot take with a sentence; a tie between two surfaces' codes is the depth test's to fail.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const { openPage, readCanvas, settle, frameAfter } = require('../../tools/browser/page_driver');
const { browserSuite, same, shownState } = require('./harness');
const { followed, pickAll } = require('./panel');

// What the lab shows: the address, its sentences, the controls' values and both views.
const labShows = async (page) => ({ hash: await page.evaluate(() => location.hash),
  ...(await page.evaluate(() => ({
    planes: document.getElementById('lab-planes').textContent,
    refused: document.getElementById('lab-refused').textContent,
    near: document.getElementById('near').value, far: document.getElementById('far').value,
    format: document.querySelector('input[name="depth-format"]:checked').value }))) });

// Links the lab cannot take whole: each with what it names of the rest, in canonical form.
const kMalformed = [
  ['#keys=2&near=0&depth=16', '#keys=2&depth=16', /near plane “0”/],
  ['#near=-1', '', /near plane “-1”/], ['#near=NaN&far=Infinity', '', /“NaN”.*“Infinity”/],
  ['#near=5&far=2', '#near=5', /far plane 2 .*beyond the near plane \(5\)/],
  ['#depth=12', '', /depth buffer “12”/], [`#near=${'1'.repeat(10000)}`, '', /near plane “1{24}”/],
  ['#near=0.001&far=100&depth=24', '#near=0.001', /^$/],
  ['#far=1e5&near=1E-4', '#near=0.0001&far=100000', /^$/],
];

browserSuite('The depth-precision lab', {}, (browser) => {
  test('the program\'s values draw the program\'s picture; links are read and refused in part',
    async () => {
      const program = await openPage(browser());
      await followed(program);
      const picture = await readCanvas(program), depth = await readCanvas(program, 'depth');
      assert.match((await labShows(program)).planes, /asks for near 0\.1 and far 100, and the lab draws with them/);
      for (const [hash, canonical, refused] of kMalformed) {
        const page = await openPage(browser(), { hash });
        await settle(page);
        const shows = await labShows(page);
        assert.equal(shows.hash, canonical, hash.slice(0, 40));
        assert.match(shows.refused, refused, hash.slice(0, 40));
        assert.deepEqual(page.errors, [], hash.slice(0, 40));
        if (hash.startsWith('#keys=2')) assert.match((await shownState(page)).line, /Depth test off/);
        await page.browserContext().close();
      }
      // Away and back by the controls: the program's own picture and depth view again.
      const page = await openPage(browser(), { hash: '#near=0.0001&depth=16' });
      await followed(page);
      assert.ok(!same(await readCanvas(page), picture), 'the 16-bit lab drew the program\'s picture');
      await frameAfter(page, () => page.click('#lab-program'));
      await followed(page);
      await settle(page);
      assert.ok(same(await readCanvas(page), picture), 'the program\'s values');
      assert.ok(same(await readCanvas(page, 'depth'), depth), 'the program\'s depth view');
      assert.equal((await labShows(page)).hash, '');
    });

  test('with 16 bits and the near plane at 0.0001 the foot and the floor share codes', async () => {
    // The grey teapot's lower half shares the floor's codes: drawn after it, it fails there,
    // on the same code, where this GPU brings the same code.
    const page = await openPage(browser(), { hash: '#near=0.0001&depth=16' });
    const column = Array.from({ length: 60 }, (_, k) => [150, 60 + k]);
    const ties = (await pickAll(page, column)).map((p) => p.rows.find((r) => r.draw === 'grey teapot'))
      .filter((r) => r && r.verdict === 'failed' && r.code === r.before);
    assert.ok(ties.length > 0, 'no tie on the grey teapot\'s column');
    for (const r of ties) assert.match(r.text, /same code: failed/);
    assert.deepEqual(page.errors, []);
  });

  test('storms of lab links and slider moves: no error, memory flat, the last one drawn', async () => {
    const page = await openPage(browser());
    // Three hundred links, half of them malformed, and slider moves between them.
    const storm = (seed) => page.evaluate((first) => {
      let s = first;
      const next = (n) => (s = (s * 1103515245 + 12345) % 2147483648) % n;
      const planes = ['0', '-1', 'NaN', 'x', '', '0.0001', '0.003', '0.1', '1', '10', '20', '100', '1e5'];
      for (let i = 0; i < 300; ++i) {
        location.hash = `#near=${planes[next(planes.length)]}&far=${planes[next(planes.length)]}` +
          `&depth=${['16', '24', '32f', '12'][next(4)]}`;
        if (next(4) === 0) {
          const slider = document.getElementById(next(2) ? 'near-slider' : 'far-slider');
          slider.value = String(next(1001));
          slider.dispatchEvent(new Event('input'));
        }
      }
    }, seed);
    // Memory after garbage is collected, where the browser lets a page ask (Chromium).
    const heap = () => page.evaluate(() => (window.gc && performance.memory
      ? (window.gc(), performance.memory.usedJSHeapSize) : 0));
    await storm(1);
    await new Promise((done) => setTimeout(done, 300));
    await settle(page);
    const first = await heap();
    await storm(2);
    await new Promise((done) => setTimeout(done, 300));
    await settle(page);
    const second = await heap();
    assert.ok(second <= first * 1.1 + 200000, `heap ${first} then ${second} bytes`);
    assert.deepEqual(page.errors, []);
    // What is drawn is what the address now names, as a page opened there draws it.
    await followed(page);
    const hash = await page.evaluate(() => location.hash);
    const fresh = await openPage(browser(), { hash });
    await followed(fresh);
    assert.ok(same(await readCanvas(page), await readCanvas(fresh)), hash);
    // (The stormed page still says what its last link had refused.)
    const shows = async (p) => ({ ...(await labShows(p)), refused: '' });
    assert.deepEqual(await shows(page), await shows(fresh));
  });
});
