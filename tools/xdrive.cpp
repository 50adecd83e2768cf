// SPDX-License-Identifier: MIT
#include "xdrive.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

namespace zbv {

namespace {

int ignoreErrors(Display*, XErrorEvent*) {
  return 0;
}

using Clock = std::chrono::steady_clock;

Clock::time_point deadline(double seconds) {
  return Clock::now() +
         std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

void nap() {
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

// Position of the lowest set bit of a colour mask, and the mask's width.
void maskShape(unsigned long mask, int* shift, int* bits) {
  *shift = 0;
  *bits = 0;
  if (mask == 0) return;
  while (!(mask & 1UL)) {
    mask >>= 1;
    ++*shift;
  }
  while (mask & 1UL) {
    mask >>= 1;
    ++*bits;
  }
}

int channel(unsigned long pixel, int shift, int bits) {
  const unsigned long v = (pixel >> shift) & ((1UL << bits) - 1);
  return bits >= 8 ? static_cast<int>(v >> (bits - 8))
                   : static_cast<int>(v * 255 / ((1UL << bits) - 1));
}

// Polls every few milliseconds until pred holds of the window's picture, for at most the
// timeout. Returns the last picture read; *met tells whether pred held.
Image waitForPicture(const XClient& x, WindowId w, const std::function<bool(const Image&)>& pred,
                     double seconds, bool* met) {
  const auto end = deadline(seconds);
  Image last;
  for (;;) {
    last = x.grab(w);
    const bool ok = !last.empty() && pred(last);
    if (ok || Clock::now() > end) {
      if (met) *met = ok;
      return last;
    }
    nap();
  }
}

}  // namespace

XClient::XClient(const char* name) {
  XSetErrorHandler(ignoreErrors);
  dpy_ = XOpenDisplay(name);
}

XClient::~XClient() {
  if (dpy_) XCloseDisplay(dpy_);
}

std::vector<WindowId> XClient::windows() const {
  std::vector<WindowId> all;
  std::vector<Window> todo{DefaultRootWindow(dpy_)};
  while (!todo.empty()) {
    const Window w = todo.back();
    todo.pop_back();
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(dpy_, w, &root, &parent, &children, &n)) continue;
    for (unsigned int i = 0; i < n; ++i) {
      all.push_back(children[i]);
      todo.push_back(children[i]);
    }
    if (children) XFree(children);
  }
  return all;
}

std::string XClient::name(WindowId w) const {
  XTextProperty prop{};
  std::string out;
  if (XGetTextProperty(dpy_, w, &prop, XA_WM_NAME) && prop.value) {
    out.assign(reinterpret_cast<const char*>(prop.value), prop.nitems);
    XFree(prop.value);
  }
  return out;
}

bool XClient::viewable(WindowId w) const {
  XWindowAttributes a{};
  return XGetWindowAttributes(dpy_, w, &a) && a.map_state == IsViewable;
}

bool XClient::size(WindowId w, int* width, int* height) const {
  XWindowAttributes a{};
  if (!XGetWindowAttributes(dpy_, w, &a)) return false;
  *width = a.width;
  *height = a.height;
  return true;
}

Image XClient::grab(WindowId w) const {
  XWindowAttributes a{};
  if (!XGetWindowAttributes(dpy_, w, &a) || a.map_state != IsViewable) return {};
  XImage* xi = XGetImage(dpy_, w, 0, 0, static_cast<unsigned>(a.width),
                         static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
  if (!xi) return {};
  int rs = 0, rb = 0, gs = 0, gb = 0, bs = 0, bb = 0;
  maskShape(xi->red_mask, &rs, &rb);
  maskShape(xi->green_mask, &gs, &gb);
  maskShape(xi->blue_mask, &bs, &bb);
  Image out(a.width, a.height);
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      const unsigned long p = XGetPixel(xi, x, y);
      out.set(x, y, {channel(p, rs, rb), channel(p, gs, gb), channel(p, bs, bb)});
    }
  }
  XDestroyImage(xi);
  return out;
}

void XClient::key(WindowId w, unsigned long keysym) const {
  XKeyEvent ev{};
  ev.display = dpy_;
  ev.window = w;
  ev.root = DefaultRootWindow(dpy_);
  ev.subwindow = None;
  ev.time = CurrentTime;
  ev.x = ev.y = ev.x_root = ev.y_root = 1;
  ev.same_screen = True;
  ev.keycode = XKeysymToKeycode(dpy_, keysym);
  // Characters on the shifted level of their key need Shift held.
  if (XLookupKeysym(&ev, 0) != keysym && XLookupKeysym(&ev, 1) == keysym) ev.state = ShiftMask;
  ev.type = KeyPress;
  XSendEvent(dpy_, w, True, KeyPressMask, reinterpret_cast<XEvent*>(&ev));
  ev.type = KeyRelease;
  XSendEvent(dpy_, w, True, KeyReleaseMask, reinterpret_cast<XEvent*>(&ev));
  XFlush(dpy_);
}

void XClient::resize(WindowId w, int width, int height) const {
  XResizeWindow(dpy_, w, static_cast<unsigned>(width), static_cast<unsigned>(height));
  XFlush(dpy_);
}

void XClient::move(WindowId w, int x, int y) const {
  XMoveWindow(dpy_, w, x, y);
  XSync(dpy_, False);
}

void XClient::close(WindowId w) const {
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = w;
  ev.xclient.message_type = XInternAtom(dpy_, "WM_PROTOCOLS", False);
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy_, "WM_DELETE_WINDOW", False));
  ev.xclient.data.l[1] = CurrentTime;
  XSendEvent(dpy_, w, False, NoEventMask, &ev);
  XFlush(dpy_);
}

