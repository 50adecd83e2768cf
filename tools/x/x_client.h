// SPDX-License-Identifier: MIT
// A connection to an X server, used as a person uses a desktop: find a window by its name,
// press keys in it, resize, move or close it, read back what it shows and learn when it
// draws.
#ifndef TOOLS_X_CLIENT_H
#define TOOLS_X_CLIENT_H

#include <string>
#include <vector>

#include "image.h"
#include "outcome.h"

struct _XDisplay;

namespace zbv {

using WindowId = unsigned long;

// A connection to an X server ($DISPLAY unless named). X errors are not fatal: every one is
// recorded, and takeXErrors() hands them over.
class XClient {
 public:
  explicit XClient(const char* name = nullptr);
  ~XClient();
  XClient(const XClient&) = delete;
  XClient& operator=(const XClient&) = delete;

  // Whether there is a server at all: the connection opened.
  Outcome<> connected() const;
  // Whether this server can tell when a window draws (it has the DAMAGE extension).
  Outcome<> watchable() const;
  // Whether the screen's pictures can be read back as colours: a TrueColor visual with at
  // least 5 bits per channel (a 15-, 16- or 24-bit server); else one line naming its bits.
  Outcome<> trueColour() const;
  // Whether a window manager runs (one that announces itself, as EWMH asks).
  bool windowManager() const;

  // Every window below the root, depth first.
  std::vector<WindowId> windows() const;
  // The raw bytes of a window's WM_NAME; empty when it has none.
  std::string name(WindowId w) const;
  bool viewable(WindowId w) const;
  // Whether a window manager has iconified the window (its WM_STATE says Iconic).
  bool iconic(WindowId w) const;
  // Whether the whole window lies on the screen, where it can be read back.
  bool onScreen(WindowId w) const;
  struct Size {
    int width, height;
  };
  Outcome<Size> size(WindowId w) const;
  // What the window shows, with the bits per channel of its visual.
  Outcome<Image> grab(WindowId w) const;
  // Press and release the key for an X keysym (XK_1, XK_Escape ...), sent to the window.
  void key(WindowId w, unsigned long keysym) const;
  void resize(WindowId w, int width, int height) const;
  void move(WindowId w, int x, int y) const;
  void close(WindowId w) const;  // as a window manager's close button would

  // Watches what a program draws into one window (through the X DAMAGE extension), so that
  // a caller can wait for the frame an action causes even when it looks like the last one.
  Outcome<> watch(WindowId w);
  // Whether anything was drawn into the watched window since the last call (reads and
  // discards the events that have come in).
  bool drawnSince();

 private:
  _XDisplay* dpy_ = nullptr;
  int damageEvent_ = -1;
  unsigned long damage_ = 0;
};

// Every X error this process has met since the last call (on any connection, GLUT's
// included), one line each; empty when there was none.
std::string takeXErrors();

// The X keysym for a printable ASCII character.
unsigned long keysymFor(char c);

}  // namespace zbv

#endif  // TOOLS_X_CLIENT_H
