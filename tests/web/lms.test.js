// SPDX-License-Identifier: MIT
// The page inside a course site, in each browser: a course page that runs a real SCORM 1.2
// runtime (scorm-again's Scorm12API as window.API, as learning platforms use it) and holds the
// page in an iframe of the same origin, launched at a challenge as an LMS launches a package's
// item, and a set taken in it. The session initialised
// once, the score and the status set as answers earn them, committed, passed or failed at the
// mastery score, finished at the end or when the page is left; every answer and the end
// posted to the parent. Without an LMS and without a challenge, the page posts nothing and
// throws nothing.
'use strict';
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const { kPage } = require('../../tools/browser/browser');
const { openPage } = require('../../tools/browser/page_driver');
const { browserSuite } = require('./harness');

const kRuntime = path.join(__dirname, '../../tools/browser/node_modules/scorm-again/dist/scorm12.min.js');

// The course page: the LMS's API where `lms` is asked for (with the mastery score the
// platform gives, where one is), what it is asked kept in window.lms, the page's messages in
// window.messages; the page launched at `launch` (the fragment an LMS adds from the item).
function coursePage(query) {
  const lms = query.has('lms'), mastery = query.get('mastery'), launch = query.get('launch') || '';
  return `<!doctype html><html lang="en"><title>course</title>
${lms ? '<script src="/scorm12.js"></script>' : ''}
<script>
window.lms = [];
window.messages = [];
addEventListener('message', (e) => { if (e.data && e.data.source === 'zbuffer-viewer') messages.push(e.data); });
if (${lms}) {
  const api = new Scorm12API({ logLevel: 5 });
  if (${JSON.stringify(mastery)}) api.loadFromJSON({ student_data: { mastery_score: ${JSON.stringify(mastery)} } });
  for (const name of ['LMSInitialize', 'LMSCommit', 'LMSFinish']) api.on(name, () => lms.push([name]));
  api.on('LMSSetValue.cmi.*', (element, value) => lms.push([element, value]));
  window.API = api;
}
</script>
<iframe src="/zbuffer-viewer.html${launch}" width="900" height="700" title="zbuffer-viewer"></iframe></html>`;
}

let server, origin;
before(async () => {
  server = http.createServer((request, response) => {
    const url = new URL(request.url, 'http://localhost');
    const [type, body] = url.pathname === '/zbuffer-viewer.html' ? ['text/html', fs.readFileSync(kPage)]
      : url.pathname === '/scorm12.js' ? ['text/javascript', fs.readFileSync(kRuntime)]
        : ['text/html', coursePage(url.searchParams)];
    response.setHeader('Content-Type', `${type}; charset=utf-8`);
    response.end(body);
  });
  await new Promise((done) => server.listen(0, '127.0.0.1', done));
  origin = `http://127.0.0.1:${server.address().port}`;
});
after(() => server && server.close());

// Errors thrown in any of the page's frames, kept in that frame.
function keepErrors() {
  window.zbvErrors = [];
  window.addEventListener('error', (e) => window.zbvErrors.push(String(e.message)));
  window.addEventListener('unhandledrejection', (e) => window.zbvErrors.push(String(e.reason)));
}

// The course page at this query, and the viewer's frame once its words are in place.
async function course(browser, query) {
  const page = await openPage(browser, { url: `${origin}/course.html?${query}`, waitForFrame: false,
    before: keepErrors });
  const frame = await (await page.$('iframe')).contentFrame();
  await frame.waitForFunction(() => document.documentElement.dataset.words === 'en', { timeout: 20000 });
  return { page, frame };
}

// The launched set taken in the frame as a hurried student would, by pointer: the first
// option of each choice, the middle of the picture for each pixel; `count` tasks checked (all
// by default, then the end). The page's own verdicts, and the set's length.
const kSet = '#challenge=depth&seed=7';
async function takeSet(frame, count = Infinity) {
  const ready = (n) => frame.waitForFunction((k) => {
    const c = document.getElementById('challenge');
    return c && c.dataset.ready === String(k);
  }, { timeout: 30000 }, n);
  await ready(1);
  const max = await frame.evaluate(() => ZbvChallenge.run.tasks.length);
  for (let i = 0; i < Math.min(count, max); ++i) {
    if (i > 0) await ready(i + 1);
    const choice = await frame.evaluate(() => ZbvChallenge.run.tasks[ZbvChallenge.run.at].answer === 'choice');
    await frame.click(choice ? '#challenge-options input' : '#canvas');
    await frame.click('#challenge-check');
    await frame.waitForFunction((k) => document.querySelectorAll('#challenge-sheet li').length === k &&
      !document.getElementById('challenge-next').hidden, { timeout: 30000 }, i + 1);
    if (i + 1 < count) await frame.click('#challenge-next');
  }
  if (count >= max) await frame.waitForFunction(() => !!document.getElementById('challenge-code').dataset.code);
  return frame.evaluate((m) => ({ max: m, code: document.getElementById('challenge-code').dataset.code || '',
    right: [...document.querySelectorAll('#challenge-sheet li')].map((li) => li.dataset.right === '1') }), max);
}
// The score after each answer, in percent of the set, as the verdicts earn it.
const earned = (right, max) => right.map((_, i) => (100 * right.slice(0, i + 1).filter(Boolean).length) / max);

