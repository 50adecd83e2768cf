// SPDX-License-Identifier: MIT
// The address's fragment as the page reads and writes it: nothing malformed throws or is
// taken for a parameter, the page's own parameters are written in their order where the
// first of them stood, and pixels and keys are read only in their exact form.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const { loadLibrary } = require('./library');

const { ZbvFragment: F } = loadLibrary('web/page/fragment.js');

test('pieces that do not parse are left out, without throwing', () => {
  for (const hash of ['#keys', '#=2', '#keys=%zz', '#keys=%E0%A4%A', '#&&&', '', '#', null]) {
    assert.deepEqual(F.parse(hash), [], String(hash));
  }
  assert.deepEqual(F.parse('#keys=%zz&view=2&pixel=1%2C2'), [['view', '2'], ['pixel', '1,2']]);
  assert.equal(F.get(F.parse('#keys=2&keys=4'), 'keys'), '2');
});

test('the page\'s parameters are written in their order, the others kept in place', () => {
  const own = (keys, pixel, step) => [['keys', keys], ['pixel', pixel], ['step', step]];
  assert.equal(F.write('', own('2', '', '')), '#keys=2');
  assert.equal(F.write('#view=2&keys=25', own('25', '', '')), '#view=2&keys=25');
  assert.equal(F.write('#keys=6&view=3', own('', '', '')), '#view=3');
  assert.equal(F.write('#view=3', own('2', '', '')), '#view=3&keys=2');
  assert.equal(F.write('#step=2&view=1&step=3&pixel=1,2', own('', '1,2', '2')),
    '#pixel=1,2&step=2&view=1');
  assert.equal(F.write('#a%20b=c%26d', own('4', '', '')), '#a%20b=c%26d&keys=4');
});

test('keys, one a group in the groups\' order', () => {
  const groups = ['12', '34', '567'];
  assert.deepEqual(F.keys('245', groups), ['2', '4', '5']);
  assert.deepEqual(F.keys('', groups), []);
  for (const bad of ['22', '21', '42', '8', '2x', '+2', '\u0662', '54']) {
    assert.equal(F.keys(bad, groups), null, bad);
  }
});
