// SPDX-License-Identifier: MIT
// Where depth fights: while switched on, each draw that tests depth is also drawn alone into a
// target of its own (the depth target's program and format) and read back, and every pixel
// where its code falls within one code of the code stored before it is marked: there the
// depth buffer's rounding, or the order of the draws, picked the winner. marks holds the
// frame's marks (rows from the bottom) once it is drawn. Linked into the page with
// --js-library.
mergeInto(LibraryManager.library, {
  $ZbvZfight__deps: ['$ZbvGl', '$ZbvDepth', '$ZbvDepthCodes'],
  $ZbvZfight__postset: 'ZbvGl.lostHooks.push(ZbvZfight.reset);',
  $ZbvZfight: {
    on: false,
    target: null,  // {framebuffer, texture, depth, width, height, format}
    stored: null,  // the code stored at each pixel so far in the frame
    marks: null,
    bytes: null,

    reset: function() {
      var t = ZbvZfight.target, gl = ZbvGl.gl;
      if (t && ZbvGl.usable()) {
        gl.deleteFramebuffer(t.framebuffer);
        gl.deleteTexture(t.texture);
        gl.deleteRenderbuffer(t.depth);
      }
      ZbvZfight.target = null;
    },

    // A frame begins: nothing stored, nothing marked.
    clear: function() {
      var Z = ZbvZfight, d = ZbvDepth, n = d.width * d.height;
      if (!Z.on) return;
      if (!Z.marks || Z.marks.length !== n) {
        Z.marks = new Uint8Array(n);
        Z.stored = new Uint32Array(n);
        Z.bytes = new Uint8Array(4 * n);
      }
      Z.marks.fill(0);
      Z.stored.fill(d.cleared());
    },

    ready: function() {
      var Z = ZbvZfight, d = ZbvDepth, gl = ZbvGl.gl, t = Z.target;
      if (t && t.width === d.width && t.height === d.height && t.format === d.format) return t;
      Z.reset();
      t = Z.target = {framebuffer: gl.createFramebuffer(), depth: gl.createRenderbuffer(),
                      width: d.width, height: d.height, format: d.format};
      gl.bindRenderbuffer(gl.RENDERBUFFER, t.depth);
      gl.renderbufferStorage(gl.RENDERBUFFER, ZbvDepthCodes.renderbuffer(d.format), t.width, t.height);
      gl.bindRenderbuffer(gl.RENDERBUFFER, null);
      t.texture = d.target(t.framebuffer, null, gl.RGBA, t.width, t.height);
      gl.framebufferRenderbuffer(gl.FRAMEBUFFER, d.format ? gl.DEPTH_ATTACHMENT
                                 : gl.DEPTH_STENCIL_ATTACHMENT, gl.RENDERBUFFER, t.depth);
      return t;
    },

    // The draw whose vertices WebGL was given last, alone: its codes against those stored.
    draw: function(mode, count) {
      var Z = ZbvZfight, d = ZbvDepth, gl = ZbvGl.gl;
      if (!Z.on || !Z.marks) return;
      var t = Z.ready(), format = ZbvDepthCodes.format(), all = d.cleared();
      gl.bindFramebuffer(gl.FRAMEBUFFER, t.framebuffer);
      gl.clearColor.apply(gl, ZbvDepthCodes.clearColour(ZbvDepthCodes.format()));
      gl.clear(gl.COLOR_BUFFER_BIT | gl.DEPTH_BUFFER_BIT);
      gl.clearColor.apply(gl, ZbvGl.clearColour);
      gl.drawArrays(mode, 0, count);
      gl.readPixels(0, 0, t.width, t.height, gl.RGBA, gl.UNSIGNED_BYTE, Z.bytes);
      for (var i = 0, j = 0; i < Z.marks.length; ++i, j += 4) {
        var k = ZbvDepthCodes.decode(Z.bytes, j, format), s = Z.stored[i];
        if (k === all) continue;
        if (s !== all && Math.abs(k - s) <= 1) Z.marks[i] = 1;
        if (k < s) Z.stored[i] = k;
      }
    },
  },
});
