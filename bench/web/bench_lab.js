// SPDX-License-Identifier: MIT
// What the lab's controls cost, for bench.js: from a change of the near plane's slider to its
// finished frame (the depth view drawn from the target read back), against a key press to its
// own, in turns on one page, with the lab away from the program's values (its own target and
// depth format) and at them; for the page and an earlier build of it, where one is named.
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
      if (window.zbvFollowedAt > start) done(window.zbvFollowedAt - start);
      else requestAnimationFrame(check);
    };
    requestAnimationFrame(check);
  }), input);
}

// The page's views followed a frame: its root says so (window.zbvFollowedAt).
function watchFollowing(page) {
  return page.evaluate(() => {
    window.zbvFollowedAt = 0;
    new MutationObserver(() => { window.zbvFollowedAt = performance.now(); })
      .observe(document.documentElement, { attributes: true, attributeFilter: ['data-followed'] });
  });
}

// pages: [{name, url}], the page first.
async function measureLab(browser, pages) {
  for (const [what, hash] of [['at the program\'s values', ''], ['with a 16-bit target', '#depth=16']]) {
    for (const [n, p] of pages.entries()) {
      const page = await openPage(browser, { url: p.url ? p.url + hash : '', hash: p.url ? '' : hash });
      await settle(page);
      const marks = await page.waitForFunction(() => document.documentElement.dataset.followed !== undefined,
        { timeout: 10000 }).then(() => true, () => false);
      if (!marks) {
        console.log(`${p.name}, lab ${what}: the page marks no frame as followed; not timed`);
        await page.browserContext().close();
        continue;
      }
      await watchFollowing(page);
      const keys = [], controls = [];
      for (let i = 0; i < kTurns; ++i) {
        keys.push(await toFinished(page, { key: i % 2 ? '3' : '4' }));
        // Near 0.1 and 0.12, both ways in turn: a change each time.
        controls.push(await toFinished(page, { slider: i % 2 ? 600 : 620 }));
      }
      const [k, c] = [median(keys), median(controls)];
      console.log(`${p.name}, lab ${what}: a control's change to its finished frame ${c.toFixed(1)} ` +
        `ms, a key press's ${k.toFixed(1)} ms (medians of ${kTurns}, in turns); ratio ` +
        `${(c / k).toFixed(2)}${n ? '' : ` (at most 1.5: ${c / k <= 1.5 ? 'yes' : 'NO'})`}`);
      await page.browserContext().close();
    }
  }
}

module.exports = { measureLab };
