// SPDX-License-Identifier: MIT
// What the depth target keeps for each pixel, in the format the picture is drawn with
// (ZbvGlDepth.format; null: the canvas's own buffer, of 24 bits): the depth buffer's code
// (k = round(z (2^bits - 1))) packed into red, green and blue, or a 32-bit float's bits into
// red, green, blue and alpha; and the program that draws it, testing with the same depth the
// picture's own buffer keeps. Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvDepthCodes__deps: ['$ZbvGl', '$ZbvGlDepth'],
  // Programs belong to one context.
  $ZbvDepthCodes__postset: 'ZbvGl.lostHooks.push(function() { ZbvDepthCodes.programs = {}; });',
  $ZbvDepthCodes: {
    programs: {},  // by format ('' for the canvas's own), made once each

    // The format in force: '16', '24' or '32f'.
    format: function() {
      return ZbvGlDepth.format || '24';
    },

    // The code of the depth z in the format (for the float, its bits as an unsigned number).
    code: function(z, format) {
      if (format === '32f') return new Uint32Array(new Float32Array([z]).buffer)[0];
      return Math.floor(Math.min(Math.max(z, 0), 1) * ZbvGlDepth.codes(format) + 0.5);
    },

    // The depth a code stands for.
    depthOf: function(code, format) {
      if (format === '32f') return new Float32Array(new Uint32Array([code]).buffer)[0];
      return code / ZbvGlDepth.codes(format);
    },

    // The code in the four bytes at j.
    decode: function(px, j, format) {
      if (format === '32f') {
        return ((px[j] << 24) | (px[j + 1] << 16) | (px[j + 2] << 8) | px[j + 3]) >>> 0;
      }
      return (px[j] << 16) | (px[j + 1] << 8) | px[j + 2];
    },

    // The colour a cleared pixel has: the code of 1.
    clearColour: function(format) {
      var k = ZbvDepthCodes.code(1, format);
      if (format === '32f') return [k >>> 24, (k >>> 16) & 255, (k >>> 8) & 255, k & 255].map(
          function(b) { return b / 255; });
      return [k >> 16, (k >> 8) & 255, k & 255, 255].map(function(b) { return b / 255; });
    },

    // The depth buffer the target tests with (null, the canvas's own: at least 24 bits, as
    // the canvas has; depth and stencil together is what WebGL 1 offers for that).
    renderbuffer: function(format) {
      var gl = ZbvGl.gl;
      return format ? ZbvGlDepth.internal(format) : gl.DEPTH_STENCIL;
    },

    // The program that draws a draw's codes into the target. For the canvas's own buffer, the
    // depth as it is, its code of 24 bits in whole numbers a float holds exactly; for a chosen
    // format, the depth rounded to its code before the test, as the picture's is.
    program: function(format) {
      var made = ZbvDepthCodes.programs[format || ''];
      return made || (ZbvDepthCodes.programs[format || ''] = ZbvDepthCodes.make(format));
    },

    make: function(format) {
      var gl = ZbvGl.gl, p = gl.createProgram(), pack;
      if (!format) {
        ZbvGl.shader(p, gl.VERTEX_SHADER,
            'attribute vec4 position; void main() { gl_Position = position; }');
        ZbvGl.shader(p, gl.FRAGMENT_SHADER,
            'precision highp float; void main() {' +
            ' float v = floor(gl_FragCoord.z * 16777215.0 + 0.5);' +
            ' float r = floor(v / 65536.0); float g = floor((v - r * 65536.0) / 256.0);' +
            ' float b = v - r * 65536.0 - g * 256.0;' +
            ' gl_FragColor = vec4(r, g, b, 255.0) / 255.0; }');
      } else {
        pack = format === '32f'
          ? 'uint u = floatBitsToUint(gl_FragCoord.z); gl_FragDepth = gl_FragCoord.z;' +
            ' colour = vec4(uvec4(u >> 24u, (u >> 16u) & 255u, (u >> 8u) & 255u, u & 255u)) / 255.0;'
          : 'float n = ' + ZbvGlDepth.codes(format) + '.0;' +
            ' float v = floor(gl_FragCoord.z * n + 0.5); gl_FragDepth = v / n;' +
            ' float r = floor(v / 65536.0); float g = floor((v - r * 65536.0) / 256.0);' +
            ' colour = vec4(r, g, v - r * 65536.0 - g * 256.0, 255.0) / 255.0;';
        ZbvGl.shader(p, gl.VERTEX_SHADER, '#version 300 es\n' +
            'in vec4 position; void main() { gl_Position = position; }');
        ZbvGl.shader(p, gl.FRAGMENT_SHADER, '#version 300 es\nprecision highp float;' +
            'out vec4 colour; void main() { ' + pack + ' }');
      }
      gl.bindAttribLocation(p, 0, 'position');
      gl.linkProgram(p);
      return p;
    },
  },
});
