#pragma once
// The X11 backend: Vantrel on a real X server, with or without a window manager.
//
// Implemented
//   [x] undecorated top-level windows (_MOTIF_WM_HINTS), no task-bar/pager entries unless asked
//   [x] exact placement (USPosition/PPosition, static gravity, geometry re-asserted after map)
//   [x] floating under tiling managers (i3 and the like): EWMH window types by role (utility,
//       dialog, popup menu, tooltip), WM_TRANSIENT_FOR the owner, min = max size hints
//       rewritten before every resize we ask for; stale ConfigureNotify events (older than our
//       latest request, by serial) are ignored, a manager's answer to a request counts
//   [x] popups are override-redirect and never take focus (WM_HINTS input = False)
//   [x] topmost band: _NET_WM_STATE_ABOVE under a window manager, restacking without one
//       (our topmost windows go back on top whenever another window is raised or mapped)
//   [x] regions with XShape (bounding + input shape), looked up at run time
//   [x] pointer query/warp, explicit capture (XGrabPointer), implicit grab during drags
//   [x] pointer position cached while XInput2 motion shows the pointer still (X11PointerCache;
//       asked again at least every second: other clients' warps over their own windows raise
//       no event for us)
//   [x] standard cursors from the cursor font, custom monochrome cursors
//   [x] screen capture from the root window, MIT-SHM fast path, off-screen parts black
//   [x] back buffer per window, Present/Expose push only the damaged rectangle
//   [x] keys -> virtual-key codes with shift state, auto-repeat flag, text as UTF-8 through
//       the input method (any layout, compose sequences; XIM "nothing" style, no preedit)
//   [x] double clicks (500 ms, 4 px), wheel, mouse leave
//   [x] one-thread poll() loop over the X connection and the timers (CLOCK_MONOTONIC)
//   [x] quick to the first frame: what it does not need (key auto-repeat detection, RandR
//       notifications, XInput2 motion, the MIT-SHM and RandR queries, cursors) waits until
//       the map has gone out and the loop first runs
//   [x] clipboard: CLIPBOARD owner serving TARGETS, image/png, image/bmp, INCR for large data,
//       handed to a clipboard manager (SAVE_TARGETS) when the program ends; text read from
//       another owner as UTF8_STRING (INCR too) with a bounded wait
//   [x] focus: XSetInputFocus (+ _NET_ACTIVE_WINDOW under a manager); without a manager,
//       hiding the active window passes the focus to our next window
//   [x] move drag (the caption strip) done by us, exact with or without a manager
//   [x] tray icon: a StatusNotifierItem where a StatusNotifierWatcher runs on the session bus
//       (built with libsystemd), else an XEmbed notification-area icon (_NET_SYSTEM_TRAY_Sn),
//       re-docked when a tray appears, with its tool tip drawn by us (trays show none for
//       embedded icons)
//   [x] other services' descriptors (the session bus) watched in the same poll (AddFdWatch)
//   [x] xdg-open through fork/execvp (no shell), children reaped without blocking
//   [x] help: the HTML help document opened once, at its topic's anchor (X11HelpService)
//   [x] menu sounds: the freedesktop theme's events through libcanberra when it is built in
//       and the desktop allows them (X11Sound); Beep rings the X bell
//   [x] work area from _NET_WORKAREA; pointer and keyboard grabs for open menus
//   [x] monitors from RandR (its monitor list, else the active CRTCs), physical sizes in mm,
//       the primary first; asked again after the screen changes
//   [x] XBell, screen size from the root window (all monitors), executable folder from /proc
//   [x] lost connection: ProcessEvents returns false (see SetConnectionLostHandler)
//   [x] XWayland told from a real server (X11XWayland): there the screen is not readable and
//       the desktop's picture comes from the screenshot portal (when built with sd-bus); the X
//       resource "Vantrel.screenshotPortal: true" asks for the same on any server
// Missing
//   [ ] dialogs (save file, colour, message box): the toolkit draws its own
//   [ ] input-method preedit (on-the-spot composition windows for CJK methods)
//   [ ] non-TrueColor root windows for screen capture (read as black)
//   [ ] inverted cursor pixels (shown black: core cursors cannot invert)
//   [ ] system sounds other than the menu's (silent)
//
// Use: auto x11 = X11Platform::Open(); if (!x11) explain that a display is needed;
//      Platform::SetCurrent(x11.get()); x11->SetConnectionLostHandler(save settings);
//      then run the loop until ProcessEvents returns false. Windows and tray icons must be
//      destroyed before the platform that made them.
// Needs libX11 1.7 or newer (XSetIOErrorExitHandler). VANTREL_X11_ERRORS=1 prints the X
// protocol errors the backend otherwise ignores.
#include <X11/Xlib.h>
#include <poll.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Platform.h"
#include "platform/x11/X11CursorCache.h"
#include "platform/x11/X11Display.h"
#include "platform/x11/X11EventSink.h"
#include "platform/x11/X11HelpService.h"
#include "platform/x11/X11Launcher.h"
#include "platform/x11/X11PointerCache.h"
#include "platform/x11/X11Sound.h"
#include "platform/x11/X11TimerQueue.h"

