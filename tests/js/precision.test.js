// SPDX-License-Identifier: MIT
// The lab's arithmetic against a worked example, derived from the projection: the origin,
// sqrt(125) units ahead of the eye at (0, 5, 10), with the program's planes 0.1 and 100.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const { loadLibrary } = require('./library');

const { ZbvPrecision: P, ZbvDepthCodes: C } =
  loadLibrary('web/gl/depth_format.js', 'web/probe/depth_codes.js', 'web/page/precision.js');
const near = 0.1, far = 100, t = Math.sqrt(125);
const close = (actual, expected, within, what) =>
  assert.ok(Math.abs(actual - expected) <= within, `${what}: ${actual}, not ${expected}`);

test('window z of a distance and back, and the codes of 16 and 24 bits there', () => {
  const z = far * (t - near) / (t * (far - near));
  close(P.depth(t, near, far), z, 1e-15, 'window z');
  close(P.distance(z, near, far), t, 1e-12, 'distance');
  // The figures worked by hand: d = 0.99204778, code 65014 (0xFDF6), a step of 0.0191 units
  // at 16 bits and 7.44e-5 at 24.
  close(z, 0.99204778, 5e-9, 'window z by hand');
  assert.equal(C.code(z, '16'), 65014);
  const at16 = P.at(C.code(z, '16'), '16', near, far), at24 = P.at(C.code(z, '24'), '24', near, far);
  assert.equal(at16.hex, 'FDF6');
  assert.equal(at16.step.toPrecision(3), '0.0191');
  assert.equal(at24.step.toPrecision(3), '0.0000744');
  // dt/dz = t^2 (far - near) / (far near), one code's step of 1 / (2^b - 1), at the distance
  // the code itself stands for.
  const t16 = P.distance(65014 / 65535, near, far);
  close(at16.step, t16 * t16 * (far - near) / (far * near * 65535), 1e-12, '16-bit step');
  close(at16.relative, at16.step / t16, 1e-12, 'step against the distance');
  assert.ok(at16.from < t && t < at16.to, `${t} within ${at16.from} to ${at16.to}`);
  close(at16.nearer, C.code(z, '16') / 65535, 1e-15, 'share nearer');
  close(at16.bitsLost, Math.log2(1000), 1e-12, 'bits lost');
  assert.equal(at16.hex, C.code(z, '16').toString(16).toUpperCase());
});

test('a 32-bit float keeps the depth itself, its neighbours one bit apart', () => {
  const z = P.depth(t, near, far), k = C.code(z, '32f');
  assert.equal(C.depthOf(k, '32f'), Math.fround(z));
  const at = P.at(k, '32f', near, far), tk = P.distance(Math.fround(z), near, far);
  // Within [0.5, 1) floats are 2^-24 apart.
  close(at.step, tk * tk * (far - near) / (far * near) * 2 ** -24, 1e-15, 'float step');
  assert.equal(at.hex, k.toString(16).toUpperCase());
  assert.equal(C.code(1, '32f'), 0x3f800000);
});
