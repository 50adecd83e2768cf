// SPDX-License-Identifier: MIT
// The challenges' sets: each task drawn from a seed and the scene's facts (its draws and
// landmarks), and graded from the frame's own per-pixel data, never from its picture. A task
// names the state it is asked in (the keys' switches, the step, the lab, a marked pixel), the
// state its proof is read in, and the answer it takes (a choice, a pixel, or the lab's
// controls). A grader takes the answer and a probe of the frame in the proof's state, and
// gives {right, why, values}: the words that say why, and what fills them. The probe:
// history(position) is the pixel history (history.js) at a position of the program's frame,
// brought(k, x, y) and stored(x, y) the codes the GPU brought and kept (capture.js), width and
// height the frame's. Part of the challenges (challenge.js opens them). Linked into the
// challenges' script with --js-library's form.
mergeInto(LibraryManager.library, {
  $ZbvChallengeSets__deps: ['$ZbvFacts', '$ZbvGlDepth', '$ZbvPrecision'],
  $ZbvChallengeSets: {
    names: ['depth', 'order', 'precision', 'lighting'],
    teapots: ['grey-teapot', 'red-teapot', 'blue-teapot'],

    // A small generator of numbers in [0, 1): xorshift32 from the seed, mixed first so that
    // neighbouring seeds start far apart.
    random: function(seed, salt) {
      var s = (Math.imul((seed >>> 0) ^ 0x5bd1e995, 0x9e3779b1) ^ Math.imul(salt + 1, 0x85ebca6b)) | 0;
      if (!s) s = 1;
      var next = function() {
        s ^= s << 13;
        s ^= s >>> 17;
        s ^= s << 5;
        return (s >>> 0) / 4294967296;
      };
      for (var i = 0; i < 4; ++i) next();
      return {
        next: next,
        below: function(n) { return Math.floor(next() * n); },
        pick: function(list) { return list[Math.floor(next() * list.length)]; },
        // The list in an order of its own (Fisher-Yates).
        shuffled: function(list) {
          var out = list.slice();
          for (var i = out.length - 1; i > 0; --i) {
            var j = Math.floor(next() * (i + 1)), t = out[i];
            out[i] = out[j];
            out[j] = t;
          }
          return out;
        },
      };
    },

    // The draws' names as the words choose by them ('floor', 'grey-teapot', ...).
    drawNames: function() {
      return ZbvFacts.draws.map(function(d) { return d.replace(/^\d+-/, ''); });
    },

    // A landmark (from the top left) as a position of the program's frame (from the bottom
    // left, at the pixel's centre), moved by up to `jitter` pixels either way.
    landmark: function(name, r, jitter) {
      var at = ZbvFacts.landmarks[name], j = function() { return jitter ? r.below(2 * jitter + 1) - jitter : 0; };
      return [at[0] + j() + 0.5, 299 - at[1] + j() + 0.5];
    },

    state: function(fields) {
      return Object.assign({depth: 'on', lighting: 'on', light: 'white', step: -1, lab: null, pixel: null},
                           fields);
    },

    // The set's tasks for a seed: the same seed, the same tasks.
    tasks: function(set, seed) {
      var S = ZbvChallengeSets, r = S.random(seed, S.names.indexOf(set)), make = S.make[set];
      return make ? make(r, S) : null;
    },

    make: {
      depth: function(r, S) {
        var over = ['teapot1Over2', 'teapot1Over3', 'teapot2Over3', 'teapot3', 'teapot2Left',
                    'teapot1Left', 'floorBehind', 'teapot1Right'];
        var picks = r.shuffled(over);
        var winner = function(name) {
          var options = r.shuffled(S.drawNames().concat(['background']));
          return {kind: 'winner', answer: 'choice', landmark: name, options: options,
                  state: S.state({pixel: S.landmark(name, r, 2)})};
        };
        var pass = function(name, k) {
          // Stopped after k draws: the next one (k + 1) is asked of.
          var pixel = S.landmark(name, r, 2);
          return {kind: 'pass', answer: 'choice', landmark: name, draw: k, options: ['yes', 'no'],
                  state: S.state({pixel: pixel, step: k}), proof: {step: k + 1}};
        };
        var overlaps = ['teapot1Over2', 'teapot1Over3', 'teapot2Over3'];
        var a = r.pick(overlaps), b = r.pick(['teapot3', 'teapot2Left', 'teapot1Front']);
        // The later draw of an overlap: the one that comes second (red over blue is draw 3's).
        var later = {teapot1Over2: 2, teapot1Over3: 3, teapot2Over3: 3};
        var single = {teapot3: 3, teapot2Left: 2, teapot1Front: 1};
        return [winner(picks[0]), pass(a, later[a]), winner(picks[1]), pass(b, single[b]),
                {kind: 'fails', answer: 'pixel', state: S.state({})},
                {kind: 'off', answer: 'pixel', state: S.state({})}];
      },
      order: function(r, S) {
        var names = ['teapot1Over2', 'teapot1Over3', 'teapot2Over3', 'teapot3', 'teapot2Left',
                     'floorBehind', 'teapot1Front'];
        var picks = r.shuffled(names), steps = r.shuffled([1, 2, 3, 1, 2, 3]);
        var after = function(i) {
          return {kind: 'after', answer: 'choice', landmark: picks[i], draw: steps[i],
                  options: r.shuffled(S.drawNames().concat(['background'])),
                  state: S.state({depth: 'off', pixel: S.landmark(picks[i], r, 2)}),
                  proof: {step: steps[i]}};
        };
        return [after(0), after(1), after(2),
                {kind: 'cover', answer: 'pixel', state: S.state({depth: 'off'})},
                {kind: 'last', answer: 'choice', options: r.shuffled(S.teapots),
                 state: S.state({depth: 'off'}), proof: {depth: 'on'}}];
      },
      precision: function(r, S) {
        var count = function() {
          var format = r.pick(['16', '24']), near = r.pick([0.1, 0.5, 1]);
          var a = r.pick([2, 5, 8, 10]), b = a + r.pick([1, 2, 5, 10]);
          var task = {kind: 'count', answer: 'choice', near: near, far: 100, format: format, a: a, b: b,
                      state: S.state({lab: {near: near, far: 100, format: format}})};
          task.options = r.shuffled(S.countOptions(task).map(function(o) { return o.value; }));
          return task;
        };
        var start = r.pick([0.001, 0.002, 0.0005]);
        return [{kind: 'planes', answer: 'lab', state: S.state({lab: {near: start, far: 100, format: '16'}})},
                {kind: 'share', answer: 'pixel', near: 0.0001, far: 100, format: '16',
                 state: S.state({lab: {near: 0.0001, far: 100, format: '16'}})},
                count(), count(),
                {kind: 'float', answer: 'choice', options: r.shuffled(['steps', 'bits', 'webgl']),
                 state: S.state({lab: {near: 0.1, far: 100, format: '32f'},
                                 pixel: S.landmark(r.pick(['teapot1Front', 'teapot3', 'floorLeft']), r, 2)})}];
      },
      lighting: function(r, S) {
        var lit = r.shuffled(['teapot1Right', 'teapot2Right', 'floorRight']);
        var lights = r.shuffled(['yellow', 'cyan', 'white']);
        var which = function(i) {
          return {kind: 'which', answer: 'choice', landmark: lit[i], options: r.shuffled(['yellow', 'cyan', 'white']),
                  state: S.state({light: lights[i], pixel: S.landmark(lit[i], r, 2)})};
        };
        // The channel the light lacks (ambient alone), or one it gives.
        var channel = function(light, name) {
          var missing = {yellow: 'blue', cyan: 'red'}[light];
          return {kind: 'channel', answer: 'choice', light: light, landmark: name,
                  channel: missing && r.next() < 0.7 ? missing : r.pick(['red', 'green', 'blue']),
                  order: r.shuffled([0, 1, 2, 3]),
                  state: S.state({light: light, pixel: S.landmark(name, r, 2)})};
        };
        return [which(0), which(1),
                channel(r.pick(['yellow', 'cyan']), r.pick(['teapot1Right', 'teapot1Front', 'teapot2Right'])),
                channel(r.pick(['yellow', 'cyan', 'white']), r.pick(['teapot1Left', 'teapot3', 'floorBehind'])),
                {kind: 'flat', answer: 'choice', options: r.shuffled(['current', 'behind', 'depth']),
                 state: S.state({lighting: 'off', pixel: S.landmark('teapot1Front', r, 2)})},
                {kind: 'dark', answer: 'pixel', state: S.state({})}];
      },
    },

    // The options of a count: the codes between the two distances, one more, the guess that
    // codes are spread evenly over the distances, and the count in the other integer format.
    countOptions: function(task) {
      var S = ZbvChallengeSets, other = task.format === '16' ? '24' : '16';
      var right = S.codesBetween(task.a, task.b, task.near, task.far, task.format);
      var even = Math.round((task.b - task.a) / (task.far - task.near) * ZbvGlDepth.largest(task.format));
      var list = [right, right + 1, even, S.codesBetween(task.a, task.b, task.near, task.far, other)];
      var out = [];
      list.forEach(function(v) {
        while (out.some(function(o) { return o.value === v; })) v += 2;
        out.push({value: v});
      });
      return out;
    },
    codesBetween: function(a, b, near, far, format) {
      var D = ZbvGlDepth, P = ZbvPrecision;
      return D.code(P.depth(b, near, far), format) - D.code(P.depth(a, near, far), format);
    },

    // The draws that reached a pixel, in order: [{k, draw, fragment}] for each fragment.
    fragments: function(h) {
      var out = [];
      h.draws.forEach(function(d, k) {
        if (!d.shown) return;
        d.fragments.forEach(function(f) { out.push({k: k, draw: d, fragment: f}); });
      });
      return out;
    },
    // The name of the draw whose colour the pixel shows ('background' for none).
    winner: function(h) {
      var w = ZbvChallengeSets.fragments(h).filter(function(f) { return f.fragment.verdict !== 2; }).pop();
      return w ? ZbvChallengeSets.drawNames()[w.k] : 'background';
    },
    rgb: function(f) {
      return [f.red, f.green, f.blue].map(function(c) { return Math.round(255 * c); }).join(',');
    },
    // The lighting terms of a fragment, weighted as the pixel's place weighs its vertices.
    terms: function(f) {
      var sum = function(part) {
        return ['Red', 'Green', 'Blue'].map(function(c) {
          return f.vertices.reduce(function(s, v, i) { return s + f['weight' + i] * v[part + c]; }, 0);
        });
      };
      var ambient = sum('ambient'), diffuse = sum('diffuse'), specular = sum('specular');
      var total = ['Red', 'Green', 'Blue'].map(function(c) {
        return f.vertices.reduce(function(s, v, i) {
          return s + f['weight' + i] * Math.min(1, v['ambient' + c] + v['diffuse' + c] + v['specular' + c]);
        }, 0);
      });
      return {ambient: ambient, diffuse: diffuse, specular: specular, total: total};
    },
    // The fragment that wrote the pixel last, with its draw ({k, draw, fragment}), or null.
    writer: function(h) {
      return ZbvChallengeSets.fragments(h).filter(function(f) { return f.fragment.verdict !== 2; }).pop() || null;
    },
    channels: ['red', 'green', 'blue'],

    // The options of a channel task, from the pixel's terms: the channel as the terms give it
    // (each vertex's sum at most 1, weighted), its ambient part alone, its diffuse and specular
    // parts alone, and the value the terms give another channel; in the task's order.
    channelOptions: function(task, h) {
      var S = ZbvChallengeSets, w = S.writer(h);
      if (!w || !w.draw.lighting) return null;
      var c = S.channels.indexOf(task.channel), t = S.terms(w.fragment), byte = function(v) {
        return Math.round(255 * Math.min(1, v));
      };
      var list = [byte(t.total[c]), byte(t.ambient[c]), byte(t.diffuse[c] + t.specular[c]),
                  byte(t.total[(c + 1) % 3])], out = [];
      list.forEach(function(v) {
        while (out.indexOf(v) >= 0) v = v + 7 > 255 ? v - 13 : v + 7;
        out.push(v);
      });
      return task.order.map(function(i) { return out[i]; });
    },

    // Each kind's grader: (task, answer, probe) -> {right, why, values}. answer: an option's
    // index, a position, or the lab ({near, far, format}).
    grade: {
      winner: function(task, answer, probe) {
        var S = ZbvChallengeSets, h = probe.history(task.state.pixel), name = S.winner(h);
        return {right: task.options[answer] === name, why: 'challenge.why.winner', values: {draw: name}};
      },
      pass: function(task, answer, probe) {
        var S = ZbvChallengeSets, h = probe.history(task.state.pixel), d = h.draws[task.draw];
        var passes = !!d && d.shown && d.fragments.length > 0 && d.verdict === 1;
        var f = d && d.fragments[0], name = S.drawNames()[task.draw];
        if (!f) return {right: task.options[answer] === 'no', why: 'challenge.why.none', values: {draw: name}};
        return {right: task.options[answer] === (passes ? 'yes' : 'no'),
                why: passes ? 'challenge.why.passes' : 'challenge.why.fails',
                values: {draw: name, code: f.code.toString(16).toUpperCase(),
                         before: f.before.toString(16).toUpperCase()}};
      },
      fails: function(task, answer, probe) {
        var h = probe.history(answer), d = h.draws[2];
        var f = d && d.shown && d.fragments[0];
        if (!f) return {right: false, why: 'challenge.why.none', values: {draw: 'red-teapot'}};
        var failed = d.verdict === 2;
        return {right: failed, why: failed ? 'challenge.why.fails' : 'challenge.why.passes',
                values: {draw: 'red-teapot', code: f.code.toString(16).toUpperCase(),
                         before: f.before.toString(16).toUpperCase()}};
      },
      off: function(task, answer, probe) {
        // Without the test the last fragment drawn paints; the picture changes where that one
        // failed and brings another colour than the one shown.
        var S = ZbvChallengeSets, h = probe.history(answer), all = S.fragments(h), w = S.writer(h);
        var last = all[all.length - 1];
        var changes = !!last && last.fragment.verdict === 2 &&
          (!w || S.rgb(last.fragment) !== S.rgb(w.fragment));
        return {right: changes, why: changes ? 'challenge.why.off.yes' : 'challenge.why.off.no',
                values: {draw: last ? S.drawNames()[last.k] : 'background', shown: w ? S.drawNames()[w.k] : 'background'}};
      },
      after: function(task, answer, probe) {
        var S = ZbvChallengeSets, h = probe.history(task.state.pixel), name = S.winner(h);
        return {right: task.options[answer] === name, why: 'challenge.why.after',
                values: {draw: name, n: task.draw}};
      },
      cover: function(task, answer, probe) {
        // The fragment shown lies farther than one an earlier draw brought.
        var S = ZbvChallengeSets, all = S.fragments(probe.history(answer)), last = all[all.length - 1];
        var nearer = last && all.filter(function(f) {
          return f.k !== last.k && f.fragment.depth < last.fragment.depth;
        })[0];
        if (!nearer) return {right: false, why: 'challenge.why.cover.no', values: {}};
        return {right: true, why: 'challenge.why.cover.yes',
                values: {draw: S.drawNames()[last.k], hidden: S.drawNames()[nearer.k]}};
      },
      last: function(task, answer, probe) {
        // With the depth test on, where two teapots overlap, the one whose code is smaller
        // stands in front: the teapot never behind is the nearest, the one a painter draws
        // last.
        var S = ZbvChallengeSets, behind = {}, names = S.drawNames();
        ['teapot1Over2', 'teapot1Over3', 'teapot2Over3'].forEach(function(l) {
          var at = ZbvFacts.landmarks[l];
          var teapots = S.fragments(probe.history([at[0] + 0.5, 299 - at[1] + 0.5])).filter(function(f) {
            return f.k > 0;
          });
          // Behind: every teapot but the one whose code is the smallest here.
          var front = teapots.reduce(function(a, f) { return !a || f.fragment.code < a.fragment.code ? f : a; }, null);
          teapots.forEach(function(f) { if (f.k !== front.k) behind[names[f.k]] = true; });
        });
        var nearest = S.teapots.filter(function(t) { return !behind[t]; });
        var name = nearest.length === 1 ? nearest[0] : '';
        return {right: !!name && task.options[answer] === name, why: 'challenge.why.last', values: {draw: name}};
      },
      planes: function(task, answer, probe) {
        // Over the whole frame, from the codes the GPU brought: where the blue teapot (draw 4)
        // and the floor (draw 1) bring the same code, they fight.
        var covered = 0, shared = 0, largest = ZbvGlDepth.largest(answer.format);
        for (var y = 0; y < probe.height; ++y) {
          for (var x = 0; x < probe.width; ++x) {
            var blue = probe.brought(3, x, y);
            if (blue < 0 || blue >= largest) continue;
            covered += 1;
            if (probe.brought(0, x, y) === blue) shared += 1;
          }
        }
        var right = answer.format === '16' && shared === 0 && covered >= 500;
        return {right: right, why: answer.format !== '16' ? 'challenge.why.planes.format' : 'challenge.why.planes',
                values: {shared: shared, covered: covered}};
      },
      share: function(task, answer, probe) {
        // Two fragments of one pixel with the same code, neither the clear's.
        var S = ZbvChallengeSets, all = S.fragments(probe.history(answer));
        var tie = all.filter(function(f) {
          return f.fragment.verdict !== 0 && f.fragment.beforeDepth < 1 && f.fragment.code === f.fragment.before;
        })[0];
        var codes = all.map(function(f) { return f.fragment.code.toString(16).toUpperCase(); }).join(', ');
        return {right: !!tie, why: tie ? 'challenge.why.share.yes' : 'challenge.why.share.no',
                values: {codes: codes || '-'}};
      },
      count: function(task, answer) {
        var S = ZbvChallengeSets, right = S.codesBetween(task.a, task.b, task.near, task.far, task.format);
        return {right: task.options[answer] === right, why: 'challenge.why.count',
                values: {a: task.a, b: task.b, right: right,
                         even: S.countOptions(task)[2].value}};
      },
      float: function(task, answer, probe) {
        // The float's step at the pixel's depth against a 24-bit buffer's there.
        var h = probe.history(task.state.pixel), z = h.draws.length && ZbvChallengeSets.writer(h);
        var depth = z ? z.fragment.depth : 1, P = ZbvPrecision, D = ZbvGlDepth;
        var floatStep = P.at(D.code(depth, '32f'), '32f', 0.1, 100).width;
        var intStep = P.at(D.code(depth, '24'), '24', 0.1, 100).width;
        return {right: task.options[answer] === 'steps', why: 'challenge.why.float',
                values: {t: P.distance(depth, 0.1, 100), float: floatStep, int: intStep}};
      },
      which: function(task, answer, probe) {
        // The light's colour is the diffuse part's: the channels it lights.
        var S = ZbvChallengeSets, w = S.writer(probe.history(task.state.pixel)), name = '';
        if (w && w.draw.lighting) {
          var d = S.terms(w.fragment).diffuse, on = d.map(function(v) { return v > 1e-6; });
          name = on[0] && on[1] && on[2] ? 'white' : on[0] && on[1] ? 'yellow' : on[1] && on[2] ? 'cyan' : '';
        }
        return {right: !!name && task.options[answer] === name, why: name ? 'challenge.why.which' : 'challenge.why.unlit',
                values: {light: name}};
      },
      channel: function(task, answer, probe) {
        var S = ZbvChallengeSets, h = probe.history(task.state.pixel), options = S.channelOptions(task, h);
        if (!options) return {right: false, why: 'challenge.why.unlit', values: {light: task.light}};
        var right = options[task.order.indexOf(0)], w = S.writer(h);
        var ndotl = w.fragment.vertices.map(function(v) { return v.ndotl; });
        return {right: options[answer] === right,
                why: Math.max.apply(null, ndotl) > 0 ? 'challenge.why.channel' : 'challenge.why.channel.ambient',
                values: {value: right}};
      },
      flat: function(task, answer, probe) {
        var S = ZbvChallengeSets, w = S.writer(probe.history(task.state.pixel));
        var unlit = !!w && !w.draw.lighting;
        return {right: unlit && task.options[answer] === 'current', why: 'challenge.why.flat',
                values: {draw: w ? S.drawNames()[w.k] : 'background'}};
      },
      dark: function(task, answer, probe) {
        // A teapot's pixel whose triangle faces away from the light at all three vertices.
        var S = ZbvChallengeSets, w = S.writer(probe.history(answer));
        var teapot = !!w && w.k > 0 && w.draw.lighting;
        var away = teapot && w.fragment.vertices.every(function(v) { return v.ndotl <= 0; });
        return {right: away, why: !teapot ? 'challenge.why.dark.teapot' : away ? 'challenge.why.dark.yes'
          : 'challenge.why.dark.no', values: {draw: w ? S.drawNames()[w.k] : 'background'}};
      },
    },

    // A task graded: its kind's grader.
    check: function(task, answer, probe) {
      return ZbvChallengeSets.grade[task.kind](task, answer, probe);
    },

    // The tasks graded right among these results.
    score: function(results) {
      return results.filter(function(r) { return r && r.right; }).length;
    },
  },
});
