// SPDX-License-Identifier: MIT
// The lab's graph: the value stored against the distance ahead, for the planes and the format
// drawn with, the distance on a logarithmic scale from the near plane to the far one; beside
// it, the codes around the picked pixel, a tick each, with the distance each stands for. Its
// caption gives the numbers to a screen reader. Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvGraph__deps: ['$ZbvPrecision', '$ZbvGlDepth', '$ZbvWords'],
  $ZbvGraph: {
    // Around the picked pixel: this many codes each way.
    around: 6,

    // Draws the graph for the planes and format; picked: the pixel's code, or null.
    draw: function(canvas, near, far, format, picked) {
      var G = ZbvGraph, P = ZbvPrecision, context = canvas.getContext('2d');
      var w = canvas.width, h = canvas.height, pad = 24, half = Math.floor(w / 2);
      var style = getComputedStyle(canvas), ink = style.color, accent = style.getPropertyValue('--accent') || ink;
      context.clearRect(0, 0, w, h);
      context.strokeStyle = context.fillStyle = ink;
      context.lineWidth = 1;
      context.font = '11px system-ui, sans-serif';
      // The whole curve: x the distance (log), y the value stored.
      var x = function(t) { return pad + (half - 2 * pad) * Math.log(t / near) / Math.log(far / near); };
      var y = function(z) { return h - pad - (h - 2 * pad) * z; };
      context.strokeRect(pad, pad, half - 2 * pad, h - 2 * pad);
      context.beginPath();
      for (var i = 0; i <= 200; ++i) {
        var t = near * Math.pow(far / near, i / 200);
        context[i ? 'lineTo' : 'moveTo'](x(t), y(P.depth(t, near, far)));
      }
      context.stroke();
      context.fillText('0', 4, y(0) + 4);
      context.fillText('1', 4, y(1) + 4);
      context.fillText(ZbvWords.number(near, {all: true}), pad, h - 6);
      context.fillText(ZbvWords.number(far, {all: true}), half - pad - 24, h - 6);
      if (picked === null) return;
      var at = P.at(picked, format, near, far);
      context.strokeStyle = context.fillStyle = accent;
      context.beginPath();
      context.arc(x(at.distance), y(at.depth), 4, 0, 2 * Math.PI);
      context.fill();
      // The codes around it: each a tick where they can be told apart, at the distance where
      // the next takes over.
      var largest = ZbvGlDepth.largest(format), left = half + pad;
      var lo = Math.max(picked - G.around, 0), hi = Math.min(picked + G.around, largest);
      var from = P.at(lo, format, near, far).from, to = P.at(hi, format, near, far).to;
      var zx = function(t) { return left + (w - left - pad) * (t - from) / Math.max(to - from, 1e-300); };
      var zy = function(k) { return pad + (h - 2 * pad) * (hi - k) / Math.max(hi - lo, 1); };
      context.strokeStyle = context.fillStyle = ink;
      context.strokeRect(left, pad, w - left - pad, h - 2 * pad);
      for (var k = lo; k <= hi; ++k) {
        var c = P.at(k, format, near, far);
        if (k === picked) context.strokeStyle = context.fillStyle = accent;
        context.beginPath();
        context.moveTo(zx(c.from), zy(k));
        context.lineTo(zx(c.to), zy(k));
        context.stroke();
        context.strokeStyle = context.fillStyle = ink;
      }
      context.fillText(ZbvWords.number(from, {precision: 6}), left, h - 6);
      context.fillText(ZbvWords.number(to, {precision: 6}), w - pad - 48, h - 6);
    },

    // What the graph shows, in words: where half and 90 % of the format's codes lie, and the
    // codes around the pixel picked, each standing for the distances the panel gives it (the
    // numbers as they are, on the caption's data-from, data-to and data-half).
    caption: function(near, far, format, picked, element) {
      var P = ZbvPrecision, W = ZbvWords, shares = P.shares(format, near, far);
      var n = function(x) { return W.number(x, {precision: 3}); };
      if (element) element.dataset.half = shares.half;
      var text = W.t(ZbvGlDepth.isFloat(format) ? 'graph.float' : 'graph', {
        near: W.number(near, {all: true}), far: W.number(far, {all: true}),
        format: format, half: n(shares.half), ninety: n(shares.ninety)});
      if (picked === null) return W.t('sentences', {a: text, b: W.t('graph.pick')});
      var at = P.at(picked, format, near, far), count = Math.min(picked + ZbvGraph.around,
        ZbvGlDepth.largest(format)) - Math.max(picked - ZbvGraph.around, 0) + 1;
      if (element) {
        element.dataset.from = at.from;
        element.dataset.to = at.to;
      }
      var end = function(x) { return W.number(x, {digits: P.places(at.width)}); };
      return W.t('sentences', {a: text, b: W.t('graph.picked', {t: n(at.distance), hex: at.hex,
        from: end(at.from), to: end(at.to), n: W.number(count)})});
    },
  },
});
