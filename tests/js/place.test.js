// SPDX-License-Identifier: MIT
// A pixel as a link names it: a position in the program's 300 x 300 frame that names the same
// point of the picture in a drawing buffer of any size and shape, written with the fewest
// decimals that name the buffer's pixel, and read only in its exact form.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const { loadLibrary } = require('./library');

const { ZbvPlace: P } = loadLibrary('web/page/place.js');

test('a position names the point of the picture under it in any buffer, and back', () => {
  // The program's frame itself: a pixel is its own position, in whole numbers.
  assert.deepEqual(P.toPixel([180, 167], 300, 300), [180, 167]);
  assert.equal(P.write(P.toPosition([180, 167], 300, 300)), '180,167');
  // Twice the pixels each way (a ratio of 2, or the projector's larger picture): the pixel
  // whose square holds the point; the view's middle stays the middle in a wider buffer, as the
  // vertical field of view fills the height.
  assert.deepEqual(P.toPixel([180, 167], 600, 600), [360, 334]);
  assert.deepEqual(P.toPixel([150, 167], 400, 300), [200, 167]);
  assert.equal(P.toPixel([-60, 10], 400, 300), null);
  assert.deepEqual(P.toPixel([-40, 10], 400, 300), [10, 10]);
  for (const [w, h] of [[300, 300], [375, 375], [600, 600], [900, 900], [400, 300], [300, 450], [1013, 777]]) {
    for (let x = 0; x < w; x += 17) {
      for (let y = 0; y < h; y += 13) {
        const p = P.toPosition([x, y], w, h);
        assert.deepEqual(P.toPixel(P.read(P.write(p)), w, h), [x, y], `${x}, ${y} of ${w}x${h}`);
        assert.ok(P.write(p).length <= 15, P.write(p));
      }
    }
  }
});

test('only the link\'s own form is read', () => {
  assert.deepEqual(P.read('010,05'), [10, 5]);
  assert.deepEqual(P.read('180.25,-3.5'), [180.25, -3.5]);
  for (const bad of ['1e3,5', '0x10,0x10', '5,6,7', '', ' 1,2', '1,2 ', '99999999999999999999999,5',
    '1.2345678,2', '1,,2', '-,2', '1.,2']) {
    assert.equal(P.read(bad), null, bad);
  }
});
