// SPDX-License-Identifier: MIT
// A program started as a person starts it, and its window: found by its title, driven by
// keys and resizes, each answered by the frame it caused.
#ifndef TOOLS_SESSION_H
#define TOOLS_SESSION_H

#include <functional>
#include <string>
#include <vector>

#include "image.h"
#include "process.h"
#include "x_client.h"

namespace zbv {

class Session {
 public:
  // How to start the program and know its window.
  struct Options {
    std::string file = {};               // the executable
    std::vector<std::string> argv = {};  // argv[0] as given: the invocation path
    // The window is the new one titled argv[0]; with titlePart set, the new one whose title
    // contains it (under Wine, say, where the title is a Windows path).
    std::string titlePart = {};
    std::string cwd = {};               // where it runs; empty for here
    std::vector<std::string> env = {};  // as for Process::start
    double seconds = 20;                // for the window to show its first frame
  };

  explicit Session(XClient& x) : x_(x) {}
  ~Session() { proc_.stop(); }

  // Starts the program and waits for its window to show a settled picture (or to be
  // iconified by a window manager). On failure the program is stopped and window() is 0.
  Outcome<> open(const Options& options);
  WindowId window() const { return win_; }
  Process& process() { return proc_; }

  // The picture once the window has stopped drawing.
  Outcome<Image> settled(double seconds = 10);
  // Waits for the window to stop drawing, does what changes it, waits for the frame drawn
  // after that and returns it once drawing stops.
  Outcome<Image> frameAfter(const std::function<void()>& action, double seconds = 10);
  // Presses a key and returns the frame drawn in answer.
  Outcome<Image> pressAndWait(unsigned long keysym, double seconds = 10);
  void press(unsigned long keysym) const { x_.key(win_, keysym); }
  // Resizes the window and returns the frame drawn at the new size.
  Outcome<Image> resizeAndWait(int width, int height, double seconds = 10);

 private:
  // Waits until nothing has been drawn for a while.
  Outcome<> quiet(double seconds);
  // Stops the program and forgets its window: the end of a failed open().
  Failure abandon(const std::string& why);

  XClient& x_;
  Process proc_;
  WindowId win_ = 0;
  double lastDrawn_ = 0;  // when drawing was last seen, in seconds of a steady clock
};

}  // namespace zbv

#endif  // TOOLS_SESSION_H
