// SPDX-License-Identifier: MIT
// The SCORM 1.2 package (scripts/scorm-package) and its check (scripts/check-scorm): a package
// of a page passes and gives the same bytes when built again later; a seed reaches every
// item's launch; and the check refuses each fault planted alone into a good package.
'use strict';
const { test, after } = require('node:test');
const assert = require('node:assert/strict');
const { spawnSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { kRoot } = require('./library');

const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'zbv-scorm-'));
const page = path.join(dir, 'page.html');
fs.writeFileSync(page, '<!doctype html><title>page</title>\n');
after(() => fs.rmSync(dir, { recursive: true, force: true }));

function run(script, args, env = {}) {
  const r = spawnSync('python3', [path.join(kRoot, 'scripts', script), ...args],
    { encoding: 'utf8', env: { ...process.env, SOURCE_DATE_EPOCH: '1765000000', ...env } });
  return { status: r.status, out: r.stdout + r.stderr };
}

function build(name, seed = []) {
  const zip = path.join(dir, name);
  const r = run('scorm-package', [page, '1.2.3', zip, ...seed]);
  assert.equal(r.status, 0, r.out);
  return zip;
}

// The zip's entries, or a copy of it with one entry's text changed ([name, from, to]).
const py = (code, ...args) => spawnSync('python3', ['-c', code, ...args], { encoding: 'utf8' });
function read(zip, name) {
  return py('import sys, zipfile; print(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]).decode(), end="")',
    zip, name).stdout;
}
function planted(zip, name, from, to) {
  const text = read(zip, name);
  assert.ok(text.includes(from), `${name} holds ${from}`);
  const out = path.join(dir, `planted-${Math.random().toString(36).slice(2)}.zip`);
  const r = py(`import sys, zipfile
src, out, name, text = sys.argv[1:5]
with zipfile.ZipFile(src) as a, zipfile.ZipFile(out, 'w') as b:
    for n in a.namelist():
        b.writestr(n, text if n == name else a.read(n))`, zip, out, name, text.replace(from, to));
  assert.equal(r.status, 0, r.stderr);
  return out;
}

test('a package passes its check, and built again a second later gives the same bytes', async () => {
  const first = build('first.zip');
  await new Promise((done) => setTimeout(done, 1100));
  const second = build('second.zip');
  assert.ok(fs.readFileSync(first).equals(fs.readFileSync(second)));
  const r = run('check-scorm', [first, page]);
  assert.equal(r.status, 0, r.out);
  assert.match(r.out, /SCORM 1\.2, one SCO, the sets depth, order, precision, lighting/);
});

test('a seed reaches every item\'s launch; a seed that is not a number is refused', () => {
  const manifest = read(build('seeded.zip', ['7']), 'imsmanifest.xml');
  for (const set of ['depth', 'order', 'precision', 'lighting']) {
    assert.ok(manifest.includes(`parameters="#challenge=${set}&amp;seed=7"`), set);
  }
  assert.notEqual(run('scorm-package', [page, '1.2.3', path.join(dir, 'bad.zip'), '7&tries=1']).status, 0);
});

test('the check refuses a package with any one fault', () => {
  const good = build('good.zip');
  const m = 'imsmanifest.xml';
  const faults = [
    [planted(good, m, '<schemaversion>1.2</schemaversion>', '<schemaversion>CAM 1.3</schemaversion>'), /not 'ADL SCORM' '1.2'/],
    [planted(good, m, 'parameters="#challenge=order"', 'parameters="#challenge=depth"'), /the items launch the sets \['depth', 'depth'/],
    [planted(good, m, 'adlcp:scormtype="sco"', 'adlcp:scormtype="asset"'), /not a SCO/],
    [planted(good, m, '<adlcp:masteryscore>80</adlcp:masteryscore>', ''), /no mastery score/],
    [planted(good, m, '</manifest>', ''), /does not parse/],
    [planted(good, 'zbuffer-viewer.html', '<title>page', '<title>Page'), /is not .*page\.html/],
  ];
  for (const [zip, why] of faults) {
    const r = run('check-scorm', [zip, page]);
    assert.equal(r.status, 1, r.out);
    assert.match(r.out, why);
  }
});
