// SPDX-License-Identifier: MIT
// Inside the frame: the depth buffer beside the picture, the frame stopped after any of its
// draws, and the history of a pixel picked in either view. Everything here is read from what
// the frame recorded (frame_record.cpp, pixel_history.cpp) and from the depth target
// (depth_target.js). The page (page.js) keeps the pixel and the step in the address: it
// chooses them here, and hears of the user's changes through `changed`. Linked into the page
// with --js-library.
mergeInto(LibraryManager.library, {
  $ZBV_INSPECT__deps: ['$ZBV', '$ZBV_DEPTH', '$ZBVPanel'],
  $ZBV_INSPECT: {
    ready: false,
    pixel: null,  // [x, y] in window coordinates, from the bottom left, inside the frame
    step: -1,     // draws shown; -1 for the whole frame
    width: 0,     // the frame's size, as last drawn
    height: 0,
    names: ['floor', 'grey teapot', 'red teapot', 'blue teapot'],
    // Called when the user picks a pixel or a step (the page writes them into the address).
    changed: function() {},

    element: function(id) { return document.getElementById(id); },

    // Once, when the window opens: the views' and the steps' controls.
    start: function(canvas) {
      var I = ZBV_INSPECT, depth = I.element('depth');
      if (!depth) return;
      I.depth = depth;
      [canvas, depth].forEach(function(view) {
        // Where the browser gives the pointer's place to a fraction of a pixel, it does so in
        // pointer events; a click's place is in whole CSS pixels.
        var down = null;
        view.addEventListener('pointerdown', function(e) { down = e; });
        view.addEventListener('click', function(e) {
          var near = down && Math.abs(down.clientX - e.clientX) < 1 &&
                     Math.abs(down.clientY - e.clientY) < 1;
          var at = I.under(view, near ? down : e);
          I.select(at[0], at[1]);
        });
        view.addEventListener('keydown', function(e) {
          var move = {ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, 1], ArrowDown: [0, -1]}[e.key];
          if (!move || e.ctrlKey || e.altKey || e.metaKey) return;
          e.preventDefault();
          var p = I.pixel || [I.width >> 1, I.height >> 1];
          I.select(p[0] + move[0], p[1] + move[1]);
        });
      });
      // The depth view takes the picture's size, whatever size the user drags it to.
      new ResizeObserver(function() {
        var box = canvas.getBoundingClientRect();
        depth.style.width = box.width + 'px';
        depth.style.height = box.height + 'px';
      }).observe(canvas);
      document.querySelectorAll('input[name="step"]').forEach(function(radio) {
        radio.addEventListener('change', function() {
          I.show(+radio.value);
          I.changed();
        });
      });
      I.ready = true;
    },

    // The pixel of the view painted under the pointer. The browser paints the view from whole
    // device pixels, its edges rounded to them, so the pointer is placed among those, not
    // against the view's box, which may start part of the way into one.
    under: function(view, e) {
      var I = ZBV_INSPECT, box = view.getBoundingClientRect(), r = window.devicePixelRatio || 1;
      var left = Math.round(box.left * r), top = Math.round(box.top * r);
      var wide = Math.max(Math.round(box.right * r) - left, 1);
      var high = Math.max(Math.round(box.bottom * r) - top, 1);
      return [Math.floor((e.clientX * r - left) * I.width / wide),
              I.height - 1 - Math.floor((e.clientY * r - top) * I.height / high)];
    },

    // The pixel and the step the address names (null, and -1 or 4 for the whole frame); the
    // pixel is dropped at the next frame if it lies outside it.
    choose: function(pixel, step) {
      var I = ZBV_INSPECT;
      I.show(step);
      I.pixel = pixel;
      if (I.width) I.frameShown(I.width, I.height);
    },

    // Stops the frame after `step` draws (4 or more, or -1: the whole frame) and draws it again.
    show: function(step) {
      var I = ZBV_INSPECT, s = step >= 0 && step < 4 ? step : -1;
      var radio = document.querySelector('input[name="step"][value="' + (s < 0 ? 4 : s) + '"]');
      if (radio) radio.checked = true;
      if (s === I.step) return;
      I.step = s;
      _zbv_frame_show_draws(s);
    },

    // A pixel picked by the user: kept inside the frame.
    select: function(x, y) {
      var I = ZBV_INSPECT;
      if (!I.width) return;
      I.pixel = [Math.min(Math.max(x, 0), I.width - 1), Math.min(Math.max(y, 0), I.height - 1)];
      I.refresh();
      I.changed();
    },

    // Right after each frame, at its size: a pixel outside it is dropped, and the crosshair
    // follows. The depth view and the history follow once the frame is read back.
    frameShown: function(width, height) {
      var I = ZBV_INSPECT, p = I.pixel;
      I.width = width;
      I.height = height;
      if (p && (p[0] >= width || p[1] >= height)) I.pixel = p = null;
      document.querySelectorAll('.cross').forEach(function(cross) {
        cross.hidden = !p;
        if (!p) return;
        cross.style.setProperty('--x', (100 * (p[0] + 0.5) / width) + '%');
        cross.style.setProperty('--y', (100 * (height - p[1] - 0.5) / height) + '%');
      });
      if (!p) ZBVPanel.clear();
    },

    // The frame is too large to be read back: nothing of an earlier frame stays on show.
    frameTooLarge: function() {
      var I = ZBV_INSPECT;
      if (!I.ready) return;
      I.element('depth-range').textContent = 'This frame is too large for the depth view and ' +
          'the pixel history: make it smaller to see them.';
      I.depth.width = I.depth.height = 1;
      I.depth.getContext('2d', {willReadFrequently: true}).clearRect(0, 0, 1, 1);
      ZBVPanel.clear();
    },

    frameDrawn: function() {
      var I = ZBV_INSPECT;
      if (!I.ready || ZBV_DEPTH.width !== I.width || ZBV_DEPTH.height !== I.height) return;
      I.paintDepth();
      I.refresh();
    },

    planes: function() {
      var p = _zbv_frame_planes() >> 3;
      return [HEAPF64[p], HEAPF64[p + 1]];
    },

    // The depth view: the nearest value stored white, the cleared 1 black, linear between.
    paintDepth: function() {
      var I = ZBV_INSPECT, d = ZBV_DEPTH, w = d.width, h = d.height, px = d.values;
      var all = 0xffffff, nearest = all, farthest = 0, cleared = 0, total = w * h, i, j, v;
      for (j = 0; j < px.length; j += 4) {
        v = (px[j] << 16) | (px[j + 1] << 8) | px[j + 2];
        if (v < nearest) nearest = v;
        if (v === all) cleared += 1; else if (v > farthest) farthest = v;
      }
      var canvas = I.depth;
      if (canvas.width !== w) canvas.width = w;
      if (canvas.height !== h) canvas.height = h;
      // Kept in memory, not on the GPU: the page writes it whole and reads it back.
      var context = canvas.getContext('2d', {willReadFrequently: true});
      var image = context.createImageData(w, h);
      var out = new Uint32Array(image.data.buffer), scale = nearest < all ? 255 / (all - nearest) : 0;
      // Opaque grey, whatever the machine's byte order.
      var grey = new Uint32Array(256), bytes = new Uint8Array(grey.buffer);
      for (i = 0; i < 256; ++i) bytes.set([i, i, i, 255], 4 * i);
      for (var y = 0; y < h; ++y) {
        for (var x = 0, from = 4 * (h - 1 - y) * w, to = y * w; x < w; ++x, from += 4, ++to) {
          v = (px[from] << 16) | (px[from + 1] << 8) | px[from + 2];
          out[to] = grey[((all - v) * scale + 0.5) | 0];
        }
      }
      context.putImageData(image, 0, 0);
      var text, planes = I.planes();
      var at = function(value) {
        var z = value / all;
        return z.toFixed(6) + ' (' + ZBVPanel.distance(z, planes[0], planes[1]).toFixed(2) + ' units ahead)';
      };
      if (cleared === total) {
        text = 'nothing stored, all ' + total + ' pixels keep the cleared 1';
        if (_zbv_frame_draws_shown() > 0 && _zbv_frame_draws_testing_depth() === 0) {
          text += ': with the depth test off, OpenGL writes no depth';
        }
      } else {
        text = 'nearest ' + at(nearest) + ', farthest ' + at(farthest) + '; ' + cleared + ' of ' +
               total + ' pixels keep the cleared 1';
      }
      I.element('depth-range').textContent = text;
    },

    // The history of the selected pixel, decoded (layout: pixel_history.cpp).
    history: function(x, y) {
      var at = _zbv_pixel_history(x, y) >> 3, f = HEAPF64;
      var next = function(n) { var v = Array.from(f.subarray(at, at + n)); at += n; return v; };
      var head = next(8), draws = [];
      for (var k = 0; k < head[7]; ++k) {
        var d = next(3), fragments = [];
        for (var n = 0; n < d[2]; ++n) {
          var g = next(9), vertices = [];
          for (var i = 0; i < 3; ++i) {
            var v = next(13);
            vertices.push({colour: v.slice(0, 3), ambient: v.slice(3, 6), diffuse: v.slice(6, 9),
                           specular: v.slice(9, 12), ndotl: v[12]});
          }
          fragments.push({depth: g[1], verdict: ['no test', 'passed', 'failed'][g[2]],
                          colour: g.slice(3, 6), weights: g.slice(6, 9), vertices: vertices});
        }
        draws.push({depthTest: !!d[0], lighting: !!d[1], fragments: fragments});
      }
      return {near: head[0], far: head[1], shown: Math.min(head[2], draws.length),
              clear: head.slice(3, 6), depthCleared: !!head[6], draws: draws};
    },

    // The panel for the selected pixel, from the frame read back last.
    refresh: function() {
      var I = ZBV_INSPECT, p = I.pixel;
      I.frameShown(I.width, I.height);
      if (!p || !ZBV_DEPTH.values || ZBV_DEPTH.width !== I.width) return;
      ZBVPanel.fill(I.history(p[0], p[1]), p, ZBV_DEPTH.value(p[1] * I.width + p[0]) / 0xffffff,
                    I.names);
    },
  },
});
