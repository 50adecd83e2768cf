// SPDX-License-Identifier: MIT
// The page's words: one catalogue a language, English the source. English stands in the page
// as it is; every other language is kept compressed in it and opened only when chosen, so
// that languages not shown cost nothing. Elements name their words (data-w for the text,
// data-w-label for the accessible name); the rest of the page asks for words here, with
// numbers written as the language writes them. Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvWords: {
    lang: 'en',
    english: null,
    words: null,
    formats: {},
    // Called once a language's words are in place (the page says its sentences again).
    changed: function() {},

    // The languages the page speaks: [{lang, name}], each in its own words, English first.
    languages: function() {
      var e = document.getElementById('words'), names = e.dataset.names.split(',');
      return e.dataset.langs.split(',').map(function(lang, i) {
        return {lang: lang, name: names[i]};
      });
    },

    // The first of these language tags (as a link or navigator.languages give them) the page
    // speaks: the same tag, else the same language ('pt-PT' takes 'pt-BR'); '' for none.
    match: function(tags) {
      var spoken = ZbvWords.languages().map(function(l) { return l.lang; });
      for (var i = 0; i < tags.length; ++i) {
        var tag = String(tags[i]).toLowerCase(), first = tag.split('-')[0];
        var same = spoken.filter(function(l) { return l.toLowerCase() === tag; })[0] ||
          spoken.filter(function(l) { return l.toLowerCase().split('-')[0] === first; })[0];
        if (same) return same;
      }
      return '';
    },

    // A word, its {names} filled in from values (strings, or numbers written already).
    t: function(key, values) {
      var W = ZbvWords;
      if (!W.english) W.english = JSON.parse(document.getElementById('words-en').textContent);
      var text = (W.words && W.words[key]) || W.english[key] || key;
      return values ? text.replace(/\{(\w+)\}/g, function(m, name) {
        return name in values ? values[name] : m;
      }) : text;
    },

    // A number as the language writes it: to `digits` decimals, or to `precision`
    // significant digits; whole numbers with their thousands set apart.
    number: function(x, digits, precision) {
      var W = ZbvWords, key = W.lang + ',' + digits + ',' + precision;
      if (W.lang === 'en' && isFinite(x) && Math.abs(x) < 1e21) return W.english1(x, digits, precision);
      var f = W.formats[key] || (W.formats[key] = new Intl.NumberFormat(W.lang, precision
        ? {maximumSignificantDigits: precision, minimumSignificantDigits: precision}
        : {minimumFractionDigits: digits || 0, maximumFractionDigits: digits || 0}));
      return f.format(x);
    },

    // English numbers written as Intl.NumberFormat('en') writes them, without it: the first
    // Intl format a page makes costs some 25 ms (the browser loads its locale data), which
    // the first frame, in English, need not pay. As Intl does, it rounds the shortest decimal
    // that names the double, half away from zero.
    english1: function(x, digits, precision) {
      var sign = x < 0 || Object.is(x, -0) ? '-' : '';
      var m = Math.abs(x).toExponential().split('e'), d = m[0].replace('.', ''), e = +m[1];
      // d's first digit stands for 10^e; keep as many digits as the rounding leaves.
      var keep = precision || e + 1 + (digits || 0);
      if (d.length > keep) {
        var up = keep >= 0 && d.charAt(keep) >= '5';
        d = d.slice(0, Math.max(keep, 0));
        if (up) {
          var i = d.length - 1;
          while (i >= 0 && d.charAt(i) === '9') --i;
          d = i < 0 ? '1' + '0'.repeat(d.length) : d.slice(0, i) + (+d.charAt(i) + 1) + '0'.repeat(d.length - 1 - i);
          if (i < 0) ++e;
        }
        if (d === '') d = '0';
      }
      if (precision) d = (d + '0'.repeat(precision)).slice(0, precision);
      var at = d === '0' ? 1 : e + 1, whole, fraction;
      if (at <= 0) {
        whole = '0';
        fraction = '0'.repeat(-at) + d;
      } else {
        whole = (d + '0'.repeat(Math.max(0, at - d.length))).slice(0, at);
        fraction = d.slice(at);
      }
      if (!precision) fraction = (fraction + '0'.repeat(digits || 0)).slice(0, digits || 0);
      return sign + whole.replace(/\B(?=(\d{3})+$)/g, ',') + (fraction ? '.' + fraction : '');
    },

    // A language's catalogue: English at once, any other opened from the page, the first time
    // one is asked for (a promise).
    load: function(lang) {
      var W = ZbvWords, at = W.languages().map(function(l) { return l.lang; }).indexOf(lang);
      if (at <= 0) return Promise.resolve(null);
      if (!W.others) {
        var text = document.getElementById('words').textContent;
        var bytes = Uint8Array.from(atob(text), function(c) { return c.charCodeAt(0); });
        var stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('deflate-raw'));
        W.others = new Response(stream).text().then(JSON.parse);
      }
      // Its words in the order of English's.
      return W.others.then(function(all) {
        var words = {};
        W.t('language');
        Object.keys(W.english).forEach(function(key, i) { words[key] = all[at - 1][i]; });
        return words;
      });
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
      document.querySelectorAll('[data-w]').forEach(function(e) { e.textContent = W.t(e.dataset.w); });
      document.querySelectorAll('[data-w-label]').forEach(function(e) {
        e.setAttribute('aria-label', W.t(e.dataset.wLabel));
      });
      document.documentElement.dataset.words = W.lang;
    },
  },
});
