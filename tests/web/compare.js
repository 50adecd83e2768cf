// SPDX-License-Identifier: MIT
// A picture of the page against the desktop's picture of the same frame, as the parity tests
// compare them: every landmark within the same-renderer bound, and all but a share of the
// smooth pixels (smooth in the desktop picture) within the cross-renderer bound.
'use strict';
const { landmarks, kPixelSteps, kLandmarkSteps, kSmoothShareOff, smoothPixels } =
  require('../../tools/browser/scene');

function distance(a, b, i) {
  return Math.max(Math.abs(a.rgb[i] - b.rgb[i]), Math.abs(a.rgb[i + 1] - b.rgb[i + 1]),
    Math.abs(a.rgb[i + 2] - b.rgb[i + 2]));
}

function compare(desktop, web) {
  let landmarkWorst = 0, worstLandmark = '';
  for (const [name, [x, y]] of Object.entries(landmarks())) {
    const d = distance(desktop, web, (y * desktop.width + x) * 3);
    if (d > landmarkWorst) [landmarkWorst, worstLandmark] = [d, name];
  }
  const smooth = smoothPixels(desktop);
  let off = 0, worst = 0;
  for (const i of smooth) {
    const d = distance(desktop, web, i);
    if (d > kPixelSteps) off += 1;
    worst = Math.max(worst, d);
  }
  return { landmarkWorst, worstLandmark, smooth: smooth.length, off, worst };
}

// Why a comparison is out of bounds; '' when it is within them.
function outOfBounds(r, what) {
  if (r.landmarkWorst > kLandmarkSteps) return `${what}: ${r.worstLandmark} differs by ${r.landmarkWorst}/255`;
  if (r.off > kSmoothShareOff * r.smooth) return `${what}: ${r.off} of ${r.smooth} smooth pixels off`;
  return '';
}

// Where make test-web has the desktop viewer write its tour.
const kDesktop = process.env.ZBV_DESKTOP_TOUR || '';

module.exports = { kDesktop, compare, outOfBounds };
