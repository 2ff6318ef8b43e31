#include "platform/x11/X11XWayland.h"

#include <X11/Xlib.h>
#include <X11/Xresource.h>
#ifdef VANTREL_HAVE_XRANDR
#include <X11/extensions/Xrandr.h>
#endif

#include <algorithm>
#include <string>

#include "platform/x11/X11Display.h"

namespace plat {

bool LooksLikeXWayland(const std::vector<std::string>& names, bool extension) {
  return extension ||
         std::any_of(names.begin(), names.end(), [](const std::string& n) { return n.rfind("XWAYLAND", 0) == 0; });
}

bool DetectXWayland(X11Display& display) {
  if (display.ConnectionLost()) return false;
  Display* dpy = display.Dpy();
  int opcode = 0, event = 0, error = 0;
  const bool extension = XQueryExtension(dpy, "XWAYLAND", &opcode, &event, &error);
  std::vector<std::string> names;
#ifdef VANTREL_HAVE_XRANDR
  if (display.HasRandr()) {
    if (XRRScreenResources* res = XRRGetScreenResourcesCurrent(dpy, display.Root())) {
      for (int o = 0; o < res->noutput; ++o)
        if (XRROutputInfo* info = XRRGetOutputInfo(dpy, res, res->outputs[o])) {
          names.emplace_back(info->name, std::size_t(std::max(info->nameLen, 0)));
          XRRFreeOutputInfo(info);
        }
      XRRFreeScreenResources(res);
    }
#if RANDR_MAJOR > 1 || (RANDR_MAJOR == 1 && RANDR_MINOR >= 5)
    int count = 0;
    if (XRRMonitorInfo* list = XRRGetMonitors(dpy, display.Root(), True, &count)) {
      for (int i = 0; i < count; ++i)
        if (char* name = list[i].name != None ? XGetAtomName(dpy, list[i].name) : nullptr) {
          names.emplace_back(name);
          XFree(name);
        }
      XRRFreeMonitors(list);
    }
#endif
  }
#endif
  return LooksLikeXWayland(names, extension);
}

bool PortalAskedFor(X11Display& display) {
  if (display.ConnectionLost()) return false;
  const char* resources = XResourceManagerString(display.Dpy());
  if (!resources) return false;
  XrmInitialize();
  XrmDatabase db = XrmGetStringDatabase(resources);
  if (!db) return false;
  char* type = nullptr;
  XrmValue value{};
  bool on = false;
  if (XrmGetResource(db, "vantrel.screenshotPortal", "Vantrel.ScreenshotPortal", &type, &value) && value.addr) {
    const std::string text(value.addr, value.size && value.addr[value.size - 1] == '\0' ? value.size - 1 : value.size);
    on = text == "true" || text == "on" || text == "1" || text == "yes";
  }
  XrmDestroyDatabase(db);
  return on;
}

}  // namespace plat
