#pragma once
// The Wayland backend: Vantrel as a native client of a compositor that offers layer-shell
// (sway and the other wlroots compositors, KDE Plasma, Hyprland, niri, COSMIC).
//
// Implemented
//   [x] start only where zwlr_layer_shell_v1 is offered (else the program falls back to X11)
//   [x] the program's windows as layer surfaces anchored top-left on the output that holds
//       them, the margins giving the exact place in desktop coordinates; a move onto another
//       output re-creates the surface there; dialogs as ordinary xdg toplevels (the
//       compositor places them)
//   [x] stacking by layers, which every compositor keeps: the strip and the cross ruler in the
//       top layer, the loupe and its panel, the lens, readouts and menus in the overlay layer
//   [x] monitors from wl_output + zxdg_output_v1: logical geometry, physical size in mm,
//       followed as outputs come and go; a window whose output goes is brought onto the
//       nearest one left
//   [x] shm double buffers (a third while both are busy), Present damages and commits only
//       the dirty rectangle; pixels outside a window's region transparent, input region set
//   [x] the seat's pointer and keyboard followed as they appear and vanish; pointer enter,
//       leave, motion, buttons (double clicks 500 ms, 4 px), wheel; screen positions from the
//       surface position the compositor has applied (a sync after each move tells when)
//   [x] keys through xkbcommon with the compositor's keymap, virtual-key codes as on X11,
//       text as UTF-8, key repeat at the compositor's delay and rate; the strip and the cross
//       ruler take the keyboard after a click (on_demand), an open menu takes it (exclusive)
//   [x] dead keys and compose sequences from the locale's compose table (xkbcommon), read at
//       the first press; Escape in a sequence cancels only the sequence
//   [x] cursors from the cursor theme (wayland-cursor), the program's pictures as cursor
//       surfaces (inverted pixels shown black)
//   [x] move drag of a layer surface done by us, following the pointer exactly; drags reach
//       other outputs too (the catchers below take the pointer that runs ahead of a window)
//   [x] one-thread poll() loop over the display and the timers (the X11 backend's queue)
//   [x] clipboard text and PNG through zwlr_data_control_manager_v1 (no focus needed), else
//       through the core wl_data_device with the serial of our latest key or button event
//   [x] screen capture through zwlr_screencopy_manager_v1 (shm, the region only, output
//       transform and y-inversion applied; the whole output on one turned a quarter, whose
//       regions wlroots 0.15 gets wrong); after a refusal copies are tried again 2 s later
//   [x] where screencopy is missing (KDE Plasma) or refused, the frozen screen through the
//       desktop's screenshot portal (with libsystemd); the magnifiers meanwhile show grey with
//       "Press F to freeze the screen", or "no screen access" when built without the portal
//   [x] measuring anywhere: a transparent top-layer surface over each output, under our
//       windows (sway stacks the newest below), takes the pointer with a crosshair cursor;
//       made again as outputs come and go
//   [x] an open menu's input grab: the same transparent surfaces take presses and moves over
//       other programs' windows and hand them to the menu, which closes
//   [x] xdg-open through the launcher, help opened in the browser at its topic
//   [x] menu sounds and the bell as the freedesktop sound theme's events through libcanberra
//       (CanberraSound), in its default theme, always allowed: the desktop's switch for event
//       sounds lives in GSettings, out of reach without GLib
//   [x] other services' descriptors (the session bus) watched in the same poll (AddFdWatch)
//   [x] the tray icon as a StatusNotifierItem where a watcher is on the session bus; without
//       one, as without a notification area
// Missing
//   [ ] pointer position over other clients' windows: Wayland never tells it; the last
//       position seen over our own surfaces is answered
//   [ ] SetCursorPos (no pointer warping on Wayland)
//   [ ] stacking on request within a layer (compositors order surfaces of one layer as they
//       like; sway puts the newest below), SetZOrder changes nothing; the top layer hides
//       behind fullscreen windows on sway
//   [ ] placing and activating dialogs (xdg toplevels are placed by the compositor)
//   [ ] input methods (text-input-v3): text comes from the keymap and the compose table
//   [ ] an XEmbed tray icon (there is none under Wayland)
//   [ ] drawing at the output's scale (buffers are scale 1)
//
// Use: std::string why; auto w = WaylandPlatform::Open(nullptr, why); if (!w) say WHY;
//      Platform::SetCurrent(w.get()); w->SetConnectionLostHandler(save settings); then run the
//      loop until ProcessEvents returns false. Windows must be destroyed before the platform.
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/sound/CanberraSound.h"
#include "platform/x11/X11Launcher.h"
#include "platform/x11/X11TimerQueue.h"

