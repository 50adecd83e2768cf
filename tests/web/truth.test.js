// SPDX-License-Identifier: MIT
// Every number the page shows agrees with itself and with the projection, worked out here from
// the scene's facts: over pixels of the floor, each teapot, their edges and the sky, and the
// lab's settings, the last row that wrote depth brings the very code stored, the clear row is
// the far plane, a code's range is the distances whose depths round to it and its width is
// the step, and the graph gives the same range; over whole frames of the presets no pixel's
// colour contradicts the draw the history says won, and no "passed" stands over a cleared
// buffer; at the planes' limits nothing is NaN; a linked pixel is the same point on any screen;
// the teaching notes' worked example is found where they send the class.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { kRoot } = require('../../tools/browser/browser');
const { openPage, settle, frameAfter } = require('../../tools/browser/page_driver');
const { facts, landmarks, floorDistance } = require('../../tools/browser/scene');
const { browserSuite } = require('./harness');
const { followed, pickAll } = require('./panel');

const { width: kWidth, height: kHeight } = facts.window;
const toWindow = ([x, y]) => [x, kHeight - 1 - y];
// Landmarks, edges of the grey teapot's silhouette and the floor near the far plane.
const kPixels = [...Object.values(landmarks()).map(toWindow), [150, 0], [20, 257], [150, 212],
  [100, 130], [201, 130]];
const kSettings = [['', 0.1, 100, '24'], ['#depth=16', 0.1, 100, '16'], ['#depth=24', 0.1, 100, '24'],
  ['#depth=32f', 0.1, 100, '32f'], ['#near=0.001', 0.001, 100, '24'],
  ['#near=0.0001&depth=16', 0.0001, 100, '16'], ['#near=1', 1, 100, '24'], ['#far=20', 0.1, 20, '24']];

// A code's depth, as how far it lies short of 1 (exactly, for the integer codes), and the
// distance it stands for: t = far near / (near + (1 - z)(far - near)), the projection's
// window z = far (t - near) / (t (far - near)) solved for t.
const largest = { 16: 65535, 24: 16777215 };
function shortOfOne(code, format) {
  if (format !== '32f') return (largest[format] - code) / largest[format];
  const b = Buffer.alloc(4);
  b.writeUInt32BE(code);
  return 1 - b.readFloatBE(0);
}
const ahead = (short, near, far) => (far * near) / (near + short * (far - near));
const cleared = (format) => (format === '32f' ? 0x3f800000 : largest[format]);

