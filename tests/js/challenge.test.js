// SPDX-License-Identifier: MIT
// The challenges' sets and completion codes: a seed gives its tasks and only its own; each
// grader marks the right answer right and the near miss wrong (the pixel beside an edge, the
// code one off) on pixel histories made here from the scene's facts, with codes and verdicts
// worked out here (GL_LESS on the buffer's fixed-point codes), not by the page's code; a code
// gives back what it was made from, and no one-character change of it is taken.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { kRoot, loadLibrary, generated } = require('./library');

const { ZbvChallengeSets: S, ZbvChallengeCode: C } = loadLibrary(generated('probe'), generated('page'),
  'web/gl/depth_format.js', 'web/page/precision.js', 'web/page/challenge_sets.js', 'web/page/challenge_code.js');
const facts = JSON.parse(fs.readFileSync(path.join(kRoot, 'scene/facts.json'), 'utf8'));
const kDraws = facts.draws.files.map((f) => f.replace(/^\d+-/, ''));

// The oracle: window z of a distance ahead for a perspective projection, and its code in a
// buffer of `bits` (a fixed-point value rounded to the nearest).
const windowZ = (t, n, f) => (f / (f - n)) * (1 - n / t);
const code = (t, n, f, bits) => Math.round(windowZ(t, n, f) * (2 ** bits - 1));
// How far ahead the ray through pixel (x, y) (from the bottom left) meets the floor.
function floorDistance(x, y) {
  const { eye, target, fovyDegrees } = facts.camera, { width, height } = facts.window;
  const len = Math.hypot(...target.map((v, i) => v - eye[i]));
  const forward = target.map((v, i) => (v - eye[i]) / len);  // no sideways part: x is 0
  const up = [0, forward[2], -forward[1]].map((v) => -v);     // forward x side, side = (1, 0, 0)
  const s = Math.tan((fovyDegrees * Math.PI) / 360), ny = (2 * (y + 0.5)) / height - 1;
  const rayY = ny * s * up[1] + forward[1];
  assert.ok(x >= 0 && x < width);
  return (facts.floor.y - eye[1]) / rayY;
}

// A pixel's history as the probe gives it, from the draws that reach it in order:
// [{draw, t (distance ahead) or t: null for none, rgb, lit, ndotl}], with the depth test on
// or off, in a buffer of `bits`, with these planes.
function history(reaching, { depthTest = true, bits = 24, near = 0.1, far = 100, shown = 4 } = {}) {
  let stored = 2 ** bits - 1, storedDepth = 1;
  const draws = kDraws.map((name, k) => {
    const r = reaching.find((d) => d.draw === name);
    const d = { shown: k < shown ? 1 : 0, depthTest: depthTest ? 1 : 0, lighting: r && r.lit === false ? 0 : 1,
      fragments: [], verdict: 0 };
    if (!d.shown || !r || r.t === null) return d;
    const c = r.code !== undefined ? r.code : code(r.t, near, far, bits);
    const verdict = !depthTest ? 0 : c < stored ? 1 : 2;
    const [red, green, blue] = r.rgb || [0.5, 0.5, 0.5];
    const v = (ndotl) => ({ ambientRed: 0.1, ambientGreen: 0.1, ambientBlue: 0.1, diffuseRed: Math.max(0, ndotl) * (r.light || [1, 1, 1])[0],
      diffuseGreen: Math.max(0, ndotl) * (r.light || [1, 1, 1])[1], diffuseBlue: Math.max(0, ndotl) * (r.light || [1, 1, 1])[2],
      specularRed: 0, specularGreen: 0, specularBlue: 0, ndotl });
    d.fragments.push({ depth: windowZ(r.t, near, far), code: c, exactCode: c, before: stored, beforeDepth: storedDepth,
      verdict, red, green, blue, weight0: 0.5, weight1: 0.3, weight2: 0.2, vertices: (r.ndotl || [0.5, 0.5, 0.5]).map(v) });
    d.verdict = verdict;
    if (verdict !== 2 && depthTest) {
      stored = c;
      storedDepth = windowZ(r.t, near, far);
    }
    return d;
  });
  return { near, far, draws };
}
// A probe that gives each position's history from `at(position)`.
const probe = (at) => ({ history: at, width: 300, height: 300 });
const choose = (task, option) => task.options.indexOf(option);

