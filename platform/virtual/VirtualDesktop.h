#pragma once
// The in-memory desktop: a screen of any size, windows stacked in a normal and a topmost
// band, a compositor that builds the screen image from the windows' back buffers, a virtual
// clock with timers, injected mouse and keyboard input with real-pointer semantics, and
// recorded shell services. Deterministic, headless; the default platform for tests and the
// scenario runner.
//
// Implemented:
//   screen size/depth, wallpaper (colour or picture), screen capture of everything on it;
//   monitors of different sizes side by side (the screen is their bounding box; the dead
//   area between them reads black and the pointer cannot enter it);
//   window stacking (two bands, TopMost/NoTopMost/Top/Bottom), shape regions for drawing and
//   hit-testing, activation with OnActivate, explicit and implicit (button) capture, mouse
//   leave, move drag (BeginMoveDrag), cursors per window;
//   virtual clock and timers; queued input; key and button state; key-to-character
//   translation for a US layout; close requests; geometry forced by a window manager;
//   window roles and owners (recorded for queries);
//   clipboard (bitmap and text), tray icons, shell open, sounds, beep, help, journal: all logged;
//   scripted answers for dialogs.
// Missing: double-click detection from timing (inject it explicitly),
//   synthetic moves when a window appears under a still pointer, keyboard autorepeat.
//
// How events flow. Every injected input (InjectXxx) and every SetCursorPos is queued. Each
// input is applied when the queue reaches it (pointer position, key state, capture and
// hit-testing as they stand then, as a real input queue is read) and turns into listener
// calls. Listener calls caused by the program's own requests (activation, capture lost) are
// queued too, never made from inside the request.
//
// ProcessEvents(true) handles one thing, like the classic HandleMessage: the listener calls
// already queued, else one input, else one due timer; with nothing to do it asks the wait
// handler (below). ProcessEvents(false) works through everything, like ProcessMessages. So a
// modal loop written as `while (!done) ProcessEvents(true);` stops right after the input that
// ends it, and the rest of the queue reaches whoever has the focus afterwards.
//
// Clock. NowMs starts at 0 and moves only through AdvanceClock, which fires due timers in
// order (by due time, then by timer id), repeating periodic ones, and works the queue before
// and between them. After every listener call and every timer tick the idle processor runs
// (SetIdleProcessor): the toolkit drains its posted messages and paints there, so they happen
// between timer ticks and between inputs as on a real desktop. The idle processor is never
// re-entered (a call made while it runs is skipped).
//
// Waiting. ProcessEvents never sleeps. When called with WAIT and there is nothing to do, it
// calls the wait handler (SetWaitHandler) once and then handles one thing if the handler
// produced any: a scenario runner executes its next script commands there, so a modal loop
// is driven by the script. A handler returning false makes ProcessEvents return false (the
// script is over). Without a handler ProcessEvents just returns true.
//
// Behaviour worth knowing, chosen to match the classic desktop:
// - Key and button state (IsKeyDown, the Shift of events) is the state as of the last input
//   delivered; the pointer position likewise, except that SetCursorPos takes effect at once.
// - A press goes to the capturing window if there is one, else to the window under the
//   pointer, which it raises within its band and activates unless it is a popup. The pressed
//   window then holds the pointer until every button is up. The wheel goes where a press
//   would, without activating.
// - A window hears OnMouseLeave when the pointer leaves it; while it holds the pointer it
//   hears it only once the capture ends.
// - ZOrder::NoTopMost leaves a window that is not topmost where it is; ZOrder::Bottom also
//   takes a window out of the topmost band.
// - A hidden window cannot be active; hiding the active window passes the focus to the
//   highest visible window that can take it. Hiding a window ends its capture and drag.
// - While a window holds GrabInput, presses, moves and releases over the bare desktop and
//   keys while no window is active go to it (every window here is the program's own).
// - During a move drag the window system owns the pointer: the moves and the final release
//   reach no window; the dragged window hears OnMoved after each move.
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/Bitmap.h"
#include "graphics/Color.h"
#include "platform/DialogScript.h"
#include "platform/Platform.h"
#include "platform/virtual/VirtualTrayIcon.h"
#include "platform/virtual/VirtualWindow.h"

