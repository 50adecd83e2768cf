// SPDX-License-Identifier: MIT
// Numbers in every language the page speaks, without Intl, checked against node's Intl:
// written as Intl.NumberFormat writes them and read back, typed numbers read as meant,
// plural categories as Intl.PluralRules gives them, and sentences filled in.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const { loadLibrary } = require('./library');

const { ZbvNumbers: N } = loadLibrary('web/page/numbers.js');
const kLangs = ['en', 'es', 'fr', 'de', 'pt-BR', 'zh-Hans'];
let seed = 11;
const random = () => (seed = (seed * 16807) % 2147483647) / 2147483647;
const values = [0, -0, 0.5, 1.5, -2.5, 0.125, 1.005, 999.9995, 1234, 12345, 1e20, 0.0001, 1e-7, 0.1 + 0.2,
  2 ** 53 + 2, 999999.5, 1e6, 5e-13];
for (let i = 0; i < 1500; ++i) values.push((random() - 0.3) * 10 ** Math.floor(random() * 33 - 12));
for (let i = 0; i < 200; ++i) values.push(Math.round((random() - 0.5) * 10 ** Math.floor(random() * 10)));

test('numbers are written as Intl writes them, with its symbols, in every language and mode', () => {
  const modes = [{}, { group: false }];
  for (const digits of [0, 1, 2, 4, 9]) modes.push({ digits }, { digits, group: false });
  for (const precision of [1, 3, 6, 17, 21]) modes.push({ precision });
  for (const lang of kLangs) {
    const parts = new Intl.NumberFormat(lang).formatToParts(-1234567.5), s = N.symbols[lang];
    const part = (type) => parts.find((p) => p.type === type).value;
    assert.deepEqual([s.decimal, s.group, '-'], [part('decimal'), part('group'), part('minusSign')], lang);
    const least = [1000, 10000, 100000].find((x) => new Intl.NumberFormat(lang).format(x).includes(s.group));
    assert.equal(String(least).length, 3 + s.minimumGrouping, `${lang}: the least grouped number`);
    for (const options of modes) {
      // useGrouping: true would be 'always', which groups Spanish 1234; the default is 'auto'.
      const o = options.group === false ? { useGrouping: false } : {}, { digits, precision } = options;
      if (digits !== undefined) Object.assign(o, { minimumFractionDigits: digits, maximumFractionDigits: digits });
      else Object.assign(o, { minimumSignificantDigits: precision || 1, maximumSignificantDigits: precision || 21 });
      const intl = new Intl.NumberFormat(lang, o);
      for (const x of values) assert.equal(N.write(x, lang, options), intl.format(x), `${lang} ${x} ${JSON.stringify(options)}`);
    }
  }
  assert.deepEqual([0.0001, 100000, 1e-7].map((x) => N.write(x, 'en')), ['0.0001', '100,000', '0.0000001']);
  assert.deepEqual([NaN, Infinity, -Infinity, undefined].map((x) => N.write(x, 'de')), ['', '', '', '']);
  assert.equal(N.write(1234.5, 'xx'), '1,234.5', 'an unknown language writes as English');
});

test('numbers are read as a person typing in the language means them', () => {
  const reads = {
    'de': { '0,5': 0.5, '0.5': 0.5, '1 000': 1000, '1.000,5': 1000.5, '100.000': 100000, '1.000': 1000, '1,000': 1,
      '0.500': 0.5, '1.000.000': 1e6, '-1,5e3': -1500, '1\'000': 1000, ',5': 0.5 },
    'en': { '10,000': 1e4, '100,000': 1e5, ' 0.1 ': 0.1, '0,1': 0.1, '1.000': 1, '1,000.5': 1000.5, '1,000,000': 1e6,
      '1,0000': 1, '1e5': 1e5, '1E-4': 0.0001, '\u22122': -2, '+3': 3, '1.000,5': 1000.5, '1\u2019000': 1000, '0.1e+2': 10 },
    'fr': { '0,0001': 0.0001, '1\u202f000': 1000, '1\u00a0000,5': 1000.5, '0.5': 0.5, '-1 234 567,25': -1234567.25 },
    'es': { '1000': 1000, '10.000': 10000, '1,5': 1.5 },
    'zh-Hans': { '\uff11\uff10\uff10': 100, '\uff0d\uff11\uff0e\uff15': -1.5, '1,000': 1000 },
  };
  for (const [lang, cases] of Object.entries(reads)) {
    for (const [text, value] of Object.entries(cases)) assert.deepEqual(N.read(text, lang), { value }, `${lang} ${text}`);
  }
  assert.deepEqual(N.read('1.000', 'fr'), { why: 'ambiguous', meanings: [1, 1000] });
  assert.deepEqual(N.read('1.000e306', 'fr'), { value: 1e306 }, 'grouped, too large');
  assert.deepEqual(N.read('12.345e2', 'fr'), { why: 'ambiguous', meanings: [1234.5, 1234500] });
  for (const text of ['', ' ', '\u3000']) assert.deepEqual(N.read(text, 'en'), { why: 'empty' });
  for (const [text, lang] of [['1,5.000', 'de'], ...['1..2', '1,00,0', '--1', '1e', 'abc',
    '0x10', '1,000.000,5', '0,500,000', '1.5.3', '1 000.000,0', '1,000 000', '1e1234', '1e999', '.', '+', '1 000,5 1',
    '1' + '0'.repeat(64), '12,34,567'].map((t) => [t, 'en'])]) {
    assert.deepEqual(N.read(text, lang), { why: 'malformed' }, `${lang} ${text}`);
  }
  // What the page writes reads back as its value, grouped or not, to every digit or rounded.
  for (const lang of kLangs) {
    for (const x of values) {
      for (const group of [true, false]) {
        const text = N.write(x, lang, { group });
        if (text.length <= 64) assert.equal(N.read(text, lang).value, x, `${lang} ${text}`);
        const rounded = Number(N.write(x, 'en', { digits: 2, group: false }));
        assert.equal(N.read(N.write(x, lang, { digits: 2, group }), lang).value, rounded, `${lang} ${x} to 2`);
      }
    }
  }
});

