// SPDX-License-Identifier: MIT
// The pixel's history in words: where it is, what it holds, what each draw did there, and
// where a lit colour comes from. Filled by views.js from the history's records (history.js);
// linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvPanel__deps: ['$ZbvDepth', '$ZbvPrecision'],
  $ZbvPanel: {
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

    // A share as a percentage, with as many decimals as it takes to tell it from 100 %.
    percent: function(share) {
      var places = share < 1 ? Math.min(8, Math.max(2, Math.ceil(-Math.log10(1 - share)))) : 2;
      return (100 * share).toFixed(places) + ' %';
    },

    // A whole number with its thousands set apart.
    whole: function(n) { return Math.round(n).toLocaleString('en'); },

    // What the buffer keeps at the pixel, in the lab's terms: the value and its code, the
    // distances it stands for, one step there, the codes nearer, and the planes' ratio.
    stored: function(code, format, near, far) {
      var P = ZbvPanel, at = ZbvPrecision.at(code, format, near, far), f = format === '32f';
      var units = function(x) { return x.toPrecision(3) + ' units'; };
      return [
        'Depth stored: ' + at.depth.toFixed(8) + ', ' + at.distance.toFixed(3) + ' units ahead; ' +
          (f ? 'a 32-bit float, its bits 0x' + at.hex
             : 'code ' + P.whole(code) + ' of ' + P.whole(ZbvDepthCodes.largest[format]) +
               ' (0x' + at.hex + ') of a ' + format + '-bit buffer') +
          (at.depth === 1 ? ' (the cleared value).' : '.'),
        'This ' + (f ? 'value' : 'code') + ' stands for every distance from ' +
          at.from.toFixed(4) + ' to ' + at.to.toFixed(4) + ' units ahead; one step here is ' +
          units(at.step) + ', ' + (100 * at.relative).toPrecision(2) + ' % of the distance. ' +
          P.percent(at.nearer) + ' of all ' + (f ? 'values' : 'codes') +
          ' lie nearer than this pixel.',
        'log2(far / near) = ' + at.bitsLost.toFixed(2) + ': by the manual\u2019s rule of thumb, ' +
          'about that many bits of the buffer\u2019s precision are lost to the ratio of the planes.'];
    },

    fill: function(h, pixel, stored, names) {
      var P = ZbvPanel, el = function(id) { return document.getElementById(id); };
      var format = h.depthFloat ? '32f' : String(h.depthBits);
      var shown = ZbvDepth.shown(pixel[0], pixel[1]);
      var ahead = function(z) { return ZbvPrecision.distance(z, h.near, h.far); };
      var depth = function(z) { return z.toFixed(8) + ', ' + ahead(z).toFixed(3) + ' units ahead'; };
      el('pixel-none').hidden = true;
      el('pixel-facts').hidden = false;
      el('pixel-where').textContent = 'Pixel (' + pixel.join(', ') +
          ') in OpenGL\u2019s window coordinates, counted from the bottom left';
      var colour = el('pixel-colour');
      colour.textContent = 'Colour: ' + shown.join(', ') + ' of 255 (' +
          shown.map(function(c) { return (c / 255).toFixed(3); }).join(', ') + ')';
      colour.dataset.rgb = shown.join(',');
      var kept = el('pixel-depth'), words = P.stored(stored, format, h.near, h.far);
      kept.dataset.depth = ZbvDepth.depthOf(stored);
      kept.dataset.code = stored;
      kept.dataset.step = ZbvPrecision.at(stored, format, h.near, h.far).step;
      kept.replaceChildren.apply(kept, words.map(function(text) {
        var line = document.createElement('span');
        line.className = 'line';
        line.textContent = text;
        return line;
      }));
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
                        depth: f.depth, code: f.code, before: f.before});
          P.cell(tr, depth(f.depth) + ', ' + (format === '32f' ? 'bits 0x' : 'code 0x') +
                 f.code.toString(16).toUpperCase());
          P.cell(tr, P.colour(rgb), rgb);
          P.cell(tr, P.verdict(f, verdict, ahead));
          if (verdict !== 'failed') writer = {draw: d, name: name, fragment: f};
        });
      });
      body.replaceChildren.apply(body, rows);
      P.lighting(writer);
    },

    // The depth test's verdict as the codes decided it, and where the distances themselves
    // would have decided otherwise.
    verdict: function(f, verdict, ahead) {
      if (verdict === 'no test') return 'no test: colour written, depth not';
      var apart = f.code - f.before, codes = Math.abs(apart) === 1 ? ' code' : ' codes';
      if (apart === 0) {
        var nearer = ahead(f.beforeDepth) - ahead(f.depth);
        return 'same code: failed, not nearer' + (nearer > 0 ? '; yet it is ' +
            nearer.toPrecision(2) + ' units nearer than what was stored: the buffer cannot ' +
            'tell them apart' : '');
      }
      return verdict === 'passed'
        ? 'passed: ' + ZbvPanel.whole(-apart) + codes + ' nearer, colour and depth written'
        : 'failed: ' + ZbvPanel.whole(apart) + codes + ' farther, discarded';
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
