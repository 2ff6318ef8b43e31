#pragma once
// Protocol errors (BadWindow from a client that went away, BadMatch from focusing a window
// that is not viewable yet, a failed MIT-SHM attach) must never end the program, which is
// what Xlib's default handler does. One process-wide handler records the last error; a trap
// lets a caller ask whether the requests it made failed.
#include <X11/Xlib.h>

namespace plat {

class X11ErrorTrap {
 public:
  explicit X11ErrorTrap(Display* dpy);  // syncs, then starts recording
  ~X11ErrorTrap();
  X11ErrorTrap(const X11ErrorTrap&) = delete;
  X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

  // Syncs and answers whether any request since the trap was set failed.
  bool Failed();
  int ErrorCode() const { return FCode; }

  // Installs the quiet process-wide handler (Xlib's handlers are global by design). Idempotent.
  static void InstallHandler();

 private:
  Display* FDisplay;
  int FCode = 0;
  int FSavedCode = 0;
};

}  // namespace plat
