// SPDX-License-Identifier: MIT
// zbuffer-gallery: runs the real viewer, steps through its states with real key presses
// and saves the window after each one as a PNG, printing each file's path and what it shows.
// Then it draws the same states with the viewer's own callbacks in a window of its own and
// saves, under OUTDIR/depth, what each frame left in the depth buffer, printing the values;
// and under OUTDIR/steps/<state>, the colour and depth buffers after each of the frame's draws.
// Last, the lab's presets: the start-up frame drawn off the screen with other near and far
// planes and depth formats, saved under OUTDIR/lab and its depth under OUTDIR/lab/depth.
//
//   zbuffer-gallery [--strip FILE] [--depth-strip FILE] [--steps-strip FILE]
//                   [--lab-strip FILE] [--icons DIR] [--title TEXT] OUTDIR COMMAND [ARG...]
//
// COMMAND starts the viewer; its window is the one titled COMMAND, or, with --title, the
// one whose title contains TEXT (under Wine, say, where the title is a Windows path).
// --strip also saves the README's strip of pictures side by side, --depth-strip the strip
// of their depth pictures, --steps-strip the depth-test-off frame after each of its draws,
// --lab-strip the lab's presets' pictures.
// --icons DIR also saves the start-up picture as the program's icons, one PNG per size.
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "depth_picture.h"
#include "gl_window.h"
#include "icon.h"
#include "image.h"
#include "lab.h"
#include "scene_facts.h"
#include "session.h"
#include "steps.h"
#include "tour.h"

