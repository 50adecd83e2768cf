// SPDX-License-Identifier: MIT
// Frame cost of the viewer on a real window, each measured from the start-up state through
// glFinish after the swap: the full frame, an empty frame (clear and swap: the floor of what
// any frame costs on this window), and a key press through to its finished frame (the full
// frame plus the key's callback).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "gl_window.h"
#include "glut.h"
#include "scene_facts.h"
#include "viewer.h"

namespace {

bool sizeWindow(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  if (const auto sized = zbv::resizeWindow(w, h); !sized) {
    state.SkipWithError(sized.why().c_str());
    return false;
  }
  reshape(w, h);
  display();
  glFinish();
  return true;
}

void framesPerSecond(benchmark::State& state) {
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void FullFrame(benchmark::State& state) {
  if (!sizeWindow(state)) return;
  for (auto _ : state) {
    display();
    glFinish();
  }
  framesPerSecond(state);
}

void EmptyFrame(benchmark::State& state) {
  if (!sizeWindow(state)) return;
  for (auto _ : state) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
    glFinish();
  }
  framesPerSecond(state);
}

// Key 7 sets the start-up state again (keys set state, they never toggle it), so the frame
// draws exactly what the full frame draws: this costs the full frame and the key's callback.
// Keys that switch the depth test, lighting or the light draw other, cheaper or dearer frames.
void KeyToFrame(benchmark::State& state) {
  if (!sizeWindow(state)) return;
  for (auto _ : state) {
    keyboard('7', 0, 0);
    display();
    glFinish();
  }
  framesPerSecond(state);
}

void sizes(benchmark::internal::Benchmark* b) {
  b->Args({zbv::facts::kWidth, zbv::facts::kHeight})->Args({1920, 1080})->ArgNames({"w", "h"});
  b->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(FullFrame)->Apply(sizes);
BENCHMARK(EmptyFrame)->Apply(sizes);
BENCHMARK(KeyToFrame)->Apply(sizes);

}  // namespace

int main(int argc, char** argv) {
  if (const auto opened = zbv::openViewerWindow(); !opened) {
    std::fprintf(stderr, "frame_bench: %s\n", opened.why().c_str());
    return 1;
  }
  benchmark::AddCustomContext("GL_RENDERER",
                              reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
  const char* threads = std::getenv("LP_NUM_THREADS");
  benchmark::AddCustomContext(
      "LP_NUM_THREADS", threads ? threads
                                : "unset (llvmpipe runs one thread per core: " +
                                      std::to_string(std::thread::hardware_concurrency()) + ")");
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
