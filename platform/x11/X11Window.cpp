#include "platform/x11/X11Window.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdlib>

#include "platform/x11/X11Display.h"
#include "platform/x11/X11Keys.h"
#include "platform/x11/X11Platform.h"

namespace plat {

namespace {
// No PropertyChangeMask: nothing here reads our own properties back, and the loupe retitles
// itself on every tick of a moving pointer.
constexpr long kEventMask = ExposureMask | StructureNotifyMask | ButtonPressMask | ButtonReleaseMask |
                            PointerMotionMask | EnterWindowMask | LeaveWindowMask | KeyPressMask |
                            KeyReleaseMask | FocusChangeMask;
constexpr unsigned kButtonMasks = Button1Mask | Button2Mask | Button3Mask;
constexpr Time kDoubleClickMs = 500;
constexpr int kDoubleClickSlop = 4;  // pixels the pointer may move between the two clicks
constexpr int kWheelDelta = 120;
constexpr std::size_t kMaxPendingGeometry = 16;

// _MOTIF_WM_HINTS: flags, functions, decorations, input mode, status.
constexpr long kMotifHintsDecorations = 1L << 1;

// X geometry is 16-bit; keep sizes at least one pixel (X has no empty windows).
int ClampCoord(int v) { return std::clamp(v, SHRT_MIN, SHRT_MAX); }
unsigned ClampSize(int v) { return unsigned(std::clamp(v, 1, USHRT_MAX)); }

MouseButton ButtonOf(unsigned b) {
  return b == 3 ? MouseButton::Right : b == 2 ? MouseButton::Middle : MouseButton::Left;
}
ShiftState ButtonFlag(unsigned b) { return b == 1 ? ssLeft : b == 2 ? ssMiddle : b == 3 ? ssRight : 0; }
}  // namespace

X11Window::X11Window(X11Platform& platform, X11Display& display, const WindowParams& params,
                     WindowListener* listener)
    : FPlatform(platform),
      FDisplay(display),
      FDpy(display.Dpy()),
      FListener(listener ? listener : &FNoListener),
      FKind(params.Kind),
      FRole(params.Role),
      FOwner(params.Owner ? HandleOf(*params.Owner) : None),
      FTaskbarEntry(params.TaskbarEntry),
      FBounds(params.Bounds),
      FTopMost(params.TopMost) {
  XSetWindowAttributes a{};
  a.background_pixmap = None;  // the back buffer paints everything; no flash of background
  a.border_pixel = 0;
  a.colormap = display.WindowColormap();
  a.bit_gravity = NorthWestGravity;
  a.override_redirect = FKind == WindowKind::Popup;
  a.event_mask = kEventMask;
  FWindow = XCreateWindow(FDpy, display.Root(), ClampCoord(FBounds.left), ClampCoord(FBounds.top),
                          ClampSize(FBounds.Width()), ClampSize(FBounds.Height()), 0, display.WindowDepth(),
                          InputOutput, display.WindowVisual(),
                          CWBackPixmap | CWBorderPixel | CWColormap | CWBitGravity | CWOverrideRedirect | CWEventMask,
                          &a);
  FParent = display.Root();
  FGc = XCreateGC(FDpy, FWindow, 0, nullptr);
  SetWmProperties(params);
  if (FBounds.IsEmpty()) ApplyShape();
  platform.Register(FWindow, this);
  platform.WindowCreated(this);
}

X11Window::~X11Window() {
  *FAlive = false;
  const bool live = !FDisplay.ConnectionLost();
  if ((FPlatform.CaptureOwner() == this || FMoveDrag) && live) XUngrabPointer(FDpy, CurrentTime);
  if (FInputGrab) UngrabInput();
  FPlatform.WindowDestroyed(this);
  FPlatform.Unregister(FWindow);
  if (FIc) XDestroyIC(FIc);
  XFreeGC(FDpy, FGc);  // frees client memory too, so also after the connection died
  if (live) {
    XDestroyWindow(FDpy, FWindow);
    XFlush(FDpy);
  }
}

::Window X11Window::HandleOf(const NativeWindow& window) {
  const auto* w = dynamic_cast<const X11Window*>(&window);
  return w ? w->FWindow : None;
}

bool X11Window::SelfStacked() const {
  return FKind == WindowKind::Popup || !FDisplay.WindowManagerRunning();
}

void X11Window::SetWmProperties(const WindowParams& params) {
  const X11Atoms& at = FDisplay.Atoms();
  SetTitle(params.Title);

  XClassHint cls;
  cls.res_name = const_cast<char*>("vantrel");
  cls.res_class = const_cast<char*>("Vantrel");
  XSetClassHint(FDpy, FWindow, &cls);

  // Popups never take the keyboard focus; the others accept it from the window manager.
  XWMHints hints{};
  hints.flags = InputHint | StateHint;
  hints.input = FKind != WindowKind::Popup;
  hints.initial_state = NormalState;
  XSetWMHints(FDpy, FWindow, &hints);

  Atom protocols[] = {at.WmDeleteWindow, at.NetWmPing};
  XSetWMProtocols(FDpy, FWindow, protocols, 2);

  const long pid = long(getpid());
  XChangeProperty(FDpy, FWindow, at.NetWmPid, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&pid), 1);

