#pragma once
// The OS services the toolkit and the program use. Two backends implement it: the virtual
// desktop (platform/virtual, in memory, for tests and the scenario runner) and X11
// (platform/x11). Nothing above this layer knows which one runs.
//
// Every call happens on the one GUI thread.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "graphics/Bitmap.h"
#include "graphics/Region.h"
#include "graphics/Types.h"
#include "platform/Cursor.h"
#include "platform/Keys.h"
#include "platform/Monitor.h"

namespace plat {

using gfx::Point;
using gfx::Rect;
using gfx::Size;

enum class WindowKind {
  Normal,   // an ordinary top-level window (the strip, dialogs)
  Tool,     // a floating helper window: no task-bar entry, takes focus when clicked
  Popup,    // never takes the keyboard focus: readouts, magnifiers, menus, tool tips
};

// What a window is to the user. Window managers float, stack and decorate windows by it:
// tiling managers tile only normal windows and float the others.
enum class WindowRole {
  Normal,     // a main window of its own
  Utility,    // a floating tool: the strip, the cross ruler
  Dialog,     // a dialog box
  PopupMenu,  // a menu opened from a window
  Tooltip,    // readouts, tips, magnifiers
};

class NativeWindow;

struct WindowParams {
  std::string Title;
  Rect Bounds;               // outer bounds in screen pixels
  WindowKind Kind = WindowKind::Normal;
  WindowRole Role = WindowRole::Normal;
  const NativeWindow* Owner = nullptr;  // the window this one belongs to (stays with it)
  bool TopMost = false;      // starts in the topmost band
  bool TaskbarEntry = false; // the program has no task-bar button; dialogs may ask for one
};

enum class ZOrder {
  TopMost,    // into the topmost band, at its top (HWND_TOPMOST)
  NoTopMost,  // out of the topmost band, to the top of the normal band (HWND_NOTOPMOST)
  Top,        // to the top of its own band (HWND_TOP)
  Bottom,     // to the bottom of the normal band
};

struct MouseEvent {
  Point Pos;          // in the window's own pixels
  Point ScreenPos;
  MouseButton Button = MouseButton::Left;  // for down and up
  ShiftState Shift = 0;                    // modifiers and buttons held (after the change)
  bool DoubleClick = false;                // a down that completes a double click
};

struct KeyEvent {
  int Key = 0;        // virtual-key code
  ShiftState Shift = 0;
  bool Repeat = false;
};

// What a native window tells its owner (the toolkit's form). Defaults ignore the event.
class WindowListener {
 public:
  virtual ~WindowListener() = default;
  virtual void OnMouseMove(const MouseEvent&) {}
  virtual void OnMouseDown(const MouseEvent&) {}
  virtual void OnMouseUp(const MouseEvent&) {}
  virtual void OnMouseWheel(const MouseEvent&, int /*delta*/) {}
  virtual void OnMouseLeave() {}
  virtual void OnKeyDown(const KeyEvent&) {}
  virtual void OnKeyUp(const KeyEvent&) {}
  virtual void OnChar(std::string_view /*utf8*/) {}
  virtual void OnActivate(bool /*active*/) {}   // became / stopped being the active window
  virtual void OnCloseRequest() {}              // the window system asks the window to close
  virtual void OnMoved(const Rect& /*bounds*/) {}  // moved or sized by the window system
  virtual void OnCaptureLost() {}
};

// A top-level window. The platform keeps its back buffer (Width x Height of Bounds); the
// toolkit draws into it and calls Present with what changed. Exposure is handled by the
// platform from the back buffer, without asking the toolkit.
class NativeWindow {
 public:
  virtual ~NativeWindow() = default;  // destroys the window

