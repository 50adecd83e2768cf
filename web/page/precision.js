// SPDX-License-Identifier: MIT
// A depth buffer's precision at one stored value, for the lab: what a perspective projection
// with planes near and far makes of distances ahead of the eye (window z =
// far (t - near) / (t (far - near))), and what the buffer's codes make of window z. Pure
// arithmetic; linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvPrecision__deps: ['$ZbvDepthCodes', '$ZbvGlDepth'],
  $ZbvPrecision: {
    // The distance ahead a window z stands for, and the window z of a distance.
    distance: function(z, near, far) {
      return far * near / (far - z * (far - near));
    },
    depth: function(t, near, far) {
      return far * (t - near) / (t * (far - near));
    },

    // Everything the lab says of a code of this format with these planes: its depth, its code
    // in hexadecimal (a float's bits), the distances it stands for (from, to: where the
    // neighbouring codes take over), one step there in world units and against the distance,
    // the share of all codes that lie nearer, and log2(far / near), the bits the manual's rule
    // of thumb says are lost.
    at: function(code, format, near, far) {
      var P = ZbvPrecision, C = ZbvDepthCodes, d = C.depthOf(code, format), t = P.distance(d, near, far);
      var below = C.depthOf(Math.max(code - 1, 0), format), above = C.depthOf(code + 1, format);
      var ahead = function(z) { return P.distance(Math.min(Math.max(z, 0), 1), near, far); };
      var step = format === '32f' ? above - d : 1 / ZbvGlDepth.codes(format);
      return {depth: d, distance: t, hex: code.toString(16).toUpperCase(),
              from: ahead((below + d) / 2), to: ahead((d + above) / 2),
              // dt/dz = t^2 (far - near) / (far near), times one code's step in z.
              step: t * t * (far - near) / (far * near) * step,
              relative: t * (far - near) / (far * near) * step,
              nearer: code / C.code(1, format), bitsLost: Math.log2(far / near)};
    },
  },
});
