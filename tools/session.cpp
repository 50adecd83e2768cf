// SPDX-License-Identifier: MIT
#include "session.h"

#include <algorithm>
#include <chrono>

#include "wait.h"

namespace zbv {

namespace {

// How long a window must draw nothing to count as quiet: far longer than one frame takes,
// even on a slow software renderer.
constexpr double kQuiet = 0.25;

double now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

std::string Session::fail(const std::string& why) {
  proc_.stop();
  win_ = 0;
  return why;
}

std::string Session::open(const Options& o) {
  const auto before = x_.windows();
  win_ = 0;
  if (std::string why = proc_.start(o.file, o.argv, o.cwd, o.env); !why.empty()) return why;
  const std::string& title = o.titlePart.empty() ? o.argv.front() : o.titlePart;
  const auto named = [&](WindowId w) {
    const std::string n = x_.name(w);
    return o.titlePart.empty() ? n == title : n.find(title) != std::string::npos;
  };
  bool ended = false;
  const auto found = [&] {
    for (WindowId w : x_.windows()) {
      if (std::find(before.begin(), before.end(), w) == before.end() && named(w)) {
        win_ = w;
        break;
      }
    }
    ended = !proc_.running();
    return win_ != 0 || ended;
  };
  if (!waitUntil(o.seconds, found) || ended) {
    return fail(ended ? o.file + " ended before showing its window; it wrote: " + proc_.output()
                      : "no window named '" + title + "' appeared");
  }
  if (std::string why = x_.watch(win_); !why.empty()) return fail(why);
  if (!waitUntil(o.seconds, [&] { return x_.viewable(win_) || x_.iconic(win_); }))
    return fail("the window named '" + title + "' was never shown");
  if (x_.iconic(win_)) return "";
  // With no window manager the window may hang off the screen's edge, where X cannot read
  // it back; put it in the corner, as a window manager would place it. The frames that
  // move causes are waited out below.
  if (!x_.onScreen(win_)) x_.move(win_, 0, 0);
  // The first frame: something other than the clear colour.
  const bool drawn = waitUntil(o.seconds, [&] {
    const Image im = x_.grab(win_);
    return std::any_of(im.rgb.begin(), im.rgb.end(), [](auto v) { return v != 0; });
  });
  if (!drawn) return fail("the window stayed black");
  lastDrawn_ = now();
  if (!quiet(o.seconds)) return fail("the window never stopped drawing");
  return "";
}

bool Session::quiet(double seconds) {
  return waitUntil(seconds, [this] {
    if (x_.drawnSince()) lastDrawn_ = now();
    return now() - lastDrawn_ >= kQuiet;
  });
}

Image Session::settled(double seconds) {
  return quiet(seconds) ? x_.grab(win_) : Image{};
}

Image Session::frameAfter(const std::function<void()>& action, double seconds) {
  // Only what is drawn after the action is its answer: nothing is drawing now, and
  // whatever was drawn before has been read off.
  if (!quiet(seconds)) return {};
  action();
  if (!waitUntil(seconds, [this] { return x_.drawnSince(); })) return {};
  lastDrawn_ = now();
  // A burst of events may bring more than one frame; take the last.
  return settled(seconds);
}

Image Session::pressAndWait(unsigned long keysym, double seconds) {
  return frameAfter([&] { x_.key(win_, keysym); }, seconds);
}

Image Session::resizeAndWait(int width, int height, double seconds) {
  const Image im = frameAfter([&] { x_.resize(win_, width, height); }, seconds);
  return im.width == width && im.height == height ? im : Image{};
}

}  // namespace zbv