  // The toolkit draws every frame itself.
  const long motif[5] = {kMotifHintsDecorations, 0, 0, 0, 0};
  XChangeProperty(FDpy, FWindow, at.MotifWmHints, at.MotifWmHints, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(motif), 5);

  WriteWindowType();
  WriteTransientFor();
  WriteNetWmState();
  WriteNormalHints();
}

void X11Window::WriteWindowType() {
  // Tiling managers tile normal windows only; every other type floats at its own place.
  const X11Atoms& at = FDisplay.Atoms();
  Atom type = at.NetWmWindowTypeNormal;
  switch (FRole) {
    case WindowRole::Normal: break;
    case WindowRole::Utility: type = at.NetWmWindowTypeUtility; break;
    case WindowRole::Dialog: type = at.NetWmWindowTypeDialog; break;
    case WindowRole::PopupMenu: type = at.NetWmWindowTypePopupMenu; break;
    case WindowRole::Tooltip: type = at.NetWmWindowTypeTooltip; break;
  }
  XChangeProperty(FDpy, FWindow, at.NetWmWindowType, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&type), 1);
}

void X11Window::WriteTransientFor() {
  if (FOwner != None && FOwner != FWindow)
    XSetTransientForHint(FDpy, FWindow, FOwner);
  else
    XDeleteProperty(FDpy, FWindow, XA_WM_TRANSIENT_FOR);
}

void X11Window::SetRole(WindowRole role) {
  if (role == FRole) return;
  FRole = role;
  if (!FDisplay.ConnectionLost()) WriteWindowType();
}

void X11Window::SetOwner(const NativeWindow* owner) {
  const ::Window id = owner ? HandleOf(*owner) : None;
  if (id == FOwner) return;
  FOwner = id;
  if (!FDisplay.ConnectionLost()) WriteTransientFor();
}

void X11Window::WriteNetWmState() {
  const X11Atoms& at = FDisplay.Atoms();
  std::vector<Atom> states;
  if (!FTaskbarEntry) {
    states.push_back(at.NetWmStateSkipTaskbar);
    states.push_back(at.NetWmStateSkipPager);
  }
  if (FTopMost) states.push_back(at.NetWmStateAbove);
  XChangeProperty(FDpy, FWindow, at.NetWmState, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(states.data()), int(states.size()));
}

