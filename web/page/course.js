// SPDX-License-Identifier: MIT
// What the page tells the course site it is part of while a class takes a challenge. Inside an
// iframe, each checked answer and the end of a set go to the parent as a message
// ({source: 'zbuffer-viewer', type: 'answer' | 'complete', ...}). Inside an LMS, the same go to
// the SCORM 1.2 API it offers: the score and the lesson's status, committed after each answer,
// passed or failed against the mastery score at the end, and the session finished. Where there
// is neither a parent nor an API nothing happens, and nothing an LMS does (a missing call, an
// exception, a refusal) reaches the page. Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvCourse__deps: [],  // the browser's alone: it is called, it calls no other part
  $ZbvCourse: {
    // The passing score in percent where the LMS gives none (cmi.student_data.mastery_score);
    // the package's manifest names the same.
    defaultMastery: 80,
    // Each message's fields, in order; a field the caller did not give is left out.
    fields: {answer: ['set', 'seed', 'task', 'correct', 'score', 'max'],
             complete: ['set', 'seed', 'score', 'max', 'code']},
    api: null,  // the LMS's API, once LMSInitialize has said 'true'
    looked: false,
    finished: false,
    mastery: 0,  // the LMS's, or the default, once the session is open

    // SCORM 1.2's search for the API: window.API in this window, then in each parent up to
    // seven frames up; a frame of another origin cannot be read and is passed over.
    findIn: function(win) {
      for (var up = 0; win && up <= 7; ++up) {
        try {
          if (win.API) return win.API;
        } catch (e) {}
        try {
          if (!win.parent || win.parent === win) return null;
          win = win.parent;
        } catch (e) {
          return null;
        }
      }
      return null;
    },

    // One call of the API, its answer as a string ('' where it threw).
    call: function(name, a, b) {
      try {
        return String(ZbvCourse.api[name].apply(ZbvCourse.api, [].slice.call(arguments, 1)));
      } catch (e) {
        return '';
      }
    },

    // The LMS session, opened the first time a challenge needs it: the API looked for in this
    // window's frames, then in those of the window that opened it; null where there is none,
    // where it refused to start, and once the session is finished.
    lms: function() {
      var C = ZbvCourse;
      if (!C.looked) {
        C.looked = true;
        var api = C.findIn(window);
        if (!api) {
          try {
            api = C.findIn(window.top.opener);
          } catch (e) {}
        }
        C.api = api;
        if (api && C.call('LMSInitialize', '') === 'true') {
          var mastery = parseFloat(C.call('LMSGetValue', 'cmi.student_data.mastery_score'));
          C.mastery = mastery >= 0 && mastery <= 100 ? mastery : C.defaultMastery;
          window.addEventListener('pagehide', C.finish);
        } else {
          C.api = null;
        }
      }
      return C.finished ? null : C.api;
    },

    // Committed and finished, once: at the end of a set, or when the page goes away before it.
    finish: function() {
      var C = ZbvCourse;
      if (!C.api || C.finished) return;
      C.call('LMSCommit', '');
      C.call('LMSFinish', '');
      C.finished = true;
    },

    // The score as the LMS keeps it: in percent of the set's tasks (an LMS such as Moodle reads
    // raw as a grade out of 100 and does not look at max), to two decimals; and the status.
    report: function(score, max, status) {
      var C = ZbvCourse;
      C.call('LMSSetValue', 'cmi.core.score.min', '0');
      C.call('LMSSetValue', 'cmi.core.score.max', '100');
      C.call('LMSSetValue', 'cmi.core.score.raw', String(C.percent(score, max)));
      C.call('LMSSetValue', 'cmi.core.lesson_status', status);
      C.call('LMSCommit', '');
    },

    percent: function(score, max) {
      return max > 0 ? Math.round(10000 * score / max) / 100 : 0;
    },

    // To the parent frame. Its origin is not known to the page (any course site may embed
    // it), and the message holds nothing secret, so it goes to any ('*').
    post: function(type, event) {
      if (window.parent === window) return;
      var message = {source: 'zbuffer-viewer', type: type};
      ZbvCourse.fields[type].forEach(function(name) {
        if (event[name] !== undefined) message[name] = event[name];
      });
      try {
        window.parent.postMessage(message, '*');
      } catch (e) {}
    },

    // A challenge begins ({set, seed, max}): the LMS session opened, the lesson incomplete.
    start: function(event) {
      if (ZbvCourse.lms()) {
        ZbvCourse.call('LMSSetValue', 'cmi.core.lesson_status', 'incomplete');
        ZbvCourse.call('LMSCommit', '');
      }
    },

    // An answer checked ({set, seed, task, correct, score, max}; score: earned so far, of max).
    answer: function(event) {
      ZbvCourse.post('answer', event);
      if (ZbvCourse.lms()) ZbvCourse.report(event.score, event.max, 'incomplete');
    },

    // The set's end ({set, seed, score, max, code}): passed or failed, the session finished.
    complete: function(event) {
      var C = ZbvCourse;
      C.post('complete', event);
      if (!C.lms()) return;
      var passed = event.max > 0 && 100 * event.score / event.max >= C.mastery;
      C.report(event.score, event.max, passed ? 'passed' : 'failed');
      C.finish();
    },
  },
});
