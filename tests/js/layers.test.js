// SPDX-License-Identifier: MIT
// The web layers' rules (layers.js): each fault caught when planted alone into a small set of
// sources that keeps them, and what today's tree breaks.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { kRoot } = require('./library');
const { findProblems, parse } = require('./layers');

const kLayers = ['web/gl', 'web/glut', 'web/probe', 'web/page'];

// Three layers that keep the rules: the page hears of GLUT's window through its hook, and the
// GL layer's lost context reaches GLUT through a list it fills. Names of upper layers stand in
// the lower ones only in a comment and a string; a regular expression holds quotes and a slash.
function clean() {
  return {
    'web/gl/gl.js': `mergeInto(LibraryManager.library, {
  $ZbvGl: {lostHooks: [] /* ZbvPage's and ZbvGlut's */, name: 'ZbvPage', quoted: /[/'"]/,
           // Whoever listens (ZbvPage does) hears of a lost context.
           lost: function() { ZbvGl.lostHooks.forEach(function(h) { h(); }); }},
  zbv_gl_clear__deps: ['$ZbvGl'],
  zbv_gl_clear: function() { if (ZbvGl.quoted.test(ZbvGl.name)) ZbvGl.lost(); },
});`,
    'web/gl/entry.cpp': '#include "gl/core.h"\n// zbv_page_install() is the page\'s\nextern "C" void zbv_gl_clear();\n',
    'web/glut/canvas.js': `mergeInto(LibraryManager.library, {
  $ZbvGlut__deps: ['$ZbvGl'],
  $ZbvGlut__postset: 'ZbvGl.lostHooks.push(ZbvGlut.lost);',
  $ZbvGlut: {hooks: {shown: function() {}}, lost: function() {},
             frame: function() { _zbv_glut_frame(); ZbvGlut.hooks.shown(); }},
});`,
    'web/glut/glut.cpp': '#include "gl/core.h"\nextern "C" EMSCRIPTEN_KEEPALIVE int zbv_glut_frame() { return 1; }\n',
    'web/page/page.js': `mergeInto(LibraryManager.library, {
  $ZbvPage__deps: ['$ZbvGlut'],
  $ZbvPage: {shown: function() { _zbv_page_state(); }},
  zbv_page_install__deps: ['$ZbvPage', '$ZbvGlut'],
  zbv_page_install: function() { ZbvGlut.hooks.shown = ZbvPage.shown; },
});`,
    'web/page/page_state.cpp': '#include "glut/window.h"\n' +
      'extern "C" EMSCRIPTEN_KEEPALIVE const double* zbv_page_state() { return 0; }\n',
  };
}

// The clean set with one file's text changed (the text replaced must be there).
function planted(file, from, to, extra = {}) {
  const sources = Object.assign(clean(), extra);
  assert.ok(sources[file].includes(from), `${file} holds ${from}`);
  sources[file] = sources[file].replace(from, to);
  return findProblems(sources, kLayers);
}

test('sources that keep the rules report nothing', () => {
  assert.deepEqual(findProblems(clean(), kLayers), []);
});

test('upward: a call to a higher layer\'s C++, an include of its header, a C++ call of its script', () => {
  assert.deepEqual(planted('web/gl/gl.js', 'h(); });', 'h(); }); _zbv_page_state();'),
                   ['web/gl/gl.js: ZbvGl: upward: calls _zbv_page_state, defined in web/page/page_state.cpp, of web/page']);
  assert.deepEqual(planted('web/glut/glut.cpp', '"gl/core.h"', '"page/lab_planes.h"'),
                   ['web/glut/glut.cpp: upward: includes "page/lab_planes.h", of web/page']);
  assert.deepEqual(planted('web/gl/entry.cpp', 'void zbv_gl_clear();', 'void zbv_page_install();'),
                   ['web/gl/entry.cpp: upward: calls zbv_page_install, defined in web/page/page.js, of web/page']);
});

test('undeclared use: in the code, in the postset, and a library function called', () => {
  assert.deepEqual(planted('web/page/page.js', '_zbv_page_state();', '_zbv_page_state(); ZbvGl.lost();'),
                   ['web/page/page.js: ZbvPage: undeclared use of ZbvGl (not in its __deps)']);
  assert.deepEqual(planted('web/glut/canvas.js', "['$ZbvGl']", '[]'),
                   ['web/glut/canvas.js: ZbvGlut: undeclared use of ZbvGl (not in its __deps)']);
  assert.deepEqual(planted('web/glut/canvas.js', 'lost: function() {}', 'lost: function() { _zbv_gl_clear(); }'),
                   ['web/glut/canvas.js: ZbvGlut: undeclared use of _zbv_gl_clear (not in its __deps)']);
});

test('cycle: a ring of three, reported once from its first member, in order', () => {
  const ring = {
    'web/glut/window.js': `mergeInto(LibraryManager.library, {
  $ZbvWindow__deps: ['$ZbvCursor'],
  $ZbvWindow: {at: function() { return ZbvCursor.x; }},
  $ZbvCursor__deps: ['$ZbvGlut'],
  $ZbvCursor: {x: 0, y: function() { return ZbvGlut.hooks; }},
});`,
  };
  assert.deepEqual(planted('web/glut/canvas.js', "['$ZbvGl']", "['$ZbvGl', '$ZbvWindow']", ring),
                   ['web/glut/canvas.js: ZbvGlut: cycle: ZbvGlut -> ZbvWindow -> ZbvCursor -> ZbvGlut']);
});

// Each layer's scripts and C++, as the build takes them.
function tree() {
  const sources = {};
  const walk = (dir) => fs.readdirSync(path.join(kRoot, dir), { withFileTypes: true }).forEach((f) => {
    const file = `${dir}/${f.name}`;
    if (f.isDirectory()) walk(file);
    else if (/\.(js|cpp|h)$/.test(f.name)) sources[file] = fs.readFileSync(path.join(kRoot, file), 'utf8');
  });
  kLayers.forEach(walk);
  return sources;
}

test('the tree is read whole: every script has entries, every call of C++ finds its export', () => {
  const sources = tree(), { entities, exports } = parse(sources, kLayers);
  const scripts = Object.keys(sources).filter((f) => f.endsWith('.js'));
  assert.ok(scripts.length >= 20);
  for (const file of scripts) assert.ok([...entities.values()].some((e) => e.file === file), file);
  const calls = [...entities.values()].flatMap((e) => [...e.calls]);
  assert.ok(calls.includes('zbv_glut_frame') && calls.includes('zbv_pixel_history'));
  for (const name of calls) assert.ok(exports.has(name) || entities.has(name), `_${name} is defined`);
});

test('the tree keeps the layers\' rules', (t) => {
  const problems = findProblems(tree(), kLayers);
  problems.forEach((p) => t.diagnostic(p));
  assert.deepEqual(problems, []);
});
