// SPDX-License-Identifier: MIT
// What the lab's controls cost, for bench.js: from a change of the near plane's slider to its
// finished frame (the depth view drawn from the target read back), against a key press to its
// own, in turns on one page, with the lab away from the program's values (its own target and
// depth format) and at them.
'use strict';
const { openPage, settle } = require('../../tools/browser/page_driver');
const { median } = require('./bench_history');

const kTurns = 30;

// Milliseconds from an input (a key, or the near plane's slider moved to a position) to the
// page's mark of the frame finished with the depth view.
function toFinished(page, input) {
  return page.evaluate((what) => new Promise((done) => {
    const start = performance.now();
    if (what.key) {
      document.body.dispatchEvent(new KeyboardEvent('keydown', { key: what.key, bubbles: true }));
    } else {
      const slider = document.getElementById('near-slider');
      slider.value = String(what.slider);
      slider.dispatchEvent(new Event('input'));
    }
    const check = () => {
      if (Module.zbvFrameEndAt > start) done(Module.zbvFrameEndAt - start);
      else requestAnimationFrame(check);
    };
    requestAnimationFrame(check);
  }), input);
}

async function measureLab(browser) {
  for (const [what, hash] of [['at the program\'s values', ''], ['with a 16-bit target', '#depth=16']]) {
    const page = await openPage(browser, { hash });
    await settle(page);
    const keys = [], controls = [];
    for (let i = 0; i < kTurns; ++i) {
      keys.push(await toFinished(page, { key: i % 2 ? '3' : '4' }));
      // Near 0.1 and 0.12, both ways in turn: a change each time.
      controls.push(await toFinished(page, { slider: i % 2 ? 600 : 620 }));
    }
    const [k, c] = [median(keys), median(controls)];
    console.log(`lab ${what}: a control's change to its finished frame ${c.toFixed(1)} ms, a key ` +
      `press's ${k.toFixed(1)} ms (medians of ${kTurns}, in turns); ratio ${(c / k).toFixed(2)} ` +
      `(at most 1.5: ${c / k <= 1.5 ? 'yes' : 'NO'})`);
    await page.browserContext().close();
  }
}

module.exports = { measureLab };
