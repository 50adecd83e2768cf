// SPDX-License-Identifier: MIT
// A depth buffer's precision, for the lab: what a perspective projection with planes near and
// far makes of distances t ahead of the eye, window z = far (t - near) / (t (far - near)),
// which is linear in 1 / t; and what a buffer's codes make of window z. All in double
// precision: depth 0 is the near plane and depth 1 the far plane, exactly. Pure arithmetic;
// linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvPrecision__deps: ['$ZbvGlDepth'],
  $ZbvPrecision: {
    // The distance ahead a window z stands for, and the window z of a distance.
    distance: function(z, near, far) {
      if (!(z > 0)) return near;
      if (z >= 1) return far;
      return far * near / (near + (1 - z) * (far - near));
    },
    depth: function(t, near, far) {
      if (t <= near) return 0;
      if (t >= far) return 1;
      return far * (t - near) / (t * (far - near));
    },
    // How far beyond the near plane a window z stands, without losing the small ones to the
    // subtraction: near z (far - near) / (near + (1 - z) (far - near)).
    beyondNear: function(z, near, far) {
      if (!(z > 0)) return 0;
      return near * Math.min(z, 1) * (far - near) / (near + (1 - Math.min(z, 1)) * (far - near));
    },

    // The depths a code of a format stands for: those the buffer rounds to it, from halfway
    // to the code below to halfway to the code above (clamped to [0, 1]).
    depths: function(code, format) {
      var D = ZbvGlDepth, d = D.depthOf(code, format);
      var below = code > 0 ? D.depthOf(code - 1, format) : d;
      var above = code < D.largest(format) ? D.depthOf(code + 1, format) : d;
      return {depth: d, below: below, above: above, from: (below + d) / 2, to: (d + above) / 2};
    },

    // Everything the lab says of a code of a format with these planes: its depth and the
    // distance it stands for; its code in hexadecimal (a float's bits); the distances it
    // stands for (from, to) and that range's width, also against the distance; how much
    // nearer and farther the codes beside it stand (0 where there is none); the share of all
    // codes that lie nearer; and log2(far / near).
    at: function(code, format, near, far) {
      var P = ZbvPrecision, s = P.depths(code, format);
      var t = P.distance(s.depth, near, far);
      var from = P.distance(s.from, near, far), to = P.distance(s.to, near, far);
      return {depth: s.depth, distance: t, hex: code.toString(16).toUpperCase(),
              from: from, to: to, width: to - from, relative: t > 0 ? (to - from) / t : 0,
              nearer: t - P.distance(s.below, near, far), farther: P.distance(s.above, near, far) - t,
              share: code / ZbvGlDepth.largest(format), bitsLost: Math.log2(far / near)};
    },

    // How many decimals tell a range's ends apart: the page writes both with as many, in the
    // panel and under the graph alike.
    places: function(width) {
      return Math.min(12, Math.max(3, Math.ceil(-Math.log10(Math.max(width, 1e-12))) + 1));
    },

    // The distances within which half, and 90 %, of a format's codes lie, beyond the near
    // plane: for the integer codes, those of the depths 0.5 and 0.9; for a float's, the
    // depths of its codes half and nine tenths of the way to the code of 1.
    shares: function(format, near, far) {
      var P = ZbvPrecision, D = ZbvGlDepth, one = D.largest(format);
      var z = function(share) {
        return D.isFloat(format) ? D.depthOf(Math.floor(share * one), format) : share;
      };
      return {half: P.beyondNear(z(0.5), near, far), ninety: P.beyondNear(z(0.9), near, far),
              twice: 2 * near};
    },
  },
});