  virtual Rect Bounds() const = 0;
  virtual void SetBounds(const Rect& bounds) = 0;  // the back buffer follows the size
  virtual bool Visible() const = 0;
  virtual void Show(bool activate) = 0;
  virtual void Hide() = 0;
  virtual void SetZOrder(ZOrder z) = 0;
  virtual bool TopMost() const = 0;
  // Only pixels inside the region (window coordinates) belong to the window, for drawing and
  // for the mouse; nullopt restores the full rectangle.
  virtual void SetRegion(std::optional<gfx::Region> region) = 0;
  virtual void SetTitle(const std::string& title) = 0;
  // Role and owner take effect when the window is next shown (managers read them then). The
  // owner must outlive this window or be changed first; null for none.
  virtual void SetRole(WindowRole role) = 0;
  virtual void SetOwner(const NativeWindow* owner) = 0;
  virtual void Activate() = 0;  // bring to front and give it the keyboard focus
  virtual bool Active() const = 0;
  virtual void SetCapture() = 0;  // all mouse input goes here until released
  virtual void ReleaseCapture() = 0;
  virtual void SetCursor(const CursorLook& cursor) = 0;
  // Moves the window with the mouse until the button is released (SC_MOVE + HTCAPTION).
  virtual void BeginMoveDrag() = 0;
  // An open menu takes the pointer and the keyboard: input meant for the program's other
  // windows still reaches them, everything else (presses on other programs or the bare
  // desktop, keys while another program has the focus) comes to this window, until released.
  // Hiding or destroying the window releases it too. False when the window system refuses.
  virtual bool GrabInput() { return true; }
  virtual void UngrabInput() {}

  virtual gfx::Bitmap& BackBuffer() = 0;
  virtual void Present(const Rect& dirty) = 0;
};

// One still picture of the whole desktop, or why there is none.
struct DesktopPicture {
  gfx::Bitmap Picture;  // ScreenSize() pixels, one a desktop pixel; empty when Error is set
  std::string Error;    // for the user, when no picture could be taken
};

// PICTURE laid over a desktop of DESKTOP pixels, each desktop pixel taking the picture's pixel
// nearest its centre: a screenshot of scaled monitors has more (or fewer) pixels than the
// desktop has logical ones, and readings must stay in the desktop's pixels.
gfx::Bitmap MapToDesktop(const gfx::Bitmap& picture, Size desktop);

class TrayIconListener {
 public:
  virtual ~TrayIconListener() = default;
  // A mouse message on the icon; POS in screen pixels.
  virtual void OnTrayMouseDown(MouseButton, Point) {}
  virtual void OnTrayMouseUp(MouseButton, Point) {}
  virtual void OnTrayDoubleClick(MouseButton, Point) {}
  virtual void OnTrayMouseMove(Point) {}
};

class TrayIcon {
 public:
  virtual ~TrayIcon() = default;  // removes the icon
  virtual void SetIcon(const gfx::Bitmap& icon) = 0;
  virtual void SetTip(const std::string& tip) = 0;
  virtual bool Visible() const = 0;
};

// A file descriptor of another service (a D-Bus connection) that the event loop watches along
// with its own: the loop sleeps in one poll over all of them and calls Dispatch when the
// descriptor is ready or the watch's deadline has come, so an idle program wakes for nothing.
class FdWatch {
 public:
  virtual ~FdWatch() = default;
  virtual int Fd() = 0;
  virtual short PollEvents() = 0;  // the poll() events wanted now, asked before each sleep
  // Milliseconds from now after which Dispatch must run even if nothing arrives; -1: never.
  virtual int TimeoutMs() = 0;
  virtual void Dispatch() = 0;  // may remove (and destroy) this watch or others
};

class Platform {
 public:
  virtual ~Platform() = default;

  // The platform in use; set once at start by the program entry (or a test).
  static Platform& Current();
  static bool HasCurrent();
  static void SetCurrent(Platform* platform);  // not owned

  // Screen: the whole desktop, every monitor on it.
  virtual Size ScreenSize() = 0;
  // The part of the screen that panels and docks leave to windows (the whole screen when the
  // desktop does not say).
  virtual Rect WorkArea() { const Size s = ScreenSize(); return Rect{0, 0, s.cx, s.cy}; }
  virtual int ScreenDepth() = 0;
  // The monitors, the primary first. The screen is their bounding box. A desktop that does
  // not tell has one monitor, the whole screen, of unknown physical size.
  virtual std::vector<Monitor> Monitors() {
    const Size s = ScreenSize();
    return {Monitor{Rect{0, 0, s.cx, s.cy}, 0, 0, true}};
  }
  virtual gfx::Bitmap CaptureScreen(const Rect& r) = 0;  // parts off-screen read as black
  // Whether CaptureScreen sees what the user sees. Under XWayland the root window holds only
  // the X clients' pixels, so the magnifiers must not pretend to show the screen there.
  virtual bool ScreenReadable() { return true; }
  // What the magnifiers say instead where the screen cannot be read: how to get a picture of
  // it, or that there is none to be had.
  virtual std::string ScreenUnreadableHint() { return "Press F to freeze the screen"; }
  // Takes one picture of the whole desktop and calls DONE with it, from the event loop or
  // (as here, through CaptureScreen) at once. A desktop that asks the user first (the
  // screenshot portal) answers later, maybe with an error; DONE is called exactly once unless
  // the platform is destroyed first.
  virtual void RequestDesktopPicture(std::function<void(DesktopPicture)> done) {
    const Size s = ScreenSize();
    done(DesktopPicture{CaptureScreen(Rect{0, 0, s.cx, s.cy}), {}});
  }