test('a seed gives its own tasks, every time; other seeds other tasks', () => {
  for (const set of S.names) {
    const tasks = S.tasks(set, 7);
    assert.ok(tasks.length >= 5 && tasks.length <= 8, `${set}: ${tasks.length} tasks`);
    assert.deepEqual(S.tasks(set, 7), tasks, set);
    const others = new Set(Array.from({ length: 12 }, (_, i) => JSON.stringify(S.tasks(set, 100 + i))));
    assert.ok(others.size >= 10, `${set}: only ${others.size} sets of tasks from 12 seeds`);
    assert.notDeepEqual(S.tasks(set, 8), tasks, `${set}: seeds 7 and 8`);
    // Every marked pixel inside the frame, every option asked of known.
    for (const t of tasks) {
      if (t.state.pixel) t.state.pixel.forEach((v) => assert.ok(v > 0 && v < 300, `${set}: ${t.kind} at ${t.state.pixel}`));
      assert.ok(t.answer === 'choice' ? (t.options || t.order).length >= 2 : ['pixel', 'lab'].includes(t.answer));
    }
  }
  assert.equal(S.tasks('shadows', 7), null);
});

test('the depth set: the winner, a fragment passing, the red teapot failing, the test switched off', () => {
  const [winner] = S.tasks('depth', 7).filter((t) => t.kind === 'winner');
  const grey = { draw: 'grey-teapot', t: 10 }, floorAt = (y) => ({ draw: 'floor', t: floorDistance(150, y) });
  // Grey teapot before the floor, the red one behind it: the grey teapot wins.
  const over = history([floorAt(120), grey, { draw: 'red-teapot', t: 14 }]);
  assert.equal(S.check(winner, choose(winner, 'grey-teapot'), probe(() => over)).right, true);
  assert.equal(S.check(winner, choose(winner, 'red-teapot'), probe(() => over)).right, false);
  // Beside the teapot's edge only the floor reaches the pixel.
  assert.equal(S.check(winner, choose(winner, 'grey-teapot'), probe(() => history([floorAt(120)]))).right, false);
  assert.equal(S.check(winner, choose(winner, 'background'), probe(() => history([]))).right, true);

  const pass = { kind: 'pass', options: ['yes', 'no'], draw: 2, state: { pixel: [150, 150] } };
  const behind = history([floorAt(120), grey, { draw: 'red-teapot', t: 14 }]);
  const before = history([floorAt(120), grey, { draw: 'red-teapot', t: 9 }]);
  assert.equal(S.check(pass, 1, probe(() => behind)).right, true);
  assert.equal(S.check(pass, 0, probe(() => before)).right, true);
  assert.equal(S.check(pass, 0, probe(() => behind)).right, false);
  // The same code as the grey teapot's does not pass (GL_LESS); one less does.
  const greyCode = code(10, 0.1, 100, 24);
  assert.equal(S.check(pass, 1, probe(() => history([grey, { draw: 'red-teapot', t: 10, code: greyCode }]))).right, true);
  assert.equal(S.check(pass, 0, probe(() => history([grey, { draw: 'red-teapot', t: 10, code: greyCode - 1 }]))).right, true);

  const fails = { kind: 'fails' }, off = { kind: 'off' };
  assert.equal(S.check(fails, [150, 150], probe(() => behind)).right, true);
  assert.equal(S.check(fails, [150, 150], probe(() => before)).right, false);
  assert.equal(S.check(fails, [150, 150], probe(() => history([floorAt(120), grey]))).right, false);
  // Without the test the red teapot drawn after the grey one would show, in its own colour.
  const redBehind = history([floorAt(120), grey, { draw: 'red-teapot', t: 14, rgb: [0.6, 0.1, 0.1] }]);
  assert.equal(S.check(off, [150, 150], probe(() => redBehind)).right, true);
  assert.equal(S.check(off, [150, 150], probe(() => before)).right, false);
  assert.equal(S.check(off, [150, 150], probe(() => history([floorAt(120)]))).right, false);
});