namespace {

using zbv::facts::kTour;

// Says why the gallery stops, and gives the exit status for it.
int stopBecause(const std::string& why) {
  std::fprintf(stderr, "zbuffer-gallery: %s\n", why.c_str());
  return 1;
}

// Saves a strip of pictures side by side at path, printing what it shows; the exit status.
int saveStrip(const zbv::Outcome<zbv::Image>& made, const std::string& path, const char* shows) {
  if (!made) return stopBecause(made.why());
  if (auto saved = zbv::savePng(*made, path); !saved) return stopBecause(saved.why());
  std::printf("%s  %s\n", path.c_str(), shows);
  return 0;
}

// How far a frame drawn again is from the picture the viewer showed, where that is more than
// the tolerance the README's pictures are held to across renderers; '' where it is within.
std::string offFromShown(const zbv::Image& frame, const zbv::Image& shot) {
  const auto off = zbv::imageDistance(frame, shot);
  if (!off) return off.why();
  if (*off > zbv::lsbSteps(zbv::facts::kPixelSteps, shot.bits))
    return "off by " + std::to_string(*off);
  return "";
}

// The depth buffer of each frame of the tour drawn again in this process, saved as a picture
// under outdir/depth. Each frame must be the picture the real viewer showed at that stop.
int saveDepthPictures(const std::vector<zbv::FrameSteps>& tour,
                      const std::vector<zbv::Image>& shots, const std::string& outdir,
                      const std::string& strip) {
  const std::string dir = outdir + "/depth";
  mkdir(dir.c_str(), 0777);
  std::printf("depth buffer: %d bits per pixel; white is the nearest value, black the cleared 1\n",
              zbv::depthBits());
  std::vector<zbv::Image> pictures;
  for (std::size_t k = 0; k < tour.size(); ++k) {
    const zbv::Frame& whole = tour[k].whole;
    if (const std::string off = offFromShown(whole.colour, shots[k]); !off.empty()) {
      return stopBecause(std::string("the frame drawn for ") + kTour[k].file +
                         " is not the picture the viewer showed (" + off + ")");
    }
    const std::string path = dir + "/" + kTour[k].file + ".png";
    pictures.push_back(zbv::depthPicture(whole.depth));
    if (auto saved = zbv::savePng(pictures.back(), path); !saved) return stopBecause(saved.why());
    std::printf("%s  %s\n", path.c_str(), zbv::describeDepth(whole.depth).c_str());
  }
  if (strip.empty()) return 0;
  return saveStrip(zbv::makeStrip(pictures), strip,
                   "the depth strip, under the pictures of the strip");
}

// The stop of the README's strip with the depth test off.
constexpr int kDepthOffStop = zbv::facts::kStripStops[1];

// Each stop of the tour drawn again draw by draw, its buffers after each draw saved under
// outdir/steps/<stop> and outdir/steps/<stop>/depth. The last is the picture the viewer showed.
int saveSteps(const std::vector<zbv::FrameSteps>& tour, const std::vector<zbv::Image>& shots,
              const std::string& outdir, const std::string& strip) {
  const std::string root = outdir + "/steps";
  mkdir(root.c_str(), 0777);
  for (std::size_t k = 0; k < tour.size(); ++k) {
    const std::vector<zbv::Frame>& after = tour[k].after;
    if (const std::string off = offFromShown(after.back().colour, shots[k]); !off.empty()) {
      return stopBecause(std::string("the last draw of ") + kTour[k].file +
                         " does not leave the picture the viewer showed (" + off + ")");
    }
    const std::string dir = root + "/" + kTour[k].file;
    mkdir(dir.c_str(), 0777);
    mkdir((dir + "/depth").c_str(), 0777);
    for (int i = 0; i < zbv::facts::kDraws; ++i) {
      const std::string name = std::string("/") + zbv::facts::kDrawFiles[i] + ".png";
      const zbv::Frame& f = after[static_cast<std::size_t>(i)];
      if (auto saved = zbv::savePng(f.colour, dir + name); !saved) return stopBecause(saved.why());
      if (auto saved = zbv::savePng(zbv::depthPicture(f.depth), dir + "/depth" + name); !saved)
        return stopBecause(saved.why());
    }
    std::printf("%s/  the frame after each of its %d draws, colour and depth\n", dir.c_str(),
                zbv::facts::kDraws);
  }
  if (strip.empty()) return 0;
  std::vector<zbv::Image> pictures;
  for (const zbv::Frame& f : tour[kDepthOffStop].after) pictures.push_back(f.colour);
  return saveStrip(zbv::sideBySide(pictures), strip,
                   "the depth-test-off frame after each draw: floor, grey, red, blue teapot");
}

// The lab's presets drawn off the screen, each saved under outdir/lab and its depth under
// outdir/lab/depth. With the program's own values the frame must be the start-up picture the
// viewer showed: exactly, the same renderer having drawn both (within a step of a coarser
// visual's channels, which the picture on the screen keeps).
int saveLab(const zbv::Image& startUp, const std::string& outdir, const std::string& strip) {
  const auto frames = zbv::drawPresets();
  if (!frames) return stopBecause(frames.why());
  const zbv::Frame& program = frames->front();
  const auto off = zbv::imageDistance(program.colour, startUp);
  if (!off) return stopBecause("lab: " + off.why());
  if (*off > zbv::sameRendererTolerance(startUp.bits)) {
    return stopBecause(std::string("lab: ") + zbv::facts::kLabPresets[0].file +
                       " is not the start-up picture the viewer showed (off by " +
                       std::to_string(*off) + ")");
  }
  const std::string dir = outdir + "/lab";
  mkdir(dir.c_str(), 0777);
  mkdir((dir + "/depth").c_str(), 0777);
  std::vector<zbv::Image> pictures;
  for (std::size_t k = 0; k < frames->size(); ++k) {
    const zbv::facts::LabPreset& preset = zbv::facts::kLabPresets[k];
    const zbv::Frame& f = (*frames)[k];
    const std::string name = std::string("/") + preset.file + ".png";
    if (auto saved = zbv::savePng(f.colour, dir + name); !saved) return stopBecause(saved.why());
    if (auto saved = zbv::savePng(zbv::depthPicture(f.depth), dir + "/depth" + name); !saved)
      return stopBecause(saved.why());
    std::printf("%s  %s\n", (dir + name).c_str(), zbv::describePreset(preset, f.depth).c_str());
    pictures.push_back(f.colour);
  }
  if (strip.empty()) return 0;
  return saveStrip(zbv::sideBySide(pictures), strip, "the lab's presets side by side");
}

}  // namespace

