// SPDX-License-Identifier: MIT
// The depth-precision lab: the near plane, the far plane and the depth buffer's format the
// picture is drawn with, in place of the program's own (the planes its reshape asks for, the
// canvas's 24 bits). Set from the address (near, far, depth), the controls and the presets;
// what cannot be taken is refused with a sentence, the rest applies. Linked into the page with
// --js-library.
mergeInto(LibraryManager.library, {
  $ZbvLab__deps: ['$ZbvGlDepth', '$ZbvFragment'],
  $ZbvLab: {
    // The program's own (the planes as its reshape asks for them, once it has), and the lab's.
    program: {near: 0.1, far: 100, format: '24'},
    lab: {near: 0.1, far: 100, format: '24'},
    limits: {near: [0.0001, 10], far: [1, 100000]},
    formats: ['16', '24', '32f'],
    // Called when the user changes the lab (the page writes it into the address).
    changed: function() {},

    // A plane's value as typed or linked: a plain decimal number within its limits; else
    // null, with why.
    plane: function(which, text) {
      var L = ZbvLab, lo = L.limits[which][0], hi = L.limits[which][1];
      var ok = text.length <= 24 && /^(\d+\.?\d*|\.\d+)(e[+-]?\d+)?$/i.test(text);
      var v = ok ? Number(text) : NaN;
      if (!(v >= lo && v <= hi)) return {why: 'range', lo: lo, hi: hi};
      return {value: v};
    },

    // The lab an address names, from the program's values: {lab, refused: [{name, value,
    // why, ...}]}. Far must stay beyond near; where a link breaks that, its far is refused.
    fromAddress: function(pairs) {
      var L = ZbvLab, lab = Object.assign({}, L.program), refused = [];
      ['near', 'far'].forEach(function(name) {
        var text = ZbvFragment.get(pairs, name);
        if (text === null) return;
        var p = L.plane(name, text);
        if (p.why) refused.push(Object.assign({name: name, value: text}, p));
        else lab[name] = p.value;
      });
      if (!(lab.far > lab.near)) {
        refused.push({name: 'far', value: String(lab.far), why: 'order', near: lab.near});
        lab.far = L.program.far > lab.near ? L.program.far : L.limits.far[1];
      }
      var depth = ZbvFragment.get(pairs, 'depth');
      if (depth !== null) {
        if (L.formats.indexOf(depth) < 0) refused.push({name: 'depth', value: depth, why: 'format'});
        else if (ZbvGlDepth.needs(depth)) refused.push({name: 'depth', value: depth, why: 'webgl2'});
        else lab.format = depth;
      }
      return {lab: lab, refused: refused};
    },

    // The address's parameters for the lab: each only where it differs from the program's
    // value, numbers in their shortest form.
    toAddress: function() {
      var L = ZbvLab, lab = L.lab, p = L.program;
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
      _zbv_probe_depth_format(lab.format === '32f' ? 32 : +lab.format, lab.format === '32f' ? 1 : 0);
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
