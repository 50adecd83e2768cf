// SPDX-License-Identifier: MIT
// zbuffer-gallery: runs the real viewer, steps through its states with real key presses
// and saves the window after each one as a PNG, printing each file's path and what it shows.
//
//   zbuffer-gallery [--strip FILE] [--title TEXT] OUTDIR COMMAND [ARG...]
//
// COMMAND starts the viewer; its window is the one titled COMMAND, or, with --title, the
// one whose title contains TEXT (under Wine, say, where the title is a Windows path).
// --strip also saves the README's strip of pictures side by side.
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "image.h"
#include "session.h"
#include "tour.h"

namespace {

int fail(const std::string& why) {
  std::fprintf(stderr, "zbuffer-gallery: %s\n", why.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string strip, title;
  int i = 1;
  for (; i + 1 < argc && argv[i][0] == '-'; i += 2) {
    if (std::strcmp(argv[i], "--strip") == 0) {
      strip = argv[i + 1];
    } else if (std::strcmp(argv[i], "--title") == 0) {
      title = argv[i + 1];
    } else {
      break;
    }
  }
  if (argc - i < 2) {
    std::fprintf(stderr, "usage: %s [--strip FILE] [--title TEXT] OUTDIR COMMAND [ARG...]\n",
                 argv[0]);
    return 2;
  }
  const std::string outdir = argv[i];
  const std::vector<std::string> command(argv + i + 1, argv + argc);
  mkdir(outdir.c_str(), 0777);

  zbv::XClient x;
  if (std::string why = x.unusable(); !why.empty()) return fail(why);
  zbv::Session s(x);
  zbv::Session::Options options{command.front(), command};
  options.titlePart = title;
  if (std::string why = s.open(options); !why.empty()) return fail(why);
  std::vector<zbv::Image> shots;
  const std::string why = zbv::takeTour(s, &shots);
  for (std::size_t k = 0; k < shots.size(); ++k) {
    const std::string path = outdir + "/" + zbv::kTour[k].file + ".png";
    if (!zbv::savePng(shots[k], path)) return fail("cannot write " + path);
    std::printf("%s  %s\n", path.c_str(), zbv::kTour[k].shows);
  }
  if (!why.empty()) return fail(why);
  if (!strip.empty()) {
    if (!zbv::savePng(zbv::makeStrip(shots), strip)) return fail("cannot write " + strip);
    std::printf("%s  the strip: start-up, depth test off, lighting off, yellow, cyan\n",
                strip.c_str());
  }
  return 0;
}
