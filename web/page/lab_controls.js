// SPDX-License-Identifier: MIT
// The lab's controls: a slider (logarithmic) and a field for each plane, the depth buffer's
// format, the depth view's mapping, the z-fighting map, the program's values, the presets; the
// sentence that says what the lab draws with beside what the program asks for (and where the
// planes leave nothing to draw, which plane does), and the one that says what was refused.
// Numbers are written and read as the page's language writes them. Linked into the page with
// --js-library.
mergeInto(LibraryManager.library, {
  $ZbvLabControls__deps: ['$ZbvLab', '$ZbvGlDepth', '$ZbvDepthView', '$ZbvViews', '$ZbvWords'],
  $ZbvLabControls: {
    element: function(id) { return document.getElementById(id); },
    refused: [],
    // A plane's value as the language writes it, every digit it has.
    plane: function(x) {
      return ZbvWords.number(x, {all: true});
    },
    // Called after a control changes what is drawn or shown: the page draws it again.
    redraw: function() {},
    repaint: function() {},

    start: function() {
      var C = ZbvLabControls, L = ZbvLab, el = C.element;
      if (!el('lab')) return;
      ['near', 'far'].forEach(function(which) {
        var slider = el(which + '-slider'), field = el(which);
        slider.addEventListener('input', function() {
          C.set(which, L.fromSlider(which, +slider.value));
        });
        // Typed as the language writes numbers.
        field.addEventListener('change', function() {
          C.set(which, null, field.value);
        });
      });
      document.querySelectorAll('input[name="depth-format"]').forEach(function(radio) {
        var why = ZbvGlDepth.needs(radio.value);
        if (why) {
          radio.disabled = true;
          el('format-why').hidden = false;
        }
        radio.addEventListener('change', function() {
          C.change(Object.assign({}, L.lab, {format: radio.value}));
        });
      });
      document.querySelectorAll('input[name="depth-mapping"]').forEach(function(radio) {
        radio.addEventListener('change', function() {
          ZbvDepthView.mapping = radio.value;
          C.repaint();
        });
      });
      el('zfight').addEventListener('change', function() {
        ZbvViews.showZfight(el('zfight').checked);
      });
      el('lab-program').addEventListener('click', function() {
        C.change(Object.assign({}, L.program));
      });
      document.querySelectorAll('[data-preset]').forEach(function(button) {
        button.addEventListener('click', function() {
          C.change(L.preset(button.dataset.preset.split(',')));
        });
      });
    },

    // A plane set from a control (its value, or the text typed); refused with a sentence
    // where it is not a number, is out of its limits or would put far at or before near.
    set: function(which, value, text) {
      var C = ZbvLabControls, L = ZbvLab, lab = Object.assign({}, L.lab);
      if (value === null) {
        var p = L.plane(which, text, ZbvWords.lang);
        if (p.why) return C.refuse([Object.assign({name: which, value: text, typed: true}, p)]);
        value = p.value;
      }
      lab[which] = value;
      if (!(lab.far > lab.near)) {
        return C.refuse([{name: which, value: C.plane(value), why: 'order', near: L.lab.near,
                          far: L.lab.far}]);
      }
      C.change(lab);
    },

    change: function(lab) {
      var C = ZbvLabControls;
      C.refuse([]);
      ZbvLab.apply(lab);
      C.show();
      ZbvLab.changed();
    },

    // The sentence naming what was refused, or none.
    refuse: function(refused) {
      ZbvLabControls.refused = refused;
      var box = ZbvLabControls.element('lab-refused');
      if (box) box.textContent = refused.map(ZbvLabControls.why).join(' ');
      ZbvLabControls.show();
    },

    why: function(r) {
      var W = ZbvWords, C = ZbvLabControls, value = String(r.value).slice(0, 24);
      var words = {value: value, lo: r.lo !== undefined ? C.plane(r.lo) : '',
                   hi: r.hi !== undefined ? C.plane(r.hi) : ''};
      if (r.why === 'order') {
        return r.name === 'near' ? W.t('refused.near.order', {value: value, far: C.plane(r.far)})
          : W.t('refused.far.order', {value: value, near: C.plane(r.near)});
      }
      if (r.why === 'ambiguous') {
        words.a = C.plane(r.meanings[0]);
        words.b = C.plane(r.meanings[1]);
      }
      if (r.name === 'depth') return W.t('refused.depth.' + r.why, words);
      return W.t('refused.' + r.name + '.' + r.why, words);
    },

    // The controls as the lab stands, and the sentence that says what it draws with; where
    // the planes left nothing to draw, which plane did.
    show: function() {
      var C = ZbvLabControls, L = ZbvLab, lab = L.lab, p = L.program, el = C.element;
      if (!el('lab')) return;
      var W = ZbvWords, n = C.plane;
      ['near', 'far'].forEach(function(which) {
        var slider = el(which + '-slider'), field = el(which);
        slider.value = L.toSlider(which, lab[which]);
        slider.setAttribute('aria-valuetext', n(lab[which]));
        field.setAttribute('aria-label', W.t('lab.' + which + 'Typed',
          {lo: n(L.limits[which][0]), hi: n(L.limits[which][1])}));
        if (document.activeElement !== field || el('lab-refused').textContent === '') {
          field.value = n(lab[which]);
        }
      });
      document.querySelectorAll('input[name="depth-format"]').forEach(function(radio) {
        radio.checked = radio.value === lab.format;
      });
      var words = {near: n(p.near), far: n(p.far), labNear: n(lab.near), labFar: n(lab.far),
                   format: lab.format};
      var text = W.t(L.isProgram(lab) ? 'lab.program'
        : lab.format !== p.format ? 'lab.planesFormat' : 'lab.planes', words);
      if (ZbvViews.empty) {
        text = W.t('sentences', {a: text, b: W.t(ZbvViews.empty, {near: n(lab.near), far: n(lab.far)})});
      }
      el('lab-planes').textContent = text;
    },
  },
});
