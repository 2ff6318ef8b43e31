#include "platform/x11/X11ErrorTrap.h"

#include <cstdio>
#include <cstdlib>

namespace plat {

namespace {
// The last error code seen by the handler. Xlib calls the handler without a user pointer, so
// this is the one piece of process-wide state the backend needs; only the GUI thread uses it.
int gLastErrorCode = 0;

// Set once from VANTREL_X11_ERRORS: print every protocol error (for debugging the backend).
bool gReportErrors = false;

int QuietErrorHandler(Display* dpy, XErrorEvent* e) {
  gLastErrorCode = e->error_code;
  if (gReportErrors) {
    char text[256];
    XGetErrorText(dpy, e->error_code, text, sizeof text);
    std::fprintf(stderr, "vantrel: X error %s (request %d.%d, resource 0x%lx)\n", text, e->request_code,
                 e->minor_code, e->resourceid);
  }
  return 0;
}
}  // namespace

void X11ErrorTrap::InstallHandler() {
  gReportErrors = std::getenv("VANTREL_X11_ERRORS") != nullptr;
  XSetErrorHandler(QuietErrorHandler);
}

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
