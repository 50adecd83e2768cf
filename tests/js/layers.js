// SPDX-License-Identifier: MIT
// The web layers' rules, checked on their sources: each library object and function of the
// page's scripts lists in its __deps every Zbv object it uses; nothing uses, lists, calls or
// includes what a higher layer defines (it hears of upper layers through hooks they register);
// and no objects depend on each other in a ring. Sources come as {path: text}, so a test can
// plant a fault without touching a file; layers as their folders, the lowest first.
'use strict';

// The tokens of a script (or of C++, which tokenizes alike for what is looked for here):
// identifiers, strings with their values, numbers, regular expressions and single
// punctuation characters; comments dropped. Tolerant: it never throws.
function tokenize(text) {
  const out = [];
  const divides = (t) => t && (t.type === 'ident' ? !/^(return|typeof|case|in|of)$/.test(t.value)
    : t.type !== 'punct' || /[)\]}]/.test(t.value));
  let i = 0;
  while (i < text.length) {
    const c = text[i];
    if (/\s/.test(c)) {
      i += 1;
    } else if (text.startsWith('//', i)) {
      i = text.indexOf('\n', i) < 0 ? text.length : text.indexOf('\n', i);
    } else if (text.startsWith('/*', i)) {
      i = text.indexOf('*/', i + 2) < 0 ? text.length : text.indexOf('*/', i + 2) + 2;
    } else if (c === '"' || c === "'" || c === '`') {
      let j = i + 1, value = '';
      while (j < text.length && text[j] !== c) {
        if (text[j] === '\\') {
          value += { n: '\n', t: '\t' }[text[j + 1]] || text[j + 1] || '';
          j += 2;
        } else {
          value += text[j++];
        }
      }
      out.push({ type: 'string', value });
      i = j + 1;
    } else if (/[\w$]/.test(c)) {
      const w = /[\w$.]*/y;  // a number's dot and exponent kept; an identifier stops at a dot
      w.lastIndex = i;
      const word = /\d/.test(c) ? w.exec(text)[0] : w.exec(text)[0].split('.')[0];
      out.push({ type: /\d/.test(c) ? 'number' : 'ident', value: word });
      i += word.length;
    } else if (c === '/' && !divides(out[out.length - 1])) {
      let j = i + 1, inClass = false;
      for (; j < text.length && text[j] !== '\n' && (inClass || text[j] !== '/'); ++j) {
        if (text[j] === '\\') j += 1;
        else if (text[j] === '[') inClass = true;
        else if (text[j] === ']') inClass = false;
      }
      out.push({ type: 'regex' });
      i = j + 1;
      while (/\w/.test(text[i] || '')) i += 1;
    } else {
      out.push({ type: 'punct', value: c });
      i += 1;
    }
  }
  return out;
}

const isPunct = (t, chars) => t && t.type === 'punct' && chars.includes(t.value);

// The Zbv objects a piece of script names, and the _zbv_ functions it calls (without the
// underscore).
function collect(tokens, into) {
  tokens.forEach((t) => {
    if (t.type !== 'ident') return;
    if (/^Zbv[A-Z]\w*$/.test(t.value)) into.uses.add(t.value);
    if (/^_zbv_\w+$/.test(t.value)) into.calls.add(t.value.slice(1));
  });
}

// The library's entries of one script, as mergeInto(LibraryManager.library, {...}) gives
// them: {id: ZbvGl for $ZbvGl, zbv_x for a function; deps, uses, calls}. A script of the page
// that is no library (the page runs it before the program) defines its top-level Zbv objects,
// `plain`: the program's library cannot list them in its __deps, and uses them as they are.
function parseScript(text, file, entities) {
  const tokens = tokenize(text), depth = [];
  if (!tokens.some((t) => t.type === 'ident' && t.value === 'mergeInto')) {
    tokens.forEach((t, i) => {
      if (t.value !== 'var' || !tokens[i + 1] || !/^Zbv[A-Z]\w*$/.test(tokens[i + 1].value)) return;
      const e = { id: tokens[i + 1].value, file, plain: true, deps: new Set(), uses: new Set(),
        calls: new Set() };
      collect(tokens, e);
      entities.set(e.id, e);
    });
    return;
  }
  let d = 0;
  for (const t of tokens) {
    depth.push(d);
    if (isPunct(t, '([{')) d += 1;
    if (isPunct(t, ')]}')) d -= 1;
  }
  for (let i = 1; i + 1 < tokens.length; ++i) {
    const key = tokens[i];
    if (depth[i] !== 2 || !/ident|string/.test(key.type) || !isPunct(tokens[i - 1], '{,') ||
        !isPunct(tokens[i + 1], ':')) continue;
    const value = [];
    for (let j = i + 2; j < tokens.length && !(depth[j] === 2 && isPunct(tokens[j], ',}')); ++j) {
      value.push(tokens[j]);
    }
    const [base, suffix = ''] = key.value.split('__');
    const id = base.replace(/^\$/, '');
    const e = entities.get(id) || { id, file, deps: new Set(), uses: new Set(), calls: new Set() };
    entities.set(id, e);
    if (suffix === 'deps') {
      value.filter((t) => t.type === 'string')
        .forEach((t) => e.deps.add(t.value.replace(/^\$/, '')));
    } else if (suffix === 'postset') {
      collect(tokenize(value.filter((t) => t.type === 'string').map((t) => t.value).join('')), e);
    } else if (suffix === '') {
      collect(value, e);
    }
  }
}

