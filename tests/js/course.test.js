// SPDX-License-Identifier: MIT
// What the page tells its course site (web/page/course.js), against windows made here: the
// SCORM 1.2 API found where the search must find it and not beyond, frames of another origin
// passed over, an LMS that refuses or throws never reaching the page, passed and failed at the
// mastery score's edge, and the messages' fields. (tests/web/lms.test.js runs it in browsers
// against a real SCORM runtime.)
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const { loadLibrary } = require('./library');

// An LMS's API that keeps its calls ([name, ...args]); each answer from answers[name] (a
// function of the arguments), else 'true', or '' for LMSGetValue.
function lms(answers = {}) {
  const calls = [];
  const api = {};
  for (const name of ['LMSInitialize', 'LMSGetValue', 'LMSSetValue', 'LMSCommit', 'LMSFinish']) {
    api[name] = (...args) => {
      calls.push([name, ...args]);
      return answers[name] ? answers[name](...args) : name === 'LMSGetValue' ? '' : 'true';
    };
  }
  return { api, calls };
}

// A window with `depth` ancestors; the API in the one `apiAt` frames up (0: itself), frames
// listed in foreign throw on any read of their API, as another origin's do. The page's own
// window (the lowest) keeps what it posts and its pagehide listener.
function frames({ depth = 0, apiAt = -1, api = null, foreign = [], opener = null } = {}) {
  const chain = [];
  for (let i = 0; i <= depth; ++i) chain.push({ posted: [], listeners: {} });
  chain.forEach((w, i) => {
    w.parent = chain[i + 1] || w;
    w.top = chain[depth];
    if (foreign.includes(i)) {
      Object.defineProperty(w, 'API', { get() { throw new Error('SecurityError'); } });
      w.postMessage = () => { throw new Error('SecurityError'); };
    } else {
      if (i === apiAt) w.API = api;
      w.postMessage = (message, origin) => chain[0].posted.push([i, message, origin]);
    }
    w.addEventListener = (type, f) => { w.listeners[type] = f; };
  });
  chain[depth].opener = opener;
  return chain[0];
}

function course(win) {
  globalThis.window = win;
  loadLibrary('web/page/course.js');
  return globalThis.ZbvCourse;
}

const set = { set: 'depth', seed: 7 };

test('the API is found in the window, its parents up to seven frames up and the opener\'s, not beyond', () => {
  // The opener: the top of a chain of its own, its API two frames up from where it starts.
  const opener = (api) => frames({ depth: 3, apiAt: 3, api }).parent;
  for (const [where, found] of [[{ depth: 0, apiAt: 0 }, true], [{ depth: 7, apiAt: 7 }, true],
    [{ depth: 8, apiAt: 8 }, false], [{ depth: 3, apiAt: 3, foreign: [1, 2] }, true],
    [{ depth: 2, opener }, true], [{ depth: 2, apiAt: -1 }, false]]) {
    const { api, calls } = lms();
    const C = course(frames({ ...where, api, opener: where.opener ? where.opener(api) : null }));
    C.start({ ...set, max: 5 });
    assert.equal(calls.some((c) => c[0] === 'LMSInitialize'), found, JSON.stringify(where));
  }
});

test('an LMS that throws on every call, or refuses to start, leaves the page as it was', () => {
  const thrower = Object.fromEntries(['LMSInitialize', 'LMSGetValue', 'LMSSetValue', 'LMSCommit',
    'LMSFinish'].map((name) => [name, () => { throw new Error(name); }]));
  const C = course(frames({ apiAt: 0, api: thrower }));
  C.start({ ...set, max: 2 });
  C.answer({ ...set, task: 1, correct: true, score: 1, max: 2 });
  C.complete({ ...set, score: 1, max: 2, code: 'X' });

  const { api, calls } = lms({ LMSInitialize: () => 'false' });
  const refusing = course(frames({ apiAt: 0, api }));
  refusing.start({ ...set, max: 2 });
  refusing.answer({ ...set, task: 1, correct: true, score: 1, max: 2 });
  refusing.complete({ ...set, score: 1, max: 2, code: 'X' });
  assert.deepEqual(calls, [['LMSInitialize', '']]);
});

// (The calls' order, the score's progress and the commits, against a real runtime: lms.test.js.)
test('passed or failed at the mastery score\'s edge: the LMS\'s, else the page\'s 80 %', () => {
  // [the LMS's mastery score, score, max, status at the end]
  for (const [given, score, max, status] of [['', 4, 5, 'passed'], ['', 11, 14, 'failed'],
    ['50', 3, 6, 'passed'], ['50', 2, 6, 'failed'], ['not a number', 8, 10, 'passed']]) {
    const { api, calls } = lms({ LMSGetValue: (name) => (name === 'cmi.student_data.mastery_score' ? given : '') });
    const C = course(frames({ depth: 1, apiAt: 1, api }));
    C.start({ ...set, max });
    C.complete({ ...set, score, max, code: 'X' });
    const sets = calls.filter((c) => c[0] === 'LMSSetValue').map((c) => c.slice(1));
    assert.deepEqual(sets.slice(-2), [['cmi.core.score.raw', String(Math.round(10000 * score / max) / 100)],
      ['cmi.core.lesson_status', status]], `mastery ${given}, ${score} of ${max}`);
  }
});

test('a page left before the end commits and finishes once; a set after the end reaches no LMS', () => {
  const { api, calls } = lms();
  const win = frames({ apiAt: 0, api });
  const C = course(win);
  C.start({ ...set, max: 5 });
  C.answer({ ...set, task: 1, correct: false, score: 0, max: 5 });
  win.listeners.pagehide();
  win.listeners.pagehide();
  C.start({ set: 'order', seed: 1, max: 5 });
  C.answer({ set: 'order', seed: 1, task: 1, correct: true, score: 1, max: 5 });
  assert.deepEqual(calls.slice(-2).map((c) => c[0]), ['LMSCommit', 'LMSFinish']);
  assert.equal(calls.filter((c) => c[0] === 'LMSFinish').length, 1);
});

test('the parent is told each answer and the end, with their own fields; a page on its own posts nothing', () => {
  const win = frames({ depth: 1 });
  const C = course(win);
  C.start({ ...set, max: 5 });
  C.answer({ ...set, task: 2, correct: false, score: 1, max: 5, code: 'not an answer\'s' });
  C.complete({ ...set, score: 4, max: 5, code: 'AB12', task: 9 });
  C.complete({ set: 'order', score: 0, max: 5 });  // what is not given is not sent as undefined
  assert.deepEqual(win.posted, [
    [1, { source: 'zbuffer-viewer', type: 'answer', set: 'depth', seed: 7, task: 2, correct: false, score: 1, max: 5 }, '*'],
    [1, { source: 'zbuffer-viewer', type: 'complete', set: 'depth', seed: 7, score: 4, max: 5, code: 'AB12' }, '*'],
    [1, { source: 'zbuffer-viewer', type: 'complete', set: 'order', score: 0, max: 5 }, '*']]);

  const alone = frames();
  course(alone).answer({ ...set, task: 1, correct: true, score: 1, max: 5 });
  const foreign = frames({ depth: 1, foreign: [1] });
  course(foreign).complete({ ...set, score: 1, max: 5, code: 'X' });  // its postMessage throws
  assert.deepEqual([alone.posted, foreign.posted], [[], []]);
});
