// SPDX-License-Identifier: MIT
// node tools/web/shot.js OUT.png: the page as it opens in headless Chromium, for the README.
'use strict';
const { launch, openPage } = require('./browser');

(async () => {
  const browser = await launch();
  try {
    const page = await openPage(browser, { width: 720, height: 420 });
    await page.locator('main').screenshot({ path: process.argv[2] || 'web-page.png' });
  } finally {
    await browser.close();
  }
})().catch((e) => {
  console.error(`shot: ${e.message}`);
  process.exit(1);
});
