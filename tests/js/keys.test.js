// SPDX-License-Identifier: MIT
// The page's keys, from its own buttons (web/page/shell.html): each sets what the scene's
// facts say it sets, a "keys" value names the state those keys give from start-up, and the
// keys written for a state give it back; the keyboard passes on what the viewer should get.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { kRoot, loadLibrary } = require('./library');

const { ZbvKeys: K } = loadLibrary('web/page/fragment.js', 'web/page/keys.js');
// The page's own document, where no element is the body.
globalThis.document = { body: {}, documentElement: {} };
const facts = JSON.parse(fs.readFileSync(path.join(kRoot, 'scene/facts.json'), 'utf8'));
const shell = fs.readFileSync(path.join(kRoot, 'web/page/shell.html'), 'utf8');
K.collect([...shell.matchAll(/data-key="(.)" data-group="(\w+)" data-value="(\w+)"/g)]
  .map(([, key, group, value]) => ({ key, group, value })));

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
