// SPDX-License-Identifier: MIT
// The page in a classroom: in each language it speaks, with that language's words and numbers
// and none of English's; the projector's scheme; the picture and the depth view saved as the
// canvas's own pixels; full screen inside a frame that allows it and one that does not.
'use strict';
const { test } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const { kPage, kRoot } = require('../../tools/browser/browser');
const { loadLibrary } = require('../js/library');
const { openPage, readCanvas, settle, frameAfter, pressAndWait } = require('../../tools/browser/page_driver');
const { readPng } = require('../../tools/browser/scene');
const { browserSuite, same } = require('./harness');
const { followed, pickAll } = require('./panel');

// The languages the page speaks, in its order, as the assembly wrote them into it (none
// where there is no page: the suite then stands aside, saying why).
const kLanguages = fs.existsSync(kPage)
  ? /data-langs="([^"]+)"/.exec(fs.readFileSync(kPage, 'utf8'))[1].split(',') : [];
const { ZbvNumbers: N } = loadLibrary('web/page/numbers.js');
const words = (lang) => JSON.parse(fs.readFileSync(path.join(kRoot, `web/page/words/${lang}.json`), 'utf8'));

// The page in a language, once its words are in place.
async function inLanguage(browser, lang, hash = '') {
  const page = await openPage(browser, { hash: `#lang=${lang}${hash}` });
  await page.waitForFunction((l) => document.documentElement.dataset.words === l, {}, lang);
  return page;
}

// What the page says: the state line, the key buttons, a picked pixel's panel.
const says = (page) => page.evaluate(() => ({
  lang: document.documentElement.lang, state: document.getElementById('state').textContent,
  buttons: [...document.querySelectorAll('[data-key]')].map((b) => b.textContent),
  panel: ['pixel-where', 'pixel-colour', 'pixel-depth', 'pixel-lighting'].map((id) =>
    document.getElementById(id).textContent).concat([...document.querySelectorAll(
    '#pixel-history tbody td')].map((td) => td.textContent)),
}));

