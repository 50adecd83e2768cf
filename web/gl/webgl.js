// SPDX-License-Identifier: MIT
// The GL layer's renderer in a browser: a WebGL context (WebGL 2 where the browser has it) on
// the canvas GLUT's window gives it, drawn with one trivial shader (lighting is done per vertex
// before), and what has been asked of it kept, to ask again of a restored context. The picture
// is drawn into the canvas's own buffers, or into a target of a depth format chosen from above
// (depth_format.js), shown on the canvas as each frame ends. The layers above hear of a lost
// and a restored context through lostHooks and restoredHooks. Linked into the page with
// --js-library.
mergeInto(LibraryManager.library, {
  $ZbvGl: {
    canvas: null,
    gl: null,
    program: null,
    buffer: null,
    // A vertex's floats: clip coordinates, then colour (set when the context opens).
    clipFloats: 0,
    colourFloats: 0,
    // What has been asked of WebGL so far; the faces start as WebGL's own defaults.
    caps: {},
    cull: null,
    front: null,
    clearColour: [0, 0, 0, 0],
    viewport: null,
    // Called when the context is lost, and when it is restored (its shader and state back,
    // before anything is drawn again): what has objects of its own in the context drops them.
    lostHooks: [],
    restoredHooks: [],

    // Whether there is a context to draw with: one was made and it is not lost.
    usable: function() {
      return !!ZbvGl.gl && !ZbvGl.gl.isContextLost();
    },

    // A shader compiled from this text and attached to the program.
    shader: function(program, type, text) {
      var gl = ZbvGl.gl, s = gl.createShader(type);
      gl.shaderSource(s, text);
      gl.compileShader(s);
      gl.attachShader(program, s);
      return s;
    },

    // Shader, buffer and state, on a new or restored context: null when ready, else what went
    // wrong ({reason: 'compile' or 'link', log: the driver's own words, or ''}).
    prepare: function() {
      var gl = ZbvGl.gl;
      var program = gl.createProgram();
      var shaders = [ZbvGl.shader(program, gl.VERTEX_SHADER,
          'attribute vec4 position; attribute vec4 colour; varying vec4 shade;' +
          'void main() { gl_Position = position; shade = colour; }'),
        ZbvGl.shader(program, gl.FRAGMENT_SHADER,
          '#ifdef GL_FRAGMENT_PRECISION_HIGH\nprecision highp float;\n#else\n' +
          'precision mediump float;\n#endif\n' +
          'varying vec4 shade; void main() { gl_FragColor = shade; }')];
      gl.bindAttribLocation(program, 0, 'position');
      gl.bindAttribLocation(program, 1, 'colour');
      gl.linkProgram(program);
      // One question to the GPU when all is well (each waits for it); the shaders' own
      // verdicts only when the program failed.
      if (!gl.getProgramParameter(program, gl.LINK_STATUS) && !gl.isContextLost()) {
        var broken = shaders.filter(function(s) {
          return !gl.getShaderParameter(s, gl.COMPILE_STATUS);
        });
        return broken.length ? {reason: 'compile', log: gl.getShaderInfoLog(broken[0]) || ''}
          : {reason: 'link', log: gl.getProgramInfoLog(program) || ''};
      }
      gl.useProgram(program);
      ZbvGl.program = program;
      ZbvGl.buffer = gl.createBuffer();
      gl.bindBuffer(gl.ARRAY_BUFFER, ZbvGl.buffer);
      gl.enableVertexAttribArray(0);
      gl.enableVertexAttribArray(1);
      var stride = (ZbvGl.clipFloats + ZbvGl.colourFloats) * 4;
      gl.vertexAttribPointer(0, ZbvGl.clipFloats, gl.FLOAT, false, stride, 0);
      gl.vertexAttribPointer(1, ZbvGl.colourFloats, gl.FLOAT, false, stride, ZbvGl.clipFloats * 4);
      gl.disable(gl.DITHER);
      for (var cap in ZbvGl.caps) {
        if (ZbvGl.caps[cap]) gl.enable(+cap); else gl.disable(+cap);
      }
      gl.cullFace(ZbvGl.cull === null ? gl.BACK : ZbvGl.cull);
      gl.frontFace(ZbvGl.front === null ? gl.CCW : ZbvGl.front);
      gl.clearColor.apply(gl, ZbvGl.clearColour);
      if (ZbvGl.viewport) gl.viewport.apply(gl, ZbvGl.viewport);
      return null;
    },

    // WebGL on this canvas, vertices laid out as given: null when ready, else why not
    // ({kind: 'no-webgl', or 'gl-failed' and what prepare says}).
    open: function(canvas, depth, clipFloats, colourFloats) {
      var options = {alpha: false, depth: !!depth, stencil: false, antialias: false,
                     preserveDrawingBuffer: true};
      var gl = canvas && (canvas.getContext('webgl2', options) ||
                          canvas.getContext('webgl', options) ||
                          canvas.getContext('experimental-webgl', options));
      if (!gl) return {kind: 'no-webgl', detail: ''};
      ZbvGl.canvas = canvas;
      ZbvGl.gl = gl;
      ZbvGl.clipFloats = clipFloats;
      ZbvGl.colourFloats = colourFloats;
      var failed = ZbvGl.prepare();
      return failed ? Object.assign({kind: 'gl-failed'}, failed) : null;
    },

    // The framebuffer the picture is drawn into (the canvas's, null, unless a target of
    // another depth format stands in for it), bound.
    bindPicture: function() {
      var gl = ZbvGl.gl;
      gl.bindFramebuffer(gl.FRAMEBUFFER, ZbvGl.target ? ZbvGl.target.framebuffer : null);
    },
    target: null,  // the picture's target, where depth_format.js makes one

    // The context is lost: everything made in it is gone.
    lost: function() {
      ZbvGl.lostHooks.forEach(function(hook) { hook(); });
    },

    // The context is back, empty: null when it is ready to draw again, else what went wrong.
    restored: function() {
      var failed = ZbvGl.prepare();
      ZbvGl.restoredHooks.forEach(function(hook) { hook(); });
      return failed;
    },
  },

  zbv_webgl_clear_color__deps: ['$ZbvGl'],
  zbv_webgl_clear_color: function(r, g, b, a) {
    ZbvGl.clearColour = [r, g, b, a];
    if (ZbvGl.gl) ZbvGl.gl.clearColor(r, g, b, a);
  },

  // A clear starts a frame: the picture's target is made ready for it first.
  zbv_webgl_clear__deps: ['$ZbvGl', '$ZbvGlDepth'],
  zbv_webgl_clear: function(mask) {
    if (!ZbvGl.gl) return;
    ZbvGlDepth.ready();
    ZbvGl.gl.clear(mask);
  },

  zbv_webgl_capability__deps: ['$ZbvGl'],
  zbv_webgl_capability: function(cap, on) {
    ZbvGl.caps[cap] = !!on;
    if (!ZbvGl.gl) return;
    if (on) ZbvGl.gl.enable(cap); else ZbvGl.gl.disable(cap);
  },

  zbv_webgl_cull_face__deps: ['$ZbvGl'],
  zbv_webgl_cull_face: function(mode) {
    ZbvGl.cull = mode;
    if (ZbvGl.gl) ZbvGl.gl.cullFace(mode);
  },

  zbv_webgl_front_face__deps: ['$ZbvGl'],
  zbv_webgl_front_face: function(mode) {
    ZbvGl.front = mode;
    if (ZbvGl.gl) ZbvGl.gl.frontFace(mode);
  },

  zbv_webgl_viewport__deps: ['$ZbvGl'],
  zbv_webgl_viewport: function(x, y, w, h) {
    ZbvGl.viewport = [x, y, w, h];
    if (ZbvGl.gl) ZbvGl.gl.viewport(x, y, w, h);
  },

  zbv_webgl_draw__deps: ['$ZbvGl'],
  zbv_webgl_draw: function(mode, vertices, count) {
    var gl = ZbvGl.gl;
    if (!gl) return;
    var floats = count * (ZbvGl.clipFloats + ZbvGl.colourFloats);
    gl.bufferData(gl.ARRAY_BUFFER, HEAPF32.subarray(vertices >> 2, (vertices >> 2) + floats),
                  gl.STREAM_DRAW);
    gl.drawArrays(mode, 0, count);
  },
});
