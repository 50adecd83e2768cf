// SPDX-License-Identifier: MIT
// The page's own controls, for a classroom: the language it speaks, the projector's scheme
// (large, light and high in contrast), the picture and the depth view saved as PNG files named
// after what they show, and full screen, which says why where the embedding page does not
// allow it. The language and the projector go into the address. Linked into the page with
// --js-library.
mergeInto(LibraryManager.library, {
  $ZbvToolbar__deps: ['$ZbvWords', '$ZbvFragment'],
  $ZbvToolbar: {
    lang: '',  // the language the address or the control chose ('' where the browser's did)
    projector: false,
    // Called when the user changes either (the page writes the address); and what a saved
    // file's name says of the state (['keys', '2'], ...), from the page.
    changed: function() {},
    nameParts: function() { return []; },

    element: function(id) { return document.getElementById(id); },

    start: function(canvas) {
      var T = ZbvToolbar, el = T.element, select = el('lang');
      ZbvWords.languages().forEach(function(l) {
        var option = document.createElement('option');
        option.value = l.lang;
        option.lang = l.lang;
        option.textContent = l.name;
        select.appendChild(option);
      });
      select.addEventListener('change', function() {
        T.lang = select.value;
        ZbvWords.use(T.lang);
        T.changed();
      });
      el('projector').addEventListener('click', function() {
        T.setProjector(!T.projector);
        T.changed();
      });
      el('save-picture').addEventListener('click', function() { T.save(canvas, ''); });
      el('save-depth').addEventListener('click', function() { T.save(el('depth'), 'depth'); });
      // Full screen: the picture, or in the projector's scheme the whole page; where an
      // embedding page does not allow it, the control says so and stays off.
      var full = el('full-screen'), allowed = document.fullscreenEnabled &&
          !!document.documentElement.requestFullscreen;
      full.disabled = !allowed;
      el('full-screen-why').hidden = allowed;
      full.addEventListener('click', function() {
        (T.projector ? document.documentElement : canvas.parentNode).requestFullscreen()
          .catch(function() {});
      });
    },

    // What the address names: {lang, projector, refused: [{name, value}]}. A language the
    // page speaks is taken however it is spelled, and a tag that means one of them (zh-CN);
    // the projector is 1 or nothing.
    fromAddress: function(pairs) {
      var lang = ZbvFragment.get(pairs, 'lang'), projector = ZbvFragment.get(pairs, 'projector');
      var refused = [], out = {lang: '', projector: projector === '1'};
      if (lang !== null) {
        out.lang = ZbvWords.match([lang]);
        if (!out.lang) refused.push({name: 'lang', value: lang});
      }
      if (projector !== null && projector !== '1') refused.push({name: 'projector', value: projector});
      out.refused = refused;
      return out;
    },

    // Takes what the address names: the projector at once, the language once the page's words
    // are in place (words()).
    apply: function(named) {
      var T = ZbvToolbar;
      T.lang = named.lang;
      T.setProjector(named.projector);
      if (T.started) T.words();
    },

    toAddress: function() {
      return [['lang', ZbvToolbar.lang], ['projector', ZbvToolbar.projector ? '1' : '']];
    },

    // The first of the browser's languages the page speaks, else English.
    browserLanguage: function() {
      return ZbvWords.match(navigator.languages || [navigator.language]) || 'en';
    },

    // The language the page speaks from now on: the address's, else the browser's (a
    // promise, kept once its words are in place).
    words: function() {
      var T = ZbvToolbar, W = ZbvWords;
      T.started = true;
      var lang = T.lang || T.browserLanguage();
      T.element('lang').value = lang;
      if (lang !== W.lang) return W.use(lang);
      document.documentElement.dataset.words = W.lang;
      return Promise.resolve();
    },

    setProjector: function(on) {
      ZbvToolbar.projector = on;
      document.documentElement.classList.toggle('projector', on);
      ZbvToolbar.element('projector').setAttribute('aria-pressed', String(on));
    },

    // A view's pixels as a PNG file, named after the state it shows; where there is nothing
    // true to save (the context lost, the depth view empty as the frame is too large for it,
    // or the browser could not make the file), the page says so instead.
    save: function(canvas, kind) {
      var T = ZbvToolbar, said = T.element('saved');
      var name = ['zbuffer-viewer'].concat(kind ? [kind] : [], [].concat.apply([],
        T.nameParts())).join('-').replace(/[^A-Za-z0-9.-]/g, '_') + '.png';
      var why = T.cannotSave(kind);
      said.textContent = why ? ZbvWords.t(why) : '';
      if (why) return;
      canvas.toBlob(function(blob) {
        if (!blob) {
          said.textContent = ZbvWords.t('save.failed');
          return;
        }
        var a = document.createElement('a');
        a.href = URL.createObjectURL(blob);
        a.download = name;
        a.click();
        setTimeout(function() { URL.revokeObjectURL(a.href); }, 60000);
      }, 'image/png');
    },
    // Why a view cannot be saved now ('' where it can); from the page.
    cannotSave: function(kind) { return ''; },
  },
});
