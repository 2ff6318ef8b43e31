#include "platform/x11/X11Monitors.h"

#include <X11/Xlib.h>
#ifdef VANTREL_HAVE_XRANDR
#include <X11/extensions/Xrandr.h>
#endif

#include <algorithm>

#include "platform/x11/X11Display.h"

namespace plat {

namespace {

#ifdef VANTREL_HAVE_XRANDR

#if RANDR_MAJOR > 1 || (RANDR_MAJOR == 1 && RANDR_MINOR >= 5)
std::vector<Monitor> FromMonitorList(Display* dpy, ::Window root) {
  std::vector<Monitor> out;
  int count = 0;
  if (XRRMonitorInfo* list = XRRGetMonitors(dpy, root, True, &count)) {
    for (int i = 0; i < count; ++i) {
      const XRRMonitorInfo& m = list[i];
      out.push_back({gfx::Rect::FromXYWH(m.x, m.y, m.width, m.height), m.mwidth, m.mheight, m.primary != 0});
    }
    XRRFreeMonitors(list);
  }
  return out;
}
#endif

std::vector<Monitor> FromCrtcs(Display* dpy, ::Window root) {
  std::vector<Monitor> out;
  XRRScreenResources* res = XRRGetScreenResourcesCurrent(dpy, root);
  if (!res) return out;
  const RROutput primary = XRRGetOutputPrimary(dpy, root);
  for (int c = 0; c < res->ncrtc; ++c) {
    XRRCrtcInfo* crtc = XRRGetCrtcInfo(dpy, res, res->crtcs[c]);
    if (!crtc) continue;
    if (crtc->mode != None && crtc->width > 0 && crtc->height > 0) {
      Monitor m{gfx::Rect::FromXYWH(crtc->x, crtc->y, int(crtc->width), int(crtc->height)), 0, 0, false};
      for (int o = 0; o < crtc->noutput; ++o) {
        if (crtc->outputs[o] == primary) m.Primary = true;
        if (o > 0) continue;
        if (XRROutputInfo* info = XRRGetOutputInfo(dpy, res, crtc->outputs[o])) {
          // The output's size is the panel's; a turned CRTC shows it the other way round.
          const bool turned = crtc->rotation & (RR_Rotate_90 | RR_Rotate_270);
          m.WidthMm = int(turned ? info->mm_height : info->mm_width);
          m.HeightMm = int(turned ? info->mm_width : info->mm_height);
          XRRFreeOutputInfo(info);
        }
      }
      // Clones show one picture on several outputs: one monitor.
      auto same = std::find_if(out.begin(), out.end(), [&](const Monitor& k) { return k.Bounds == m.Bounds; });
      if (same == out.end()) out.push_back(m);
      else same->Primary = same->Primary || m.Primary;
    }
    XRRFreeCrtcInfo(crtc);
  }
  XRRFreeScreenResources(res);
  return out;
}

#endif

}  // namespace

std::vector<Monitor> QueryMonitors(X11Display& display) {
  std::vector<Monitor> out;
#ifdef VANTREL_HAVE_XRANDR
  if (!display.HasRandr() || display.ConnectionLost()) return out;
  Display* dpy = display.Dpy();
  int major = 0, minor = 0;
  if (!XRRQueryVersion(dpy, &major, &minor)) return out;
#if RANDR_MAJOR > 1 || (RANDR_MAJOR == 1 && RANDR_MINOR >= 5)
  if (major > 1 || (major == 1 && minor >= 5)) out = FromMonitorList(dpy, display.Root());
#endif
  if (out.empty() && (major > 1 || (major == 1 && minor >= 2))) out = FromCrtcs(dpy, display.Root());
#else
  (void)display;
#endif
  std::erase_if(out, [](const Monitor& m) { return m.Bounds.IsEmpty(); });
  if (out.empty()) return out;
  // The primary first; with none marked, the first the server named stands in for it.
  auto primary = std::find_if(out.begin(), out.end(), [](const Monitor& m) { return m.Primary; });
  if (primary == out.end()) primary = out.begin();
  std::rotate(out.begin(), primary, primary + 1);
  for (std::size_t i = 0; i < out.size(); ++i) out[i].Primary = i == 0;
  return out;
}

}  // namespace plat
