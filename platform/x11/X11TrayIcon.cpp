#include "platform/x11/X11TrayIcon.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <bit>
#include <cstdlib>

#include "platform/x11/X11Display.h"
#include "platform/x11/X11Platform.h"

namespace plat {

namespace {
constexpr long kSystemTrayRequestDock = 0;
constexpr long kXEmbedVersion = 0;
constexpr long kXEmbedMapped = 1;  // _XEMBED_INFO flag: map me once embedded
constexpr Time kDoubleClickMs = 500;
constexpr int kDoubleClickSlop = 4;

MouseButton ButtonOf(unsigned b) {
  return b == 3 ? MouseButton::Right : b == 2 ? MouseButton::Middle : MouseButton::Left;
}
}  // namespace

X11TrayIcon::X11TrayIcon(X11Platform& platform, X11Display& display, TrayIconListener* listener)
    : FPlatform(platform),
      FDisplay(display),
      FDpy(display.Dpy()),
      FListener(listener ? listener : &FNoListener),
      FTip(platform) {
  XSetWindowAttributes a{};
  // The tray's own background around the icon, where the tray's window can lend it to ours.
  const bool sameDepth = display.WindowDepth() == DefaultDepth(FDpy, DefaultScreen(FDpy));
  a.background_pixmap = sameDepth ? ParentRelative : None;
  a.border_pixel = 0;
  a.colormap = display.WindowColormap();
  a.event_mask = ExposureMask | StructureNotifyMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                 EnterWindowMask | LeaveWindowMask;
  FWindow = XCreateWindow(FDpy, display.Root(), 0, 0, unsigned(FWidth), unsigned(FHeight), 0, display.WindowDepth(),
                          InputOutput, display.WindowVisual(), CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask,
                          &a);
  FGc = XCreateGC(FDpy, FWindow, 0, nullptr);
  const long info[2] = {kXEmbedVersion, kXEmbedMapped};
  XChangeProperty(FDpy, FWindow, display.Atoms().XEmbedInfo, display.Atoms().XEmbedInfo, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(info), 2);
  XClassHint cls;
  cls.res_name = const_cast<char*>("vantrel");
  cls.res_class = const_cast<char*>("Vantrel");
  XSetClassHint(FDpy, FWindow, &cls);
  AskForSize(16, 16);
  FShown = gfx::Bitmap(FWidth, FHeight, 0);
  platform.Register(FWindow, this);
  platform.TrayIconCreated(this);
}

X11TrayIcon::~X11TrayIcon() {
  FPlatform.TrayIconDestroyed(this);
  FPlatform.Unregister(FWindow);
  XFreeGC(FDpy, FGc);
  if (!FDisplay.ConnectionLost()) {
    XDestroyWindow(FDpy, FWindow);  // the tray notices and drops the icon
    XFlush(FDpy);
  }
}

::Window X11TrayIcon::TrayOwner(X11Display& display) {
  if (display.ConnectionLost()) return None;
  return XGetSelectionOwner(display.Dpy(), display.Atoms().NetSystemTrayS);
}

bool X11TrayIcon::Dock() {
  const ::Window owner = TrayOwner(FDisplay);
  if (owner == None) return false;
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = owner;
  ev.xclient.message_type = FDisplay.Atoms().NetSystemTrayOpcode;
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = long(CurrentTime);
  ev.xclient.data.l[1] = kSystemTrayRequestDock;
  ev.xclient.data.l[2] = long(FWindow);
  XSendEvent(FDpy, owner, False, NoEventMask, &ev);
  XFlush(FDpy);
  return true;
}

void X11TrayIcon::AskForSize(int width, int height) {
  // Trays built on XEmbed sockets size an icon from its minimum size; without one they give
  // it a single pixel.
  XSizeHints hints{};
  hints.flags = PMinSize | PBaseSize;
  hints.min_width = hints.base_width = std::max(1, width);
  hints.min_height = hints.base_height = std::max(1, height);
  XSetWMNormalHints(FDpy, FWindow, &hints);
}

void X11TrayIcon::SetIcon(const gfx::Bitmap& icon) {
  if (!icon.IsEmpty() && !FDisplay.ConnectionLost() && (icon.Width() != FIcon.Width() || icon.Height() != FIcon.Height()))
    AskForSize(icon.Width(), icon.Height());
  FIcon = icon;
  Render();
  Paint();
}

void X11TrayIcon::SetTip(const std::string& tip) {
  if (FDisplay.ConnectionLost()) return;
  // Trays that show tips read the icon window's name.
  XChangeProperty(FDpy, FWindow, FDisplay.Atoms().NetWmName, FDisplay.Atoms().Utf8String, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(tip.data()), int(tip.size()));
  XStoreName(FDpy, FWindow, tip.c_str());
  XFlush(FDpy);
  FTip.SetText(tip);
}

void X11TrayIcon::Render() {
  FShownAt = {0, 0};
  if (FIcon.IsEmpty()) {
    FShown = gfx::Bitmap(FWidth, FHeight, 0);
    return;
  }
  const int iw = FIcon.Width(), ih = FIcon.Height();
  int w = FWidth, h = FHeight;
  if (FWidth >= iw && FHeight >= ih) {
    const int scale = std::min(FWidth / iw, FHeight / ih);
    w = iw * scale;
    h = ih * scale;
    FShownAt = {(FWidth - w) / 2, (FHeight - h) / 2};
  }
  // Smaller than the icon: nearest pixel is the best there is.
  FShown = gfx::Bitmap(w, h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) FShown.At(x, y) = FIcon.At(x * iw / w, y * ih / h);
}

void X11TrayIcon::Paint() {
  if (!FMapped || FDisplay.ConnectionLost()) return;
  XClearWindow(FDpy, FWindow);
  const int w = FShown.Width(), h = FShown.Height();
  XImage* image = XCreateImage(FDpy, FDisplay.WindowVisual(), unsigned(FDisplay.WindowDepth()), ZPixmap, 0, nullptr,
                               unsigned(w), unsigned(h), 32, 0);
  if (!image) return;
  image->byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
  FScratch.resize((std::size_t(image->bytes_per_line) * std::size_t(h) + 3) / 4);
  image->data = reinterpret_cast<char*>(FScratch.data());
  FDisplay.WindowFormat().Encode(FShown, FShown.Bounds(), image, 0, 0);
  XPutImage(FDpy, FWindow, FGc, image, 0, 0, FShownAt.x, FShownAt.y, unsigned(w), unsigned(h));
  image->data = nullptr;
  XDestroyImage(image);
  XFlush(FDpy);
}

void X11TrayIcon::HandleEvent(XEvent& ev) {
  switch (ev.type) {
    case Expose:
      if (ev.xexpose.count == 0) Paint();
      break;
    case MapNotify:
      FMapped = true;
      Paint();
      break;
    case UnmapNotify:
      FMapped = false;
      break;
    case ConfigureNotify:
      if (ev.xconfigure.width != FWidth || ev.xconfigure.height != FHeight) {
        FWidth = std::max(1, ev.xconfigure.width);
        FHeight = std::max(1, ev.xconfigure.height);
        Render();
        Paint();
      }
      break;
    case ReparentNotify:
      // Back on the root window means the tray went away; hide until a new one docks us.
      if (ev.xreparent.parent == FDisplay.Root()) {
        XUnmapWindow(FDpy, FWindow);
        FMapped = false;
      }
      break;
    case EnterNotify:
      FTip.Hover({ev.xcrossing.x_root, ev.xcrossing.y_root});
      break;
    case LeaveNotify:
      FTip.Hide();
      break;
    case ButtonPress: {
      FTip.Hide();
      const XButtonEvent& b = ev.xbutton;
      if (b.button < 1 || b.button > 3) break;
      const Point at{b.x_root, b.y_root};
      if (FLastClick.Valid && FLastClick.Button == b.button && b.time - FLastClick.When <= kDoubleClickMs &&
          std::abs(b.x_root - FLastClick.X) <= kDoubleClickSlop && std::abs(b.y_root - FLastClick.Y) <= kDoubleClickSlop) {
        FLastClick.Valid = false;
        FListener->OnTrayDoubleClick(ButtonOf(b.button), at);
      } else {
        FLastClick = {true, b.time, b.x_root, b.y_root, b.button};
        FListener->OnTrayMouseDown(ButtonOf(b.button), at);
      }
      break;
    }
    case ButtonRelease:
      if (ev.xbutton.button >= 1 && ev.xbutton.button <= 3)
        FListener->OnTrayMouseUp(ButtonOf(ev.xbutton.button), {ev.xbutton.x_root, ev.xbutton.y_root});
      break;
    case MotionNotify:
      FTip.Hover({ev.xmotion.x_root, ev.xmotion.y_root});
      FListener->OnTrayMouseMove({ev.xmotion.x_root, ev.xmotion.y_root});
      break;
    default: break;
  }
}

}  // namespace plat
