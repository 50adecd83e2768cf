// SPDX-License-Identifier: MIT
// DEFLATE (RFC 1951) undone, as the page needs it before anything else runs: its
// WebAssembly and its words are kept compressed in the page, and the first frame cannot wait
// for the browser's own streams, which answer later. Raw DEFLATE, no zlib or gzip header.
// Plain script: the page's shell runs it before the program (assemble_page.py).
var zbvInflate = (function() {
  // Lengths and distances: their base values and extra bits, by symbol.
  var lengthBase = [3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31, 35, 43, 51, 59, 67,
    83, 99, 115, 131, 163, 195, 227, 258];
  var lengthExtra = [0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5,
    5, 5, 0];
  var distanceBase = [1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129, 193, 257, 385, 513,
    769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577];
  // The order code lengths of the code-length code come in.
  var order = [16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15];

  // A canonical Huffman code from its lengths: {counts by length, symbols sorted by code}.
  function code(lengths) {
    var counts = new Uint16Array(16), offsets = new Uint16Array(16), i;
    for (i = 0; i < lengths.length; ++i) counts[lengths[i]] += 1;
    counts[0] = 0;
    for (i = 1; i < 16; ++i) offsets[i] = offsets[i - 1] + counts[i - 1];
    var symbols = new Uint16Array(lengths.length);
    for (i = 0; i < lengths.length; ++i) {
      if (lengths[i]) symbols[offsets[lengths[i]]++] = i;
    }
    return {counts: counts, symbols: symbols};
  }

  return function(input, sizeHint) {
    var out = new Uint8Array(sizeHint || input.length * 4), written = 0, at = 0, bit = 0;
    var need = function(n) {
      if (written + n <= out.length) return;
      var grown = new Uint8Array(Math.max(out.length * 2, written + n));
      grown.set(out.subarray(0, written));
      out = grown;
    };
    var bits = function(n) {
      var v = 0;
      for (var i = 0; i < n; ++i) {
        if (at >= input.length) throw new Error('deflate stream ends early');
        v |= ((input[at] >> bit) & 1) << i;
        if (++bit === 8) { bit = 0; ++at; }
      }
      return v;
    };
    // One symbol of a code, read a bit at a time, the code's first bit first.
    var decode = function(h) {
      var first = 0, index = 0, value = 0;
      for (var len = 1; len < 16; ++len) {
        value |= bits(1);
        var count = h.counts[len];
        if (value - first < count) return h.symbols[index + value - first];
        index += count;
        first = (first + count) << 1;
        value <<= 1;
      }
      throw new Error('deflate stream has a bad code');
    };
    var fixedLiterals = null, fixedDistances = null, last = 0;
    while (!last) {
      last = bits(1);
      var type = bits(2), literals, distances, i;
      if (type === 0) {
        if (bit) { bit = 0; ++at; }
        var n = input[at] | (input[at + 1] << 8);
        at += 4;
        need(n);
        out.set(input.subarray(at, at + n), written);
        written += n;
        at += n;
        continue;
      }
      if (type === 1) {
        if (!fixedLiterals) {
          var l = new Uint8Array(288);
          for (i = 0; i < 288; ++i) l[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
          fixedLiterals = code(l);
          fixedDistances = code(new Uint8Array(30).fill(5));
        }
        literals = fixedLiterals;
        distances = fixedDistances;
      } else if (type === 2) {
        var nLiterals = bits(5) + 257, nDistances = bits(5) + 1, nLengths = bits(4) + 4;
        var lengths = new Uint8Array(19);
        for (i = 0; i < nLengths; ++i) lengths[order[i]] = bits(3);
        var lengthCode = code(lengths), both = new Uint8Array(nLiterals + nDistances);
        for (i = 0; i < both.length;) {
          var s = decode(lengthCode), repeat, value = 0;
          if (s < 16) { both[i++] = s; continue; }
          if (s === 16) { value = both[i - 1]; repeat = 3 + bits(2); }
          else repeat = s === 17 ? 3 + bits(3) : 11 + bits(7);
          while (repeat--) both[i++] = value;
        }
        literals = code(both.subarray(0, nLiterals));
        distances = code(both.subarray(nLiterals));
      } else {
        throw new Error('deflate stream has a bad block');
      }
      for (;;) {
        var symbol = decode(literals);
        if (symbol < 256) {
          need(1);
          out[written++] = symbol;
        } else if (symbol === 256) {
          break;
        } else {
          symbol -= 257;
          var length = lengthBase[symbol] + bits(lengthExtra[symbol]);
          var d = decode(distances);
          var distance = distanceBase[d] + bits(d < 4 ? 0 : (d >> 1) - 1);
          need(length);
          for (i = 0; i < length; ++i, ++written) out[written] = out[written - distance];
        }
      }
    }
    return out.subarray(0, written);
  };
})();
