#include "platform/x11/X11Platform.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <unistd.h>
#ifdef VANTREL_HAVE_XRANDR
#include <X11/extensions/Xrandr.h>
#endif

#include <X11/Xatom.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <cstdio>
#include <cerrno>

#ifdef VANTREL_HAVE_SNI
#include "platform/dbus/StatusNotifierItem.h"
#endif
#include "platform/x11/X11Clipboard.h"
#include "platform/x11/X11Keys.h"
#include "platform/x11/X11Monitors.h"
#include "platform/x11/X11ScreenCapture.h"
#include "platform/x11/X11TrayIcon.h"
#include "platform/x11/X11Window.h"
#include "platform/x11/X11XWayland.h"
#ifdef VANTREL_HAVE_PORTAL
#include "platform/portal/ScreenshotPortal.h"
#endif

namespace plat {

namespace {
// How long closing the program may wait for a clipboard manager to take our copy.
constexpr int kClipboardHandOverMs = 1000;
// How long a paste may wait for another program to hand over the clipboard's text: owners
// answer at once, one that hangs must not freeze the program for long.
constexpr int kClipboardReadMs = 1000;
}  // namespace

std::unique_ptr<X11Platform> X11Platform::Open(const char* display) {
  std::unique_ptr<X11Display> d = X11Display::Open(display);
  if (!d) return nullptr;
  return std::unique_ptr<X11Platform>(new X11Platform(std::move(d)));
}

X11Platform::X11Platform(std::unique_ptr<X11Display> display)
    : FDisplay(std::move(display)), FPointer(*FDisplay) {
  Display* dpy = FDisplay->Dpy();
  FCursors = std::make_unique<X11CursorCache>(dpy, FDisplay->Root());
  FClipboard = std::make_unique<X11Clipboard>(*FDisplay);
  Register(FClipboard->Handle(), FClipboard.get());
  FHelp = std::make_unique<X11HelpService>(*this);
  FSound = std::make_unique<X11Sound>(*FDisplay);
  XFlush(dpy);
}

void X11Platform::FinishSetUp() {
  // Each of these waits for the server's answer, some several times (about ten round trips),
  // and the first frame needs none of them: the loop's first pass does them, after the strip's
  // map has gone out. Until then the pointer is simply asked for each time.
  FSetUpFinished = true;
  if (FDisplay->ConnectionLost()) return;
  Display* dpy = FDisplay->Dpy();
  // Without this, a held key arrives as release/press pairs; with it, only presses repeat.
  Bool supported = False;
  XkbSetDetectableAutoRepeat(dpy, True, &supported);
#ifdef VANTREL_HAVE_XRANDR
  if (FDisplay->HasRandr())
    XRRSelectInput(dpy, FDisplay->Root(), RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask);
#endif
  FPointer.Watch();
}

bool X11Platform::WatchesPointerMotion() {
  if (!FSetUpFinished) FinishSetUp();
  return FPointer.Watching();
}

X11ScreenCapture& X11Platform::Capture() {
  if (!FCapture) FCapture = std::make_unique<X11ScreenCapture>(*FDisplay);
  return *FCapture;
}

X11Platform::~X11Platform() {
  HandOverClipboard(kClipboardHandOverMs);
  if (FClipboard) Unregister(FClipboard->Handle());
  FClipboard.reset();
  FCapture.reset();
  if (FDisplay->ConnectionLost()) FCursors->Forget();
  FCursors.reset();
}

// ---- screen ----

Size X11Platform::ScreenSize() {
  // The root window spans every monitor.
  if (!FScreenSize) FScreenSize = Size{FDisplay->RootWidth(), FDisplay->RootHeight()};
  return *FScreenSize;
}

std::vector<Monitor> X11Platform::Monitors() {
  if (!FMonitors) {
    FMonitors = QueryMonitors(*FDisplay);
    if (FMonitors->empty()) FMonitors = Platform::Monitors();
  }
  return *FMonitors;
}

Rect X11Platform::WorkArea() {
  const Size screen = ScreenSize();
  const Rect whole{0, 0, screen.cx, screen.cy};
  if (FDisplay->ConnectionLost()) return whole;
  Display* dpy = FDisplay->Dpy();
  const Atom workArea = XInternAtom(dpy, "_NET_WORKAREA", True);
  const Atom current = XInternAtom(dpy, "_NET_CURRENT_DESKTOP", True);
  if (workArea == None) return whole;
  auto cardinals = [&](Atom property, std::vector<long>& out) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, FDisplay->Root(), property, 0, 1024, False, XA_CARDINAL, &type, &format, &count,
                           &after, &data) != Success)
      return;
    if (data && type == XA_CARDINAL && format == 32) {
      const long* v = reinterpret_cast<const long*>(data);
      out.assign(v, v + count);
    }
    if (data) XFree(data);
  };
  std::vector<long> areas, desktop;
  cardinals(workArea, areas);
  if (current != None) cardinals(current, desktop);
  const std::size_t index = desktop.empty() ? 0 : std::size_t(desktop[0]);
  if (areas.size() < 4 * (index + 1)) return whole;
  const long* a = &areas[4 * index];
  const Rect r = Rect::FromXYWH(int(a[0]), int(a[1]), int(a[2]), int(a[3])).Intersect(whole);
  // A manager reporting nonsense must not squeeze menus into nothing.
  return r.Width() >= screen.cx / 2 && r.Height() >= screen.cy / 2 ? r : whole;
}

