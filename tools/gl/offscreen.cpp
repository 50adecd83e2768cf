// SPDX-License-Identifier: MIT
// Framebuffer objects (OpenGL 3.0) and the clip origin (4.5) are beyond 1.x: the window's
// context offers them, and glext.h declares them.
#define GL_GLEXT_PROTOTYPES 1

#include "offscreen.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "gl_window.h"
#include "glut.h"
#include "viewer.h"

namespace zbv {

namespace {

GLenum internalFormat(facts::DepthFormat format) {
  switch (format) {
    case facts::DepthFormat::kInt16:
      return GL_DEPTH_COMPONENT16;
    case facts::DepthFormat::kInt24:
      return GL_DEPTH_COMPONENT24;
    case facts::DepthFormat::kFloat32:
      break;
  }
  return GL_DEPTH_COMPONENT32F;
}

// The context's version as major * 10 + minor: 45 for 4.5.
int glVersion() {
  GLint major = 0, minor = 0;
  glGetIntegerv(GL_MAJOR_VERSION, &major);
  glGetIntegerv(GL_MINOR_VERSION, &minor);
  // A context older than 3.0 knows neither query.
  if (glGetError() != GL_NO_ERROR) return 0;
  return major * 10 + minor;
}

bool hasExtension(const char* name) {
  GLint n = 0;
  glGetIntegerv(GL_NUM_EXTENSIONS, &n);
  for (GLint i = 0; i < n; ++i) {
    const auto* e =
        reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, static_cast<GLuint>(i)));
    if (e && std::strcmp(e, name) == 0) return true;
  }
  return false;
}

// Mesa keeps a window's rows from the top and draws into it with y turned over; a
// framebuffer object drawn with the clip origin at the upper left is laid out and rasterised
// the same way, so that a frame comes out of both alike to the bit. Where the origin cannot be
// moved, the frame is drawn as framebuffer objects are, which may differ along edges.
bool canDrawTopFirst() {
  return glVersion() >= 45 || hasExtension("GL_ARB_clip_control");
}

// A framebuffer object with a colour and a depth renderbuffer, bound for drawing and reading
// while it lives; the window's own framebuffer is bound again when it goes.
class Target {
 public:
  Target(GLenum depthFormat, int width, int height, bool topFirst) : topFirst_(topFirst) {
    glGenFramebuffers(1, &fbo_);
    glGenRenderbuffers(2, buffers_);
    glBindRenderbuffer(GL_RENDERBUFFER, buffers_[0]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, buffers_[1]);
    glRenderbufferStorage(GL_RENDERBUFFER, depthFormat, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, buffers_[0]);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, buffers_[1]);
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    if (topFirst_) glClipControl(GL_UPPER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
  }
  ~Target() {
    if (topFirst_) glClipControl(GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDrawBuffer(GL_BACK);
    glReadBuffer(GL_BACK);
    glDeleteRenderbuffers(2, buffers_);
    glDeleteFramebuffers(1, &fbo_);
  }
  Target(const Target&) = delete;
  Target& operator=(const Target&) = delete;

  // Whether it can be drawn into, its depth buffer storing `format` as asked; why not where not.
  Outcome<> ready(facts::DepthFormat format) const {
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
      char line[80];
      std::snprintf(line, sizeof line, "the framebuffer object is incomplete (status 0x%04x)",
                    status);
      return Failure{line};
    }
    // Integers of their bits, or floats of 32.
    const int bits = facts::integerBits(format) != 0 ? facts::integerBits(format) : 32;
    GLint stored = 0, type = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &stored);
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_COMPONENT_TYPE, &type);
    const GLint expectedType = facts::integerBits(format) != 0 ? GL_UNSIGNED_NORMALIZED : GL_FLOAT;
    if (stored != bits || type != expectedType) {
      return Failure{"the depth renderbuffer stores " + std::to_string(stored) + "-bit " +
                     (type == GL_FLOAT ? "floats" : "integers") + ", not what was asked"};
    }
    return Done{};
  }

 private:
  bool topFirst_;
  GLuint fbo_ = 0;
  GLuint buffers_[2] = {0, 0};
};

// Rows read from a frame drawn top first, turned back to run from the top.
void turnOver(Frame& f) {
  const int w = f.colour.width, h = f.colour.height;
  const auto row = [w](auto& v, int y, std::size_t per) {
    return v.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(y * w) * per);
  };
  for (int y = 0; y < h / 2; ++y) {
    std::swap_ranges(row(f.colour.rgb, y, 3), row(f.colour.rgb, y + 1, 3),
                     row(f.colour.rgb, h - 1 - y, 3));
    std::swap_ranges(row(f.depth.z, y, 1), row(f.depth.z, y + 1, 1), row(f.depth.z, h - 1 - y, 1));
  }
}

}  // namespace

Outcome<Frame> drawOffscreen(facts::Planes planes, facts::DepthFormat format, int width,
                             int height) {
  if (glVersion() < 30) {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return Failure{std::string("OpenGL ") + (version ? version : "?") +
                   " has no framebuffer objects (3.0 has them) for frames off the screen"};
  }
  const bool topFirst = canDrawTopFirst();
  GLint viewport[4] = {0, 0, 0, 0};
  glGetIntegerv(GL_VIEWPORT, viewport);
  Frame f;
  Outcome<> drawn = Done{};
  {
    Target target(internalFormat(format), width, height, topFirst);
    drawn = target.ready(format);
    if (drawn) {
      substitutePlanes(planes);
      reshape(width, height);
      beforeSwap([&f, width, height] {
        f.colour = readColour(width, height);
        f.depth = readDepthAsFloats(width, height);
      });
      display();
      beforeSwap(nullptr);
      substitutePlanes(std::nullopt);
    }
  }
  reshape(viewport[2], viewport[3]);
  if (!drawn) return Failure{drawn.why()};
  if (f.colour.empty()) return Failure{"the viewer's display() never swapped its frame"};
  if (topFirst) turnOver(f);
  // Read back from the matrix, in single precision, the far plane of a near plane 10^6 times
  // closer is off by a percent; these are the planes the frame was drawn with.
  f.depth.zNear = planes.zNear;
  f.depth.zFar = planes.zFar;
  return f;
}

}  // namespace zbv
