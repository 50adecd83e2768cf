// SPDX-License-Identifier: MIT
// The page around the picture: the key buttons and the keyboard, the line that says what the
// GL state is after each frame and what it shows, the address's fragment that names what the
// page shows (the keys, the pixel picked and the step), full screen, and what the page says
// when it cannot draw. It hears of GLUT's window through its hooks. Linked into the page with
// --js-library.
mergeInto(LibraryManager.library, {
  $ZbvPage__deps: ['$ZbvGlut', '$ZbvFragment', '$ZbvKeys', '$ZbvState', '$ZbvViews', '$ZbvLab',
                   '$ZbvLabControls', '$ZbvWords', '$ZbvToolbar'],
  $ZbvPage: {
    // The switches at start-up ({depth, lighting}), what the last frame showed (in words,
    // and as the keys that give it from start-up), and the address's pending write.
    startUpSwitches: null,
    shownState: null,
    shownKeys: '',
    addressTimer: 0,


    // What the address names, shown: the state its keys give, reached from whatever state is
    // now by typing a key for each switch (from start-up, only those that differ), and the
    // pixel and the step. What is missing or malformed gives the start-up state, no pixel and
    // the whole frame; the next frame writes the address anew in its canonical form.
    applyAddress: function(fromStartUp) {
      var pairs = ZbvFragment.read(), now = ZbvState.read();
      var startUp = ZbvState.startUp(now, ZbvPage.startUpSwitches);
      var state = ZbvKeys.named(ZbvFragment.get(pairs, 'keys'), startUp);
      var step = /^[0-4]$/.exec(ZbvFragment.get(pairs, 'step') || '');
      var lab = ZbvLab.fromAddress(pairs);
      ZbvLab.apply(lab.lab);
      ZbvLabControls.refuse(lab.refused);
      ZbvToolbar.apply(ZbvToolbar.fromAddress(pairs));
      ZbvViews.choose(ZbvFragment.pixel(ZbvFragment.get(pairs, 'pixel')), step ? +step[0] : 4);
      ZbvKeys.groups.forEach(function(g) {
        var key = fromStartUp && state[g.name] === startUp[g.name] ? ''
          : ZbvKeys.keyFor(g.name, state[g.name]);
        if (key) ZbvGlut.key(key.charCodeAt(0));
      });
    },

    // The address as it names what is shown, unless it holds an edit not yet taken in: that
    // one wins, and is shown instead.
    writeAddress: function() {
      clearTimeout(ZbvPage.addressTimer);
      if (ZbvFragment.edited()) return ZbvPage.applyAddress(false);
      var V = ZbvViews;
      ZbvFragment.replace(ZbvFragment.write(location.hash, [['keys', ZbvPage.shownKeys]].concat(
        ZbvLab.toAddress(), [['pixel', V.pixel ? V.pixel.join(',') : ''],
                             ['step', V.step >= 0 ? String(V.step) : '']], ZbvToolbar.toAddress())));
    },

    // After each frame: the views told of it, the address rewritten where it does not name
    // what is shown; the state line, the explanation and the pressed buttons, changed only
    // when the state has (so that the live region speaks only then).
    shown: function() {
      var state = ZbvState.read();
      ZbvLab.asked(state.n.askedNear, state.n.askedFar);
      ZbvLabControls.show();
      ZbvViews.frameShown(ZbvGlut.width, ZbvGlut.height, state.n);
      ZbvPage.shownKeys = ZbvKeys.fromStartUp(state, ZbvState.startUp(state, ZbvPage.startUpSwitches));
      ZbvPage.writeAddress();
      ZbvPage.say(state);
    },

    // The state line, the explanation and the pressed buttons, changed only when the state
    // has (so that the live region speaks only then).
    say: function(state) {
      var key = JSON.stringify([state.depth, state.lighting, state.light, state.lightNames]);
      if (key === ZbvPage.shownState) return;
      ZbvPage.shownState = key;
      document.getElementById('state').textContent = ZbvPage.describe(state);
      ZbvPage.explain(state);
      ZbvKeys.buttons.forEach(function(b) {
        b.element.setAttribute('aria-pressed', String(state[b.group] === b.value));
      });
    },

    describe: function(state) {
      var W = ZbvWords, names = state.lightNames.map(function(n) { return W.t('colour.' + n); });
      var lights = names.length === 0 ? W.t('state.noLight') : names.length === 1
        ? W.t('state.light', {colour: names[0]})
        : W.t('state.lights', {colours: new Intl.ListFormat(W.lang).format(names)});
      return W.t('state', {depth: W.t('state.depth.' + state.depth),
                           lighting: W.t('state.lighting.' + state.lighting), lights: lights});
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

    // The page's words changed language: every sentence said again in it.
    wordsChanged: function() {
      ZbvPage.shownState = null;
      ZbvPage.say(ZbvState.read());
      ZbvLabControls.show();
      ZbvLabControls.refuse(ZbvLabControls.refused || []);
      ZbvViews.frameRead();
      ZbvViews.graph();
    },

    // Something keeps the picture from being drawn: the page says so instead, in its words.
    trouble: function(trouble) {
      var W = ZbvWords;
      W.apply();
      document.body.setAttribute('data-trouble', trouble.kind);
      if (trouble.kind !== 'gl-failed') return;
      document.getElementById('gl-failed').textContent = W.t('glFailed', {why: W.t(
        'glFailed.' + trouble.reason, {log: trouble.log || W.t('glFailed.noLog')})});
    },

    // Keys typed anywhere on the page reach the viewer, except Tab (it moves the focus) and
    // those the focused element takes.
    onKey: function(e) {
      if (e.defaultPrevented || e.key === 'Tab' || ZbvKeys.elementTakes(e, ZbvGlut.canvas)) return;
      var key = ZbvKeys.byte(e);
      if (key < 0) return;
      e.preventDefault();
      ZbvGlut.key(key);
    },

    // Called once the window is open, before the viewer's main has set its state up.
    open: function(canvas) {
      ZbvKeys.collect(Array.from(document.querySelectorAll('[data-key]'), function(element) {
        var b = {key: element.getAttribute('data-key'), group: element.getAttribute('data-group'),
                 value: element.getAttribute('data-value'), element: element};
        element.addEventListener('click', function() { ZbvGlut.key(b.key.charCodeAt(0)); });
        return b;
      }));
      document.addEventListener('keydown', ZbvPage.onKey);
      ZbvToolbar.start(canvas);
      // A saved picture's name: the keys, the lab and the step, where they are not start-up's.
      ZbvToolbar.nameParts = function() {
        var parts = [['keys', ZbvPage.shownKeys]].concat(ZbvLab.toAddress(),
          [['step', ZbvViews.step >= 0 ? String(ZbvViews.step) : '']]);
        return parts.filter(function(p) { return p[1] !== ''; });
      };
      ZbvWords.changed = ZbvPage.wordsChanged;
      // The pixel and the step the user picks go into the address soon after the last change:
      // browsers make each replaceState cost a few milliseconds.
      ZbvViews.start(canvas);
      ZbvViews.changed = ZbvLab.changed = ZbvToolbar.changed = function() {
        clearTimeout(ZbvPage.addressTimer);
        ZbvPage.addressTimer = setTimeout(ZbvPage.writeAddress, 100);
      };
      ZbvLabControls.start();
      ZbvLabControls.redraw = _zbv_glut_repaint;
      ZbvLabControls.repaint = ZbvViews.frameRead;
      // Once main has returned: the start-up state, then what the address names, and the
      // first frame. An edited address is shown at once, unless a frame took it in first.
      queueMicrotask(function() {
        var startUp = ZbvState.read();
        ZbvPage.startUpSwitches = {depth: startUp.depth, lighting: startUp.lighting};
        ZbvState.startUpOn = startUp.n.lightsOn;
        ZbvPage.applyAddress(true);
        ZbvGlut.reshape(false);
        // The page's words, once the first frame is drawn: the first paint shows them.
        ZbvToolbar.words();
        window.addEventListener('hashchange', function() {
          if (ZbvFragment.edited()) ZbvPage.applyAddress(false);
        });
        // The keyboard is the viewer's from the start, unless the page is embedded in
        // another. Only now: focusing lays the page out, which the first frame need not wait for.
        if (window.self === window.top) canvas.focus({preventScroll: true});
      });
    },
  },

  // Before main runs (install.cpp): the page hears of GLUT's window from the first.
  zbv_page_install__deps: ['$ZbvPage'],
  zbv_page_install: function() {
    ZbvGlut.hooks.opened = ZbvPage.open;
    ZbvGlut.hooks.shown = ZbvPage.shown;
    ZbvGlut.hooks.trouble = ZbvPage.trouble;
  },
});
