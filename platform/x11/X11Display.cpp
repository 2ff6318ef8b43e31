#include "platform/x11/X11Display.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/shape.h>
#include <fcntl.h>
#ifdef VANTREL_HAVE_XRANDR
#include <X11/extensions/Xrandr.h>
#endif

#include "platform/x11/X11ErrorTrap.h"

namespace plat {

namespace {
// Xlib reports a lost connection here first; returning lets the exit hook decide.
int QuietIoErrorHandler(Display*) { return 0; }

::Window ReadWindowProperty(Display* dpy, ::Window w, Atom prop) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  ::Window result = None;
  if (XGetWindowProperty(dpy, w, prop, 0, 1, False, XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
      data) {
    if (type == XA_WINDOW && format == 32 && count == 1) result = ::Window(reinterpret_cast<unsigned long*>(data)[0]);
    XFree(data);
  }
  return result;
}
}  // namespace

std::unique_ptr<X11Display> X11Display::Open(const char* name) {
  X11ErrorTrap::InstallHandler();
  XSetIOErrorHandler(QuietIoErrorHandler);
  Display* dpy = XOpenDisplay(name);
  if (!dpy) return nullptr;
  std::unique_ptr<X11Display> d(new X11Display());
  d->FDpy = dpy;
  XSetIOErrorExitHandler(dpy, &X11Display::OnIoErrorExit, d.get());
  // Children we start (xdg-open) must not inherit the connection.
  fcntl(ConnectionNumber(dpy), F_SETFD, FD_CLOEXEC);
  d->FScreen = DefaultScreen(dpy);
  d->FRoot = RootWindow(dpy, d->FScreen);
  d->FAtoms.Intern(dpy, d->FScreen);
  d->ChooseVisual();

  int eventBase = 0, errorBase = 0;
  if (XShapeQueryExtension(dpy, &eventBase, &errorBase)) {
    d->FHasShape = true;
    d->FShapeEventBase = eventBase;
    int major = 0, minor = 0;
    if (XShapeQueryVersion(dpy, &major, &minor)) d->FHasInputShape = major > 1 || (major == 1 && minor >= 1);
  }
  // Root property changes tell us when a window manager starts or stops.
  XSelectInput(dpy, d->FRoot, PropertyChangeMask | SubstructureNotifyMask | StructureNotifyMask);
  d->RefreshWindowManager();
  return d;
}

bool X11Display::HasShm() const {
  if (!FHasShm) FHasShm = !FLost && XShmQueryExtension(FDpy);
  return *FHasShm;
}

bool X11Display::HasRandr() const {
#ifdef VANTREL_HAVE_XRANDR
  int eventBase = 0, errorBase = 0;
  if (!FHasRandr) FHasRandr = !FLost && XRRQueryExtension(FDpy, &eventBase, &errorBase);
  return *FHasRandr;
#else
  return false;
#endif
}

X11Display::~X11Display() {
  if (FIm && !FLost) XCloseIM(FIm);
  if (FOwnColormap && !FLost) XFreeColormap(FDpy, FColormap);
  XCloseDisplay(FDpy);
}

void X11Display::OnIoErrorExit(Display*, void* self) { static_cast<X11Display*>(self)->FLost = true; }

int X11Display::RootWidth() const { return DisplayWidth(FDpy, FScreen); }
int X11Display::RootHeight() const { return DisplayHeight(FDpy, FScreen); }

void X11Display::ChooseVisual() {
  Visual* def = DefaultVisual(FDpy, FScreen);
  const int defDepth = DefaultDepth(FDpy, FScreen);
  FRootTrueColor = def->c_class == TrueColor;
  FRootFormat = X11PixelFormat(def->red_mask, def->green_mask, def->blue_mask);
  if (def->c_class == TrueColor && defDepth >= 15 && defDepth <= 24) {
    FVisual = def;
    FDepth = defDepth;
    FColormap = DefaultColormap(FDpy, FScreen);
  } else {
    // A 24-bit TrueColor visual with its own colormap keeps our pixels exact on odd servers.
    XVisualInfo info;
    if (XMatchVisualInfo(FDpy, FScreen, 24, TrueColor, &info)) {
      FVisual = info.visual;
      FDepth = 24;
      FColormap = XCreateColormap(FDpy, FRoot, FVisual, AllocNone);
      FOwnColormap = true;
    } else {
      FVisual = def;
      FDepth = defDepth;
      FColormap = DefaultColormap(FDpy, FScreen);
    }
  }
  FWindowFormat = X11PixelFormat(FVisual->red_mask, FVisual->green_mask, FVisual->blue_mask);
}

XIM X11Display::InputMethod() {
  if (!FImTried && !FLost) {
    FImTried = true;
    OpenInputMethod();
  }
  return FIm;
}

void X11Display::OpenInputMethod() {
  // The user's input method (XMODIFIERS) first, then Xlib's built-in one, which still gives
  // compose sequences and text for every keyboard layout, whatever the locale.
  if (!XSupportsLocale()) return;
  if (XSetLocaleModifiers("")) FIm = XOpenIM(FDpy, nullptr, nullptr, nullptr);
  if (!FIm && XSetLocaleModifiers("@im=none")) FIm = XOpenIM(FDpy, nullptr, nullptr, nullptr);
  if (!FIm) return;
  // Only the simplest style: we draw no preedit text, the method commits finished text.
  XIMStyles* styles = nullptr;
  bool usable = false;
  if (!XGetIMValues(FIm, XNQueryInputStyle, &styles, nullptr) && styles) {
    for (unsigned short i = 0; i < styles->count_styles; ++i)
      if (styles->supported_styles[i] == (XIMPreeditNothing | XIMStatusNothing)) usable = true;
    XFree(styles);
  }
  if (!usable) {
    XCloseIM(FIm);
    FIm = nullptr;
  }
}

void X11Display::RefreshWindowManager() {
  if (FLost) return;
  // The root window always exists: only the check window can be gone (and raise an error).
  const ::Window check = ReadWindowProperty(FDpy, FRoot, FAtoms.NetSupportingWmCheck);
  if (check == None) {
    FWmRunning = false;
    return;
  }
  X11ErrorTrap trap(FDpy);
  // The check window names itself when the manager is alive; a stale property does not.
  FWmRunning = ReadWindowProperty(FDpy, check, FAtoms.NetSupportingWmCheck) == check;
  if (trap.Failed()) FWmRunning = false;
}

Time X11Display::ServerTime(::Window window) {
  if (FLost) return CurrentTime;
  unsigned char dummy = 0;
  XChangeProperty(FDpy, window, FAtoms.VantrelTime, XA_STRING, 8, PropModeAppend, &dummy, 0);
  XEvent ev;
  // Bounded wait: the notification arrives within one round trip on a live connection.
  for (int i = 0; i < 200; ++i) {
    if (XCheckTypedWindowEvent(FDpy, window, PropertyNotify, &ev)) {
      if (ev.xproperty.atom == FAtoms.VantrelTime) return ev.xproperty.time;
      continue;
    }
    XSync(FDpy, False);
    if (FLost) break;
  }
  return CurrentTime;
}

}  // namespace plat
