// SPDX-License-Identifier: MIT
// The keyboard callback on a real GL context: the state it leaves, and the pictures.
#include <gtest/gtest.h>

#include <array>

#include "glut.h"
#include "in_window.h"
#include "probes.h"
#include "viewer.h"

namespace zbv::test {
namespace {

using namespace facts;

class Keyboard : public InWindow {};

// The capabilities the keys switch, and light 0, which nothing may touch.
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
  enum { kDepth, kLighting, kLight1, kLight2, kLight3 };
  // 1 and 2 the depth test on and off, 3 and 4 lighting, 5 to 7 the only light of 1 to 3.
  if (key == '1' || key == '2') s[kDepth] = key == '1';
  if (key == '3' || key == '4') s[kLighting] = key == '3';
  if (key >= '5' && key <= '7') {
    for (int l : {kLight1, kLight2, kLight3}) s[l] = l == kLight1 + key - '5';
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
