// SPDX-License-Identifier: MIT
// The lab's controls: a slider (logarithmic) and a field for each plane, the depth buffer's
// format, the depth view's mapping, the z-fighting map, the program's values, the presets; the
// sentence that says what the lab draws with beside what the program asks for, and the one
// that says what was refused. Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvLabControls__deps: ['$ZbvLab', '$ZbvGlDepth', '$ZbvDepthView', '$ZbvZfight', '$ZbvWords'],
  $ZbvLabControls: {
    element: function(id) { return document.getElementById(id); },
    // A plane's value as the language writes it, every digit it has.
    plane: function(x) {
      return ZbvWords.number(x, 0, Math.min(String(x).replace(/[^0-9]/g, '').replace(/^0+/, '').length || 1, 21));
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
          C.set(which, L.fromSlider(which, +slider.value), String(L.fromSlider(which, +slider.value)));
        });
        // Typed as the language writes numbers: a decimal comma is a decimal point.
        field.addEventListener('change', function() {
          C.set(which, null, field.value.trim().replace(/^(\d*),(\d+)$/, '$1.$2'));
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
        ZbvZfight.on = el('zfight').checked;
        el('zfight-map').hidden = !ZbvZfight.on;
        C.redraw();
      });
      el('lab-program').addEventListener('click', function() {
        C.change(Object.assign({}, L.program));
      });
      document.querySelectorAll('[data-preset]').forEach(function(button) {
        button.addEventListener('click', function() {
          var p = button.dataset.preset.split(',');
          var near = p[0] ? +p[0] : L.program.near, far = p[1] ? +p[1] : L.program.far;
          C.change({near: near, far: far, format: p[2] || L.program.format});
        });
      });
    },

    // A plane set from a control (its value, or the text typed); refused with a sentence
    // where it is out of its limits or would put far at or before near.
    set: function(which, value, text) {
      var C = ZbvLabControls, L = ZbvLab, lab = Object.assign({}, L.lab);
      if (value === null) {
        var p = L.plane(which, text);
        if (p.why) return C.refuse([Object.assign({name: which, value: text}, p)]);
        value = p.value;
      }
      lab[which] = value;
      if (!(lab.far > lab.near)) {
        return C.refuse([{name: which, value: String(value), why: 'order', near: L.lab.near,
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
      var W = ZbvWords, value = r.value.slice(0, 24);
      if (r.why === 'range') {
        return W.t('refused.range', {plane: W.t('plane.' + r.name), value: value,
                                     lo: ZbvLabControls.plane(r.lo), hi: ZbvLabControls.plane(r.hi)});
      }
      if (r.why === 'order') {
        return r.name === 'near' ? W.t('refused.nearOrder', {value: value, far: ZbvLabControls.plane(r.far)})
          : W.t('refused.farOrder', {value: value, near: ZbvLabControls.plane(r.near)});
      }
      return W.t(r.why === 'webgl2' ? 'refused.webgl2' : 'refused.format', {value: value});
    },

    // The controls as the lab stands, and the sentence that says what it draws with.
    show: function() {
      var C = ZbvLabControls, L = ZbvLab, lab = L.lab, p = L.program, el = C.element;
      if (!el('lab')) return;
      ['near', 'far'].forEach(function(which) {
        el(which + '-slider').value = L.toSlider(which, lab[which]);
        el(which + '-slider').setAttribute('aria-valuetext', String(lab[which]));
        if (document.activeElement !== el(which) || el('lab-refused').textContent === '') {
          el(which).value = String(lab[which]);
        }
      });
      document.querySelectorAll('input[name="depth-format"]').forEach(function(radio) {
        radio.checked = radio.value === lab.format;
      });
      var W = ZbvWords, n = function(x) { return ZbvLabControls.plane(x); };
      var words = {near: n(p.near), far: n(p.far), labNear: n(lab.near), labFar: n(lab.far),
                   format: W.t('format.' + lab.format)};
      el('lab-planes').textContent = W.t(L.isProgram(lab) ? 'lab.program'
        : lab.format !== p.format ? 'lab.planesFormat' : 'lab.planes', words);
    },
  },
});