void X11Platform::Sleep(unsigned ms) {
  if (ms) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int X11Platform::ScreenDepth() { return DefaultDepth(FDisplay->Dpy(), FDisplay->ScreenNumber()); }

gfx::Bitmap X11Platform::CaptureScreen(const Rect& r) { return Capture().Capture(r); }

bool X11Platform::ThroughPortal() {
  if (!FThroughPortal) FThroughPortal = DetectXWayland(*FDisplay) || PortalAskedFor(*FDisplay);
  return *FThroughPortal;
}

void X11Platform::RequestDesktopPicture(std::function<void(DesktopPicture)> done) {
  if (!ThroughPortal()) return Platform::RequestDesktopPicture(std::move(done));
#ifdef VANTREL_HAVE_PORTAL
  if (!FPortal) FPortal = std::make_shared<ScreenshotPortal>(*this);
  FPortal->Request(std::move(done));
#else
  done(DesktopPicture{{}, "The screen could not be frozen: under XWayland the screen is read through the "
                          "desktop's screenshot portal, and this Vantrel was built without it (libsystemd)."});
#endif
}

bool X11Platform::CaptureUsesShm() { return Capture().UsingShm(); }
void X11Platform::DisableShmCapture() { Capture().DisableShm(); }
bool X11Platform::ClipboardOwned() const { return FClipboard->Owned(); }
bool X11Platform::HandOverClipboard(int timeoutMs) { return FClipboard->HandOver(timeoutMs); }

// ---- pointer and keys ----

bool X11Platform::GetCursorPos(Point& p) { return FPointer.Get(p, NowMs()); }

void X11Platform::SetCursorPos(Point p) {
  if (FDisplay->ConnectionLost()) return;
  FPointer.Invalidate();
  // A warp produces the same motion and crossing events as a real move.
  XWarpPointer(FDisplay->Dpy(), None, FDisplay->Root(), 0, 0, 0, 0, p.x, p.y);
  XFlush(FDisplay->Dpy());
}

bool X11Platform::IsKeyDown(int vk) {
  if (FDisplay->ConnectionLost()) return false;
  Display* dpy = FDisplay->Dpy();
  if (vk == VK_LBUTTON || vk == VK_RBUTTON || vk == VK_MBUTTON) {
    ::Window root, child;
    int rx, ry, wx, wy;
    unsigned mask = 0;
    if (!XQueryPointer(dpy, FDisplay->Root(), &root, &child, &rx, &ry, &wx, &wy, &mask)) return false;
    const unsigned want = vk == VK_LBUTTON ? Button1Mask : vk == VK_RBUTTON ? Button3Mask : Button2Mask;
    return (mask & want) != 0;
  }
  char keys[32];
  XQueryKeymap(dpy, keys);
  for (KeySym ks : X11Keys::KeySymsOf(vk)) {
    const KeyCode code = XKeysymToKeycode(dpy, ks);
    if (code != 0 && (keys[code / 8] & (1 << (code % 8)))) return true;
  }
  return false;
}

bool X11Platform::IsKeyToggled(int vk) {
  if (FDisplay->ConnectionLost()) return false;
  // The lock keys' state is their keyboard indicator.
  const char* name = vk == VK_CAPITAL ? "Caps Lock" : vk == 0x90 ? "Num Lock" : vk == 0x91 ? "Scroll Lock" : nullptr;
  if (!name) return false;
  Display* dpy = FDisplay->Dpy();
  Bool on = False;
  if (!XkbGetNamedIndicator(dpy, XInternAtom(dpy, name, False), nullptr, &on, nullptr, nullptr)) return false;
  return on;
}

// ---- windows ----

std::unique_ptr<NativeWindow> X11Platform::CreateWindow(const WindowParams& params, WindowListener* listener) {
  auto w = std::make_unique<X11Window>(*this, *FDisplay, params, listener);
  if (params.TopMost) BandRaise(w.get());
  return w;
}

void X11Platform::WindowCreated(X11Window* w) { FWindows.push_back(w); }

void X11Platform::WindowDestroyed(X11Window* w) {
  std::erase(FWindows, w);
  std::erase(FBand, w);
  if (FCaptureOwner == w) FCaptureOwner = nullptr;
}

void X11Platform::TrayIconDestroyed(X11TrayIcon* icon) { std::erase(FTrayIcons, icon); }

void X11Platform::BandRaise(X11Window* w) {
  std::erase(FBand, w);
  FBand.push_back(w);
}

void X11Platform::BandRemove(X11Window* w) { std::erase(FBand, w); }

void X11Platform::RestackTopMost() {
  if (FDisplay->ConnectionLost()) return;
  // Bottom to top, so the band keeps its own order above everything else.
  for (X11Window* w : FBand)
    if (w->Visible() && w->SelfStacked()) XRaiseWindow(FDisplay->Dpy(), w->Handle());
}

void X11Platform::ActivateFallback(X11Window* except) {
  if (FDisplay->ConnectionLost()) return;
  ::Window root, parent, *children = nullptr;
  unsigned n = 0;
  if (!XQueryTree(FDisplay->Dpy(), FDisplay->Root(), &root, &parent, &children, &n)) return;
  X11Window* next = nullptr;
  for (unsigned i = n; i-- > 0 && !next;) {  // top of the stack first
    for (X11Window* w : FWindows)
      if (w != except && w->Handle() == children[i] && w->Visible() && w->Kind() != WindowKind::Popup) next = w;
  }
  if (children) XFree(children);
  if (next) next->Activate();
}

// ---- timers and the loop ----

Platform::TimerId X11Platform::StartTimer(unsigned intervalMs, std::function<void()> onTick) {
  return FTimers.Start(intervalMs, std::move(onTick), NowMs());
}

void X11Platform::StopTimer(TimerId id) { FTimers.Stop(id); }

bool X11Platform::CheckConnection() {
  if (!FDisplay->ConnectionLost()) return true;
  if (!FLostReported) {
    FLostReported = true;
    if (FOnConnectionLost) FOnConnectionLost();
  }
  return false;
}

bool X11Platform::DispatchQueued(bool readSocket) {
  Display* dpy = FDisplay->Dpy();
  bool any = false;
  if (!readSocket) {
    // Only what was read before: each read costs system calls on every tick of an idle program.
    while (!FDisplay->ConnectionLost() && XEventsQueued(dpy, QueuedAlready) > 0) {
      XEvent ev;
      XNextEvent(dpy, &ev);
      any = true;
      if (XFilterEvent(&ev, None)) continue;
      Dispatch(ev);
    }
    return any;
  }
  // XPending reads what the socket holds without blocking; a dead connection reports none.
  // Only what is there now: a flood of motion must not keep the timers from firing.
  // (Handlers may take events from the queue themselves, so it is checked again each time.)
  for (int n = FDisplay->ConnectionLost() ? 0 : XPending(dpy);
       n > 0 && !FDisplay->ConnectionLost() && XEventsQueued(dpy, QueuedAlready) > 0; --n) {
    XEvent ev;
    XNextEvent(dpy, &ev);
    any = true;
    if (XFilterEvent(&ev, None)) continue;  // the input method took it (a compose sequence)
    Dispatch(ev);
  }
  return any;
}

void X11Platform::Dispatch(XEvent& ev) {
  FPointer.NewPass();
  FTimers.NoteInput();
  if (FPointer.TakeEvent(ev)) return;
  // The keyboard's mapping changed (another layout, or a tool that maps a spare key for a
  // moment): keys must be looked up in the new one.
  if (ev.type == MappingNotify) {
    XRefreshKeyboardMapping(&ev.xmapping);
    return;
  }
  switch (ev.type) {
    case KeyPress:
    case KeyRelease: FLastEventTime = ev.xkey.time; break;
    case ButtonPress:
    case ButtonRelease: FLastEventTime = ev.xbutton.time; break;
    case MotionNotify: FLastEventTime = ev.xmotion.time; break;
    case EnterNotify:
    case LeaveNotify: FLastEventTime = ev.xcrossing.time; break;
    default: break;
  }
  if (ev.xany.window == FDisplay->Root()) {
    HandleRootEvent(ev);
    return;
  }
  auto it = FSinks.find(ev.xany.window);
  if (it != FSinks.end()) {
    it->second->HandleEvent(ev);
    return;
  }
  FClipboard->HandleRequestorEvent(ev);
}

void X11Platform::HandleRootEvent(XEvent& ev) {
  const X11Atoms& at = FDisplay->Atoms();
  switch (ev.type) {
    case PropertyNotify:
      if (ev.xproperty.atom == at.NetSupportingWmCheck) FDisplay->RefreshWindowManager();
      break;
    case ClientMessage:
      // A tray started: dock our icons there.
      if (ev.xclient.message_type == at.Manager && Atom(ev.xclient.data.l[1]) == at.NetSystemTrayS)
        for (X11TrayIcon* icon : FTrayIcons) icon->Dock();
      break;
    case ConfigureNotify:
      if (ev.xconfigure.window == FDisplay->Root()) {
        ScreenChanged(ev);
      } else if (!IsOurs(ev.xconfigure.window)) {
        // Another window was restacked or moved: keep our topmost band above it.
        RestackTopMost();
      }
      break;
    case MapNotify:
      if (!IsOurs(ev.xmap.window)) RestackTopMost();
      break;
    default:
      if (ev.type >= LASTEvent) ScreenChanged(ev);  // RandR: monitors changed
      break;
  }
}

void X11Platform::ScreenChanged(XEvent& ev) {
#ifdef VANTREL_HAVE_XRANDR
  XRRUpdateConfiguration(&ev);  // keeps Xlib's idea of the root size current
#else
  (void)ev;
#endif
  FScreenSize.reset();
  FMonitors.reset();
}

bool X11Platform::FireTimers() {
  FPointer.NewPass();
  // A timer may run a loop of its own, or throw: the outermost round ends the flag.
  struct Round {
    X11PointerCache& Pointer;
    const bool Outer = !Pointer.InTimers();
    ~Round() {
      if (Outer) Pointer.SetInTimers(false);
    }
  } round{FPointer};
  FPointer.SetInTimers(true);
  return FTimers.FireDue(NowMs());
}

int X11Platform::WaitMs(std::uint64_t now) const {
  const int onTime = FTimers.TimeoutMs(now);
  // Idle: the pointer stands still and any move would raise an event that wakes the poll.
  if (!FPointer.Idle() || onTime < 0) return onTime;
  const int idle = FTimers.TimeoutMs(now, true);
  // Not past the moment the cached position is to be asked for again (warps by other
  // programs raise no event), but never before a timer is due, which would spin the loop.
  const std::uint64_t trustEnds = FPointer.TrustEndsAt();
  const int untilQuery = trustEnds > now ? int(trustEnds - now) : 0;
  return std::min(idle, std::max(onTime, untilQuery));
}

bool X11Platform::ProcessEvents(bool wait) {
  if (!CheckConnection()) return false;
  if (!FSetUpFinished) FinishSetUp();
  Display* dpy = FDisplay->Dpy();
  FLauncher.Reap();
  // The main loop (WAIT) reads the socket only in the flush before it sleeps: an idle program
  // wakes for its timers alone, and each read costs system calls. Other callers want what
  // arrived at once.
  const bool readFirst = !wait;
  bool did = DispatchQueued(readFirst);
  if (!wait && !FWatches.empty()) {
    // What the watched services sent meanwhile, without sleeping (nested loops pump this way).
    FPollFds.assign(1, pollfd{-1, 0, 0});  // the display's place, read above
    for (FdWatch* w : FWatches) FPollFds.push_back(pollfd{w->Fd(), w->PollEvents(), 0});
    DispatchWatches(poll(FPollFds.data(), nfds_t(FPollFds.size()), 0) > 0);
  }
  FPointer.SetJustRead(readFirst);
  did = FireTimers() || did;
  FPointer.SetJustRead(false);
  if (wait && !did && !FDisplay->ConnectionLost()) {
    // Sends our requests and reads what the server sent, including events the library took
    // in while it waited for a reply, which a poll of the socket would not see.
    XFlush(dpy);
    FFlushedRequest = XNextRequest(dpy);
    bool readable = true;
    if (XEventsQueued(dpy, QueuedAlready) == 0) {
      // Sleep until the server or a watched service sends something, or the next timer or a
      // watch's deadline is due: no busy waiting.
      FPollFds.assign(1, pollfd{ConnectionNumber(dpy), POLLIN, 0});
      int timeout = WaitMs(NowMs());
      for (FdWatch* w : FWatches) {
        FPollFds.push_back(pollfd{w->Fd(), w->PollEvents(), 0});
        const int due = w->TimeoutMs();
        if (due >= 0 && (timeout < 0 || due < timeout)) timeout = due;
      }
      const int n = poll(FPollFds.data(), nfds_t(FPollFds.size()), timeout);
      // A hang-up shows up as readable; the read in DispatchQueued then notices the loss.
      readable = n < 0 || FPollFds[0].revents != 0;
      DispatchWatches(n > 0);
    }
    DispatchQueued(readable);
    FPointer.SetJustRead(true);
    FireTimers();
    FPointer.SetJustRead(false);
  }
  // Only when something was asked of the server since the last flush: every flush also reads.
  if (!FDisplay->ConnectionLost() && XNextRequest(dpy) != FFlushedRequest) {
    XFlush(dpy);
    FFlushedRequest = XNextRequest(dpy);
  }
  return CheckConnection();
}

bool X11Platform::AddFdWatch(FdWatch* w) {
  if (std::find(FWatches.begin(), FWatches.end(), w) == FWatches.end()) FWatches.push_back(w);
  return true;
}

void X11Platform::RemoveFdWatch(FdWatch* w) { std::erase(FWatches, w); }

void X11Platform::DispatchWatches(bool polledReady) {
  // FPollFds[i + 1] belongs to the watch that was FWatches[i] when the poll began; a dispatch
  // may remove any watch, so each is looked up again before it runs.
  const std::vector<FdWatch*> polled = FWatches;
  for (std::size_t i = 0; i < polled.size() && i + 1 < FPollFds.size(); ++i) {
    FdWatch* w = polled[i];
    if (std::find(FWatches.begin(), FWatches.end(), w) == FWatches.end()) continue;
    if ((polledReady && FPollFds[i + 1].revents != 0) || w->TimeoutMs() == 0) {
      FPointer.NewPass();
      w->Dispatch();
    }
  }
}

// ---- shell services ----

void X11Platform::SetClipboardBitmap(const gfx::Bitmap& bmp) { FClipboard->SetBitmap(bmp); }
void X11Platform::SetClipboardText(const std::string& utf8) { FClipboard->SetText(utf8); }
std::optional<std::string> X11Platform::ClipboardText() { return FClipboard->Text(kClipboardReadMs); }

bool X11Platform::TrayAvailable() {
  if (X11TrayIcon::TrayOwner(*FDisplay) != None) return true;
#ifdef VANTREL_HAVE_SNI
  if (StatusNotifierItem::WatcherPresent()) return true;
#endif
  return false;
}

std::unique_ptr<TrayIcon> X11Platform::CreateTrayIcon(TrayIconListener* listener) {
#ifdef VANTREL_HAVE_SNI
  // Panels that speak StatusNotifierItem may also run an XEmbed tray for old programs; the
  // item is what they show best.
  if (auto item = StatusNotifierItem::Create(*this, listener)) return item;
#endif
  if (X11TrayIcon::TrayOwner(*FDisplay) == None) return nullptr;
  auto icon = std::make_unique<X11TrayIcon>(*this, *FDisplay, listener);
  icon->Dock();
  return icon;
}

void X11Platform::ShellOpen(const std::string& target) {
  if (target.empty()) return;
  std::string error;
  if (!FLauncher.Spawn({"xdg-open", target}, error)) std::fprintf(stderr, "vantrel: %s\n", error.c_str());
}

void X11Platform::PlaySystemSound(const std::string& name) { FSound->Play(name); }

void X11Platform::Beep() {
  if (FDisplay->ConnectionLost()) return;
  XBell(FDisplay->Dpy(), 0);
  XFlush(FDisplay->Dpy());
}

void X11Platform::ShowHelp(const std::string& file, const std::string& command) { FHelp->Show(file, command); }

}  // namespace plat