browserSuite('Every number the page shows', { everyEngine: true }, (browser, name) => {
  test('agrees with the GPU\'s codes and the projection, pixel by pixel, at every lab setting',
    async () => {
      let checked = 0, differed = 0;
      for (const [hash, near, far, format] of kSettings) {
        const page = await openPage(browser(), { hash });
        await followed(page);
        for (const [i, p] of (await pickAll(page, kPixels)).entries()) {
          const at = `${hash || 'program'} (${kPixels[i]})`, kept = p.kept;
          assert.equal(kept.gpu, 1, `${at}: the GPU's codes`);
          // The last row that wrote depth brings the code stored; the clear row is the far plane.
          const wrote = p.rows.filter((r) => r.verdict === 'passed');
          assert.equal(kept.code, wrote.length ? wrote[wrote.length - 1].code : cleared(format), at);
          assert.equal(p.rows[0].distance, far, `${at}: the clear row`);
          differed += p.rows.filter((r) => r.gpu && r.code !== r.exact).length;
          // The range: the distances whose depths round to the code, its width the step (the
          // differences to the digits the page shows).
          const z = shortOfOne(kept.code, format), t = ahead(z, near, far);
          const below = kept.code > 0 ? shortOfOne(kept.code - 1, format) : z;
          const above = kept.code < cleared(format) ? shortOfOne(kept.code + 1, format) : z;
          const from = ahead((z + below) / 2, near, far), to = ahead((z + above) / 2, near, far);
          const close = (a, b, within, what) => assert.ok(Math.abs(a - b) <= within * Math.abs(b),
            `${at}: ${what} ${a}, not ${b}`);
          close(kept.distance, t, 1e-12, 'distance');
          close(kept.from, from, 1e-12, 'from');
          close(kept.to, to, 1e-12, 'to');
          close(kept.width, to - from, 1e-6, 'width');
          close(kept.nearer, t - ahead(below, near, far), 1e-6, 'nearer');
          close(kept.farther, ahead(above, near, far) - t, 1e-6, 'farther');
          assert.equal(+p.caption.from, kept.from, `${at}: the graph's range`);
          assert.equal(+p.caption.to, kept.to, `${at}: the graph's range`);
          assert.doesNotMatch(p.stored, /NaN|Infinity|∞/, at);
          checked += 1;
        }
        // A float's values: half of them lie within a hair of the near plane.
        const half = +(await page.$eval('#graph-caption', (e) => e.dataset.half));
        if (format === '32f') assert.ok(half < 1e-18, `${hash}: half of the floats within ${half}`);
        else assert.ok(Math.abs(half - (ahead(0.5, near, far) - near)) < 1e-9, `${hash}: half ${half}`);
        assert.deepEqual(page.errors, [], hash);
        await page.browserContext().close();
      }
      console.log(`${name}: ${checked} pixel histories, ${differed} rows where the GPU's code ` +
        'differs from the exact one');
    });

  test('the floor\'s exact depth is its ray\'s, and the GPU stores it within a few codes', async () => {
    const page = await openPage(browser(), { hash: '#near=0.001&depth=16' });
    const row = [10, 150, 290].map((x) => [x, 0]);
    for (const [i, p] of (await pickAll(page, row)).entries()) {
      const t = floorDistance(row[i][0], 0), z = 100 * (t - 0.001) / (t * (100 - 0.001));
      const floor = p.rows.find((r) => r.draw === 'floor');
      assert.ok(Math.abs(floor.depth - z) < 2e-6, `floor at x ${row[i][0]}: ${floor.depth}, not ${z}`);
      assert.ok(Math.abs(floor.exact - Math.round(z * 65535)) <= 1, `exact code ${floor.exact}`);
      assert.ok(Math.abs(floor.code - floor.exact) <= 1, `GPU code ${floor.code}, exact ${floor.exact}`);
    }
  });

  test('over whole frames of the presets the picture and the history agree', async () => {
    // One page, led from preset to preset by its address, as a class follows the presets' links.
    let page = null;
    for (const [n, preset] of facts.lab.presets.entries()) {
      const hash = `#near=${preset.near}&far=${preset.far}&depth=${preset.depth}`;
      if (page) await frameAfter(page, () => page.evaluate((h) => { location.hash = h; }, hash));
      else page = await openPage(browser(), { hash });
      await followed(page);
      // Every pixel of a lattice, set off by a column more at each preset so that the presets
      // together cover more of the picture: the draw the history says won, its colour and the
      // canvas's.
      const found = await page.evaluate((w, h, from) => {
        const out = { checked: 0, contradicted: [], overCleared: [] };
        for (let y = 1; y < h; y += 6) {
          for (let x = from; x < w; x += 6) {
            const hist = ZbvHistory.at(x, y), shown = ZbvCapture.colourAt(x, y);
            let winner = null, held = hist.stored;
            hist.draws.forEach((d) => d.fragments.forEach((f) => { if (f.verdict !== 2) winner = f; }));
            const colour = winner ? [winner.red, winner.green, winner.blue]
              : [hist.clearRed, hist.clearGreen, hist.clearBlue];
            const off = Math.max(...colour.map((c, k) => Math.abs(Math.round(c * 255) - shown[k])));
            if (off > 2) out.contradicted.push([x, y, off]);
            const passed = hist.draws.some((d) => d.fragments.some((f) => f.verdict === 1));
            if (passed && held === ZbvGlDepth.code(1, ZbvCapture.format)) out.overCleared.push([x, y]);
            out.checked += 1;
          }
        }
        return out;
      }, kWidth, kHeight, n % 6);
      assert.deepEqual(found.contradicted.slice(0, 5), [], `${preset.file}: colours against the winner`);
      assert.deepEqual(found.overCleared.slice(0, 5), [], `${preset.file}: passed over a cleared buffer`);
      assert.ok(found.checked > 2400);
    }
    assert.deepEqual(page.errors, []);
    await page.browserContext().close();
  });

  test('the teaching notes\' worked example: its pixel holds the code they work out, whose ' +
    'distances they give', async () => {
    const notes = fs.readFileSync(path.join(kRoot, 'docs/teaching.md'), 'utf8');
    const example = notes.split('### A worked example')[1].split('\n### ')[0];
    const hash = /`(#depth=16&pixel=\d+,\d+)`/.exec(example)[1];
    const [, code, hex] = /= (\d+)\s+\((0x[0-9A-F]+)\)/.exec(example);
    const [, from, to] = /every distance from ([\d.]+) to ([\d.]+) units/.exec(example);
    assert.equal(Number(hex), Number(code), 'the notes\' code in hexadecimal');
    // The code's distances, from the projection, as the notes round them.
    const { near, far } = facts.camera;
    const ends = [-0.5, 0.5].map((h) => ahead((65535 - code - h) / 65535, near, far).toFixed(3));
    assert.deepEqual([from, to], ends, 'the distances the notes give the code');
    const page = await openPage(browser(), { hash });
    await followed(page);
    const [p] = await pickAll(page, [hash.split('=').pop().split(',').map(Number)]);
    assert.equal(p.kept.code, Number(code), `${hash}: the code stored`);
    assert.equal(p.rows.filter((r) => r.verdict === 'passed').pop().code, Number(code));
    await page.browserContext().close();
  });

  // What the page reckons of the planes is the same in every engine: Chromium reads it.
  if (name === 'chromium') test('at the planes\' limits nothing the page says is NaN or Infinity', async () => {
    for (const hash of ['#near=0.0001&far=100000', '#near=0.0001&far=100000&depth=16',
      '#near=0.0001&far=100000&depth=32f', '#near=10&far=10.00001', '#far=1']) {
      const page = await openPage(browser(), { hash: `${hash}&pixel=150,150` });
      await followed(page);
      await pickAll(page, [[150, 150], [150, 2], [150, 290]]);
      // Every word of the page's, shown or not yet scrolled to (not its scripts' text).
      const text = await page.evaluate(() => {
        const walk = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT), parts = [];
        while (walk.nextNode()) {
          if (!walk.currentNode.parentElement.closest('script, style, template')) parts.push(walk.currentNode.data);
        }
        return parts.join(' ') + [...document.querySelectorAll('input')].map((i) => i.value).join(' ');
      });
      assert.doesNotMatch(text, /NaN|Infinity|∞/, hash);
      if (hash === '#far=1') assert.match(text, /beyond the far plane at 1/, hash);
      await page.browserContext().close();
    }
  });

  test('a linked pixel is the same point of the picture at any pixel ratio and in the projector',
    async () => {
      const hash = '#keys=2&pixel=180,167&step=3';
      const seen = [];
      for (const [scale, projector] of [[1, false], [1.25, false], [2, false], [3, false], [1, true]]) {
        const page = await openPage(browser(), { hash: hash + (projector ? '&projector=1' : ''),
          scale, width: 1024, height: 768 });
        await settle(page);
        await followed(page);
        seen.push(await page.evaluate(() => ({
          draws: [...document.querySelectorAll('#pixel-history tbody tr')]
            .map((r) => `${r.dataset.draw}:${r.dataset.verdict || r.textContent.length}`).join(' '),
          where: document.getElementById('pixel-where').textContent,
          hash: location.hash,
          buffer: [ZbvViews.width, ZbvViews.height] })));
        await page.browserContext().close();
      }
      for (const s of seen) {
        assert.equal(s.draws, seen[0].draws, `${s.where}`);
        assert.ok(s.hash.startsWith(hash), s.hash);
      }
      // The red teapot, drawn after the grey one with the depth test off, is what shows there.
      assert.match(seen[0].draws, /red teapot:no test/);
      assert.match(seen[1].where, /\(180, 167\).*\(\d+, \d+\) of \d+ × \d+/);
    });
});
