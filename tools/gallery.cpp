// zbuffer-gallery: runs the real viewer, steps through its states with real key presses
// and saves the window after each one as a PNG.
//
//   zbuffer-gallery VIEWER OUTDIR [TITLE-PART [RUNNER...]]
//
// VIEWER is started as given (its path is its window title). With RUNNER the command is
// RUNNER... VIEWER (a program that starts the viewer, such as wine), and the window is the
// one whose title contains TITLE-PART.
#include <cstdio>
#include <string>
#include <vector>

#include "image.h"
#include "tour.h"
#include "xdrive.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s VIEWER OUTDIR [TITLE-PART [RUNNER...]]\n", argv[0]);
    return 2;
  }
  const std::string viewer = argv[1], outdir = argv[2];
  const std::string title = argc > 3 ? argv[3] : viewer;
  std::vector<std::string> command;
  for (int i = 4; i < argc; ++i) command.push_back(argv[i]);
  command.push_back(viewer);

  zbv::XClient x;
  if (!x.ok()) {
    std::fprintf(stderr, "zbuffer-gallery: cannot open the X display\n");
    return 1;
  }
  zbv::Session s(x);
  if (!s.open(command.front(), command, title, argc <= 3)) {
    std::fprintf(stderr, "zbuffer-gallery: %s\n", s.why().c_str());
    return 1;
  }
  for (const zbv::Stop& stop : zbv::kTour) {
    const zbv::Image shot = stop.key ? s.pressAndWait(zbv::keysymFor(stop.key)) : s.settled();
    if (shot.empty()) {
      std::fprintf(stderr, "zbuffer-gallery: the picture did not change for key %c\n", stop.key);
      return 1;
    }
    const std::string path = outdir + "/" + stop.file + ".png";
    if (!zbv::savePng(shot, path)) {
      std::fprintf(stderr, "zbuffer-gallery: cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("%s  %s\n", path.c_str(), stop.shows);
  }
  return 0;
}
