// SPDX-License-Identifier: MIT
// The browser side of the web build's GL and GLUT: the canvas as the window, its WebGL
// context (drawn with one trivial shader, since lighting is done per vertex before), and
// the events that reach GLUT: key presses, the page's key buttons, resizes, a lost and
// restored context. Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZBV: {
    canvas: null,
    gl: null,
    buffer: null,
    x: 0,
    y: 0,
    // What has been asked of WebGL so far, to ask again of a restored context.
    caps: {},
    cull: 0x0405,
    front: 0x0901,
    clearColour: [0, 0, 0, 0],
    viewport: null,

    // Shader, buffer and state, on a new or restored context.
    prepare: function() {
      var gl = ZBV.gl;
      function shader(type, text) {
        var s = gl.createShader(type);
        gl.shaderSource(s, text);
        gl.compileShader(s);
        return s;
      }
      var program = gl.createProgram();
      gl.attachShader(program, shader(gl.VERTEX_SHADER,
          'attribute vec4 position; attribute vec4 colour; varying vec4 shade;' +
          'void main() { gl_Position = position; shade = colour; }'));
      gl.attachShader(program, shader(gl.FRAGMENT_SHADER,
          '#ifdef GL_FRAGMENT_PRECISION_HIGH\nprecision highp float;\n#else\n' +
          'precision mediump float;\n#endif\n' +
          'varying vec4 shade; void main() { gl_FragColor = shade; }'));
      gl.bindAttribLocation(program, 0, 'position');
      gl.bindAttribLocation(program, 1, 'colour');
      gl.linkProgram(program);
      gl.useProgram(program);
      ZBV.buffer = gl.createBuffer();
      gl.bindBuffer(gl.ARRAY_BUFFER, ZBV.buffer);
      gl.enableVertexAttribArray(0);
      gl.enableVertexAttribArray(1);
      gl.vertexAttribPointer(0, 4, gl.FLOAT, false, 32, 0);
      gl.vertexAttribPointer(1, 4, gl.FLOAT, false, 32, 16);
      gl.disable(gl.DITHER);
      for (var cap in ZBV.caps) {
        if (ZBV.caps[cap]) gl.enable(+cap); else gl.disable(+cap);
      }
      gl.cullFace(ZBV.cull);
      gl.frontFace(ZBV.front);
      gl.clearColor.apply(gl, ZBV.clearColour);
      if (ZBV.viewport) gl.viewport.apply(gl, ZBV.viewport);
    },

    // The byte a key press types, as GLUT hands it on; -1 for keys that type nothing and
    // for shortcuts, which stay the browser's.
    keyByte: function(e) {
      var altGraph = e.getModifierState && e.getModifierState('AltGraph');
      if (e.isComposing || (!altGraph && (e.ctrlKey || e.altKey || e.metaKey))) return -1;
      var named = {Escape: 27, Enter: 13, Tab: 9, Backspace: 8, Delete: 127};
      if (Object.prototype.hasOwnProperty.call(named, e.key)) return named[e.key];
      if (e.key.length !== 1) return -1;
      var c = e.key.charCodeAt(0);
      return c >= 32 && c < 256 ? c : -1;
    },

    listen: function(canvas) {
      canvas.addEventListener('keydown', function(e) {
        var key = ZBV.keyByte(e);
        if (key < 0) return;
        e.preventDefault();
        _zbv_glut_key(key, ZBV.x, ZBV.y);
      });
      canvas.addEventListener('pointermove', function(e) {
        ZBV.x = Math.round(e.offsetX * canvas.width / (canvas.clientWidth || 1));
        ZBV.y = Math.round(e.offsetY * canvas.height / (canvas.clientHeight || 1));
      });
      document.querySelectorAll('[data-key]').forEach(function(button) {
        button.addEventListener('click', function() {
          _zbv_glut_key(button.getAttribute('data-key').charCodeAt(0), ZBV.x, ZBV.y);
          canvas.focus();
        });
      });
      // Sized by its frame, which the user can drag; a resized canvas has lost its
      // picture, so a redisplay that reshape posts is drawn at once.
      new ResizeObserver(function(entries) {
        var box = entries[entries.length - 1].contentRect, ratio = window.devicePixelRatio || 1;
        var w = Math.max(1, Math.round(box.width * ratio));
        var h = Math.max(1, Math.round(box.height * ratio));
        if (canvas.width !== w) canvas.width = w;
        if (canvas.height !== h) canvas.height = h;
        _zbv_glut_reshape(w, h);
        _zbv_glut_frame();
      }).observe(canvas);
      canvas.addEventListener('webglcontextlost', function(e) {
        e.preventDefault();  // so that the browser restores it
      });
      canvas.addEventListener('webglcontextrestored', function() {
        ZBV.prepare();
        _zbv_glut_restored();
      });
    },
  },

  zbv_webgl_open__deps: ['$ZBV'],
  zbv_webgl_open: function(title, depth) {
    var canvas = document.getElementById('canvas');
    document.title = UTF8ToString(title);
    var options = {alpha: false, depth: !!depth, stencil: false, antialias: false,
                   preserveDrawingBuffer: true};
    var gl = canvas && (canvas.getContext('webgl', options) ||
                        canvas.getContext('experimental-webgl', options));
    if (!gl) {
      document.body.classList.add('no-webgl');
      return 0;
    }
    ZBV.canvas = canvas;
    ZBV.gl = gl;
    ZBV.prepare();
    ZBV.listen(canvas);
    canvas.focus();
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
    gl.bufferData(gl.ARRAY_BUFFER, HEAPF32.subarray(vertices >> 2, (vertices >> 2) + count * 8),
                  gl.STREAM_DRAW);
    gl.drawArrays(mode, 0, count);
  },

  zbv_webgl_request_frame__deps: ['$ZBV'],
  zbv_webgl_request_frame: function() {
    requestAnimationFrame(function() { _zbv_glut_frame(); });
  },
});
