// SPDX-License-Identifier: MIT
// The challenges, for bench.js: from a click on "Next" to the next task's words in the page
// (the time a student waits for the question; its frame follows), over several tasks of
// several sets. Each task is answered and checked first, as a student would, and only the
// step from Next to the words is timed.
'use strict';
const { openPage } = require('../../tools/browser/page_driver');
const { median } = require('./bench_history');

const kSets = [['depth', 7], ['lighting', 3], ['order', 11]];

// Milliseconds from Next's click to the task's words written (a mutation of them seen).
function nextToWords(page) {
  return page.evaluate(() => new Promise((done) => {
    const task = document.getElementById('challenge-task'), next = document.getElementById('challenge-next');
    let clicked = 0;
    const seen = new MutationObserver(() => {
      seen.disconnect();
      done(performance.now() - clicked);
    });
    seen.observe(task, { childList: true, characterData: true, subtree: true });
    next.addEventListener('click', () => { clicked = performance.now(); }, { once: true, capture: true });
    next.click();
  }));
}

async function measureNext(browser, pages) {
  for (const p of pages) {
    const times = [];
    for (const [set, seed] of kSets) {
      const page = await openPage(browser, { url: `${p.url}#challenge=${set}&seed=${seed}` });
      const opened = await page.waitForFunction(() => !!document.getElementById('challenge-check'),
        { timeout: 15000 }).then(() => true, () => false);
      if (!opened) {
        console.log(`${p.name}: no challenges`);
        await page.browserContext().close();
        break;
      }
      for (let n = 1; ; ++n) {
        await page.waitForFunction((k) => document.getElementById('challenge').dataset.ready === String(k), {}, n);
        const last = await page.evaluate(() => {
          const run = ZbvChallenge.run;
          // Any answer: the first option, or the middle of the picture.
          if (run.tasks[run.at].answer === 'choice') run.answer = 0;
          else if (run.tasks[run.at].answer === 'pixel') run.answer = [150, 150];
          document.getElementById('challenge-check').click();
          return run.at + 1 === run.tasks.length;
        });
        await page.waitForFunction(() => !document.getElementById('challenge-next').hidden, { timeout: 30000 });
        if (last) break;
        times.push(await nextToWords(page));
      }
      await page.browserContext().close();
    }
    if (times.length) {
      console.log(`${p.name}: Next to the task's words ${median(times).toFixed(1)} ms (median of ` +
        `${times.length}, slowest ${Math.max(...times).toFixed(1)} ms; within 16 ms: ` +
        `${median(times) <= 16 ? 'yes' : 'NO'})`);
    }
  }
}

module.exports = { measureNext };