browserSuite('The page in a classroom', { everyEngine: true }, (browser) => {
  test('each language says the state, the keys and a pixel\'s history in its own words', async () => {
    const catalogues = fs.readdirSync(path.join(kRoot, 'web/page/words')).map((f) => f.replace(/\.json$/, ''));
    assert.deepEqual([...kLanguages].sort(), catalogues.sort(), 'the page speaks every catalogue');
    const seen = {};
    for (const lang of kLanguages) {
      const page = await inLanguage(browser(), lang, '&keys=4');
      await pickAll(page, [[180, 167]]);
      seen[lang] = await says(page);
      assert.equal(seen[lang].lang, lang);
      assert.deepEqual(page.errors, [], lang);
      await page.browserContext().close();
    }
    const en = seen.en, decimal = { es: ',', fr: ',', de: ',', 'pt-BR': ',', 'zh-Hans': '.' };
    for (const lang of kLanguages.slice(1)) {
      const s = seen[lang], w = words(lang);
      assert.notEqual(s.state, en.state, `${lang}: the state line`);
      assert.equal(s.state, N.format(w.state, { depth: 'on', lighting: 'off', light: 'white',
        lights: w['colour.white'] }, lang), `${lang}: the state line`);
      s.buttons.forEach((b, i) => assert.notEqual(b, en.buttons[i], `${lang}: button ${i + 1}`));
      // No sentence of the panel left as English says it, numbers written the language's way.
      s.panel.forEach((text, i) => {
        if (/[a-z]{4}/i.test(en.panel[i])) assert.notEqual(text, en.panel[i], `${lang}: panel line ${i}`);
      });
      assert.match(s.panel[2], new RegExp(`0\\${decimal[lang]}\\d{8}`), `${lang}: the depth's decimals`);
    }
  });

  test('a language chosen on the page goes into the address; a broken one is refused', async () => {
    const page = await openPage(browser(), { hash: '#lang=xx-yy&projector=2' });
    await settle(page);
    assert.match(await page.$eval('#page-refused', (e) => e.textContent), /xx-yy.*\n?.*2|2.*xx-yy/s);
    assert.equal(await page.evaluate(() => location.hash), '');
    await page.select('#lang', 'fr');
    await page.waitForFunction(() => document.documentElement.lang === 'fr' && location.hash === '#lang=fr');
    const opened = await openPage(browser(), { hash: '#lang=FR' });
    await opened.waitForFunction(() => document.documentElement.lang === 'fr');
    await page.evaluate(() => new Promise((done) => setTimeout(done, 200)));
    assert.equal(await opened.evaluate(() => location.hash), '#lang=fr');
  });

  test('the projector: large light type, a 3-pixel crosshair, a larger picture, with full screen',
    async () => {
      const page = await openPage(browser(), { width: 1280, height: 800, hash: '#pixel=150,150' });
      await followed(page);
      const before = await page.$eval('#canvas', (c) => c.getBoundingClientRect().width);
      await frameAfter(page, () => page.click('#projector'));
      await settle(page);
      const look = await page.evaluate(() => ({
        hash: location.hash, pressed: document.getElementById('projector').getAttribute('aria-pressed'),
        size: parseFloat(getComputedStyle(document.getElementById('state')).fontSize),
        page: getComputedStyle(document.body).backgroundColor,
        cross: getComputedStyle(document.querySelector('.cross'), '::before').width,
        width: document.getElementById('canvas').getBoundingClientRect().width }));
      assert.equal(look.pressed, 'true');
      assert.ok(look.size >= 28, `the state line at ${look.size} px`);
      assert.equal(look.page, 'rgb(255, 255, 255)');
      assert.equal(look.cross, '3px');
      assert.ok(look.width > before * 1.4, `the picture ${look.width} px wide, ${before} before`);
      await page.waitForFunction(() => location.hash === '#pixel=150,150&projector=1');
      await page.click('#full-screen');
      await page.waitForFunction(() => document.fullscreenElement === document.documentElement);
      assert.deepEqual(page.errors, []);
    });

  test('the picture and the depth view saved, the canvas\'s pixels exactly, named for the state',
    async () => {
      const page = await openPage(browser(), { hash: '#keys=2&near=0.001&step=3', before: () => {
        // The file each save would download: its name, and its bytes as base64.
        window.zbvSaved = [];
        HTMLAnchorElement.prototype.click = function() {
          const name = this.download;
          fetch(this.href).then((r) => r.arrayBuffer()).then((b) => {
            let text = '';
            new Uint8Array(b).forEach((c) => { text += String.fromCharCode(c); });
            window.zbvSaved.push({ name, data: btoa(text) });
          });
        };
      } });
      await followed(page);
      await page.click('#save-picture');
      await page.click('#save-depth');
      await page.waitForFunction(() => window.zbvSaved.length === 2);
      const saved = await page.evaluate(() => window.zbvSaved);
      saved.sort((a, b) => a.name.localeCompare(b.name));
      assert.deepEqual(saved.map((s) => s.name), ['zbuffer-viewer-depth-keys-2-near-0.001-step-3.png',
        'zbuffer-viewer-keys-2-near-0.001-step-3.png']);
      const files = saved.map((s) => readPng(Buffer.from(s.data, 'base64')));
      assert.ok(same(files[1], await readCanvas(page)), 'the saved picture');
      assert.ok(same(files[0], await readCanvas(page, 'depth')), 'the saved depth view');
    });

  test('full screen inside a frame: on where the frame allows it, off and saying why where not',
    async () => {
      // A course's page and the viewer's, from two origins, as a learning platform has them.
      const serve = (route) => new Promise((done) => {
        const server = http.createServer((request, response) => {
          response.setHeader('Content-Type', 'text/html; charset=utf-8');
          response.end(route(request.url));
        }).listen(0, '127.0.0.1', () => done(server));
      });
      const viewer = await serve(() => fs.readFileSync(kPage));
      const course = await serve((url) => '<!doctype html><html lang="en"><title>course</title>' +
        `<iframe src="http://localhost:${viewer.address().port}/" width="900" height="600" ` +
        `title="zbuffer-viewer"${url.includes('allow') ? ' allowfullscreen' : ''}></iframe></html>`);
      try {
        for (const allow of [true, false]) {
          const url = `http://127.0.0.1:${course.address().port}/${allow ? 'allow' : 'deny'}`;
          const page = await openPage(browser(), { url, width: 1000, height: 700, waitForFrame: false });
          const frame = await (await page.$('iframe')).contentFrame();
          await frame.waitForFunction(() => document.documentElement.dataset.words === 'en', { timeout: 20000 });
          const shown = await frame.evaluate(() => ({ disabled: document.getElementById('full-screen').disabled,
            why: !document.getElementById('full-screen-why').hidden }));
          assert.deepEqual(shown, { disabled: !allow, why: !allow }, `allowfullscreen ${allow}`);
          if (allow) {
            await frame.click('#full-screen');
            await frame.waitForFunction(() => !!document.fullscreenElement);
          }
          await page.browserContext().close();
        }
      } finally {
        viewer.close();
        course.close();
      }
    });
});
