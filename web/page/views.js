// SPDX-License-Identifier: MIT
// Inside the frame: the depth buffer beside the picture, the frame stopped after any of its
// draws, and the history of a pixel picked in either view. Everything here is read from the
// inspector: the frame's record and a pixel's history in it, and the depth target. The page
// (page.js) keeps the pixel and the step in the address: it chooses them here, and hears of
// the user's changes through `changed`. Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvViews__deps: ['$ZbvDepth', '$ZbvDepthView', '$ZbvHistory', '$ZbvPanel', '$ZbvPrecision',
                    '$ZbvGraph', '$ZbvZfight', '$ZbvLab', '$ZbvWords'],
  $ZbvViews__postset: 'ZbvDepth.onRead = ZbvViews.frameRead; ' +
    'ZbvDepth.onTooLarge = ZbvViews.frameTooLarge;',
  $ZbvViews: {
    ready: false,
    pixel: null,  // [x, y] in window coordinates, from the bottom left, inside the frame
    step: -1,     // draws shown; -1 for the whole frame
    width: 0,     // the frame's size, as last drawn
    height: 0,
    numbers: null,  // the program's numbers after the frame (page_state.cpp)

    // Called when the user picks a pixel or a step (the page writes them into the address).
    changed: function() {},

    element: function(id) { return document.getElementById(id); },

    // Once, when the window opens: the views' and the steps' controls.
    start: function(canvas) {
      var I = ZbvViews, depth = I.element('depth');
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
      var I = ZbvViews, box = view.getBoundingClientRect(), r = window.devicePixelRatio || 1;
      var left = Math.round(box.left * r), top = Math.round(box.top * r);
      var wide = Math.max(Math.round(box.right * r) - left, 1);
      var high = Math.max(Math.round(box.bottom * r) - top, 1);
      return [Math.floor((e.clientX * r - left) * I.width / wide),
              I.height - 1 - Math.floor((e.clientY * r - top) * I.height / high)];
    },

    // The pixel and the step the address names (null, and -1 or 4 for the whole frame); the
    // pixel is dropped at the next frame if it lies outside it.
    choose: function(pixel, step) {
      var I = ZbvViews;
      I.show(step);
      I.pixel = pixel;
      if (I.width) I.frameShown(I.width, I.height);
    },

    // Stops the frame after `step` draws (4 or more, or -1: the whole frame) and draws it again.
    show: function(step) {
      var I = ZbvViews, s = step >= 0 && step < 4 ? step : -1;
      var radio = document.querySelector('input[name="step"][value="' + (s < 0 ? 4 : s) + '"]');
      if (radio) radio.checked = true;
      if (s === I.step) return;
      I.step = s;
      _zbv_frame_show_draws(s);
    },

    // A pixel picked by the user: kept inside the frame.
    select: function(x, y) {
      var I = ZbvViews;
      if (!I.width) return;
      I.pixel = [Math.min(Math.max(x, 0), I.width - 1), Math.min(Math.max(y, 0), I.height - 1)];
      I.refresh();
      I.changed();
    },

    // Right after each frame, at its size, with the program's numbers after it: a pixel
    // outside it is dropped, and the crosshair follows. The depth view and the history follow
    // once the frame is read back.
    frameShown: function(width, height, numbers) {
      var I = ZbvViews, p = I.pixel;
      I.width = width;
      I.height = height;
      if (numbers) I.numbers = numbers;
      if (p && (p[0] >= width || p[1] >= height)) I.pixel = p = null;
      document.querySelectorAll('.cross').forEach(function(cross) {
        cross.hidden = !p;
        if (!p) return;
        cross.style.setProperty('--x', (100 * (p[0] + 0.5) / width) + '%');
        cross.style.setProperty('--y', (100 * (height - p[1] - 0.5) / height) + '%');
      });
      if (!p) ZbvPanel.clear();
    },

    // The frame is too large to be read back: nothing of an earlier frame stays on show.
    frameTooLarge: function() {
      var I = ZbvViews;
      if (!I.ready) return;
      I.element('depth-range').textContent = ZbvWords.t('range.tooLarge');
      I.depth.width = I.depth.height = 1;
      I.depth.getContext('2d', {willReadFrequently: true}).clearRect(0, 0, 1, 1);
      ZbvPanel.clear();
    },

    frameRead: function() {
      var I = ZbvViews;
      if (!I.ready || !ZbvDepth.values || ZbvDepth.width !== I.width ||
          ZbvDepth.height !== I.height) return;
      I.paintDepth();
      var map = I.element('zfight-map');
      if (map && ZbvZfight.on && ZbvZfight.marks) ZbvDepthView.marks(map, ZbvZfight.marks, I.width, I.height);
      I.refresh();
    },

    // The lab's graph, with the code stored at the pixel picked.
    graph: function() {
      var I = ZbvViews, canvas = I.element('lab-graph'), lab = ZbvLab.lab, p = I.pixel;
      if (!canvas) return;
      var code = p && ZbvDepth.values ? ZbvDepth.code(p[1] * I.width + p[0]) : null;
      ZbvGraph.draw(canvas, lab.near, lab.far, lab.format, code);
      I.element('graph-caption').textContent = ZbvGraph.caption(lab.near, lab.far, lab.format, code);
    },

    // The depth view painted, and what it spans said under it.
    paintDepth: function() {
      var I = ZbvViews, W = ZbvWords, n = I.numbers, span = ZbvDepthView.paint(I.depth, n);
      var at = function(code) {
        var z = ZbvDepth.depthOf(code);
        return W.t('range.at', {z: W.number(z, 6),
                                t: W.number(ZbvPrecision.distance(z, n.near, n.far), 2)});
      };
      var total = W.number(span.total), text;
      if (span.cleared === span.total) {
        text = W.t(n.drawsShown > 0 && n.drawsTestingDepth === 0 ? 'range.noTest' : 'range.empty',
                   {total: total});
      } else {
        text = W.t('range', {nearest: at(span.nearest), farthest: at(span.farthest),
                             cleared: W.number(span.cleared), total: total});
      }
      I.element('depth-range').textContent = text;
    },

    // The panel for the selected pixel, from the frame read back last.
    refresh: function() {
      var I = ZbvViews, p = I.pixel;
      I.frameShown(I.width, I.height);
      I.graph();
      if (!p || !ZbvDepth.values || ZbvDepth.width !== I.width) return;
      ZbvPanel.fill(ZbvHistory.at(p[0], p[1]), p, ZbvDepth.code(p[1] * I.width + p[0]));
    },
  },
});
