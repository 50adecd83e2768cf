// SPDX-License-Identifier: MIT
// A pixel's history decoded by the page as the C++ side lays it out: the records' fields
// are those of their one definition (web/probe/pixel_history.h), as the build writes them for
// the page ($ZbvHistoryLayout), and the records nest as the program writes them; no layer
// below the page reads the page's facts.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { kRoot, loadLibrary, generated } = require('./library');

const { ZbvHistory: H, ZbvHistoryLayout: kLayout, ZbvFacts: F } =
  loadLibrary('web/probe/history.js', generated('probe'), generated('page'));

test('records decode by name and nest: draws, their fragments, three vertices each', () => {
  const layout = kLayout;
  assert.equal(F.history, kLayout, 'the page\'s history layout is the probe layer\'s');
  assert.deepEqual(Object.keys(layout), ['frame', 'draw', 'fragment', 'vertex']);
  // Every number distinct, so that a field read from the wrong place shows.
  let n = 0;
  const record = (kind, set = {}) => layout[kind].map((name) => (name in set ? set[name] : 1000 + n++));
  const values = [
    ...record('frame', { draws: 2 }),
    ...record('draw', { fragments: 0 }),
    ...record('draw', { fragments: 2 }),
    ...record('fragment', { verdict: 1 }), ...record('vertex'), ...record('vertex'), ...record('vertex'),
    ...record('fragment', { verdict: 2 }), ...record('vertex'), ...record('vertex'), ...record('vertex', { ndotl: 0.5 }),
  ];
  const h = H.decode(values, layout);
  assert.equal(h.near, 1000);
  assert.equal(h.draws.length, 2);
  assert.deepEqual(h.draws.map((d) => d.fragments.length), [0, 2]);
  assert.deepEqual(h.draws[1].fragments.map((f) => f.verdict), [1, 2]);
  assert.equal(h.draws[1].fragments[1].vertices[2].ndotl, 0.5);
  const last = h.draws[1].fragments[1].vertices[2];
  assert.equal(last.red, values[values.length - layout.vertex.length]);
});

test('the layers below the page read the facts of their own layer, never the page\'s', () => {
  for (const layer of ['gl', 'glut', 'probe']) {
    const dir = path.join(kRoot, 'web', layer);
    for (const file of fs.readdirSync(dir).filter((f) => f.endsWith('.js'))) {
      assert.doesNotMatch(fs.readFileSync(path.join(dir, file), 'utf8'), /\bZbvFacts\b/, `web/${layer}/${file}`);
    }
  }
});
