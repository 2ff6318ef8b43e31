#include "app/BackendChoice.h"

#include <cstdlib>

#ifdef VANTREL_WITH_X11
#include "platform/x11/X11Platform.h"
#endif
#ifdef VANTREL_WITH_WAYLAND
#include "platform/wayland/WaylandPlatform.h"
#endif

namespace {

const char* Env(const char* name) {
  const char* v = std::getenv(name);
  return v && *v ? v : nullptr;
}

template <class P>
TOpenedBackend Opened(std::unique_ptr<P> p, const char* name) {
  TOpenedBackend b;
  P* raw = p.get();
  b.FName = name;
  b.FSetConnectionLostHandler = [raw](std::function<void()> h) { raw->SetConnectionLostHandler(std::move(h)); };
  b.FConnectionLost = [raw] { return raw->ConnectionLost(); };
  b.FPlatform = std::move(p);
  return b;
}

// Each answers the opened backend, or none with the reason in WHY.
TOpenedBackend TryWayland(std::string& why) {
#ifdef VANTREL_WITH_WAYLAND
  if (!Env("WAYLAND_DISPLAY")) {
    why = "WAYLAND_DISPLAY is not set";
    return {};
  }
  auto w = plat::WaylandPlatform::Open(nullptr, why);
  if (w) return Opened(std::move(w), "wayland");
  return {};
#else
  why = "this copy of Vantrel was built without the Wayland backend";
  return {};
#endif
}

TOpenedBackend TryX11(std::string& why) {
#ifdef VANTREL_WITH_X11
  const char* display = Env("DISPLAY");
  if (!display) {
    why = "DISPLAY is not set";
    return {};
  }
  auto x = plat::X11Platform::Open(display);
  if (x) return Opened(std::move(x), "x11");
  why = std::string("cannot open the display \"") + display + "\"";
  return {};
#else
  why = "this copy of Vantrel was built without the X11 backend";
  return {};
#endif
}

}  // namespace

TOpenedBackend OpenBackend(const std::string& forced) {
  std::string why;
  TOpenedBackend b;
  if (forced == "wayland" || forced == "x11") {
    b = forced == "wayland" ? TryWayland(why) : TryX11(why);
    if (!b.FPlatform) b.FReason = "the " + forced + " backend cannot start: " + why + ".";
    return b;
  }
  if (!forced.empty()) {
    b.FReason = "unknown backend \"" + forced + "\" (use --backend=wayland or --backend=x11).";
    return b;
  }
  // A Wayland session without layer-shell (GNOME) still runs X11 programs through XWayland.
  std::string waylandWhy;
  if (Env("WAYLAND_DISPLAY")) {
    b = TryWayland(waylandWhy);
    if (b.FPlatform) return b;
  }
  if (Env("DISPLAY")) {
    b = TryX11(why);
    if (b.FPlatform) return b;
    b.FReason = why + ".";
    return b;
  }
  b.FReason = waylandWhy.empty() ? "" : "Wayland: " + waylandWhy + ".";
  return b;
}
