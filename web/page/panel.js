// SPDX-License-Identifier: MIT
// The pixel's history in words: where it is, what it holds (in the lab's terms: its code, the
// distances it stands for, the codes beside it), and what each draw did there. Every code is
// the one this GPU stored, as the capture read it back, with the exact depth beside it where
// they differ. Filled by views.js from the history's records (history.js); where the colour
// comes from is lighting.js's. Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvPanel__deps: ['$ZbvCapture', '$ZbvGlDepth', '$ZbvPrecision', '$ZbvPlace', '$ZbvWords',
                    '$ZbvTable', '$ZbvLighting', '$ZbvFacts'],
  $ZbvPanel: {
    verdicts: ['no test', 'passed', 'failed'],

    // A draw of the frame as the words name it (their `draw` chooses by the facts' names).
    drawName: function(k) {
      var name = ZbvFacts.draws[k];
      return name ? name.replace(/^\d+-/, '') : 'other';
    },

    element: function(id) { return document.getElementById(id); },

    // No pixel picked (or none that can be shown): the invitation to pick one.
    clear: function() {
      ZbvPanel.element('pixel-none').hidden = false;
      ZbvPanel.element('pixel-facts').hidden = true;
    },

    // A share as a percentage, with as many decimals as it takes to tell it from 100.
    percent: function(share) {
      var places = share < 1 ? Math.min(8, Math.max(2, Math.ceil(-Math.log10(1 - share)))) : 2;
      return ZbvWords.number(100 * share, {digits: places});
    },

    // A depth as the panel writes it, and the distance it stands for.
    depth: function(z, format) {
      return ZbvWords.number(z, ZbvGlDepth.isFloat(format) && z < 0.5 ? {precision: 9} : {digits: 8});
    },
    distance: function(t) {
      return ZbvWords.number(t, {digits: 3});
    },

    // What the buffer keeps at the pixel, in the lab's terms: the value and its code, the
    // distances it stands for, the codes beside it, the share of codes nearer, and the rule
    // of the planes' ratio; for a float, what its steps are where the depths lie.
    stored: function(code, format, near, far) {
      var P = ZbvPanel, W = ZbvWords, D = ZbvGlDepth, at = ZbvPrecision.at(code, format, near, far);
      var f = D.isFloat(format), cleared = code === D.code(1, format);
      var n = function(x) { return W.number(x, {precision: 3}); };
      // The range's ends with as many decimals as it takes to tell them apart.
      var places = ZbvPrecision.places(at.width);
      var end = function(x) { return W.number(x, {digits: places}); };
      var lines = [W.t(f ? (cleared ? 'stored.floatCleared' : 'stored.float')
                         : (cleared ? 'stored.cleared' : 'stored.code'),
        {z: P.depth(at.depth, format), t: P.distance(at.distance), code: W.number(code),
         largest: W.number(D.largest(format)), hex: at.hex, bits: W.number(D.bits(format))}),
        W.t(f ? 'stands.float' : 'stands.code', {from: end(at.from), to: end(at.to), width: n(at.width),
          relative: W.number(100 * at.relative, {precision: 2})}),
        W.t(code === 0 ? 'beside.farther' : cleared ? 'beside.nearer' : 'beside',
            {nearer: n(at.nearer), farther: n(at.farther)}),
        W.t(f ? 'share.float' : 'share.code', {share: P.percent(at.share)}),
        W.t('rule', {bits: W.number(at.bitsLost, {digits: 1})})];
      if (f) lines.push(W.t('float.twice', {twice: W.number(2 * near, {all: true})}));
      return lines;
    },

    fill: function(h, pixel, views) {
      var P = ZbvPanel, T = ZbvTable, W = ZbvWords, el = P.element, D = ZbvGlDepth;
      var format = h.depthFloat ? '32f' : String(h.depthBits);
      el('pixel-none').hidden = true;
      el('pixel-facts').hidden = false;
      var at = views.position || pixel, same = ZbvPlace.frame[0] === views.width &&
        ZbvPlace.frame[1] === views.height, where = el('pixel-where');
      // The drawing buffer's pixel, as it is (the sentence may name the point in the frame).
      where.dataset.pixel = pixel.join(',');
      where.textContent = same
        ? W.t('where', {x: W.number(pixel[0]), y: W.number(pixel[1])})
        : W.t('where.scaled', {x: W.number(at[0], {all: true}), y: W.number(at[1], {all: true}),
          frame: W.t('size', {w: W.number(ZbvPlace.frame[0]), h: W.number(ZbvPlace.frame[1])}),
          bx: W.number(pixel[0]), by: W.number(pixel[1]),
          buffer: W.t('size', {w: W.number(views.width), h: W.number(views.height)})});
      var shown = ZbvCapture.colourAt(pixel[0], pixel[1]), colour = el('pixel-colour');
      colour.textContent = shown ? W.t('colour', {colour: T.colour(shown.map(function(c) {
        return c / 255;
      }))}) : W.t('colour.unknown');
      colour.dataset.rgb = shown ? shown.join(',') : '';
      // What the buffer holds: the GPU's code, else the history's own reckoning.
      var held = h.gpu && h.stored >= 0 ? h.stored : P.reckoned(h);
      var kept = el('pixel-depth');
      kept.dataset.depth = D.depthOf(held, format);
      kept.dataset.code = held;
      kept.dataset.gpu = h.gpu ? '1' : '0';
      var range = ZbvPrecision.at(held, format, h.near, h.far);
      ['distance', 'from', 'to', 'width', 'nearer', 'farther'].forEach(function(name) {
        kept.dataset[name] = range[name];
      });
      var lines = P.stored(held, format, h.near, h.far);
      lines.push(h.gpu ? W.t('gpu.own') : W.t(ZbvCapture.pixels() > ZbvCapture.historyPixels
        ? 'gpu.tooLarge' : 'gpu.notYet', {limit: W.number(ZbvCapture.historyPixels)}));
      kept.replaceChildren.apply(kept, lines.map(function(text) {
        var line = document.createElement('span');
        line.className = 'line';
        line.textContent = text;
        return line;
      }));
      var body = el('pixel-history').tBodies[0], rows = [];
      var row = function(name, data) {
        var tr = document.createElement('tr');
        T.cell(tr, name, null, true);
        Object.assign(tr.dataset, data || {});
        rows.push(tr);
        return tr;
      };
      var ahead = function(z) {
        return W.t('ahead', {z: P.depth(z, format),
                             t: P.distance(ZbvPrecision.distance(z, h.near, h.far))});
      };
      var cleared = T.rgb(h, 'clear');
      var clear = row(W.t('row.clear'), {draw: 'clear', rgb: T.bytes(cleared).join(','),
                                          distance: h.depthCleared ? h.far : ''});
      T.cell(clear, h.depthCleared ? W.t('row.clearDepth', {t: P.distance(h.far)}) : W.t('row.notCleared'));
      T.cell(clear, T.colour(cleared), cleared);
      T.cell(clear, W.t('row.cleared'));
      var writer = null, hex = function(k) { return k.toString(16).toUpperCase(); };
      h.draws.forEach(function(d, k) {
        var id = P.drawName(k), words = {draw: id, n: String(k + 1)};
        var name = W.t('draw', words), english = W.english('draw', words);
        if (!d.shown) {
          T.cell(row(name, {draw: english}), W.t('row.later')).colSpan = 3;
          return;
        }
        if (!d.fragments.length) {
          T.cell(row(name, {draw: english}), d.brought >= 0
            ? W.t('row.unseen', {hex: hex(d.brought)}) : W.t('row.misses')).colSpan = 3;
          return;
        }
        d.fragments.forEach(function(f, n) {
          var verdict = P.verdicts[f.verdict], rgb = T.rgb(f);
          var label = d.fragments.length > 1 ? W.t('row.fragment', {name: name, n: W.number(n + 1)}) : name;
          var tr = row(label, {draw: english, verdict: verdict, rgb: T.bytes(rgb).join(','),
                               depth: f.depth, code: f.code, exact: f.exactCode, before: f.before,
                               gpu: f.gpuCode ? '1' : '0'});
          var kind = D.isFloat(format) ? '.float' : '';
          T.cell(tr, f.gpuCode && f.code !== f.exactCode
            ? W.t('row.depth.gpu' + kind, {ahead: ahead(f.depth), exact: hex(f.exactCode), hex: hex(f.code)})
            : W.t('row.depth' + kind, {ahead: ahead(f.depth), hex: hex(f.code)}));
          T.cell(tr, T.colour(rgb), rgb);
          T.cell(tr, P.verdict(f, verdict, h));
          if (verdict !== 'failed') writer = {draw: d, id: id, n: k + 1, fragment: f};
        });
      });
      body.replaceChildren.apply(body, rows);
      ZbvLighting.explain(writer);
    },

    // What the buffer holds by the history's own codes, where the GPU's are not known.
    reckoned: function(h) {
      var held = ZbvGlDepth.code(1, h.depthFloat ? '32f' : String(h.depthBits));
      h.draws.forEach(function(d) { if (d.shown && d.depthTest) held = Math.min(held, d.after); });
      return held;
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
        return nearer > 0 ? W.t('verdict.sameNearer', {units: W.number(nearer, {precision: 2})})
          : W.t('verdict.same');
      }
      return W.t(verdict === 'passed' ? 'verdict.passed' : 'verdict.failed',
                 {codes: W.number(Math.abs(apart))});
    },
  },
});
