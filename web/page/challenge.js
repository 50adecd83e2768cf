// SPDX-License-Identifier: MIT
// The challenges a class takes: a set of tasks (challenge_sets.js) named by the address
// (#challenge=depth&seed=7, with &tries=N and &score=hide), each asked in its state of the
// frame with the instruments that would give its answer away hidden, answered by a choice, a
// pixel picked in the picture or the lab's controls, and checked from the frame's own data
// in its proof's state, after which the page says right or wrong, why, and shows the
// instruments. At the end: the score and the completion code (challenge_code.js), and an
// answer sheet to print. #verify=CODE is the teacher's view: each answer graded again. The
// course site hears of each answer and the end (course.js). None of this is in the program's
// script: the page keeps it compressed, with its words, and opens it once the address names a
// challenge (page.js). Linked into the challenges' script with --js-library's form.
mergeInto(LibraryManager.library, {
  $ZbvChallenge__deps: ['$ZbvChallengeSets', '$ZbvChallengeWords', '$ZbvChallengeCode', '$ZbvCourse', '$ZbvWords',
                        '$ZbvFragment', '$ZbvPage', '$ZbvViews', '$ZbvHistory', '$ZbvCapture',
                        '$ZbvPlace', '$ZbvKeys', '$ZbvLab', '$ZbvLabControls'],
  $ZbvChallenge: {
    run: null,       // the set under way: {set, seed, tries, hideScore, tasks, at, answers, results}
    verifying: null, // the teacher's view: {record, results}
    refused: [],     // what the address named that the challenges left out
    busy: 0,         // a state being read for a task (its turn, to drop stale ones)

    element: function(id) { return document.getElementById(id); },
    make: function(tag, attributes, text) {
      var e = document.createElement(tag);
      Object.keys(attributes || {}).forEach(function(k) { e.setAttribute(k, attributes[k]); });
      if (text !== undefined) e.textContent = text;
      return e;
    },

    // What the instruments that give answers away are, by what the style sheet hides.
    hidden: {
      depth: 'history steps keys depth lab', order: 'history steps keys depth lab',
      precision: 'history steps keys depth zfight', lighting: 'history steps keys depth lab state',
    },

    // Once, as the script opens: the style, the section, and the address followed.
    open: function() {
      var X = ZbvChallenge, W = ZbvWords, style = document.createElement('style');
      style.textContent = X.css;
      document.head.appendChild(style);
      var words = W.changed;
      W.changed = function() {
        words();
        X.wordsChanged();
      };
      var picked = ZbvViews.changed;
      ZbvViews.changed = function() {
        picked();
        X.picked();
      };
      ZbvPage.moreRefused = function() { return X.refused; };
      window.addEventListener('hashchange', X.follow);
      X.follow();
    },

    // The address's challenge, started anew where it names another than the one under way.
    follow: function() {
      var X = ZbvChallenge, pairs = ZbvFragment.parse(location.hash), get = function(n) {
        return ZbvFragment.get(pairs, n);
      };
      var verify = get('verify'), set = get('challenge');
      var key = JSON.stringify([verify, set, get('seed'), get('tries'), get('score')]);
      if (key === X.followed) return;
      X.followed = key;
      X.refused = [];
      if (verify !== null) {
        var record = ZbvChallengeCode.decode(verify);
        if (!record) X.refused.push({key: 'challenge.refused.verify', value: verify});
        else return X.done(X.verify(record));
      }
      if (set === null) return X.done(X.close());
      if (ZbvChallengeSets.names.indexOf(set) < 0) {
        X.refused.push({key: 'challenge.refused.set', value: set});
        return X.done(X.close());
      }
      var seed = get('seed'), tries = get('tries'), score = get('score');
      if (seed !== null && !/^\d{1,6}$/.test(seed)) X.refused.push({key: 'challenge.refused.seed', value: seed});
      if (tries !== null && !/^[1-9]$/.test(tries)) X.refused.push({key: 'challenge.refused.tries', value: tries});
      if (score !== null && score !== 'hide' && score !== 'show') {
        X.refused.push({key: 'challenge.refused.score', value: score});
      }
      var n = seed !== null && /^\d{1,6}$/.test(seed) ? +seed : Math.floor(Math.random() * 1000000);
      // The seed written in, so that the link copied gives the same tasks.
      ZbvFragment.replace(ZbvFragment.write(location.hash, [['seed', String(n)]]));
      X.followed = JSON.stringify([verify, set, String(n), tries, score]);
      X.start(set, n, tries !== null && /^[1-9]$/.test(tries) ? +tries : 1, score === 'hide');
      X.done();
    },
    done: function() {
      ZbvPage.refused = ZbvPage.refused.filter(function(r) { return !r.key; }).concat(ZbvChallenge.refused);
      ZbvPage.sayRefused();
    },

    // The section, made once, emptied for each set.
    section: function() {
      var X = ZbvChallenge, s = X.element('challenge');
      if (s) return s;
      s = X.make('section', {id: 'challenge', class: 'challenge', 'aria-labelledby': 'challenge-title'});
      s.innerHTML = '<h2 id="challenge-title"></h2><p id="challenge-progress"></p>' +
        '<p id="challenge-task" tabindex="-1"></p><div id="challenge-terms"></div>' +
        '<fieldset id="challenge-options" class="choices"><legend id="challenge-legend"></legend></fieldset>' +
        '<p id="challenge-picked"></p><div class="challenge-buttons">' +
        '<button type="button" id="challenge-check"></button> ' +
        '<button type="button" id="challenge-next" hidden></button></div>' +
        '<p id="challenge-said" role="status" aria-live="polite"></p>' +
        '<div id="challenge-end" hidden><p id="challenge-score"></p><p id="challenge-code"></p>' +
        '<p id="challenge-code-how"></p><button type="button" id="challenge-print"></button></div>' +
        '<div id="challenge-sheet" class="challenge-sheet"><h3 id="challenge-sheet-title"></h3><ol></ol>' +
        '<p id="challenge-sheet-end"></p></div>';
      // Beside the picture, above the state line: the task and the picture seen together.
      document.querySelector('.panel').prepend(s);
      X.element('challenge-check').addEventListener('click', X.check);
      X.element('challenge-next').addEventListener('click', X.next);
      X.element('challenge-print').addEventListener('click', function() { window.print(); });
      var freeze = X.make('img', {id: 'challenge-freeze', class: 'overlay', alt: ''});
      freeze.hidden = true;
      X.element('canvas').after(freeze);
      return s;
    },

    close: function() {
      var X = ZbvChallenge, s = X.element('challenge');
      X.run = X.verifying = null;
      X.busy += 1;
      ZbvPage.keysHeld = false;
      document.documentElement.dataset.challengeHide = '';
      if (s) s.hidden = true;
    },

    start: function(set, seed, tries, hideScore) {
      var X = ZbvChallenge, s = X.section();
      s.hidden = false;
      s.classList.remove('verifying');
      X.verifying = null;
      X.run = {set: set, seed: seed, tries: tries, hideScore: hideScore, at: 0, answers: [], results: [],
               tasks: ZbvChallengeSets.tasks(set, seed)};
      X.element('challenge-sheet').querySelector('ol').replaceChildren();
      X.element('challenge-end').hidden = true;
      ZbvCourse.start({set: set, seed: seed, max: X.run.tasks.length});
      X.show();
    },

    // The task under way: its words at once, then its state drawn and read.
    show: function() {
      var X = ZbvChallenge, W = ZbvWords, run = X.run, task = run.tasks[run.at], el = X.element;
      run.answer = null;
      run.checked = false;
      run.used = 0;
      run.options = task.options || null;
      ZbvPage.keysHeld = true;
      document.documentElement.dataset.challengeHide = X.hidden[run.set];
      el('challenge-check').hidden = false;
      el('challenge-check').disabled = false;
      el('challenge-next').hidden = true;
      el('challenge-terms').replaceChildren();
      X.words();
      el('challenge-task').focus({preventScroll: true});
      var turn = ++X.busy;
      X.apply(task.state, false, function() {
        if (turn !== X.busy) return;
        if (task.kind === 'channel') {
          run.options = ZbvChallengeSets.channelOptions(task, X.history(task.state.pixel));
          X.terms(task);
          X.options();
        }
        el('challenge').dataset.ready = String(run.at + 1);
      });
    },

    // The words of the task under way, of its controls and of the sheet: said again in the
    // page's language.
    words: function() {
      var X = ZbvChallenge, W = ZbvWords, el = X.element, run = X.run, v = X.verifying;
      if (!run && !v) return;
      var set = run ? run.set : v.record.set;
      el('challenge-title').textContent = v ? W.t('challenge.verify.title') : W.t('challenge.title', {set: set});
      el('challenge-check').textContent = W.t('challenge.check');
      el('challenge-next').textContent = W.t(run && run.at + 1 === run.tasks.length ? 'challenge.finish' : 'challenge.next');
      el('challenge-print').textContent = W.t('challenge.print');
      el('challenge-legend').textContent = W.t('challenge.options');
      var seed = run ? run.seed : v.record.seed;
      el('challenge-sheet-title').textContent = W.t('challenge.sheet', {seed: String(seed)});
      X.sheet();
      if (v) return X.verifyWords();
      var task = run.tasks[run.at];
      el('challenge-progress').textContent = ZbvChallengeWords.progress(X.run);
      el('challenge-task').textContent = ZbvChallengeWords.task(task);
      X.options();
      X.picked();
      if (task.kind === 'channel' && run.options) X.terms(task);
      if (run.ended) return X.endWords();
      X.say(run.checked ? ZbvChallengeWords.verdict(task, run.results[run.at])
        : W.t('sentences', {a: ZbvChallengeWords.progress(X.run), b: ZbvChallengeWords.task(task)}));
    },
    // The task's choices, as radio buttons (one group: the arrow keys move among them).
    options: function() {
      var X = ZbvChallenge, run = X.run, task = run.tasks[run.at], box = X.element('challenge-options');
      box.hidden = task.answer !== 'choice';
      var labels = (run.options || []).map(function(o, i) {
        var label = X.make('label'), input = X.make('input', {type: 'radio', name: 'challenge-answer', value: String(i)});
        input.checked = run.answer === i;
        input.disabled = run.checked;
        input.addEventListener('change', function() { run.answer = i; });
        label.append(input, X.make('span', {}, ZbvChallengeWords.option(task, o)));
        return label;
      });
      if (task.answer === 'choice' && !run.options) labels = [X.make('span', {}, ZbvWords.t('challenge.reading'))];
      box.replaceChildren.apply(box, [X.element('challenge-legend') ||
        X.make('legend', {id: 'challenge-legend'}, ZbvWords.t('challenge.options'))].concat(labels));
    },

    // A channel task's terms: each vertex's weight, parts of the channel and n.l.
    terms: function(task) {
      var X = ZbvChallenge, W = ZbvWords, h = X.history(task.state.pixel), w = ZbvChallengeSets.writer(h);
      var box = X.element('challenge-terms');
      if (!w || !w.draw.lighting) return box.replaceChildren();
      var c = ['Red', 'Green', 'Blue'][ZbvChallengeSets.channels.indexOf(task.channel)];
      var table = X.make('table'), head = X.make('tr');
      table.append(X.make('caption', {}, W.t('challenge.terms', {channel: task.channel})));
      ['lighting.vertex', 'lighting.weight', 'lighting.ambient', 'lighting.ndotl', 'lighting.diffuse',
       'challenge.specular'].forEach(function(k) { head.append(X.make('th', {scope: 'col'}, W.t(k))); });
      table.append(head);
      w.fragment.vertices.forEach(function(v, i) {
        var tr = X.make('tr');
        [W.number(i + 1), W.number(w.fragment['weight' + i], {digits: 4}), W.number(v['ambient' + c], {digits: 4}),
         W.number(v.ndotl, {digits: 4}), W.number(v['diffuse' + c], {digits: 4}),
         W.number(v['specular' + c], {digits: 4})].forEach(function(t, k) {
          tr.append(X.make(k ? 'td' : 'th', k ? {} : {scope: 'row'}, t));
        });
        table.append(tr);
      });
      var scroll = X.make('div', {class: 'scroll', tabindex: '0', role: 'region', 'aria-label': W.t('challenge.terms', {channel: task.channel})});
      scroll.append(table);
      box.replaceChildren(scroll);
    },

    // The pixel picked, for a task answered by one.
    picked: function() {
      var X = ZbvChallenge, run = X.run;
      if (!run || run.ended) return;
      var task = run.tasks[run.at], line = X.element('challenge-picked');
      line.hidden = task.answer !== 'pixel';
      if (task.answer !== 'pixel') return;
      if (!run.checked && ZbvViews.position) run.answer = ZbvViews.position.slice();
      line.textContent = run.answer ? ZbvChallengeWords.answer(task, run.answer, run.options, 'challenge.pick')
        : ZbvWords.t('challenge.pickNone');
      if (!run.checked && run.answer) X.say(line.textContent);
    },
    // The live region: what changed, for a screen reader (the task, the answer, the verdict).
    say: function(text) {
      ZbvChallenge.element('challenge-said').textContent = text;
    },

    // A state of the frame drawn, and `then` called once all of it is read back: the keys'
    // switches, the step, the lab (unless `keepLab`) and the pixel marked, through the
    // address as a link would name them.
    apply: function(state, keepLab, then) {
      var K = ZbvKeys, own = [['keys', K.keyFor('depth', state.depth) + K.keyFor('lighting', state.lighting) +
        K.keyFor('light', state.light)]];
      if (!keepLab) own = own.concat(ZbvLab.toAddress(state.lab || ZbvLab.program));
      own.push(['pixel', state.pixel ? ZbvPlace.write(state.pixel) : ''],
               ['step', state.step >= 0 ? String(state.step) : '']);
      ZbvFragment.replace(ZbvFragment.write(location.hash, own));
      var before = ZbvViews.frames;
      ZbvPage.applyAddress(false);
      ZbvLabControls.redraw();
      var tries = 0, wait = function() {
        var V = ZbvViews, d = document.documentElement.dataset;
        if ((V.frames > before && d.followed === String(V.frames) && ZbvCapture.current()) || ++tries > 600) {
          return then();
        }
        requestAnimationFrame(wait);
      };
      requestAnimationFrame(wait);
    },
    history: function(position) {
      var V = ZbvViews, p = position && ZbvPlace.toPixel(position, V.width, V.height);
      return p ? ZbvHistory.at(p[0], p[1]) : {draws: []};
    },
    probe: function() {
      var C = ZbvCapture;
      return {history: ZbvChallenge.history, brought: C.broughtAt, stored: C.storedAt,
              width: C.width, height: C.height};
    },
    // The state a task's proof is read in, with the answer's pixel marked where it is one.
    proofState: function(task, answer) {
      var state = Object.assign({}, task.state, task.proof || {});
      if (task.answer === 'pixel') state.pixel = answer;
      return state;
    },

    // Check: the answer graded in the proof's state; wrong with tries left, the picture is
    // kept as it was (the proof's frame under a still of it) and the task asked again.
    check: function() {
      var X = ZbvChallenge, run = X.run, W = ZbvWords, task = run.tasks[run.at], el = X.element;
      if (run.checked) return;
      if (task.answer === 'lab') run.answer = Object.assign({}, ZbvLab.lab);
      if (run.answer === null || run.answer === undefined) {
        return X.say(W.t(task.answer === 'pixel' ? 'challenge.pickNone' : 'challenge.answerFirst'));
      }
      run.used += 1;
      el('challenge-check').disabled = true;
      var last = run.used >= run.tries, freeze = el('challenge-freeze');
      if (!last) {
        freeze.src = el('canvas').toDataURL();
        freeze.hidden = false;
      }
      var turn = ++X.busy, answer = run.answer;
      X.apply(X.proofState(task, answer), task.answer === 'lab', function() {
        if (turn !== X.busy) return;
        var result = ZbvChallengeSets.check(task, answer, X.probe());
        el('challenge-check').disabled = false;
        if (!result.right && !last) {
          X.say(W.t('challenge.again', {left: W.number(run.tries - run.used)}));
          X.apply(task.state, task.answer === 'lab', function() { freeze.hidden = true; });
          return;
        }
        run.checked = true;
        result.picture = el('canvas').toDataURL();
        result.options = run.options;
        run.results[run.at] = result;
        run.answers[run.at] = {tries: run.used, answer: answer};
        document.documentElement.dataset.challengeHide = '';
        if (task.kind === 'planes' && !X.element('zfight').checked) X.element('zfight').click();
        el('challenge-check').hidden = true;
        el('challenge-next').hidden = false;
        X.options();
        X.say(ZbvChallengeWords.verdict(task, result));
        el('challenge-progress').textContent = ZbvChallengeWords.progress(X.run);
        X.sheet();
        ZbvCourse.answer({set: run.set, seed: run.seed, task: run.at + 1, correct: result.right,
                          score: ZbvChallengeSets.score(run.results), max: run.tasks.length});
        el('challenge-next').focus({preventScroll: true});
      });
    },

    next: function() {
      var X = ZbvChallenge, run = X.run;
      ZbvChallenge.element('challenge-freeze').hidden = true;
      if (run.at + 1 < run.tasks.length) {
        run.at += 1;
        return X.show();
      }
      X.end();
    },

    // The end: the score, the code, the sheet to print.
    end: function() {
      var X = ZbvChallenge, run = X.run, el = X.element;
      run.ended = true;
      run.code = ZbvChallengeCode.encode({set: run.set, seed: run.seed, tries: run.tries, answers: run.answers});
      ZbvPage.keysHeld = false;
      el('challenge-options').hidden = el('challenge-picked').hidden = true;
      el('challenge-next').hidden = el('challenge-check').hidden = true;
      el('challenge-terms').replaceChildren();
      el('challenge-end').hidden = false;
      X.endWords();
      X.say(ZbvWords.t('sentences', {a: el('challenge-score').textContent, b: el('challenge-code').textContent}));
      el('challenge-score').setAttribute('tabindex', '-1');
      el('challenge-score').focus({preventScroll: true});
      ZbvCourse.complete({set: run.set, seed: run.seed, score: ZbvChallengeSets.score(run.results), max: run.tasks.length,
                          code: run.code});
    },
    endWords: function() {
      var X = ZbvChallenge, W = ZbvWords, run = X.run, el = X.element;
      el('challenge-progress').textContent = '';
      el('challenge-task').textContent = '';
      el('challenge-score').textContent = W.t('challenge.end', {score: W.number(ZbvChallengeSets.score(run.results)),
                                                                max: W.number(run.tasks.length)});
      el('challenge-code').textContent = W.t('challenge.code', {code: run.code});
      el('challenge-code').dataset.code = run.code;
      el('challenge-code-how').textContent = W.t('challenge.codeHow');
      X.sheet();
    },

    // The answer sheet: each task checked, its picture, answer, verdict and why; the score
    // and the code once the set is done. On screen at the end, and what printing gives.
    sheet: function() {
      var X = ZbvChallenge, W = ZbvWords, run = X.run, v = X.verifying;
      var list = X.element('challenge-sheet').querySelector('ol'), items = [];
      var tasks = run ? run.tasks : v.tasks, results = run ? run.results : v.results;
      var answers = run ? run.answers : v.record.answers;
      tasks.forEach(function(task, i) {
        var result = results[i];
        if (!result) return;
        var li = X.make('li', {'data-right': result.right ? '1' : '0'});
        li.append(X.make('h4', {}, W.t('challenge.sheetTask', {n: W.number(i + 1)})));
        if (result.picture) {
          li.append(X.make('img', {src: result.picture, width: '150', height: '150',
                                   alt: W.t('challenge.picture', {n: W.number(i + 1)})}));
        }
        li.append(X.make('p', {}, ZbvChallengeWords.task(task)),
                  X.make('p', {class: 'challenge-answer'}, ZbvChallengeWords.answer(task, answers[i] && answers[i].answer, result.options)),
                  X.make('p', {class: 'challenge-verdict'}, ZbvChallengeWords.verdict(task, result)));
        items.push(li);
      });
      list.replaceChildren.apply(list, items);
      var end = X.element('challenge-sheet-end');
      end.textContent = run ? (run.ended ? W.t('sentences', {a: W.t('challenge.end', {score: W.number(ZbvChallengeSets.score(results)),
        max: W.number(tasks.length)}), b: W.t('challenge.code', {code: run.code})}) : ZbvChallengeWords.progress(X.run)) : '';
    },

    // The teacher's view: each task's state drawn again with its answer, graded, in turn.
    verify: function(record) {
      var X = ZbvChallenge, s = X.section(), el = X.element, tasks = ZbvChallengeSets.tasks(record.set, record.seed);
      s.hidden = false;
      s.classList.add('verifying');
      X.run = null;
      X.verifying = {record: record, tasks: tasks, results: [], done: false};
      ZbvPage.keysHeld = false;
      document.documentElement.dataset.challengeHide = '';
      ['challenge-options', 'challenge-picked', 'challenge-end'].forEach(function(id) { el(id).hidden = true; });
      el('challenge-check').hidden = el('challenge-next').hidden = true;
      el('challenge-terms').replaceChildren();
      delete el('challenge').dataset.verified;
      X.words();
      var turn = ++X.busy, v = X.verifying, i = 0;
      var step = function() {
        if (turn !== X.busy) return;
        if (i === tasks.length) {
          v.done = true;
          el('challenge').dataset.verified = String(ZbvChallengeSets.score(v.results));
          X.words();
          return X.say(el('challenge-progress').textContent);
        }
        var task = tasks[i], a = record.answers[i];
        var state = X.proofState(task, a.answer);
        if (task.answer === 'lab' && a.answer) state.lab = a.answer;
        X.apply(state, false, function() {
          if (turn !== X.busy) return;
          var options = task.kind === 'channel' ? ZbvChallengeSets.channelOptions(task, X.history(task.state.pixel)) : task.options;
          var result = a.tries ? ZbvChallengeSets.check(task, a.answer, X.probe())
            : {right: false, why: 'challenge.answer.none', values: {}};
          result.options = options;
          result.picture = el('canvas').toDataURL();
          v.results[i] = result;
          i += 1;
          step();
        });
      };
      step();
      return v;
    },
    verifyWords: function() {
      var X = ZbvChallenge, W = ZbvWords, v = X.verifying, r = v.record, el = X.element;
      el('challenge-progress').textContent = v.done ? W.t('challenge.verify.summary', {set: r.set, seed: String(r.seed),
        tries: W.number(r.tries), score: W.number(ZbvChallengeSets.score(v.results)), max: W.number(v.tasks.length)})
        : W.t('challenge.verify.working');
      el('challenge-task').textContent = '';
    },

    wordsChanged: function() {
      ZbvChallenge.words();
      ZbvPage.sayRefused();
    },

    css: '.challenge{border:2px solid var(--accent);border-radius:6px;padding:8px 12px;margin:0 0 12px;max-width:52em}' +
      '.challenge h2{font-size:1.15rem;margin:0}.challenge p{margin:4px 0}.challenge table{border-collapse:collapse}' +
      '.challenge th,.challenge td{border:1px solid var(--edge);padding:2px 6px}' +
      '.challenge [hidden],#challenge-said:empty,.challenge-sheet:not(:has(li)){display:none}#challenge-said{font-weight:600}' +
      '.challenge-sheet li{margin:8px 0;break-inside:avoid;display:flow-root}.challenge-sheet img{float:right}' +
      '[data-challenge-hide~=history] section[aria-labelledby=history-title],[data-challenge-hide~=steps] .steps,' +
      '[data-challenge-hide~=keys] .panel>.keys,[data-challenge-hide~=depth] .views>.view~.view,' +
      '[data-challenge-hide~=lab] #lab,[data-challenge-hide~=zfight] .check:has(#zfight),' +
      '[data-challenge-hide~=zfight] #zfight-map,[data-challenge-hide~=state] :is(#state,.explains){display:none!important}' +
      '@media print{main>:not(.stage),.stage>:not(.panel),.panel>:not(#challenge),#challenge>:not(.challenge-sheet,h2)' +
      '{display:none!important}}',
  },
});
