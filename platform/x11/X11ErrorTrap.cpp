#include "platform/x11/X11ErrorTrap.h"

namespace plat {

namespace {
// The last error code seen by the handler. Xlib calls the handler without a user pointer, so
// this is the one piece of process-wide state the backend needs; only the GUI thread uses it.
int gLastErrorCode = 0;

int QuietErrorHandler(Display*, XErrorEvent* e) {
  gLastErrorCode = e->error_code;
  return 0;
}
}  // namespace

void X11ErrorTrap::InstallHandler() { XSetErrorHandler(QuietErrorHandler); }

X11ErrorTrap::X11ErrorTrap(Display* dpy) : FDisplay(dpy) {
  XSync(FDisplay, False);
  FSavedCode = gLastErrorCode;
  gLastErrorCode = 0;
}

X11ErrorTrap::~X11ErrorTrap() { gLastErrorCode = FSavedCode; }

bool X11ErrorTrap::Failed() {
  XSync(FDisplay, False);
  if (gLastErrorCode != 0) FCode = gLastErrorCode;
  return FCode != 0;
}

}  // namespace plat
