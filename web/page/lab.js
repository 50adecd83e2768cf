// SPDX-License-Identifier: MIT
// The depth-precision lab: the near plane, the far plane and the depth buffer's format the
// picture is drawn with, in place of the program's own (the planes its reshape asks for, the
// canvas's 24 bits). Set from the address (near, far, depth), the controls and the presets;
// what cannot be taken is refused with a sentence, the rest applies. Linked into the page with
// --js-library.
mergeInto(LibraryManager.library, {
  $ZbvLab__deps: ['$ZbvGlDepth', '$ZbvFragment', '$ZbvNumbers'],
  $ZbvLab: {
    // The program's own (the planes as its reshape asks for them, once it has), and the lab's.
    program: {near: 0.1, far: 100, format: '24'},
    lab: {near: 0.1, far: 100, format: '24'},
    limits: {near: [0.0001, 10], far: [1, 100000]},
    // Called when the user changes the lab (the page writes it into the address).
    changed: function() {},

    // A plane's value, as a link writes it (a plain decimal number, as a program writes one)
    // or as a person writes it in the language `lang`: within its limits, else null, with why
    // ('range', 'ambiguous' with the two numbers it could be, or 'malformed').
    plane: function(which, text, lang) {
      var L = ZbvLab, lo = L.limits[which][0], hi = L.limits[which][1], v;
      var plain = /^\s*\+?(\d+\.?\d*|\.\d+)(e[+-]?\d{1,3})?\s*$/i.test(text) ? Number(text) : NaN;
      var typed = lang ? ZbvNumbers.read(text, lang) : {why: 'malformed'};
      if (typed.why === 'ambiguous') return {why: 'ambiguous', meanings: typed.meanings, lo: lo, hi: hi};
      if (!isNaN(plain) && typed.why === undefined && typed.value !== plain) {
        return {why: 'ambiguous', meanings: [plain, typed.value], lo: lo, hi: hi};
      }
      v = isNaN(plain) ? typed.value : plain;
      if (v === undefined) return {why: 'malformed', lo: lo, hi: hi};
      if (!(v >= lo && v <= hi)) return {why: 'range', lo: lo, hi: hi};
      return {value: v};
    },

    // The lab an address names, from the program's values, its numbers read as links and as
    // the language `lang` writes them: {lab, refused: [{name, value, why, ...}]}. Far must
    // stay beyond near; where a link breaks that, its far is refused.
    fromAddress: function(pairs, lang) {
      var L = ZbvLab, lab = Object.assign({}, L.program), refused = [];
      ['near', 'far'].forEach(function(name) {
        var text = ZbvFragment.get(pairs, name);
        if (text === null) return;
        var p = L.plane(name, text, lang);
        if (p.why) refused.push(Object.assign({name: name, value: text}, p));
        else lab[name] = p.value;
      });
      if (!(lab.far > lab.near)) {
        refused.push({name: 'far', value: String(lab.far), why: 'order', near: lab.near});
        lab.far = L.program.far > lab.near ? L.program.far : L.limits.far[1];
      }
      var depth = ZbvFragment.get(pairs, 'depth');
      if (depth !== null) {
        if (ZbvGlDepth.formats.indexOf(depth) < 0) refused.push({name: 'depth', value: depth, why: 'format'});
        else if (ZbvGlDepth.needs(depth)) refused.push({name: 'depth', value: depth, why: 'webgl2'});
        else lab.format = depth;
      }
      return {lab: lab, refused: refused};
    },

    // A preset's lab (its near, far and format, each '' for the program's).
    preset: function(p) {
      var L = ZbvLab;
      return {near: p[0] ? +p[0] : L.program.near, far: p[1] ? +p[1] : L.program.far,
              format: p[2] || L.program.format};
    },

    // The address's parameters for a lab (the lab's own by default): each only where it
    // differs from the program's value, numbers in their shortest form.
    toAddress: function(lab) {
      var L = ZbvLab, p = L.program;
      lab = lab || L.lab;
      return [['near', lab.near !== p.near ? String(lab.near) : ''],
              ['far', lab.far !== p.far ? String(lab.far) : ''],
              ['depth', lab.format !== p.format ? lab.format : '']];
    },

    // Whether the lab draws as the program asks: the canvas's own buffer, the planes asked.
    isProgram: function(lab) {
      var p = ZbvLab.program;
      return lab.near === p.near && lab.far === p.far && lab.format === p.format;
    },

    // Draws with this lab from the next frame on (the program's reshape is called again so
    // that its projection takes the planes).
    apply: function(lab) {
      var L = ZbvLab, program = L.isProgram(lab);
      L.lab = lab;
      ZbvGlDepth.use(program ? null : lab.format);
      var same = lab.near === L.program.near && lab.far === L.program.far;
      _zbv_lab_planes(same ? 0 : lab.near, same ? 0 : lab.far);
    },

    // The program's planes as its reshape asked for them: the lab's values are measured
    // against these from now on.
    asked: function(near, far) {
      var L = ZbvLab, p = L.program;
      if (!(near > 0 && far > near) || (near === p.near && far === p.far)) return;
      var wasProgram = L.isProgram(L.lab);
      L.program = {near: near, far: far, format: p.format};
      if (wasProgram) L.lab = Object.assign({}, L.program);
    },

    // A value for a logarithmic slider's position (0 to 1000) between lo and hi, to two
    // significant digits; and the position of a value.
    fromSlider: function(which, position) {
      var lo = ZbvLab.limits[which][0], hi = ZbvLab.limits[which][1];
      var v = Number((lo * Math.pow(hi / lo, position / 1000)).toPrecision(2));
      return Math.min(Math.max(v, lo), hi);
    },
    toSlider: function(which, value) {
      var lo = ZbvLab.limits[which][0], hi = ZbvLab.limits[which][1];
      return Math.round(1000 * Math.log(value / lo) / Math.log(hi / lo));
    },
  },
});
