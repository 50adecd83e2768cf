// SPDX-License-Identifier: MIT
// The page's scripts under node, as the page links them (mergeInto(LibraryManager.library,
// ...)): each object of the library by its name in the page (ZbvFragment for $ZbvFragment),
// global, where they find each other as they do in the page; after them, the postsets of
// those whose objects are all loaded. Those the build writes (web/page/facts.py) are written
// here as the build does.
'use strict';
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const vm = require('node:vm');

const kRoot = path.resolve(__dirname, '../..');
const kFacts = path.join(kRoot, 'web/page/facts.py');

function loadLibrary(...files) {
  const library = {};
  globalThis.LibraryManager = { library };
  globalThis.mergeInto = (into, members) => Object.assign(into, members);
  for (const file of files) {
    vm.runInThisContext(fs.readFileSync(path.resolve(kRoot, file), 'utf8'), { filename: file });
  }
  for (const [name, value] of Object.entries(library)) {
    if (name.startsWith('$') && !name.includes('__')) globalThis[name.slice(1)] = value;
  }
  for (const [name, value] of Object.entries(library)) {
    const uses = [...String(value).matchAll(/\bZbv\w+/g)].map(([object]) => `$${object}`);
    if (name.endsWith('__postset') && uses.every((object) => object in library)) {
      vm.runInThisContext(value, { filename: name });
    }
  }
  return globalThis;
}

// What web/page/facts.py writes for KIND (header, probe, page or buttons), in a folder of
// its own; options before it (--facts FILE, --words DIR) point it elsewhere. Its path.
function generated(kind, ...options) {
  const out = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'zbv-facts-')), `${kind}.out`);
  execFileSync('python3', [kFacts, ...options, kind, out], { stdio: ['ignore', 'ignore', 'pipe'] });
  return out;
}

module.exports = { kRoot, loadLibrary, generated };
