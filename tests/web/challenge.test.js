// SPDX-License-Identifier: MIT
// The challenges as a class takes them: a set answered by keyboard and one by pointer, some
// answers right and some wrong, as the scene's facts say they are (which draw stands over
// which at each landmark); the instruments that give an answer away hidden until Check and
// shown after it; the completion code verified in the teacher's view, and refused once one
// character changes; the printed sheet; each language's words; axe in every state.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { kRoot } = require('../../tools/browser/browser');
const { openPage } = require('../../tools/browser/page_driver');
const { facts, floorDistance } = require('../../tools/browser/scene');
const { axeViolations } = require('../../tools/browser/axe');
const { browserSuite } = require('./harness');

const words = (lang) => JSON.parse(fs.readFileSync(path.join(kRoot, `web/page/words/${lang}.json`), 'utf8'));
const kDraws = facts.draws.files.map((f) => f.replace(/^\d+-/, ''));
// The teapots each landmark shows (nearest first), from their names; the floor under those
// below the horizon.
const kStands = { teapot1Over2: ['grey-teapot', 'red-teapot'], teapot1Over3: ['grey-teapot', 'blue-teapot'],
  teapot2Over3: ['red-teapot', 'blue-teapot'], teapot3: ['blue-teapot'], teapot2Left: ['red-teapot'],
  teapot1Left: ['grey-teapot'], teapot1Right: ['grey-teapot'], teapot1Front: ['grey-teapot'], floorBehind: [] };
const objects = (landmark) => {
  const [x, y] = facts.landmarks[landmark], t = floorDistance(x, facts.window.height - 1 - y);
  return kStands[landmark].concat(t > 0 && t < facts.camera.far ? ['floor'] : []);
};
// The right answer of a task, from the facts: the nearest object with the depth test on; the
// last drawn (within the draws shown) with it off; a pixel of the first landmark that has it.
function expected(task) {
  const there = task.landmark && objects(task.landmark);
  if (task.kind === 'winner') return there[0] || 'background';
  if (task.kind === 'pass') return there[0] === kDraws[task.draw] ? 'yes' : 'no';
  if (task.kind === 'after') {
    const drawn = there.filter((o) => kDraws.indexOf(o) < task.draw);
    return drawn.sort((a, b) => kDraws.indexOf(b) - kDraws.indexOf(a))[0] || 'background';
  }
  if (task.kind === 'last') return 'grey-teapot';
  // Red behind grey: the red teapot fails there, would paint over without the test, and
  // with it off covers the nearer grey one.
  return 'teapot1Over2';
}
const toWindow = (name) => [facts.landmarks[name][0], facts.window.height - 1 - facts.landmarks[name][1]];

// What the page shows of the challenge, and whether each instrument is on show.
const shows = (page) => page.evaluate(() => {
  const on = (sel) => { const e = document.querySelector(sel); return !!e && e.getClientRects().length > 0; };
  const c = document.getElementById('challenge');
  return { ready: c.dataset.ready, said: document.getElementById('challenge-said').textContent,
    task: document.getElementById('challenge-task').textContent, title: document.getElementById('challenge-title').textContent,
    check: document.getElementById('challenge-check').textContent,
    history: on('section[aria-labelledby=history-title]'), depth: on('#depth'), steps: on('.steps'),
    verdicts: [...document.querySelectorAll('#challenge-sheet li')].map((li) => li.dataset.right === '1'),
    task_: ZbvChallenge.run && ZbvChallenge.run.tasks[ZbvChallenge.run.at], at: ZbvChallenge.run && ZbvChallenge.run.at,
    code: document.getElementById('challenge-code').dataset.code || '' };
});
const ready = (page, n) => page.waitForFunction((k) => {
  const c = document.getElementById('challenge');
  return c && c.dataset.ready === String(k);
}, { timeout: 30000 }, n);
const checked = (page, n) => page.waitForFunction((k) => document.querySelectorAll('#challenge-sheet li').length === k &&
  !document.getElementById('challenge-next').hidden, { timeout: 30000 }, n);
async function noViolations(page, what) {
  const found = await axeViolations(page);
  assert.deepEqual(found.violations, [], what);
}