test('the order set: after each draw, farther over nearer, the teapot a painter draws last', () => {
  const after = { kind: 'after', options: [...kDraws, 'background'], draw: 2, state: { pixel: [150, 150] } };
  const floor = { draw: 'floor', t: floorDistance(150, 120) };
  const shownAfter2 = history([floor, { draw: 'grey-teapot', t: 10 }, { draw: 'red-teapot', t: 14 }], { depthTest: false, shown: 2 });
  assert.equal(S.check(after, choose(after, 'grey-teapot'), probe(() => shownAfter2)).right, true);
  assert.equal(S.check(after, choose(after, 'red-teapot'), probe(() => shownAfter2)).right, false);

  const cover = { kind: 'cover' };
  const off = (list) => history(list, { depthTest: false });
  assert.equal(S.check(cover, [1, 1], probe(() => off([floor, { draw: 'grey-teapot', t: 10 }, { draw: 'red-teapot', t: 14 }]))).right, true);
  assert.equal(S.check(cover, [1, 1], probe(() => off([floor, { draw: 'grey-teapot', t: 10 }]))).right, false);
  assert.equal(S.check(cover, [1, 1], probe(() => off([{ draw: 'red-teapot', t: 14 }, { draw: 'blue-teapot', t: 12 }]))).right, false);

  // The facts' overlaps: grey over red, grey over blue, red over blue. With the red teapot
  // moved in front of all, it is the one to draw last.
  const last = S.tasks('order', 7).find((t) => t.kind === 'last');
  const scene = (grey, red, blue) => (position) => {
    const names = Object.entries(facts.landmarks).filter(([n, at]) => n !== 'about' &&
      at[0] + 0.5 === position[0] && 299 - at[1] + 0.5 === position[1]).map(([n]) => n);
    const pair = { teapot1Over2: ['grey-teapot', 'red-teapot'], teapot1Over3: ['grey-teapot', 'blue-teapot'],
      teapot2Over3: ['red-teapot', 'blue-teapot'] }[names[0]];
    const t = { 'grey-teapot': grey, 'red-teapot': red, 'blue-teapot': blue };
    return history(pair.map((draw) => ({ draw, t: t[draw] })));
  };
  assert.equal(S.check(last, choose(last, 'grey-teapot'), probe(scene(10, 14, 20))).right, true);
  assert.equal(S.check(last, choose(last, 'blue-teapot'), probe(scene(10, 14, 20))).right, false);
  assert.equal(S.check(last, choose(last, 'red-teapot'), probe(scene(10, 5, 20))).right, true);
});

test('the precision set: planes that end the fight, a shared code, codes between two distances', () => {
  // The blue teapot stands half a unit before the floor over a patch of the frame around
  // its landmark; the probe brings each draw's code as a 16-bit buffer rounds it.
  const planes = S.tasks('precision', 7).find((t) => t.kind === 'planes');
  const [lx, ly] = facts.landmarks.teapot3;
  const bands = (near, bits) => ({
    width: 300, height: 300,
    brought: (k, x, y) => {
      if (k !== 0 && k !== 3) return -1;
      const t = floorDistance(x, y);
      if (k === 0) return code(t, near, 100, bits);
      return Math.abs(x - lx) < 30 && Math.abs(299 - y - ly) < 12 ? code(t - 0.5, near, 100, bits) : -1;
    },
  });
  const fight = S.check(planes, { near: 0.001, far: 100, format: '16' }, bands(0.001, 16));
  assert.equal(fight.right, false);
  assert.ok(fight.values.shared > 100, `${fight.values.shared} pixels fight`);
  const apart = S.check(planes, { near: 0.1, far: 100, format: '16' }, bands(0.1, 16));
  assert.deepEqual([apart.right, apart.values.shared], [true, 0]);
  assert.equal(S.check(planes, { near: 0.1, far: 100, format: '24' }, bands(0.1, 24)).right, false);

  const share = { kind: 'share' };
  const floor = { draw: 'floor', t: floorDistance(150, 100) }, c = code(floor.t, 0.0001, 100, 16);
  const tied = history([floor, { draw: 'blue-teapot', t: floor.t - 0.2, code: c }], { bits: 16, near: 0.0001 });
  const oneOff = history([floor, { draw: 'blue-teapot', t: floor.t - 0.2, code: c - 1 }], { bits: 16, near: 0.0001 });
  assert.equal(S.check(share, [1, 1], probe(() => tied)).right, true);
  assert.equal(S.check(share, [1, 1], probe(() => oneOff)).right, false);
  // The clear's code is no surface's.
  assert.equal(S.check(share, [1, 1], probe(() => history([{ draw: 'floor', t: 1e9, code: 65535 }], { bits: 16 }))).right, false);

  for (const task of S.tasks('precision', 7).concat(S.tasks('precision', 8)).filter((t) => t.kind === 'count')) {
    const bits = +task.format, right = code(task.b, task.near, task.far, bits) - code(task.a, task.near, task.far, bits);
    assert.ok(task.options.includes(right) && task.options.includes(right + 1), JSON.stringify(task));
    assert.equal(new Set(task.options).size, task.options.length);
    assert.equal(S.check(task, task.options.indexOf(right)).right, true);
    assert.equal(S.check(task, task.options.indexOf(right + 1)).right, false);
  }
  const float = S.tasks('precision', 7).find((t) => t.kind === 'float');
  const at = probe(() => history([{ draw: 'floor', t: 8 }], { bits: 32 }));
  assert.equal(S.check(float, choose(float, 'steps'), at).right, true);
  assert.equal(S.check(float, choose(float, 'bits'), at).right, false);
});

