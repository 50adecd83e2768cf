// SPDX-License-Identifier: MIT
// The depth buffer the picture is drawn with, and what its codes mean. The canvas's own buffer
// (24 bits as the page asks, or more), or a target of the drawing buffer's size whose depth is
// a texture of a chosen format, 16 or 24 bits or a 32-bit float (WebGL 2), shown on the canvas
// as each frame ends. The format is chosen from above (use); a layer that reads the depth back
// asks for it as a texture (readable), and the canvas's own 24 bits are then drawn into a
// target of 24 bits too. Where a browser keeps more bits than asked, each fragment's depth of
// a chosen format is rounded to the format's codes before the test, so that the picture
// behaves as that format does. The C++ side (depth.cpp) is told the format. Part of the GL
// layer; linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvGlDepth__deps: ['$ZbvGl'],
  $ZbvGlDepth__postset: 'ZbvGl.lostHooks.push(ZbvGlDepth.drop); ' +
    'ZbvGl.restoredHooks.push(ZbvGlDepth.drop);',
  $ZbvGlDepth: {
    formats: ['16', '24', '32f'],
    format: null,     // chosen: '16', '24' or '32f'; null for the canvas's own buffer
    readable: false,  // the picture's depth wanted as a texture (from the next frame on)
    programs: {},     // the rounding program of each chosen format, made on first use
    target: null,     // {framebuffer, colour, depth, width, height, format}

    // The format the codes follow: the one chosen, else the canvas's 24 bits.
    current: function() {
      return ZbvGlDepth.format || '24';
    },
    isFloat: function(format) {
      return format === '32f';
    },
    bits: function(format) {
      return format === '16' ? 16 : format === '32f' ? 32 : 24;
    },
    // The largest code of a format: the code of the depth 1 (for the float, the bits of 1).
    largest: function(format) {
      return format === '16' ? 65535 : format === '32f' ? 0x3f800000 : 16777215;
    },

    // The code of window z in a format, exactly: z clamped to [0, 1] and rounded to the
    // nearest code; for the float, the bits of the float nearest z, as an unsigned number.
    code: function(z, format) {
      z = Math.min(Math.max(z, 0), 1);
      if (format === '32f') return new Uint32Array(new Float32Array([z]).buffer)[0];
      return Math.floor(z * ZbvGlDepth.largest(format) + 0.5);
    },
    // The depth a code stands for.
    depthOf: function(code, format) {
      if (format === '32f') return new Float32Array(new Uint32Array([code]).buffer)[0];
      return code / ZbvGlDepth.largest(format);
    },
    // The code kept in the four bytes at j, the highest byte first (as the probe packs it).
    decode: function(bytes, j) {
      return ((bytes[j] << 24) | (bytes[j + 1] << 16) | (bytes[j + 2] << 8) | bytes[j + 3]) >>> 0;
    },

    // Whether this context can draw with a depth buffer of a chosen format: all of them with
    // WebGL 2, none without ('webgl2': what it would need).
    needs: function(format) {
      return ZbvGl.webgl2() ? '' : 'webgl2';
    },

    // Draws from the next frame on with this format (null: the canvas's own buffer), and tells
    // the C++ side the format the codes follow.
    use: function(format) {
      var D = ZbvGlDepth;
      if (format && D.needs(format)) format = null;
      D.format = format;
      var f = D.current();
      _zbv_gl_depth_format(D.bits(f), D.isFloat(f) ? 1 : 0);
    },

    // Whether the picture is drawn into a target of ours rather than the canvas's own buffers.
    targeted: function() {
      var D = ZbvGlDepth;
      return !!(D.format || D.readable) && ZbvGl.webgl2();
    },

    // Nothing made in the context: made again when next drawn with.
    drop: function() {
      ZbvGlDepth.programs = {};
      ZbvGlDepth.target = null;
    },

    dropTarget: function() {
      var D = ZbvGlDepth, gl = ZbvGl.gl, t = D.target;
      if (t && ZbvGl.usable()) {
        gl.deleteFramebuffer(t.framebuffer);
        gl.deleteRenderbuffer(t.colour);
        gl.deleteTexture(t.depth);
      }
      D.target = null;
    },

    // The program that draws the picture with each depth rounded to the format's codes.
    rounding: function(format) {
      var D = ZbvGlDepth;
      return D.programs[format] || (D.programs[format] = ZbvGl.makeProgram(
        '#version 300 es\nin vec4 position; in vec4 colour; out vec4 shade;' +
        'invariant gl_Position; void main() { gl_Position = position; shade = colour; }',
        '#version 300 es\nprecision highp float; in vec4 shade; out vec4 fragColour;' +
        'void main() { fragColour = shade; float n = ' + D.largest(format) + '.0;' +
        (format === '32f' ? ' gl_FragDepth = gl_FragCoord.z; }'
          : ' gl_FragDepth = round(gl_FragCoord.z * n) / n; }')));
    },

    // The internal format and type of a format's depth texture.
    storage: function(format) {
      var gl = ZbvGl.gl;
      return format === '16' ? [gl.DEPTH_COMPONENT16, gl.UNSIGNED_SHORT]
        : format === '32f' ? [gl.DEPTH_COMPONENT32F, gl.FLOAT] : [gl.DEPTH_COMPONENT24, gl.UNSIGNED_INT];
    },

    // A depth texture of a format and size, to draw into and read from (nearest texels).
    depthTexture: function(format, w, h) {
      var gl = ZbvGl.gl, texture = gl.createTexture(), s = ZbvGlDepth.storage(format);
      gl.bindTexture(gl.TEXTURE_2D, texture);
      gl.texStorage2D(gl.TEXTURE_2D, 1, s[0], w, h);
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MIN_FILTER, gl.NEAREST);
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MAG_FILTER, gl.NEAREST);
      gl.bindTexture(gl.TEXTURE_2D, null);
      return texture;
    },

    // At the start of each frame: where a target draws the picture, one as large as the
    // drawing buffer, made ready; the picture's framebuffer and program bound.
    ready: function() {
      var D = ZbvGlDepth, gl = ZbvGl.gl;
      if (!ZbvGl.usable()) return;
      if (!D.targeted()) {
        if (D.target) D.dropTarget();
        return D.bind();
      }
      var w = gl.drawingBufferWidth, h = gl.drawingBufferHeight, t = D.target, f = D.current();
      if (!t || t.width !== w || t.height !== h || t.format !== f) {
        D.dropTarget();
        t = {framebuffer: gl.createFramebuffer(), colour: gl.createRenderbuffer(),
             depth: D.depthTexture(f, w, h), width: w, height: h, format: f};
        gl.bindRenderbuffer(gl.RENDERBUFFER, t.colour);
        gl.renderbufferStorage(gl.RENDERBUFFER, gl.RGBA8, w, h);
        gl.bindRenderbuffer(gl.RENDERBUFFER, null);
        gl.bindFramebuffer(gl.FRAMEBUFFER, t.framebuffer);
        gl.framebufferRenderbuffer(gl.FRAMEBUFFER, gl.COLOR_ATTACHMENT0, gl.RENDERBUFFER, t.colour);
        gl.framebufferTexture2D(gl.FRAMEBUFFER, gl.DEPTH_ATTACHMENT, gl.TEXTURE_2D, t.depth, 0);
        D.target = t;
      }
      D.bind();
    },

    // The framebuffer the picture is drawn into (the target, or the canvas's own) and the
    // program it is drawn with, bound: after a layer above drew with its own.
    bind: function() {
      var D = ZbvGlDepth, gl = ZbvGl.gl;
      gl.bindFramebuffer(gl.FRAMEBUFFER, D.target ? D.target.framebuffer : null);
      gl.useProgram(D.target && D.format ? D.rounding(D.format).program : ZbvGl.program);
    },

    // The frame drawn into the target, shown on the canvas.
    show: function() {
      var gl = ZbvGl.gl, t = ZbvGlDepth.target;
      if (!t || !ZbvGl.usable()) return;
      gl.bindFramebuffer(gl.READ_FRAMEBUFFER, t.framebuffer);
      gl.bindFramebuffer(gl.DRAW_FRAMEBUFFER, null);
      gl.blitFramebuffer(0, 0, t.width, t.height, 0, 0, t.width, t.height, gl.COLOR_BUFFER_BIT,
                         gl.NEAREST);
      gl.bindFramebuffer(gl.FRAMEBUFFER, t.framebuffer);
    },
  },
});