// What the LMS was asked, and what it holds now.
const lmsSide = (page) => page.evaluate(() => ({ calls: window.lms, messages: window.messages,
  raw: API.cmi.core.score.raw, max: API.cmi.core.score.max, status: API.cmi.core.lesson_status,
  terminated: API.isTerminated() }));
const values = (calls, element) => calls.filter((c) => c[0] === element).map((c) => c[1]);

browserSuite('the page inside a course site', { everyEngine: true }, (browser) => {
  test('in an LMS: initialised once, the score and status as answers earn them, committed, passed or failed, finished', async () => {
    for (const mastery of ['', '100']) {
      const query = `lms&launch=${encodeURIComponent(kSet)}${mastery ? `&mastery=${mastery}` : ''}`;
      const { page, frame } = await course(browser(), query);
      const { right, max, code } = await takeSet(frame);
      await page.waitForFunction((n) => window.messages.length === n, {}, max + 1);
      const got = await lmsSide(page), score = right.filter(Boolean).length;
      assert.ok(score < max, 'a hurried student gets one wrong at least, so that 100 % fails');
      const status = 100 * score / max >= (mastery ? +mastery : 80) ? 'passed' : 'failed';
      assert.deepEqual(got.calls.filter((c) => c[0].startsWith('LMS')).map((c) => c[0]),
        ['LMSInitialize', ...Array(max + 3).fill('LMSCommit'), 'LMSFinish'], query);
      const raws = values(got.calls, 'cmi.core.score.raw').map(Number), want = earned(right, max);
      assert.equal(raws.length, max + 1, query);
      raws.forEach((r, i) => assert.ok(Math.abs(r - want[Math.min(i, max - 1)]) < 0.005, `${query}: raw ${r} at ${i}`));
      assert.deepEqual(values(got.calls, 'cmi.core.lesson_status'), [...Array(max + 1).fill('incomplete'), status]);
      assert.deepEqual([got.max, got.status, got.terminated], ['100', status, true], query);
      assert.deepEqual(got.messages.map((m) => [m.type, m.task, m.correct]),
        [...right.map((c, i) => ['answer', i + 1, c]), ['complete', undefined, undefined]]);
      assert.deepEqual(got.messages[max], { source: 'zbuffer-viewer', type: 'complete', set: 'depth', seed: 7,
        score, max, code });
      assert.deepEqual(await frame.evaluate(() => window.zbvErrors), []);
      await page.browserContext().close();
    }
  });

  test('in an LMS, a page left before the end: what it earned committed, the session finished', async () => {
    const { page, frame } = await course(browser(), `lms&launch=${encodeURIComponent(kSet)}`);
    const { right, max } = await takeSet(frame, 2);
    await frame.evaluate(() => { location.href = 'about:blank'; });
    await page.waitForFunction(() => window.lms.some((c) => c[0] === 'LMSFinish'), { timeout: 10000 });
    const got = await lmsSide(page);
    assert.ok(Math.abs(Number(got.raw) - earned(right, max)[1]) < 0.005, got.raw);
    assert.deepEqual([got.status, got.terminated], ['incomplete', true]);
    assert.deepEqual(got.calls.slice(-2), [['LMSCommit'], ['LMSFinish']]);
    await page.browserContext().close();
  });

  test('without an LMS: no challenge, no message and no error; a challenge\'s answers still reach the parent', async () => {
    const plain = await course(browser(), 'plain');
    await new Promise((done) => setTimeout(done, 500));
    assert.deepEqual(await plain.page.evaluate(() => window.messages), []);
    assert.deepEqual(await plain.frame.evaluate(() => [window.zbvErrors, typeof ZbvCourse]), [[], 'undefined']);
    await plain.page.browserContext().close();

    const { page, frame } = await course(browser(), `plain&launch=${encodeURIComponent(kSet)}`);
    await takeSet(frame, 1);
    await page.waitForFunction(() => window.messages.length === 1);
    assert.deepEqual(await page.evaluate(() => window.messages.map((m) => m.type)), ['answer']);
    assert.deepEqual(await frame.evaluate(() => window.zbvErrors), []);
    await page.browserContext().close();

    // The page on its own, with no parent and no opener: nothing happens, nothing is thrown.
    const alone = await openPage(browser(), { hash: kSet, before: keepErrors });
    await alone.evaluate(() => {
      window.heard = 0;
      window.addEventListener('message', () => { window.heard += 1; });
    });
    await takeSet(alone, 1);
    await new Promise((done) => setTimeout(done, 200));
    assert.deepEqual(await alone.evaluate(() => [window.heard, window.zbvErrors]), [0, []]);
    await alone.browserContext().close();
  });
});
