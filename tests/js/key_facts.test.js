// SPDX-License-Identifier: MIT
// The page's keys, as the build writes them from the scene's facts ($ZbvFacts, and the key
// buttons the assembly puts into the page): each sets what the facts say it sets, a "keys"
// value names the state those keys give from start-up, and the keys written for a state give
// it back; the keyboard passes on what the viewer should get.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { kRoot, loadLibrary, generated } = require('./library');

const { ZbvKeys: K, ZbvFacts: F } = loadLibrary('web/page/fragment.js', 'web/page/keys.js',
  generated('probe'), generated('page'));
// The page's own document, where no element is the body.
globalThis.document = { body: {}, documentElement: {} };
const facts = JSON.parse(fs.readFileSync(path.join(kRoot, 'scene/facts.json'), 'utf8'));
K.collect(F.keys);
// The key buttons the assembly writes for these facts: {key, group, value, word} each.
const buttons = (factsFile) => [...fs.readFileSync(generated('buttons', '--facts', factsFile), 'utf8')
  .matchAll(/data-key="(.)" data-group="(\w+)" data-value="(\w+)"><span data-w="([\w.]+)" data-w-key="\1">/g)]
  .map(([, key, group, value, word]) => ({ key, group, value, word }));

// The facts' key table in the page's words.
const kWords = { depthTest: ['depth', (v) => (v ? 'on' : 'off')],
  lighting: ['lighting', (v) => (v ? 'on' : 'off')], light: ['light', (v) => v] };
const kStartUp = { depth: 'on', lighting: 'on', light: 'white' };

test('each key sets what the facts say, and a "keys" value names the state it gives', () => {
  const keys = Object.keys(facts.keys).filter((k) => k !== 'about');
  assert.deepEqual(K.buttons.map((b) => b.key), keys);
  for (const key of keys) {
    const [[fact, value]] = Object.entries(facts.keys[key]);
    const [group, word] = kWords[fact];
    assert.deepEqual(K.named(key, kStartUp), { ...kStartUp, [group]: word(value) }, `keys=${key}`);
  }
  assert.deepEqual(K.named('245', kStartUp), { depth: 'off', lighting: 'off', light: 'yellow' });
  assert.deepEqual(K.named('22', kStartUp), kStartUp, 'a malformed value');
});

test('the buttons are the keys of the facts, and follow them', () => {
  const shown = buttons(path.join(kRoot, 'scene/facts.json'));
  assert.deepEqual(shown, F.keys.map((k) => ({ ...k, word: `key.${k.key}` })));
  // A key's meaning changed in the facts alone: the page's button says what it now sets.
  const planted = path.join(path.dirname(generated('buttons')), 'facts.json');
  fs.writeFileSync(planted, JSON.stringify({ ...facts, keys: { ...facts.keys, 5: { light: 'cyan' } } }));
  assert.deepEqual(buttons(planted).find((b) => b.key === '5'), { key: '5', group: 'light', value: 'cyan', word: 'key.5' });
});

test('the keys written for every state name it again, shortest first', () => {
  for (const depth of ['on', 'off']) {
    for (const lighting of ['on', 'off']) {
      for (const light of ['yellow', 'cyan', 'white']) {
        const state = { depth, lighting, light }, keys = K.fromStartUp(state, kStartUp);
        assert.deepEqual(K.named(keys, kStartUp), state, keys);
        assert.equal(keys.length, [depth !== 'on', lighting !== 'on', light !== 'white']
          .filter(Boolean).length, keys);
      }
    }
  }
});

test('the keyboard: characters reach the viewer, shortcuts and fields keep theirs', () => {
  const press = (key, extra = {}) => K.byte({ key, getModifierState: () => false, ...extra });
  assert.deepEqual(['4', 'q', 'Escape', 'Enter', 'Delete', ' '].map((k) => press(k)), [52, 113, 27, 13, 127, 32]);
  assert.deepEqual(['ArrowLeft', 'F2', 'Shift'].map((k) => press(k)), [-1, -1, -1]);
  assert.equal(press('4', { ctrlKey: true }), -1);
  assert.equal(press('4', { altKey: true, getModifierState: (m) => m === 'AltGraph' }), 52);
  assert.equal(press('4', { isComposing: true }), -1);
  const on = (tagName, type, key = '4') => K.elementTakes({ key,
    target: { nodeType: 1, tagName, type, isContentEditable: false } }, null);
  assert.deepEqual([on('INPUT', 'number'), on('TEXTAREA'), on('INPUT', 'radio'),
    on('INPUT', 'range'), on('BUTTON', 'button'), on('BUTTON', 'button', 'Enter')],
  [true, true, false, false, false, true]);
});
