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
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "icon.h"
#include "landmarks.h"
#include "session.h"
#include "stop.h"
#include "tour.h"

namespace zbv::test {
namespace {

using namespace facts;
namespace fs = std::filesystem;

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

// A folder of this test's own under /tmp, removed with everything in it when the test ends.
class ScratchDir {
 public:
  explicit ScratchDir(const std::string& name)
      : path_(fs::temp_directory_path() / (name + "-" + std::to_string(getpid()))) {
    fs::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

class Viewer : public ::testing::Test {
 protected:
  void SetUp() override {
    ZBV_STOP_UNLESS(x_.connected());
    ZBV_STOP_UNLESS(x_.watchable());
    ZBV_STOP_UNLESS(x_.trueColour());
  }
  // The viewer must still run, and must have written nothing, when the test is done with it.
  void TearDown() override {
    if (!session_ || session_->window() == 0) return;
    EXPECT_TRUE(session_->process().running()) << "the viewer ended while in use";
    const std::string out = session_->process().output();
    session_->process().stop();
    // Under Wine the console also carries Wine's and freeglut's notes on Wine itself.
    if (!kWindowsExe) {
      EXPECT_EQ(out, "") << "the viewer wrote to its console";
    }
  }
  // Starts the viewer by the given path, with more arguments, and waits for its picture;
  // false (the failure reported) when it did not come.
  bool start(const std::string& path = kViewer, const std::string& cwd = "",
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
    const auto opened = session_->open(o);
    EXPECT_TRUE(worked(opened));
    if (kWindowsExe && opened) {
      EXPECT_EQ(x_.name(session_->window()), windowsPath(kWindowsExe));
    }
    return opened.ok();
  }
  Session& s() { return *session_; }
  // The picture once the window is quiet; an empty one (the failure reported) if it never is.
  Image settled() { return valueOr(session_->settled()); }
  // Presses a key and returns the frame drawn in answer.
  Image press(unsigned long keysym) { return valueOr(session_->pressAndWait(keysym)); }
  Image resize(int width, int height) { return valueOr(session_->resizeAndWait(width, height)); }

  // A folder for this test alone, removed once the viewer has ended.
  const fs::path& scratch(const std::string& name) { return scratch_.emplace(name).path(); }

  std::optional<ScratchDir> scratch_;  // goes last, after the session
  XClient x_;
  std::unique_ptr<Session> session_;
};

// A window of the default size showing the start-up picture.
void expectStartUp(const Image& im) {
  EXPECT_TRUE(showsScene(im, View{}));
}

// Started by an absolute or a relative path, the window is titled with that path.
class Title : public Viewer, public ::testing::WithParamInterface<std::string> {};

TEST_P(Title, IsTheInvocationPath) {
  if (!start(GetParam(), kViewerDir)) return;
  EXPECT_EQ(x_.name(s().window()), GetParam());
  const auto size = x_.size(s().window());
  ASSERT_TRUE(worked(size));
  EXPECT_EQ(size->width, kWidth);
  EXPECT_EQ(size->height, kHeight);
}
std::string pathKind(const ::testing::TestParamInfo<std::string>& path) {
  return path.param[0] == '/' ? "Absolute" : "Relative";
}
INSTANTIATE_TEST_SUITE_P(Viewer, Title, ::testing::Values(kViewer, kRelative), pathKind);

// The gallery's tour, each stop checked against the scene: 2 1 4 2 1 3 5 6 7 after the
// start-up picture.
TEST_F(Viewer, KeysSwitchDepthTestLightingAndLights) {
  if (!start()) return;
  const auto tour = takeTour(s());
  ASSERT_TRUE(worked(tour));
  View view;
  for (std::size_t k = 0; k < tour->size(); ++k) {
    SCOPED_TRACE(kTour[k].file);
    view = afterKey(view, kTour[k].key);
    EXPECT_TRUE(showsScene((*tour)[k], view));
  }
  // Keys set state: back in a state, the same picture.
  EXPECT_TRUE(identical((*tour)[2], (*tour)[0])) << "2 then 1 brings back the start-up picture";
  EXPECT_TRUE(identical((*tour)[5], (*tour)[3])) << "unlit, 2 then 1 brings back the flat picture";
  EXPECT_TRUE(identical((*tour)[9], (*tour)[0]));
}

// The README's pictures are what the program draws today, whatever renderer drew them.
TEST_F(Viewer, DocumentedStripMatchesThePicturesOfTheTour) {
  if (!start()) return;
  const auto tour = takeTour(s());
  ASSERT_TRUE(worked(tour));
  const auto strip = makeStrip(*tour);
  ASSERT_TRUE(worked(strip));
  EXPECT_TRUE(matchesKept(*strip, ZBV_SOURCE_DIR, "docs/images/gallery-strip.png", "make gallery"));
}

// The icons in docs/icons are the start-up picture the program draws today.
TEST_F(Viewer, DocumentedIconsAreTheStartUpPicture) {
  if (!start()) return;
  const Image startUp = settled();
  for (int size : kIconSizes) {
    const auto icon = makeIcon(startUp, size);
    ASSERT_TRUE(worked(icon)) << size;
    EXPECT_TRUE(matchesKept(*icon, ZBV_SOURCE_DIR, "docs/icons/" + iconFile(size), "make icons"));
  }
}

TEST_F(Viewer, OtherKeysRedrawButChangeNothingAndNoneQuits) {
  if (!start()) return;
  const Image startUp = settled();
  expectStartUp(startUp);
  // Each character key brings a frame, and it is the same picture.
  for (unsigned long k :
       {keysymFor('x'), keysymFor('q'), keysymFor('Q'), keysymFor('0'), keysymFor('8'),
        keysymFor('9'), keysymFor(' '), keysymFor('!'), keysymFor('.'),
        static_cast<unsigned long>(XK_Escape), static_cast<unsigned long>(XK_Return),
        static_cast<unsigned long>(XK_Tab), static_cast<unsigned long>(XK_BackSpace),
        static_cast<unsigned long>(XK_Delete)}) {
    EXPECT_TRUE(identical(press(k), startUp)) << "keysym " << k;
  }
  // Keys that make no character do not reach the viewer at all.
  for (unsigned long k : std::initializer_list<unsigned long>{XK_F1, XK_Left, XK_Shift_L})
    s().press(k);
  // Keys are handled in order: once 4's effect shows, all of the above have been handled.
  View unlit;
  unlit.lighting = false;
  EXPECT_TRUE(showsScene(press(keysymFor('4')), unlit));
  EXPECT_TRUE(identical(press(keysymFor('3')), startUp));
  EXPECT_TRUE(s().process().running());
}

TEST_F(Viewer, ResizingKeepsTheTeapotsProportions) {
  if (!start()) return;
  const Image startUp = settled();
  const int square = frontTeapotWidth(startUp);
  EXPECT_GT(square, 100);
  for (auto [w, h] : {std::pair{400, 300}, {300, 200}}) {
    SCOPED_TRACE(::testing::Message() << w << "x" << h);
    View view;
    view.width = w;
    view.height = h;
    const Image im = resize(w, h);
    EXPECT_TRUE(showsScene(im, view));
    EXPECT_NEAR(frontTeapotWidth(im), square * h / double(kHeight), 3);
  }
  EXPECT_TRUE(identical(resize(kWidth, kHeight), startUp));
}

std::string optionsName(const ::testing::TestParamInfo<std::vector<std::string>>& args) {
  const char* names[] = {"Iconic", "Sync", "Direct", "Unknown"};
  return names[args.index];
}

// GLUT's own options work; others are ignored.
class Options : public Viewer, public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(Options, PassThroughToGlut) {
  const std::vector<std::string>& args = GetParam();
  if (!start(kViewer, "", args)) return;
  // A window manager keeps an iconic window off the screen; without one it is shown.
  if (args[0] == "-iconic" && x_.windowManager())
    EXPECT_TRUE(x_.iconic(s().window())) << "a window manager runs, and the window is not iconic";
  else
    expectStartUp(settled());
}
INSTANTIATE_TEST_SUITE_P(
    Viewer, Options,
    ::testing::Values(std::vector<std::string>{"-iconic"}, std::vector<std::string>{"-sync"},
                      std::vector<std::string>{"-direct"},
                      std::vector<std::string>{"--unknown", "value", "-zz", "+x", "1"}),
    optionsName);

// -geometry sizes the window; the picture scales with its height.
TEST_F(Viewer, GeometrySizesTheWindow) {
  if (!start(kViewer, "", {"-geometry", "640x480+0+0"})) return;
  const Image big = settled();
  View view;
  view.width = 640;
  view.height = 480;
  EXPECT_TRUE(showsScene(big, view));
  EXPECT_NEAR(frontTeapotWidth(big), frontTeapotWidth(resize(kWidth, kHeight)) * 480.0 / kHeight,
              3);
}

// With -gldebug GLUT reports every GL error after each pass of its loop: it must say nothing.
TEST_F(Viewer, NoGlErrorUnderGlDebugThroughEveryKeyAndResize) {
  if (!start(kViewer, "", {"-gldebug"})) return;
  for (char k : std::string("2143567x7")) press(keysymFor(k));
  for (auto [w, h] : {std::pair{400, 300}, {1, 1}, {300, 200}, {kWidth, kHeight}}) resize(w, h);
  expectStartUp(settled());
  // TearDown checks that nothing was written.
}

// A 4000-byte path, and one with bytes of every kind, are the title byte for byte.
class OddPaths : public Viewer, public ::testing::WithParamInterface<bool> {};

TEST_P(OddPaths, AreTheTitleByteForByte) {
  const fs::path& root = scratch("zbv-paths");
  std::string path;
  if (GetParam()) {
    // 4000 bytes in all, in directories of 200-byte names.
    path = root.string();
    while (path.size() + 201 + 20 < 4000) path += "/" + std::string(200, 'd');
    fs::create_directories(path);
    path += "/";
    path += std::string(4000 - path.size() - 3, 'v') + "-zb";
  } else {
    path = (root / "t\xc3\xa9\xe2\x82\xac\xff\x01 \"v\"").string();
  }
  fs::create_symlink(kViewer, path);
  if (start(path)) {
    EXPECT_EQ(x_.name(s().window()), path) << "title of " << path.size() << " bytes";
    expectStartUp(settled());
  }
}
std::string pathName(const ::testing::TestParamInfo<bool>& longPath) {
  return longPath.param ? "Long" : "NonAscii";
}
INSTANTIATE_TEST_SUITE_P(Viewer, OddPaths, ::testing::Values(true, false), pathName);

TEST_F(Viewer, KeyAndResizeStormsLeaveItRunningAndKeysRestoreThePicture) {
  if (!start()) return;
  const Image startUp = settled();
  expectStartUp(startUp);
  for (int round = 0; round < 3; ++round) {
    for (char c = ' '; c <= '~'; ++c) s().press(keysymFor(c));
    for (unsigned long k : std::initializer_list<unsigned long>{XK_Escape, XK_Return, XK_Tab,
                                                                XK_BackSpace, XK_Delete})
      s().press(k);
  }
  for (auto [w, h] : {std::pair{1, 1}, {3000, 40}, {40, 2000}, {1, 600}, {600, 1}}) {
    x_.resize(s().window(), w, h);
  }
  EXPECT_TRUE(worked(s().resizeAndWait(kWidth, kHeight))) << "after the storm";
  for (char k : {'1', '3', '7'}) press(keysymFor(k));
  EXPECT_TRUE(identical(settled(), startUp));
}

TEST_F(Viewer, ClosingTheWindowEndsItAndNothingIsWritten) {
  const fs::path& dir = scratch("zbv-cwd");
  if (!start(kViewer, dir.string())) return;
  x_.close(s().window());
  ASSERT_TRUE(worked(s().process().waitExit(10))) << "after its window was closed";
  EXPECT_TRUE(WIFEXITED(s().process().exitStatus()) && WEXITSTATUS(s().process().exitStatus()) == 0)
      << s().process().exitStatus();
  EXPECT_EQ(s().process().output(), "");
  EXPECT_TRUE(fs::is_empty(dir)) << "it left files in its working directory";
  session_.reset();  // over: it has ended, as it should
}

// What an install must hold, as packaging/linux/installed-files.txt lists it.
std::vector<std::string> installedFiles() {
  std::ifstream in(ZBV_SOURCE_DIR "/packaging/linux/installed-files.txt");
  std::vector<std::string> files;
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) files.push_back(line);
  std::sort(files.begin(), files.end());
  return files;
}

// The GNU directories under the prefix get the program and what a desktop needs to list it.
TEST_F(Viewer, InstallsTheProgramWithItsDesktopFilesAndTheCopyRuns) {
  const fs::path& prefix = scratch("zbv-prefix");
  const std::string install = std::string("'") + ZBV_CMAKE + "' --install '" + ZBV_BUILD_DIR +
                              "' --prefix '" + prefix.string() + "' >/dev/null";
  ASSERT_EQ(std::system(install.c_str()), 0) << install;
  std::vector<std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(prefix))
    if (!e.is_directory()) files.push_back(fs::relative(e.path(), prefix).string());
  std::sort(files.begin(), files.end());
  const std::vector<std::string> expected = installedFiles();
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(files, expected);
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
  if (start((prefix / "bin/zbuffer-viewer").string())) expectStartUp(settled());
}

std::string displayName(const ::testing::TestParamInfo<std::vector<std::string>>& args) {
  return args.param.size() == 1 ? "Unset" : "Unreachable";
}

// Without an X server GLUT ends the program at once, saying why.
class NoDisplay : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(NoDisplay, EndsWithAnErrorThatSaysSo) {
  const bool unset = GetParam().size() == 1;
  Process p;
  ASSERT_TRUE(
      worked(p.start(kViewer, GetParam(), "",
                     unset ? std::vector<std::string>{"DISPLAY"} : std::vector<std::string>{})));
  ASSERT_TRUE(worked(p.waitExit(10))) << "without a display";
  EXPECT_TRUE(WIFEXITED(p.exitStatus()) && WEXITSTATUS(p.exitStatus()) != 0) << p.exitStatus();
  EXPECT_NE(p.output().find("failed to open display"), std::string::npos) << p.output();
}
INSTANTIATE_TEST_SUITE_P(Viewer, NoDisplay,
                         ::testing::Values(std::vector<std::string>{kViewer},
                                           std::vector<std::string>{kViewer, "-display", ":987"}),
                         displayName);

}  // namespace
}  // namespace zbv::test
