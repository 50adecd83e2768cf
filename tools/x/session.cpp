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

Failure Session::abandon(const std::string& why) {
  proc_.stop();
  win_ = 0;
  return Failure{why};
}

Outcome<> Session::open(const Options& o) {
  const auto before = x_.windows();
  win_ = 0;
  if (auto started = proc_.start(o.file, o.argv, o.cwd, o.env); !started) return started;
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
    return abandon(ended ? o.file + " ended before showing its window; it wrote: " + proc_.output()
                         : "no window named '" + title + "' appeared");
  }
  if (auto watching = x_.watch(win_); !watching) return abandon(watching.why());
  if (!waitUntil(o.seconds, [&] { return x_.viewable(win_) || x_.iconic(win_); }))
    return abandon("the window named '" + title + "' was never shown");
  if (x_.iconic(win_)) return Done{};
  // With no window manager the window may hang off the screen's edge, where X cannot read
  // it back; put it in the corner, as a window manager would place it. The frames that
  // move causes are waited out below.
  if (!x_.onScreen(win_)) x_.move(win_, 0, 0);
  // The first frame: something other than the clear colour.
  const bool drawn = waitUntil(o.seconds, [&] {
    const auto im = x_.grab(win_);
    return im && std::any_of(im->rgb.begin(), im->rgb.end(), [](auto v) { return v != 0; });
  });
  if (!drawn) return abandon("the window stayed black");
  lastDrawn_ = now();
  if (auto settles = quiet(o.seconds); !settles) return abandon(settles.why());
  return Done{};
}

Outcome<> Session::quiet(double seconds) {
  const bool stopped = waitUntil(seconds, [this] {
    if (x_.drawnSince()) lastDrawn_ = now();
    return now() - lastDrawn_ >= kQuiet;
  });
  if (!stopped) return Failure{"the window never stopped drawing"};
  return Done{};
}

Outcome<Image> Session::settled(double seconds) {
  if (auto stopped = quiet(seconds); !stopped) return Failure{stopped.why()};
  return x_.grab(win_);
}

Outcome<Image> Session::frameAfter(const std::function<void()>& action, double seconds) {
  // Only what is drawn after the action is its answer: nothing is drawing now, and
  // whatever was drawn before has been read off.
  if (auto stopped = quiet(seconds); !stopped) return Failure{stopped.why()};
  action();
  if (!waitUntil(seconds, [this] { return x_.drawnSince(); }))
    return Failure{"no frame came within " + std::to_string(seconds) + " s"};
  lastDrawn_ = now();
  // A burst of events may bring more than one frame; take the last.
  return settled(seconds);
}

Outcome<Image> Session::pressAndWait(unsigned long keysym, double seconds) {
  return frameAfter([&] { x_.key(win_, keysym); }, seconds);
}

Outcome<Image> Session::resizeAndWait(int width, int height, double seconds) {
  auto im = frameAfter([&] { x_.resize(win_, width, height); }, seconds);
  if (im && (im->width != width || im->height != height)) {
    return Failure{"the window showed " + std::to_string(im->width) + "x" +
                   std::to_string(im->height) + ", not " + std::to_string(width) + "x" +
                   std::to_string(height)};
  }
  return im;
}

}  // namespace zbv