int main(int argc, char** argv) {
  std::string strip, depthStrip, stepsStrip, labStrip, title, icons;
  int i = 1;
  for (; i + 1 < argc && argv[i][0] == '-'; i += 2) {
    if (std::strcmp(argv[i], "--strip") == 0) {
      strip = argv[i + 1];
    } else if (std::strcmp(argv[i], "--depth-strip") == 0) {
      depthStrip = argv[i + 1];
    } else if (std::strcmp(argv[i], "--steps-strip") == 0) {
      stepsStrip = argv[i + 1];
    } else if (std::strcmp(argv[i], "--lab-strip") == 0) {
      labStrip = argv[i + 1];
    } else if (std::strcmp(argv[i], "--title") == 0) {
      title = argv[i + 1];
    } else if (std::strcmp(argv[i], "--icons") == 0) {
      icons = argv[i + 1];
    } else {
      break;
    }
  }
  if (argc - i < 2) {
    std::fprintf(stderr,
                 "usage: %s [--strip FILE] [--depth-strip FILE] [--steps-strip FILE] "
                 "[--lab-strip FILE] [--icons DIR] [--title TEXT] OUTDIR COMMAND [ARG...]\n",
                 argv[0]);
    return 2;
  }
  const std::string outdir = argv[i];
  const std::vector<std::string> command(argv + i + 1, argv + argc);
  mkdir(outdir.c_str(), 0777);

  zbv::XClient x;
  if (auto connected = x.connected(); !connected) return stopBecause(connected.why());
  if (auto colours = x.trueColour(); !colours) return stopBecause(colours.why());
  zbv::Session s(x);
  zbv::Session::Options options{command.front(), command};
  options.titlePart = title;
  if (auto opened = s.open(options); !opened) return stopBecause(opened.why());
  const auto shots = zbv::takeTour(s);
  if (!shots) return stopBecause(shots.why());
  for (std::size_t k = 0; k < shots->size(); ++k) {
    const std::string path = outdir + "/" + kTour[k].file + ".png";
    if (auto saved = zbv::savePng((*shots)[k], path); !saved) return stopBecause(saved.why());
    std::printf("%s  %s\n", path.c_str(), kTour[k].shows);
  }
  if (!strip.empty()) {
    const int status = saveStrip(zbv::makeStrip(*shots), strip,
                                 "the strip: start-up, depth test off, lighting off, yellow, cyan");
    if (status != 0) return status;
  }
  if (!icons.empty()) {
    mkdir(icons.c_str(), 0777);
    for (int size : zbv::kIconSizes) {
      const std::string path = icons + "/" + zbv::iconFile(size);
      auto icon = zbv::makeIcon(shots->front(), size);
      if (!icon) return stopBecause(icon.why());
      if (auto saved = zbv::savePng(*icon, path); !saved) return stopBecause(saved.why());
      std::printf("%s  the icon, %dx%d: the start-up picture\n", path.c_str(), size, size);
    }
  }
  // The viewer's window goes before this process opens its own in the same place.
  s.process().stop();
  // The tour drawn again in this process, once, draw by draw: the whole frames for the depth
  // pictures, the draws for the steps.
  if (auto opened = zbv::openViewerWindow(); !opened)
    return stopBecause("depth pictures: " + opened.why());
  const auto tour = zbv::replayTourByDraws();
  if (!tour) return stopBecause("depth pictures: " + tour.why());
  if (int status = saveDepthPictures(*tour, *shots, outdir, depthStrip); status != 0) return status;
  if (int status = saveSteps(*tour, *shots, outdir, stepsStrip); status != 0) return status;
  return saveLab(shots->front(), outdir, labStrip);
}