struct wl_cursor_theme;
struct zwlr_layer_shell_v1;
struct xdg_wm_base;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;
struct zwlr_data_control_manager_v1;
struct zwlr_screencopy_manager_v1;

namespace plat {

class ScreenshotPortal;
class WaylandClipboard;
class WaylandKeys;
class WaylandScreenCopy;
class WaylandShmBuffer;
class WaylandWindow;

struct WaylandOutput {
  std::uint32_t Name = 0;  // the registry's
  wl_output* Output = nullptr;
  zxdg_output_v1* Xdg = nullptr;
  Rect Logical;            // in desktop coordinates
  Size Mode;               // in the output's own pixels
  int WidthMm = 0, HeightMm = 0;
  std::int32_t Transform = 0;
};

class WaylandPlatform final : public Platform {
 public:
  // Connects to DISPLAY (or $WAYLAND_DISPLAY); null with the reason in WHY when there is no
  // compositor or it offers no layer-shell.
  static std::unique_ptr<WaylandPlatform> Open(const char* display, std::string& why);
  ~WaylandPlatform() override;
  WaylandPlatform(const WaylandPlatform&) = delete;
  WaylandPlatform& operator=(const WaylandPlatform&) = delete;

  Size ScreenSize() override;
  std::vector<Monitor> Monitors() override;
  int ScreenDepth() override { return 24; }
  gfx::Bitmap CaptureScreen(const Rect& r) override;
  // Unreadable without screencopy, and for a while after the compositor has refused a copy: the
  // magnifiers then say so rather than show grey as if it were the screen, and freezing asks
  // the screenshot portal instead.
  bool ScreenReadable() override;
  // The clipboard through the core data device, as where data-control is missing (tests use it
  // where the compositor has both).
  void UseDataDeviceClipboard();
  // "Press F ..." where the portal may give a picture; "no screen access" built without it.
  std::string ScreenUnreadableHint() override;
  // Through screencopy while it copies, else through the screenshot portal.
  void RequestDesktopPicture(std::function<void(DesktopPicture)> done) override;

  bool GetCursorPos(Point& p) override;
  bool CanMeasureAnywhere() override { return true; }
  void BeginMeasureAnywhere(std::function<void()> onEnd) override;
  void EndMeasureAnywhere() override;
  bool MeasuringAnywhere() override { return FMeasuring; }
  void SetCursorPos(Point) override {}
  bool IsKeyDown(int virtualKey) override;

  std::unique_ptr<NativeWindow> CreateWindow(const WindowParams& params, WindowListener* listener) override;

  std::uint64_t NowMs() override { return X11TimerQueue::NowMs(); }
  void Sleep(unsigned ms) override;
  TimerId StartTimer(unsigned intervalMs, std::function<void()> onTick) override;
  void StopTimer(TimerId id) override { FTimers.Stop(id); }
  // Always honoured: every pointer position we can know comes with an event that wakes us.
  void SetTimerIdleTolerance(TimerId id, unsigned ms) override { FTimers.SetIdleTolerance(id, ms); }
  bool ProcessEvents(bool wait) override;

