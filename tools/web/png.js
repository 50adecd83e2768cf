// SPDX-License-Identifier: MIT
// Reads the 8-bit RGB and RGBA PNG files that the gallery writes (no interlacing).
'use strict';
const fs = require('node:fs');
const zlib = require('node:zlib');

function paeth(a, b, c) {
  const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// { width, height, rgb } with rows from the top.
function readPng(file) {
  const buf = fs.readFileSync(file);
  if (buf.toString('latin1', 1, 4) !== 'PNG') throw new Error(`${file}: not a PNG file`);
  let width = 0, height = 0, channels = 0;
  const data = [];
  for (let at = 8; at < buf.length;) {
    const length = buf.readUInt32BE(at), type = buf.toString('latin1', at + 4, at + 8);
    const body = buf.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      channels = { 2: 3, 6: 4 }[body[9]];
      if (body[8] !== 8 || !channels || body[12] !== 0) {
        throw new Error(`${file}: only 8-bit RGB or RGBA without interlacing is read`);
      }
    } else if (type === 'IDAT') {
      data.push(body);
    }
    at += 12 + length;
  }
  const raw = zlib.inflateSync(Buffer.concat(data));
  const stride = width * channels, rgb = Buffer.alloc(width * height * 3);
  let prev = Buffer.alloc(stride);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = Buffer.from(raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)));
    for (let i = 0; i < stride; ++i) {
      const a = i >= channels ? line[i - channels] : 0, b = prev[i];
      const c = i >= channels ? prev[i - channels] : 0;
      const add = [0, a, b, (a + b) >> 1, paeth(a, b, c)][filter];
      line[i] = (line[i] + add) & 0xff;
    }
    for (let x = 0; x < width; ++x) line.copy(rgb, (y * width + x) * 3, x * channels, x * channels + 3);
    prev = line;
  }
  return { width, height, rgb };
}

module.exports = { readPng };
