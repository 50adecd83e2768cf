// SPDX-License-Identifier: MIT
// The page around the picture: the key buttons and the keyboard, the line that says what the
// GL state is after each frame and what it shows, the address's fragment that names what the
// page shows (the keys, the pixel picked and the step), and what the page says when it cannot
// draw, or when the address asks for what it cannot show. It hears of GLUT's window through
// its hooks. Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvPage__deps: ['$ZbvGlut', '$ZbvFragment', '$ZbvKeys', '$ZbvState', '$ZbvViews', '$ZbvLab',
                   '$ZbvLabControls', '$ZbvWords', '$ZbvToolbar', '$ZbvPlace', '$ZbvFacts'],
  $ZbvPage: {
    // The switches at start-up ({depth, lighting}), what the last frame showed (in words,
    // and as the keys that give it from start-up), and the address's pending write.
    startUpSwitches: null,
    shownState: null,
    shownKeys: '',
    addressTimer: 0,
    refused: [],  // what the address named that the page left out: [{name, value}]
    lost: false,  // the browser has taken the context away

    // What the address names, shown: the state its keys give, reached from whatever state is
    // now by typing a key for each switch (from start-up, only those that differ), and the
    // pixel and the step. What is missing gives the start-up state, no pixel and the whole
    // frame; what is malformed too, and is named in the refusal line. The next frame writes
    // the address anew in its canonical form.
    applyAddress: function(fromStartUp) {
      var pairs = ZbvFragment.read(), now = ZbvState.read(), refused = [];
      var startUp = ZbvState.startUp(now, ZbvPage.startUpSwitches);
      var keys = ZbvFragment.get(pairs, 'keys'), step = ZbvFragment.get(pairs, 'step');
      var pixel = ZbvFragment.get(pairs, 'pixel'), position = ZbvPlace.read(pixel);
      if (keys !== null && !ZbvKeys.valid(keys)) refused.push({name: 'keys', value: keys});
      var steps = ZbvFacts.draws.length, isStep = step !== null && /^\d$/.test(step) && +step <= steps;
      if (step !== null && !isStep) refused.push({name: 'step', value: step});
      if (pixel !== null && !position) refused.push({name: 'pixel', value: pixel});
      var state = ZbvKeys.named(keys, startUp);
      var toolbar = ZbvToolbar.fromAddress(pairs);
      // The lab's numbers as links write them, or as the page's language does.
      var lab = ZbvLab.fromAddress(pairs, toolbar.lang || ZbvToolbar.browserLanguage());
      ZbvLab.apply(lab.lab);
      ZbvLabControls.refuse(lab.refused);
      ZbvPage.refused = refused.concat(toolbar.refused, ZbvPage.moreRefused());
      ZbvPage.pendingPixel = position ? pixel : null;
      ZbvToolbar.apply(toolbar);
      ZbvViews.choose(position, isStep ? +step : steps);
      ZbvKeys.groups.forEach(function(g) {
        var key = fromStartUp && state[g.name] === startUp[g.name] ? ''
          : ZbvKeys.keyFor(g.name, state[g.name]);
        if (key) ZbvGlut.key(key.charCodeAt(0));
      });
      ZbvPage.sayRefused();
    },

    // The refusal line, in the page's language: each part of the address left out, and why.
    sayRefused: function() {
      var W = ZbvWords, box = document.getElementById('page-refused');
      if (!box) return;
      box.textContent = ZbvPage.refused.map(function(r) {
        var value = r.value.slice(0, 24);
        if (r.key) return W.t(r.key, {value: value});
        if (r.name === 'lang') {
          return W.t('refused.language', {value: value, languages: ZbvWords.languages().map(function(l) {
            return l.lang;
          }).join(W.t('listSeparator'))});
        }
        return W.t('refused.' + r.name + (r.why ? '.' + r.why : ''),
                   {value: value, last: W.number(ZbvFacts.draws.length)});
      }).join(' ');
    },

    // The address as it names what is shown, unless it holds an edit not yet taken in: that
    // one wins, and is shown instead. The presets' links are this address with their lab.
    writeAddress: function() {
      clearTimeout(ZbvPage.addressTimer);
      if (ZbvFragment.edited()) return ZbvPage.applyAddress(false);
      var V = ZbvViews;
      var own = [['keys', ZbvPage.shownKeys]].concat(ZbvLab.toAddress(),
        [['pixel', V.position ? ZbvPlace.write(V.position) : ''],
         ['step', V.step >= 0 ? String(V.step) : '']], ZbvToolbar.toAddress());
      ZbvFragment.replace(ZbvFragment.write(location.hash, own));
      document.querySelectorAll('a[data-preset-link]').forEach(function(a) {
        var p = a.dataset.presetLink.split(',');
        a.href = ZbvFragment.write(location.hash, ZbvLab.toAddress(ZbvLab.preset(p))) || '#';
      });
    },

    // After each frame: the views told of it, the address rewritten where it does not name
    // what is shown; the state line, the explanation and the pressed buttons, changed only
    // when the state has (so that the live region speaks only then).
    shown: function() {
      if (!ZbvPage.settled) {
        ZbvPage.settled = true;
        setTimeout(ZbvPage.settle, 0);
      }
      var state = ZbvState.read();
      ZbvLab.asked(state.n.askedNear, state.n.askedFar);
      ZbvLabControls.show();
      ZbvViews.frameShown(ZbvGlut.width, ZbvGlut.height, state.n);
      // A linked pixel outside the picture is left out, and said to be.
      if (ZbvPage.pendingPixel !== null) {
        if (!ZbvViews.pixel) {
          ZbvPage.refused.push({name: 'pixel', value: ZbvPage.pendingPixel, why: 'outside'});
          ZbvPage.sayRefused();
        }
        ZbvPage.pendingPixel = null;
      }
      ZbvPage.shownKeys = ZbvKeys.fromStartUp(state, ZbvState.startUp(state, ZbvPage.startUpSwitches));
      ZbvPage.writeAddress();
      ZbvPage.say(state);
    },
    pendingPixel: null,
    settled: false,
    // While a challenge asks a task, the keys do not change the state it is asked in; and
    // what the address named that the challenges refused (they say, once opened).
    keysHeld: false,
    moreRefused: function() { return []; },

    // The challenges, opened the first time the address names one (or a code to verify):
    // their script and words are kept compressed in the page (assemble_page.py), out of the
    // way of every page that names none.
    challenges: function() {
      // They stand at the page's end, after the loader: read once the page has been.
      if (document.readyState === 'loading') {
        return document.addEventListener('DOMContentLoaded', ZbvPage.challenges, {once: true});
      }
      var pairs = ZbvFragment.parse(location.hash);
      if (ZbvPage.challengesOpen || !document.getElementById('challenge-script') ||
          (ZbvFragment.get(pairs, 'challenge') === null && ZbvFragment.get(pairs, 'verify') === null)) return;
      ZbvPage.challengesOpen = true;
      var script = document.createElement('script');
      script.src = URL.createObjectURL(new Blob([ZbvInflate.element('challenge-script')],
                                                {type: 'text/javascript'}));
      document.body.appendChild(script);
    },
    challengesOpen: false,

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
      var W = ZbvWords, names = state.lightNames;
      return W.t('state', {depth: state.depth, lighting: state.lighting,
        light: names.length === 0 ? 'none' : names.length === 1 ? names[0] : 'several',
        lights: names.map(function(n) { return W.t('colour.' + n); }).join(W.t('listSeparator'))});
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
      ZbvPage.sayRefused();
      ZbvPage.sayLost();
      ZbvLabControls.show();
      ZbvLabControls.refuse(ZbvLabControls.refused || []);
      ZbvViews.frameRead();
      ZbvViews.graph();
      ZbvViews.sayRange();
    },

    // Something keeps the picture from being drawn: the page says so instead, in its words.
    trouble: function(trouble) {
      var W = ZbvWords;
      W.apply();
      document.body.setAttribute('data-trouble', trouble.kind);
      if (trouble.kind !== 'gl-failed') return;
      document.getElementById('gl-failed').textContent = W.t('glFailed.' + trouble.reason, {
        log: trouble.log || W.t('glFailed.noLog')});
    },

    // The browser took the context away, or gave it back: said in words while it is away.
    contextLost: function(lost) {
      ZbvPage.lost = lost;
      ZbvPage.sayLost();
    },
    sayLost: function() {
      var box = document.getElementById('lost');
      if (!box) return;
      box.hidden = !ZbvPage.lost;
      box.textContent = ZbvPage.lost ? ZbvWords.t('lost') : '';
    },

    // Keys typed anywhere on the page reach the viewer, except Tab (it moves the focus) and
    // those the focused element takes.
    onKey: function(e) {
      if (e.defaultPrevented || e.key === 'Tab' || ZbvPage.keysHeld ||
          ZbvKeys.elementTakes(e, ZbvGlut.canvas)) return;
      var key = ZbvKeys.byte(e);
      if (key < 0) return;
      e.preventDefault();
      ZbvGlut.key(key);
    },

    // Called once the window is open, before the viewer's main has set its state up: the
    // keys only; the rest of the page is set up once the first frame is drawn (settle).
    open: function(canvas) {
      ZbvPage.canvas = canvas;
      ZbvKeys.collect(ZbvFacts.keys.map(function(k) {
        var b = {key: k.key, group: k.group, value: k.value,
                 element: document.querySelector('[data-key="' + k.key + '"]')};
        b.element.addEventListener('click', function() { ZbvGlut.key(b.key.charCodeAt(0)); });
        return b;
      }));
      document.addEventListener('keydown', ZbvPage.onKey);
      // The keyboard is the viewer's from the start, unless the page is embedded in another
      // or the reader has already moved the focus while the program was on its way.
      var free = !document.activeElement || document.activeElement === document.body;
      if (window.self === window.top && free) canvas.focus({preventScroll: true});
      ZbvViews.start(canvas);
      // Once main has returned: the start-up state, then what the address names, and the
      // first frame; the rest after it.
      queueMicrotask(function() {
        var startUp = ZbvState.read();
        ZbvPage.startUpSwitches = {depth: startUp.depth, lighting: startUp.lighting};
        ZbvState.startUpOn = startUp.n.lightsOn;
        ZbvPage.applyAddress(true);
        ZbvGlut.reshape(false);
      });
    },

    // After the first frame: the page's words, its controls, and the address followed.
    settle: function() {
      var canvas = ZbvPage.canvas;
      ZbvToolbar.start(canvas);
      // A saved picture's name: the keys, the lab and the step, where they are not start-up's.
      ZbvToolbar.nameParts = function() {
        var parts = [['keys', ZbvPage.shownKeys]].concat(ZbvLab.toAddress(),
          [['step', ZbvViews.step >= 0 ? String(ZbvViews.step) : '']]);
        return parts.filter(function(p) { return p[1] !== ''; });
      };
      ZbvToolbar.cannotSave = function(kind) {
        if (ZbvPage.lost) return 'save.lost';
        if (kind && !ZbvViews.depthShown) return 'save.noDepth';
        return '';
      };
      ZbvWords.changed = ZbvPage.wordsChanged;
      // The pixel and the step the user picks go into the address soon after the last change:
      // browsers make each replaceState cost a few milliseconds.
      ZbvViews.changed = ZbvLab.changed = ZbvToolbar.changed = function() {
        clearTimeout(ZbvPage.addressTimer);
        ZbvPage.addressTimer = setTimeout(ZbvPage.writeAddress, 100);
      };
      ZbvLabControls.start();
      ZbvLabControls.redraw = _zbv_glut_repaint;
      ZbvViews.emptied = ZbvLabControls.show;
      ZbvLabControls.repaint = ZbvViews.frameRead;
      ZbvViews.graph();
      ZbvToolbar.words().then(function() {
        ZbvPage.sayRefused();
        ZbvLabControls.show();
        ZbvPage.challenges();
      });
      window.addEventListener('hashchange', function() {
        if (ZbvFragment.edited()) ZbvPage.applyAddress(false);
        ZbvPage.challenges();
      });
    },
  },

  // Before main runs (install.cpp): the page hears of GLUT's window from the first.
  zbv_page_install__deps: ['$ZbvPage', '$ZbvGlut'],
  zbv_page_install: function() {
    ZbvGlut.hooks.opened = ZbvPage.open;
    ZbvGlut.hooks.shown = ZbvPage.shown;
    ZbvGlut.hooks.trouble = ZbvPage.trouble;
    ZbvGlut.hooks.lost = ZbvPage.contextLost;
  },
});
