// SPDX-License-Identifier: MIT
// Inside the frame: the depth buffer beside the picture, the frame stopped after any of its
// draws, and the history of a pixel picked in either view. Everything here is read from the
// probe: the frame's record and a pixel's history in it, and what the GPU stored (the
// capture). The page (page.js) keeps the pixel and the step in the address: it chooses them
// here, and hears of the user's changes through `changed`. The page's root says which frame
// was shown last and which one the views show (data-frame, data-followed). Linked into the
// page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvViews__deps: ['$ZbvCapture', '$ZbvGlDepth', '$ZbvDepthView', '$ZbvHistory', '$ZbvPanel',
                    '$ZbvGraph', '$ZbvLab', '$ZbvPlace', '$ZbvPrecision', '$ZbvWords', '$ZbvFacts'],
  $ZbvViews__postset: 'ZbvCapture.onRead = ZbvViews.frameRead; ' +
    'ZbvCapture.onTooLarge = ZbvViews.frameTooLarge;',
  $ZbvViews: {
    ready: false,
    pixel: null,     // [x, y] in the drawing buffer's window coordinates, inside the frame
    position: null,  // where the pixel lies in the program's frame (place.js), as linked
    step: -1,        // draws shown; -1 for the whole frame
    width: 0,        // the frame's size, as last drawn
    height: 0,
    numbers: null,   // the program's numbers after the frame (page_state.cpp)
    zfight: false,   // the z-fighting map on
    depthShown: false,  // the depth view shows a frame read back
    frames: 0,       // frames shown

    // Called when the user picks a pixel or a step (the page writes them into the address),
    // and when the planes come to leave the picture empty, or no longer do (`empty`).
    changed: function() {},
    emptied: function() {},

    element: function(id) { return document.getElementById(id); },

    // Once, when the window opens: the views' and the steps' controls.
    start: function(canvas) {
      var I = ZbvViews, depth = I.element('depth');
      ZbvPlace.frame = [canvas.width, canvas.height];
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

    // The position and the step the address names (null, and -1 or 4 for the whole frame);
    // the pixel is the one under the position in the frame shown, dropped if none is.
    choose: function(position, step) {
      var I = ZbvViews;
      I.show(step);
      I.position = position;
      I.pixel = null;
      if (I.width) I.place();
    },

    // The pixel under the position, in the frame as it is now.
    place: function() {
      var I = ZbvViews;
      I.pixel = I.position && ZbvPlace.toPixel(I.position, I.width, I.height);
      if (!I.pixel) I.position = null;
    },

    // Stops the frame after `step` draws (all of them or more, or -1: the whole frame) and
    // draws it again.
    show: function(step) {
      var I = ZbvViews, all = ZbvFacts.draws.length, s = step >= 0 && step < all ? step : -1;
      var radio = document.querySelector('input[name="step"][value="' + (s < 0 ? all : s) + '"]');
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
      I.position = ZbvPlace.toPosition(I.pixel, I.width, I.height);
      I.refresh();
      I.changed();
    },

    // The map switched on or off.
    showZfight: function(on) {
      var I = ZbvViews;
      I.zfight = on;
      I.element('zfight-map').hidden = !on;
      I.frameRead();
    },

    // Right after each frame, at its size, with the program's numbers after it: the pixel
    // follows its position into the frame's new size, and the crosshair follows. The depth
    // view and the history follow once the frame is read back.
    frameShown: function(width, height, numbers) {
      var I = ZbvViews;
      if (numbers) {
        I.frames += 1;
        document.documentElement.dataset.frame = String(I.frames);
      }
      if (width !== I.width || height !== I.height) {
        I.width = width;
        I.height = height;
        I.place();
      }
      if (numbers) I.numbers = numbers;
      I.cross();
      if (!I.pixel) ZbvPanel.clear();
      // Nothing to read where the capture takes nothing of this frame.
      if (numbers && ZbvCapture.started && !ZbvCapture.live) I.followed();
    },

    cross: function() {
      var I = ZbvViews, p = I.pixel;
      document.querySelectorAll('.cross').forEach(function(cross) {
        cross.hidden = !p;
        if (!p) return;
        cross.style.setProperty('--x', (100 * (p[0] + 0.5) / I.width) + '%');
        cross.style.setProperty('--y', (100 * (I.height - p[1] - 0.5) / I.height) + '%');
      });
    },

    // The views show the latest frame.
    followed: function() {
      document.documentElement.dataset.followed = String(ZbvViews.frames);
    },

    // The frame is too large to be read back: nothing of an earlier frame stays on show.
    frameTooLarge: function() {
      var I = ZbvViews;
      if (!I.ready) return;
      I.element('depth-range').textContent = ZbvWords.t('range.tooLarge');
      I.depthShown = false;
      I.depth.width = I.depth.height = 1;
      I.depth.getContext('2d').clearRect(0, 0, 1, 1);
      ZbvPanel.clear();
      I.followed();
    },

    // The latest frame read back: the depth view painted (in bands), the map, the panel.
    frameRead: function() {
      var I = ZbvViews, C = ZbvCapture;
      if (!I.ready || !C.current() || C.width !== I.width || C.height !== I.height) return;
      var frame = I.frames;
      ZbvDepthView.paint(I.depth, I.numbers, function(span) {
        I.span = span;
        I.depthShown = true;
        I.sayRange();
        var map = I.element('zfight-map');
        if (I.zfight && map) ZbvDepthView.marks(map, function() {});
        I.refresh();
        if (frame === I.frames) I.followed();
      });
    },

    // The lab's graph, with the code stored at the pixel picked.
    graph: function() {
      var I = ZbvViews, canvas = I.element('lab-graph'), lab = ZbvLab.lab, p = I.pixel;
      if (!canvas) return;
      var code = p ? ZbvCapture.storedAt(p[0], p[1]) : -2;
      code = code >= 0 ? code : null;
      ZbvGraph.draw(canvas, lab.near, lab.far, lab.format, code);
      var caption = I.element('graph-caption');
      caption.textContent = ZbvGraph.caption(lab.near, lab.far, lab.format, code, caption);
    },

    // What the depth view spans, said under it; where the depth test stored nothing, why:
    // the plane that cut the whole scene away, where one did (empty, for the lab too).
    sayRange: function() {
      var I = ZbvViews, W = ZbvWords, n = I.numbers, span = I.span;
      if (!span) return;
      var at = function(code) {
        var z = ZbvGlDepth.depthOf(code, ZbvCapture.format);
        return W.t('range.at', {z: W.number(z, {digits: 6}),
                                t: W.number(ZbvPrecision.distance(z, n.near, n.far), {digits: 2})});
      };
      var total = W.number(span.total), text, empty = '';
      if (span.cleared === span.total) {
        if (n.drawsShown > 0 && n.drawsTestingDepth > 0) {
          empty = ['empty.between', 'empty.far', 'empty.near', 'empty.outside'][_zbv_frame_extent()];
        }
        text = W.t(n.drawsShown > 0 && n.drawsTestingDepth === 0 ? 'range.noTest' : 'range.empty',
                   {total: total});
      } else {
        text = W.t('range', {nearest: at(span.nearest), farthest: at(span.farthest),
                             cleared: W.number(span.cleared), total: total});
      }
      if (empty !== I.empty) {
        I.empty = empty;
        I.emptied();
      }
      if (empty) {
        text = W.t('sentences', {a: text, b: W.t(empty, {near: W.number(n.near, {all: true}),
                                                          far: W.number(n.far, {all: true})})});
      }
      I.element('depth-range').textContent = text;
    },
    empty: '',

    // The panel for the selected pixel, from the frame read back last.
    refresh: function() {
      var I = ZbvViews, p = I.pixel;
      I.cross();
      I.graph();
      if (!p) return ZbvPanel.clear();
      ZbvPanel.fill(ZbvHistory.at(p[0], p[1]), p, I);
    },
  },
});
