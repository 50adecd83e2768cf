// SPDX-License-Identifier: MIT
// The pixel's history in words: where it is, what it holds (in the lab's terms: its code, the
// distances it stands for, one step there), and what each draw did there. Filled by views.js
// from the history's records (history.js); where the colour comes from is lighting.js's.
// Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvPanel__deps: ['$ZbvDepth', '$ZbvDepthCodes', '$ZbvGlDepth', '$ZbvPrecision', '$ZbvWords',
                    '$ZbvLighting'],
  $ZbvPanel: {
    // A record's colour, or another triple of its fields ('ambient' for ambientRed, ...).
    rgb: function(r, prefix) {
      if (!prefix) return [r.red, r.green, r.blue];
      return [r[prefix + 'Red'], r[prefix + 'Green'], r[prefix + 'Blue']];
    },
    verdicts: ['no test', 'passed', 'failed'],

    byte: function(c) { return Math.round(Math.min(Math.max(c, 0), 1) * 255); },
    bytes: function(rgb) { return rgb.map(ZbvPanel.byte).join(', '); },
    three: function(v) {
      return v.map(function(c) { return ZbvWords.number(c, 3); }).join(ZbvWords.t('separator'));
    },
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

    // A share as a percentage, with as many decimals as it takes to tell it from 100.
    percent: function(share) {
      var places = share < 1 ? Math.min(8, Math.max(2, Math.ceil(-Math.log10(1 - share)))) : 2;
      return ZbvWords.number(100 * share, places);
    },

    // What the buffer keeps at the pixel, in the lab's terms: the value and its code, the
    // distances it stands for, one step there, the codes nearer, and the planes' ratio.
    stored: function(code, format, near, far) {
      var P = ZbvPanel, W = ZbvWords, at = ZbvPrecision.at(code, format, near, far);
      var f = format === '32f';
      return [
        W.t('stored', {value: W.t('ahead', {z: W.number(at.depth, 8), t: W.number(at.distance, 3)}),
          kept: f ? W.t('stored.float', {hex: at.hex})
            : W.t('stored.code', {code: W.number(code), largest: W.number(ZbvGlDepth.codes(format)),
                                  hex: at.hex, bits: format}),
          cleared: at.depth === 1 ? W.t('stored.cleared') : ''}),
        W.t(f ? 'stands.float' : 'stands.code', {from: W.number(at.from, 4), to: W.number(at.to, 4),
          step: W.number(at.step, 0, 3), relative: W.number(100 * at.relative, 0, 2),
          nearer: P.percent(at.nearer)}),
        W.t('rule', {bits: W.number(at.bitsLost, 2)})];
    },

    fill: function(h, pixel, stored) {
      var P = ZbvPanel, W = ZbvWords, el = function(id) { return document.getElementById(id); };
      var format = h.depthFloat ? '32f' : String(h.depthBits);
      var shown = ZbvDepth.shown(pixel[0], pixel[1]);
      var depth = function(z) {
        return W.t('ahead', {z: W.number(z, 8), t: W.number(ZbvPrecision.distance(z, h.near, h.far), 3)});
      };
      el('pixel-none').hidden = true;
      el('pixel-facts').hidden = false;
      el('pixel-where').textContent = W.t('where', {x: String(pixel[0]), y: String(pixel[1])});
      var colour = el('pixel-colour');
      colour.textContent = W.t('colour', {bytes: shown.join(', '),
        fractions: P.three(shown.map(function(c) { return c / 255; }))});
      colour.dataset.rgb = shown.join(',');
      var kept = el('pixel-depth');
      kept.dataset.depth = ZbvDepth.depthOf(stored);
      kept.dataset.code = stored;
      kept.dataset.step = ZbvPrecision.at(stored, format, h.near, h.far).step;
      kept.replaceChildren.apply(kept, P.stored(stored, format, h.near, h.far).map(function(text) {
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
      var clear = row(W.t('row.clear'), {draw: 'clear', rgb: cleared.map(P.byte).join(',')});
      P.cell(clear, h.depthCleared ? depth(1) : W.t('row.notCleared'));
      P.cell(clear, P.colour(cleared), cleared);
      P.cell(clear, W.t('row.cleared'));
      var writer = null;
      h.draws.forEach(function(d, k) {
        var key = k < 4 ? 'draw.' + (k + 1) : '', name = key ? W.t(key) : W.t('draw.n', {n: k + 1});
        var id = key ? W.english[key] : 'draw ' + (k + 1);
        if (k >= Math.min(h.shown, h.draws.length)) {
          P.cell(row(name, {draw: id}), W.t('row.later')).colSpan = 3;
          return;
        }
        if (!d.fragments.length) {
          P.cell(row(name, {draw: id}), W.t('row.misses')).colSpan = 3;
          return;
        }
        d.fragments.forEach(function(f, n) {
          var verdict = P.verdicts[f.verdict], rgb = P.rgb(f);
          var tr = row(name + (d.fragments.length > 1 ? ' (' + (n + 1) + ')' : ''),
                       {draw: id, verdict: verdict, rgb: rgb.map(P.byte).join(','),
                        depth: f.depth, code: f.code, before: f.before});
          P.cell(tr, W.t(format === '32f' ? 'row.depth.float' : 'row.depth.code',
                         {ahead: depth(f.depth), hex: f.code.toString(16).toUpperCase()}));
          P.cell(tr, P.colour(rgb), rgb);
          P.cell(tr, P.verdict(f, verdict, h));
          if (verdict !== 'failed') writer = {draw: d, name: name, key: key, fragment: f};
        });
      });
      body.replaceChildren.apply(body, rows);
      ZbvLighting.explain(writer);
    },

    // The depth test's verdict as the codes decided it, and where the distances themselves
    // would have decided otherwise.
    verdict: function(f, verdict, h) {
      var W = ZbvWords;
      if (verdict === 'no test') return W.t('verdict.noTest');
      var apart = f.code - f.before;
      if (apart === 0) {
        var nearer = ZbvPrecision.distance(f.beforeDepth, h.near, h.far) -
                     ZbvPrecision.distance(f.depth, h.near, h.far);
        return nearer > 0 ? W.t('verdict.sameNearer', {units: W.number(nearer, 0, 2)})
          : W.t('verdict.same');
      }
      var one = Math.abs(apart) === 1, codes = W.number(Math.abs(apart));
      return verdict === 'passed' ? W.t(one ? 'verdict.passedOne' : 'verdict.passed', {codes: codes})
        : W.t(one ? 'verdict.failedOne' : 'verdict.failed', {codes: codes});
    },
  },
});
