// SPDX-License-Identifier: MIT
// The page's catalogues: every language has every word English has, no other, with the same
// places for numbers and names; every word the page names is in English's; the words for the
// frame's draws are those of the scene's facts, no more.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { kRoot, loadLibrary, generated } = require('./library');

const dir = path.join(kRoot, 'web/page/words');
const read = (file) => JSON.parse(fs.readFileSync(path.join(dir, file), 'utf8'));
const english = read('en.json');
// The names a sentence puts values in, at any depth of its choices, as the page's own parser
// reads them: a branch's text is no place, even one word alone ("floor {floor}").
const { ZbvNumbers } = loadLibrary('web/page/numbers.js');
const places = (text) => {
  const names = new Set();
  const walk = (nodes) => nodes.forEach((node) => {
    if (typeof node !== 'object' || node.hash) return;
    names.add(node.name);
    Object.values(node.branches || {}).forEach(walk);
  });
  walk(ZbvNumbers.parse({ text: String(text), at: 0 }));
  return [...names].sort().join(',');
};
// The catalogue's place among the languages, which is no word.
const kOrder = 'languageOrder';

test('each language has every word English has, no other, with the same places', () => {
  const { ZbvFacts: F } = loadLibrary(generated('probe'), generated('page'));
  const files = fs.readdirSync(dir).filter((f) => f.endsWith('.json'));
  // The page speaks every catalogue there is, English first.
  assert.deepEqual([...F.languages].sort(), files.map((f) => f.slice(0, -5)).sort());
  assert.equal(F.languages[0], 'en');
  for (const file of files.filter((f) => f !== 'en.json')) {
    const words = read(file);
    assert.deepEqual(Object.keys(words), Object.keys(english), `${file}: its words, in English's order`);
    for (const [key, text] of Object.entries(english)) {
      if (key === kOrder) continue;
      assert.ok(words[key].trim() !== '', `${file}: ${key} is empty`);
      assert.equal(places(words[key]), places(text), `${file}: ${key}'s places`);
    }
  }
});

test('every word the page names is in English\'s catalogue', () => {
  const shell = fs.readFileSync(path.join(kRoot, 'web/page/shell.html'), 'utf8') +
    fs.readFileSync(generated('buttons'), 'utf8');
  const named = [...shell.matchAll(/data-w(?:-label)?="([^"]+)"/g)].map((m) => m[1]);
  const scripts = fs.readdirSync(path.join(kRoot, 'web/page')).filter((f) => f.endsWith('.js'))
    .map((f) => fs.readFileSync(path.join(kRoot, 'web/page', f), 'utf8')).join('\n');
  // Words asked for by their whole name, and by a name's beginning ('colour.' + name).
  const whole = [...scripts.matchAll(/\bt\('([\w.]+)'[,)]/g)].map((m) => m[1]);
  const begun = [...scripts.matchAll(/\bt\('([\w.]+\.)' \+/g)].map((m) => m[1]);
  assert.ok(named.length > 50 && whole.length > 30 && begun.length > 3, 'the page names few words');
  assert.ok(named.includes('key.1'), 'the key buttons name no words');
  for (const key of [...named, ...whole]) assert.ok(key in english, `${key} is not in en.json`);
  for (const start of begun) {
    assert.ok(Object.keys(english).some((k) => k.startsWith(start)), `no word begins ${start}`);
  }
});

test('the words name each draw of the facts, and a step after each', () => {
  const facts = JSON.parse(fs.readFileSync(path.join(kRoot, 'scene/facts.json'), 'utf8'));
  const draws = facts.draws.files.map((f) => f.replace(/^\d+-/, ''));
  // The draw's name chooses by the facts' names, and every sentence that names a draw too.
  const naming = Object.entries(english).filter(([, text]) => String(text).includes('{draw, select,'));
  assert.ok(naming.length >= 3, 'no sentence names a draw');
  for (const [key, text] of naming) {
    for (const d of draws) assert.ok(text.includes(` ${d} {`), `${key} does not name the ${d}`);
  }
  const numbered = (start) => Object.keys(english).filter((k) => new RegExp(`^${start}\\.\\d+$`).test(k));
  // A step for the clear and one after each draw.
  assert.deepEqual(numbered('step'), Array.from({ length: draws.length + 1 }, (_, i) => `step.${i}`));
});

test('every word formats in every language, its choices those English offers', () => {
  const { ZbvNumbers: N } = loadLibrary('web/page/numbers.js');
  const catalogues = fs.readdirSync(dir).filter((f) => f.endsWith('.json')).map((f) => [f, read(f)]);
  // The values a word is filled with: each place a number as the language writes it, or the
  // first choice English offers there.
  const choices = (text) => Object.fromEntries([...String(text).matchAll(/\{(\w+), select, ([\w-]+) /g)]
    .map((m) => [m[1], m[2]]));
  for (const [file, words] of catalogues) {
    const lang = file.replace(/\.json$/, '');
    for (const [key, text] of Object.entries(words)) {
      if (typeof text !== 'string') continue;
      const values = Object.fromEntries(places(english[key]).split(',').filter(Boolean)
        .map((name) => [name, N.write(1.5, lang, { digits: 1 })]));
      Object.assign(values, choices(english[key]));
      assert.doesNotThrow(() => N.format(text, values, lang), `${file}: ${key}`);
      // The choices a translation makes are among those English makes, and it makes them all.
      const own = [...text.matchAll(/\{(\w+), select, (.*?)\}\}/g)].map((m) => m[1]);
      for (const name of own) assert.ok(String(english[key]).includes(`{${name}, select,`), `${file}: ${key}: ${name}`);
    }
  }
});
