// SPDX-License-Identifier: MIT
// What the panel's tables are made of: a record's colours as the page writes them (0-255,
// and 0-1 in the language's numbers) and the cells that show them. Linked into the page with
// --js-library.
mergeInto(LibraryManager.library, {
  $ZbvTable__deps: ['$ZbvWords'],
  $ZbvTable: {
    // A record's colour, or another triple of its fields ('ambient' for ambientRed, ...).
    rgb: function(r, prefix) {
      if (!prefix) return [r.red, r.green, r.blue];
      return [r[prefix + 'Red'], r[prefix + 'Green'], r[prefix + 'Blue']];
    },
    byte: function(c) { return Math.round(Math.min(Math.max(c, 0), 1) * 255); },
    bytes: function(rgb) { return rgb.map(ZbvTable.byte); },
    // Three numbers as a list in the language's words: "0.600, 0.600, 0.600".
    three: function(v, digits) {
      var W = ZbvWords;
      var d = {digits: digits === undefined ? 3 : digits};
      return W.t('triple', {a: W.number(v[0], d), b: W.number(v[1], d), c: W.number(v[2], d)});
    },
    // A colour as 0-255 and as fractions.
    colour: function(rgb) {
      var b = ZbvTable.bytes(rgb);
      return ZbvWords.t('rgb', {bytes: ZbvTable.three(b, 0), fractions: ZbvTable.three(rgb)});
    },

    // A table cell, or a header cell for the row's name; a colour cell shows a swatch.
    cell: function(row, text, rgb, header) {
      var td = document.createElement(header ? 'th' : 'td');
      if (header) td.scope = 'row';
      if (rgb) {
        var swatch = document.createElement('span');
        swatch.className = 'swatch';
        swatch.style.background = 'rgb(' + ZbvTable.bytes(rgb).join(',') + ')';
        td.appendChild(swatch);
      }
      td.appendChild(document.createTextNode(text));
      row.appendChild(td);
      return td;
    },
  },
});
