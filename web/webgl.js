// SPDX-License-Identifier: MIT
// The browser side of the web build's GL and GLUT: the canvas as the window, its WebGL
// context (drawn with one trivial shader, since lighting is done per vertex before), and
// the events that reach GLUT from the canvas: resizes, a lost and restored context. Keys
// and buttons are the page's (page.js). Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZBV__deps: ['$ZBVPage'],
  $ZBV: {
    canvas: null,
    gl: null,
    buffer: null,
    x: 0,
    y: 0,
    // The window's size, as reshape was last given it.
    width: 0,
    height: 0,
    // A vertex's floats: clip coordinates, then colour (set when the window opens).
    clipFloats: 0,
    colourFloats: 0,
    // What has been asked of WebGL so far, to ask again of a restored context; the faces
    // start as WebGL's own defaults.
    caps: {},
    cull: null,
    front: null,
    clearColour: [0, 0, 0, 0],
    viewport: null,
    // Called when the context is lost, and when it is restored (after its shader and state
    // are back, before the picture is drawn again): what has objects of its own in the
    // context drops them here.
    lostHooks: [],
    restoredHooks: [],

    // Whether there is a context to draw with: one was made and it is not lost.
    usable: function() {
      return !!ZBV.gl && !ZBV.gl.isContextLost();
    },

    // A shader compiled from this text and attached to the program.
    shader: function(program, type, text) {
      var gl = ZBV.gl, s = gl.createShader(type);
      gl.shaderSource(s, text);
      gl.compileShader(s);
      gl.attachShader(program, s);
      return s;
    },

    // Shader, buffer and state, on a new or restored context: '' when ready, else what
    // went wrong, in words.
    prepare: function() {
      var gl = ZBV.gl;
      var program = gl.createProgram();
      var shaders = [ZBV.shader(program, gl.VERTEX_SHADER,
          'attribute vec4 position; attribute vec4 colour; varying vec4 shade;' +
          'void main() { gl_Position = position; shade = colour; }'),
        ZBV.shader(program, gl.FRAGMENT_SHADER,
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
        return broken.length
          ? 'its shader did not compile (' + (gl.getShaderInfoLog(broken[0]) || 'no log') + ')'
          : 'its shader did not link (' + (gl.getProgramInfoLog(program) || 'no log') + ')';
      }
      gl.useProgram(program);
      ZBV.buffer = gl.createBuffer();
      gl.bindBuffer(gl.ARRAY_BUFFER, ZBV.buffer);
      gl.enableVertexAttribArray(0);
      gl.enableVertexAttribArray(1);
      var stride = (ZBV.clipFloats + ZBV.colourFloats) * 4;
      gl.vertexAttribPointer(0, ZBV.clipFloats, gl.FLOAT, false, stride, 0);
      gl.vertexAttribPointer(1, ZBV.colourFloats, gl.FLOAT, false, stride, ZBV.clipFloats * 4);
      gl.disable(gl.DITHER);
      for (var cap in ZBV.caps) {
        if (ZBV.caps[cap]) gl.enable(+cap); else gl.disable(+cap);
      }
      gl.cullFace(ZBV.cull === null ? gl.BACK : ZBV.cull);
      gl.frontFace(ZBV.front === null ? gl.CCW : ZBV.front);
      gl.clearColor.apply(gl, ZBV.clearColour);
      if (ZBV.viewport) gl.viewport.apply(gl, ZBV.viewport);
      return '';
    },

    // A key typed (its byte, as GLUT hands it on) at the pointer's last place over the canvas.
    key: function(key) {
      _zbv_glut_key(key, ZBV.x, ZBV.y);
    },

    // Draws the frame GLUT has been asked for, if any, and lets the page read the state.
    frame: function() {
      if (_zbv_glut_frame()) ZBVPage.shown();
    },

    // The canvas made this many CSS pixels in size, and the window with it. A resized canvas
    // has lost its picture, so it is drawn again at once, whether or not the window's size
    // changed with it (past the largest drawing buffer the browser gives, it does not).
    fit: function(cssWidth, cssHeight) {
      var canvas = ZBV.canvas, ratio = window.devicePixelRatio || 1;
      var w = Math.max(1, Math.round(cssWidth * ratio));
      var h = Math.max(1, Math.round(cssHeight * ratio));
      if (canvas.width === w && canvas.height === h) return ZBV.reshape();
      canvas.width = w;
      canvas.height = h;
      ZBV.reshape(true);
    },

    // The window as large as the canvas is now, and its frame drawn if one is due: the first
    // frame too, as soon as the program has set its state up, at the size the canvas has
    // then (asking the browser for its laid-out size would lay the whole page out first;
    // where the layout gives it another size, the observer below draws it again before
    // anything is shown). The window's size is the drawing buffer the browser gave, which
    // it may make smaller than asked.
    reshape: function(cleared) {
      var canvas = ZBV.canvas, gl = ZBV.gl, lost = gl.isContextLost();
      ZBV.width = lost ? canvas.width : gl.drawingBufferWidth;
      ZBV.height = lost ? canvas.height : gl.drawingBufferHeight;
      _zbv_glut_reshape(ZBV.width, ZBV.height);
      if (cleared) _zbv_glut_restored();
      ZBV.frame();
    },

    listen: function(canvas) {
      canvas.addEventListener('pointermove', function(e) {
        ZBV.x = Math.round(e.offsetX * canvas.width / (canvas.clientWidth || 1));
        ZBV.y = Math.round(e.offsetY * canvas.height / (canvas.clientHeight || 1));
      });
      // Sized by its frame, which the user can drag.
      new ResizeObserver(function(entries) {
        var box = entries[entries.length - 1].contentRect;
        ZBV.fit(box.width, box.height);
      }).observe(canvas);
      canvas.addEventListener('webglcontextlost', function(e) {
        e.preventDefault();  // so that the browser restores it
        ZBV.lostHooks.forEach(function(hook) { hook(); });
      });
      canvas.addEventListener('webglcontextrestored', function() {
        var failed = ZBV.prepare();
        ZBV.restoredHooks.forEach(function(hook) { hook(); });
        if (failed) ZBVPage.trouble('gl-failed', failed);
        else _zbv_glut_restored();
      });
    },
  },

  zbv_webgl_open__deps: ['$ZBV', '$ZBVPage'],
  zbv_webgl_open: function(title, depth, clipFloats, colourFloats) {
    var canvas = document.getElementById('canvas');
    document.title = UTF8ToString(title);
    var options = {alpha: false, depth: !!depth, stencil: false, antialias: false,
                   preserveDrawingBuffer: true};
    var gl = canvas && (canvas.getContext('webgl', options) ||
                        canvas.getContext('experimental-webgl', options));
    if (!gl) {
      ZBVPage.trouble('no-webgl', '');
      return 0;
    }
    ZBV.canvas = canvas;
    ZBV.gl = gl;
    ZBV.clipFloats = clipFloats;
    ZBV.colourFloats = colourFloats;
    var failed = ZBV.prepare();
    if (failed) {
      ZBVPage.trouble('gl-failed', failed);
      return 0;
    }
    ZBV.listen(canvas);
    ZBVPage.open(canvas);
    return 1;
  },

  zbv_webgl_clear_color__deps: ['$ZBV'],
  zbv_webgl_clear_color: function(r, g, b, a) {
    ZBV.clearColour = [r, g, b, a];
    if (ZBV.gl) ZBV.gl.clearColor(r, g, b, a);
  },

  zbv_webgl_clear__deps: ['$ZBV'],
  zbv_webgl_clear: function(mask) {
    if (ZBV.gl) ZBV.gl.clear(mask);
  },

  zbv_webgl_capability__deps: ['$ZBV'],
  zbv_webgl_capability: function(cap, on) {
    ZBV.caps[cap] = !!on;
    if (!ZBV.gl) return;
    if (on) ZBV.gl.enable(cap); else ZBV.gl.disable(cap);
  },

  zbv_webgl_cull_face__deps: ['$ZBV'],
  zbv_webgl_cull_face: function(mode) {
    ZBV.cull = mode;
    if (ZBV.gl) ZBV.gl.cullFace(mode);
  },

  zbv_webgl_front_face__deps: ['$ZBV'],
  zbv_webgl_front_face: function(mode) {
    ZBV.front = mode;
    if (ZBV.gl) ZBV.gl.frontFace(mode);
  },

  zbv_webgl_viewport__deps: ['$ZBV'],
  zbv_webgl_viewport: function(x, y, w, h) {
    ZBV.viewport = [x, y, w, h];
    if (ZBV.gl) ZBV.gl.viewport(x, y, w, h);
  },

  zbv_webgl_draw__deps: ['$ZBV'],
  zbv_webgl_draw: function(mode, vertices, count) {
    var gl = ZBV.gl;
    if (!gl) return;
    var floats = count * (ZBV.clipFloats + ZBV.colourFloats);
    gl.bufferData(gl.ARRAY_BUFFER, HEAPF32.subarray(vertices >> 2, (vertices >> 2) + floats),
                  gl.STREAM_DRAW);
    gl.drawArrays(mode, 0, count);
  },

  zbv_webgl_request_frame__deps: ['$ZBV'],
  zbv_webgl_request_frame: function() {
    requestAnimationFrame(function() { ZBV.frame(); });
  },
});