// What a C++ file exports to the page (EMSCRIPTEN_KEEPALIVE or ZBV_EXPORT, before the
// function's name), the headers it includes, and the zbv_ functions it names with a call.
function parseCpp(text) {
  const tokens = tokenize(text), exports = [], includes = [], calls = [];
  tokens.forEach((t, i) => {
    const next = tokens[i + 1];
    const header = tokens[i + 2];
    if (isPunct(t, '#') && next && next.value === 'include' && header && header.type === 'string') {
      includes.push(header.value);
    }
    if (t.type === 'ident' && /^zbv_\w+$/.test(t.value) && isPunct(next, '(')) calls.push(t.value);
    if (!/^(EMSCRIPTEN_KEEPALIVE|ZBV_EXPORT)$/.test(t.value) ||
        (tokens[i - 1] && tokens[i - 1].value === 'define')) return;
    for (let j = i + 1; j + 1 < tokens.length && !isPunct(tokens[j], ';{#'); ++j) {
      if (tokens[j].type === 'ident' && isPunct(tokens[j + 1], '(')) {
        exports.push(tokens[j].value);
        break;
      }
    }
  });
  return { exports, includes, calls };
}

// Every entry of the scripts and every export and include of the C++, by file and layer.
function parse(sources, layers) {
  const layerOf = (file) => layers.findIndex((l) => file.startsWith(`${l}/`));
  const entities = new Map(), exports = new Map(), cpp = [];
  // The lowest layer's files first, each layer's in the order of their paths.
  const files = Object.keys(sources).filter((file) => layerOf(file) >= 0)
    .sort((a, b) => layerOf(a) - layerOf(b) || (a < b ? -1 : 1));
  for (const file of files) {
    if (file.endsWith('.js')) parseScript(sources[file], file, entities);
    if (/\.(cpp|h)$/.test(file)) {
      const c = Object.assign({ file }, parseCpp(sources[file]));
      c.exports.forEach((name) => exports.set(name, file));
      cpp.push(c);
    }
  }
  return { entities, exports, cpp, layerOf };
}

// The rings of the graph, each once, from its first member in the order of definition.
function cycles(order, edges) {
  const found = [], index = new Map(order.map((id, i) => [id, i]));
  order.forEach((start, s) => {
    const walk = (id, path) => {
      for (const next of edges.get(id) || []) {
        if (next === start) found.push([...path, start]);
        else if (index.get(next) > s && !path.includes(next)) walk(next, [...path, next]);
      }
    };
    walk(start, [start]);
  });
  return found;
}

function findProblems(sources, layers) {
  const { entities, exports, cpp, layerOf } = parse(sources, layers);
  const problems = [], edges = new Map();
  // Where a name is defined (a script's entry first, then a C++ export), and its layer.
  const owner = (name) => {
    const file = entities.has(name) ? entities.get(name).file : exports.get(name);
    return file ? { file, layer: layerOf(file) } : null;
  };
  const above = (name, layer) => {
    const o = owner(name);
    return o && o.layer > layer ? layers[o.layer] : null;
  };
  for (const e of entities.values()) {
    const layer = layerOf(e.file), say = (text) => problems.push(`${e.file}: ${e.id}: ${text}`);
    const undeclared = (name, as) => {
      const plain = entities.has(name) && entities.get(name).plain;
      if (name !== e.id && !e.deps.has(name) && !plain) say(`undeclared use of ${as} (not in its __deps)`);
    };
    e.uses.forEach((name) => undeclared(name, name));
    e.calls.forEach((name) => entities.has(name) && undeclared(name, `_${name}`));
    for (const name of new Set([...e.deps, ...e.uses])) {
      const upper = above(name, layer);
      if (upper) say(`upward: ${e.deps.has(name) ? 'depends on' : 'uses'} ${name}, of ${upper}`);
    }
    for (const name of e.calls) {
      const upper = above(name, layer);
      if (upper) say(`upward: calls _${name}, defined in ${owner(name).file}, of ${upper}`);
    }
    edges.set(e.id, [...new Set([...e.deps, ...e.uses, ...e.calls])]
      .filter((name) => name !== e.id && entities.has(name)));
  }
  for (const c of cpp) {
    const layer = layerOf(c.file);
    for (const header of c.includes) {
      const folder = layers.findIndex((l) => l.split('/').pop() === header.split('/')[0]);
      if (folder > layer) problems.push(`${c.file}: upward: includes "${header}", of ${layers[folder]}`);
    }
    for (const name of new Set(c.calls)) {
      const upper = entities.has(name) && above(name, layer);
      if (upper) {
        problems.push(`${c.file}: upward: calls ${name}, defined in ${owner(name).file}, of ${upper}`);
      }
    }
  }
  for (const ring of cycles([...entities.keys()], edges)) {
    problems.push(`${entities.get(ring[0]).file}: ${ring[0]}: cycle: ${ring.join(' -> ')}`);
  }
  return problems;
}

module.exports = { findProblems, parse, tokenize };
