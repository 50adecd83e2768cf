// SPDX-License-Identifier: MIT
#include "x_client.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "wait.h"

namespace zbv {

namespace {

// What the process-wide handler has recorded and nobody has taken yet.
std::string xErrors;

int recordError(Display* dpy, XErrorEvent* e) {
  char text[160] = "";
  XGetErrorText(dpy, e->error_code, text, sizeof text);
  xErrors += std::string(text) + " (request " + std::to_string(e->request_code) + "." +
             std::to_string(e->minor_code) + ", resource " + std::to_string(e->resourceid) + ")\n";
  return 0;
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

// A channel of the pixel in 8 bits. Fewer bits are widened by repeating them, as OpenGL widens
// them when it reads pixels back, so that a window read here and its buffers read through GL
// agree to the bit (5 bits abcde become abcdeabc).
int channel(unsigned long pixel, int shift, int bits) {
  const unsigned long v = (pixel >> shift) & ((1UL << bits) - 1);
  if (bits >= 8) return static_cast<int>(v >> (bits - 8));
  unsigned long wide = 0;
  int have = 0;
  for (; have < 8; have += bits) wide = (wide << bits) | v;
  return static_cast<int>(wide >> (have - 8));
}

// The first 32-bit item of a window's property, or -1 when it has none.
long cardinal(Display* dpy, Window w, const char* property) {
  Atom type = 0;
  int format = 0;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  long value = -1;
  if (XGetWindowProperty(dpy, w, XInternAtom(dpy, property, False), 0, 1, False, AnyPropertyType,
                         &type, &format, &n, &after, &data) == Success &&
      data && format == 32 && n == 1)
    value = *reinterpret_cast<long*>(data);
  if (data) XFree(data);
  return value;
}

}  // namespace

XClient::XClient(const char* name) {
  XSetErrorHandler(recordError);
  // A server busy with other connections turns one away now and then (EAGAIN): try again.
  waitUntil(0.2, [&] { return (dpy_ = XOpenDisplay(name)) != nullptr; });
}

XClient::~XClient() {
  if (dpy_) XCloseDisplay(dpy_);
}

Outcome<> XClient::connected() const {
  if (dpy_) return Done{};
  const char* name = std::getenv("DISPLAY");
  return Failure{"needs an X display, and " +
                 (name ? "cannot open DISPLAY=" + std::string(name) : "DISPLAY is not set") +
                 " (run the tests through `make test`, or scripts/with-xvfb)"};
}

Outcome<> XClient::watchable() const {
  int event = 0, error = 0;
  if (dpy_ && XDamageQueryExtension(dpy_, &event, &error)) return Done{};
  const char* name = std::getenv("DISPLAY");
  return Failure{"the X server at DISPLAY=" + std::string(name ? name : "") +
                 " has no DAMAGE extension, which tells the tests when a frame is drawn"};
}

Outcome<> XClient::trueColour() const {
  const Visual* v = DefaultVisual(dpy_, DefaultScreen(dpy_));
  const int depth = DefaultDepth(dpy_, DefaultScreen(dpy_));
  int shift = 0, r = 0, g = 0, b = 0;
  maskShape(v->red_mask, &shift, &r);
  maskShape(v->green_mask, &shift, &g);
  maskShape(v->blue_mask, &shift, &b);
  const int bits = std::min({r, g, b});
  if (v->c_class == TrueColor && bits >= 5) return Done{};
  return Failure{"the X server's " + std::to_string(depth) + "-bit visual " +
                 (v->c_class == TrueColor ? "keeps " + std::to_string(bits) + " bits per channel"
                                          : std::string("is not TrueColor")) +
                 "; pictures are read back from 5 bits per channel up (a 16- or 24-bit server)"};
}

bool XClient::windowManager() const {
  const long check = cardinal(dpy_, DefaultRootWindow(dpy_), "_NET_SUPPORTING_WM_CHECK");
  return check > 0 &&
         cardinal(dpy_, static_cast<Window>(check), "_NET_SUPPORTING_WM_CHECK") == check;
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

bool XClient::iconic(WindowId w) const {
  return cardinal(dpy_, w, "WM_STATE") == IconicState;
}

bool XClient::onScreen(WindowId w) const {
  XWindowAttributes a{};
  Window child = 0;
  int x = 0, y = 0;
  if (!XGetWindowAttributes(dpy_, w, &a) ||
      !XTranslateCoordinates(dpy_, w, a.root, 0, 0, &x, &y, &child))
    return false;
  return x >= 0 && y >= 0 && x + a.width <= WidthOfScreen(a.screen) &&
         y + a.height <= HeightOfScreen(a.screen);
}

Outcome<XClient::Size> XClient::size(WindowId w) const {
  XWindowAttributes a{};
  if (!XGetWindowAttributes(dpy_, w, &a)) return Failure{"the window is gone"};
  return Size{a.width, a.height};
}

Outcome<Image> XClient::grab(WindowId w) const {
  XWindowAttributes a{};
  if (!XGetWindowAttributes(dpy_, w, &a)) return Failure{"the window is gone"};
  if (a.map_state != IsViewable) return Failure{"the window is not shown"};
  XImage* xi = XGetImage(dpy_, w, 0, 0, static_cast<unsigned>(a.width),
                         static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
  if (!xi) return Failure{"the server would not give the window's pixels"};
  int rs = 0, rb = 0, gs = 0, gb = 0, bs = 0, bb = 0;
  maskShape(xi->red_mask, &rs, &rb);
  maskShape(xi->green_mask, &gs, &gb);
  maskShape(xi->blue_mask, &bs, &bb);
  Image out(a.width, a.height);
  out.bits = std::min({rb, gb, bb});
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

Outcome<> XClient::watch(WindowId w) {
  int error = 0;
  if (damageEvent_ < 0 && !XDamageQueryExtension(dpy_, &damageEvent_, &error)) return watchable();
  if (damage_) XDamageDestroy(dpy_, damage_);
  damage_ = XDamageCreate(dpy_, w, XDamageReportNonEmpty);
  XSync(dpy_, False);
  if (!damage_) return Failure{"cannot watch the window for drawing"};
  return Done{};
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

std::string takeXErrors() {
  return std::exchange(xErrors, std::string());
}

// Printable ASCII characters have keysyms equal to their codes.
unsigned long keysymFor(char c) {
  return static_cast<unsigned char>(c);
}

}  // namespace zbv
