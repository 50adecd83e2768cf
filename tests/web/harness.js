// SPDX-License-Identifier: MIT
// A group of page tests, run in one browser (Chromium, where it is among those asked for),
// or in each browser where it checks what differs between engines (`everyEngine`: drawing,
// input, accessibility, layout, full screen, downloads); ZBV_EVERY_ENGINE=1 runs every group
// in each; ZBV_ENGINE_DIFFERENCES=1 runs only the groups that check what differs between
// engines (for a run of the other browser beside Chromium's). Each run shares one headless
// browser. Where the browser or the page is missing,
// the run stops at once with one line saying why: failed under CI, skipped elsewhere. A
// browser without WebGL fails the run (unless it is meant to lack it).
'use strict';
const { describe, test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { browserNames, unavailable, launch, connectShared, release, noWebgl } =
  require('../../tools/browser/browser');

// body(browser, name) declares the tests; browser() is the running browser (with a screen of
// `scale` device pixels to a CSS pixel, when given).
function browserSuite(title, { noWebgl: withoutWebgl = false, dark = false, scale = 0,
  everyEngine = false, needs = () => '' } = {}, body) {
  const names = browserNames();
  const all = everyEngine || process.env.ZBV_EVERY_ENGINE === '1';
  if (!all && process.env.ZBV_ENGINE_DIFFERENCES === '1') return;
  for (const name of all ? names : names.slice(0, 1)) {
    const run = `${title} (${name})`;
    const why = unavailable(name) || needs();
    if (why && process.env.CI === 'true') {
      test(run, () => assert.fail(why));
      continue;
    }
    describe(run, { skip: why || false }, () => {
      let browser;
      before(async () => {
        const plain = !withoutWebgl && !dark && !scale;
        browser = (plain && await connectShared(name)) ||
          await launch(name, { noWebgl: withoutWebgl, dark, scale });
        const missing = withoutWebgl ? '' : await noWebgl(browser);
        if (missing) throw Object.assign(new Error(missing), { stack: missing });
      });
      after(async () => {
        if (browser) await release(browser);
      });
      body(() => browser, name);
    });
  }
}

// Two frames alike to the byte.
function same(a, b) {
  return a.width === b.width && a.height === b.height && a.rgb.equals(b.rgb);
}

// What the page says now: the state line, and the keys of the buttons shown pressed.
function shownState(page) {
  return page.evaluate(() => ({
    line: document.getElementById('state').textContent,
    pressed: [...document.querySelectorAll('[data-key][aria-pressed="true"]')]
      .map((b) => b.dataset.key).join(''),
  }));
}

module.exports = { browserSuite, same, shownState };
