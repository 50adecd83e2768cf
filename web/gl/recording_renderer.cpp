// SPDX-License-Identifier: MIT
#include "gl/recording_renderer.h"

namespace zbv::web::gl {

namespace {

using Kind = RecordedCall::Kind;

std::vector<RecordedCall>& calls() {
  static std::vector<RecordedCall> c;
  return c;
}

void keep(Kind kind, unsigned code, float a = 0, float b = 0, float c = 0, float d = 0) {
  calls().push_back({kind, code, {a, b, c, d}, {}, 0});
}

const Renderer recorder{
    [](float red, float green, float blue, float alpha) {
      keep(Kind::clearColour, 0, red, green, blue, alpha);
    },
    [](unsigned mask) { keep(Kind::clear, mask); },
    [](unsigned cap, int on) { keep(Kind::capability, cap, static_cast<float>(on)); },
    [](unsigned mode) { keep(Kind::cullFace, mode); },
    [](unsigned mode) { keep(Kind::frontFace, mode); },
    [](int x, int y, int width, int height) {
      keep(Kind::viewport, 0, static_cast<float>(x), static_cast<float>(y),
           static_cast<float>(width), static_cast<float>(height));
    },
    [](unsigned mode, const float* vertices, int count) {
      keep(Kind::draw, mode);
      calls().back().vertices.assign(vertices, vertices + count * kVertexFloats);
      calls().back().count = count;
    },
};

}  // namespace

const Renderer& recordingRenderer() {
  return recorder;
}

const std::vector<RecordedCall>& recordedCalls() {
  return calls();
}

void forgetRecordedCalls() {
  calls().clear();
}

int recordedSinceClear(Kind kind) {
  int n = 0;
  for (auto it = calls().rbegin(); it != calls().rend() && it->kind != Kind::clear; ++it)
    n += it->kind == kind ? 1 : 0;
  return n;
}

}  // namespace zbv::web::gl