  // Pointer and keyboard state.
  virtual bool GetCursorPos(Point& p) = 0;  // false when it cannot be read
  // Where a program sees the pointer only over its own windows (Wayland), measuring anywhere
  // lays a transparent catcher over every monitor, under the program's windows, so that
  // GetCursorPos follows the pointer everywhere. A left or right click on the catcher ends it,
  // and ONEND runs then. CanMeasureAnywhere is false where the pointer is seen everywhere
  // anyway (X11, the virtual desktop) and Begin then does nothing.
  virtual bool CanMeasureAnywhere() { return false; }
  virtual void BeginMeasureAnywhere(std::function<void()> onEnd) { (void)onEnd; }
  virtual void EndMeasureAnywhere() {}  // ends it without running ONEND
  virtual bool MeasuringAnywhere() { return false; }
  virtual void SetCursorPos(Point p) = 0;   // moves the pointer as a real move would
  virtual bool IsKeyDown(int virtualKey) = 0;
  virtual bool IsKeyToggled(int virtualKey) { (void)virtualKey; return false; }

  // Windows.
  virtual std::unique_ptr<NativeWindow> CreateWindow(const WindowParams& params, WindowListener* listener) = 0;

  // Clock, timers and the event loop.
  virtual std::uint64_t NowMs() = 0;
  // Waits MS milliseconds without handling anything (animation frames).
  virtual void Sleep(unsigned ms) = 0;
  using TimerId = std::uint32_t;
  virtual TimerId StartTimer(unsigned intervalMs, std::function<void()> onTick) = 0;
  virtual void StopTimer(TimerId id) = 0;
  // How late the timer may fire while the program is idle: no input has come since its last
  // tick, and the platform would learn at once if the pointer moved. A platform that cannot
  // tell keeps every timer on time (as the virtual desktop does).
  virtual void SetTimerIdleTolerance(TimerId id, unsigned ms) { (void)id; (void)ms; }
  // Delivers pending input to the listeners and fires due timers. With WAIT, sleeps until
  // something arrives or a timer is due (the virtual desktop never sleeps). Returns false
  // when the platform cannot go on (connection to the display lost).
  virtual bool ProcessEvents(bool wait) = 0;
  // Watches W until RemoveFdWatch; W must be removed before it is destroyed. False when the
  // platform has no loop of its own to watch it with (the virtual desktop).
  virtual bool AddFdWatch(FdWatch* w) { (void)w; return false; }
  virtual void RemoveFdWatch(FdWatch* w) { (void)w; }

  // Shell services.
  virtual void SetClipboardBitmap(const gfx::Bitmap& bmp) = 0;
  // Puts UTF8 text on the clipboard, replacing what was there (a picture included).
  virtual void SetClipboardText(const std::string& utf8) = 0;
  // The clipboard's text, nullopt when it holds none or cannot be read.
  virtual std::optional<std::string> ClipboardText() { return std::nullopt; }
  virtual bool TrayAvailable() = 0;
  virtual std::unique_ptr<TrayIcon> CreateTrayIcon(TrayIconListener* listener) = 0;  // null if none
  virtual void ShellOpen(const std::string& target) = 0;
  // NAME: "MenuPopup", "MenuCommand"; played without waiting, silent where not possible.
  virtual void PlaySystemSound(const std::string& name) = 0;
  virtual void Beep() = 0;
  // Shows help from FILE: COMMAND is "contents", a macro such as JumpID("","About"),
  // "context N" or "quit". Throws std::runtime_error with a message for the user when the
  // help cannot be shown (the toolkit's error handling then shows it).
  virtual void ShowHelp(const std::string& file, const std::string& command) = 0;
  // Ends with '/'; the folder of the running program (from /proc/self/exe) unless a platform
  // says otherwise.
  virtual std::string ExecutableDir();
};

}  // namespace plat
