// SPDX-License-Identifier: MIT
// The page's words: one catalogue a language, English the source, each word a whole sentence
// or phrase with places for values, plural forms and choices in the language's own grammar
// (numbers.js formats them). English stands in the page as it is; every other language is
// kept compressed in it and opened only when chosen, so that languages not shown cost
// nothing. Elements name their words (data-w for the text, data-w-label for the accessible
// name); the rest of the page asks for words here, with numbers written and read as the
// language writes them. Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvWords__deps: ['$ZbvNumbers'],
  $ZbvWords: {
    lang: 'en',
    source: null,  // English's catalogue
    words: null,   // the language's, where it is not English
    // Called once a language's words are in place (the page says its sentences again).
    changed: function() {},

    // The languages the page speaks: [{lang, name}], each in its own words, English first.
    languages: function() {
      var e = document.getElementById('words'), names = e.dataset.names.split(',');
      return e.dataset.langs.split(',').map(function(lang, i) {
        return {lang: lang, name: names[i]};
      });
    },

    // The language each of these tags (as a link or navigator.languages give them) means
    // here, the first the page speaks: the same tag, else the language a tag's script or
    // region implies (zh-CN and zh-SG write Simplified Chinese), else the same language
    // ('pt-PT' takes 'pt-BR'); '' for none. zh-TW, zh-HK and zh-Hant are Traditional
    // Chinese, which the page does not speak.
    match: function(tags) {
      var spoken = ZbvWords.languages().map(function(l) { return l.lang; });
      var lower = spoken.map(function(l) { return l.toLowerCase(); });
      for (var i = 0; i < tags.length; ++i) {
        var tag = String(tags[i]).toLowerCase().replace(/_/g, '-'), parts = tag.split('-');
        if (lower.indexOf(tag) >= 0) return spoken[lower.indexOf(tag)];
        if (parts[0] === 'zh') {
          if (/^(hant|tw|hk|mo)$/.test(parts[1] || '')) continue;
          tag = 'zh-hans';
        }
        for (var k = 0; k < lower.length; ++k) {
          if (lower[k] === tag || lower[k].split('-')[0] === parts[0]) return spoken[k];
        }
      }
      return '';
    },

    // A word, its places filled in from values (strings as they are; numbers written).
    t: function(key, values) {
      var W = ZbvWords, text = (W.words && W.words[key]) || W.catalogue()[key] || W.apart()[key] || key;
      return ZbvNumbers.format(text, values || {}, W.lang);
    },
    // The same word in English, whatever the page speaks (for what names a thing, not shows it).
    english: function(key, values) {
      var text = ZbvWords.catalogue()[key] || ZbvWords.apart()[key] || key;
      return ZbvNumbers.format(text, values || {}, 'en');
    },
    catalogue: function() {
      var W = ZbvWords;
      // Kept compressed in the page (loader.js inflates it).
      if (!W.source) W.source = JSON.parse(new TextDecoder().decode(ZbvInflate.element('words-en')));
      return W.source;
    },

    // A number as the language writes it (numbers.js: {digits}, {precision} or {all}).
    number: function(x, options) {
      return ZbvNumbers.write(x, ZbvWords.lang, options || {});
    },
    // A number as the language reads it: {value}, or {why, meanings} (numbers.js).
    read: function(text) {
      return ZbvNumbers.read(text, ZbvWords.lang);
    },


    // A language's catalogue: English at once, any other opened from the page, the first time
    // one is asked for (a promise).
    load: function(lang) {
      var W = ZbvWords, at = W.languages().map(function(l) { return l.lang; }).indexOf(lang);
      if (at <= 0) return Promise.resolve(null);
      if (!W.others) {
        var bytes = ZbvInflate.dense(document.getElementById('words').textContent);
        var stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('deflate-raw'));
        W.others = new Response(stream).text().then(JSON.parse);
      }
      // Its words in the order of English's, those kept apart last.
      return W.others.then(function(all) {
        var words = {}, keys = Object.keys(W.catalogue()).concat(Object.keys(W.apart()));
        keys.forEach(function(key, i) { words[key] = all[at - 1][i]; });
        return words;
      });
    },

    // English's words that only the challenges show, kept apart from the rest (and opened
    // the first time one is asked for), so that a page without a challenge never opens them.
    apartWords: null,
    apart: function() {
      var W = ZbvWords;
      if (!W.apartWords) {
        var kept = JSON.parse(new TextDecoder().decode(ZbvInflate.element('words-apart')));
        W.apartWords = {};
        kept.keys.forEach(function(key, i) { W.apartWords[key] = kept.words[i]; });
      }
      return W.apartWords;
    },

    // The language from now on: its words in every element, and on the page's root.
    use: function(lang) {
      var W = ZbvWords;
      return W.load(lang).then(function(words) {
        W.lang = words ? lang : 'en';
        W.words = words;
        W.apply();
        W.changed();
      });
    },

    apply: function() {
      var W = ZbvWords;
      document.documentElement.lang = W.lang;
      document.querySelectorAll('[data-w]').forEach(function(e) {
        var key = e.dataset.wKey;
        if (key === undefined) return (e.textContent = W.t(e.dataset.w));
        // A key button's word, its key in a <kbd> where the sentence places it.
        var parts = W.t(e.dataset.w, {key: '\u0000'}).split('\u0000'), kbd = document.createElement('kbd');
        kbd.textContent = key;
        e.replaceChildren(parts[0], kbd, parts.slice(1).join(''));
      });
      document.querySelectorAll('[data-w-label]').forEach(function(e) {
        e.setAttribute('aria-label', W.t(e.dataset.wLabel));
      });
      document.documentElement.dataset.words = W.lang;
    },
  },
});
