// SPDX-License-Identifier: MIT
// The picture drawn with a depth buffer of a chosen format instead of the canvas's own: a
// target of the canvas's size whose depth is a WebGL 2 renderbuffer of 16 or 24 bits, or a
// 32-bit float, shown on the canvas as each frame ends. Where a browser keeps more bits than
// asked, each fragment's depth is rounded to the format's codes before the test, so that the
// picture behaves as that format does. Part of the GL layer; linked into the page with
// --js-library.
mergeInto(LibraryManager.library, {
  $ZbvGlDepth__deps: ['$ZbvGl'],
  $ZbvGlDepth__postset: 'ZbvGl.lostHooks.push(ZbvGlDepth.drop); ' +
    'ZbvGl.restoredHooks.push(ZbvGlDepth.drop);',
  $ZbvGlDepth: {
    format: null,  // null: the canvas's own depth buffer; else '16', '24' or '32f'
    program: null,
    target: null,  // {framebuffer, colour, depth, width, height, format}
    // The largest code of each format (0 for the float, which keeps the depth itself), and the
    // renderbuffer's format.
    codes: function(format) {
      return format === '16' ? 65535 : format === '24' ? 16777215 : 0;
    },
    internal: function(format) {
      var gl = ZbvGl.gl;
      return format === '16' ? gl.DEPTH_COMPONENT16 : format === '24' ? gl.DEPTH_COMPONENT24
        : gl.DEPTH_COMPONENT32F;
    },

    // Whether this context can draw with a depth buffer of the format: all of them with
    // WebGL 2, none without ('webgl2': what it would need).
    needs: function(format) {
      return typeof WebGL2RenderingContext !== 'undefined' &&
             ZbvGl.gl instanceof WebGL2RenderingContext ? '' : 'webgl2';
    },

    // Draws from the next frame on with this format (null: the canvas's own buffer). A target
    // left for the canvas's buffer is kept, to be taken up again.
    use: function(format) {
      var D = ZbvGlDepth;
      if (format && D.needs(format)) format = null;
      if (format === D.format) return;
      D.format = format;
      if (!format || (D.target && D.target.format !== format)) D.leave(!format);
    },

    // The canvas's buffer drawn into from now on; the target deleted unless kept.
    leave: function(keep) {
      if (keep && ZbvGlDepth.target) {
        ZbvGl.target = null;
        if (ZbvGl.usable()) {
          ZbvGl.gl.bindFramebuffer(ZbvGl.gl.FRAMEBUFFER, null);
          ZbvGl.gl.useProgram(ZbvGl.program);
        }
        return;
      }
      ZbvGlDepth.dropTarget();
    },

    // Nothing made in the context: made again when next drawn with.
    drop: function() {
      ZbvGlDepth.program = null;
      ZbvGlDepth.target = null;
      ZbvGl.target = null;
    },

    dropTarget: function() {
      var D = ZbvGlDepth, gl = ZbvGl.gl, t = D.target;
      if (t && ZbvGl.usable()) {
        gl.deleteFramebuffer(t.framebuffer);
        gl.deleteRenderbuffer(t.colour);
        gl.deleteRenderbuffer(t.depth);
      }
      D.target = ZbvGl.target = null;
      if (ZbvGl.usable()) {
        gl.bindFramebuffer(gl.FRAMEBUFFER, null);
        gl.useProgram(ZbvGl.program);
      }
    },

    // The program that draws the picture with each depth rounded to the format's codes.
    rounding: function() {
      var gl = ZbvGl.gl, p = gl.createProgram();
      ZbvGl.shader(p, gl.VERTEX_SHADER, '#version 300 es\n' +
          'in vec4 position; in vec4 colour; out vec4 shade;' +
          'void main() { gl_Position = position; shade = colour; }');
      ZbvGl.shader(p, gl.FRAGMENT_SHADER, '#version 300 es\nprecision highp float;' +
          'in vec4 shade; out vec4 fragColour; uniform float codes;' +
          'void main() { fragColour = shade; gl_FragDepth = codes > 0.0 ?' +
          ' floor(gl_FragCoord.z * codes + 0.5) / codes : gl_FragCoord.z; }');
      gl.bindAttribLocation(p, 0, 'position');
      gl.bindAttribLocation(p, 1, 'colour');
      gl.linkProgram(p);
      return p;
    },

    // At the start of each frame: the target as large as the drawing buffer, bound, and its
    // program in use; nothing where the picture is drawn into the canvas.
    ready: function() {
      var D = ZbvGlDepth, gl = ZbvGl.gl, format = D.format;
      if (!format || !ZbvGl.usable()) return;
      var w = gl.drawingBufferWidth, h = gl.drawingBufferHeight, t = D.target;
      if (!D.program) D.program = D.rounding();
      if (!t || t.width !== w || t.height !== h || t.format !== format) {
        D.dropTarget();
        t = {framebuffer: gl.createFramebuffer(), colour: gl.createRenderbuffer(),
             depth: gl.createRenderbuffer(), width: w, height: h, format: format};
        gl.bindRenderbuffer(gl.RENDERBUFFER, t.colour);
        gl.renderbufferStorage(gl.RENDERBUFFER, gl.RGBA8, w, h);
        gl.bindRenderbuffer(gl.RENDERBUFFER, t.depth);
        gl.renderbufferStorage(gl.RENDERBUFFER, D.internal(format), w, h);
        gl.bindRenderbuffer(gl.RENDERBUFFER, null);
        gl.bindFramebuffer(gl.FRAMEBUFFER, t.framebuffer);
        gl.framebufferRenderbuffer(gl.FRAMEBUFFER, gl.COLOR_ATTACHMENT0, gl.RENDERBUFFER, t.colour);
        gl.framebufferRenderbuffer(gl.FRAMEBUFFER, gl.DEPTH_ATTACHMENT, gl.RENDERBUFFER, t.depth);
        D.target = t;
      }
      ZbvGl.target = t;
      gl.bindFramebuffer(gl.FRAMEBUFFER, t.framebuffer);
      gl.useProgram(D.program);
      gl.uniform1f(gl.getUniformLocation(D.program, 'codes'), D.codes(format));
    },

    // The frame drawn into the target, shown on the canvas.
    show: function() {
      var gl = ZbvGl.gl, t = ZbvGl.target;
      if (!t || !ZbvGl.usable()) return;
      gl.bindFramebuffer(gl.READ_FRAMEBUFFER, t.framebuffer);
      gl.bindFramebuffer(gl.DRAW_FRAMEBUFFER, null);
      gl.blitFramebuffer(0, 0, t.width, t.height, 0, 0, t.width, t.height, gl.COLOR_BUFFER_BIT,
                         gl.NEAREST);
      gl.bindFramebuffer(gl.FRAMEBUFFER, t.framebuffer);
    },
  },
});
