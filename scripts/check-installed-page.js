// SPDX-License-Identifier: MIT
// node scripts/check-installed-page.js PAGE TOUR: opens an installed copy of the web page from
// disk in headless Chromium, as its menu entry does, and compares its first frame with the
// start-up picture of the installed desktop viewer (in TOUR, the gallery's pictures of it),
// within the bounds the page's tests hold the two to; the page must fetch nothing and throw
// nothing. Without Chromium or the browser driver it stops with one line saying why, which
// fails it under CI.
'use strict';
const path = require('node:path');

const [page, tourDir] = process.argv.slice(2);
if (!page || !tourDir) {
  console.error('usage: node scripts/check-installed-page.js PAGE TOUR');
  process.exit(2);
}
process.env.ZBV_WEB_PAGE = path.resolve(page);  // the page the driver opens, read as it loads
const { unavailable, launch, noWebgl } = require('../tools/browser/browser');

const say = (line) => console.log(`check-installed-page: ${line}`);
const why = unavailable('chromium');
if (why) {
  say(why);
  process.exit(process.env.CI === 'true' ? 1 : 0);
}
const { openPage, readCanvas } = require('../tools/browser/page_driver');
const { tour, readPng } = require('../tools/browser/scene');
const { compare, outOfBounds } = require('../tests/web/compare');

async function check(browser) {
  const missing = await noWebgl(browser);
  if (missing) return missing;
  const tab = await openPage(browser);
  const web = await readCanvas(tab);
  const desktop = readPng(path.join(tourDir, `${tour()[0].file}.png`));
  if (web.width !== desktop.width || web.height !== desktop.height) {
    return `the page drew ${web.width}x${web.height}, the viewer ${desktop.width}x${desktop.height}`;
  }
  const r = compare(desktop, web);
  say(`${page} against the viewer's start-up picture: landmarks within ${r.landmarkWorst}/255; ` +
    `${r.off} of ${r.smooth} smooth pixels off by more than the tolerance`);
  const fetched = await tab.evaluate(() =>
    performance.getEntriesByType('resource').map((e) => e.name));
  if (fetched.length) return `the page fetched ${fetched.join(', ')}`;
  if (tab.errors.length) return `the page threw ${tab.errors.join('; ')}`;
  return outOfBounds(r, 'the installed page');
}

(async () => {
  const browser = await launch('chromium');
  let failed;
  try {
    failed = await check(browser);
  } finally {
    await browser.close();
  }
  if (failed) {
    console.error(`check-installed-page: ${failed}`);
    process.exit(1);
  }
  say('it opens from disk, fetches nothing and draws the desktop viewer\'s picture');
})().catch((e) => {
  console.error(`check-installed-page: ${e.message}`);
  process.exit(1);
});
