// SPDX-License-Identifier: MIT
// Drives a real program's window over X, as a person would: starts the program, finds its
// window by name, presses keys, resizes it and reads back what the window shows.
#ifndef TOOLS_XDRIVE_H
#define TOOLS_XDRIVE_H

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "image.h"

struct _XDisplay;

namespace zbv {

using WindowId = unsigned long;

// A connection to an X server ($DISPLAY unless named). X errors are recorded, not fatal.
class XClient {
 public:
  explicit XClient(const char* name = nullptr);
  ~XClient();
  XClient(const XClient&) = delete;
  XClient& operator=(const XClient&) = delete;

  bool ok() const { return dpy_ != nullptr; }

  // Every window below the root, depth first.
  std::vector<WindowId> windows() const;
  // The raw bytes of a window's WM_NAME; empty when it has none.
  std::string name(WindowId w) const;
  bool viewable(WindowId w) const;
  bool size(WindowId w, int* width, int* height) const;
  // What the window shows; an empty image when it cannot be read.
  Image grab(WindowId w) const;
  // Press and release the key for an X keysym (XK_1, XK_Escape ...), sent to the window.
  void key(WindowId w, unsigned long keysym) const;
  void resize(WindowId w, int width, int height) const;
  void move(WindowId w, int x, int y) const;
  void close(WindowId w) const;  // as a window manager's close button would

  // Watches what a program draws into one window (through the X DAMAGE extension), so that
  // a caller can wait for the frame an action causes even when it looks like the last one.
  // False when the server cannot report damage.
  bool watch(WindowId w);
  // Whether anything was drawn into the watched window since the last call.
  bool drawnSince();

 private:
  _XDisplay* dpy_ = nullptr;
  int damageEvent_ = -1;
  unsigned long damage_ = 0;
};

// A child process with its standard output and error collected in a file.
class Process {
 public:
  Process() = default;
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // Runs file with argv (argv[0] as given, so the caller chooses the invocation path), in
  // cwd when not empty; each env entry "NAME=value" sets a variable, a bare "NAME" unsets it.
  bool start(const std::string& file, const std::vector<std::string>& argv,
             const std::string& cwd = "", const std::vector<std::string>& env = {});
  pid_t pid() const { return pid_; }
  bool running();
  // Waits up to the timeout for the process to end by itself; true when it has.
  bool waitExit(double seconds);
  // Ends the process (SIGTERM, then SIGKILL) if it still runs.
  void stop();
  int exitStatus() const { return status_; }  // as from waitpid
  std::string output() const;                 // everything it wrote so far

 private:
  pid_t pid_ = -1;
  int status_ = -1;
  std::string log_;
};

// A started program and its window.
class Session {
 public:
  explicit Session(XClient& x) : x_(x) {}
  ~Session() { proc_.stop(); }

  // Starts the program and waits for a window whose name contains titlePart (the whole
  // name when exact) to appear and show a settled picture. False, with why(), on failure.
  bool open(const std::string& file, const std::vector<std::string>& argv,
            const std::string& titlePart, bool exact, const std::string& cwd = "",
            const std::vector<std::string>& env = {}, double seconds = 20);
  const std::string& why() const { return why_; }
  WindowId window() const { return win_; }
  Process& process() { return proc_; }

  // The picture once it has stopped changing.
  Image settled(double seconds = 5) const;
  // Does what changes the window, waits for the program to draw its next frame and returns
  // it; an empty image when no frame came within the timeout.
  Image frameAfter(const std::function<void()>& action, double seconds = 10) const;
  // Presses a key and returns the frame drawn in answer.
  Image pressAndWait(unsigned long keysym, double seconds = 10) const;
  void press(unsigned long keysym) const { x_.key(win_, keysym); }
  // Resizes the window and returns the frame drawn at the new size.
  Image resizeAndWait(int width, int height, double seconds = 10) const;

 private:
  XClient& x_;
  Process proc_;
  WindowId win_ = 0;
  std::string why_;
};

// The X keysym for a printable ASCII character.
unsigned long keysymFor(char c);

}  // namespace zbv

#endif  // TOOLS_XDRIVE_H
