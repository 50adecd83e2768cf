// SPDX-License-Identifier: MIT
// A pixel as a link names it: a position in the program's own frame (its window at the size
// it opens with, 300 x 300, in its pixels, counted from the bottom left), so that a link names
// the same point of the picture on any screen. The view's vertical field of view fills the
// drawing buffer's height and its width follows the aspect, so at any size the point keeps its
// place in the view, and the buffer's pixel under it is the one shown. A position is written
// with as few decimals as name that pixel: whole numbers where the buffer is the frame.
// Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvPlace: {
    frame: [300, 300],  // the program's frame, as the canvas's markup gives it (set at start)

    // The buffer's column and row at a position's x and y, in a buffer of w x h.
    column: function(x, w, h) {
      var F = ZbvPlace.frame;
      return Math.floor(w / 2 + (x - F[0] / 2) * h / F[1]);
    },
    row: function(y, h) {
      return Math.floor(y * h / ZbvPlace.frame[1]);
    },

    // The drawing buffer's pixel [x, y] at a position, in a buffer of w x h; null outside it.
    toPixel: function(position, w, h) {
      var P = ZbvPlace, x = P.column(position[0], w, h), y = P.row(position[1], h);
      return x >= 0 && y >= 0 && x < w && y < h ? [x, y] : null;
    },

    // The position that names the buffer's pixel [x, y]: in each direction the number with
    // the fewest decimals that falls in that pixel.
    toPosition: function(pixel, w, h) {
      var P = ZbvPlace, F = P.frame, unit = F[1] / h;
      var shortest = function(lo, back, want) {
        for (var d = 0; d <= 6; ++d) {
          var ten = Math.pow(10, d), v = Math.ceil(lo * ten - 1e-7) / ten;
          if (back(v) === want) return v;
        }
        return lo + unit / 2;
      };
      return [shortest(F[0] / 2 + (pixel[0] - w / 2) * unit, function(v) { return P.column(v, w, h); },
                       pixel[0]),
              shortest(pixel[1] * unit, function(v) { return P.row(v, h); }, pixel[1])];
    },

    // A position as a link writes it ("180,167"), and read back; null where malformed.
    write: function(position) {
      return position.map(function(v) { return String(Math.round(v * 1e6) / 1e6); }).join(',');
    },
    read: function(text) {
      var p = /^(-?\d{1,7}(?:\.\d{1,6})?),(-?\d{1,7}(?:\.\d{1,6})?)$/.exec(text || '');
      return p ? [+p[1], +p[2]] : null;
    },
  },
});
