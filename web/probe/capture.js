// SPDX-License-Identifier: MIT
// What this GPU stored in each frame, kept for the page (capture.h): WebGL cannot read a depth
// buffer back, so the picture's depth is drawn into a texture (depth_format.js, readable), and
// after the frame a pass turns its depths into codes in a colour target, which is read back
// (readback.js). For frames of up to 4 million pixels each draw is also drawn alone into a
// depth texture of the same format, just after the picture's own draw, and its codes kept: the
// code the draw brings to every pixel; and the picture's colours are read too. Each of these is
// drawn and read again only where what decides it changed (the hashes the C++ side gives), so
// a key that changes only colours costs no depth. Nothing is made before the first frame is
// on the screen (start). The layers above hear of a frame read back (onRead) and of one too
// large to be (onTooLarge). Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvCapture__deps: ['$ZbvGl', '$ZbvGlDepth', '$ZbvReadback', '$ZbvPasses'],
  $ZbvCapture__postset: 'ZbvGl.lostHooks.push(ZbvCapture.reset); ' +
    'ZbvGl.restoredHooks.push(ZbvCapture.reset);',
  $ZbvCapture: {
    // The largest frames whose depth (16 million pixels: 4096x4096), and whose draws' codes
    // and colours (4 million: 2048x2048), are read back: more takes seconds, and memory the
    // page may not get.
    depthPixels: 16777216,
    historyPixels: 4194304,
    started: false,  // from the first frame shown on
    starting: false,
    live: false,     // the frame being drawn is captured
    width: 0,
    height: 0,
    format: '24',
    frame: 0,        // frames captured
    drawn: [],       // this frame's draws, by their index: {hash, depthTest}, shown ones only
    // Each target: {framebuffer, texture, bytes, hash (drawn), read (hash read), reading}.
    stored: null,    // the depth buffer's codes after the frame
    colour: null,    // the picture's colours ({bytes, read: the frame read, reading})
    bands: [],       // each draw's codes, drawn alone
    again: false,    // a read is due once the one under way is done
    onRead: function() {},
    onTooLarge: function() {},

    // How finely the rasteriser places vertices, asked once a context (as the capture starts,
    // and when the context is back), so that a pick asks nothing of the GPU.
    subpixelBits: 8,
    limits: function() {
      if (ZbvGl.usable()) ZbvCapture.subpixelBits = ZbvGl.limit('SUBPIXEL_BITS');
    },

    // Nothing made in the context: made again on next use; nothing known until read again.
    reset: function() {
      var C = ZbvCapture;
      if (C.started) C.limits();
      C.stored = C.colour = null;
      C.bands = [];
      C.drawn = [];
      C.width = C.height = 0;
      ZbvPasses.reset();
      ZbvReadback.reset();
    },

    // Once the first frame is on the screen: from now on the picture's depth is drawn where
    // it can be read, and the next frame is drawn to be.
    start: function() {
      var C = ZbvCapture;
      C.started = true;
      C.limits();
      ZbvGlDepth.readable = true;
      _zbv_glut_repaint();
    },

    // The pixels of the frame, and whether the draws' codes and colours are read for it.
    pixels: function() {
      return ZbvGl.gl.drawingBufferWidth * ZbvGl.gl.drawingBufferHeight;
    },
    tooLarge: function() {
      return ZbvCapture.pixels() > ZbvCapture.depthPixels;
    },
    history: function() {
      var C = ZbvCapture;
      return C.live && C.pixels() <= C.historyPixels;
    },

    // A frame begins (a clear): captured where the context can, once started, and the
    // picture is drawn into a target whose depth is a texture.
    begin: function() {
      var C = ZbvCapture, gl = ZbvGl.gl;
      C.live = C.started && ZbvGl.usable() && ZbvGl.webgl2() && !!ZbvGlDepth.target &&
               !C.tooLarge();
      C.drawn = [];
      if (!C.live) return;
      var w = gl.drawingBufferWidth, h = gl.drawingBufferHeight, f = ZbvGlDepth.current();
      if (w !== C.width || h !== C.height || f !== C.format) C.resize(w, h, f);
      C.frame += 1;
    },

    // Every target anew for this size and format: what was kept is for another frame.
    resize: function(w, h, format) {
      var C = ZbvCapture, P = ZbvPasses;
      P.free(C.stored);
      C.bands.forEach(function(b) {
        P.free(b.codes);
        P.free(b.ids);
      });
      P.drop();
      C.width = w;
      C.height = h;
      C.format = format;
      C.stored = C.colour = null;
      C.bands = [];
    },

    // What is read back into the page: bytes, the mark of what they were read for (a hash or
    // a frame), and whether a read is under way.
    kept: function(t) {
      return Object.assign(t || {}, {bytes: null, read: null, reading: false});
    },

    draw: function(index, mode, count, hash, depthTest) {
      var C = ZbvCapture, P = ZbvPasses;
      var key = hash + (depthTest ? ':tested' : '');
      C.drawn[index] = {hash: key, depthTest: !!depthTest};
      if (!C.history()) return;
      var band = C.bands[index];
      if (!band) {
        band = C.bands[index] = {codes: C.kept(P.target(C.width, C.height)),
                                 ids: C.kept(P.target(C.width, C.height)), hash: null};
      }
      if (band.hash === key) return;
      P.aloneDraw(band.ids, band.codes, mode, count, depthTest, C.width, C.height, C.format);
      band.hash = key;
    },

    // The frame is drawn: the buffer's codes made where its depth changed, and what is not
    // known yet read back.
    end: function(depthHash) {
      var C = ZbvCapture;
      if (!C.started && !C.starting) {
        // Once the first frame has been painted: its GPU work first.
        C.starting = true;
        requestAnimationFrame(function() { setTimeout(C.start, 0); });
      }
      if (!C.started || !ZbvGl.usable()) return;
      if (!C.live) {
        if (C.tooLarge()) C.onTooLarge();
        return;
      }
      var t = C.stored || (C.stored = C.kept(ZbvPasses.target(C.width, C.height)));
      if (t.hash !== depthHash) {
        ZbvPasses.codes(ZbvGlDepth.target.depth, t, C.width, C.height, C.format);
        t.hash = depthHash;
      }
      if (C.history() && !C.colour) C.colour = C.kept({});
      C.read();
    },

    // What is not known yet, read back; the page told once all of it is.
    read: function() {
      var C = ZbvCapture;
      if (ZbvReadback.busy()) {
        C.again = true;
        return;
      }
      var jobs = [], targets = [], n = C.width * C.height * 4;
      var add = function(t, framebuffer, mark) {
        if (!t.bytes || t.bytes.length !== n) t.bytes = new Uint8Array(n);
        t.reading = true;
        jobs.push({framebuffer: framebuffer, width: C.width, height: C.height, into: t.bytes});
        targets.push([t, mark]);
      };
      if (C.stored && C.stored.read !== C.stored.hash) add(C.stored, C.stored.framebuffer, C.stored.hash);
      if (C.history()) {
        C.drawn.forEach(function(d, k) {
          var b = C.bands[k];
          if (!b || b.hash !== d.hash) return;
          if (b.codes.read !== b.hash) add(b.codes, b.codes.framebuffer, b.hash);
          if (b.ids.read !== b.hash) add(b.ids, b.ids.framebuffer, b.hash);
        });
        if (C.colour && C.colour.read !== C.frame) add(C.colour, ZbvGlDepth.target.framebuffer, C.frame);
      }
      if (!jobs.length) return C.onRead();
      ZbvReadback.read(jobs, function() {
        targets.forEach(function(t) {
          t[0].reading = false;
          t[0].read = t[1];
        });
        if (C.again) {
          C.again = false;
          return C.read();
        }
        C.onRead();
      });
      ZbvGlDepth.bind();
    },

    // Whether all that the page shows of the latest frame is known.
    current: function() {
      var C = ZbvCapture;
      if (!C.stored || C.stored.reading || C.stored.read !== C.stored.hash) return false;
      if (!C.history()) return true;
      return !!C.colour && !C.colour.reading && C.colour.read === C.frame &&
        C.drawn.every(function(d, k) {
          var b = C.bands[k], ready = function(t) { return !t.reading && t.read === d.hash; };
          return b && ready(b.codes) && ready(b.ids);
        });
    },

    // The code at pixel (x, y) of a target read for this frame; -2 where none is.
    codeAt: function(t, hash, x, y) {
      var C = ZbvCapture;
      if (!t || !t.bytes || t.reading || t.read !== hash || x < 0 || y < 0 || x >= C.width ||
          y >= C.height) return -2;
      return ZbvGlDepth.decode(t.bytes, 4 * (y * C.width + x));
    },
    storedAt: function(x, y) {
      var C = ZbvCapture;
      return C.stored ? C.codeAt(C.stored, C.stored.hash, x, y) : -2;
    },
    // The code draw k brings to (x, y), and the number of the last vertex of the triangle it
    // brings it with; -1 where it brings none.
    broughtAt: function(k, x, y) {
      var C = ZbvCapture, d = C.drawn[k], b = C.bands[k];
      if (!d || !b) return -2;
      var vertex = C.codeAt(b.ids, d.hash, x, y);
      return vertex === 0xffffffff ? -1 : C.codeAt(b.codes, d.hash, x, y);
    },
    vertexAt: function(k, x, y) {
      var C = ZbvCapture, d = C.drawn[k], b = C.bands[k];
      var vertex = d && b ? C.codeAt(b.ids, d.hash, x, y) : -2;
      return vertex === 0xffffffff ? -1 : vertex;
    },
    // The picture's colour at (x, y), 0-255; null where it was not read for this frame.
    colourAt: function(x, y) {
      var C = ZbvCapture, t = C.colour;
      if (!t || !t.bytes || t.reading || t.read !== C.frame || x < 0 || y < 0 || x >= C.width ||
          y >= C.height) return null;
      var j = 4 * (y * C.width + x);
      return [t.bytes[j], t.bytes[j + 1], t.bytes[j + 2]];
    },
  },

  zbv_capture_clear__deps: ['$ZbvCapture'],
  zbv_capture_clear: function(mask) {
    ZbvCapture.begin(mask);
  },
  zbv_capture_draw__deps: ['$ZbvCapture'],
  zbv_capture_draw: function(index, mode, count, hash, depthTest) {
    if (ZbvCapture.live) ZbvCapture.draw(index, mode, count, hash >>> 0, depthTest);
  },
  zbv_capture_frame_end__deps: ['$ZbvCapture'],
  zbv_capture_frame_end: function(depthHash) {
    ZbvCapture.end(depthHash >>> 0);
  },
  zbv_capture_brought__deps: ['$ZbvCapture'],
  zbv_capture_brought: function(k, x, y) {
    return ZbvCapture.broughtAt(k, x, y);
  },
  zbv_capture_vertex__deps: ['$ZbvCapture'],
  zbv_capture_vertex: function(k, x, y) {
    return ZbvCapture.vertexAt(k, x, y);
  },
  zbv_capture_stored__deps: ['$ZbvCapture'],
  zbv_capture_stored: function(x, y) {
    return ZbvCapture.storedAt(x, y);
  },
  zbv_capture_subpixel_bits__deps: ['$ZbvCapture'],
  zbv_capture_subpixel_bits: function() {
    return ZbvCapture.subpixelBits;
  },
});
