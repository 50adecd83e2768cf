// SPDX-License-Identifier: MIT
// The page around the picture: the keyboard (keys typed anywhere reach the viewer), the key
// buttons, the line that says what the GL state is after each frame and what it shows, the
// address's fragment that names what the page shows (the keys, the pixel picked and the
// step), and full screen. Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZBVPage__deps: ['$ZBVFragment', '$ZBV_INSPECT'],
  $ZBVPage: {
    // OpenGL's names for what the keys switch.
    GL_LIGHTING: 0x0B50,
    GL_DEPTH_TEST: 0x0B71,
    GL_LIGHT0: 0x4000,
    lights: 8,
    // Colour names of a light's diffuse colour as three bits (red 4, green 2, blue 1).
    colours: ['black', 'blue', 'green', 'cyan', 'red', 'magenta', 'yellow', 'white'],

    // The key buttons: key, group and the value each sets; groups in the order the
    // fragment lists them, with their keys ('12', '34', '567').
    buttons: [],
    groups: [],
    // The state at start-up ({ depth, lighting, on: the lights on, by number }), and what
    // the last frame showed.
    startUpLights: null,
    shownState: null,
    // The keys that give the state the last frame showed, from start-up.
    shownKeys: '',
    addressTimer: 0,

    // The lights on (numbers, 0 to 7) as GL reports them.
    lightsOn: function() {
      var on = [];
      for (var i = 0; i < ZBVPage.lights; ++i) {
        if (_zbv_page_enabled(ZBVPage.GL_LIGHT0 + i)) on.push(i);
      }
      return on;
    },

    // The light group's value: the colour of the one light on, else 'none' or 'several'.
    lightValue: function(on) {
      if (on.length === 0) return 'none';
      if (on.length > 1) return 'several';
      return ZBVPage.colours[_zbv_page_light_colour(ZBVPage.GL_LIGHT0 + on[0])];
    },

    // The state as the GL reports it now: { depth, lighting, light, lightNames }.
    read: function() {
      var on = ZBVPage.lightsOn();
      return {
        depth: _zbv_page_enabled(ZBVPage.GL_DEPTH_TEST) ? 'on' : 'off',
        lighting: _zbv_page_enabled(ZBVPage.GL_LIGHTING) ? 'on' : 'off',
        light: ZBVPage.lightValue(on),
        lightNames: on.map(function(i) { return ZBVPage.lightValue([i]); }),
      };
    },

    // The start-up state, read from the GL state that is now (for the lights' colours) and
    // then (for which were on).
    startUp: function() {
      var now = ZBVPage.read(), at = ZBVPage.startUpLights;
      return {depth: at.depth, lighting: at.lighting, light: ZBVPage.lightValue(at.on),
              lightNames: now.lightNames};
    },

    // The key that sets this value of this group, or ''.
    keyFor: function(group, value) {
      for (var i = 0; i < ZBVPage.buttons.length; ++i) {
        var b = ZBVPage.buttons[i];
        if (b.group === group && b.value === value) return b.key;
      }
      return '';
    },

    // The shortest keys that give this state from start-up: a key a group, where it differs.
    keysFromStartUp: function(state) {
      var start = ZBVPage.startUp(), keys = '';
      ZBVPage.groups.forEach(function(g) {
        if (state[g.name] !== start[g.name]) keys += ZBVPage.keyFor(g.name, state[g.name]);
      });
      return keys;
    },

    // What the address names, shown: the state its keys give, reached from whatever state is
    // now by typing a key for each group (the fragment's, or the start-up value's), and the
    // pixel and the step. What is missing or malformed gives the start-up state, no pixel and
    // the whole frame; the next frame writes the address anew in its canonical form.
    applyAddress: function(fromStartUp) {
      var pairs = ZBVFragment.read(), value = ZBVFragment.get(pairs, 'keys');
      var keys = value === null ? [] : ZBVFragment.keys(value, ZBVPage.groups.map(
        function(g) { return g.keys; })) || [];
      if (!fromStartUp) {
        var start = ZBVPage.startUp();
        keys = ZBVPage.groups.map(function(g) {
          for (var i = 0; i < keys.length; ++i) {
            if (g.keys.indexOf(keys[i]) >= 0) return keys[i];
          }
          return ZBVPage.keyFor(g.name, start[g.name]);
        });
      }
      var step = /^[0-4]$/.exec(ZBVFragment.get(pairs, 'step') || '');
      ZBV_INSPECT.choose(ZBVFragment.pixel(ZBVFragment.get(pairs, 'pixel')), step ? +step[0] : 4);
      keys.forEach(function(k) {
        if (k) ZBV.key(k.charCodeAt(0));
      });
    },

    // The address as it names what is shown, unless it holds an edit not yet taken in: that
    // one wins, and is shown instead.
    writeAddress: function() {
      clearTimeout(ZBVPage.addressTimer);
      if (ZBVFragment.edited()) return ZBVPage.applyAddress(false);
      var I = ZBV_INSPECT;
      ZBVFragment.replace(ZBVFragment.write(location.hash, [['keys', ZBVPage.shownKeys],
        ['pixel', I.pixel ? I.pixel.join(',') : ''], ['step', I.step >= 0 ? String(I.step) : '']]));
    },

    // After each frame: the pixel picked checked against the frame's size, the address
    // rewritten where it does not name what is shown; the state line, the explanation and the
    // pressed buttons, changed only when the state has (so that the live region speaks only
    // then).
    shown: function() {
      var state = ZBVPage.read(), key = JSON.stringify(state);
      ZBV_INSPECT.frameShown(ZBV.width, ZBV.height);
      ZBVPage.shownKeys = ZBVPage.keysFromStartUp(state);
      ZBVPage.writeAddress();
      if (key === ZBVPage.shownState) return;
      ZBVPage.shownState = key;
      document.getElementById('state').textContent = ZBVPage.describe(state);
      ZBVPage.explain(state);
      ZBVPage.buttons.forEach(function(b) {
        b.element.setAttribute('aria-pressed', String(state[b.group] === b.value));
      });
    },

    describe: function(state) {
      var names = state.lightNames;
      var lights = names.length === 0 ? 'no light' : names.length === 1 ? names[0] + ' light'
        : names.slice(0, -1).join(', ') + ' and ' + names[names.length - 1] + ' lights';
      return 'Depth test ' + state.depth + ', lighting ' + state.lighting + ', ' + lights + '.';
    },

    // Shows the sentences that say what to notice in this state. They all stand in the
    // page, on top of each other, so that the page keeps its layout when they change: the
    // depth test's, then lighting's or, with lighting on, the light's ('other' for a light
    // of another colour, none, or several).
    explain: function(state) {
      var lit = state.lighting === 'on';
      var shown = {depth: state.depth, lighting: lit ? '' : 'off', light: lit ? state.light : ''};
      var any = false;
      document.querySelectorAll('[data-explains]').forEach(function(p) {
        var what = p.getAttribute('data-explains').split(' ');
        var on = shown[what[0]] === what[1];
        any = any || (on && what[0] === 'light');
        p.classList.toggle('shown', on);
      });
      if (lit && !any) {
        document.querySelector('[data-explains="light other"]').classList.add('shown');
      }
    },

    // Something keeps the picture from being drawn: the page says so instead.
    trouble: function(kind, detail) {
      document.body.setAttribute('data-trouble', kind);
      var why = document.getElementById('gl-failed-why');
      if (why) why.textContent = detail;
    },

    // Keys typed anywhere on the page reach the viewer, except Tab (it moves the focus),
    // Enter and Space on a control (they activate it) and what is typed into a text field.
    onKey: function(e) {
      if (e.defaultPrevented || e.key === 'Tab') return;
      var t = e.target;
      if (t && t.nodeType === 1) {
        // Text fields keep what is typed; a choice (the frame's steps) passes keys on.
        var choice = t.tagName === 'INPUT' && /^(radio|checkbox)$/.test(t.type);
        if (t.isContentEditable || (/^(INPUT|TEXTAREA|SELECT)$/.test(t.tagName) && !choice)) return;
        var control = t !== ZBV.canvas && t !== document.body && t !== document.documentElement;
        if (control && (e.key === 'Enter' || e.key === ' ')) return;
      }
      var key = ZBVPage.keyByte(e);
      if (key < 0) return;
      e.preventDefault();
      ZBV.key(key);
    },

    // The byte a key press types, as GLUT hands it on; -1 for keys that type nothing and
    // for shortcuts, which stay the browser's.
    keyByte: function(e) {
      var altGraph = e.getModifierState && e.getModifierState('AltGraph');
      if (e.isComposing || (!altGraph && (e.ctrlKey || e.altKey || e.metaKey))) return -1;
      var named = {Escape: 27, Enter: 13, Backspace: 8, Delete: 127};
      if (Object.prototype.hasOwnProperty.call(named, e.key)) return named[e.key];
      if (e.key.length !== 1) return -1;
      var c = e.key.charCodeAt(0);
      return c >= 32 && c < 256 ? c : -1;
    },

    // Called once the window is open, before the viewer's main has set its state up.
    open: function(canvas) {
      document.querySelectorAll('[data-key]').forEach(function(element) {
        var b = {key: element.getAttribute('data-key'), group: element.getAttribute('data-group'),
                 value: element.getAttribute('data-value'), element: element};
        ZBVPage.buttons.push(b);
        var g = ZBVPage.groups.filter(function(x) { return x.name === b.group; })[0];
        if (!g) ZBVPage.groups.push(g = {name: b.group, keys: ''});
        g.keys += b.key;
        element.addEventListener('click', function() { ZBV.key(b.key.charCodeAt(0)); });
      });
      document.addEventListener('keydown', ZBVPage.onKey);
      var full = document.getElementById('full-screen'), frame = canvas.parentNode;
      if (full && document.fullscreenEnabled && frame.requestFullscreen) {
        full.hidden = false;
        full.addEventListener('click', function() {
          frame.requestFullscreen().catch(function() {});
        });
      }
      // The pixel and the step the user picks go into the address soon after the last change:
      // browsers make each replaceState cost a few milliseconds.
      ZBV_INSPECT.start(canvas);
      ZBV_INSPECT.changed = function() {
        clearTimeout(ZBVPage.addressTimer);
        ZBVPage.addressTimer = setTimeout(ZBVPage.writeAddress, 100);
      };
      // Once main has returned: the start-up state, then what the address names, and the
      // first frame. An edited address is shown at once, unless a frame took it in first.
      queueMicrotask(function() {
        ZBVPage.startUpLights = {depth: ZBVPage.read().depth, lighting: ZBVPage.read().lighting,
                                 on: ZBVPage.lightsOn()};
        ZBVPage.applyAddress(true);
        ZBV.reshape();
        window.addEventListener('hashchange', function() {
          if (ZBVFragment.edited()) ZBVPage.applyAddress(false);
        });
        // The keyboard is the viewer's from the start, unless the page is embedded in
        // another. Only now: focusing lays the page out, which the first frame need not wait for.
        if (window.self === window.top) canvas.focus({preventScroll: true});
      });
    },
  },
});
