// SPDX-License-Identifier: MIT
// The lab's arithmetic in double precision, against the projection worked out here: the
// distances a code stands for are those whose depths round to it, its neighbours' distances
// lie one code away, depth 1 is the far plane and 0 the near plane exactly, and no plane ratio
// the lab allows gives anything but a finite number.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const { loadLibrary } = require('./library');

const { ZbvPrecision: P, ZbvGlDepth: D } =
  loadLibrary('web/gl/depth_format.js', 'web/page/precision.js');
// The window z of a distance t ahead, and back: linear in 1 / t.
const depth = (t, n, f) => (f / (f - n)) - (f * n) / ((f - n) * t);
const ahead = (z, n, f) => (f * n) / (f - z * (f - n));
const close = (actual, expected, within, what) =>
  assert.ok(Math.abs(actual - expected) <= within, `${what}: ${actual}, not ${expected}`);

test('a code stands for the distances whose depths round to it, in each format', () => {
  const n = 0.1, f = 100, t = Math.sqrt(125);
  for (const format of ['16', '24', '32f']) {
    const k = D.code(depth(t, n, f), format), at = P.at(k, format, n, f);
    // The range holds the distance itself, and its ends are where the next codes take over.
    assert.ok(at.from <= t && t <= at.to, `${format}: ${t} within ${at.from} to ${at.to}`);
    assert.equal(D.code(depth(at.from * (1 + 1e-12), n, f), format), k, `${format}: from`);
    assert.equal(D.code(depth(at.to * (1 - 1e-12), n, f), format), k, `${format}: to`);
    close(at.width, at.to - at.from, 1e-15, `${format}: width`);
    close(at.nearer, at.distance - ahead(D.depthOf(k - 1, format), n, f), 1e-9 * t, `${format}: nearer`);
    close(at.farther, ahead(D.depthOf(k + 1, format), n, f) - at.distance, 1e-9 * t, `${format}: farther`);
    assert.equal(at.hex, k.toString(16).toUpperCase());
  }
  // 16 bits: 65535 steps of depth, the code of the origin seen from the eye.
  assert.equal(D.code(depth(t, n, f), '16'), Math.round(depth(t, n, f) * 65535));
});

test('depth 1 is the far plane and 0 the near plane, exactly, and no ratio gives NaN', () => {
  for (const [n, f] of [[0.1, 100], [0.001, 100], [0.0001, 100000], [10, 10.00001], [0.0001, 1]]) {
    assert.equal(P.distance(1, n, f), f);
    assert.equal(P.distance(0, n, f), n);
    for (const format of ['16', '24', '32f']) {
      for (const k of [0, 1, D.largest(format) - 1, D.largest(format)]) {
        const at = P.at(k, format, n, f);
        for (const [name, v] of Object.entries(at)) {
          if (typeof v === 'number') assert.ok(Number.isFinite(v), `${n}, ${f}, ${format}, ${k}: ${name} ${v}`);
        }
        assert.ok(at.from <= at.distance && at.distance <= at.to, `${n}, ${f}, ${format}, ${k}`);
      }
    }
  }
});

test('half of a float\'s values lie within a hair of the near plane; of an integer\'s, at depth 0.5', () => {
  const n = 0.1, f = 100;
  const ints = P.shares('24', n, f), floats = P.shares('32f', n, f);
  close(ints.half, ahead(0.5, n, f) - n, 1e-12, 'integer half');
  assert.ok(floats.half > 0 && floats.half < 1e-18, `float half ${floats.half}`);
  // Beyond twice the near plane the depths lie past 0.5, where floats are 2^-24 apart: the
  // step of a 24-bit buffer.
  const z = depth(2 * n, n, f), k = D.code(z, '32f');
  assert.ok(z > 0.5);
  assert.equal(D.depthOf(k + 1, '32f') - D.depthOf(k, '32f'), 2 ** -24);
});
