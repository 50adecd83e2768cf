// SPDX-License-Identifier: MIT
// The real zbuffer-viewer as a person meets it: started by its path, its window found on the
// X server, real key presses and resizes sent to it, and its window read back.
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "icon.h"
#include "scene_probes.h"
#include "session.h"
#include "tour.h"

namespace zbv::test {
namespace {

const std::string kViewer = ZBV_VIEWER;            // absolute path of the executable
const std::string kViewerDir = ZBV_VIEWER_DIR;     // the folder it is in
const std::string kRelative = "./zbuffer-viewer";  // the same, from that folder

// With ZBV_WINDOWS_EXE naming the Windows build, the tests that apply to it run that .exe
// under Wine instead (`make test-windows`).
const char* const kWindowsExe = std::getenv("ZBV_WINDOWS_EXE");

// The path as a Windows program under Wine sees it: drive Z: is the Unix root.
std::string windowsPath(std::string path) {
  for (char& c : path) c = c == '/' ? '\\' : c;
  return "Z:" + path;
}

class Viewer : public ::testing::Test {
 protected:
  void SetUp() override {
    ZBV_STOP_IF(x_.unusable());
    ZBV_STOP_IF(x_.unwatchable());
  }
  void TearDown() override {
    if (session_ && session_->window() != 0) {
      EXPECT_TRUE(session_->process().running()) << "the viewer ended while in use";
      const std::string out = session_->process().output();
      session_->process().stop();
      // Under Wine the console also carries Wine's and freeglut's notes on Wine itself.
      if (!kWindowsExe) {
        EXPECT_EQ(out, "") << "the viewer wrote to its console";
      }
    }
  }
  // Starts the viewer by the given path, with more arguments, and waits for its picture.
  Session& start(const std::string& path = kViewer, const std::string& cwd = "",
                 std::vector<std::string> args = {}) {
    session_ = std::make_unique<Session>(x_);
    Session::Options o;
    if (kWindowsExe) {
      // Found by the .exe's name; its title is the Windows form of its path.
      o = {"/usr/bin/wine", {"wine", kWindowsExe}};
      o.titlePart = "zbuffer-viewer.exe";
      o.seconds = 60;
    } else {
      args.insert(args.begin(), path);
      o = {path[0] == '/' ? path : kViewer, args};
    }
    o.cwd = cwd;
    if (const std::string why = session_->open(o); !why.empty()) ADD_FAILURE() << why;
    if (kWindowsExe && session_->window() != 0) {
      EXPECT_EQ(x_.name(session_->window()), windowsPath(kWindowsExe));
    }
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

// The gallery's tour, each stop checked: 2 1 4 2 1 3 5 6 7 after the start-up picture.
TEST_F(Viewer, KeysSwitchDepthTestLightingAndLights) {
  Session& s = start();
  if (s.window() == 0) return;
  std::vector<Image> tour;
  ASSERT_EQ(takeTour(s, &tour), "");
  const Image& startUp = tour[0];
  expectLitScene(startUp, kWhite);
  // Depth test off: the red teapot paints over the grey one in front of it.
  const Rgb over = at(tour[1], kTeapot1Over2);
  EXPECT_GT(over.r, over.g + 100);
  EXPECT_NEAR(over.g, over.b, kTolerance);
  EXPECT_EQ(imageDistance(tour[2], startUp), 0) << "2 then 1 brings back the start-up picture";
  expectFlatScene(tour[3]);
  // Unlit, without the depth test: the teapots drawn later cover the earlier ones.
  expectLaterTeapotsOnTop(tour[4]);
  EXPECT_EQ(imageDistance(tour[5], tour[3]), 0) << "unlit, 2 then 1 brings back the flat picture";
  EXPECT_EQ(imageDistance(tour[6], startUp), 0);
  expectLitScene(tour[7], kYellow);
  expectLitScene(tour[8], kCyan);
  EXPECT_EQ(imageDistance(tour[9], startUp), 0);
}

// The README's pictures are what the program draws today, whatever renderer drew them:
// alike wherever the picture is smooth, with at most one pixel in a thousand off on edges.
TEST_F(Viewer, DocumentedStripMatchesThePicturesOfTheTour) {
  Image documented;
  ASSERT_TRUE(loadPng(ZBV_SOURCE_DIR "/docs/images/gallery-strip.png", &documented));
  Session& s = start();
  if (s.window() == 0) return;
  std::vector<Image> tour;
  ASSERT_EQ(takeTour(s, &tour), "");
  const Image strip = makeStrip(tour);
  expectLitScene(tour[0], kWhite);
  EXPECT_TRUE(alikeAcrossRenderers(strip, documented))
      << "docs/images/gallery-strip.png is stale: `make gallery` draws it anew";
}

// The icons in docs/icons are the start-up picture the program draws today.
TEST_F(Viewer, DocumentedIconsAreTheStartUpPicture) {
  Session& s = start();
  if (s.window() == 0) return;
  const Image startUp = s.settled();
  for (int size : kIconSizes) {
    const std::string file = ZBV_SOURCE_DIR "/docs/icons/" + iconFile(size);
    Image documented;
    ASSERT_TRUE(loadPng(file, &documented)) << file;
    EXPECT_TRUE(alikeAcrossRenderers(makeIcon(startUp, size), documented))
        << file << " is stale: `make icons` draws it anew";
  }
}

TEST_F(Viewer, OtherKeysRedrawButChangeNothingAndNoneQuits) {
  Session& s = start();
  if (s.window() == 0) return;
  const Image startUp = s.settled();
  expectLitScene(startUp, kWhite);
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

// The start-up picture, as the viewer draws it on a window of its default size.
void expectStartUp(const Image& im) {
  expectLitScene(im, kWhite);
  EXPECT_GT(frontTeapotWidth(im), 100);
}

TEST_F(Viewer, GlutsOwnOptionsPassThroughAndOthersAreIgnored) {
  const std::vector<std::vector<std::string>> runs = {
      {"-iconic"}, {"-sync"}, {"-direct"}, {"--unknown", "value", "-zz", "+x", "1"}};
  for (const auto& args : runs) {
    SCOPED_TRACE(args[0]);
    Session& s = start(kViewer, "", args);
    if (s.window() == 0) continue;
    // A window manager keeps an iconic window off the screen; without one it is shown.
    if (args[0] == "-iconic" && x_.windowManager())
      EXPECT_TRUE(x_.iconic(s.window())) << "a window manager runs, and the window is not iconic";
    else
      expectStartUp(s.settled());
    TearDown();
  }
  // -geometry sizes the window; the picture scales with its height.
  Session& s = start(kViewer, "", {"-geometry", "640x480+0+0"});
  if (s.window() == 0) return;
  const Image big = s.settled();
  EXPECT_EQ(big.width, 640);
  EXPECT_EQ(big.height, 480);
  const Image square = s.resizeAndWait(300, 300);
  EXPECT_NEAR(frontTeapotWidth(big), frontTeapotWidth(square) * 480 / 300.0, 3);
}

// With -gldebug GLUT reports every GL error after each pass of its loop: it must say nothing.
TEST_F(Viewer, NoGlErrorUnderGlDebugThroughEveryKeyAndResize) {
  Session& s = start(kViewer, "", {"-gldebug"});
  if (s.window() == 0) return;
  for (char k : std::string("2143567x7")) s.pressAndWait(keysymFor(k));
  for (auto [w, h] : {std::pair{400, 300}, {1, 1}, {300, 200}, {300, 300}}) {
    s.resizeAndWait(w, h);
  }
  expectStartUp(s.settled());
  // TearDown checks that nothing was written.
}

TEST_F(Viewer, LongAndNonAsciiPathsAreTheTitleByteForByte) {
  namespace fs = std::filesystem;
  const fs::path root = fs::temp_directory_path() / ("zbv-paths-" + std::to_string(getpid()));
  fs::create_directories(root);
  // 4000 bytes in all, in directories of 200-byte names.
  std::string longPath = root.string();
  while (longPath.size() + 201 + 20 < 4000) longPath += "/" + std::string(200, 'd');
  fs::create_directories(longPath);
  longPath += "/";
  longPath += std::string(4000 - longPath.size() - 3, 'v') + "-zb";
  ASSERT_EQ(longPath.size(), 4000u);
  const std::string oddPath = (root / "t\xc3\xa9\xe2\x82\xac\xff\x01 \"v\"").string();
  for (const std::string& path : {longPath, oddPath}) {
    fs::create_symlink(kViewer, path);
    Session& s = start(path);
    if (s.window() != 0) {
      EXPECT_EQ(x_.name(s.window()), path) << "title of " << path.size() << " bytes";
      expectStartUp(s.settled());
    }
    TearDown();
  }
  session_.reset();
  fs::remove_all(root);
}

TEST_F(Viewer, KeyAndResizeStormsLeaveItRunningAndKeysRestoreThePicture) {
  Session& s = start();
  if (s.window() == 0) return;
  const Image startUp = s.settled();
  expectStartUp(startUp);
  for (int round = 0; round < 3; ++round) {
    for (char c = ' '; c <= '~'; ++c) s.press(keysymFor(c));
    for (unsigned long k : {XK_Escape, XK_Return, XK_Tab, XK_BackSpace, XK_Delete}) s.press(k);
  }
  for (auto [w, h] : {std::pair{1, 1}, {3000, 40}, {40, 2000}, {1, 600}, {600, 1}}) {
    x_.resize(s.window(), w, h);
  }
  EXPECT_FALSE(s.resizeAndWait(300, 300).empty());
  for (char k : {'1', '3', '7'}) s.pressAndWait(keysymFor(k));
  EXPECT_EQ(imageDistance(s.settled(), startUp), 0);
}

TEST_F(Viewer, ClosingTheWindowEndsItAndNothingIsWritten) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("zbv-cwd-" + std::to_string(getpid()));
  fs::create_directories(dir);
  Session& s = start(kViewer, dir.string());
  if (s.window() != 0) {
    x_.close(s.window());
    ASSERT_TRUE(s.process().waitExit(10)) << "still running after its window was closed";
    EXPECT_TRUE(WIFEXITED(s.process().exitStatus()) && WEXITSTATUS(s.process().exitStatus()) == 0)
        << s.process().exitStatus();
    EXPECT_EQ(s.process().output(), "");
    EXPECT_TRUE(fs::is_empty(dir)) << "it left files in its working directory";
  }
  session_.reset();
  fs::remove_all(dir);
}

// The GNU directories under the prefix get the program and what a desktop needs to list it.
TEST_F(Viewer, InstallsTheProgramWithItsDesktopFilesAndTheCopyRuns) {
  namespace fs = std::filesystem;
  const fs::path prefix = fs::temp_directory_path() / ("zbv-prefix-" + std::to_string(getpid()));
  const std::string install = std::string("'") + ZBV_CMAKE + "' --install '" + ZBV_BUILD_DIR +
                              "' --prefix '" + prefix.string() + "' >/dev/null";
  ASSERT_EQ(std::system(install.c_str()), 0) << install;
  std::vector<std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(prefix))
    if (!e.is_directory()) files.push_back(fs::relative(e.path(), prefix).string());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{
                       "bin/zbuffer-viewer",
                       "share/applications/zbuffer-viewer.desktop",
                       "share/doc/zbuffer-viewer/changelog.gz",
                       "share/doc/zbuffer-viewer/copyright",
                       "share/icons/hicolor/128x128/apps/zbuffer-viewer.png",
                       "share/icons/hicolor/256x256/apps/zbuffer-viewer.png",
                       "share/icons/hicolor/48x48/apps/zbuffer-viewer.png",
                       "share/man/man1/zbuffer-viewer.1.gz",
                       "share/metainfo/zbuffer-viewer.metainfo.xml",
                   }));
  // The desktop entry starts the installed program and shows the installed icon.
  std::ifstream entry(prefix / "share/applications/zbuffer-viewer.desktop");
  std::string line, exec, icon;
  while (std::getline(entry, line)) {
    if (line.rfind("Exec=", 0) == 0) exec = line.substr(5);
    if (line.rfind("Icon=", 0) == 0) icon = line.substr(5);
  }
  EXPECT_TRUE(fs::is_regular_file(prefix / "bin" / exec)) << "Exec=" << exec;
  EXPECT_TRUE(fs::is_regular_file(prefix / "share/icons/hicolor/48x48/apps" / (icon + ".png")))
      << "Icon=" << icon;
  Session& s = start((prefix / "bin/zbuffer-viewer").string());
  if (s.window() != 0) expectLitScene(s.settled(), kWhite);
  TearDown();
  session_.reset();
  fs::remove_all(prefix);
}

// Without an X server GLUT ends the program at once, saying why.
TEST(NoDisplay, EndsWithAnErrorThatSaysSo) {
  const struct {
    std::vector<std::string> args, env;
  } runs[] = {{{kViewer}, {"DISPLAY"}}, {{kViewer, "-display", ":987"}, {}}};
  for (const auto& run : runs) {
    Process p;
    ASSERT_EQ(p.start(kViewer, run.args, "", run.env), "");
    ASSERT_TRUE(p.waitExit(10)) << "still running without a display";
    EXPECT_TRUE(WIFEXITED(p.exitStatus()) && WEXITSTATUS(p.exitStatus()) != 0) << p.exitStatus();
    EXPECT_NE(p.output().find("failed to open display"), std::string::npos) << p.output();
  }
}

}  // namespace
}  // namespace zbv::test
