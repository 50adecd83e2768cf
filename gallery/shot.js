// SPDX-License-Identifier: MIT
// node gallery/shot.js OUT.png: the page as it opens in headless Chromium, with a pixel
// picked, for the README.
'use strict';
const { launch } = require('../tools/browser/browser');
const { openPage } = require('../tools/browser/page_driver');

(async () => {
  const browser = await launch('chromium');
  try {
    // With a pixel picked where the grey teapot stands in front of the red one.
    const page = await openPage(browser, { width: 1000, height: 1000, hash: '#pixel=180,167' });
    await page.waitForFunction(() => /180, 167/.test(document.getElementById('pixel-where').textContent));
    // The page's content with its margin, focus ring included.
    const box = await (await page.$('main')).boundingBox();
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
