// SPDX-License-Identifier: MIT
// The challenges' words: a task, its options, an answer, a verdict and how far a set has got,
// each a whole sentence of the page's catalogue with its values written as the page's
// language writes them. Linked into the challenges' script with --js-library's form.
mergeInto(LibraryManager.library, {
  $ZbvChallengeWords__deps: ['$ZbvWords', '$ZbvChallengeSets'],
  $ZbvChallengeWords: {
    // The task reached and, unless the set hides it until the end, the score so far.
    progress: function(run) {
      var W = ZbvWords, n = {n: W.number(run.at + 1), count: W.number(run.tasks.length)};
      if (run.hideScore && !run.ended) return W.t('challenge.progress', n);
      return W.t('challenge.progressScore', Object.assign(n, {
        score: W.number(ZbvChallengeSets.score(run.results)), max: W.number(run.tasks.length)}));
    },

    // A task's words.
    task: function(task) {
      var W = ZbvWords, n = function(x) { return W.number(x, {all: true}); };
      return W.t('challenge.task.' + task.kind, {
        n: W.number(task.draw || 0), draw: ZbvChallengeSets.drawNames()[task.draw] || 'other',
        near: n(task.near || 0), far: n(task.far || 0), format: task.format || '', a: n(task.a || 0),
        b: n(task.b || 0), light: task.light || '', channel: task.channel || ''});
    },

    // An option's words.
    option: function(task, option) {
      var W = ZbvWords;
      if (typeof option === 'number') return W.number(option);
      if (task.kind === 'pass') return W.t('challenge.option.' + option);
      if (task.kind === 'which') return W.t('challenge.option.light', {light: option});
      if (task.kind === 'float' || task.kind === 'flat') return W.t('challenge.option.' + task.kind + '.' + option);
      return W.t('challenge.option.draw', {draw: option});
    },

    // An answer given (a pixel, the lab's values or a choice among `options`); `key` names
    // the sentence a pixel is said in where it is not the sheet's.
    answer: function(task, answer, options, key) {
      var W = ZbvWords;
      if (answer === null || answer === undefined) return W.t('challenge.answer.none');
      if (task.answer === 'pixel') {
        return W.t(key || 'challenge.answer.pixel', {x: W.number(Math.floor(answer[0])), y: W.number(Math.floor(answer[1]))});
      }
      if (task.answer === 'lab') {
        return W.t('challenge.answer.lab', {near: W.number(answer.near, {all: true}),
                                            far: W.number(answer.far, {all: true}), format: answer.format});
      }
      return W.t('challenge.answer.choice', {
        answer: options ? ZbvChallengeWords.option(task, options[answer]) : '?'});
    },

    // Right or wrong, and why, with the values that prove it.
    verdict: function(task, result) {
      var W = ZbvWords, values = {}, v = result.values;
      Object.keys(v).forEach(function(k) {
        values[k] = typeof v[k] === 'number' ? W.number(v[k], k === 't' ? {digits: 2} :
          k === 'float' || k === 'int' ? {precision: 3} : {}) : v[k];
      });
      return W.t('sentences', {a: W.t(result.right ? 'challenge.right' : 'challenge.wrong'), b: W.t(result.why, values)});
    },
  },
});
