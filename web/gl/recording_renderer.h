// SPDX-License-Identifier: MIT
// A renderer that draws nothing and keeps every call it is given, in order: the GL layer's
// renderer where there is no browser (natively, in tests).
#ifndef WEB_GL_RECORDING_RENDERER_H
#define WEB_GL_RECORDING_RENDERER_H

#include <vector>

#include "gl/renderer.h"

namespace zbv::web::gl {

struct RecordedCall {
  enum class Kind { clearColour, clear, capability, cullFace, frontFace, viewport, draw };
  Kind kind;
  unsigned code = 0;               // the mask, capability, face or mode
  float values[4] = {0, 0, 0, 0};  // the clear colour; the viewport; 1 or 0 for on or off
  std::vector<float> vertices;     // of a draw: count x kVertexFloats
  int count = 0;
};

const Renderer& recordingRenderer();

// The calls the recording renderer was given since the last forget, in order.
const std::vector<RecordedCall>& recordedCalls();
void forgetRecordedCalls();
// How many calls of this kind came after the last clear (all of them when there was none).
int recordedSinceClear(RecordedCall::Kind kind);

}  // namespace zbv::web::gl

#endif  // WEB_GL_RECORDING_RENDERER_H
