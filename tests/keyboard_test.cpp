// SPDX-License-Identifier: MIT
// The keyboard callback on a real GL context: the state it leaves, and the pictures.
#include <gtest/gtest.h>

#include <array>

#include "glut.h"
#include "scene_probes.h"
#include "viewer.h"

namespace zbv::test {
namespace {

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
  EXPECT_EQ(glErrors(), "");
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

TEST_F(Keyboard, KeysSwitchWhatThePictureShows) {
  const Image startUp = drawFrame();
  expectLitScene(startUp, kWhite);

  keyboard('2', 0, 0);
  keyboard('4', 0, 0);
  expectLaterTeapotsOnTop(drawFrame());
  keyboard('1', 0, 0);
  expectFlatScene(drawFrame());
  keyboard('3', 0, 0);
  EXPECT_EQ(imageDistance(drawFrame(), startUp), 0) << "1 and 3 bring back the start-up picture";

  const struct {
    unsigned char key;
    Colour light;
  } lights[] = {{'5', kYellow}, {'6', kCyan}, {'7', kWhite}};
  for (const auto& l : lights) {
    SCOPED_TRACE(::testing::Message() << "key " << l.key);
    keyboard(l.key, 0, 0);
    expectLitScene(drawFrame(), l.light);
  }
  EXPECT_EQ(glErrors(), "");
}

// Choosing a light while lighting is off changes nothing visible until lighting returns.
TEST_F(Keyboard, LightChosenWhileUnlitShowsOnlyOnceLightingIsBack) {
  keyboard('4', 0, 0);
  keyboard('5', 0, 0);
  expectFlatScene(drawFrame());
  keyboard('3', 0, 0);
  expectLitScene(drawFrame(), kYellow);
}

}  // namespace
}  // namespace zbv::test
