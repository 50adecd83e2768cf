// SPDX-License-Identifier: MIT
// A group of page tests sharing one headless browser. Where the browser or the page is
// missing, the group stops at once with one line saying why: failed under CI, skipped
// elsewhere. A browser without WebGL fails the group (unless it is meant to lack it).
'use strict';
const { describe, test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { unavailable, launch, noWebgl } = require('../../tools/web/browser');

function browserSuite(name, { args = [], needs = () => '', webgl = true } = {}, body) {
  const why = unavailable() || needs();
  if (why && process.env.CI === 'true') {
    test(name, () => assert.fail(why));
    return;
  }
  describe(name, { skip: why || false }, () => {
    let browser;
    before(async () => {
      browser = await launch(args);
      const why = webgl ? await noWebgl(browser) : '';
      if (why) throw Object.assign(new Error(why), { stack: why });
    });
    after(async () => {
      if (browser) await browser.close();
    });
    body(() => browser);
  });
}

// Width in pixels of the front (grey) teapot along the row through its body: lit or not,
// its pixels are the only bright neutral grey there.
function frontTeapotWidth(frame) {
  const row = Math.floor((frame.height * 170) / 300);
  let n = 0;
  for (let x = 0; x < frame.width; ++x) {
    const i = (row * frame.width + x) * 3, [r, g, b] = frame.rgb.subarray(i, i + 3);
    if (r === g && g === b && r > 100) n += 1;
  }
  return n;
}

// Two frames alike to the byte.
function same(a, b) {
  return a.width === b.width && a.height === b.height && a.rgb.equals(b.rgb);
}

module.exports = { browserSuite, frontTeapotWidth, same };
