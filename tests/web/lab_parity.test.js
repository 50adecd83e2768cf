// SPDX-License-Identifier: MIT
// The lab's presets in the page against the desktop's real OpenGL drawing the same presets
// (the gallery's lab pictures, written by `make test-web` under ZBV_DESKTOP_TOUR): the share of
// pixels that show a teapot with the program's values and something else with the preset
// differs by at most five percentage points between the two.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { openPage, readCanvas, frameAfter } = require('../../tools/browser/page_driver');
const { facts, readPng } = require('../../tools/browser/scene');
const { kDesktop } = require('./compare');
const { browserSuite } = require('./harness');
const { followed } = require('./panel');

const kPresets = facts.lab.presets;
// Lit by the white light, a teapot's every pixel has a channel brighter than the floor can
// ever be (its colour under the global ambient, the light's ambient and a full diffuse part).
const kFloorMost = 255 * Math.max(...facts.floor.colour) * (facts.globalAmbient + 2);
const teapot = (frame, i) => Math.max(...frame.rgb.subarray(3 * i, 3 * i + 3)) > kFloorMost;

// The share of pixels that show a teapot in `program` and something else in `preset`.
function lost(program, preset) {
  let n = 0;
  for (let i = 0; i < program.width * program.height; ++i) n += teapot(program, i) && !teapot(preset, i);
  return n / (program.width * program.height);
}

browserSuite('The lab\'s presets and the desktop\'s OpenGL', {
  everyEngine: true,
  needs: () => (fs.existsSync(path.join(kDesktop, 'lab', `${kPresets[0].file}.png`)) ? ''
    : 'needs the desktop tour with its lab in ZBV_DESKTOP_TOUR (make test-web writes it)'),
}, (browser, name) => {
  test('each preset loses the teapots where the desktop\'s does, within five points', async () => {
    const desktop = (file) => readPng(path.join(kDesktop, 'lab', `${file}.png`));
    const deskProgram = desktop(kPresets[0].file);
    const page = await openPage(browser());
    const program = await readCanvas(page);
    const lines = [];
    for (const p of kPresets) {
      const hash = `#near=${p.near}&far=${p.far}&depth=${p.depth}`;
      await frameAfter(page, () => page.evaluate((h) => { location.hash = h; }, hash));
      await followed(page);
      const [web, desk] = [lost(program, await readCanvas(page)), lost(deskProgram, desktop(p.file))];
      lines.push(`${p.file} ${(100 * web).toFixed(1)} % / ${(100 * desk).toFixed(1)} %`);
      assert.ok(Math.abs(web - desk) <= 0.05, `${p.file}: the page loses ${web}, the desktop ${desk}`);
    }
    console.log(`${name}: teapot pixels lost, page / desktop: ${lines.join('; ')}`);
    assert.deepEqual(page.errors, []);
  });
});
