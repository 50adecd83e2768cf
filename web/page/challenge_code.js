// SPDX-License-Identifier: MIT
// The completion code a student hands in: the set, the seed, the tries allowed, and each
// task's tries used and last answer, as bytes, then a CRC-32 of them, written in base 32
// (0-9 and the capitals but I, L, O and U, five bits a character). CRC-32 finds every change
// within 32 bits in a row, so any one character changed is found; the bits the last
// character has beyond the bytes must be 0, and only capitals are read, so that no two codes
// mean the same. The score is not in it: the teacher's view grades the answers again. Part
// of the challenges (challenge.js opens them). Linked into the challenges' script with
// --js-library's form.
mergeInto(LibraryManager.library, {
  $ZbvChallengeCode__deps: ['$ZbvChallengeSets'],
  $ZbvChallengeCode: {
    version: 1,
    alphabet: '0123456789ABCDEFGHJKMNPQRSTVWXYZ',
    formats: ['16', '24', '32f'],

    crc: function(bytes) {
      var c = -1;
      for (var i = 0; i < bytes.length; ++i) {
        c ^= bytes[i];
        for (var k = 0; k < 8; ++k) c = (c >>> 1) ^ (0xedb88320 & -(c & 1));
      }
      return (c ^ -1) >>> 0;
    },

    // {set, seed, tries, answers: [{tries, answer}]} as the code; answer null for none, an
    // option's index, a position [x, y] in the program's frame, or a lab {near, far, format},
    // as the set's tasks take them.
    encode: function(record) {
      var C = ZbvChallengeCode, tasks = ZbvChallengeSets.tasks(record.set, record.seed), out = [];
      var u = function(v, n) { for (var i = n - 1; i >= 0; --i) out.push((v >>> (8 * i)) & 255); };
      var f64 = function(v) {
        var b = new Uint8Array(new Float64Array([v]).buffer);
        for (var i = 7; i >= 0; --i) out.push(b[i]);
      };
      out.push((C.version << 4) | ZbvChallengeSets.names.indexOf(record.set));
      u(record.seed, 3);
      out.push(record.tries);
      tasks.forEach(function(task, i) {
        var a = record.answers[i] || {tries: 0, answer: null}, v = a.answer;
        out.push(a.tries);
        if (!a.tries) return;
        if (task.answer === 'choice') out.push(v);
        else if (task.answer === 'pixel') { u(Math.round(v[0] * 8), 2); u(Math.round(v[1] * 8), 2); }
        else { out.push(C.formats.indexOf(v.format)); f64(v.near); f64(v.far); }
      });
      u(C.crc(out), 4);
      var text = '', held = 0, have = 0;
      out.forEach(function(b) {
        held = (held << 8) | b;
        have += 8;
        while (have >= 5) {
          have -= 5;
          text += C.alphabet[(held >>> have) & 31];
        }
        held &= (1 << have) - 1;
      });
      if (have) text += C.alphabet[(held << (5 - have)) & 31];
      return text;
    },

    // The record a code holds, or null for one this page did not make (or that was changed).
    decode: function(text) {
      var C = ZbvChallengeCode, S = ZbvChallengeSets, bytes = [], held = 0, have = 0;
      if (typeof text !== 'string' || text.length < 8 || text.length > 400) return null;
      for (var i = 0; i < text.length; ++i) {
        var v = C.alphabet.indexOf(text[i]);
        if (v < 0) return null;
        held = (held << 5) | v;
        have += 5;
        if (have >= 8) {
          have -= 8;
          bytes.push((held >>> have) & 255);
          held &= (1 << have) - 1;
        }
      }
      if (have >= 5 || held !== 0) return null;  // bits beyond the bytes, or a character too many
      var n = bytes.length - 4, at = 0;
      if (n < 6) return null;
      var tail = ((bytes[n] << 24) | (bytes[n + 1] << 16) | (bytes[n + 2] << 8) | bytes[n + 3]) >>> 0;
      if (C.crc(bytes.slice(0, n)) !== tail) return null;
      var u = function(k) {
        var v = 0;
        for (var j = 0; j < k; ++j) v = v * 256 + bytes[at++];
        return v;
      };
      var f64 = function() {
        var b = new Uint8Array(8);
        for (var j = 7; j >= 0; --j) b[j] = bytes[at++];
        return new Float64Array(b.buffer)[0];
      };
      var head = u(1), set = S.names[head & 15];
      if (head >> 4 !== C.version || !set) return null;
      var record = {set: set, seed: u(3), tries: u(1), answers: []};
      if (record.tries < 1 || record.tries > 9) return null;
      var tasks = S.tasks(set, record.seed);
      for (var k = 0; k < tasks.length; ++k) {
        if (at >= n) return null;
        var task = tasks[k], used = u(1), answer = null;
        if (used > record.tries) return null;
        if (used) {
          if (task.answer === 'choice') {
            answer = u(1);
            if (answer >= (task.options || task.order).length) return null;
          } else if (task.answer === 'pixel') {
            answer = [u(2) / 8, u(2) / 8];
          } else {
            var format = C.formats[u(1)];
            answer = {format: format, near: f64(), far: f64()};
            if (!format || !(answer.near > 0) || !(answer.far > answer.near)) return null;
          }
          if (at > n) return null;
        }
        record.answers.push({tries: used, answer: answer});
      }
      return at === n ? record : null;
    },
  },
});
