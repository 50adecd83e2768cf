// SPDX-License-Identifier: MIT
// What the page shows of the program's state after each frame: one call into the program
// (page_state.cpp), whose fields are found by the names its list gives them (the build
// writes that list into $ZbvFacts), turned into the words the page uses for each switch.
// Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvState__deps: ['$ZbvFacts'],
  $ZbvState: {
    // Colour names of a light's diffuse colour as three bits (red 4, green 2, blue 1).
    colours: ['black', 'blue', 'green', 'cyan', 'red', 'magenta', 'yellow', 'white'],
    lights: 8,
    // The lights on at start-up (the program's init has turned them on; its first frame
    // gives them their colours).
    startUpOn: 0,

    // The program's numbers, by name.
    numbers: function() {
      var values = HEAPF64.subarray(_zbv_page_state() >> 3), out = {};
      ZbvFacts.pageState.forEach(function(name, i) { out[name] = values[i]; });
      return out;
    },

    // The light group's value for these lights on (a bit each): the colour of the one light
    // on, else 'none' or 'several'; and each light's colour name.
    lightValue: function(on, colourBits) {
      var names = [];
      for (var i = 0; i < ZbvState.lights; ++i) {
        if (on & (1 << i)) names.push(ZbvState.colours[(colourBits >> (3 * i)) & 7]);
      }
      return {value: names.length === 1 ? names[0] : names.length ? 'several' : 'none',
              names: names};
    },

    // The state in the page's words: {depth, lighting: 'on' or 'off', light: its value,
    // lightNames}, with the program's numbers (n) beside them.
    describe: function(n) {
      var light = ZbvState.lightValue(n.lightsOn, n.lightColours);
      return {depth: n.depthTest ? 'on' : 'off', lighting: n.lighting ? 'on' : 'off',
              light: light.value, lightNames: light.names, n: n};
    },

    read: function() {
      return ZbvState.describe(ZbvState.numbers());
    },

    // The start-up state, as it would read now: its switches, and the lights on then in the
    // colours they have now.
    startUp: function(now, at) {
      return {depth: at.depth, lighting: at.lighting,
              light: ZbvState.lightValue(ZbvState.startUpOn, now.n.lightColours).value};
    },
  },
});