namespace plat {

enum class TrayMouseKind { Move, Down, Up, DoubleClick };

class VirtualDesktop : public Platform, public DialogScript {
 public:
  static constexpr Size kDefaultScreen{1024, 768};
  static constexpr gfx::TColor kDefaultWallpaper = gfx::clTeal;

  explicit VirtualDesktop(Size screen = kDefaultScreen);
  ~VirtualDesktop() override;
  VirtualDesktop(const VirtualDesktop&) = delete;
  VirtualDesktop& operator=(const VirtualDesktop&) = delete;

  // ---- Platform
  Size ScreenSize() override { return FScreenSize; }
  int ScreenDepth() override { return 24; }
  gfx::Bitmap CaptureScreen(const Rect& r) override;
  bool GetCursorPos(Point& p) override;
  void SetCursorPos(Point p) override;
  bool IsKeyDown(int virtualKey) override;
  bool IsKeyToggled(int virtualKey) override;
  std::unique_ptr<NativeWindow> CreateWindow(const WindowParams& params, WindowListener* listener) override;
  std::uint64_t NowMs() override { return FNow; }
  // Moves the clock on without firing anything: timers that fell due fire at the next
  // ProcessEvents, as they would after a real sleep.
  void Sleep(unsigned ms) override { FNow += ms; }
  Rect WorkArea() override;
  std::vector<Monitor> Monitors() override;
  TimerId StartTimer(unsigned intervalMs, std::function<void()> onTick) override;
  void StopTimer(TimerId id) override;
  bool ProcessEvents(bool wait) override;
  void SetClipboardBitmap(const gfx::Bitmap& bmp) override;
  void SetClipboardText(const std::string& utf8) override;
  std::optional<std::string> ClipboardText() override { return FClipboardText; }
  bool TrayAvailable() override { return FTrayAvailable; }
  std::unique_ptr<TrayIcon> CreateTrayIcon(TrayIconListener* listener) override;
  void ShellOpen(const std::string& target) override;
  void PlaySystemSound(const std::string& name) override;
  void Beep() override;
  void ShowHelp(const std::string& file, const std::string& command) override;
  std::string ExecutableDir() override { return FExecutableDir; }

  // ---- DialogScript
  std::optional<std::string> TakeScriptedAnswer(DialogKind kind) override;
  void Journal(const std::string& line) override;

  // ---- Set-up
  void SetScreenSize(Size size);  // windows keep their places; the pointer stays on screen
  // Several monitors, the first the primary (the others are made not primary). They lie at
  // non-negative coordinates (negative ones are moved to 0); the screen reaches from (0, 0)
  // to their far corner. Where no monitor is, captures read black and the pointer cannot
  // go, as on a desk of real monitors. Empty: one monitor, the whole screen. SetScreenSize
  // goes back to one monitor.
  void SetMonitors(std::vector<Monitor> monitors);
  // The work area (a panel along an edge takes the rest); reset by SetScreenSize.
  void SetWorkArea(const Rect& area) { FWorkArea = area; }
  void SetWallpaper(gfx::TColor color);
  // A picture at the screen's top-left; where it does not reach, the wallpaper colour shows.
  void SetWallpaper(const gfx::Bitmap& picture);
  void SetTrayAvailable(bool available) { FTrayAvailable = available; }
  void SetExecutableDir(std::string dir);  // a missing trailing '/' is added
  void QueueAnswer(DialogKind kind, std::string answer);
  std::size_t PendingAnswers(DialogKind kind) const;

  // ---- Clock and loop
  // Moves the clock MS ms forward, firing due timers in order and working the input queue.
  void AdvanceClock(std::uint64_t ms);
  // Works through the whole queue and fires timers due now; the same as ProcessEvents(false).
  void Flush() { ProcessEvents(false); }
  void SetIdleProcessor(std::function<void()> idle) { FIdle = std::move(idle); }
  void SetWaitHandler(std::function<bool()> handler) { FWaitHandler = std::move(handler); }
  bool HasPendingEvents() const { return !FInput.empty() || !FNotes.empty(); }
  std::size_t TimerCount() const { return FTimers.size(); }
  std::optional<std::uint64_t> NextTimerDue() const;