void X11Window::SendNetWmState(bool add, Atom state) {
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = FWindow;
  ev.xclient.message_type = FDisplay.Atoms().NetWmState;
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = add ? 1 : 0;
  ev.xclient.data.l[1] = long(state);
  ev.xclient.data.l[3] = 1;  // a normal application asks
  XSendEvent(FDpy, FDisplay.Root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
}

void X11Window::WriteNormalHints() {
  // Position and size set by the program, static gravity: managers place the client area
  // exactly here. The toolkit sizes every window itself, so the only size allowed is the
  // current one (tiling managers float such windows and never stretch them); it is written
  // before each resize we ask for, so that the manager lets the new size through.
  XSizeHints* h = XAllocSizeHints();
  h->flags = USPosition | PPosition | USSize | PSize | PMinSize | PMaxSize | PWinGravity;
  h->x = FBounds.left;
  h->y = FBounds.top;
  h->width = int(ClampSize(FBounds.Width()));
  h->height = int(ClampSize(FBounds.Height()));
  h->min_width = h->max_width = h->width;
  h->min_height = h->max_height = h->height;
  h->win_gravity = StaticGravity;
  XSetWMNormalHints(FDpy, FWindow, h);
  XFree(h);
}

void X11Window::RequestGeometry(const Rect& b) {
  if (FPendingGeometry.size() >= kMaxPendingGeometry) FPendingGeometry.erase(FPendingGeometry.begin());
  // Remembered as the server will report it: X has no empty windows and 16-bit geometry.
  FPendingGeometry.push_back(Rect::FromXYWH(ClampCoord(b.left), ClampCoord(b.top), int(ClampSize(b.Width())),
                                            int(ClampSize(b.Height()))));
  FRequestSerial = NextRequest(FDpy);
  XMoveResizeWindow(FDpy, FWindow, ClampCoord(b.left), ClampCoord(b.top), ClampSize(b.Width()), ClampSize(b.Height()));
}

void X11Window::SetBounds(const Rect& bounds) {
  if (bounds == FBounds) return;
  const bool emptiness = bounds.IsEmpty() != FBounds.IsEmpty();
  FBounds = bounds;
  if (emptiness) ApplyShape();
  if (!FBack.IsEmpty()) FBack.Resize(std::max(0, bounds.Width()), std::max(0, bounds.Height()));
  if (FDisplay.ConnectionLost()) return;
  if (FKind != WindowKind::Popup) WriteNormalHints();
  RequestGeometry(bounds);
}

void X11Window::Show(bool activate) {
  if (FDisplay.ConnectionLost()) return;
  if (FVisible) {
    if (activate) Activate();
    return;
  }
  FVisible = true;
  if (FKind != WindowKind::Popup) {
    WriteNetWmState();
    WriteNormalHints();
    if (!activate && FDisplay.WindowManagerRunning()) {
      // A user time of 0 asks the manager not to focus the window when it maps.
      const long zero = 0;
      XChangeProperty(FDpy, FWindow, FDisplay.Atoms().NetWmUserTime, XA_CARDINAL, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(&zero), 1);
    }
  }
  FActivateOnMap = activate && FKind != WindowKind::Popup;
  BackBuffer();  // the exposure after the map paints from it
  XMapRaised(FDpy, FWindow);
  // The map goes out now: the server shows the window while we finish. Its cursor waits for
  // the first frame (PutRect): the cursor theme's library and files are read only then.
  XFlush(FDpy);
  if (FTopMost) FPlatform.BandRaise(this);
  FPlatform.RestackTopMost();
  // Without a window manager the server maps at once. Taking the notification now activates
  // the window before the program paints (its first frame reads the font configuration), so
  // that input coming right after the map finds it active, as it would an idle program.
  if (FActivateOnMap && !FDisplay.WindowManagerRunning()) {
    XSync(FDpy, False);
    XEvent ev;
    if (XCheckTypedWindowEvent(FDpy, FWindow, MapNotify, &ev)) HandleEvent(ev);
  }
}

void X11Window::Hide() {
  if (!FVisible) return;
  FVisible = false;
  FActivateOnMap = false;
  if (FMoveDrag) EndMoveDrag();
  if (FInputGrab) UngrabInput();
  if (FDisplay.ConnectionLost()) return;
  if (FKind != WindowKind::Popup && FDisplay.WindowManagerRunning())
    XWithdrawWindow(FDpy, FWindow, FDisplay.ScreenNumber());
  else
    XUnmapWindow(FDpy, FWindow);
  XFlush(FDpy);
  const bool wasActive = FActive;
  std::shared_ptr<bool> alive = FAlive;
  if (FPlatform.CaptureOwner() == this) LoseCapture();
  // Without a manager nobody else hands the focus on; give it to our next window.
  if (*alive && wasActive && !FDisplay.WindowManagerRunning()) FPlatform.ActivateFallback(this);
}

void X11Window::Raise() {
  XRaiseWindow(FDpy, FWindow);
  if (FTopMost)
    FPlatform.BandRaise(this);
  else
    FPlatform.RestackTopMost();
}

void X11Window::SetZOrder(ZOrder z) {
  if (FDisplay.ConnectionLost()) return;
  const bool wmState = FKind != WindowKind::Popup && FDisplay.WindowManagerRunning();
  switch (z) {
    case ZOrder::TopMost:
      if (!FTopMost) {
        FTopMost = true;
        if (wmState) {
          if (FMapped) SendNetWmState(true, FDisplay.Atoms().NetWmStateAbove);
          else WriteNetWmState();
        }
      }
      Raise();
      break;
    case ZOrder::NoTopMost:
      // As HWND_NOTOPMOST: a window that is not topmost stays where it is.
      if (!FTopMost) return;
      FTopMost = false;
      FPlatform.BandRemove(this);
      if (wmState) {
        if (FMapped) SendNetWmState(false, FDisplay.Atoms().NetWmStateAbove);
        else WriteNetWmState();
      }
      Raise();
      break;
    case ZOrder::Top:
      Raise();
      break;
    case ZOrder::Bottom:
      if (FTopMost) {
        FTopMost = false;
        FPlatform.BandRemove(this);
        if (wmState && FMapped) SendNetWmState(false, FDisplay.Atoms().NetWmStateAbove);
        else if (wmState) WriteNetWmState();
      }
      XLowerWindow(FDpy, FWindow);
      break;
  }
  XFlush(FDpy);  // stacking takes effect now, as the classic call does
}

void X11Window::SetRegion(std::optional<gfx::Region> region) {
  FRegion = std::move(region);
  ApplyShape();
}

void X11Window::ApplyShape() {
  if (FDisplay.ConnectionLost() || !FDisplay.HasShape()) return;  // plain rectangle without XShape
  if (!FRegion && !FBounds.IsEmpty()) {
    XShapeCombineMask(FDpy, FWindow, ShapeBounding, 0, 0, None, ShapeSet);
    if (FDisplay.HasInputShape()) XShapeCombineMask(FDpy, FWindow, ShapeInput, 0, 0, None, ShapeSet);
    return;
  }
  // An empty window is an X window of one pixel that must show nothing and catch nothing.
  std::vector<XRectangle> rects;
  if (FRegion && !FBounds.IsEmpty()) {
    rects.reserve(FRegion->Rects().size());
    for (const Rect& r : FRegion->Rects()) {
      const Rect c = r.Intersect({SHRT_MIN, SHRT_MIN, SHRT_MAX, SHRT_MAX});
      if (c.IsEmpty()) continue;
      rects.push_back({short(c.left), short(c.top), (unsigned short)c.Width(), (unsigned short)c.Height()});
    }
  }
  XShapeCombineRectangles(FDpy, FWindow, ShapeBounding, 0, 0, rects.data(), int(rects.size()), ShapeSet, Unsorted);
  if (FDisplay.HasInputShape())
    XShapeCombineRectangles(FDpy, FWindow, ShapeInput, 0, 0, rects.data(), int(rects.size()), ShapeSet, Unsorted);
}

void X11Window::SetTitle(const std::string& title) {
  if (FDisplay.ConnectionLost()) return;
  XChangeProperty(FDpy, FWindow, FDisplay.Atoms().NetWmName, FDisplay.Atoms().Utf8String, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(title.data()), int(title.size()));
  // WM_NAME is Latin-1; old managers get the ASCII part.
  std::string ascii;
  for (char c : title) ascii += (static_cast<unsigned char>(c) < 0x80) ? c : '?';
  XStoreName(FDpy, FWindow, ascii.c_str());
}

void X11Window::Activate() {
  if (!FVisible || FDisplay.ConnectionLost()) return;
  if (!FMapped) {
    FActivateOnMap = FKind != WindowKind::Popup;
    return;
  }
  Raise();
  if (FKind == WindowKind::Popup) return;
  if (FDisplay.WindowManagerRunning()) {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = FWindow;
    ev.xclient.message_type = FDisplay.Atoms().NetActiveWindow;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = 1;  // from an application
    ev.xclient.data.l[1] = long(FPlatform.LastEventTime());
    XSendEvent(FDpy, FDisplay.Root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
  }
  // A BadMatch (the window is not viewable after all) is harmless and ignored.
  XSetInputFocus(FDpy, FWindow, RevertToParent, CurrentTime);
  XFlush(FDpy);
}

void X11Window::SetCapture() {
  if (FDisplay.ConnectionLost()) return;
  X11Window* prev = FPlatform.CaptureOwner();
  if (prev == this) return;
  if (prev) prev->LoseCapture();
  const int r = XGrabPointer(FDpy, FWindow, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                             GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
  if (r == GrabSuccess) FPlatform.SetCaptureOwner(this);
}

void X11Window::ReleaseCapture() {
  // A window releases only what it holds: its own capture, or the implicit grab of a button
  // pressed on it (then later moves go to whatever window is under the pointer).
  const bool explicitGrab = FPlatform.CaptureOwner() == this;
  if (!explicitGrab && !FImplicitGrab) return;
  if (explicitGrab) FPlatform.SetCaptureOwner(nullptr);
  FImplicitGrab = false;
  if (!FDisplay.ConnectionLost()) {
    XUngrabPointer(FDpy, CurrentTime);
    XFlush(FDpy);
  }
}

void X11Window::LoseCapture() {
  if (FPlatform.CaptureOwner() != this) return;
  FPlatform.SetCaptureOwner(nullptr);
  if (!FDisplay.ConnectionLost()) XUngrabPointer(FDpy, CurrentTime);
  FListener->OnCaptureLost();
}

bool X11Window::GrabInput() {
  if (FDisplay.ConnectionLost() || !FVisible) return false;
  // Owner events: our other windows keep getting their own input; the rest comes here. The
  // window was just mapped, so the server already sees it viewable.
  constexpr unsigned kMask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
  // The grab replaces any capture of ours (losing it ungrabs, so before grabbing).
  if (X11Window* holder = FPlatform.CaptureOwner(); holder && holder != this) holder->LoseCapture();
  int pointer = XGrabPointer(FDpy, FWindow, True, kMask, GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
  // Another client may hold a short grab of its own (a panel closing its menu): try a few times.
  for (int i = 0; i < 5 && pointer == AlreadyGrabbed; ++i) {
    usleep(10000);
    pointer = XGrabPointer(FDpy, FWindow, True, kMask, GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
  }
  if (pointer != GrabSuccess) return false;
  if (XGrabKeyboard(FDpy, FWindow, True, GrabModeAsync, GrabModeAsync, CurrentTime) != GrabSuccess) {
    XUngrabPointer(FDpy, CurrentTime);
    XFlush(FDpy);
    return false;
  }
  FInputGrab = true;
  XFlush(FDpy);
  return true;
}

void X11Window::UngrabInput() {
  if (!FInputGrab) return;
  FInputGrab = false;
  if (FDisplay.ConnectionLost()) return;
  XUngrabKeyboard(FDpy, CurrentTime);
  XUngrabPointer(FDpy, CurrentTime);
  XFlush(FDpy);
}

void X11Window::SetCursor(const CursorLook& cursor) {
  if (FDisplay.ConnectionLost()) return;
  // A hidden window takes its cursor once shown and drawn: the cursor theme is not looked up
  // before the first frame.
  if (!FVisible || FPendingCursor) {
    FPendingCursor = cursor;
    return;
  }
  const Cursor c = FPlatform.Cursors().Get(cursor);
  if (c == FCursor) return;  // the toolkit sets the cursor on every move
  FCursor = c;
  XDefineCursor(FDpy, FWindow, c);
  XFlush(FDpy);
}

void X11Window::BeginMoveDrag() {
  if (!FMapped || FMoveDrag || FDisplay.ConnectionLost()) return;
  ::Window root, child;
  int rx, ry, wx, wy;
  unsigned mask = 0;
  if (!XQueryPointer(FDpy, FDisplay.Root(), &root, &child, &rx, &ry, &wx, &wy, &mask)) return;
  if (!(mask & Button1Mask)) return;  // the move runs only while the left button is held
  // We move the window ourselves (with or without a manager): the result is exact and the
  // same everywhere. The grab keeps the moves coming when the pointer outruns the window.
  if (XGrabPointer(FDpy, FWindow, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                   GrabModeAsync, None, None, CurrentTime) != GrabSuccess)
    return;
  // The move takes the pointer over: a capture elsewhere is lost, our own simply ends.
  if (X11Window* holder = FPlatform.CaptureOwner(); holder && holder != this) holder->LoseCapture();
  FPlatform.SetCaptureOwner(nullptr);
  FDragOffset = {rx - FBounds.left, ry - FBounds.top};
  FMoveDrag = true;
}

void X11Window::EndMoveDrag() {
  FMoveDrag = false;
  if (!FDisplay.ConnectionLost()) {
    XUngrabPointer(FDpy, CurrentTime);
    XFlush(FDpy);
  }
}

gfx::Bitmap& X11Window::BackBuffer() {
  const int w = std::max(0, FBounds.Width()), h = std::max(0, FBounds.Height());
  if (FBack.Width() != w || FBack.Height() != h) FBack.Resize(w, h);
  return FBack;
}

void X11Window::Present(const Rect& dirty) {
  if (!FMapped || FDisplay.ConnectionLost()) return;  // the Expose after mapping paints it all
  const Rect r = dirty.Intersect(FBack.Bounds());
  if (r.IsEmpty()) return;
  PutRect(r);
}

void X11Window::PutRect(const Rect& r) {
  XImage* image = XCreateImage(FDpy, FDisplay.WindowVisual(), unsigned(FDisplay.WindowDepth()), ZPixmap, 0, nullptr,
                               unsigned(r.Width()), unsigned(r.Height()), 32, 0);
  if (!image) return;
  // Our pixels are written in native order; Xlib swaps on the way if the server differs.
  image->byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
  const std::size_t bytes = std::size_t(image->bytes_per_line) * std::size_t(r.Height());
  FScratch.resize((bytes + 3) / 4);
  image->data = reinterpret_cast<char*>(FScratch.data());
  FDisplay.WindowFormat().Encode(FBack, r, image, 0, 0);
  XPutImage(FDpy, FWindow, FGc, image, 0, 0, r.left, r.top, unsigned(r.Width()), unsigned(r.Height()));
  image->data = nullptr;
  XDestroyImage(image);
  if (FPendingCursor && FVisible) {
    const CursorLook cursor = std::move(*FPendingCursor);
    FPendingCursor.reset();
    SetCursor(cursor);
  }
}

Rect X11Window::QueryBounds() {
  ::Window child, root;
  int x = 0, y = 0, gx = 0, gy = 0;
  unsigned w = 0, h = 0, border = 0, depth = 0;
  XTranslateCoordinates(FDpy, FWindow, FDisplay.Root(), 0, 0, &x, &y, &child);
  if (!XGetGeometry(FDpy, FWindow, &root, &gx, &gy, &w, &h, &border, &depth)) return Rect::FromXYWH(x, y, FBounds.Width(), FBounds.Height());
  return Rect::FromXYWH(x, y, int(w), int(h));
}

// ---- events ----

void X11Window::HandleEvent(XEvent& ev) {
  switch (ev.type) {
    case Expose:
      if (FMapped) PutRect(Rect::FromXYWH(ev.xexpose.x, ev.xexpose.y, ev.xexpose.width, ev.xexpose.height).Intersect(FBack.Bounds()));
      break;
    case ButtonPress: OnButtonPress(ev.xbutton); break;
    case ButtonRelease: OnButtonRelease(ev.xbutton); break;
    case MotionNotify: OnMotion(ev.xmotion); break;
    case KeyPress: OnKey(ev.xkey, true); break;
    case KeyRelease: OnKey(ev.xkey, false); break;
    case LeaveNotify: {
      const XCrossingEvent& c = ev.xcrossing;
      if ((c.mode == NotifyNormal || c.mode == NotifyUngrab) && c.detail != NotifyInferior &&
          !(c.state & kButtonMasks) && FPlatform.CaptureOwner() != this && !FMoveDrag)
        FListener->OnMouseLeave();
      break;
    }
    case FocusIn: OnFocus(ev.xfocus, true); break;
    case FocusOut: OnFocus(ev.xfocus, false); break;
    case ConfigureNotify: OnConfigure(ev.xconfigure); break;
    case ReparentNotify: FParent = ev.xreparent.parent; break;
    case MapNotify: OnMapped(); break;
    case UnmapNotify:
      FMapped = false;
      break;
    case ClientMessage: OnClientMessage(ev.xclient); break;
    default: break;
  }
}

void X11Window::OnButtonPress(XButtonEvent& e) {
  if (FMoveDrag) return;
  MouseEvent m;
  m.Pos = {e.x, e.y};
  m.ScreenPos = {e.x_root, e.y_root};
  if (e.button == 4 || e.button == 5) {
    m.Shift = X11Keys::ShiftOf(e.state);
    FListener->OnMouseWheel(m, e.button == 4 ? kWheelDelta : -kWheelDelta);
    return;
  }
  if (e.button < 1 || e.button > 3) return;
  // Without a manager nobody focuses a clicked window: do what one would (popups excepted).
  if (!FDisplay.WindowManagerRunning() && FKind != WindowKind::Popup && !FPlatform.CaptureOwner() &&
      !(e.state & kButtonMasks))
    Activate();
  FImplicitGrab = true;  // the server holds the pointer for us until the buttons are up
  m.Button = ButtonOf(e.button);
  m.Shift = ShiftState(X11Keys::ShiftOf(e.state) | ButtonFlag(e.button));
  if (FLastClick.Valid && FLastClick.Button == e.button && e.time - FLastClick.When <= kDoubleClickMs &&
      std::abs(e.x_root - FLastClick.X) <= kDoubleClickSlop && std::abs(e.y_root - FLastClick.Y) <= kDoubleClickSlop) {
    m.DoubleClick = true;
    m.Shift |= ssDouble;
    FLastClick.Valid = false;  // a third click starts a new pair
  } else {
    FLastClick = {true, e.time, e.x_root, e.y_root, e.button};
  }
  FListener->OnMouseDown(m);
}

void X11Window::OnButtonRelease(XButtonEvent& e) {
  if (FMoveDrag) {
    // The release of the left button ends the move and reaches no window.
    if (e.button == 1) EndMoveDrag();
    return;
  }
  if (e.button < 1 || e.button > 3) return;
  MouseEvent m;
  m.Pos = {e.x, e.y};
  m.ScreenPos = {e.x_root, e.y_root};
  m.Button = ButtonOf(e.button);
  m.Shift = ShiftState(X11Keys::ShiftOf(e.state) & ~ButtonFlag(e.button));
  if (!(m.Shift & (ssLeft | ssRight | ssMiddle))) FImplicitGrab = false;
  FListener->OnMouseUp(m);
}

void X11Window::OnMotion(XMotionEvent& e) {
  // Only the newest of a run of queued moves matters (keeps dragging cheap).
  XEvent next;
  while (XEventsQueued(FDpy, QueuedAlready) > 0) {
    XPeekEvent(FDpy, &next);
    if (next.type != MotionNotify || next.xmotion.window != FWindow) break;
    XNextEvent(FDpy, &next);
    e = next.xmotion;
  }
  if (FMoveDrag) {
    if (!(e.state & Button1Mask)) {  // released where we could not see it
      EndMoveDrag();
      return;
    }
    const Rect moved = Rect::FromXYWH(e.x_root - FDragOffset.x, e.y_root - FDragOffset.y, FBounds.Width(), FBounds.Height());
    if (moved == FBounds) return;
    FBounds = moved;
    if (FKind != WindowKind::Popup) WriteNormalHints();
    RequestGeometry(moved);
    FListener->OnMoved(FBounds);
    return;
  }
  MouseEvent m;
  m.Pos = {e.x, e.y};
  m.ScreenPos = {e.x_root, e.y_root};
  m.Shift = X11Keys::ShiftOf(e.state);
  FListener->OnMouseMove(m);
}

void X11Window::OnKey(XKeyEvent& e, bool down) {
  char text[32];
  KeySym shifted = NoSymbol;
  const int length = XLookupString(&e, text, sizeof text, &shifted, nullptr);
  KeySym base = XLookupKeysym(&e, 0);
  // Keypad keys follow Num Lock, which only the shifted lookup knows.
  if (IsKeypadKey(base) || base == NoSymbol) base = shifted;
  int vk = X11Keys::VirtualKeyOf(base);
  if (vk == 0) vk = X11Keys::VirtualKeyOf(shifted);

  KeyEvent k;
  k.Key = vk;
  if (down) {
    k.Repeat = FKeysDown.count(e.keycode) != 0;
    FKeysDown.insert(e.keycode);
    k.Shift = ShiftState(X11Keys::ShiftOf(e.state) | X11Keys::ModifierFlagOf(vk));
  } else {
    FKeysDown.erase(e.keycode);
    k.Shift = ShiftState(X11Keys::ShiftOf(e.state) & ~X11Keys::ModifierFlagOf(vk));
  }
  std::shared_ptr<bool> alive = FAlive;
  if (!down) {
    if (vk) FListener->OnKeyUp(k);
    return;
  }
  if (vk) FListener->OnKeyDown(k);
  if (!*alive) return;
  // Alt combinations are commands, not text (the classic system-character rule).
  if (e.state & Mod1Mask) return;
  std::string utf8 = X11Keys::TextOf(shifted, text, length);
  EnsureInputContext();
  if (FIc) {
    // The input method knows every layout's characters and the compose sequences.
    char buf[64];
    Status status = 0;
    KeySym ks = NoSymbol;
    const int n = Xutf8LookupString(FIc, &e, buf, sizeof buf, &ks, &status);
    if (status == XLookupChars || status == XLookupBoth) {
      utf8.assign(buf, std::size_t(std::max(0, n)));
      if (utf8 == "\x7f") utf8.clear();  // Delete gives no character
    } else if (status == XLookupNone || status == XLookupKeySym) {
      utf8.clear();
    }
  }
  if (!utf8.empty()) FListener->OnChar(utf8);
}

// The input context is made when the window first takes the keyboard (popups never do).
void X11Window::EnsureInputContext() {
  if (FIcTried || FKind == WindowKind::Popup) return;
  FIcTried = true;
  if (XIM im = FDisplay.InputMethod())
    FIc = XCreateIC(im, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, FWindow, XNFocusWindow,
                    FWindow, nullptr);
}

void X11Window::OnFocus(XFocusChangeEvent& e, bool in) {
  if (e.mode == NotifyGrab || e.mode == NotifyUngrab) return;  // a keyboard grab elsewhere, not a change
  if (e.detail == NotifyPointer || e.detail == NotifyInferior) return;
  if (FActive == in) return;
  FActive = in;
  if (in) EnsureInputContext();
  if (FIc) {
    if (in)
      XSetICFocus(FIc);
    else
      XUnsetICFocus(FIc);
  }
  if (!in) FKeysDown.clear();
  FListener->OnActivate(in);
}

void X11Window::OnConfigure(XConfigureEvent& e) {
  // Between Show and the map a manager may place the window by its own rules; that is not
  // a move, and OnMapped puts the window back where it was asked.
  if (FVisible && !FMapped) return;
  // Inside a manager's frame the real event's position is relative to the frame; the
  // manager's synthetic event carries the screen position (ICCCM 4.1.5). So a real event
  // there tells only the size.
  const bool sizeOnly = !e.send_event && FParent != FDisplay.Root() && FParent != None;
  const Rect got = sizeOnly ? Rect::FromXYWH(FBounds.left, FBounds.top, e.width, e.height)
                            : Rect::FromXYWH(e.x, e.y, e.width, e.height);
  auto same = [&](const Rect& r) {
    return sizeOnly ? r.Width() == got.Width() && r.Height() == got.Height() : r == got;
  };
  // Our own requests come back one by one; only a geometry nobody asked for is news.
  auto mine = std::find_if(FPendingGeometry.begin(), FPendingGeometry.end(), same);
  if (mine != FPendingGeometry.end()) {
    FPendingGeometry.erase(FPendingGeometry.begin(), mine + 1);
    return;
  }
  // What the window looked like before the server took our latest request is old news: the
  // answer to that request follows (managers answer even a refusal, ICCCM 4.1.5).
  if (e.serial < FRequestSerial) return;
  const Rect current = Rect::FromXYWH(FBounds.left, FBounds.top, int(ClampSize(FBounds.Width())),
                                      int(ClampSize(FBounds.Height())));
  if (got == current) return;
  FPendingGeometry.clear();
  const bool resized = got.Width() != current.Width() || got.Height() != current.Height();
  FBounds = got;
  if (resized && !FBack.IsEmpty()) FBack.Resize(got.Width(), got.Height());
  FListener->OnMoved(FBounds);
}

void X11Window::OnMapped() {
  FMapped = true;
  if (FKind != WindowKind::Popup && FDisplay.WindowManagerRunning()) {
    // Some managers place and size new windows by their own rules (tiling, decorations they
    // took back, a smallest size of their own); ask once more for what the program set. A
    // manager that insists answers with its own geometry, which then counts.
    const Rect actual = QueryBounds();
    const Rect asked = Rect::FromXYWH(ClampCoord(FBounds.left), ClampCoord(FBounds.top), int(ClampSize(FBounds.Width())),
                                      int(ClampSize(FBounds.Height())));
    if (actual != asked) RequestGeometry(FBounds);
  }
  FPlatform.RestackTopMost();
  if (FActivateOnMap) {
    FActivateOnMap = false;
    Activate();
  }
}

void X11Window::OnClientMessage(XClientMessageEvent& e) {
  const X11Atoms& at = FDisplay.Atoms();
  if (e.message_type != at.WmProtocols || e.format != 32) return;
  const Atom what = Atom(e.data.l[0]);
  if (what == at.NetWmPing) {
    XEvent reply{};
    reply.xclient = e;
    reply.xclient.window = FDisplay.Root();
    XSendEvent(FDpy, FDisplay.Root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &reply);
  } else if (what == at.WmDeleteWindow) {
    FListener->OnCloseRequest();
  }
}

}  // namespace plat