async function printed(page, code) {
  await page.emulateMediaType('print');
  const sheet = await page.evaluate(() => {
    const on = (e) => !!e && e.getClientRects().length > 0;
    return { tasks: [...document.querySelectorAll('#challenge-sheet li')].filter((li) => on(li) && on(li.querySelector('img'))).length,
      end: document.getElementById('challenge-sheet-end').textContent, picture: on(document.getElementById('canvas')),
      toolbar: on(document.querySelector('.toolbar')) };
  });
  await page.emulateMediaType('screen');
  assert.deepEqual([sheet.tasks, sheet.picture, sheet.toolbar], [6, false, false]);
  assert.ok(sheet.end.includes(code), sheet.end);
}

browserSuite('The challenges', { everyEngine: true }, (browser, name) => {
  test('a set answered by keyboard, right and wrong, its code verified and a changed one refused', async () => {
    const page = await openPage(browser(), { hash: '#challenge=depth&seed=7' });
    await ready(page, 1);
    const wrongOn = new Set([0, 3]), given = [];
    for (let i = 0; ; ++i) {
      const s = await shows(page);
      assert.equal(s.at, i);
      assert.deepEqual([s.history, s.depth, s.steps], [false, false, false], `task ${i + 1}: an instrument on show before Check`);
      assert.ok(s.said.includes(s.task), `task ${i + 1} not said: ${s.said}`);
      if (i === 0) await noViolations(page, 'a task asked');
      const task = s.task_, right = expected(task), wrong = wrongOn.has(i);
      if (task.answer === 'choice') {
        const want = wrong ? task.options.findIndex((o) => o !== right) : task.options.indexOf(right);
        await page.focus('#challenge-options input');
        await page.keyboard.press('Space');
        for (let k = 0; k < want; ++k) await page.keyboard.press('ArrowDown');
      } else {
        // From the middle of the picture to the landmark (or, to be wrong, the sky above it).
        const [tx, ty] = wrong ? [150, 295] : toWindow(right);
        await page.focus('#canvas');
        await page.keyboard.press(tx >= 150 ? 'ArrowRight' : 'ArrowLeft');
        for (let x = tx >= 150 ? 151 : 149; x !== tx; x += tx > x ? 1 : -1) await page.keyboard.press(tx > x ? 'ArrowRight' : 'ArrowLeft');
        for (let y = 150; y !== ty; y += ty > y ? 1 : -1) await page.keyboard.press(ty > y ? 'ArrowUp' : 'ArrowDown');
        assert.match((await shows(page)).said, /\d/, 'the pixel picked not said');
      }
      await page.focus('#challenge-check');
      await page.keyboard.press('Enter');
      await checked(page, i + 1);
      const after = await shows(page);
      assert.equal(after.verdicts[i], !wrong, `task ${i + 1} (${task.kind}, ${task.landmark || ''}): ${after.said}`);
      assert.ok(after.history, `task ${i + 1}: the history not shown after Check`);
      given.push(!wrong);
      if (i === 0) await noViolations(page, 'a task checked');
      const last = task === null || i + 1 === 6;
      await page.keyboard.press('Enter');  // the focus is on Next
      if (last) break;
      await ready(page, i + 2);
    }
    await page.waitForFunction(() => !!document.getElementById('challenge-code').dataset.code);
    const end = await shows(page);
    const score = given.filter(Boolean).length;
    assert.match(end.said, new RegExp(`${score}\\D+6`));
    await noViolations(page, 'the end');
    // Printed: the answer sheet alone, each task with its picture, then the score and the code
    // (in Chromium: Firefox's driver, over WebDriver BiDi, cannot emulate print media).
    if (name === 'chromium') await printed(page, end.code);

    // The teacher's view of the code: the same verdicts, the score recomputed.
    await page.evaluate((c) => { location.hash = `#verify=${c}`; }, end.code);
    await page.waitForFunction(() => document.getElementById('challenge').dataset.verified !== undefined, { timeout: 60000 });
    const verified = await shows(page);
    assert.deepEqual(verified.verdicts, given);
    assert.equal(await page.evaluate(() => document.getElementById('challenge').dataset.verified), String(score));
    await noViolations(page, 'the teacher\'s view');
    const changed = end.code.slice(0, 5) + (end.code[5] === 'A' ? 'B' : 'A') + end.code.slice(6);
    await page.evaluate((c) => { location.hash = `#verify=${c}`; }, changed);
    await page.waitForFunction(() => /\S/.test(document.getElementById('page-refused').textContent));
    const refused = await page.evaluate(() => document.getElementById('page-refused').textContent);
    assert.ok(refused.startsWith(words('en')['challenge.refused.verify'].split('“')[0]), refused);
    console.log(`${name}: keyboard, ${score} of 6 right as the facts say; code ${end.code.length} characters, ` +
      'verified, and refused with one character changed');
    assert.deepEqual(page.errors, []);
  });

  test('a set answered by pointer, right and wrong; malformed values refused, the rest applied', async () => {
    const page = await openPage(browser(), { hash: '#challenge=order&seed=7&tries=x&score=hide' });
    await ready(page, 1);
    const first = await shows(page);
    assert.doesNotMatch(await page.evaluate(() => document.getElementById('challenge-progress').textContent), /\d+\D+\d+\D+\d/);
    assert.match(await page.evaluate(() => document.getElementById('page-refused').textContent), /“x”/);
    assert.match(await page.evaluate(() => location.hash), /seed=7/);
    assert.ok(first.task);
    const given = [];
    for (let i = 0; ; ++i) {
      const task = (await shows(page)).task_, wrong = i === 1, right = expected(task);
      if (task.answer === 'choice') {
        const want = wrong ? task.options.findIndex((o) => o !== right) : task.options.indexOf(right);
        await page.click(`#challenge-options input[value="${want}"]`);
      } else {
        const box = await page.evaluate(() => {
          const canvas = document.getElementById('canvas');
          canvas.scrollIntoView({ block: 'nearest' });
          const b = canvas.getBoundingClientRect();
          return [b.left, b.top, b.width, b.height];
        });
        const [x, y] = toWindow(right);
        await page.mouse.click(box[0] + (x + 0.5) * box[2] / 300, box[1] + (299 - y + 0.5) * box[3] / 300);
      }
      await page.click('#challenge-check');
      await checked(page, i + 1);
      given.push(!wrong);
      const now = await shows(page);
      assert.equal(now.verdicts[i], !wrong, `task ${i + 1} (${task.kind}, ${task.landmark || ''}): ${now.said}`);
      const count = await page.evaluate(() => ZbvChallenge.run.tasks.length);
      await page.click('#challenge-next');
      if (i + 1 === count) break;
      await ready(page, i + 2);
    }
    await page.waitForFunction(() => !!document.getElementById('challenge-code').dataset.code);
    assert.match((await shows(page)).said, new RegExp(`${given.filter(Boolean).length}\\D+${given.length}`));
    console.log(`${name}: pointer, ${given.filter(Boolean).length} of ${given.length} right as the facts say`);
    assert.deepEqual(page.errors, []);
  });

  // The words are the same in every engine: Chromium reads them.
  if (name === 'chromium') test('speaks each language, in the projector\'s scheme too', async () => {
    const page = await openPage(browser(), { hash: '#challenge=lighting&seed=3' });
    await ready(page, 1);
    for (const [lang, projector] of [['de', ''], ['es', ''], ['fr', ''], ['pt-BR', ''], ['zh-Hans', ''], ['en', '&projector=1']]) {
      await page.evaluate((h) => { location.hash = h; }, `#challenge=lighting&seed=3&lang=${lang}${projector}`);
      await page.waitForFunction((l) => document.documentElement.dataset.words === l, {}, lang);
      const s = await shows(page), w = words(lang);
      assert.equal(s.check, w['challenge.check'], lang);
      for (const text of [s.title, s.task, s.said]) {
        assert.ok(text && !/[{}]/.test(text), `${lang}: "${text}"`);
        if (lang !== 'en') assert.ok(!text.includes(words('en')['challenge.task.which']), `${lang}: English in "${text}"`);
      }
      if (projector || lang === 'zh-Hans') await noViolations(page, `${lang}${projector}`);
    }
    assert.deepEqual(page.errors, []);
  });
});