  void SetClipboardBitmap(const gfx::Bitmap& bmp) override;
  void SetClipboardText(const std::string& utf8) override;
  bool TrayAvailable() override;
  std::unique_ptr<TrayIcon> CreateTrayIcon(TrayIconListener* listener) override;
  bool AddFdWatch(FdWatch* w) override;
  void RemoveFdWatch(FdWatch* w) override;
  void ShellOpen(const std::string& target) override;
  void PlaySystemSound(const std::string& name) override;
  // Wayland has no bell of its own: the theme's sound for the X bell stands in.
  void Beep() override;
  void ShowHelp(const std::string& file, const std::string& command) override;

  void SetConnectionLostHandler(std::function<void()> handler) { FOnConnectionLost = std::move(handler); }
  bool ConnectionLost() const;

  // For the backend's windows.
  wl_display* Display() const { return FDisplay; }
  wl_compositor* Compositor() const { return FCompositor; }
  wl_shm* Shm() const { return FShm; }
  zwlr_layer_shell_v1* LayerShell() const { return FLayerShell; }
  xdg_wm_base* WmBase() const { return FWmBase; }
  // The output that holds R's corner, else the larger part of R, else the nearest to R.
  const WaylandOutput* OutputFor(const Rect& r) const;
  bool HasOutput(const WaylandOutput* o) const;
  void WindowCreated(WaylandWindow* w) { FWindows.push_back(w); }
  void WindowDestroyed(WaylandWindow* w);
  // W's surface is going: input no longer refers to it.
  void SurfaceGone(WaylandWindow* w);
  // The window's cursor changed: shown at once when the pointer is over it.
  void CursorChanged(WaylandWindow* w);
  void Flush();
  WaylandWindow* CaptureOwner() const { return FCaptureOwner; }
  void SetCaptureOwner(WaylandWindow* w);
  // W holds the input grab (an open menu): what other programs' windows would get goes to it.
  void SetGrabWindow(WaylandWindow* w);
  // Catchers exist while measuring anywhere, while a window holds the grab, during a move
  // drag, and once the pointer has left the window that holds it with a button down: sway
  // keeps no pointer grab for layer surfaces, and a pointer that runs ahead of a dragged
  // window would be lost.
  void UpdateCatchers();
  void EndGrab(WaylandWindow* w) {
    if (FGrabWindow == w) SetGrabWindow(nullptr);
  }
  ShiftState Buttons() const { return FButtons; }
  Point PointerPos() const { return FPointerPos; }
  bool PointerKnown() const { return FPointerKnown; }
  CanberraSound& Sound() { return FSound; }

 private:
  explicit WaylandPlatform(wl_display* display);
  bool Init(std::string& why);
  bool CheckConnection();  // false once the compositor is gone (the handler ran)

  static void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* iface, std::uint32_t version);
  static void OnGlobalRemove(void* data, wl_registry* registry, std::uint32_t name);
  void AddOutput(std::uint32_t name, std::uint32_t version);
  void WatchOutput(WaylandOutput& o);
  void SeatCapabilities(std::uint32_t caps);

  // Pointer.
  WaylandWindow* WindowOf(wl_surface* s) const;
  // The window pointer input goes to: the capture owner, else the one under the pointer.
  WaylandWindow* PointerTarget() const;
  void PointerEnter(std::uint32_t serial, wl_surface* s, wl_fixed_t x, wl_fixed_t y);
  void PointerLeave(wl_surface* s);
  void PointerMotion(std::uint32_t time, wl_fixed_t x, wl_fixed_t y);
  void PointerButton(std::uint32_t serial, std::uint32_t time, std::uint32_t button, std::uint32_t state);
  void PointerAxis(std::uint32_t axis, wl_fixed_t value);
  void ShowCursor();
  void ShowStdCursor(StdCursor c);
  void ShowCursorLook(const CursorLook& shape);
  struct Catcher;  // a transparent layer over one output that takes the pointer
  Catcher* CatcherOf(wl_surface* s) const;
  // A pointer event over a catcher during a grab, for the grab window.
  MouseEvent GrabEvent() const;
  void RenewCatchers();  // one over each output there is now
  // Keyboard.
  void Keymap(std::uint32_t format, int fd, std::uint32_t size);
  void KeyboardEnter(wl_surface* s);
  void KeyboardLeave();
  void Key(std::uint32_t serial, std::uint32_t key, std::uint32_t state);
  // TEXT: what a press gives (see WaylandKeys), for the focused window after the key itself.
  void DeliverKey(std::uint32_t keycode, bool down, bool repeat, const std::string& text, bool textOnly = false);
  void RepeatKey();
  void StopRepeat();

