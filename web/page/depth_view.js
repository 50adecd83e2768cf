// SPDX-License-Identifier: MIT
// The depth view: what the depth target read back last, one grey a pixel, in one of three
// mappings: stretched over the frame's range (the nearest value stored white, the cleared 1
// black), the stored value as it is (0 black, 1 white: nearly all white, as a depth buffer
// shown plainly is), or linear in the distance each value stands for (the near plane white,
// the far plane black); and the range of values it found. Linked into the page with
// --js-library.
mergeInto(LibraryManager.library, {
  $ZbvDepthView__deps: ['$ZbvDepth', '$ZbvDepthCodes', '$ZbvPrecision'],
  $ZbvDepthView: {
    mapping: 'stretched',

    // Paints the target's values into the canvas (rows from the top) and says what they span:
    // {nearest, farthest (codes; farthest -1 where all are cleared), cleared (pixels), total}.
    paint: function(canvas, planes) {
      var d = ZbvDepth, w = d.width, h = d.height, px = d.values, format = ZbvDepthCodes.format();
      var decode = ZbvDepthCodes.decode, all = d.cleared(), nearest = all, farthest = -1;
      var cleared = 0, j, v;
      for (j = 0; j < px.length; j += 4) {
        v = decode(px, j, format);
        if (v < nearest) nearest = v;
        if (v === all) cleared += 1; else if (v > farthest) farthest = v;
      }
      if (canvas.width !== w) canvas.width = w;
      if (canvas.height !== h) canvas.height = h;
      // Kept in memory, not on the GPU: the page writes it whole and reads it back.
      var context = canvas.getContext('2d', {willReadFrequently: true});
      var image = context.createImageData(w, h), out = new Uint32Array(image.data.buffer);
      // Opaque grey, whatever the machine's byte order.
      var grey = new Uint32Array(256), bytes = new Uint8Array(grey.buffer);
      for (j = 0; j < 256; ++j) bytes.set([j, j, j, 255], 4 * j);
      var shade = ZbvDepthView.shade(format, nearest, all, planes);
      for (var y = 0; y < h; ++y) {
        for (var x = 0, from = 4 * (h - 1 - y) * w, to = y * w; x < w; ++x, from += 4, ++to) {
          out[to] = grey[shade(decode(px, from, format))];
        }
      }
      context.putImageData(image, 0, 0);
      return {nearest: nearest, farthest: farthest, cleared: cleared, total: w * h};
    },

    // The z-fighting map over the picture: each marked pixel (rows from the bottom) magenta,
    // the rest clear.
    marks: function(canvas, marks, w, h) {
      if (canvas.width !== w) canvas.width = w;
      if (canvas.height !== h) canvas.height = h;
      var context = canvas.getContext('2d'), image = context.createImageData(w, h), px = image.data;
      for (var y = 0; y < h; ++y) {
        for (var x = 0, from = (h - 1 - y) * w, to = 4 * y * w; x < w; ++x, to += 4) {
          if (marks[from + x]) px.set([255, 0, 255, 255], to);
        }
      }
      context.putImageData(image, 0, 0);
    },

    // The grey (0 to 255) of a code, in the mapping chosen.
    shade: function(format, nearest, all, planes) {
      var depthOf = ZbvDepthCodes.depthOf, m = ZbvDepthView.mapping;
      if (m === 'raw') return function(k) { return (255 * depthOf(k, format) + 0.5) | 0; };
      if (m === 'linear') {
        var near = planes.near, far = planes.far;
        return function(k) {
          var t = ZbvPrecision.distance(depthOf(k, format), near, far);
          return Math.min(255, Math.max(0, (255 * (far - t) / (far - near) + 0.5) | 0));
        };
      }
      if (format === '32f') {
        var top = depthOf(all, format), low = depthOf(nearest, format);
        var by = low < top ? 255 / (top - low) : 0;
        return function(k) { return ((top - depthOf(k, format)) * by + 0.5) | 0; };
      }
      // Stretched, codes of whole numbers: as the gallery stretches its depth pictures.
      var scale = nearest < all ? 255 / (all - nearest) : 0;
      return function(k) { return ((all - k) * scale + 0.5) | 0; };
    },
  },
});