namespace plat {

class ScreenshotPortal;
class X11Clipboard;
class X11ScreenCapture;
class X11TrayIcon;
class X11Window;

class X11Platform final : public Platform {
 public:
  // Connects to DISPLAY (or $DISPLAY); null when no display can be opened.
  static std::unique_ptr<X11Platform> Open(const char* display = nullptr);
  ~X11Platform() override;
  X11Platform(const X11Platform&) = delete;
  X11Platform& operator=(const X11Platform&) = delete;

  Size ScreenSize() override;
  Rect WorkArea() override;  // _NET_WORKAREA of the current desktop, within the screen
  std::vector<Monitor> Monitors() override;
  int ScreenDepth() override;
  gfx::Bitmap CaptureScreen(const Rect& r) override;
  bool ScreenReadable() override { return !ThroughPortal(); }
  // The root window on a real X server, the screenshot portal under XWayland.
  void RequestDesktopPicture(std::function<void(DesktopPicture)> done) override;
  // Whether the screen is read through the portal: the server is XWayland, or the X resource
  // Vantrel.screenshotPortal says so (asked once).
  bool ThroughPortal();

  bool GetCursorPos(Point& p) override;
  void SetCursorPos(Point p) override;
  bool IsKeyDown(int virtualKey) override;
  bool IsKeyToggled(int virtualKey) override;

  std::unique_ptr<NativeWindow> CreateWindow(const WindowParams& params, WindowListener* listener) override;

  std::uint64_t NowMs() override { return X11TimerQueue::NowMs(); }
  void Sleep(unsigned ms) override;
  TimerId StartTimer(unsigned intervalMs, std::function<void()> onTick) override;
  void StopTimer(TimerId id) override;
  // Honoured while the pointer is still and watched through XInput2, at most until its
  // cached position is due to be asked for again.
  void SetTimerIdleTolerance(TimerId id, unsigned ms) override { FTimers.SetIdleTolerance(id, ms); }
  bool ProcessEvents(bool wait) override;
  // Watched in the loop's one poll: an idle program still sleeps until something arrives.
  bool AddFdWatch(FdWatch* w) override;
  void RemoveFdWatch(FdWatch* w) override;

  void SetClipboardBitmap(const gfx::Bitmap& bmp) override;
  void SetClipboardText(const std::string& utf8) override;
  std::optional<std::string> ClipboardText() override;
  bool TrayAvailable() override;
  std::unique_ptr<TrayIcon> CreateTrayIcon(TrayIconListener* listener) override;
  void ShellOpen(const std::string& target) override;
  void PlaySystemSound(const std::string& name) override;
  void Beep() override;
  void ShowHelp(const std::string& file, const std::string& command) override;

  // When the X server goes away, Xlib calls turn into no-ops and the next ProcessEvents
  // returns false; HANDLER runs once just before that, so the program can write its settings
  // while it unwinds. (Xlib's I/O error hook must not return to the failed request; we use
  // its exit hook, which may return, instead of exiting the process.)
  void SetConnectionLostHandler(std::function<void()> handler) { FOnConnectionLost = std::move(handler); }
  bool ConnectionLost() const { return FDisplay->ConnectionLost(); }
  bool WindowManagerRunning() const { return FDisplay->WindowManagerRunning(); }
  bool CaptureUsesShm();
  void DisableShmCapture();
  bool ClipboardOwned() const;
  // Hands our clipboard copy to a running clipboard manager so it stays after we exit
  // (waits up to TIMEOUTMS). The destructor does this too, with a one-second limit.
  bool HandOverClipboard(int timeoutMs);
  X11Display& Connection() { return *FDisplay; }

