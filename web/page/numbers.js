// SPDX-License-Identifier: MIT
// Numbers in the page's languages, without Intl (the first Intl use costs a page some 25 ms
// before its first frame): written as Intl.NumberFormat writes them, read as a person typing
// in that language means them, their plural category by CLDR's cardinal rules, and the
// catalogue's sentences filled in, with {n, plural, ...} and {x, select, ...} choosing the
// words each language's grammar asks for. Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvNumbers: {
    // Each language's decimal and group separators, and how many digits the whole part has
    // before it is grouped at all, less three (Spanish writes 1000 but 10.000). Unknown
    // languages write as English does.
    symbols: {
      'en': {decimal: '.', group: ',', minimumGrouping: 1},
      'es': {decimal: ',', group: '.', minimumGrouping: 2},
      'fr': {decimal: ',', group: '\u202f', minimumGrouping: 1},
      'de': {decimal: ',', group: '.', minimumGrouping: 1},
      'pt-BR': {decimal: ',', group: '.', minimumGrouping: 1},
      'zh-Hans': {decimal: '.', group: ',', minimumGrouping: 1},
    },
    // Parsed messages by '#' and their text: the page formats the same few every frame.
    messages: {},

    // x as the language writes it: options {digits: n} for n decimals, {precision: n} for n
    // significant digits, else every digit of the shortest decimal that names the double;
    // {group: false} leaves the thousands together. NaN and infinities give '' (the page
    // never shows them; the caller says what stands in their place).
    write: function(x, lang, options) {
      var N = ZbvNumbers, o = options || {}, s = N.symbols[lang] || N.symbols.en;
      if (typeof x !== 'number' || !isFinite(x)) return '';
      var p = N.digits(x, o.precision ? undefined : o.digits, o.precision), whole = p.whole;
      if (o.group !== false && whole.length >= 3 + s.minimumGrouping) {
        whole = whole.replace(/\B(?=(\d{3})+$)/g, s.group);
      }
      return p.sign + whole + (p.fraction ? s.decimal + p.fraction : '');
    },

    // x's digits, {sign, whole, fraction}, rounded as Intl rounds: the shortest decimal that
    // names the double, rounded half away from zero, to `digits` decimals or `precision`
    // significant digits (neither: not rounded).
    digits: function(x, digits, precision) {
      var sign = x < 0 || Object.is(x, -0) ? '-' : '';
      var m = Math.abs(x).toExponential().split('e'), d = m[0].replace('.', ''), e = +m[1];
      // d's first digit stands for 10^e; keep as many digits as the rounding leaves.
      var keep = precision || (digits === undefined ? d.length : e + 1 + digits);
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
      if (digits !== undefined) fraction = (fraction + '0'.repeat(digits)).slice(0, digits);
      return {sign: sign, whole: whole, fraction: fraction};
    },

    // A number a person typed, read as they mean it in this language: {value}, or {why:
    // 'empty' | 'malformed'}, or {why: 'ambiguous', meanings: [as a decimal, as grouped]}
    // for a separator the language uses for neither ('1.000' in French). Full-width digits
    // and signs (a Chinese input method's) count as their ASCII ones; at most 64 characters.
    read: function(text, lang) {
      var N = ZbvNumbers, s = N.symbols[lang] || N.symbols.en;
      var t = String(text).replace(/[\uff0b-\uff0e\uff10-\uff19\uff25\uff45]/g, function(c) {
        return String.fromCharCode(c.charCodeAt(0) - 0xfee0);
      }).trim();
      if (t === '') return {why: 'empty'};
      var m = t.length <= 64 && /^([-+\u2212]?)([^eE]*)(?:[eE]([-+\u2212]?\d{1,3}))?$/.exec(t);
      if (!m || !/\d/.test(m[2])) return {why: 'malformed'};
      var runs = m[2].split(/\D/), seps = m[2].replace(/\d/g, '').split('');
      var sign = m[1] && m[1] !== '+' ? '-' : '', exp = m[3] ? 'e' + m[3].replace('\u2212', '-') : '';
      var read = function(decimal) {
        var x = N.reading(runs, seps, decimal, s.group);
        return x === null ? NaN : Number(sign + x + exp);
      };
      var dots = seps.filter(function(c) { return c === '.'; }).length;
      var commas = seps.filter(function(c) { return c === ','; }).length;
      var decimal = '', value;
      if (dots && commas) {
        // The kind that stands last is the decimal separator, if it stands only there.
        decimal = seps.lastIndexOf('.') > seps.lastIndexOf(',') ? '.' : ',';
        if ((decimal === '.' ? dots : commas) !== 1) return {why: 'malformed'};
      } else if (dots + commas === 1) {
        // Grouping (which asks for three digits after it) unless it is the decimal separator.
        var c = dots ? '.' : ',', grouped = read('');
        if (c === s.decimal || !isFinite(grouped)) decimal = c;
        else if (c !== s.group) {
          value = read(c);
          return isFinite(value) ? {why: 'ambiguous', meanings: [value, grouped]} : {why: 'malformed'};
        }
      }
      value = read(decimal);
      return isFinite(value) ? {value: value} : {why: 'malformed'};
    },

    // The plain decimal digits ('1234.5') of the digit runs between separators, with this
    // separator for the decimals ('' for none) and every other one grouping; null if they do
    // not group as written numbers do (1-3 digits, not led by 0, then threes, one kind of
    // separator), or a separator is none a number has.
    reading: function(runs, seps, decimal, group) {
      var at = decimal ? seps.indexOf(decimal) : seps.length, whole = runs.slice(0, at + 1);
      var fraction = decimal ? runs.slice(at + 1) : [''];
      var kinds = seps.slice(0, at).filter(function(c, i, all) { return all.indexOf(c) === i; });
      if (fraction.length !== 1 || kinds.length > 1) return null;
      if (kinds.length && !(kinds[0] === group || /^[.,'\u2019 \u00a0\u202f\u2009]$/.test(kinds[0]))) return null;
      if (kinds.length && !/^[1-9]\d{0,2}$/.test(whole[0])) return null;
      if (whole.slice(1).some(function(r) { return r.length !== 3; })) return null;
      if (whole.join('') + fraction[0] === '') return null;
      return (whole.join('') || '0') + '.' + (fraction[0] || '0');
    },

    // The language's cardinal plural category ('zero', 'one', 'two', 'few', 'many' or
    // 'other') of a number, as its shortest decimal gives it, or of a number as write wrote
    // it in this language ('1.0' in English is 'other'); 'other' for what is neither.
    plural: function(n, lang) {
      var o = ZbvNumbers.operands(n, lang);
      if (!o) return 'other';
      var one = o.i === '1' && o.v === 0, million = o.v === 0 && /^[1-9]\d*0{6}$/.test(o.i);
      switch (lang) {
        case 'zh-Hans': return 'other';
        // n = 1 (1.0 too); many: i % 1000000 = 0, i != 0, v = 0 (un millón de ...).
        case 'es': return o.value === 1 ? 'one' : million ? 'many' : 'other';
        // i = 0..1 (0, 1.5 too); many as Spanish (pt-PT's one would be i = 1 and v = 0).
        case 'fr': case 'pt-BR': return o.i === '0' || o.i === '1' ? 'one' : million ? 'many' : 'other';
        default: return one ? 'one' : 'other';
      }
    },

    // A number's plural operands: {i: whole digits, v: how many decimals, value}; null for
    // a string that is not a number written in this language.
    operands: function(n, lang) {
      var s = ZbvNumbers.symbols[lang] || ZbvNumbers.symbols.en;
      var t = typeof n === 'number' ? ZbvNumbers.write(n, 'en', {group: false})
        : String(n).split(s.group).join('').replace(s.decimal, '.');
      var m = /^[-\u2212]?(\d+)(?:\.(\d+))?$/.exec(t);
      return m && {i: m[1].replace(/^0+(?=\d)/, ''), v: (m[2] || '').length,
                   value: Number(m[1] + '.' + (m[2] || '0'))};
    },

    // A catalogue's sentence filled in: {name} is values[name] (a string as it is, a number
    // written in the language); {name, plural, =0 {...} one {...} other {...}} chooses by an
    // exact value first, then the plural category, '#' inside standing for the number as
    // written; {name, select, yellow {...} other {...}} chooses by the string. Branches nest.
    // A malformed pattern, a choice with no 'other' or a missing value throws.
    format: function(pattern, values, lang) {
      var N = ZbvNumbers, key = '#' + pattern, nodes = N.messages[key];
      if (!nodes) {
        var p = {text: String(pattern), at: 0};
        nodes = N.parse(p);
        if (p.at < p.text.length) N.fail(p, 'a "}" that closes nothing');
        N.messages[key] = nodes;
      }
      return N.fill(nodes, values || {}, lang, pattern);
    },

    // Text, {name}s and choices up to the end or a '}' (the caller's to close).
    parse: function(p) {
      var N = ZbvNumbers, nodes = [];
      for (var c; p.at < p.text.length && (c = p.text.charAt(p.at)) !== '}';) {
        var text = /^[^{}#]+/.exec(p.text.slice(p.at));
        if (text) nodes.push(text[0]);
        else if (c === '#') nodes.push({hash: true});
        else nodes.push(N.parseChoice(p));
        p.at += text ? text[0].length : c === '#' ? 1 : 0;
      }
      return nodes;
    },

    parseChoice: function(p) {
      var N = ZbvNumbers, rest = function() { return p.text.slice(p.at); };
      var m = /^\{\s*(\w+)\s*(?:(\})|,\s*(plural|select)\s*,)/.exec(rest());
      if (!m) N.fail(p, 'a "{" not followed by name}, name, plural, or name, select,');
      p.at += m[0].length;
      if (m[2]) return {name: m[1]};
      var node = {name: m[1], type: m[3], branches: Object.create(null)}, key;
      while (!(key = /^\s*\}/.exec(rest()))) {
        if (!/\S/.test(rest())) N.fail(p, 'the ' + m[3] + ' of {' + m[1] + '} never closed');
        key = /^\s*(=\d+(?:\.\d+)?|[\w-]+)\s*\{/.exec(rest());
        if (!key) N.fail(p, 'a ' + m[3] + ' branch that is not key {text}');
        if (m[3] === 'plural' && !/^(=|zero$|one$|two$|few$|many$|other$)/.test(key[1])) {
          N.fail(p, 'a plural branch "' + key[1] + '" that is not =N or a plural category');
        }
        if (key[1] in node.branches) N.fail(p, 'a second "' + key[1] + '" branch');
        p.at += key[0].length;
        node.branches[key[1]] = N.parse(p);
        if (p.text.charAt(p.at++) !== '}') N.fail(p, 'a branch "' + key[1] + '" never closed');
      }
      p.at += key[0].length;
      if (!node.branches.other) N.fail(p, 'the ' + m[3] + ' of {' + m[1] + '} with no "other" branch');
      return node;
    },

    fail: function(p, what) {
      throw new Error('message: ' + what + ' at ' + Math.min(p.at, p.text.length) + ' in "' + p.text + '"');
    },

    // The parsed message's text, `hash` what '#' stands for (in a plural's branches).
    fill: function(nodes, values, lang, pattern, hash) {
      var N = ZbvNumbers;
      return nodes.map(function(node) {
        if (typeof node === 'string') return node;
        if (node.hash) return hash === undefined ? '#' : hash;
        var x = Object.prototype.hasOwnProperty.call(values, node.name) ? values[node.name] : null;
        var b = node.branches;
        if (x === undefined || x === null) {
          throw new Error('message: no value for {' + node.name + '} in "' + pattern + '"');
        }
        var shown = typeof x === 'number' ? N.write(x, lang) : String(x);
        if (!node.type) return shown;
        if (node.type === 'select') return N.fill(b[shown] || b.other, values, lang, pattern, hash);
        var o = N.operands(x, lang), exact = o && Object.keys(b).filter(function(k) {
          return k.charAt(0) === '=' && Number(k.slice(1)) === o.value;
        })[0];
        return N.fill(b[exact] || b[N.plural(x, lang)] || b.other, values, lang, pattern, shown);
      }).join('');
    },
  },
});
