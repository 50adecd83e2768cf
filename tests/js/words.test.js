// SPDX-License-Identifier: MIT
// The page's catalogues: every language has every word English has, no other, with the same
// places for numbers and names; every word the page names is in English's.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { kRoot, loadLibrary } = require('./library');

const dir = path.join(kRoot, 'web/page/words');
const read = (file) => JSON.parse(fs.readFileSync(path.join(dir, file), 'utf8'));
const english = read('en.json');
const places = (text) => [...text.matchAll(/\{(\w+)\}/g)].map((m) => m[1]).sort().join(',');

test('each language has every word English has, no other, with the same places', () => {
  const others = fs.readdirSync(dir).filter((f) => f.endsWith('.json') && f !== 'en.json');
  assert.deepEqual(others.sort(), ['de.json', 'es.json', 'fr.json', 'pt-BR.json', 'zh-Hans.json']);
  for (const file of others) {
    const words = read(file);
    assert.deepEqual(Object.keys(words), Object.keys(english), `${file}: its words, in English's order`);
    for (const [key, text] of Object.entries(english)) {
      assert.ok(words[key].trim() !== '', `${file}: ${key} is empty`);
      assert.equal(places(words[key]), places(text), `${file}: ${key}'s places`);
    }
  }
});

test('every word the page names is in English\'s catalogue', () => {
  const shell = fs.readFileSync(path.join(kRoot, 'web/page/shell.html'), 'utf8');
  const named = [...shell.matchAll(/data-w(?:-label)?="([^"]+)"/g)].map((m) => m[1]);
  const scripts = fs.readdirSync(path.join(kRoot, 'web/page')).filter((f) => f.endsWith('.js'))
    .map((f) => fs.readFileSync(path.join(kRoot, 'web/page', f), 'utf8')).join('\n');
  // Words asked for by their whole name, and by a name's beginning ('colour.' + name).
  const whole = [...scripts.matchAll(/\bt\('([\w.]+)'[,)]/g)].map((m) => m[1]);
  const begun = [...scripts.matchAll(/\bt\('([\w.]+\.)' \+/g)].map((m) => m[1]);
  assert.ok(named.length > 50 && whole.length > 30 && begun.length > 3, 'the page names few words');
  for (const key of [...named, ...whole]) assert.ok(key in english, `${key} is not in en.json`);
  for (const start of begun) {
    assert.ok(Object.keys(english).some((k) => k.startsWith(start)), `no word begins ${start}`);
  }
});

test('English numbers are written as Intl writes them, without it', () => {
  const { ZbvWords: W } = loadLibrary('web/page/words.js');
  let seed = 7;
  const random = () => (seed = (seed * 16807) % 2147483647) / 2147483647;
  const values = [0, -0, 0.5, 1.5, 2.5, -2.5, 0.125, 999.9995, 1e20, 123456789, 0.00001234, 65535];
  for (let i = 0; i < 4000; ++i) values.push((random() - 0.3) * 10 ** Math.floor(random() * 30 - 12));
  for (const x of values) {
    for (const digits of [0, 1, 2, 4, 6, 9]) {
      const intl = new Intl.NumberFormat('en', { minimumFractionDigits: digits, maximumFractionDigits: digits });
      assert.equal(W.english1(x, digits), intl.format(x), `${x} to ${digits} decimals`);
    }
    for (const precision of [1, 3, 6, 9]) {
      const intl = new Intl.NumberFormat('en', { maximumSignificantDigits: precision,
        minimumSignificantDigits: precision });
      assert.equal(W.english1(x, 0, precision), intl.format(x), `${x} to ${precision} digits`);
    }
  }
});
