// SPDX-License-Identifier: MIT
// Two pictures of one frame from different renderers, compared as the parity tests compare
// them: every probe point within 1 of 255, and nearly all smooth pixels (those whose 3x3
// neighbourhood is one colour in the reference picture) within 3.
'use strict';
const { probes } = require('../../tools/web/scene');

const kProbeTolerance = 1;   // of 255, per channel
const kSmoothTolerance = 3;
const kSmoothShare = 0.995;  // of the smooth pixels, within kSmoothTolerance

function distance(a, b, i) {
  return Math.max(Math.abs(a.rgb[i] - b.rgb[i]), Math.abs(a.rgb[i + 1] - b.rgb[i + 1]),
    Math.abs(a.rgb[i + 2] - b.rgb[i + 2]));
}

// Pixels whose 3x3 neighbourhood in the desktop frame is all one colour: away from edges,
// where a different rasteriser may rightly cover a pixel differently.
function smoothPixels(frame) {
  const { width, height, rgb } = frame, out = [];
  for (let y = 1; y + 1 < height; ++y) {
    for (let x = 1; x + 1 < width; ++x) {
      const c = (y * width + x) * 3;
      let uniform = true;
      for (let dy = -1; dy <= 1 && uniform; ++dy) {
        for (let dx = -1; dx <= 1 && uniform; ++dx) {
          const n = ((y + dy) * width + x + dx) * 3;
          uniform = rgb[n] === rgb[c] && rgb[n + 1] === rgb[c + 1] && rgb[n + 2] === rgb[c + 2];
        }
      }
      if (uniform) out.push(c);
    }
  }
  return out;
}

function compare(desktop, web) {
  let probeWorst = 0, worstProbe = '';
  for (const [name, [x, y]] of Object.entries(probes())) {
    const d = distance(desktop, web, (y * desktop.width + x) * 3);
    if (d > probeWorst) [probeWorst, worstProbe] = [d, name];
  }
  const smooth = smoothPixels(desktop);
  let off = 0, worst = 0;
  for (const i of smooth) {
    const d = distance(desktop, web, i);
    if (d > kSmoothTolerance) off += 1;
    worst = Math.max(worst, d);
  }
  return { probeWorst, worstProbe, smooth: smooth.length, off, worst,
    share: (smooth.length - off) / smooth.length };
}

// Whether a comparison is within the bounds; the message says where it is not.
function withinBounds(r, what) {
  if (r.probeWorst > kProbeTolerance) return `${what}: ${r.worstProbe} differs by ${r.probeWorst}/255`;
  if (r.share < kSmoothShare) return `${what}: ${r.off} of ${r.smooth} smooth pixels off`;
  return '';
}

module.exports = { compare, withinBounds, kSmoothTolerance };
