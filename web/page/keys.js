// SPDX-License-Identifier: MIT
// The keys: which key sets which value of which switch (the scene's facts say, which the build
// writes into $ZbvFacts and the page's key buttons), the keys that name a state, and the
// keyboard, whose keys typed anywhere on the page reach the viewer. Linked into the page with
// --js-library.
mergeInto(LibraryManager.library, {
  $ZbvKeys__deps: ['$ZbvFragment'],
  $ZbvKeys: {
    // {key, group, value} for each key; the groups in the order the address lists them,
    // with their keys ({name: 'depth', keys: '12'}).
    buttons: [],
    groups: [],

    // The keys of these buttons ({key, group, value} each).
    collect: function(buttons) {
      ZbvKeys.buttons = buttons;
      ZbvKeys.groups = [];
      buttons.forEach(function(b) {
        var g = ZbvKeys.groups.filter(function(x) { return x.name === b.group; })[0];
        if (!g) ZbvKeys.groups.push(g = {name: b.group, keys: ''});
        g.keys += b.key;
      });
    },

    // The key that sets this value of this group, or ''.
    keyFor: function(group, value) {
      var b = ZbvKeys.buttons.filter(function(x) { return x.group === group && x.value === value; });
      return b.length ? b[0].key : '';
    },

    // The shortest keys that give this state from the start-up one: a key a group where
    // they differ.
    fromStartUp: function(state, startUp) {
      return ZbvKeys.groups.map(function(g) {
        return state[g.name] === startUp[g.name] ? '' : ZbvKeys.keyFor(g.name, state[g.name]);
      }).join('');
    },

    // Whether a "keys" value is of the address's form: a key a group at most, in order.
    valid: function(value) {
      return ZbvFragment.keys(value, ZbvKeys.groups.map(function(g) { return g.keys; })) !== null;
    },

    // The state a "keys" value names: each group's value, the start-up one's where the value
    // has no key of that group; the start-up state where the value is malformed.
    named: function(value, startUp) {
      var keys = ZbvFragment.keys(value || '', ZbvKeys.groups.map(function(g) {
        return g.keys;
      })) || [];
      var state = {};
      ZbvKeys.groups.forEach(function(g) {
        state[g.name] = startUp[g.name];
        keys.forEach(function(k) {
          if (g.keys.indexOf(k) >= 0) {
            state[g.name] = ZbvKeys.buttons.filter(function(b) { return b.key === k; })[0].value;
          }
        });
      });
      return state;
    },

    // The byte a key press types, as GLUT hands it on; -1 for keys that type nothing and
    // for shortcuts, which stay the browser's.
    byte: function(e) {
      var altGraph = e.getModifierState && e.getModifierState('AltGraph');
      if (e.isComposing || (!altGraph && (e.ctrlKey || e.altKey || e.metaKey))) return -1;
      var named = {Escape: 27, Enter: 13, Backspace: 8, Delete: 127};
      if (Object.prototype.hasOwnProperty.call(named, e.key)) return named[e.key];
      if (e.key.length !== 1) return -1;
      var c = e.key.charCodeAt(0);
      return c >= 32 && c < 256 ? c : -1;
    },

    // Whether a key press on this element is the element's to take: what is typed into a
    // text field, and Enter and Space on a control (they activate it). A choice (the frame's
    // steps) passes keys on; so do the canvas and the page itself.
    elementTakes: function(e, canvas) {
      var t = e.target;
      if (!t || t.nodeType !== 1) return false;
      var choice = t.tagName === 'INPUT' && /^(radio|checkbox|range)$/.test(t.type);
      if (t.isContentEditable || (/^(INPUT|TEXTAREA|SELECT)$/.test(t.tagName) && !choice)) {
        return true;
      }
      var control = t !== canvas && t !== document.body && t !== document.documentElement;
      return control && (e.key === 'Enter' || e.key === ' ');
    },
  },
});
