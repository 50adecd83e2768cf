// SPDX-License-Identifier: MIT
// The depth view: the codes the depth buffer held after the frame (ZbvCapture.stored), one
// grey a pixel, in one of three mappings: stretched over the frame's range (the nearest code
// stored white, the cleared 1 black), the stored value as it is (0 black, 1 white: nearly all
// white, as a depth buffer shown plainly is), or linear in the distance each value stands for
// (the near plane white, the far plane black); and the range of codes it found. A large frame
// is done in bands of rows, each in a task of its own, so that the page stays responsive; the
// z-fighting map likewise. Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvDepthView__deps: ['$ZbvCapture', '$ZbvGlDepth', '$ZbvPrecision'],
  $ZbvDepthView: {
    mapping: 'stretched',
    band: 262144,  // pixels a task (a 512x512 frame's in one)
    job: 0,       // the painting under way (a later one supersedes it)

    // Runs step(from, to) over the pixels in bands of rows, one band a task, then done();
    // a later call stops an earlier one still under way.
    inBands: function(width, height, step, done) {
      var V = ZbvDepthView, job = ++V.job, rows = Math.max(1, Math.floor(V.band / width));
      var next = function(y) {
        if (job !== V.job) return;
        var to = Math.min(height, y + rows);
        step(y * width, to * width, y, to);
        if (to < height) setTimeout(function() { next(to); }, 0);
        else done();
      };
      next(0);
    },

    // Paints the stored codes into the canvas (rows from the top), then says through
    // done({nearest, farthest (codes; farthest -1 where all are cleared), cleared (pixels),
    // total}) what they span. Each code's depth and grey is worked out in the loop itself.
    paint: function(canvas, planes, done) {
      var V = ZbvDepthView, C = ZbvCapture, D = ZbvGlDepth, w = C.width, h = C.height;
      var px = C.stored.bytes, format = C.format, all = D.code(1, format), nearest = all;
      var farthest = -1, cleared = 0, isFloat = D.isFloat(format), largest = D.largest(format);
      var m = V.mapping, near = planes.near, far = planes.far;
      if (canvas.width !== w) canvas.width = w;
      if (canvas.height !== h) canvas.height = h;
      // On the GPU, as the browser keeps a canvas by default: a band written into a canvas
      // kept in memory makes the browser send all of a large one to the screen again.
      var context = canvas.getContext('2d');
      var rows = Math.min(h, Math.max(1, Math.floor(V.band / w)));
      var image = context.createImageData(w, rows), out = new Uint32Array(image.data.buffer);
      // A row's codes, and (through the same bytes) a float format's depths.
      var codes = new Uint32Array(w), floats = new Float32Array(codes.buffer);
      var greys = new Uint32Array(256), bytes = new Uint8Array(greys.buffer);
      for (var g = 0; g < 256; ++g) bytes.set([g, g, g, 255], 4 * g);
      var spanned = function(from, to) {
        for (var j = 4 * from, end = 4 * to; j < end; j += 4) {
          var k = ((px[j] << 24) | (px[j + 1] << 16) | (px[j + 2] << 8) | px[j + 3]) >>> 0;
          if (k < nearest) nearest = k;
          if (k === all) cleared += 1; else if (k > farthest) farthest = k;
        }
      };
      V.inBands(w, h, spanned, function() {
        var low = nearest;
        codes[0] = low;
        var top = 1, bottom = isFloat ? floats[0] : low / largest;
        var by = bottom < top ? 255 / (top - bottom) : 0, scale = low < all ? 255 / (all - low) : 0;
        V.inBands(w, h, function(from, to, y0, y1) {
          // Rows from the top; the codes' rows run from the bottom.
          for (var y = y0; y < y1; ++y) {
            var j = 4 * (h - 1 - y) * w, o = (y - y0) * w, x;
            for (x = 0; x < w; ++x, j += 4) {
              codes[x] = ((px[j] << 24) | (px[j + 1] << 16) | (px[j + 2] << 8) | px[j + 3]) >>> 0;
            }
            for (x = 0; x < w; ++x) {
              var z = isFloat ? floats[x] : codes[x] / largest, grey;
              if (m === 'raw') {
                grey = (255 * z + 0.5) | 0;
              } else if (m === 'linear') {
                var t = z >= 1 ? far : far * near / (near + (1 - z) * (far - near));
                grey = (255 * (far - t) / (far - near) + 0.5) | 0;
              } else {
                // Codes of whole numbers as the gallery stretches its depth pictures.
                grey = isFloat ? ((top - z) * by + 0.5) | 0 : ((all - codes[x]) * scale + 0.5) | 0;
              }
              out[o + x] = greys[grey < 0 ? 0 : grey > 255 ? 255 : grey];
            }
          }
          context.putImageData(image, 0, y0, 0, 0, w, y1 - y0);
        }, function() {
          done({nearest: nearest, farthest: farthest, cleared: cleared, total: w * h});
        });
      });
    },

    // The z-fighting map over the picture: magenta where a draw that tests depth brought the
    // very code stored before it (the depth test, GL_LESS, keeps what came first whatever the
    // true depths), the rest clear. From the draws' codes (ZbvCapture.bands).
    marks: function(canvas, done) {
      var V = ZbvDepthView, C = ZbvCapture, w = C.width, h = C.height, count = 0;
      var held0 = ZbvGlDepth.code(1, C.format);
      var bands = [];
      C.drawn.forEach(function(d, k) {
        var b = C.bands[k];
        if (d.depthTest && b && b.codes.bytes && b.ids.bytes) bands.push([b.codes.bytes, b.ids.bytes]);
      });
      if (canvas.width !== w) canvas.width = w;
      if (canvas.height !== h) canvas.height = h;
      var context = canvas.getContext('2d'), image = context.createImageData(w, h);
      var out = new Uint32Array(image.data.buffer), magenta = new Uint32Array(1);
      new Uint8Array(magenta.buffer).set([255, 0, 255, 255]);
      V.inBands(w, h, function(from, to) {
        for (var i = from; i < to; ++i) {
          var held = held0, j = 4 * i, tie = false;
          for (var b = 0; b < bands.length; ++b) {
            var p = bands[b][0], q = bands[b][1];
            // Where the draw reaches the pixel at all (a triangle's number there).
            if ((q[j] & q[j + 1] & q[j + 2] & q[j + 3]) === 255) continue;
            var k = ((p[j] << 24) | (p[j + 1] << 16) | (p[j + 2] << 8) | p[j + 3]) >>> 0;
            if (k === held) tie = true;
            if (k < held) held = k;
          }
          if (tie) {
            out[(h - 1 - Math.floor(i / w)) * w + i % w] = magenta[0];
            count += 1;
          }
        }
      }, function() {
        context.putImageData(image, 0, 0);
        done(count);
      });
    },
  },
});
