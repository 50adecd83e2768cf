// SPDX-License-Identifier: MIT
// The scene's facts as the checkers know them (scene/facts.json, which the desktop tests read
// too), and what the page's checkers make of them: the smooth pixels of a frame, the front
// teapot's width, the tolerances.
'use strict';
const fs = require('node:fs');
const path = require('node:path');
const { PNG } = require('pngjs');
const { kRoot } = require('./browser');

const facts = JSON.parse(fs.readFileSync(path.join(kRoot, 'scene/facts.json'), 'utf8'));

// The tour's stops in order: { file, key, shows } with key '' for the start-up picture.
const tour = () => facts.tour;
// The named landmarks: { name: [x, y] } in the default-size frame, from the top-left.
const landmarks = () => Object.fromEntries(
  Object.entries(facts.landmarks).filter(([name]) => name !== 'about'));
// Tolerances in 8-bit steps per channel: across renderers, and where both agree exactly.
const kPixelSteps = facts.tolerance.pixelSteps;
const kLandmarkSteps = facts.tolerance.sameRendererSteps;
// The share of smooth pixels that may differ by more than kPixelSteps.
const kSmoothShareOff = facts.tolerance.edgeShare;

// { width, height, rgb } with rows from the top, from a PNG file or its bytes.
function readPng(file) {
  const png = PNG.sync.read(Buffer.isBuffer(file) ? file : fs.readFileSync(file));
  const rgb = Buffer.alloc(png.width * png.height * 3);
  for (let i = 0, j = 0; i < png.data.length; i += 4, j += 3) png.data.copy(rgb, j, i, i + 3);
  return { width: png.width, height: png.height, rgb };
}

// Indices (into rgb) of the pixels whose 3x3 neighbourhood is all one colour: away from
// edges, where a different rasteriser may rightly cover a pixel differently.
function smoothPixels(frame) {
  const { width, height, rgb } = frame, out = [];
  for (let y = 1; y + 1 < height; ++y) {
    for (let x = 1; x + 1 < width; ++x) {
      const c = (y * width + x) * 3;
      let uniform = true;
      for (let dy = -1; dy <= 1 && uniform; ++dy) {
        for (let dx = -1; dx <= 1 && uniform; ++dx) {
          const n = ((y + dy) * width + x + dx) * 3;
          uniform = rgb[n] === rgb[c] && rgb[n + 1] === rgb[c + 1] && rgb[n + 2] === rgb[c + 2];
        }
      }
      if (uniform) out.push(c);
    }
  }
  return out;
}

// Width in pixels of the front (grey) teapot along the row through its front landmark, scaled to
// the frame's height: lit or not, its pixels are the only neutral grey there brighter than
// the floor can ever be (its colour under the global ambient, the light's ambient and a
// full diffuse part).
function frontTeapotWidth(frame) {
  const row = Math.floor((frame.height * facts.landmarks.teapot1Front[1]) / facts.window.height);
  const floorMost = 255 * Math.max(...facts.floor.colour) * (facts.globalAmbient + 2);
  let n = 0;
  for (let x = 0; x < frame.width; ++x) {
    const i = (row * frame.width + x) * 3, [r, g, b] = frame.rgb.subarray(i, i + 3);
    if (r === g && g === b && r > floorMost) n += 1;
  }
  return n;
}

// The distance ahead of the eye (along the view) at which the ray through pixel (x, y)'s
// centre, counted from the bottom left of the default-size frame, meets the floor: the camera
// of the facts.
function floorDistance(x, y) {
  const { eye, target, up, fovyDegrees } = facts.camera;
  const sub = (a, b) => a.map((v, i) => v - b[i]);
  const cross = (a, b) => [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]];
  const unit = (a) => a.map((v) => v / Math.hypot(...a));
  const forward = unit(sub(target, eye)), side = unit(cross(forward, up)), upward = cross(side, forward);
  const t = Math.tan((fovyDegrees * Math.PI) / 360);
  const { width, height } = facts.window, aspect = width / height;
  const nx = (2 * (x + 0.5)) / width - 1, ny = (2 * (y + 0.5)) / height - 1;
  const ray = [0, 1, 2].map((k) => nx * t * aspect * side[k] + ny * t * upward[k] + forward[k]);
  return (facts.floor.y - eye[1]) / ray[1];  // one unit ahead per unit of the ray
}

// The window z a perspective projection with these planes gives a distance ahead:
// window z = (z_ndc + 1) / 2.
function windowZ(distance, near = facts.camera.near, far = facts.camera.far) {
  return ((far + near) / (far - near) - (2 * far * near) / ((far - near) * distance) + 1) / 2;
}

module.exports = { floorDistance, windowZ, facts, tour, landmarks, kPixelSteps, kLandmarkSteps, kSmoothShareOff, readPng,
  smoothPixels, frontTeapotWidth };
