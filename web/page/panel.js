// SPDX-License-Identifier: MIT
// The pixel's history in words: where it is, what it holds, what each draw did there, and
// where a lit colour comes from. Filled by views.js from the history's records (history.js);
// linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvPanel__deps: ['$ZbvDepth'],
  $ZbvPanel: {
    // Window z as the distance ahead of the eye it stands for, with these planes.
    distance: function(z, near, far) {
      return 2 * far * near / (far + near - (2 * z - 1) * (far - near));
    },

    // A record's colour, or another triple of its fields ('ambient' for ambientRed, ...).
    rgb: function(r, prefix) {
      if (!prefix) return [r.red, r.green, r.blue];
      return [r[prefix + 'Red'], r[prefix + 'Green'], r[prefix + 'Blue']];
    },
    verdicts: ['no test', 'passed', 'failed'],

    byte: function(c) { return Math.round(Math.min(Math.max(c, 0), 1) * 255); },
    bytes: function(rgb) { return rgb.map(ZbvPanel.byte).join(', '); },
    three: function(v) { return v.map(function(c) { return c.toFixed(3); }).join(', '); },
    colour: function(rgb) { return ZbvPanel.bytes(rgb) + ' (' + ZbvPanel.three(rgb) + ')'; },

    // A table cell, or a header cell for the row's name; a colour cell shows a swatch.
    cell: function(row, text, rgb, header) {
      var td = document.createElement(header ? 'th' : 'td');
      if (header) td.scope = 'row';
      if (rgb) {
        var swatch = document.createElement('span');
        swatch.className = 'swatch';
        swatch.style.background = 'rgb(' + ZbvPanel.bytes(rgb) + ')';
        td.appendChild(swatch);
      }
      td.appendChild(document.createTextNode(text));
      row.appendChild(td);
      return td;
    },

    // No pixel picked (or none that can be shown): the invitation to pick one.
    clear: function() {
      document.getElementById('pixel-none').hidden = false;
      document.getElementById('pixel-facts').hidden = true;
    },

    fill: function(h, pixel, stored, names) {
      var P = ZbvPanel, el = function(id) { return document.getElementById(id); };
      var shown = ZbvDepth.shown(pixel[0], pixel[1]);
      var ahead = function(z) { return P.distance(z, h.near, h.far); };
      var depth = function(z) { return z.toFixed(8) + ', ' + ahead(z).toFixed(3) + ' units ahead'; };
      el('pixel-none').hidden = true;
      el('pixel-facts').hidden = false;
      el('pixel-where').textContent = 'Pixel (' + pixel.join(', ') +
          ') in OpenGL\u2019s window coordinates, counted from the bottom left';
      var colour = el('pixel-colour');
      colour.textContent = 'Colour: ' + shown.join(', ') + ' of 255 (' +
          shown.map(function(c) { return (c / 255).toFixed(3); }).join(', ') + ')';
      colour.dataset.rgb = shown.join(',');
      var step = 1 / 0xffffff, precision = ahead(stored) - ahead(Math.max(stored - step, 0));
      var kept = el('pixel-depth');
      kept.dataset.depth = stored;
      kept.textContent = 'Depth stored: ' + depth(stored) + (stored === 1 ? ' (the cleared value)' : '') +
          '. Here two neighbouring stored values (one step of a 24-bit buffer) lie ' +
          precision.toPrecision(2) + ' units apart.';
      var body = el('pixel-history').tBodies[0], rows = [];
      var row = function(name, data) {
        var tr = document.createElement('tr');
        P.cell(tr, name, null, true);
        Object.assign(tr.dataset, data || {});
        rows.push(tr);
        return tr;
      };
      var cleared = P.rgb(h, 'clear');
      var clear = row('clear', {draw: 'clear', rgb: cleared.map(P.byte).join(',')});
      P.cell(clear, h.depthCleared ? depth(1) : 'depth not cleared');
      P.cell(clear, P.colour(cleared), cleared);
      P.cell(clear, 'everything cleared');
      var writer = null;
      h.draws.forEach(function(d, k) {
        var name = names[k] || 'draw ' + (k + 1);
        if (k >= Math.min(h.shown, h.draws.length)) {
          P.cell(row(name, {draw: name}), 'not drawn yet at this step').colSpan = 3;
          return;
        }
        if (!d.fragments.length) {
          P.cell(row(name, {draw: name}), 'does not cover this pixel').colSpan = 3;
          return;
        }
        d.fragments.forEach(function(f, n) {
          var verdict = P.verdicts[f.verdict], rgb = P.rgb(f);
          var tr = row(name + (d.fragments.length > 1 ? ' (' + (n + 1) + ')' : ''),
                       {draw: name, verdict: verdict, rgb: rgb.map(P.byte).join(','),
                        depth: f.depth});
          P.cell(tr, depth(f.depth));
          P.cell(tr, P.colour(rgb), rgb);
          P.cell(tr, {passed: 'passed: nearer, colour and depth written',
                      failed: 'failed: not nearer, discarded',
                      'no test': 'no test: colour written, depth not'}[verdict]);
          if (verdict !== 'failed') writer = {draw: d, name: name, fragment: f};
        });
      });
      body.replaceChildren.apply(body, rows);
      P.lighting(writer);
    },

    // Where the colour written last comes from.
    lighting: function(writer) {
      var P = ZbvPanel, box = document.getElementById('pixel-lighting'), parts = [];
      var para = function(text) {
        var p = document.createElement('p');
        p.textContent = text;
        parts.push(p);
        return p;
      };
      if (!writer) {
        para('Nothing drawn here: the pixel keeps the clear colour.');
      } else if (!writer.draw.lighting) {
        para('Lighting off: the ' + writer.name + ' has the current colour as it stands, ' +
             P.colour(P.rgb(writer.fragment)) + '.');
      } else {
        var f = writer.fragment, result = [0, 0, 0];
        para('Lit, as fixed-function OpenGL lights it: at each vertex of the ' + writer.name +
             '\u2019s triangle here, material \u00d7 (global ambient 0.2 + light ambient) + ' +
             'material \u00d7 light diffuse \u00d7 max(0, n\u00b7l), each channel clamped to 1; ' +
             'then interpolated with the pixel\u2019s weights.');
        var table = document.createElement('table'), head = document.createElement('tr');
        ['Vertex', 'Weight', 'Ambient part', 'n\u00b7l', 'Diffuse part', 'Colour'].forEach(function(t) {
          var th = document.createElement('th');
          th.scope = 'col';
          th.textContent = t;
          head.appendChild(th);
        });
        table.appendChild(head);
        f.vertices.forEach(function(v, i) {
          var ambient = P.rgb(v, 'ambient'), diffuse = P.rgb(v, 'diffuse');
          var specular = P.rgb(v, 'specular'), weight = f['weight' + i];
          var tr = document.createElement('tr'), sum = [0, 1, 2].map(function(k) {
            return Math.min(1, ambient[k] + diffuse[k] + specular[k]);
          });
          for (var k = 0; k < 3; ++k) result[k] += weight * sum[k];
          P.cell(tr, String(i + 1), null, true);
          P.cell(tr, weight.toFixed(4));
          P.cell(tr, P.three(ambient));
          P.cell(tr, v.ndotl.toFixed(4));
          P.cell(tr, P.three(diffuse));
          P.cell(tr, P.three(sum), sum);
          table.appendChild(tr);
        });
        parts.push(table);
        para('Result: ' + P.colour(result)).dataset.rgb = result.map(P.byte).join(',');
      }
      box.replaceChildren.apply(box, parts);
    },
  },
});
