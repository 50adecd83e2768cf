// SPDX-License-Identifier: MIT
// Starts the browsers that the page's tests, benchmark and screenshot drive, headless, with
// puppeteer-core: Debian's Chromium (over the DevTools protocol, WebGL from SwiftShader) and
// firefox-esr (over WebDriver BiDi; its WebGL needs an X server, the tests' private Xvfb).
'use strict';
const fs = require('node:fs');
const path = require('node:path');

const kRoot = path.resolve(__dirname, '../..');
const kPage = process.env.ZBV_WEB_PAGE || path.join(kRoot, 'build-web/zbuffer-viewer.html');

const kBrowsers = {
  // The browser binary itself: /usr/bin/chromium is a shell wrapper that adds flags of its own.
  chromium: {
    binary: process.env.ZBV_CHROMIUM || '/usr/lib/chromium/chromium',
    // WebGL from SwiftShader, on a machine with no GPU and no display; nothing fetched.
    // gc(): the page's tests look at memory after collecting garbage.
    args: ['--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--js-flags=--expose-gc',
      '--no-first-run',
      '--no-sandbox', '--disable-background-networking', '--disable-component-update',
      '--disable-sync'],
    noWebgl: { args: ['--disable-webgl'] },
    dark: { args: ['--force-dark-mode'] },
    // A screen of this many device pixels to a CSS pixel, as a real one paints (emulating the
    // ratio instead paints positions snapped to whole CSS pixels, then scaled).
    scale: (s) => ({ args: [`--force-device-scale-factor=${s}`] }),
  },
  firefox: {
    binary: process.env.ZBV_FIREFOX || '/usr/bin/firefox-esr',
    needsDisplay: true,
    prefs: { 'app.update.enabled': false, 'browser.shell.checkDefaultBrowser': false },
    noWebgl: { prefs: { 'webgl.disabled': true } },
    dark: { prefs: { 'layout.css.prefers-color-scheme.content-override': 0 } },
    // Firefox paints an emulated ratio as a real screen of it would.
    scale: null,
  },
};

// The browsers to run the page in: all, or those ZBV_BROWSERS lists (comma-separated).
function browserNames() {
  const asked = (process.env.ZBV_BROWSERS || '').split(',').filter(Boolean);
  const unknown = asked.filter((n) => !kBrowsers[n]);
  if (unknown.length) throw new Error(`ZBV_BROWSERS: no browser named ${unknown.join(', ')}`);
  return asked.length ? asked : Object.keys(kBrowsers);
}

// Why this browser cannot drive the page here, or '' when it can.
function unavailable(name) {
  const node = Number(process.versions.node.split('.')[0]);
  if (node < 20) return `needs node 20 or later for puppeteer-core; this is node ${node}`;
  const b = kBrowsers[name];
  if (!fs.existsSync(b.binary)) return `no ${name} at ${b.binary} (scripts/install-deps web)`;
  if (b.needsDisplay && !process.env.DISPLAY) {
    return `${name} has WebGL only on an X server, and DISPLAY is not set (make test-web starts one)`;
  }
  if (!fs.existsSync(kPage)) return `no page at ${kPage} (make web builds it)`;
  try {
    require.resolve('puppeteer-core');
  } catch {
    return 'puppeteer-core is not installed (npm ci in tools/browser)';
  }
  return '';
}

// A headless browser with a fresh profile of its own; noWebgl: with WebGL turned off;
// dark: with the system's colour scheme dark; scale: its screen's device pixel ratio, which
// every page opened with openPage then has.
async function launch(name, { noWebgl = false, dark = false, scale = 0 } = {}) {
  const puppeteer = require('puppeteer-core');
  const b = kBrowsers[name];
  const extras = [noWebgl && b.noWebgl, dark && b.dark, scale && b.scale && b.scale(scale)]
    .filter(Boolean);
  const args = [...(b.args || []), ...extras.flatMap((e) => e.args || [])];
  const prefs = Object.assign({}, b.prefs, ...extras.map((e) => e.prefs || {}));
  const browser = await puppeteer.launch({ browser: name === 'firefox' ? 'firefox' : 'chrome',
    executablePath: b.binary, headless: true, args, extraPrefsFirefox: prefs,
    protocolTimeout: 120000 });
  browser.zbvName = name;
  browser.zbvScale = scale;
  browser.zbvRealScale = !!(scale && b.scale);
  return browser;
}

// The browser of this name that a run of many test files shares (shared.js started it, with
// no options), connected to; null where there is none.
async function connectShared(name) {
  const endpoint = JSON.parse(process.env.ZBV_SHARED_BROWSERS || '{}')[name];
  if (!endpoint) return null;
  const puppeteer = require('puppeteer-core');
  const browser = await puppeteer.connect({ browserWSEndpoint: endpoint, protocolTimeout: 120000,
    protocol: name === 'firefox' ? 'webDriverBiDi' : 'cdp' });
  Object.assign(browser, { zbvName: name, zbvScale: 0, zbvRealScale: false, zbvShared: true });
  return browser;
}

// Done with a browser: a shared one is left as it was found (what was opened in it closed),
// any other closed.
async function release(browser) {
  if (!browser.zbvShared) return browser.close();
  for (const context of browser.browserContexts()) {
    if (context !== browser.defaultBrowserContext()) await context.close();
  }
  return browser.disconnect();
}

// Why this browser cannot draw the page ('' when it can): it offers no WebGL.
async function noWebgl(browser) {
  const page = await browser.newPage();
  try {
    const ok = await page.evaluate(() => !!document.createElement('canvas').getContext('webgl'));
    return ok ? '' : `this ${browser.zbvName} offers no WebGL` +
      (browser.zbvName === 'chromium' ? ' (is SwiftShader missing?)' : ' (no X server?)');
  } finally {
    await page.close();
  }
}

module.exports = { kBrowsers, kPage, kRoot, browserNames, unavailable, launch, connectShared,
  release, noWebgl };
