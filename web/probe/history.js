// SPDX-License-Identifier: MIT
// A pixel's history (pixel_history.cpp) as objects: the frame's record, its draws' records in
// `draws`, each with its fragments' records in `fragments`, each with its triangle's three
// vertex records in `vertices`. The fields are found by the names the C++ side lists, which
// the build writes into $ZbvHistoryLayout, so the layout is written there alone. Linked into
// the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvHistory__deps: ['$ZbvHistoryLayout'],
  $ZbvHistory: {

    // The records of the numbers `values` (an array-like of doubles) as objects.
    decode: function(values, layout) {
      var at = 0;
      var next = function(kind) {
        var record = {};
        layout[kind].forEach(function(name) { record[name] = values[at++]; });
        return record;
      };
      var frame = next('frame');
      frame.draws = Array.from({length: frame.draws}, function() {
        var draw = next('draw');
        draw.fragments = Array.from({length: draw.fragments}, function() {
          var fragment = next('fragment');
          fragment.vertices = [next('vertex'), next('vertex'), next('vertex')];
          return fragment;
        });
        return draw;
      });
      return frame;
    },

    // The history of pixel (x, y) of the frame last drawn, from the bottom left.
    at: function(x, y) {
      return ZbvHistory.decode(HEAPF64.subarray(_zbv_pixel_history(x, y) >> 3), ZbvHistoryLayout);
    },
  },
});
