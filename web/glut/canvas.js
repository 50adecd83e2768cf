// SPDX-License-Identifier: MIT
// GLUT's window in a browser: the page's canvas, with WebGL from the GL layer below; its
// frames come at the browser's animation frames, its size from the canvas's box, and a lost
// and restored context is drawn again. Keys come from above (ZbvGlut.key). The layers above
// hear of the window through `hooks`. Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvGlut__deps: ['$ZbvGl', '$ZbvGlDepth'],
  $ZbvGlut: {
    canvas: null,
    // The pointer's last place over the canvas, in the window's pixels.
    x: 0,
    y: 0,
    // The window's size, as reshape was last given it.
    width: 0,
    height: 0,
    // What the layers above may hear: the window opened (its canvas, before the program has
    // set its state up), a frame drawn, trouble that keeps the window from drawing
    // ({kind: 'no-webgl'}, or {kind: 'gl-failed', reason, log}: webgl.js), and the context
    // taken away and given back.
    hooks: {
      opened: function(canvas) {},
      shown: function() {},
      trouble: function(trouble) {},
      lost: function(lost) {},  // the context taken away (true), or given back (false)
    },

    // A key typed (its byte, as GLUT hands it on) at the pointer's last place.
    key: function(key) {
      _zbv_glut_key(key, ZbvGlut.x, ZbvGlut.y);
    },

    // Draws the frame that has been asked for, if any, shows it, and says so. The picture's
    // program is asked about once the first frame is on its way: asking waits for the GPU.
    frame: function() {
      if (!_zbv_glut_frame()) return;
      ZbvGlDepth.show();
      ZbvGlut.hooks.shown();
      if (ZbvGlut.checked) return;
      ZbvGlut.checked = true;
      setTimeout(function() {
        var failed = ZbvGl.pictureFailure();
        if (failed) ZbvGlut.hooks.trouble(failed);
      }, 0);
    },
    checked: false,

    // The canvas made this many CSS pixels in size, and the window with it. A resized canvas
    // has lost its picture, so it is drawn again at once, whether or not the window's size
    // changed with it (past the largest drawing buffer the browser gives, it does not).
    fit: function(cssWidth, cssHeight) {
      var canvas = ZbvGlut.canvas, ratio = window.devicePixelRatio || 1;
      var w = Math.max(1, Math.round(cssWidth * ratio));
      var h = Math.max(1, Math.round(cssHeight * ratio));
      if (canvas.width === w && canvas.height === h) return ZbvGlut.reshape(false);
      canvas.width = w;
      canvas.height = h;
      ZbvGlut.reshape(true);
    },

    // The window as large as the canvas is now, and its frame drawn if one is due: the first
    // frame too, as soon as the program has set its state up, at the size the canvas has
    // then (asking the browser for its laid-out size would lay the whole page out first;
    // where the layout gives it another size, the observer below draws it again before
    // anything is shown). The window's size is the drawing buffer the browser gave, which it
    // may make smaller than asked. `cleared`: the canvas lost its picture.
    reshape: function(cleared) {
      var canvas = ZbvGlut.canvas, gl = ZbvGl.gl, lost = gl.isContextLost();
      ZbvGlut.width = lost ? canvas.width : gl.drawingBufferWidth;
      ZbvGlut.height = lost ? canvas.height : gl.drawingBufferHeight;
      _zbv_glut_reshape(ZbvGlut.width, ZbvGlut.height);
      if (cleared) _zbv_glut_repaint();
      ZbvGlut.frame();
    },

    listen: function(canvas) {
      canvas.addEventListener('pointermove', function(e) {
        ZbvGlut.x = Math.round(e.offsetX * canvas.width / (canvas.clientWidth || 1));
        ZbvGlut.y = Math.round(e.offsetY * canvas.height / (canvas.clientHeight || 1));
      });
      // Sized by its frame, which the user can drag.
      new ResizeObserver(function(entries) {
        var box = entries[entries.length - 1].contentRect;
        ZbvGlut.fit(box.width, box.height);
      }).observe(canvas);
      canvas.addEventListener('webglcontextlost', function(e) {
        e.preventDefault();  // so that the browser restores it
        ZbvGl.lost();
        ZbvGlut.hooks.lost(true);
      });
      canvas.addEventListener('webglcontextrestored', function() {
        var failed = ZbvGl.restored();
        ZbvGlut.hooks.lost(false);
        if (failed) ZbvGlut.hooks.trouble(failed);
        else _zbv_glut_repaint();
      });
    },
  },

  zbv_glut_open__deps: ['$ZbvGlut', '$ZbvGl'],
  zbv_glut_open: function(title, depth, clipFloats, colourFloats) {
    // The page names its canvas to the program, as Emscripten's programs are told theirs.
    var canvas = Module['canvas'];
    document.title = UTF8ToString(title);
    var failed = ZbvGl.open(canvas, depth, clipFloats, colourFloats);
    if (failed) {
      ZbvGlut.hooks.trouble(failed);
      return 0;
    }
    ZbvGlut.canvas = canvas;
    ZbvGlut.listen(canvas);
    ZbvGlut.hooks.opened(canvas);
    return 1;
  },

  zbv_glut_request_frame__deps: ['$ZbvGlut'],
  zbv_glut_request_frame: function() {
    requestAnimationFrame(function() { ZbvGlut.frame(); });
  },
});
