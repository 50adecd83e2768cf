// SPDX-License-Identifier: MIT
// The page's scripts under node, as the page links them (mergeInto(LibraryManager.library,
// ...)): each object of the library by its name in the page (ZbvFragment for $ZbvFragment),
// global, where they find each other as they do in the page.
'use strict';
const fs = require('node:fs');
const path = require('node:path');
const vm = require('node:vm');

const kRoot = path.resolve(__dirname, '../..');

function loadLibrary(...files) {
  const library = {};
  globalThis.LibraryManager = { library };
  globalThis.mergeInto = (into, members) => Object.assign(into, members);
  for (const file of files) {
    vm.runInThisContext(fs.readFileSync(path.join(kRoot, file), 'utf8'), { filename: file });
  }
  for (const [name, value] of Object.entries(library)) {
    if (name.startsWith('$') && !name.includes('__')) globalThis[name.slice(1)] = value;
  }
  return globalThis;
}

module.exports = { kRoot, loadLibrary };
