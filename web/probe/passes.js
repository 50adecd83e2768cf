// SPDX-License-Identifier: MIT
// The GPU's work for the capture (capture.js): a draw drawn alone, and a depth texture's
// depths turned into codes, each into colour targets that can be read back. A draw drawn alone
// keeps, at every pixel, the fragment the picture's own depth test would keep of it (the
// nearest; with the depth test off, the last drawn) and writes the number of that fragment's
// triangle's last vertex, which names the triangle; it draws from the picture's vertices with
// the same position and depth as the picture's program, so that its fragments are the
// picture's. Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvPasses__deps: ['$ZbvGl', '$ZbvGlDepth'],
  $ZbvPasses: {
    converter: null,
    vao: null,
    programs: {},  // the programs that draw a draw alone, by format ('' for the canvas's own)
    alone: null,   // {framebuffer, depth, width, height, format}

    // Nothing made in the context (lost, or another size): made again on next use.
    reset: function() {
      var P = ZbvPasses;
      P.converter = P.vao = P.alone = null;
      P.programs = {};
    },
    drop: function() {
      var P = ZbvPasses, gl = ZbvGl.gl;
      if (P.alone && ZbvGl.usable()) {
        gl.deleteFramebuffer(P.alone.framebuffer);
        gl.deleteTexture(P.alone.depth);
      }
      P.alone = null;
    },

    // A colour target of this size: {framebuffer, texture}.
    target: function(w, h) {
      var gl = ZbvGl.gl, texture = gl.createTexture();
      gl.bindTexture(gl.TEXTURE_2D, texture);
      gl.texStorage2D(gl.TEXTURE_2D, 1, gl.RGBA8, w, h);
      gl.bindTexture(gl.TEXTURE_2D, null);
      var framebuffer = gl.createFramebuffer();
      gl.bindFramebuffer(gl.FRAMEBUFFER, framebuffer);
      gl.framebufferTexture2D(gl.FRAMEBUFFER, gl.COLOR_ATTACHMENT0, gl.TEXTURE_2D, texture, 0);
      return {framebuffer: framebuffer, texture: texture};
    },
    free: function(t) {
      var gl = ZbvGl.gl;
      if (!t || !ZbvGl.usable()) return;
      gl.deleteFramebuffer(t.framebuffer);
      gl.deleteTexture(t.texture);
    },

    // GLSL that writes a whole number k as four bytes of colour, the highest first.
    bytes: ' colour = vec4(uvec4(k >> 24u, (k >> 16u) & 255u, (k >> 8u) & 255u, k & 255u)) / 255.0;',

    // The codes of a depth texture of a format drawn into a target (the whole of it): each
    // round(depth (2^bits - 1)), or a float's bits. The picture's state is put back.
    codes: function(depth, t, w, h, format) {
      var P = ZbvPasses, gl = ZbvGl.gl;
      if (!P.converter) {
        P.converter = ZbvGl.makeProgram('#version 300 es\nvoid main() {' +
          ' vec2 p = vec2(gl_VertexID == 1 ? 3.0 : -1.0, gl_VertexID == 2 ? 3.0 : -1.0);' +
          ' gl_Position = vec4(p, 0.0, 1.0); }',
          '#version 300 es\nprecision highp float; precision highp int;' +
          ' uniform highp sampler2D depth; uniform float largest; out vec4 colour; void main() {' +
          ' float d = texelFetch(depth, ivec2(gl_FragCoord.xy), 0).r;' +
          // (d times 2^24 - 1 is already the nearest whole number in single precision: adding
          // a half to it would round again.)
          ' uint k = largest > 0.0 ? uint(round(d * largest)) : floatBitsToUint(d);' + P.bytes +
          ' }');
        P.vao = gl.createVertexArray();
      }
      var program = P.converter.program;
      gl.bindFramebuffer(gl.FRAMEBUFFER, t.framebuffer);
      gl.viewport(0, 0, w, h);
      gl.disable(gl.DEPTH_TEST);
      gl.disable(gl.CULL_FACE);
      gl.useProgram(program);
      gl.uniform1f(gl.getUniformLocation(program, 'largest'),
                   ZbvGlDepth.isFloat(format) ? 0 : ZbvGlDepth.largest(format));
      gl.bindVertexArray(P.vao);
      gl.bindTexture(gl.TEXTURE_2D, depth);
      gl.drawArrays(gl.TRIANGLES, 0, 3);
      gl.bindTexture(gl.TEXTURE_2D, null);
      gl.bindVertexArray(null);
      ZbvGl.restoreState();
      ZbvGlDepth.bind();
    },

    // The program that draws a draw alone for a format (null: the canvas's own): the
    // picture's position and depth, and the last vertex's number as its colour.
    program: function(format) {
      var P = ZbvPasses, key = format || '', n = format ? ZbvGlDepth.largest(format) + '.0' : '';
      return (P.programs[key] || (P.programs[key] = ZbvGl.makeProgram(
        '#version 300 es\nin vec4 position; flat out highp uint vertex; invariant gl_Position;' +
        ' void main() { gl_Position = position; vertex = uint(gl_VertexID); }',
        '#version 300 es\nprecision highp float; precision highp int; flat in highp uint vertex;' +
        ' out vec4 colour; void main() { uint k = vertex;' + P.bytes +
        (!format ? '' : format === '32f' ? ' gl_FragDepth = gl_FragCoord.z;'
          : ' gl_FragDepth = round(gl_FragCoord.z * ' + n + ') / ' + n + ';') + ' }'))).program;
    },

    // The draw the renderer was given last (mode, count), drawn alone under the picture's
    // culling: its triangles' numbers into the target `ids`, the codes it leaves into
    // `codes`. Where the picture tests depth, the nearest fragment at each pixel is kept, else
    // the last, as the picture keeps them.
    aloneDraw: function(ids, codes, mode, count, depthTest, w, h, format) {
      var P = ZbvPasses, gl = ZbvGl.gl, a = P.alone;
      if (!a || a.width !== w || a.height !== h || a.format !== format) {
        P.drop();
        a = P.alone = {framebuffer: gl.createFramebuffer(),
                       depth: ZbvGlDepth.depthTexture(format, w, h), width: w, height: h,
                       format: format};
        gl.bindFramebuffer(gl.FRAMEBUFFER, a.framebuffer);
        gl.framebufferTexture2D(gl.FRAMEBUFFER, gl.DEPTH_ATTACHMENT, gl.TEXTURE_2D, a.depth, 0);
      }
      gl.bindFramebuffer(gl.FRAMEBUFFER, a.framebuffer);
      gl.framebufferTexture2D(gl.FRAMEBUFFER, gl.COLOR_ATTACHMENT0, gl.TEXTURE_2D, ids.texture, 0);
      gl.clearColor(1, 1, 1, 1);  // no triangle: the number 2^32 - 1
      gl.clear(gl.COLOR_BUFFER_BIT | gl.DEPTH_BUFFER_BIT);
      gl.clearColor.apply(gl, ZbvGl.clearColour);
      gl.enable(gl.DEPTH_TEST);
      if (!depthTest) gl.depthFunc(gl.ALWAYS);
      gl.useProgram(P.program(ZbvGlDepth.format));
      gl.drawArrays(mode, 0, count);
      if (!depthTest) gl.depthFunc(gl.LESS);
      P.codes(a.depth, codes, w, h, format);
    },
  },
});