  wl_display* FDisplay;
  wl_registry* FRegistry = nullptr;
  wl_compositor* FCompositor = nullptr;
  wl_shm* FShm = nullptr;
  wl_seat* FSeat = nullptr;
  zwlr_layer_shell_v1* FLayerShell = nullptr;
  xdg_wm_base* FWmBase = nullptr;
  zxdg_output_manager_v1* FXdgOutputs = nullptr;
  zwlr_data_control_manager_v1* FDataControl = nullptr;
  zwlr_screencopy_manager_v1* FScreenCopy = nullptr;
  std::vector<std::unique_ptr<WaylandOutput>> FOutputs;
  std::vector<WaylandWindow*> FWindows;
  WaylandWindow* FCaptureOwner = nullptr;
  X11TimerQueue FTimers;
  std::vector<FdWatch*> FWatches;
  wl_data_device_manager* FDataDevices = nullptr;
  std::uint32_t FInputSerial = 0;  // of the latest key or button event
  X11Launcher FLauncher;
  CanberraSound FSound;
  std::unique_ptr<WaylandClipboard> FClipboard;
  std::unique_ptr<WaylandScreenCopy> FCapture;
  // Made at the first picture screencopy cannot give; shared, so that a build without it needs
  // no definition.
  std::shared_ptr<ScreenshotPortal> FPortal;
  std::function<void()> FOnConnectionLost;
  bool FLostReported = false;

  wl_pointer* FPointer = nullptr;
  WaylandWindow* FPointerWindow = nullptr;
  std::uint32_t FEnterSerial = 0;
  Point FPointerPos;
  bool FPointerKnown = false;
  ShiftState FButtons = 0;
  struct Click {
    bool Valid = false;
    std::uint32_t When = 0, Button = 0;
    Point Pos;
  } FLastClick;
  wl_cursor_theme* FCursorTheme = nullptr;
  wl_surface* FCursorSurface = nullptr;
  std::unique_ptr<WaylandShmBuffer> FCustomCursor;
  std::vector<std::unique_ptr<Catcher>> FCatchers;
  Catcher* FPointerCatcher = nullptr;
  std::function<void()> FOnMeasureEnd;
  bool FMeasuring = false;
  bool FAstray = false;  // left the capturing window with a button down
  // The pointer is over a catcher we have destroyed and the compositor not yet: events are
  // for our windows beneath, at positions from that catcher's origin.
  bool FOnGoneCatcher = false;
  Point FGoneCatcherOrigin;
  Point FGoneCatcherPointer;  // where the pointer is over that catcher, ours or not
  WaylandWindow* FGrabWindow = nullptr;

  wl_keyboard* FKeyboard = nullptr;
  xkb_context* FXkb = nullptr;
  xkb_keymap* FKeymap = nullptr;
  xkb_state* FXkbState = nullptr;
  std::unique_ptr<WaylandKeys> FKeys;  // text and compose sequences
  std::uint32_t FSwallowedKey = 0;     // pressed, but not delivered: nor is its release
  WaylandWindow* FKeyWindow = nullptr;
  std::set<int> FKeysDown;  // virtual-key codes held
  std::int32_t FRepeatRate = 25, FRepeatDelay = 600;
  TimerId FRepeatTimer = 0;
  std::uint32_t FRepeatKey = 0;
  std::string FRepeatText;  // what a key that finished a compose sequence types again, else empty
};

}  // namespace plat
