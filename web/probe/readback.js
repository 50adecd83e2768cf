// SPDX-License-Identifier: MIT
// Reading the GPU's pixels back without waiting for it: each framebuffer's colour is copied
// into a pixel-pack buffer of its own, a fence follows them, and a timer asks after the fence
// until the GPU has passed it; only then are the bytes taken, so the page never stalls on
// the GPU. WebGL 2. Linked into the page with --js-library.
mergeInto(LibraryManager.library, {
  $ZbvReadback__deps: ['$ZbvGl'],
  $ZbvReadback: {
    buffers: [],  // pixel-pack buffers, kept from one read to the next ({buffer, size})
    taskBytes: 4194304,  // bytes taken from them in one task
    pending: null,

    // Nothing made in the context any more (it was lost): a read under way is forgotten.
    reset: function() {
      ZbvReadback.buffers = [];
      ZbvReadback.pending = null;
    },

    // Whether a read is under way.
    busy: function() {
      return !!ZbvReadback.pending;
    },

    // Reads each job's framebuffer ({framebuffer, width, height, into: Uint8Array of
    // width * height * 4, rows from the bottom}), then calls done() once every `into` holds
    // its bytes (none is read more than once at a time: a read under way is given no other).
    // The caller binds its framebuffer again.
    read: function(jobs, done) {
      var R = ZbvReadback, gl = ZbvGl.gl;
      jobs.forEach(function(job, i) {
        var size = job.width * job.height * 4, b = R.buffers[i];
        if (!b) b = R.buffers[i] = {buffer: gl.createBuffer(), size: 0};
        gl.bindBuffer(gl.PIXEL_PACK_BUFFER, b.buffer);
        if (b.size !== size) {
          gl.bufferData(gl.PIXEL_PACK_BUFFER, size, gl.STREAM_READ);
          b.size = size;
        }
        gl.bindFramebuffer(gl.READ_FRAMEBUFFER, job.framebuffer);
        gl.readPixels(0, 0, job.width, job.height, gl.RGBA, gl.UNSIGNED_BYTE, 0);
      });
      gl.bindBuffer(gl.PIXEL_PACK_BUFFER, null);
      var pending = R.pending = {jobs: jobs, done: done,
                                 fence: gl.fenceSync(gl.SYNC_GPU_COMMANDS_COMPLETE, 0)};
      gl.flush();
      var ask = function() {
        if (R.pending !== pending || !ZbvGl.usable()) return;  // the context was lost meanwhile
        var status = gl.clientWaitSync(pending.fence, 0, 0);
        if (status === gl.TIMEOUT_EXPIRED) return setTimeout(ask, 1);
        gl.deleteSync(pending.fence);
        if (status === gl.WAIT_FAILED) {
          R.pending = null;
          return;
        }
        // Up to R.taskBytes a task (at least one framebuffer's): a large frame's are many,
        // a small frame's all come at once.
        var take = function(i) {
          if (R.pending !== pending || !ZbvGl.usable()) return;
          for (var taken = 0; i < jobs.length && (taken === 0 || taken + jobs[i].into.length <=
               R.taskBytes); ++i) {
            gl.bindBuffer(gl.PIXEL_PACK_BUFFER, R.buffers[i].buffer);
            gl.getBufferSubData(gl.PIXEL_PACK_BUFFER, 0, jobs[i].into);
            taken += jobs[i].into.length;
          }
          gl.bindBuffer(gl.PIXEL_PACK_BUFFER, null);
          if (i < jobs.length) return setTimeout(function() { take(i); }, 0);
          R.pending = null;
          done();
        };
        take(0);
      };
      setTimeout(ask, 0);
    },
  },
});
