// SPDX-License-Identifier: MIT
// The page's assembly (web/page/assemble_page.py) with the facts it is given: the languages
// are the catalogues there are, a new one taken in with no list to edit; a catalogue that is
// malformed, or whose words are not English's in English's order, stops it; so does a key
// button written into the shell by hand.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const { spawnSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { kRoot } = require('./library');

const kWords = path.join(kRoot, 'web/page/words');
const kShell = '<div>{{{ KEYS }}}</div>\n<noscript>{{{ NOSCRIPT }}}</noscript>\n{{{ WORDS }}}\n{{{ PROGRAM }}}\n{{{ SCRIPT }}}\n{{{ LOADER }}}\n';

// The assembly of a shell and a copy of the catalogues, each changed by change(dir):
// {status, stderr, page}.
function assemble(change = () => {}, shell = kShell) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'zbv-assembly-'));
  const words = path.join(dir, 'words');
  fs.cpSync(kWords, words, { recursive: true });
  change(words);
  fs.writeFileSync(path.join(dir, 'shell.html'), shell);
  fs.writeFileSync(path.join(dir, 'script.js'), 'var program;\n');
  fs.writeFileSync(path.join(dir, 'program.wasm'), Buffer.from([0, 97, 115, 109]));
  fs.writeFileSync(path.join(dir, 'loader.js'), 'var loader;\n');
  const out = path.join(dir, 'page.html');
  const run = spawnSync('python3', [path.join(kRoot, 'web/page/assemble_page.py'),
    ...['shell.html', 'script.js', 'program.wasm', 'loader.js', 'words'].map((f) => path.join(dir, f)),
    path.join(kRoot, 'scene/facts.json'), out], { encoding: 'utf8' });
  return { status: run.status, stderr: run.stderr, page: run.status === 0 ? fs.readFileSync(out, 'utf8') : '' };
}
const langs = (page) => /data-langs="([^"]*)"/.exec(page)[1].split(',');
const edit = (file, f) => (words) => {
  const at = path.join(words, file);
  fs.writeFileSync(at, f(fs.readFileSync(at, 'utf8')));
};

test('the languages are the catalogues there are, in their order, a new one taken in', () => {
  const today = assemble();
  assert.equal(today.status, 0, today.stderr);
  assert.equal(langs(today.page)[0], 'en');
  assert.equal((today.page.match(/<button type="button" data-key=/g) || []).length, 7);
  const added = assemble((words) => {
    const french = JSON.parse(fs.readFileSync(path.join(words, 'fr.json'), 'utf8'));
    fs.writeFileSync(path.join(words, 'xx.json'), JSON.stringify({ ...french, language: 'Xx', languageOrder: 1.5e3 }));
  });
  assert.equal(added.status, 0, added.stderr);
  assert.deepEqual(langs(added.page), [...langs(today.page), 'xx']);
  assert.match(added.page, /data-names="[^"]*,Xx"/);
  // Placed by its order, not its name.
  const first = assemble(edit('zh-Hans.json', (t) => t.replace(/"languageOrder": \d+/, '"languageOrder": -1')));
  assert.deepEqual(langs(first.page).slice(0, 2), ['en', 'zh-Hans']);
});

test('a broken catalogue, or a key button of the shell\'s own, stops the assembly', () => {
  const refused = {
    malformed: assemble(edit('de.json', (t) => t.replace(/,\s*$/m, ''))),
    'words out of order': assemble(edit('es.json', (t) => {
      const words = Object.entries(JSON.parse(t));
      [words[3], words[4]] = [words[4], words[3]];
      return JSON.stringify(Object.fromEntries(words));
    })),
    'a word missing': assemble(edit('fr.json', (t) => JSON.stringify({ ...JSON.parse(t), title: undefined }))),
    'two in one place': assemble(edit('fr.json', (t) => t.replace(/"languageOrder": \d+/, '"languageOrder": 1'))),
    'a hand-written button': assemble(() => {}, kShell.replace('<div>', '<div><button data-key="8"></button>')),
  };
  for (const [what, run] of Object.entries(refused)) {
    assert.notEqual(run.status, 0, what);
    assert.match(run.stderr, /\S/, `${what}: no reason given`);
  }
});
