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
    gl: null,
    picture: null,  // the picture's program, as makeProgram made it
    program: null,  // and its WebGL program
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

    // Whether the context is WebGL 2.
    webgl2: function() {
      return typeof WebGL2RenderingContext !== 'undefined' &&
             ZbvGl.gl instanceof WebGL2RenderingContext;
    },

    // A program made from these two shaders' texts, its vertices' position and colour at
    // attributes 0 and 1: {program, shaders}. It is compiled and linked at once (in parallel
    // where the browser offers it), but asked about only when `failure` is: asking waits for
    // the GPU.
    makeProgram: function(vertex, fragment) {
      var gl = ZbvGl.gl, program = gl.createProgram();
      var shaders = [[gl.VERTEX_SHADER, vertex], [gl.FRAGMENT_SHADER, fragment]].map(function(s) {
        var shader = gl.createShader(s[0]);
        gl.shaderSource(shader, s[1]);
        gl.compileShader(shader);
        gl.attachShader(program, shader);
        return shader;
      });
      gl.bindAttribLocation(program, 0, 'position');
      gl.bindAttribLocation(program, 1, 'colour');
      gl.linkProgram(program);
      return {program: program, shaders: shaders};
    },

    // What went wrong with a program made by makeProgram, or null when it is ready: {reason:
    // 'compile' or 'link', log: the driver's own words, or ''}. Asked once.
    failure: function(made) {
      var gl = ZbvGl.gl;
      if (made.checked || gl.isContextLost()) return made.failed || null;
      made.checked = true;
      if (gl.getProgramParameter(made.program, gl.LINK_STATUS)) return null;
      var broken = made.shaders.filter(function(s) {
        return !gl.getShaderParameter(s, gl.COMPILE_STATUS);
      });
      made.failed = broken.length ? {reason: 'compile', log: gl.getShaderInfoLog(broken[0]) || ''}
        : {reason: 'link', log: gl.getProgramInfoLog(made.program) || ''};
      return made.failed;
    },

    // A limit of the context (a getParameter name), asked once per context.
    limit: function(name) {
      var limits = ZbvGl.limits || (ZbvGl.limits = {});
      if (!(name in limits)) limits[name] = ZbvGl.gl.getParameter(ZbvGl.gl[name]);
      return limits[name];
    },

    // Shader, buffer and state, on a context drawn with for the first time, or restored. The
    // picture's program is asked about later (pictureFailure), not on the way to the first
    // frame.
    prepare: function() {
      var gl = ZbvGl.gl;
      gl.getExtension('KHR_parallel_shader_compile');
      ZbvGl.limits = null;
      ZbvGl.picture = ZbvGl.makeProgram(
          'attribute vec4 position; attribute vec4 colour; varying vec4 shade;' +
          'void main() { gl_Position = position; shade = colour; }',
          '#ifdef GL_FRAGMENT_PRECISION_HIGH\nprecision highp float;\n#else\n' +
          'precision mediump float;\n#endif\n' +
          'varying vec4 shade; void main() { gl_FragColor = shade; }');
      var program = ZbvGl.program = ZbvGl.picture.program;
      gl.useProgram(program);
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
    },

    // Why the picture cannot be drawn, where its program failed ({kind: 'gl-failed', reason,
    // log}); null when it can.
    pictureFailure: function() {
      var failed = ZbvGl.usable() && ZbvGl.failure(ZbvGl.picture);
      return failed ? Object.assign({kind: 'gl-failed'}, failed) : null;
    },

    // WebGL on this canvas, vertices laid out as given: null when ready, else why not
    // ({kind: 'no-webgl'}; a program that fails says so later: pictureFailure).
    open: function(canvas, depth, clipFloats, colourFloats) {
      var options = {alpha: false, depth: !!depth, stencil: false, antialias: false,
                     preserveDrawingBuffer: true};
      var gl = canvas && (canvas.getContext('webgl2', options) ||
                          canvas.getContext('webgl', options) ||
                          canvas.getContext('experimental-webgl', options));
      if (!gl) return {kind: 'no-webgl'};
      ZbvGl.gl = gl;
      ZbvGl.clipFloats = clipFloats;
      ZbvGl.colourFloats = colourFloats;
      return null;
    },

    // The shader, buffer and state made when first drawn with (compiling a shader holds up the
    // GPU, and with it the page's first paint: the first frame comes after that paint).
    ensure: function() {
      if (!ZbvGl.program) ZbvGl.prepare();
    },

    // The state the GL layer has set, put back after a layer above drew with its own: the
    // viewport and the two tests it switches.
    restoreState: function() {
      var gl = ZbvGl.gl;
      [gl.CULL_FACE, gl.DEPTH_TEST].forEach(function(cap) {
        if (ZbvGl.caps[cap]) gl.enable(cap); else gl.disable(cap);
      });
      if (ZbvGl.viewport) gl.viewport.apply(gl, ZbvGl.viewport);
    },

    // The context is lost: everything made in it is gone.
    lost: function() {
      ZbvGl.program = null;
      ZbvGl.lostHooks.forEach(function(hook) { hook(); });
    },

    // The context is back, empty: null when it is ready to draw again, else what went wrong.
    restored: function() {
      ZbvGl.prepare();
      ZbvGl.restoredHooks.forEach(function(hook) { hook(); });
      return ZbvGl.pictureFailure();
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
    ZbvGl.ensure();
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
    ZbvGl.ensure();
    var floats = count * (ZbvGl.clipFloats + ZbvGl.colourFloats);
    gl.bufferData(gl.ARRAY_BUFFER, HEAPF32.subarray(vertices >> 2, (vertices >> 2) + floats),
                  gl.STREAM_DRAW);
    gl.drawArrays(mode, 0, count);
  },
});
