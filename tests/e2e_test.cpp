// The real zbuffer-viewer as a person meets it: started by its path, its window found on the
// X server, real key presses and resizes sent to it, and its window read back.
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gl_window.h"
#include "scene_probes.h"
#include "xdrive.h"

namespace zbv::test {
namespace {

const std::string kViewer = ZBV_VIEWER;            // absolute path of the executable
const std::string kViewerDir = ZBV_VIEWER_DIR;     // the folder it is in
const std::string kRelative = "./zbuffer-viewer";  // the same, from that folder

class Viewer : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!x_.ok()) {
      const std::string why = "needs an X display (run through scripts/with-xvfb or `make test`)";
      if (onCi()) GTEST_FAIL() << why;
      GTEST_SKIP() << why;
    }
  }
  void TearDown() override {
    if (session_) {
      EXPECT_TRUE(session_->process().running()) << "the viewer ended while in use";
      const std::string out = session_->process().output();
      session_->process().stop();
      EXPECT_EQ(out, "") << "the viewer wrote to its console";
    }
  }
  // Starts the viewer as given and waits for its first picture.
  Session& start(const std::string& argv0 = kViewer, const std::string& cwd = "") {
    session_ = std::make_unique<Session>(x_);
    if (!session_->open(kViewer, {argv0}, argv0, true, cwd)) ADD_FAILURE() << session_->why();
    return *session_;
  }
  // Presses a key and returns the frame drawn in answer.
  Image press(char key) {
    const Image im = session_->pressAndWait(keysymFor(key));
    EXPECT_FALSE(im.empty()) << "no frame came after key " << key;
    return im;
  }

  XClient x_;
  std::unique_ptr<Session> session_;
};

TEST_F(Viewer, TitleIsTheInvocationPath) {
  for (const std::string& path : {kViewer, kRelative}) {
    SCOPED_TRACE(path);
    Session& s = start(path, kViewerDir);
    if (s.window() == 0) return;
    EXPECT_EQ(x_.name(s.window()), path);
    int w = 0, h = 0;
    EXPECT_TRUE(x_.size(s.window(), &w, &h));
    EXPECT_EQ(w, 300);
    EXPECT_EQ(h, 300);
    TearDown();
  }
  session_.reset();
}

TEST_F(Viewer, KeysSwitchDepthTestLightingAndLights) {
  Session& s = start();
  if (s.window() == 0) return;
  const Image startUp = s.settled();
  expectLitScene(startUp, kWhite);

  // Depth test off: the red teapot paints over the grey one in front of it.
  const Rgb over = at(press('2'), kTeapot1Over2);
  EXPECT_GT(over.r, over.g + 100);
  EXPECT_NEAR(over.g, over.b, kTolerance);
  EXPECT_EQ(imageDistance(press('1'), startUp), 0) << "2 then 1 brings back the start-up picture";

  expectFlatScene(press('4'));
  expectLaterTeapotsOnTop(press('2'));
  expectFlatScene(press('1'));
  EXPECT_EQ(imageDistance(press('3'), startUp), 0);

  expectLitScene(press('5'), kYellow);
  expectLitScene(press('6'), kCyan);
  EXPECT_EQ(imageDistance(press('7'), startUp), 0);
}

TEST_F(Viewer, OtherKeysRedrawButChangeNothingAndNoneQuits) {
  Session& s = start();
  if (s.window() == 0) return;
  const Image startUp = s.settled();
  // Each character key brings a frame, and it is the same picture.
  for (unsigned long k :
       {keysymFor('x'), keysymFor('q'), keysymFor('Q'), keysymFor('0'), keysymFor('8'),
        keysymFor('9'), keysymFor(' '), keysymFor('!'), keysymFor('.'),
        static_cast<unsigned long>(XK_Escape), static_cast<unsigned long>(XK_Return),
        static_cast<unsigned long>(XK_Tab), static_cast<unsigned long>(XK_BackSpace),
        static_cast<unsigned long>(XK_Delete)}) {
    const Image im = s.pressAndWait(k);
    ASSERT_FALSE(im.empty()) << "no frame after keysym " << k;
    EXPECT_EQ(imageDistance(im, startUp), 0) << "keysym " << k;
  }
  // Keys that make no character do not reach the viewer at all.
  for (unsigned long k : {XK_F1, XK_Left, XK_Shift_L}) s.press(k);
  // Keys are handled in order: once 4's effect shows, all of the above have been handled.
  expectFlatScene(press('4'));
  EXPECT_EQ(imageDistance(press('3'), startUp), 0);
  EXPECT_TRUE(s.process().running());
}

TEST_F(Viewer, ResizingKeepsTheTeapotsProportions) {
  Session& s = start();
  if (s.window() == 0) return;
  const Image startUp = s.settled();
  const int square = frontTeapotWidth(startUp);
  EXPECT_GT(square, 100);

  const Image wide = s.resizeAndWait(400, 300);
  ASSERT_EQ(wide.width, 400);
  EXPECT_NEAR(frontTeapotWidth(wide), square, 2);
  const Image low = s.resizeAndWait(300, 200);
  ASSERT_EQ(low.height, 200);
  EXPECT_NEAR(frontTeapotWidth(low) * 3.0 / 2.0, square, 3);
  EXPECT_EQ(imageDistance(s.resizeAndWait(300, 300), startUp), 0);
}

}  // namespace
}  // namespace zbv::test
