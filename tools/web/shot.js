// SPDX-License-Identifier: MIT
// node tools/web/shot.js OUT.png: the page as it opens in headless Chromium, for the README.
'use strict';
const { launch, openPage } = require('./browser');

(async () => {
  const browser = await launch();
  try {
    const page = await openPage(browser, { width: 640, height: 480 });
    // The page's content with its margin, focus ring included.
    const box = await page.locator('main').boundingBox();
    await page.screenshot({ path: process.argv[2] || 'web-page.png',
      clip: { x: 0, y: 0, width: Math.ceil(box.x + box.width + 16),
        height: Math.ceil(box.y + box.height + 16) } });
  } finally {
    await browser.close();
  }
})().catch((e) => {
  console.error(`shot: ${e.message}`);
  process.exit(1);
});