  // ---- Injected input (queued; see above)
  void InjectMouseMove(Point p);  // always reported, even to the same place
  void InjectMouseMove(int x, int y) { InjectMouseMove(Point{x, y}); }
  void InjectButtonDown(MouseButton button = MouseButton::Left, bool doubleClick = false);
  void InjectButtonUp(MouseButton button = MouseButton::Left);
  void InjectClick(MouseButton button = MouseButton::Left);
  void InjectDoubleClick(MouseButton button = MouseButton::Left);  // down, up, down (double), up
  void InjectWheel(int delta);
  // A key press goes to the active window; a character key also gives OnChar ("\r" for
  // Return, "\b" for Backspace, "\x1b" for Escape, "\t" for Tab; Ctrl+letter gives the
  // control character; no character while Alt is held).
  void InjectKeyDown(int virtualKey);
  void InjectKeyUp(int virtualKey);
  // Down and up, with MODIFIERS (ssShift, ssCtrl, ssAlt) held around it.
  void InjectKey(int virtualKey, ShiftState modifiers = 0);
  void InjectText(std::string_view utf8);  // OnChar for each character, no key events
  void InjectCloseRequest(const VirtualWindow* window);  // the window system asks it to close
  // A window manager gives the window BOUNDS of its own choosing (tiling it, keeping it from
  // a size); the window hears OnMoved.
  void InjectManagerBounds(const VirtualWindow* window, const Rect& bounds);
  // Another program copies UTF8 text: the clipboard holds it at once (not logged: the
  // program did nothing).
  void InjectClipboardText(std::string utf8);
  // A mouse message on a tray icon (the newest one when ICON is null), at the pointer.
  void InjectTrayMouse(MouseButton button, TrayMouseKind kind, const VirtualTrayIcon* icon = nullptr);

  // ---- Queries
  std::vector<VirtualWindow*> Windows() const { return FStack; }  // stacking order, top first
  VirtualWindow* ActiveWindow() const { return FActive; }
  VirtualWindow* CaptureWindow() const;  // explicit capture, else the button's implicit one
  VirtualWindow* InputGrabWindow() const { return FGrab; }  // the window holding GrabInput
  VirtualWindow* WindowAt(Point p) const;  // topmost visible window owning pixel P
  VirtualWindow* FindWindow(std::string_view title) const;  // topmost with that title
  Point CursorPosition() const { return FCursorPos; }
  CursorLook CurrentCursor() const;  // the cursor of the window that gets the pointer's input
  bool MoveDragActive() const { return FDrag.has_value(); }
  const gfx::Bitmap& Screen();  // the composed screen image
  std::vector<VirtualTrayIcon*> TrayIcons() const { return FTrayIcons; }
  bool HasClipboardBitmap() const { return FHasClipboard; }
  const gfx::Bitmap& ClipboardBitmap() const { return FClipboard; }
  const std::vector<std::string>& Log() const { return FLog; }
  std::vector<std::string> TakeLog();

 private:
  friend class VirtualWindow;
  friend class VirtualTrayIcon;

  struct Timer {
    std::uint64_t Due = 0;
    unsigned Interval = 0;
    std::shared_ptr<std::function<void()>> Fn;  // shared so a tick may stop its own timer
  };

  // A raw input, applied when the queue reaches it.
  struct Input {
    enum class Kind { Move, Down, Up, Wheel, KeyDown, KeyUp, Text, Close, Tray, Place } What;
    Point Pos{};
    MouseButton Button = MouseButton::Left;
    bool DoubleClick = false;
    int Key = 0;
    int Delta = 0;
    std::string Text{};
    std::uint64_t Target = 0;
    TrayMouseKind Tray = TrayMouseKind::Move;
    Rect Bounds{};
  };

  // A listener call waiting to be made. Windows are named by serial, so a call to a window
  // destroyed meanwhile is dropped.
  struct Note {
    enum class Kind {
      Move, Down, Up, Wheel, Leave, KeyDown, KeyUp, Char, Activate, Close, Moved, CaptureLost,
      TrayMove, TrayDown, TrayUp, TrayDouble
    } What;
    std::uint64_t Target = 0;
    MouseEvent Mouse{};
    KeyEvent Key{};
    std::string Text{};
    int Delta = 0;
    bool Flag = false;
    Rect Bounds{};
    MouseButton Button = MouseButton::Left;
    Point Pos{};
  };

  struct MoveDrag {
    std::uint64_t Window = 0;
    Point StartPointer;
    Rect StartBounds;
  };

