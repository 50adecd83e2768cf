// SPDX-License-Identifier: MIT
// What the page runs first, before its program: the program's script and WebAssembly and the
// page's English words are kept in the page compressed (raw DEFLATE, RFC 1951, in base 85),
// for the page to stay small; this inflates them at once, in the page's own script (the
// browser's own decompression answers only later), and starts the program once the page has
// been laid out and painted. Codes are read through tables indexed by the next bits, so that a symbol takes
// one look-up. The assembly puts this file in the page as it is (not linked with the program):
// ZbvInflate is the page's, for the program's page layer too.
var ZbvInflate = {
  // The lengths and distances' bases and extra bits, and the order code lengths come in.
  lengths: [3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31, 35, 43, 51, 59, 67, 83, 99,
            115, 131, 163, 195, 227, 258],
  lengthBits: [0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0],
  distances: [1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129, 193, 257, 385, 513, 769, 1025,
              1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577],
  distanceBits: [0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11,
                 12, 12, 13, 13],
  order: [16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15],

  // The look-up table of a canonical Huffman code with these code lengths: for each value of
  // the next `bits` bits (read lowest first), the symbol and its length, as symbol << 4 | len.
  table: function(lengths) {
    var max = 0, i, count = [], next = [], code = 0;
    for (i = 0; i < lengths.length; ++i) max = Math.max(max, lengths[i]);
    for (i = 0; i <= max; ++i) count[i] = 0;
    for (i = 0; i < lengths.length; ++i) count[lengths[i]] += 1;
    count[0] = 0;
    for (i = 1; i <= max; ++i) {
      code = (code + count[i - 1]) << 1;
      next[i] = code;
    }
    var table = new Int32Array(1 << max);
    for (i = 0; i < lengths.length; ++i) {
      var len = lengths[i];
      if (!len) continue;
      // The code, its bits reversed (the stream gives its first bit lowest).
      var c = next[len]++, reversed = 0;
      for (var b = 0; b < len; ++b) reversed |= ((c >> b) & 1) << (len - 1 - b);
      for (var at = reversed; at < table.length; at += 1 << len) table[at] = (i << 4) | len;
    }
    return {entries: table, bits: max};
  },

  // The data inflated into a buffer of `size` bytes (the size it is known to have).
  inflate: function(data, size) {
    var I = ZbvInflate, out = new Uint8Array(size), at = 0, pos = 0, held = 0, have = 0;
    var bits = function(n) {
      while (have < n) {
        held |= data[pos++] << have;
        have += 8;
      }
      var v = held & ((1 << n) - 1);
      held >>>= n;
      have -= n;
      return v;
    };
    var symbol = function(t) {
      while (have < t.bits && pos < data.length) {
        held |= data[pos++] << have;
        have += 8;
      }
      var e = t.entries[held & ((1 << t.bits) - 1)], len = e & 15;
      held >>>= len;
      have -= len;
      return e >> 4;
    };
    var fixed = null, last = 0;
    while (!last) {
      last = bits(1);
      var type = bits(2), lit, dist, i;
      if (type === 0) {
        held = have = 0;  // to the byte's end
        var n = data[pos] | (data[pos + 1] << 8);
        out.set(data.subarray(pos + 4, pos + 4 + n), at);
        pos += 4 + n;
        at += n;
        continue;
      }
      if (type === 1) {
        if (!fixed) {
          var l = [];
          for (i = 0; i < 288; ++i) l[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
          var d = [];
          for (i = 0; i < 30; ++i) d[i] = 5;
          fixed = [I.table(l), I.table(d)];
        }
        lit = fixed[0];
        dist = fixed[1];
      } else {
        var literals = bits(5) + 257, distances = bits(5) + 1, codes = bits(4) + 4, lengths = [];
        for (i = 0; i < 19; ++i) lengths[I.order[i]] = i < codes ? bits(3) : 0;
        var code = I.table(lengths), all = [];
        while (all.length < literals + distances) {
          var s = symbol(code);
          if (s < 16) all.push(s);
          else if (s === 16) for (var r = 3 + bits(2), p = all[all.length - 1]; r > 0; --r) all.push(p);
          else for (var z = s === 17 ? 3 + bits(3) : 11 + bits(7); z > 0; --z) all.push(0);
        }
        lit = I.table(all.slice(0, literals));
        dist = I.table(all.slice(literals));
      }
      for (;;) {
        var v = symbol(lit);
        if (v < 256) {
          out[at++] = v;
        } else if (v === 256) {
          break;
        } else {
          v -= 257;
          var length = I.lengths[v] + bits(I.lengthBits[v]), w = symbol(dist);
          var from = at - (I.distances[w] + bits(I.distanceBits[w]));
          for (var k = 0; k < length; ++k) out[at++] = out[from + k];
        }
      }
    }
    return out;
  },

  // Base 85 as the assembly writes it (RFC 1924's alphabet, ',' for '<'), as bytes: each five
  // characters four bytes, a last group of n + 1 characters n bytes. A sixteenth smaller than
  // base64, for a page that must stay small.
  dense: function(text) {
    var A = '0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz!#$%&()*+-;,=>?@^_`{|}~';
    var value = new Uint8Array(128), n = text.length, o = 0, i, k;
    for (i = 0; i < 85; ++i) value[A.charCodeAt(i)] = i;
    var out = new Uint8Array(Math.floor(n / 5) * 4 + Math.max(0, (n % 5) - 1));
    for (var at = 0; at < n; at += 5) {
      var v = 0, count = Math.min(4, n - at - 1);
      for (k = 0; k < 5; ++k) v = v * 85 + (at + k < n ? value[text.charCodeAt(at + k)] : 84);
      v >>>= 0;
      for (k = 0; k < count; ++k) out[o++] = (v >>> (24 - 8 * k)) & 255;
    }
    return out;
  },

  // The bytes an element of the page keeps: base 85 of raw DEFLATE, and their size inflated
  // (data-size).
  element: function(id) {
    var e = document.getElementById(id);
    return ZbvInflate.inflate(ZbvInflate.dense(e.textContent), +e.dataset.size);
  },
};
// The program, once the page has been painted (the program's work would hold that paint
// back; the window shows meanwhile, cleared), as the browser's paint timing tells; else, or
// where no paint comes (a page not shown, a frame out of sight), soon after the page is read.
// Its script, opened, is added to the page as a script of its own.
(function() {
  var started = false, run = function() {
    if (started) return;
    started = true;
    var script = document.createElement('script');
    script.src = URL.createObjectURL(new Blob([ZbvInflate.element('script')],
                                              {type: 'text/javascript'}));
    document.body.appendChild(script);
  };
  var types = window.PerformanceObserver && PerformanceObserver.supportedEntryTypes;
  if (types && types.indexOf('paint') >= 0) {
    new PerformanceObserver(function(entries, observer) {
      observer.disconnect();
      setTimeout(run, 0);
    }).observe({type: 'paint', buffered: true});
  }
  setTimeout(run, 300);
})();
