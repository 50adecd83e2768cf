// SPDX-License-Identifier: MIT
// What a course site hears of a challenge: each checked answer and the end of a set. A page
// outside any course site tells no one, as here; the course site's side takes this place.
// Part of the challenges (challenge.js opens them). Linked into the challenges' script with
// --js-library's form.
mergeInto(LibraryManager.library, {
  $ZbvCourse: {
    // {set, seed, task, correct, score, max}
    answer: function(event) {},
    // {set, seed, score, max, code}
    complete: function(event) {},
  },
});