  // For the backend's own windows and icons.
  void Register(::Window w, X11EventSink* sink) { FSinks[w] = sink; }
  void Unregister(::Window w) { FSinks.erase(w); }
  void WindowCreated(X11Window* w);
  void WindowDestroyed(X11Window* w);
  void TrayIconCreated(X11TrayIcon* icon) { FTrayIcons.push_back(icon); }
  void TrayIconDestroyed(X11TrayIcon* icon);
  X11CursorCache& Cursors() { return *FCursors; }
  X11Launcher& Launcher() { return FLauncher; }
  X11HelpService& Help() { return *FHelp; }
  X11Sound& Sound() { return *FSound; }
  Time LastEventTime() const { return FLastEventTime; }
  // The topmost band, bottom to top.
  void BandRaise(X11Window* w);
  void BandRemove(X11Window* w);
  void RestackTopMost();
  // Activates our highest visible window that can take the focus, other than EXCEPT.
  void ActivateFallback(X11Window* except);
  X11Window* CaptureOwner() const { return FCaptureOwner; }
  void SetCaptureOwner(X11Window* w) {
    FCaptureOwner = w;
    FPointer.Invalidate();
  }
  // True when the server reports pointer motion through XInput2, so GetCursorPos may answer
  // from its cache (watched from the loop's first pass on); PointerQueries counts the round
  // trips it really made.
  bool WatchesPointerMotion();
  std::uint64_t PointerQueries() const { return FPointer.Queries(); }

 private:
  explicit X11Platform(std::unique_ptr<X11Display> display);
  // What the first frame does not need: run once, by the loop's first pass.
  void FinishSetUp();
  X11ScreenCapture& Capture();  // made at the first capture
  // Dispatches the queued events; READSOCKET first reads what the server sent (without
  // blocking), which a poll that found nothing to read makes needless.
  bool DispatchQueued(bool readSocket = true);
  void Dispatch(XEvent& ev);
  void HandleRootEvent(XEvent& ev);
  void ScreenChanged(XEvent& ev);
  bool IsOurs(::Window w) const { return FSinks.count(w) != 0; }
  bool CheckConnection();
  // How long the loop may sleep from NOW: until the next timer is due, or while the program
  // is idle, as late as the timers' tolerances allow.
  int WaitMs(std::uint64_t now) const;
  // Runs the watches whose descriptor the last poll found ready, or whose deadline has come.
  void DispatchWatches(bool polledReady);
  // Fires the timers due now as one round; answers whether any fired.
  bool FireTimers();

  std::unique_ptr<X11Display> FDisplay;
  X11PointerCache FPointer;
  std::unique_ptr<X11CursorCache> FCursors;
  std::unique_ptr<X11ScreenCapture> FCapture;
  bool FSetUpFinished = false;
  std::unique_ptr<X11Clipboard> FClipboard;
  X11TimerQueue FTimers;
  X11Launcher FLauncher;
  std::unique_ptr<X11HelpService> FHelp;  // after the timers and the launcher it uses
  std::unique_ptr<X11Sound> FSound;
  std::optional<bool> FThroughPortal;
  // Shared for its type-erased deleter: built without sd-bus, the type stays incomplete.
  std::shared_ptr<ScreenshotPortal> FPortal;
  std::unordered_map<::Window, X11EventSink*> FSinks;
  std::vector<X11Window*> FWindows;
  std::vector<X11Window*> FBand;  // topmost windows, bottom to top
  std::vector<X11TrayIcon*> FTrayIcons;
  std::vector<FdWatch*> FWatches;
  std::vector<pollfd> FPollFds;  // kept between sleeps: no allocation per pass
  X11Window* FCaptureOwner = nullptr;
  Time FLastEventTime = CurrentTime;
  std::optional<Size> FScreenSize;  // asked once, forgotten when the screen changes
  std::optional<std::vector<Monitor>> FMonitors;  // likewise
  std::function<void()> FOnConnectionLost;
  bool FLostReported = false;
  unsigned long FFlushedRequest = 0;  // the request serial after our last flush
};

}  // namespace plat
