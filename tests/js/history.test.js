// SPDX-License-Identifier: MIT
// A pixel's history decoded by the page as the C++ side lays it out: the records' fields
// are read from their one definition (web/probe/pixel_history.h), as the program lists
// them to the page, and the records nest as it writes them.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { kRoot, loadLibrary } = require('./library');

const { ZbvHistory: H } = loadLibrary('web/probe/history.js');

// The layout's text as zbv_pixel_history_layout gives it, from the header's lists.
function layoutText() {
  const header = fs.readFileSync(path.join(kRoot, 'web/probe/pixel_history.h'), 'utf8');
  return ['FRAME', 'DRAW', 'FRAGMENT', 'VERTEX'].map((kind) => {
    const list = new RegExp(`#define ZBV_HISTORY_${kind}\\(F\\)((?:[^\\n]*\\\\\\n)*[^\\n]*)`).exec(header)[1];
    return `${kind.toLowerCase()}:${[...list.matchAll(/F\((\w+)\)/g)].map((m) => m[1]).join(',')},`;
  }).join(';');
}

test('records decode by name and nest: draws, their fragments, three vertices each', () => {
  const layout = H.parseLayout(layoutText());
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