test('the lighting set: the light from the diffuse part, a channel from the terms, ambient alone', () => {
  const which = { kind: 'which', options: ['yellow', 'cyan', 'white'], state: { pixel: [1, 1] } };
  const lit = (light, ndotl) => history([{ draw: 'grey-teapot', t: 10, light, ndotl }]);
  assert.equal(S.check(which, 0, probe(() => lit([1, 1, 0]))).right, true);
  assert.equal(S.check(which, 2, probe(() => lit([1, 1, 0]))).right, false);
  assert.equal(S.check(which, 1, probe(() => lit([0, 1, 1]))).right, true);
  // Facing away, no light's colour is there to tell.
  assert.equal(S.check(which, 2, probe(() => lit([1, 1, 1], [-0.2, -0.1, -0.4]))).right, false);

  // The blue channel under the yellow light: ambient alone, 0.1 at each vertex.
  const channel = { kind: 'channel', channel: 'blue', order: [2, 0, 3, 1], state: { pixel: [1, 1] } };
  const yellow = lit([1, 1, 0], [0.8, 0.6, 0.4]), options = S.channelOptions(channel, yellow);
  const right = Math.round(255 * 0.1);
  assert.equal(options[channel.order.indexOf(0)], right);
  assert.equal(new Set(options).size, 4);
  assert.equal(S.check(channel, channel.order.indexOf(0), probe(() => yellow)).right, true);
  assert.equal(S.check(channel, channel.order.indexOf(2), probe(() => yellow)).right, false);
  // Green under the same light: ambient and the weighted diffuse part, 0.5 0.8 + 0.3 0.6 + 0.2 0.4.
  const green = { ...channel, channel: 'green' };
  assert.equal(S.channelOptions(green, yellow)[green.order.indexOf(0)], Math.round(255 * (0.1 + 0.66)));

  const dark = { kind: 'dark' };
  assert.equal(S.check(dark, [1, 1], probe(() => lit([1, 1, 1], [-0.1, -0.3, 0]))).right, true);
  assert.equal(S.check(dark, [1, 1], probe(() => lit([1, 1, 1], [-0.1, -0.3, 0.02]))).right, false);
  assert.equal(S.check(dark, [1, 1], probe(() => history([{ draw: 'floor', t: 8, ndotl: [-1, -1, -1] }]))).right, false);

  const flat = S.tasks('lighting', 7).find((t) => t.kind === 'flat');
  const unlit = probe(() => history([{ draw: 'grey-teapot', t: 10, lit: false }]));
  assert.equal(S.check(flat, choose(flat, 'current'), unlit).right, true);
  assert.equal(S.check(flat, choose(flat, 'behind'), unlit).right, false);
});

test('a completion code gives back its answers, and refuses every one-character change', () => {
  const answer = (t, i) => (t.answer === 'choice' ? i % 2 : t.answer === 'pixel' ? [10.5 + i, 299.875]
    : { near: 0.0123, far: 87.5, format: '16' });
  for (const set of S.names) {
    const tasks = S.tasks(set, 424242);
    const record = { set, seed: 424242, tries: 3, answers: tasks.map((t, i) => ({ tries: 1 + (i % 3), answer: answer(t, i) })) };
    record.answers[1] = { tries: 0, answer: null };  // a task not answered
    const text = C.encode(record);
    assert.match(text, /^[0-9A-HJKMNP-TV-Z]+$/);
    assert.deepEqual(C.decode(text), record, set);
    for (let i = 0; i < text.length; ++i) {
      for (const c of C.alphabet + 'aIlOU-') {
        if (c === text[i]) continue;
        const changed = text.slice(0, i) + c + text.slice(i + 1);
        assert.equal(C.decode(changed), null, `${set}: ${changed} taken`);
      }
      assert.equal(C.decode(text.slice(0, i) + text.slice(i + 1)), null, `${set}: one left out at ${i}`);
    }
    assert.equal(C.decode(text.toLowerCase()), null);
    assert.equal(C.decode(text + '0'), null);
  }
  // Tries beyond those allowed are no code this page makes.
  const tasks = S.tasks('order', 1);
  assert.equal(C.decode(C.encode({ set: 'order', seed: 1, tries: 1,
    answers: tasks.map(() => ({ tries: 2, answer: 0 })) })), null);
});
