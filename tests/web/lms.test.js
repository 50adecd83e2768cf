// SPDX-License-Identifier: MIT
// The page inside a course site, in each browser: a course page that runs a real SCORM 1.2
// runtime (scorm-again's Scorm12API as window.API, as learning platforms use it) and holds the
// page in an iframe of the same origin, as an LMS launches a package. The session initialised
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
// window.messages.
function coursePage(query) {
  const lms = query.has('lms'), mastery = query.get('mastery');
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
<iframe src="/zbuffer-viewer.html" width="900" height="600" title="zbuffer-viewer"></iframe></html>`;
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
  await frame.waitForFunction(() => document.documentElement.dataset.words === 'en' &&
    typeof ZbvCourse === 'object', { timeout: 20000 });
  return { page, frame };
}

// A set of five taken in the frame: the answers' verdicts in order, and the end where `end`.
function takeSet(frame, verdicts, end) {
  return frame.evaluate((v, e) => {
    const s = { set: 'depth', seed: 7 }, max = v.length;
    let score = 0;
    ZbvCourse.start({ ...s, max });
    v.forEach((correct, i) => {
      score += correct ? 1 : 0;
      ZbvCourse.answer({ ...s, task: i + 1, correct, score, max });
    });
    if (e) ZbvCourse.complete({ ...s, score, max, code: 'D7-TEST' });
  }, verdicts, end);
}

// What the LMS was asked, and what it holds now.
const lmsSide = (page) => page.evaluate(() => ({ calls: window.lms, messages: window.messages,
  raw: API.cmi.core.score.raw, max: API.cmi.core.score.max, status: API.cmi.core.lesson_status,
  terminated: API.isTerminated() }));
const values = (calls, element) => calls.filter((c) => c[0] === element).map((c) => c[1]);

browserSuite('the page inside a course site', { everyEngine: true }, (browser) => {
  test('in an LMS: initialised once, the score and status as answers earn them, committed, passed or failed, finished', async () => {
    const verdicts = [true, false, true, true, true];  // 4 of 5: 80 %
    for (const [query, status] of [['lms', 'passed'], ['lms&mastery=90', 'failed']]) {
      const { page, frame } = await course(browser(), query);
      await takeSet(frame, verdicts, true);
      await page.waitForFunction(() => window.messages.length === 6);
      const got = await lmsSide(page);
      assert.deepEqual(got.calls.filter((c) => c[0].startsWith('LMS')).map((c) => c[0]),
        ['LMSInitialize', ...Array(8).fill('LMSCommit'), 'LMSFinish'], query);
      assert.deepEqual(values(got.calls, 'cmi.core.score.raw'), ['20', '20', '40', '60', '80', '80']);
      assert.deepEqual(values(got.calls, 'cmi.core.lesson_status'), [...Array(6).fill('incomplete'), status]);
      assert.deepEqual([got.raw, got.max, got.status, got.terminated], ['80', '100', status, true], query);
      assert.deepEqual(got.messages.map((m) => [m.type, m.task, m.correct, m.score]),
        [...verdicts.map((c, i) => ['answer', i + 1, c, [1, 1, 2, 3, 4][i]]), ['complete', undefined, undefined, 4]]);
      assert.deepEqual(got.messages[5], { source: 'zbuffer-viewer', type: 'complete', set: 'depth', seed: 7,
        score: 4, max: 5, code: 'D7-TEST' });
      assert.deepEqual(await frame.evaluate(() => window.zbvErrors), []);
      await page.browserContext().close();
    }
  });

  test('in an LMS, a page left before the end: what it earned committed, the session finished', async () => {
    const { page, frame } = await course(browser(), 'lms');
    await takeSet(frame, [true, true], false);
    await frame.evaluate(() => { location.href = 'about:blank'; });
    await page.waitForFunction(() => window.lms.some((c) => c[0] === 'LMSFinish'), { timeout: 10000 });
    const got = await lmsSide(page);
    assert.deepEqual([got.raw, got.status, got.terminated], ['100', 'incomplete', true]);
    assert.deepEqual(got.calls.slice(-2), [['LMSCommit'], ['LMSFinish']]);
    await page.browserContext().close();
  });

  test('without an LMS: no challenge, no message and no error; a challenge\'s answers still reach the parent', async () => {
    const { page, frame } = await course(browser(), 'plain');
    await new Promise((done) => setTimeout(done, 500));
    assert.deepEqual(await page.evaluate(() => window.messages), []);
    await takeSet(frame, [false], true);
    await page.waitForFunction(() => window.messages.length === 2);
    assert.deepEqual(await page.evaluate(() => window.messages.map((m) => m.type)), ['answer', 'complete']);
    assert.deepEqual(await frame.evaluate(() => window.zbvErrors), []);
    await page.browserContext().close();

    // The page on its own, with no parent and no opener: nothing happens, nothing is thrown.
    const alone = await openPage(browser(), { before: keepErrors });
    await alone.evaluate(() => {
      window.heard = 0;
      window.addEventListener('message', () => { window.heard += 1; });
    });
    await takeSet(alone, [true, true], true);
    await new Promise((done) => setTimeout(done, 200));
    assert.deepEqual(await alone.evaluate(() => [window.heard, window.zbvErrors]), [0, []]);
    await alone.browserContext().close();
  });
});