test('plural categories are Intl.PluralRules\'s, of numbers and of numbers as written', () => {
  const some = [0, 1, 2, 5, 21, 1.5, 100, 1e6, 2e6, 1000001, 1e5, 0.5, -1, 1.00001, 3e7, ...values.slice(0, 300)];
  for (const lang of kLangs) {
    // ICU keeps only the last 18 digits of a whole part: from 1e18 its 'many' is not CLDR's.
    for (const x of some.filter((v) => Math.abs(v) < 1e18)) {
      assert.equal(N.plural(x, lang), new Intl.PluralRules(lang, { maximumSignificantDigits: 21 }).select(x), `${lang} ${x}`);
      for (const digits of [0, 1, 2]) {
        const rules = new Intl.PluralRules(lang, { minimumFractionDigits: digits, maximumFractionDigits: digits });
        assert.equal(N.plural(N.write(x, lang, { digits }), lang), rules.select(x), `${lang} ${x} to ${digits}`);
      }
    }
  }
  assert.deepEqual(['es', 'fr', 'pt-BR', 'de'].map((lang) => N.plural(1e18, lang)), ['many', 'many', 'many', 'other']);
  assert.deepEqual([NaN, 'many', ''].map((x) => N.plural(x, 'en')), ['other', 'other', 'other']);
});

test('messages fill in values and choose plural and select branches, nested; malformed ones throw', () => {
  const teapots = '{n, plural, =0 {no teapot} one {# teapot} many {# de teapots} other {# teapots}}';
  assert.deepEqual([0, 1, 2, 1e6, 1234.5].map((n) => N.format(teapots, { n }, 'es')),
    ['no teapot', '1 teapot', '2 teapots', '1.000.000 de teapots', '1234,5 teapots']);
  assert.deepEqual(['0', '1,0', '1', '1.000'].map((n) => N.format(teapots, { n }, 'de')),
    ['no teapot', '1,0 teapots', '1 teapot', '1.000 teapots'], 'written strings, =0 matched by value');
  assert.equal(N.format('{a} at {b}, #{c}', { a: 'Red', b: 1234.5, c: 2 }, 'fr'), 'Red at 1\u202f234,5, #2');
  const nested = '{c, select, red {{n, plural, one {a red # {k, select, big {big} other {#}}} other {# reds}}} ' +
    'other {{n, plural, one {one {c}} other {# others}}}}';
  assert.deepEqual([['red', 1, 'big', 'en'], ['red', 1, 'small', 'en'], ['red', 0, 'big', 'fr'], ['blue', 12345, '', 'en'],
    ['constructor', 1, '', 'en']].map(([c, n, k, lang]) => N.format(nested, { c, n, k }, lang)),
  ['a red 1 big', 'a red 1 1', 'a red 0 big', '12,345 others', 'one constructor']);
  const bad = {
    '{n, plural, one {x}}': /no "other"/, '{c, select, red {x}}': /no "other"/, 'a {n': /"\{" not followed/,
    'a } b': /closes nothing/, '{n, number}': /"\{" not followed/, '{n, plural, single {x} other {y}}': /"single"/,
    '{n, plural, one {x} other {y}': /never closed/, '{n, plural, one {x other {y}}': /never closed/,
    '{n, plural, one x other {y}}': /not key \{text\}/, '{c, select, a {x} a {y} other {z}}': /second "a"/,
    '{c, select, a {{m}} other {}}': /no value for \{m\}/, '{toString}': /no value for \{toString\}/,
  };
  assert.equal(N.format('constructor', {}, 'en'), 'constructor');
  for (const [pattern, why] of Object.entries(bad)) assert.throws(() => N.format(pattern, { n: 1, c: 'a' }, 'en'), why, pattern);
});