bool XClient::watch(WindowId w) {
  int error = 0;
  if (damageEvent_ < 0 && !XDamageQueryExtension(dpy_, &damageEvent_, &error)) return false;
  if (damage_) XDamageDestroy(dpy_, damage_);
  damage_ = XDamageCreate(dpy_, w, XDamageReportNonEmpty);
  XSync(dpy_, False);
  return damage_ != 0;
}

bool XClient::drawnSince() {
  XSync(dpy_, False);
  bool drawn = false;
  while (XPending(dpy_)) {
    XEvent ev;
    XNextEvent(dpy_, &ev);
    if (ev.type == damageEvent_ + XDamageNotify) drawn = true;
  }
  // Empty the damaged region, so the next drawing reports again.
  if (drawn) {
    XDamageSubtract(dpy_, damage_, None, None);
    XSync(dpy_, False);
  }
  return drawn;
}

Process::~Process() {
  stop();
  if (!log_.empty()) unlink(log_.c_str());
}

bool Process::start(const std::string& file, const std::vector<std::string>& argv,
                    const std::string& cwd, const std::vector<std::string>& env) {
  stop();
  if (!log_.empty()) unlink(log_.c_str());
  char path[] = "/tmp/zbv-output-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return false;
  log_ = path;
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_ = fork();
  if (pid_ == 0) {
    dup2(fd, 1);
    dup2(fd, 2);
    const int null = open("/dev/null", O_RDONLY);
    if (null >= 0) dup2(null, 0);
    for (const auto& e : env) {
      const auto eq = e.find('=');
      if (eq == std::string::npos)
        unsetenv(e.c_str());
      else
        setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
    }
    if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
    execv(file.c_str(), args.data());
    _exit(127);
  }
  ::close(fd);
  status_ = -1;
  return pid_ > 0;
}

bool Process::running() {
  if (pid_ <= 0) return false;
  if (waitpid(pid_, &status_, WNOHANG) == pid_) {
    pid_ = -1;
    return false;
  }
  return true;
}

bool Process::waitExit(double seconds) {
  const auto end = deadline(seconds);
  while (running()) {
    if (Clock::now() > end) return false;
    nap();
  }
  return true;
}

void Process::stop() {
  if (running()) {
    kill(pid_, SIGTERM);
    if (!waitExit(5)) {
      kill(pid_, SIGKILL);
      waitExit(5);
    }
  }
}

std::string Process::output() const {
  std::ifstream in(log_, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Session::open(const std::string& file, const std::vector<std::string>& argv,
                   const std::string& titlePart, bool exact, const std::string& cwd,
                   const std::vector<std::string>& env, double seconds) {
  const auto before = x_.windows();
  if (!proc_.start(file, argv, cwd, env)) {
    why_ = "could not start " + file;
    return false;
  }
  const auto end = deadline(seconds);
  win_ = 0;
  while (win_ == 0) {
    for (WindowId w : x_.windows()) {
      if (std::find(before.begin(), before.end(), w) != before.end() || !x_.viewable(w)) continue;
      const std::string n = x_.name(w);
      if (exact ? n == titlePart : n.find(titlePart) != std::string::npos) {
        win_ = w;
        break;
      }
    }
    if (win_ != 0) break;
    if (!proc_.running()) {
      why_ = file + " ended before showing its window; it wrote: " + proc_.output();
      return false;
    }
    if (Clock::now() > end) {
      why_ = "no window named '" + titlePart + "' appeared";
      return false;
    }
    nap();
  }
  // With no window manager the window may hang off the screen's edge, where X cannot read
  // it back; put it in the corner, as a window manager would place it.
  x_.move(win_, 0, 0);
  if (!x_.watch(win_)) {
    why_ = "the X server does not report what is drawn (no DAMAGE extension)";
    return false;
  }
  // The first frame: something other than the clear colour.
  bool drawn = false;
  waitForPicture(
      x_, win_,
      [](const Image& im) {
        for (auto v : im.rgb)
          if (v) return true;
        return false;
      },
      seconds, &drawn);
  if (!drawn) {
    why_ = "the window stayed black";
    return false;
  }
  return true;
}

Image Session::settled(double seconds) const {
  Image prev = x_.grab(win_);
  bool met = false;
  Image now = waitForPicture(
      x_, win_,
      [&prev](const Image& im) {
        const bool same = im == prev;
        prev = im;
        return same;
      },
      seconds, &met);
  return met ? now : Image{};
}

Image Session::frameAfter(const std::function<void()>& action, double seconds) const {
  x_.drawnSince();
  action();
  const auto end = deadline(seconds);
  while (!x_.drawnSince()) {
    if (Clock::now() > end) return {};
    nap();
  }
  // A burst of events may bring more than one frame; take the last.
  do nap();
  while (x_.drawnSince());
  return x_.grab(win_);
}

Image Session::pressAndWait(unsigned long keysym, double seconds) const {
  return frameAfter([&] { x_.key(win_, keysym); }, seconds);
}

Image Session::resizeAndWait(int width, int height, double seconds) const {
  const Image im = frameAfter([&] { x_.resize(win_, width, height); }, seconds);
  return im.width == width && im.height == height ? im : Image{};
}

// Printable ASCII characters have keysyms equal to their codes.
unsigned long keysymFor(char c) {
  return static_cast<unsigned char>(c);
}

}  // namespace zbv
