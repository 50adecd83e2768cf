// SPDX-License-Identifier: MIT
// What the desktop side already defines, read from its sources so that both stay one: the
// gallery's tour (tools/tour.h) and the probe points of the frame (tests/scene_probes.h).
'use strict';
const fs = require('node:fs');
const path = require('node:path');
const { kRoot } = require('./browser');

// The tour's stops in order: { file, key } with key '' for the start-up picture.
function tour() {
  const text = fs.readFileSync(path.join(kRoot, 'tools/tour.h'), 'utf8');
  const body = text.slice(text.indexOf('kTour[]'), text.indexOf('};', text.indexOf('kTour[]')));
  const stops = [...body.matchAll(/\{\s*"([^"]+)",\s*(?:'(.)'|0)\s*,/g)]
    .map((m) => ({ file: m[1], key: m[2] || '' }));
  if (stops.length === 0) throw new Error('no stops found in tools/tour.h');
  return stops;
}

// The named probe points: { name: [x, y] } in a 300x300 frame, from the top-left.
function probes() {
  const text = fs.readFileSync(path.join(kRoot, 'tests/scene_probes.h'), 'utf8');
  const points = {};
  for (const m of text.matchAll(/\b(k\w+)\{(\d+),\s*(\d+)\}/g)) points[m[1]] = [+m[2], +m[3]];
  if (Object.keys(points).length === 0) throw new Error('no probes found in tests/scene_probes.h');
  return points;
}

module.exports = { tour, probes };