  // Called by VirtualWindow and VirtualTrayIcon.
  void WindowDestroyed(VirtualWindow* w);
  void WindowSetBounds(VirtualWindow* w, const Rect& bounds);
  void WindowShow(VirtualWindow* w, bool activate);
  void WindowHide(VirtualWindow* w);
  void WindowSetZOrder(VirtualWindow* w, ZOrder z);
  void WindowRegionChanged(VirtualWindow* w);
  void WindowActivate(VirtualWindow* w);
  void WindowSetCapture(VirtualWindow* w);
  void WindowReleaseCapture(VirtualWindow* w);
  void WindowBeginMoveDrag(VirtualWindow* w);
  void WindowGrabInput(VirtualWindow* w) { FGrab = w; }
  void WindowUngrabInput(VirtualWindow* w) {
    if (FGrab == w) FGrab = nullptr;
  }
  void WindowPresent(VirtualWindow* w, const Rect& dirty);
  void TrayIconDestroyed(VirtualTrayIcon* icon);

  // Stacking and focus.
  void Unstack(VirtualWindow* w);
  void RaiseInBand(VirtualWindow* w);
  void SetActive(VirtualWindow* w);
  void ActivateFallback();
  VirtualWindow* FindSerial(std::uint64_t serial) const;
  VirtualWindow* PointerOwner() const;  // explicit capture, else implicit capture
  void UpdateHover(VirtualWindow* under);
  void ClearCapture(VirtualWindow* w, bool notify);

  // The queue.
  void QueueInput(Input in);
  void Queue(Note n);
  void Apply(const Input& in);
  void ApplyMove(Point p);
  void ApplyDown(MouseButton b, bool doubleClick);
  void ApplyUp(MouseButton b);
  void ApplyKey(int vk, bool down);
  void QueueMouse(Note::Kind kind, VirtualWindow* target, MouseButton b, bool doubleClick);
  void Deliver(const Note& n);
  void DeliverNotes();
  bool Step();
  bool FireDueTimer(std::uint64_t limit);
  void RunIdle();
  ShiftState CurrentShift() const;
  Point OnMonitor(Point p) const;  // the nearest point the pointer can be at

  // Composition.
  void Damage(const Rect& screenRect);
  void DamageWindow(const VirtualWindow* w);
  void Compose();

  Size FScreenSize;
  std::vector<Monitor> FMonitors;  // empty: one, the whole screen
  std::vector<Rect> FDeadArea;     // the screen outside every monitor
  gfx::TColor FWallpaperColor = kDefaultWallpaper;
  std::optional<gfx::Bitmap> FWallpaperPicture;
  gfx::Bitmap FScreen;
  std::vector<Rect> FDamage;

  std::vector<VirtualWindow*> FStack;  // top first; the topmost band comes before the normal one
  std::uint64_t FNextSerial = 1;
  VirtualWindow* FActive = nullptr;
  VirtualWindow* FCapture = nullptr;   // explicit (SetCapture)
  VirtualWindow* FImplicit = nullptr;  // the window pressed while a button is held
  VirtualWindow* FHover = nullptr;     // the window the pointer is over, as last reported
  VirtualWindow* FGrab = nullptr;      // GrabInput: gets what would reach no window of ours
  std::optional<Rect> FWorkArea;
  std::optional<MoveDrag> FDrag;

  Point FCursorPos;
  std::array<bool, 256> FKeyDown{};
  std::array<bool, 256> FKeyToggled{};

  std::uint64_t FNow = 0;
  TimerId FNextTimer = 1;
  std::map<TimerId, Timer> FTimers;  // ordered by id, the tie-break among equal due times
  std::deque<Input> FInput;
  std::deque<Note> FNotes;
  std::function<void()> FIdle;
  bool FInIdle = false;
  std::function<bool()> FWaitHandler;

  bool FTrayAvailable = true;
  std::vector<VirtualTrayIcon*> FTrayIcons;  // oldest first
  std::string FExecutableDir;
  gfx::Bitmap FClipboard;
  bool FHasClipboard = false;
  std::optional<std::string> FClipboardText;  // text and picture replace each other
  std::vector<std::string> FLog;
  std::map<DialogKind, std::deque<std::string>> FAnswers;
};

}  // namespace plat
