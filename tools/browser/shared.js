// SPDX-License-Identifier: MIT
// node tools/browser/shared.js COMMAND...: runs COMMAND (the page's tests) with one headless
// browser of each kind it can drive already running, which every test file that needs no
// options of its own connects to (ZBV_SHARED_BROWSERS names their endpoints) instead of
// starting its own: Firefox alone takes seconds to start. Stops them, and only them, after.
'use strict';
const { spawn } = require('node:child_process');
const { browserNames, unavailable, launch } = require('./browser');

(async () => {
  const started = [], endpoints = {};
  for (const name of browserNames()) {
    if (unavailable(name)) continue;  // the tests say why, each
    const browser = await launch(name);
    endpoints[name] = browser.wsEndpoint();
    started.push(browser.process());
    // Each test file connects in turn; Firefox takes one connection at a time.
    await browser.disconnect();
  }
  const [command, ...args] = process.argv.slice(2);
  const child = spawn(command, args, { stdio: 'inherit',
    env: { ...process.env, ZBV_SHARED_BROWSERS: JSON.stringify(endpoints) } });
  const status = await new Promise((done) => child.on('exit', (code, signal) => done(signal ? 1 : code)));
  for (const browser of started) {
    browser.kill();
    await new Promise((done) => (browser.exitCode !== null ? done() : browser.once('exit', done)));
  }
  process.exit(status);
})().catch((e) => {
  console.error(`shared.js: ${e.message}`);
  process.exit(1);
});
