// SPDX-License-Identifier: MIT
// axe-core's checks run in a page as it stands: its violations as "rule: element" lines.
'use strict';
const fs = require('node:fs');

let source = '';

async function axeViolations(page) {
  source = source || fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
  await page.evaluate(source);
  return page.evaluate(async () => {
    const r = await window.axe.run(document, { resultTypes: ['violations'] });
    return { version: window.axe.version,
      violations: r.violations.flatMap((v) => v.nodes.map((n) => `${v.id}: ${n.target.join(' ')}`)) };
  });
}

module.exports = { axeViolations };
