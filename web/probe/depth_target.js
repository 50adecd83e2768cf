// SPDX-License-Identifier: MIT
// The depth target: WebGL cannot read its depth buffer back, so each draw that writes depth
// is drawn a second time, from the same vertices and under the same depth test, into a
// framebuffer of our own whose colour holds the depth (gl_FragCoord.z, 24 bits in red, green
// and blue) and whose own depth buffer (24 bits) does the testing. After each frame it is read
// back, and the layers above hear of it (onRead; onTooLarge for a frame too large to read):
// ZbvDepth.value(i), one 24-bit value per pixel, rows from the bottom, once ZbvDepth.values
// is set. Also a copy of the picture, to read a pixel's colour from, and WebGL's rasteriser
// asked about one triangle at one pixel.
// Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvDepth__deps: ['$ZbvGl', '$ZbvGlDepth', '$ZbvDepthCodes'],
  // For the benchmark, which compares frame times with the depth view and without it.
  // Its objects belong to one context: dropped when it is lost, made anew on a restored one.
  $ZbvDepth__postset: "Module['zbvDepthView'] = function(on) { ZbvDepth.off = !on; };" +
    'ZbvGl.lostHooks.push(ZbvDepth.reset); ZbvGl.restoredHooks.push(ZbvDepth.reset);',
  $ZbvDepth: {
    program: null,
    framebuffer: null,
    colour: null,
    depth: null,
    width: 0,
    height: 0,
    bytes: null,   // the target's RGBA bytes, width * height * 4
    values: null,  // the bytes, once a frame has been read back into them
    format: null,  // the picture's depth format the target was made for (depth_codes.js)
    off: false,    // the page without its depth view (for comparing frame times)
    // What the layers above hear: a frame read back, or one too large to be.
    onRead: function() {},
    onTooLarge: function() {},

    // Whether the frame is too large for a target of its own beside the picture (16 million
    // pixels: 4096x4096; reading back more takes seconds, and memory the page may not get).
    tooLarge: function() {
      return ZbvGl.gl.drawingBufferWidth * ZbvGl.gl.drawingBufferHeight > 16777216;
    },

    // Whether frames are drawn into the target: a context that is not lost, the view on, the
    // frame not too large.
    active: function() {
      return ZbvGl.usable() && !ZbvDepth.off && !ZbvDepth.tooLarge();
    },

    // Nothing made yet: the program, framebuffers and buffers are made on next use, and
    // nothing is read back until a frame has been drawn into them. What a usable context
    // holds is deleted; a lost one has dropped it already.
    reset: function() {
      var d = ZbvDepth, gl = ZbvGl.gl;
      if (d.program && ZbvGl.usable()) {
        gl.deleteProgram(d.probeProgram);  // (the codes' program is kept for its format)
        [d.framebuffer, d.copyTarget, d.probe].forEach(function(f) { gl.deleteFramebuffer(f); });
        [d.colour, d.copy, d.probeTexture].forEach(function(t) { if (t) gl.deleteTexture(t); });
        gl.deleteRenderbuffer(d.depth);
      }
      d.program = d.probeProgram = d.framebuffer = d.copyTarget = d.probe = d.depth = null;
      d.colour = d.copy = d.probeTexture = null;
      d.width = d.height = 0;
      d.values = d.bytes = null;
      d.drawn = false;
      ZbvZfight.reset();
    },

    // The code stored at index i (rows from the bottom) of the frame read back last, and the
    // depth it stands for; the code of the cleared 1.
    code: function(i) {
      return ZbvDepthCodes.decode(ZbvDepth.values, 4 * i, ZbvDepthCodes.format());
    },
    depthOf: function(code) {
      return ZbvDepthCodes.depthOf(code, ZbvDepthCodes.format());
    },
    cleared: function() {
      return ZbvDepthCodes.code(1, ZbvDepthCodes.format());
    },

    // Program, framebuffer and buffers, made on first use and again after a lost context or
    // a change of the picture's depth format.
    ready: function() {
      var gl = ZbvGl.gl;
      if (ZbvDepth.program && ZbvDepth.format !== ZbvGlDepth.format) ZbvDepth.reset();
      if (!ZbvDepth.program) {
        ZbvDepth.format = ZbvGlDepth.format;
        ZbvDepth.program = ZbvDepthCodes.program(ZbvDepth.format);
        // The probe's: any fragment drawn at all.
        var p = gl.createProgram();
        ZbvGl.shader(p, gl.VERTEX_SHADER,
            'attribute vec4 position; void main() { gl_Position = position; }');
        ZbvGl.shader(p, gl.FRAGMENT_SHADER, 'void main() { gl_FragColor = vec4(1.0); }');
        gl.bindAttribLocation(p, 0, 'position');
        gl.linkProgram(p);
        ZbvDepth.probeProgram = p;
        ZbvDepth.framebuffer = gl.createFramebuffer();
        ZbvDepth.copyTarget = gl.createFramebuffer();
        ZbvDepth.probe = gl.createFramebuffer();
        ZbvDepth.colour = ZbvDepth.copy = null;
        // The probe's one pixel (zbv_webgl_covers).
        ZbvDepth.probeTexture = ZbvDepth.target(ZbvDepth.probe, null, gl.RGBA, 1, 1);
        ZbvGl.bindPicture();
        ZbvDepth.depth = gl.createRenderbuffer();
        ZbvDepth.width = ZbvDepth.height = 0;
      }
      var w = gl.drawingBufferWidth, h = gl.drawingBufferHeight;
      if (w !== ZbvDepth.width || h !== ZbvDepth.height) {
        gl.bindRenderbuffer(gl.RENDERBUFFER, ZbvDepth.depth);
        gl.renderbufferStorage(gl.RENDERBUFFER, ZbvDepthCodes.renderbuffer(ZbvDepth.format), w, h);
        gl.bindRenderbuffer(gl.RENDERBUFFER, null);
        // A texture, not a renderbuffer: WebGL 1 promises 8 bits a channel only there.
        ZbvDepth.colour = ZbvDepth.target(ZbvDepth.framebuffer, ZbvDepth.colour, gl.RGBA, w, h);
        gl.framebufferRenderbuffer(gl.FRAMEBUFFER, ZbvDepth.format ? gl.DEPTH_ATTACHMENT
                                   : gl.DEPTH_STENCIL_ATTACHMENT, gl.RENDERBUFFER, ZbvDepth.depth);
        ZbvGl.bindPicture();
        ZbvDepth.copyReady = ZbvDepth.makeCopy(w, h);
        ZbvDepth.width = w;
        ZbvDepth.height = h;
        ZbvDepth.values = null;
        ZbvDepth.bytes = new Uint8Array(w * h * 4);
      }
      return gl;
    },

    // A texture of this format and size, drawn into through this framebuffer (left bound) in
    // place of the texture it had.
    target: function(framebuffer, old, format, w, h) {
      var gl = ZbvGl.gl, texture = gl.createTexture();
      if (old) gl.deleteTexture(old);
      gl.bindTexture(gl.TEXTURE_2D, texture);
      gl.texImage2D(gl.TEXTURE_2D, 0, format, w, h, 0, format, gl.UNSIGNED_BYTE, null);
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MIN_FILTER, gl.NEAREST);
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MAG_FILTER, gl.NEAREST);
      gl.bindTexture(gl.TEXTURE_2D, null);
      gl.bindFramebuffer(gl.FRAMEBUFFER, framebuffer);
      gl.framebufferTexture2D(gl.FRAMEBUFFER, gl.COLOR_ATTACHMENT0, gl.TEXTURE_2D, texture, 0);
      return texture;
    },

    // A copy of the picture, taken as each frame ends, to read a pixel's colour from: the
    // browser makes reading the canvas itself wait for the page's compositing, a copy does
    // not. RGB, as the canvas has no alpha; false where it cannot be drawn into here.
    makeCopy: function(w, h) {
      var gl = ZbvGl.gl;
      ZbvDepth.copy = ZbvDepth.target(ZbvDepth.copyTarget, ZbvDepth.copy, gl.RGB, w, h);
      var complete = gl.checkFramebufferStatus(gl.FRAMEBUFFER) === gl.FRAMEBUFFER_COMPLETE;
      ZbvGl.bindPicture();
      return complete;
    },

    // The colour the picture shows at (x, y), 0-255, the one pixel read: from the copy where
    // there is one, else from the canvas.
    shown: function(x, y) {
      var gl = ZbvGl.gl, d = ZbvDepth, px = new Uint8Array(4);
      if (d.copyReady) gl.bindFramebuffer(gl.FRAMEBUFFER, d.copyTarget);
      gl.readPixels(x, y, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, px);
      ZbvGl.bindPicture();
      return [px[0], px[1], px[2]];
    },

    // The target read back at the end of a frame, and the page told.
    readBack: function() {
      var gl = ZbvDepth.ready();
      gl.bindFramebuffer(gl.FRAMEBUFFER, ZbvDepth.framebuffer);
      gl.readPixels(0, 0, ZbvDepth.width, ZbvDepth.height, gl.RGBA, gl.UNSIGNED_BYTE,
                    ZbvDepth.bytes);
      ZbvGl.bindPicture();
      ZbvDepth.values = ZbvDepth.bytes;
      ZbvDepth.onRead();
    },
  },

  zbv_depth_clear__deps: ['$ZbvDepth', '$ZbvZfight'],
  zbv_depth_clear: function(mask) {
    if (!(mask & 0x100) || !ZbvDepth.active()) return;
    var gl = ZbvDepth.ready();
    gl.bindFramebuffer(gl.FRAMEBUFFER, ZbvDepth.framebuffer);
    gl.clearColor.apply(gl, ZbvDepthCodes.clearColour(ZbvDepthCodes.format()));  // the cleared 1
    gl.clear(gl.COLOR_BUFFER_BIT | gl.DEPTH_BUFFER_BIT);
    gl.clearColor.apply(gl, ZbvGl.clearColour);
    ZbvZfight.clear();
    ZbvGl.bindPicture();
  },

  zbv_depth_draw__deps: ['$ZbvDepth', '$ZbvZfight'],
  zbv_depth_draw: function(mode, count) {
    if (!ZbvDepth.active()) return;
    var gl = ZbvDepth.ready(), picture = gl.getParameter(gl.CURRENT_PROGRAM);
    gl.bindFramebuffer(gl.FRAMEBUFFER, ZbvDepth.framebuffer);
    gl.useProgram(ZbvDepth.program);
    gl.drawArrays(mode, 0, count);
    ZbvZfight.draw(mode, count);
    gl.useProgram(picture);
    ZbvGl.bindPicture();
  },

  zbv_webgl_subpixel_bits__deps: ['$ZbvGl'],
  zbv_webgl_subpixel_bits: function() {
    return ZbvGl.usable() ? ZbvGl.gl.getParameter(ZbvGl.gl.SUBPIXEL_BITS) : 8;
  },

  zbv_webgl_covers__deps: ['$ZbvDepth'],
  zbv_webgl_covers: function(vertices, x, y, cull, cullMode, frontFace) {
    if (!ZbvGl.usable()) return 0;
    var gl = ZbvDepth.ready(), picture = gl.getParameter(gl.CURRENT_PROGRAM);
    // The triangle drawn alone into a target of one pixel, which the viewport moves to (x, y):
    // whole pixels, so the rasteriser places the triangle's edges against pixel centres as it
    // does in the frame.
    gl.bindFramebuffer(gl.FRAMEBUFFER, ZbvDepth.probe);
    var view = ZbvGl.viewport || [0, 0, ZbvDepth.width, ZbvDepth.height];
    gl.viewport(view[0] - x, view[1] - y, view[2], view[3]);
    gl.clearColor(0, 0, 0, 0);
    gl.clear(gl.COLOR_BUFFER_BIT);
    gl.clearColor.apply(gl, ZbvGl.clearColour);
    if (cull) gl.enable(gl.CULL_FACE); else gl.disable(gl.CULL_FACE);
    gl.cullFace(cullMode);
    gl.frontFace(frontFace);
    gl.disable(gl.DEPTH_TEST);
    gl.useProgram(ZbvDepth.probeProgram);
    var floats = 3 * (ZbvGl.clipFloats + ZbvGl.colourFloats);
    gl.bufferData(gl.ARRAY_BUFFER, HEAPF32.subarray(vertices >> 2, (vertices >> 2) + floats),
                  gl.STREAM_DRAW);
    gl.drawArrays(gl.TRIANGLES, 0, 3);
    var px = new Uint8Array(4);
    gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, px);
    // Back to the state the GL layer has set.
    gl.useProgram(picture);
    gl.viewport.apply(gl, view);
    [gl.CULL_FACE, gl.DEPTH_TEST].forEach(function(cap) {
      if (ZbvGl.caps[cap]) gl.enable(cap); else gl.disable(cap);
    });
    gl.cullFace(ZbvGl.cull);
    gl.frontFace(ZbvGl.front);
    ZbvGl.bindPicture();
    return px[3] ? 1 : 0;
  },

  zbv_depth_frame_end__deps: ['$ZbvDepth'],
  zbv_depth_frame_end: function() {
    var gl = ZbvGl.gl;
    if (ZbvDepth.active() && ZbvDepth.ready() && ZbvDepth.copyReady) {
      gl.bindTexture(gl.TEXTURE_2D, ZbvDepth.copy);
      gl.copyTexSubImage2D(gl.TEXTURE_2D, 0, 0, 0, 0, 0, ZbvDepth.width, ZbvDepth.height);
      gl.bindTexture(gl.TEXTURE_2D, null);
    }
    // Read back once the frame's event is done, and only the latest of frames that come
    // faster than that (a frame dragged to a new size): a large frame takes a while. A frame
    // drawn while the context is lost leaves nothing to read: the page keeps what it shows
    // until the frame drawn on the restored context.
    if (ZbvDepth.pending) return;
    ZbvDepth.pending = true;
    setTimeout(function() {
      ZbvDepth.pending = false;
      if (ZbvGl.usable() && !ZbvDepth.off) {
        if (ZbvDepth.tooLarge()) {
          ZbvDepth.values = null;
          ZbvDepth.width = 0;  // made anew when the frame is small enough again
          ZbvDepth.onTooLarge();
        } else if (ZbvDepth.program) {
          ZbvDepth.readBack();
        }
      }
      Module['zbvFrameEndAt'] = performance.now();
    }, 0);
  },
});
