// SPDX-License-Identifier: MIT
// Inside the frame: the depth buffer beside the picture, the frame stopped after any of its
// draws, and the history of a pixel picked in either view. Everything here is read from what
// the frame recorded (frame_record.cpp, pixel_history.cpp) and from the depth target
// (depth_target.js); the page's fragment keeps the pixel and the step. Linked into the page
// with --js-library.
mergeInto(LibraryManager.library, {
  $ZBV_INSPECT__deps: ['$ZBV', '$ZBV_DEPTH', '$ZBVPanel', '$ZBVFragment'],
  $ZBV_INSPECT: {
    ready: false,
    pixel: null,  // [x, y] in window coordinates, from the bottom left
    step: -1,     // draws shown; -1 for the whole frame
    names: ['floor', 'grey teapot', 'red teapot', 'blue teapot'],

    element: function(id) { return document.getElementById(id); },

    // Once, at the end of the first frame: the controls and the address.
    start: function() {
      var I = ZBV_INSPECT, canvas = ZBV.canvas, depth = I.element('depth');
      if (!depth) return false;
      I.depth = depth;
      [canvas, depth].forEach(function(view) {
        view.addEventListener('click', function(e) {
          var box = view.getBoundingClientRect(), w = ZBV_DEPTH.width, h = ZBV_DEPTH.height;
          var x = Math.floor((e.clientX - box.left) * w / (box.width || 1));
          var y = h - 1 - Math.floor((e.clientY - box.top) * h / (box.height || 1));
          I.select(x, y);
        });
        view.addEventListener('keydown', function(e) {
          var move = {ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, 1], ArrowDown: [0, -1]}[e.key];
          if (!move || e.ctrlKey || e.altKey || e.metaKey) return;
          e.preventDefault();
          var p = I.pixel || [ZBV_DEPTH.width >> 1, ZBV_DEPTH.height >> 1];
          I.select(p[0] + move[0], p[1] + move[1]);
        });
      });
      // The depth view takes the picture's size, whatever size the user drags it to.
      new ResizeObserver(function() {
        depth.style.width = canvas.clientWidth + 'px';
        depth.style.height = canvas.clientHeight + 'px';
      }).observe(canvas);
      document.querySelectorAll('input[name="step"]').forEach(function(radio) {
        radio.addEventListener('change', function() { I.show(+radio.value); });
      });
      window.addEventListener('hashchange', function() { I.readAddress(); });
      I.readAddress();
      return true;
    },

    // The pixel and the step the address names; what is missing or malformed is left as is.
    readAddress: function() {
      var I = ZBV_INSPECT, pairs = ZBVFragment.parse(location.hash);
      var p = /^(\d+),(\d+)$/.exec(ZBVFragment.get(pairs, 'pixel') || '');
      var step = ZBVFragment.get(pairs, 'step'), s = /^[0-4]$/.exec(step || '');
      if (p) I.pixel = [+p[1], +p[2]];
      if (s || step === null) I.show(s ? +s[0] : 4, true);
      I.refresh();
    },

    // Soon after the last change: browsers make each replaceState cost a few milliseconds.
    writeAddress: function() {
      clearTimeout(ZBV_INSPECT.addressTimer);
      ZBV_INSPECT.addressTimer = setTimeout(ZBV_INSPECT.writeAddressNow, 100);
    },

    // The pixel and the step after whatever else the fragment holds (the keys first).
    writeAddressNow: function() {
      var I = ZBV_INSPECT, mine = [['pixel', ''], ['step', '']];
      ZBVFragment.replace(ZBVFragment.write(ZBVFragment.write(location.hash, mine), [
        ['pixel', I.pixel ? I.pixel.join(',') : ''], ['step', I.step >= 0 ? String(I.step) : '']]));
    },

    // Stops the frame after `step` draws (4 or more: the whole frame) and draws it again.
    show: function(step, quiet) {
      var I = ZBV_INSPECT, s = step >= 4 ? -1 : Math.max(0, step);
      var radio = document.querySelector('input[name="step"][value="' + (s < 0 ? 4 : s) + '"]');
      if (radio) radio.checked = true;
      if (s === I.step) return;
      I.step = s;
      _zbv_frame_show_draws(s);
      if (!quiet) I.writeAddress();
    },

    select: function(x, y) {
      var I = ZBV_INSPECT;
      if (!ZBV_DEPTH.values) return;
      I.pixel = [Math.min(Math.max(x, 0), ZBV_DEPTH.width - 1),
                 Math.min(Math.max(y, 0), ZBV_DEPTH.height - 1)];
      I.writeAddress();
      I.refresh();
    },

    frameTooLarge: function() {
      var I = ZBV_INSPECT;
      if (!I.ready) return;
      I.element('depth-range').textContent = 'This frame is too large for the depth view and ' +
          'the pixel history: make it smaller to see them.';
      document.querySelectorAll('.cross').forEach(function(cross) { cross.hidden = true; });
    },

    frameDrawn: function() {
      var I = ZBV_INSPECT;
      if (!I.ready) I.ready = I.start();
      if (!I.ready) return;
      I.paintDepth();
      I.refresh();
    },

    planes: function() {
      var p = _zbv_frame_planes() >> 3;
      return [HEAPF64[p], HEAPF64[p + 1]];
    },

    // The depth view: the nearest value stored white, the cleared 1 black, linear between.
    paintDepth: function() {
      var I = ZBV_INSPECT, d = ZBV_DEPTH, w = d.width, h = d.height, values = d.values;
      var all = 0xffffff, nearest = all, farthest = 0, cleared = 0;
      for (var i = 0; i < values.length; ++i) {
        var v = values[i];
        if (v < nearest) nearest = v;
        if (v === all) cleared += 1; else if (v > farthest) farthest = v;
      }
      var canvas = I.depth;
      if (canvas.width !== w) canvas.width = w;
      if (canvas.height !== h) canvas.height = h;
      var context = canvas.getContext('2d'), image = context.createImageData(w, h);
      var span = all - nearest, px = image.data;
      for (var y = 0; y < h; ++y) {
        for (var x = 0, from = (h - 1 - y) * w, to = y * w * 4; x < w; ++x, to += 4) {
          var g = span > 0 ? Math.round(255 * (all - values[from + x]) / span) : 0;
          px[to] = px[to + 1] = px[to + 2] = g;
          px[to + 3] = 255;
        }
      }
      context.putImageData(image, 0, 0);
      var text, planes = I.planes(), total = values.length;
      var at = function(v) {
        var z = v / all;
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

    refresh: function() {
      var I = ZBV_INSPECT;
      if (!I.ready || !ZBV_DEPTH.values) return;
      var p = I.pixel, w = ZBV_DEPTH.width, h = ZBV_DEPTH.height;
      document.querySelectorAll('.cross').forEach(function(cross) {
        cross.hidden = !p;
        if (!p) return;
        cross.style.setProperty('--x', (100 * (p[0] + 0.5) / w) + '%');
        cross.style.setProperty('--y', (100 * (h - p[1] - 0.5) / h) + '%');
      });
      // A pixel outside a frame made smaller stays chosen, for when the frame grows again.
      if (!p || p[0] >= w || p[1] >= h) return;
      ZBVPanel.fill(I.history(p[0], p[1]), p, ZBV_DEPTH.values[p[1] * w + p[0]] / 0xffffff, I.names);
    },
  },
});
