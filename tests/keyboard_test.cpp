// SPDX-License-Identifier: MIT
// The keyboard callback on a real GL context: the state it leaves, and the pictures.
#include <gtest/gtest.h>

#include <array>
#include <iterator>

#include "glut.h"
#include "in_window.h"
#include "landmarks.h"
#include "viewer.h"

namespace zbv::test {
namespace {

using namespace facts;

class Keyboard : public InWindow {};

// The capabilities the keys switch (lights 1 to 3 are facts::kLights in order), and light 0,
// which nothing may touch.
constexpr std::array<GLenum, 6> kSwitches = {GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT1,
                                             GL_LIGHT2,     GL_LIGHT3,   GL_LIGHT0};
using State = std::array<bool, kSwitches.size()>;

State current() {
  State s{};
  for (std::size_t i = 0; i < kSwitches.size(); ++i) s[i] = glIsEnabled(kSwitches[i]) == GL_TRUE;
  return s;
}

void apply(const State& s) {
  for (std::size_t i = 0; i < kSwitches.size(); ++i)
    s[i] ? glEnable(kSwitches[i]) : glDisable(kSwitches[i]);
}

// What each key must leave, whatever was on before: keys set state, never toggle it.
State expectedAfter(unsigned char key, State s) {
  enum { kDepth, kLighting, kLight1 };
  const Key k = keyEffect(static_cast<char>(key));
  if (k.depthTest >= 0) s[kDepth] = k.depthTest == 1;
  if (k.lighting >= 0) s[kLighting] = k.lighting == 1;
  if (k.light >= 0) {
    for (std::size_t l = 0; l < std::size(kLights); ++l)
      s[kLight1 + l] = static_cast<int>(l) == k.light;
  }
  return s;
}

TEST_F(Keyboard, EveryByteLeavesExactlyTheStateItNames) {
  // Every combination of the five switches before the key (light 0 stays off throughout).
  for (unsigned before = 0; before < 32; ++before) {
    State start{};
    for (std::size_t i = 0; i < 5; ++i) start[i] = (before >> i) & 1U;
    for (int key = 0; key < 256; ++key) {
      apply(start);
      keyboard(static_cast<unsigned char>(key), 17, 42);
      ASSERT_EQ(current(), expectedAfter(static_cast<unsigned char>(key), start))
          << "key " << key << " from state " << before;
    }
  }
}

TEST_F(Keyboard, EveryKeyAsksForOneRedraw) {
  int seen = redrawsDone();
  for (int key = 0; key < 256; ++key) {
    keyboard(static_cast<unsigned char>(key), 0, 0);
    const int now = redrawsDone();
    ASSERT_EQ(now, seen + 1) << "key " << key;
    seen = now;
  }
}

// The gallery's tour, each stop against the scene in the state its key leaves.
TEST_F(Keyboard, KeysSwitchWhatThePictureShows) {
  const Image startUp = frame();
  View view;
  EXPECT_TRUE(showsScene(startUp, view));
  for (const Stop& stop : kTour) {
    if (!stop.key) continue;
    SCOPED_TRACE(::testing::Message() << "key " << stop.key);
    keyboard(static_cast<unsigned char>(stop.key), 0, 0);
    view = afterKey(view, stop.key);
    const Image f = frame();
    EXPECT_TRUE(showsScene(f, view));
    const bool white = view.light.r == 1 && view.light.g == 1 && view.light.b == 1;
    if (view.depthTest && view.lighting && white) {
      EXPECT_TRUE(identical(f, startUp)) << "the start-up state again, the start-up picture";
    }
  }
}

// Choosing a light while lighting is off changes nothing visible until lighting returns.
TEST_F(Keyboard, LightChosenWhileUnlitShowsOnlyOnceLightingIsBack) {
  keyboard('4', 0, 0);
  const Image unlit = frame();
  keyboard('5', 0, 0);
  EXPECT_TRUE(identical(frame(), unlit));
  keyboard('3', 0, 0);
  View yellow;
  yellow.light = kYellow;
  EXPECT_TRUE(showsScene(frame(), yellow));
}

}  // namespace
}  // namespace zbv::test
