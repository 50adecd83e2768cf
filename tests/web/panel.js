// SPDX-License-Identifier: MIT
// What the page's views and history panel show, read as a user reads them: the step chosen, the depth view,
// and the pixel history panel after a pixel is picked.
'use strict';
const { frameAfter } = require('../../tools/browser/page_driver');

// Waits until the depth view and the panel have followed the latest frame (the page's root
// says which frame it showed last, and which one its views show).
function followed(page) {
  return page.waitForFunction(() => {
    const d = document.documentElement.dataset;
    return d.followed !== undefined && d.followed === d.frame;
  });
}

// Chooses step n (0 after the clear ... 4 the whole frame) and waits for its frame.
async function chooseStep(page, n) {
  await frameAfter(page, () => page.click(`input[name="step"][value="${n}"]`));
  await followed(page);
}

// Picks each pixel ([x, y] in window coordinates) in the picture as a click would, and reads
// the panel: the colour the history ends with and the draw that wrote it, the lighting's result (null where unlit), the
// depth stored, and each draw's rows.
async function pickAll(page, pixels) {
  await followed(page);
  return page.evaluate((list) => {
    const canvas = document.getElementById('canvas'), box = canvas.getBoundingClientRect();
    const h = canvas.height, sx = box.width / canvas.width, sy = box.height / h;
    // The canvas is painted from the whole pixel its box starts in, or the next (rounded).
    const left = Math.round(box.left), top = Math.round(box.top);
    return list.map(([x, y]) => {
      // The middle of the pixel (a whole CSS pixel inside it, where events take whole ones).
      canvas.dispatchEvent(new MouseEvent('click', { bubbles: true,
        clientX: left + (x + 0.5) * sx, clientY: top + (h - 1 - y + 0.5) * sy }));
      const number = (v) => (v === undefined || v === '' ? null : +v);
      const rows = [...document.querySelectorAll('#pixel-history tbody tr')].map((r) => ({
        draw: r.dataset.draw, verdict: r.dataset.verdict || '', rgb: r.dataset.rgb || '',
        code: number(r.dataset.code), exact: number(r.dataset.exact), before: number(r.dataset.before),
        depth: number(r.dataset.depth), distance: number(r.dataset.distance), gpu: r.dataset.gpu === '1',
        text: r.textContent }));
      const written = rows.filter((r) => r.rgb && r.verdict !== 'failed');
      const result = document.querySelector('#pixel-lighting [data-rgb]');
      const kept = Object.fromEntries(Object.entries(document.getElementById('pixel-depth').dataset)
        .map(([k, v]) => [k, +v]));
      return { where: document.getElementById('pixel-where').textContent, rows,
        colour: document.getElementById('pixel-colour').dataset.rgb,
        end: written[written.length - 1].rgb, endDraw: written[written.length - 1].draw,
        lit: result ? result.dataset.rgb : null, depth: kept.depth, kept,
        stored: document.getElementById('pixel-depth').textContent,
        caption: { ...document.getElementById('graph-caption').dataset } };
    });
  }, pixels);
}

module.exports = { followed, chooseStep, pickAll };
