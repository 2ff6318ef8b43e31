#include "platform/wayland/WaylandPlatform.h"

#ifdef VANTREL_HAVE_SNI
#include "platform/dbus/StatusNotifierItem.h"
#endif
#ifdef VANTREL_HAVE_PORTAL
#include "platform/portal/ScreenshotPortal.h"
#endif

#include <linux/input-event-codes.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-cursor.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "graphics/ImageFile.h"
#include "platform/wayland/WaylandClipboard.h"
#include "platform/wayland/WaylandKeys.h"
#include "platform/wayland/WaylandScreenCopy.h"
#include "platform/wayland/WaylandShmBuffer.h"
#include "platform/wayland/WaylandWindow.h"
#include "platform/wayland/WaylandProtocols.h"

namespace plat {

namespace {
constexpr std::uint32_t kDoubleClickMs = 500;
constexpr int kDoubleClickSlop = 4;  // pixels the pointer may move between the two clicks
constexpr int kWheelDelta = 120;

template <class T>
T* Bind(wl_registry* r, std::uint32_t name, const wl_interface* iface, std::uint32_t offered, std::uint32_t wanted) {
  return static_cast<T*>(wl_registry_bind(r, name, iface, std::min(offered, wanted)));
}

MouseButton ButtonOf(std::uint32_t b) {
  return b == BTN_RIGHT ? MouseButton::Right : b == BTN_MIDDLE ? MouseButton::Middle : MouseButton::Left;
}
ShiftState ButtonFlag(std::uint32_t b) {
  return b == BTN_LEFT ? ssLeft : b == BTN_RIGHT ? ssRight : b == BTN_MIDDLE ? ssMiddle : 0;
}

// Names in the freedesktop cursor themes, the first that exists wins.
std::vector<const char*> CursorNames(StdCursor c) {
  switch (c) {
    case StdCursor::Arrow: return {"left_ptr", "default"};
    case StdCursor::IBeam: return {"xterm", "text"};
    case StdCursor::Wait: return {"watch", "wait"};
    case StdCursor::Cross: return {"crosshair", "cross"};
    case StdCursor::UpArrow: return {"center_ptr", "up-arrow"};
    case StdCursor::SizeNWSE: return {"bottom_right_corner", "nwse-resize", "size_fdiag"};
    case StdCursor::SizeNESW: return {"bottom_left_corner", "nesw-resize", "size_bdiag"};
    case StdCursor::SizeWE: return {"sb_h_double_arrow", "ew-resize", "h_double_arrow"};
    case StdCursor::SizeNS: return {"sb_v_double_arrow", "ns-resize", "v_double_arrow"};
    case StdCursor::SizeAll: return {"fleur", "move", "all-scroll"};
    case StdCursor::No: return {"crossed_circle", "not-allowed", "X_cursor"};
    case StdCursor::Hand: return {"hand2", "pointer", "hand1"};
    case StdCursor::HelpArrow: return {"question_arrow", "help"};
  }
  return {"left_ptr"};
}

std::string PercentEncoded(const std::string& path) {
  std::string out;
  for (unsigned char c : path) {
    if (std::isalnum(c) || std::strchr("/-._~", c)) {
      out += char(c);
    } else {
      char buf[4];
      std::snprintf(buf, sizeof buf, "%%%02X", c);
      out += buf;
    }
  }
  return out;
}
}  // namespace

struct WaylandPlatform::Catcher {
  WaylandPlatform* Platform = nullptr;
  Point Origin;
  wl_surface* Surface = nullptr;
  zwlr_layer_surface_v1* Layer = nullptr;
  std::unique_ptr<WaylandShmBuffer> Buffer;
  ~Catcher() {
    zwlr_layer_surface_v1_destroy(Layer);
    wl_surface_destroy(Surface);
  }
};

std::unique_ptr<WaylandPlatform> WaylandPlatform::Open(const char* display, std::string& why) {
  wl_display* d = wl_display_connect(display);
  if (!d) {
    const char* name = display ? display : std::getenv("WAYLAND_DISPLAY");
    why = std::string("cannot connect to the Wayland compositor \"") + (name ? name : "") + "\"";
    return nullptr;
  }
  std::unique_ptr<WaylandPlatform> p(new WaylandPlatform(d));
  if (!p->Init(why)) return nullptr;
  return p;
}

WaylandPlatform::WaylandPlatform(wl_display* display) : FDisplay(display) {}

bool WaylandPlatform::Init(std::string& why) {
  FRegistry = wl_display_get_registry(FDisplay);
  static const wl_registry_listener kRegistry{&WaylandPlatform::OnGlobal, &WaylandPlatform::OnGlobalRemove};
  wl_registry_add_listener(FRegistry, &kRegistry, this);
  if (wl_display_roundtrip(FDisplay) < 0) {
    why = "the Wayland compositor closed the connection";
    return false;
  }
  if (!FCompositor || !FShm) {
    why = "the compositor offers no wl_compositor or wl_shm";
    return false;
  }
  if (!FLayerShell) {
    why = "the compositor offers no layer-shell (zwlr_layer_shell_v1), which Vantrel's windows need";
    return false;
  }
  // Outputs announced before the xdg-output manager get their logical geometry now.
  for (auto& o : FOutputs) WatchOutput(*o);
  wl_display_roundtrip(FDisplay);  // output geometry, the seat's capabilities
  wl_display_roundtrip(FDisplay);  // the keymap of a keyboard found just now
  const char* size = std::getenv("XCURSOR_SIZE");
  FCursorTheme = wl_cursor_theme_load(std::getenv("XCURSOR_THEME"), size && std::atoi(size) > 0 ? std::atoi(size) : 24, FShm);
  FCursorSurface = wl_compositor_create_surface(FCompositor);
  FCapture = std::make_unique<WaylandScreenCopy>(*this, FScreenCopy);
  if (FDataControl && FSeat) FClipboard = std::make_unique<WaylandClipboard>(FDisplay, FDataControl, FSeat);
  else UseDataDeviceClipboard();
  return true;
}

WaylandPlatform::~WaylandPlatform() {
  StopRepeat();
  FPortal.reset();  // its timer goes while the queue is there
  FCatchers.clear();
  FClipboard.reset();
  FCapture.reset();
  if (FCursorSurface) wl_surface_destroy(FCursorSurface);
  FCustomCursor.reset();
  if (FCursorTheme) wl_cursor_theme_destroy(FCursorTheme);
  if (FPointer) wl_pointer_destroy(FPointer);
  if (FKeyboard) wl_keyboard_destroy(FKeyboard);
  if (FXkbState) xkb_state_unref(FXkbState);
  if (FKeymap) xkb_keymap_unref(FKeymap);
  if (FXkb) xkb_context_unref(FXkb);
  for (auto& o : FOutputs) {
    if (o->Xdg) zxdg_output_v1_destroy(o->Xdg);
    wl_output_destroy(o->Output);
  }
  FOutputs.clear();
  if (FDataControl) zwlr_data_control_manager_v1_destroy(FDataControl);
  if (FDataDevices) wl_data_device_manager_destroy(FDataDevices);
  if (FScreenCopy) zwlr_screencopy_manager_v1_destroy(FScreenCopy);
  if (FXdgOutputs) zxdg_output_manager_v1_destroy(FXdgOutputs);
  if (FLayerShell) zwlr_layer_shell_v1_destroy(FLayerShell);
  if (FWmBase) xdg_wm_base_destroy(FWmBase);
  if (FSeat) wl_seat_destroy(FSeat);
  if (FShm) wl_shm_destroy(FShm);
  if (FCompositor) wl_compositor_destroy(FCompositor);
  if (FRegistry) wl_registry_destroy(FRegistry);
  wl_display_flush(FDisplay);
  wl_display_disconnect(FDisplay);
}

bool WaylandPlatform::ConnectionLost() const { return wl_display_get_error(FDisplay) != 0; }

void WaylandPlatform::Flush() {
  if (!ConnectionLost()) wl_display_flush(FDisplay);
}

// ---- globals ----

void WaylandPlatform::OnGlobal(void* data, wl_registry* r, std::uint32_t name, const char* iface, std::uint32_t version) {
  auto* self = static_cast<WaylandPlatform*>(data);
  const std::string_view i(iface);
  if (i == wl_compositor_interface.name) {
    self->FCompositor = Bind<wl_compositor>(r, name, &wl_compositor_interface, version, 4);
  } else if (i == wl_shm_interface.name) {
    self->FShm = Bind<wl_shm>(r, name, &wl_shm_interface, version, 1);
  } else if (i == wl_seat_interface.name && !self->FSeat) {
    self->FSeat = Bind<wl_seat>(r, name, &wl_seat_interface, version, 5);
    static const wl_seat_listener kSeat{
        [](void* d, wl_seat*, std::uint32_t caps) { static_cast<WaylandPlatform*>(d)->SeatCapabilities(caps); },
        [](void*, wl_seat*, const char*) {}};
    wl_seat_add_listener(self->FSeat, &kSeat, self);
  } else if (i == zwlr_layer_shell_v1_interface.name) {
    self->FLayerShell = Bind<zwlr_layer_shell_v1>(r, name, &zwlr_layer_shell_v1_interface, version, 4);
  } else if (i == xdg_wm_base_interface.name) {
    self->FWmBase = Bind<xdg_wm_base>(r, name, &xdg_wm_base_interface, version, 1);
    static const xdg_wm_base_listener kPing{[](void*, xdg_wm_base* b, std::uint32_t serial) { xdg_wm_base_pong(b, serial); }};
    xdg_wm_base_add_listener(self->FWmBase, &kPing, self);
  } else if (i == zxdg_output_manager_v1_interface.name) {
    self->FXdgOutputs = Bind<zxdg_output_manager_v1>(r, name, &zxdg_output_manager_v1_interface, version, 3);
  } else if (i == wl_data_device_manager_interface.name) {
    self->FDataDevices = Bind<wl_data_device_manager>(r, name, &wl_data_device_manager_interface, version, 3);
  } else if (i == zwlr_data_control_manager_v1_interface.name) {
    self->FDataControl = Bind<zwlr_data_control_manager_v1>(r, name, &zwlr_data_control_manager_v1_interface, version, 1);
  } else if (i == zwlr_screencopy_manager_v1_interface.name) {
    self->FScreenCopy = Bind<zwlr_screencopy_manager_v1>(r, name, &zwlr_screencopy_manager_v1_interface, version, 3);
  } else if (i == wl_output_interface.name) {
    self->AddOutput(name, version);
  }
}

void WaylandPlatform::OnGlobalRemove(void* data, wl_registry*, std::uint32_t name) {
  auto* self = static_cast<WaylandPlatform*>(data);
  auto it = std::find_if(self->FOutputs.begin(), self->FOutputs.end(), [name](auto& o) { return o->Name == name; });
  if (it == self->FOutputs.end()) return;
  if ((*it)->Xdg) zxdg_output_v1_destroy((*it)->Xdg);
  wl_output_destroy((*it)->Output);
  self->FOutputs.erase(it);
  // Windows on the output that went are placed again on one that stays.
  const std::vector<WaylandWindow*> windows = self->FWindows;
  for (WaylandWindow* w : windows) w->OutputsChanged();
  self->RenewCatchers();
}

void WaylandPlatform::AddOutput(std::uint32_t name, std::uint32_t version) {
  auto o = std::make_unique<WaylandOutput>();
  o->Name = name;
  o->Output = Bind<wl_output>(FRegistry, name, &wl_output_interface, version, 3);
  static const wl_output_listener kOutput{
      [](void* d, wl_output*, std::int32_t x, std::int32_t y, std::int32_t mmW, std::int32_t mmH, std::int32_t,
         const char*, const char*, std::int32_t transform) {
        auto* out = static_cast<WaylandOutput*>(d);
        out->WidthMm = mmW;
        out->HeightMm = mmH;
        out->Transform = transform;
        // Without xdg-output the compositor's position stands for the logical one.
        if (!out->Xdg) out->Logical = Rect::FromXYWH(x, y, out->Logical.Width(), out->Logical.Height());
      },
      [](void* d, wl_output*, std::uint32_t flags, std::int32_t w, std::int32_t h, std::int32_t) {
        auto* out = static_cast<WaylandOutput*>(d);
        if (!(flags & WL_OUTPUT_MODE_CURRENT)) return;
        out->Mode = {w, h};
        if (!out->Xdg) {
          const bool turned = out->Transform & 1;
          out->Logical = Rect::FromXYWH(out->Logical.left, out->Logical.top, turned ? h : w, turned ? w : h);
        }
      },
      [](void*, wl_output*) {}, [](void*, wl_output*, std::int32_t) {}, [](void*, wl_output*, const char*) {},
      [](void*, wl_output*, const char*) {}};
  wl_output_add_listener(o->Output, &kOutput, o.get());
  WatchOutput(*o);
  FOutputs.push_back(std::move(o));
  if (FCompositor) {  // announced after start: the layout changed
    wl_display_roundtrip(FDisplay);
    const std::vector<WaylandWindow*> windows = FWindows;
    for (WaylandWindow* w : windows) w->OutputsChanged();
    RenewCatchers();
  }
}

void WaylandPlatform::WatchOutput(WaylandOutput& o) {
  if (!FXdgOutputs || o.Xdg) return;
  o.Xdg = zxdg_output_manager_v1_get_xdg_output(FXdgOutputs, o.Output);
  static const zxdg_output_v1_listener kXdg{
      [](void* d, zxdg_output_v1*, std::int32_t x, std::int32_t y) {
        auto* out = static_cast<WaylandOutput*>(d);
        out->Logical = Rect::FromXYWH(x, y, out->Logical.Width(), out->Logical.Height());
      },
      [](void* d, zxdg_output_v1*, std::int32_t w, std::int32_t h) {
        auto* out = static_cast<WaylandOutput*>(d);
        out->Logical = Rect::FromXYWH(out->Logical.left, out->Logical.top, w, h);
      },
      [](void*, zxdg_output_v1*) {}, [](void*, zxdg_output_v1*, const char*) {},
      [](void*, zxdg_output_v1*, const char*) {}};
  zxdg_output_v1_add_listener(o.Xdg, &kXdg, &o);
}

// ---- screen ----

Size WaylandPlatform::ScreenSize() {
  Size s{0, 0};
  for (auto& o : FOutputs) {
    s.cx = std::max(s.cx, o->Logical.right);
    s.cy = std::max(s.cy, o->Logical.bottom);
  }
  return s;
}

std::vector<Monitor> WaylandPlatform::Monitors() {
  std::vector<Monitor> out;
  for (auto& o : FOutputs) {
    if (o->Logical.IsEmpty()) continue;
    // Wayland names no primary output: the one at the origin stands for it.
    const bool primary = o->Logical.left == 0 && o->Logical.top == 0;
    Monitor m{o->Logical, o->WidthMm, o->HeightMm, primary};
    if (primary)
      out.insert(out.begin(), m);
    else
      out.push_back(m);
  }
  if (out.empty()) return Platform::Monitors();
  if (!out.front().Primary) out.front().Primary = true;
  return out;
}

const WaylandOutput* WaylandPlatform::OutputFor(const Rect& r) const {
  const WaylandOutput* best = nullptr;
  long bestArea = -1, bestDistance = 0;
  for (auto& o : FOutputs) {
    if (o->Logical.Contains(Point{r.left, r.top})) return o.get();  // the one that holds its place
    const Rect i = o->Logical.Intersect(r);
    const long area = i.IsEmpty() ? 0 : long(i.Width()) * i.Height();
    // On none: the nearest, by the gaps between the rectangles.
    const long dx = std::max({0, o->Logical.left - r.right, r.left - o->Logical.right});
    const long dy = std::max({0, o->Logical.top - r.bottom, r.top - o->Logical.bottom});
    const long distance = dx * dx + dy * dy;
    if (area > bestArea || (area == 0 && bestArea == 0 && distance < bestDistance)) {
      bestArea = area;
      bestDistance = distance;
      best = o.get();
    }
  }
  return best;
}

bool WaylandPlatform::HasOutput(const WaylandOutput* o) const {
  return std::any_of(FOutputs.begin(), FOutputs.end(), [o](auto& p) { return p.get() == o; });
}

gfx::Bitmap WaylandPlatform::CaptureScreen(const Rect& r) { return FCapture->Capture(r, FOutputs); }

bool WaylandPlatform::ScreenReadable() { return !FCapture || !FCapture->Refused(); }

std::string WaylandPlatform::ScreenUnreadableHint() {
#ifdef VANTREL_HAVE_PORTAL
  return Platform::ScreenUnreadableHint();  // F asks the portal
#else
  return "no screen access";
#endif
}

void WaylandPlatform::RequestDesktopPicture(std::function<void(DesktopPicture)> done) {
  if (ScreenReadable()) {
    const Size s = ScreenSize();
    gfx::Bitmap shot = CaptureScreen(Rect{0, 0, s.cx, s.cy});
    // Refused just now: the grey it gave is no picture of the desktop.
    if (ScreenReadable()) return done(DesktopPicture{std::move(shot), {}});
  }
#ifdef VANTREL_HAVE_PORTAL
  if (!FPortal) FPortal = std::make_shared<ScreenshotPortal>(*this);
  FPortal->Request(std::move(done));
#else
  done(DesktopPicture{{}, "The screen could not be frozen: this compositor lets the screen be read only through the "
                          "desktop's screenshot portal, and this Vantrel was built without it (libsystemd)."});
#endif
}

// ---- windows ----

std::unique_ptr<NativeWindow> WaylandPlatform::CreateWindow(const WindowParams& params, WindowListener* listener) {
  return std::make_unique<WaylandWindow>(*this, params, listener);
}

void WaylandPlatform::WindowDestroyed(WaylandWindow* w) {
  SurfaceGone(w);
  std::erase(FWindows, w);
  if (FCaptureOwner == w) FCaptureOwner = nullptr;
  if (FGrabWindow == w) SetGrabWindow(nullptr);
  UpdateCatchers();  // a move drag may have ended with it
}

void WaylandPlatform::SurfaceGone(WaylandWindow* w) {
  if (FPointerWindow == w) FPointerWindow = nullptr;
  if (FKeyWindow == w) {
    FKeyWindow = nullptr;
    StopRepeat();
  }
}

WaylandWindow* WaylandPlatform::WindowOf(wl_surface* s) const {
  if (!s) return nullptr;
  for (WaylandWindow* w : FWindows)
    if (w->Surface() == s) return w;
  return nullptr;
}

WaylandWindow* WaylandPlatform::PointerTarget() const { return FCaptureOwner ? FCaptureOwner : FPointerWindow; }

// ---- pointer ----

void WaylandPlatform::SeatCapabilities(std::uint32_t caps) {
  const bool pointer = caps & WL_SEAT_CAPABILITY_POINTER, keyboard = caps & WL_SEAT_CAPABILITY_KEYBOARD;
  if (pointer && !FPointer) {
    FPointer = wl_seat_get_pointer(FSeat);
    static const wl_pointer_listener kPointer{
        [](void* d, wl_pointer*, std::uint32_t serial, wl_surface* s, wl_fixed_t x, wl_fixed_t y) {
          static_cast<WaylandPlatform*>(d)->PointerEnter(serial, s, x, y);
        },
        [](void* d, wl_pointer*, std::uint32_t, wl_surface* s) { static_cast<WaylandPlatform*>(d)->PointerLeave(s); },
        [](void* d, wl_pointer*, std::uint32_t time, wl_fixed_t x, wl_fixed_t y) {
          static_cast<WaylandPlatform*>(d)->PointerMotion(time, x, y);
        },
        [](void* d, wl_pointer*, std::uint32_t serial, std::uint32_t time, std::uint32_t button, std::uint32_t state) {
          static_cast<WaylandPlatform*>(d)->PointerButton(serial, time, button, state);
        },
        [](void* d, wl_pointer*, std::uint32_t, std::uint32_t axis, wl_fixed_t value) {
          static_cast<WaylandPlatform*>(d)->PointerAxis(axis, value);
        },
        [](void*, wl_pointer*) {}, [](void*, wl_pointer*, std::uint32_t) {},
        [](void*, wl_pointer*, std::uint32_t, std::uint32_t) {}, [](void*, wl_pointer*, std::uint32_t, std::int32_t) {},
        [](void*, wl_pointer*, std::uint32_t, std::int32_t) {}};
    wl_pointer_add_listener(FPointer, &kPointer, this);
  } else if (!pointer && FPointer) {
    wl_pointer_release(FPointer);
    FPointer = nullptr;
    FPointerWindow = nullptr;
    FButtons = 0;
  }
  if (keyboard && !FKeyboard) {
    if (!FXkb) FXkb = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (!FKeys && FXkb) FKeys = std::make_unique<WaylandKeys>(FXkb);
    FKeyboard = wl_seat_get_keyboard(FSeat);
    static const wl_keyboard_listener kKeyboard{
        [](void* d, wl_keyboard*, std::uint32_t format, std::int32_t fd, std::uint32_t size) {
          static_cast<WaylandPlatform*>(d)->Keymap(format, fd, size);
        },
        [](void* d, wl_keyboard*, std::uint32_t, wl_surface* s, wl_array*) {
          static_cast<WaylandPlatform*>(d)->KeyboardEnter(s);
        },
        [](void* d, wl_keyboard*, std::uint32_t, wl_surface*) { static_cast<WaylandPlatform*>(d)->KeyboardLeave(); },
        [](void* d, wl_keyboard*, std::uint32_t serial, std::uint32_t, std::uint32_t key, std::uint32_t state) {
          static_cast<WaylandPlatform*>(d)->Key(serial, key, state);
        },
        [](void* d, wl_keyboard*, std::uint32_t, std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked,
           std::uint32_t group) {
          auto* self = static_cast<WaylandPlatform*>(d);
          if (self->FXkbState) xkb_state_update_mask(self->FXkbState, depressed, latched, locked, 0, 0, group);
        },
        [](void* d, wl_keyboard*, std::int32_t rate, std::int32_t delay) {
          auto* self = static_cast<WaylandPlatform*>(d);
          self->FRepeatRate = rate;
          self->FRepeatDelay = delay;
        }};
    wl_keyboard_add_listener(FKeyboard, &kKeyboard, this);
  } else if (!keyboard && FKeyboard) {
    KeyboardLeave();
    wl_keyboard_release(FKeyboard);
    FKeyboard = nullptr;
  }
}

void WaylandPlatform::PointerEnter(std::uint32_t serial, wl_surface* s, wl_fixed_t x, wl_fixed_t y) {
  FEnterSerial = serial;
  FOnGoneCatcher = false;
  FPointerCatcher = CatcherOf(s);
  if (FPointerCatcher) {
    ShowStdCursor(FMeasuring ? StdCursor::Cross : StdCursor::Arrow);  // measuring shows
    PointerMotion(0, x, y);
    return;
  }
  FPointerWindow = WindowOf(s);
  if (!FPointerWindow) return;
  ShowCursor();
  PointerMotion(0, x, y);
}

void WaylandPlatform::PointerLeave(wl_surface*) {
  // Our window's surface, even one just re-made (that one is no longer known by its surface).
  const bool window = !FPointerCatcher && !FOnGoneCatcher;
  FPointerCatcher = nullptr;
  FOnGoneCatcher = false;
  WaylandWindow* w = FPointerWindow;
  FPointerWindow = nullptr;
  if (window && FCaptureOwner && (FButtons & (ssLeft | ssRight | ssMiddle))) {
    FAstray = true;  // on its way beyond our windows: the catchers keep it
    UpdateCatchers();
  }
  if (w && FCaptureOwner != w && !(FButtons & (ssLeft | ssRight | ssMiddle)) && !w->MoveDragging())
    w->Listener().OnMouseLeave();
}

void WaylandPlatform::PointerMotion(std::uint32_t, wl_fixed_t x, wl_fixed_t y) {
  FTimers.NoteInput();
  if (FOnGoneCatcher) {
    // Over another program's window the pointer is not ours to see, as it will not be once
    // the catcher is gone: a reading taken when measuring ended stays.
    FGoneCatcherPointer = {FGoneCatcherOrigin.x + int(wl_fixed_to_double(x)),
                           FGoneCatcherOrigin.y + int(wl_fixed_to_double(y))};
    if (std::any_of(FWindows.begin(), FWindows.end(), [&](WaylandWindow* w) { return w->TakesPointerAt(FGoneCatcherPointer); }))
      FPointerPos = FGoneCatcherPointer;
    return;
  }
  if (FPointerCatcher) {
    FPointerPos = {FPointerCatcher->Origin.x + int(wl_fixed_to_double(x)), FPointerCatcher->Origin.y + int(wl_fixed_to_double(y))};
    FPointerKnown = true;
    if (!FCaptureOwner && !std::any_of(FWindows.begin(), FWindows.end(), [](auto* w) { return w->MoveDragging(); })) {
      if (!FMeasuring && FGrabWindow) FGrabWindow->Listener().OnMouseMove(GrabEvent());
      return;
    }
    // A drag of ours went on over the catcher: as over the window itself.
  } else {
    if (!FPointerWindow) return;
    const Point origin = FPointerWindow->EventOrigin();
    FPointerPos = {origin.x + int(wl_fixed_to_double(x)), origin.y + int(wl_fixed_to_double(y))};
    FPointerKnown = true;
  }
  for (WaylandWindow* w : FWindows)
    if (w->DragTo(FPointerPos, FButtons)) return;
  WaylandWindow* target = PointerTarget();
  if (!target) return;
  MouseEvent m;
  m.ScreenPos = FPointerPos;
  m.Pos = {FPointerPos.x - target->Bounds().left, FPointerPos.y - target->Bounds().top};
  m.Shift = ShiftState(WaylandKeys::ShiftOf(FXkbState) | FButtons);
  target->Listener().OnMouseMove(m);
}

void WaylandPlatform::UseDataDeviceClipboard() {
  FClipboard.reset();
  if (FDataDevices && FSeat)
    FClipboard = std::make_unique<WaylandClipboard>(FDisplay, FDataDevices, FSeat, [this] { return FInputSerial; });
}

void WaylandPlatform::PointerButton(std::uint32_t serial, std::uint32_t time, std::uint32_t button, std::uint32_t state) {
  FInputSerial = serial;
  FTimers.NoteInput();
  const bool down = state == WL_POINTER_BUTTON_STATE_PRESSED;
  const ShiftState flag = ButtonFlag(button);
  if (!flag) return;
  FButtons = down ? ShiftState(FButtons | flag) : ShiftState(FButtons & ~flag);
  // With the last button up, a capture that stays holds the pointer no longer beyond our
  // windows: the catchers go once the release has been handled.
  struct AfterRelease {
    WaylandPlatform* Self;
    bool Up;
    ~AfterRelease() {
      if (!Up) return;
      Self->FAstray = false;
      Self->UpdateCatchers();
    }
  } after{this, !(FButtons & (ssLeft | ssRight | ssMiddle))};
  for (WaylandWindow* w : FWindows)
    if (w->MoveDragging()) {
      // The release of the left button ends the move and reaches no window.
      if (!down && button == BTN_LEFT) w->EndMoveDrag();
      return;
    }
  if ((FPointerCatcher && !FMeasuring && !FCaptureOwner && !FGrabWindow) || (FOnGoneCatcher && !FCaptureOwner)) {
    // A catcher no longer wanted, not yet gone (a click right after a drag): the press is for
    // our window beneath, as if the catcher were gone already.
    const Point at = FOnGoneCatcher ? FGoneCatcherPointer : FPointerPos;
    FPointerWindow = nullptr;
    for (WaylandWindow* w : FWindows)
      if (w->TakesPointerAt(at) && (!FPointerWindow || (w->InOverlay() && !FPointerWindow->InOverlay())))
        FPointerWindow = w;
    if (!FPointerWindow) return;
    FPointerPos = at;
  } else if (FPointerCatcher && !FMeasuring && !FCaptureOwner) {
    // Over another program's window while a menu holds the grab: the menu hears it (and a
    // press outside closes it), the other program does not.
    MouseEvent m = GrabEvent();
    m.Button = ButtonOf(button);
    if (down)
      FGrabWindow->Listener().OnMouseDown(m);
    else
      FGrabWindow->Listener().OnMouseUp(m);
    return;
  }
  if (FPointerCatcher && !FCaptureOwner) {
    // A left click ends it keeping the last reading; a right click ends it too.
    if (down && button != BTN_MIDDLE) {
      std::function<void()> onEnd = std::move(FOnMeasureEnd);
      EndMeasureAnywhere();
      if (onEnd) onEnd();
    }
    return;
  }
  WaylandWindow* target = PointerTarget();
  if (!target) return;
  MouseEvent m;
  m.ScreenPos = FPointerPos;
  m.Pos = {FPointerPos.x - target->Bounds().left, FPointerPos.y - target->Bounds().top};
  m.Button = ButtonOf(button);
  m.Shift = ShiftState(WaylandKeys::ShiftOf(FXkbState) | FButtons);
  if (!down) {
    target->Listener().OnMouseUp(m);
    return;
  }
  if (FLastClick.Valid && FLastClick.Button == button && time - FLastClick.When <= kDoubleClickMs &&
      std::abs(FPointerPos.x - FLastClick.Pos.x) <= kDoubleClickSlop &&
      std::abs(FPointerPos.y - FLastClick.Pos.y) <= kDoubleClickSlop) {
    m.DoubleClick = true;
    m.Shift |= ssDouble;
    FLastClick.Valid = false;  // a third click starts a new pair
  } else {
    FLastClick = {true, time, button, FPointerPos};
  }
  target->Listener().OnMouseDown(m);
}

void WaylandPlatform::PointerAxis(std::uint32_t axis, wl_fixed_t value) {
  FTimers.NoteInput();
  WaylandWindow* target = PointerTarget();
  if (!target || axis != WL_POINTER_AXIS_VERTICAL_SCROLL || value == 0) return;
  MouseEvent m;
  m.ScreenPos = FPointerPos;
  m.Pos = {FPointerPos.x - target->Bounds().left, FPointerPos.y - target->Bounds().top};
  m.Shift = ShiftState(WaylandKeys::ShiftOf(FXkbState) | FButtons);
  // Scrolling down is a positive axis value and a negative wheel delta.
  target->Listener().OnMouseWheel(m, value > 0 ? -kWheelDelta : kWheelDelta);
}

bool WaylandPlatform::GetCursorPos(Point& p) {
  if (!FPointerKnown) return false;
  p = FPointerPos;
  return true;
}

bool WaylandPlatform::IsKeyDown(int vk) {
  if (vk == VK_LBUTTON) return FButtons & ssLeft;
  if (vk == VK_RBUTTON) return FButtons & ssRight;
  if (vk == VK_MBUTTON) return FButtons & ssMiddle;
  return FKeysDown.count(vk) != 0;
}

void WaylandPlatform::CursorChanged(WaylandWindow* w) {
  if (w == FPointerWindow) ShowCursor();
}

void WaylandPlatform::ShowStdCursor(StdCursor c) {
  CursorLook shape;
  shape.Standard = c;
  ShowCursorLook(shape);
}

void WaylandPlatform::ShowCursor() {
  if (!FPointerWindow) return;
  ShowCursorLook(FPointerWindow->Cursor());
}

void WaylandPlatform::ShowCursorLook(const CursorLook& shape) {
  if (!FPointer || !FCursorSurface) return;
  int hx = 0, hy = 0;
  if (shape.IsCustom) {
    const CursorImage& img = shape.Image;
    if (img.Width <= 0 || img.Height <= 0 || img.Pixels.size() < std::size_t(img.Width) * std::size_t(img.Height)) return;
    auto buf = std::make_unique<WaylandShmBuffer>(FShm, img.Width, img.Height);
    if (!buf->Buffer()) return;
    for (int y = 0; y < img.Height; ++y)
      for (int x = 0; x < img.Width; ++x) {
        // Cursor surfaces cannot invert what lies below: inverted pixels show black.
        const std::uint8_t v = img.Pixels[std::size_t(y) * std::size_t(img.Width) + std::size_t(x)];
        buf->Row(y)[x] = v == 0 ? 0u : v == 2 ? 0xFFFFFFFFu : 0xFF000000u;
      }
    wl_surface_attach(FCursorSurface, buf->Buffer(), 0, 0);
    wl_surface_damage_buffer(FCursorSurface, 0, 0, img.Width, img.Height);
    FCustomCursor = std::move(buf);
    hx = img.HotSpot.x;
    hy = img.HotSpot.y;
  } else {
    if (!FCursorTheme) return;
    wl_cursor* cursor = nullptr;
    for (const char* name : CursorNames(shape.Standard))
      if ((cursor = wl_cursor_theme_get_cursor(FCursorTheme, name))) break;
    if (!cursor) cursor = wl_cursor_theme_get_cursor(FCursorTheme, "left_ptr");
    if (!cursor || cursor->image_count == 0) return;
    wl_cursor_image* image = cursor->images[0];
    wl_buffer* buffer = wl_cursor_image_get_buffer(image);
    if (!buffer) return;
    wl_surface_attach(FCursorSurface, buffer, 0, 0);
    wl_surface_damage_buffer(FCursorSurface, 0, 0, int(image->width), int(image->height));
    hx = int(image->hotspot_x);
    hy = int(image->hotspot_y);
  }
  wl_surface_commit(FCursorSurface);
  wl_pointer_set_cursor(FPointer, FEnterSerial, FCursorSurface, hx, hy);
  Flush();
}

// ---- measuring anywhere ----

void WaylandPlatform::BeginMeasureAnywhere(std::function<void()> onEnd) {
  if (FMeasuring) return;
  FMeasuring = true;
  FOnMeasureEnd = std::move(onEnd);
  UpdateCatchers();
  if (FPointerCatcher) ShowStdCursor(StdCursor::Cross);
}

void WaylandPlatform::EndMeasureAnywhere() {
  FMeasuring = false;
  FOnMeasureEnd = nullptr;
  UpdateCatchers();
}

void WaylandPlatform::SetGrabWindow(WaylandWindow* w) {
  if (w == FGrabWindow) return;
  FGrabWindow = w;
  UpdateCatchers();
}

MouseEvent WaylandPlatform::GrabEvent() const {
  MouseEvent m;
  m.ScreenPos = FPointerPos;
  m.Pos = {FPointerPos.x - FGrabWindow->Bounds().left, FPointerPos.y - FGrabWindow->Bounds().top};
  m.Shift = ShiftState(WaylandKeys::ShiftOf(FXkbState) | FButtons);
  return m;
}

void WaylandPlatform::RenewCatchers() {
  if (FCatchers.empty()) return;
  FCatchers.clear();
  FPointerCatcher = nullptr;
  UpdateCatchers();
}

void WaylandPlatform::SetCaptureOwner(WaylandWindow* w) {
  FCaptureOwner = w;
  if (!w) FAstray = false;
  UpdateCatchers();
}

void WaylandPlatform::UpdateCatchers() {
  const bool dragging =
      (FCaptureOwner && FAstray) ||
      std::any_of(FWindows.begin(), FWindows.end(), [](WaylandWindow* w) { return w->MoveDragging(); });
  if (!FMeasuring && !FGrabWindow && !dragging) {
    if (FPointerCatcher) {
      FOnGoneCatcher = true;
      FGoneCatcherOrigin = FPointerCatcher->Origin;
      FGoneCatcherPointer = FPointerPos;
    }
    FCatchers.clear();
    FPointerCatcher = nullptr;
    Flush();
    return;
  }
  if (!FCatchers.empty()) return;
  for (auto& o : FOutputs) {
    auto c = std::make_unique<Catcher>();
    c->Platform = this;
    c->Origin = {o->Logical.left, o->Logical.top};
    c->Surface = wl_compositor_create_surface(FCompositor);
    // The top layer, shown after our tool windows: below them on sway, above other clients.
    c->Layer = zwlr_layer_shell_v1_get_layer_surface(FLayerShell, c->Surface, o->Output, ZWLR_LAYER_SHELL_V1_LAYER_TOP,
                                                     "vantrel-measure");
    zwlr_layer_surface_v1_set_anchor(c->Layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT |
                                                   ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM);
    zwlr_layer_surface_v1_set_exclusive_zone(c->Layer, -1);
    static const zwlr_layer_surface_v1_listener kListener{
        [](void* d, zwlr_layer_surface_v1* l, std::uint32_t serial, std::uint32_t w, std::uint32_t h) {
          auto* c = static_cast<Catcher*>(d);
          zwlr_layer_surface_v1_ack_configure(l, serial);
          if (c->Buffer && c->Buffer->Width() == int(w) && c->Buffer->Height() == int(h)) return;
          // Fully transparent: it only takes the pointer.
          c->Buffer = std::make_unique<WaylandShmBuffer>(c->Platform->FShm, int(w), int(h));
          if (!c->Buffer->Buffer()) return;
          wl_surface_attach(c->Surface, c->Buffer->Buffer(), 0, 0);
          wl_surface_damage_buffer(c->Surface, 0, 0, int(w), int(h));
          wl_surface_commit(c->Surface);
        },
        [](void*, zwlr_layer_surface_v1*) {}};  // its output went: it goes when measuring ends
    zwlr_layer_surface_v1_add_listener(c->Layer, &kListener, c.get());
    wl_surface_commit(c->Surface);
    FCatchers.push_back(std::move(c));
  }
  Flush();
}

WaylandPlatform::Catcher* WaylandPlatform::CatcherOf(wl_surface* s) const {
  for (auto& c : FCatchers)
    if (s && c->Surface == s) return c.get();
  return nullptr;
}

// ---- keyboard ----

void WaylandPlatform::Keymap(std::uint32_t format, int fd, std::uint32_t size) {
  if (format != WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 || !FXkb) {
    close(fd);
    return;
  }
  void* map = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  close(fd);
  if (map == MAP_FAILED) return;
  xkb_keymap* keymap = xkb_keymap_new_from_string(FXkb, static_cast<const char*>(map), XKB_KEYMAP_FORMAT_TEXT_V1,
                                                  XKB_KEYMAP_COMPILE_NO_FLAGS);
  munmap(map, size);
  if (!keymap) return;
  if (FXkbState) xkb_state_unref(FXkbState);
  if (FKeymap) xkb_keymap_unref(FKeymap);
  FKeymap = keymap;
  FXkbState = xkb_state_new(keymap);
}

void WaylandPlatform::KeyboardEnter(wl_surface* s) {
  FKeyWindow = WindowOf(s);
  if (FKeyWindow) FKeyWindow->SetActive(true);
}

void WaylandPlatform::KeyboardLeave() {
  StopRepeat();
  FKeysDown.clear();
  FSwallowedKey = 0;
  if (FKeys) FKeys->Reset();  // a sequence begun here is not finished in another window
  WaylandWindow* w = FKeyWindow;
  FKeyWindow = nullptr;
  if (w) w->SetActive(false);
}

void WaylandPlatform::Key(std::uint32_t serial, std::uint32_t key, std::uint32_t state) {
  FInputSerial = serial;
  FTimers.NoteInput();
  const std::uint32_t keycode = key + 8;  // evdev to xkb
  const bool down = state == WL_KEYBOARD_KEY_STATE_PRESSED;
  if (!down && keycode == FRepeatKey) StopRepeat();
  if (!down && keycode == FSwallowedKey) {
    FSwallowedKey = 0;
    return;
  }
  WaylandKeys::Press press;
  if (down && FKeys && FXkbState) press = FKeys->TextOfPress(FXkbState, keycode);
  // Escape that ends a compose sequence only ends it: a dialog stays open.
  if (press.Swallow) {
    FSwallowedKey = keycode;
    return;
  }
  if (press.TextOnly) FSwallowedKey = keycode;  // its release is not the window's either
  DeliverKey(keycode, down, false, press.Text, press.TextOnly);
  if (down && press.Repeats != WaylandKeys::Repeat::None && FKeymap && FRepeatRate > 0 && xkb_keymap_key_repeats(FKeymap, keycode)) {
    StopRepeat();
    FRepeatKey = keycode;
    FRepeatText = press.Repeats == WaylandKeys::Repeat::Same ? press.Text : std::string();
    // The first repeat after the compositor's delay, then at its rate.
    FRepeatTimer = StartTimer(unsigned(std::max(1, FRepeatDelay)), [this] {
      const std::uint32_t k = FRepeatKey;
      StopTimer(FRepeatTimer);
      FRepeatKey = k;
      FRepeatTimer = StartTimer(unsigned(std::max(1, 1000 / FRepeatRate)), [this] { RepeatKey(); });
      RepeatKey();
    });
  }
}

void WaylandPlatform::StopRepeat() {
  if (FRepeatTimer) FTimers.Stop(FRepeatTimer);
  FRepeatTimer = 0;
  FRepeatKey = 0;
  FRepeatText.clear();
}

void WaylandPlatform::RepeatKey() {
  if (FXkbState)
    DeliverKey(FRepeatKey, true, true, FRepeatText.empty() ? WaylandKeys::KeymapText(FXkbState, FRepeatKey) : FRepeatText,
               !FRepeatText.empty());
}

void WaylandPlatform::DeliverKey(std::uint32_t keycode, bool down, bool repeat, const std::string& text, bool textOnly) {
  if (!FXkbState || !FKeymap) return;
  if (textOnly) {
    if (FKeyWindow && !text.empty()) FKeyWindow->Listener().OnChar(text);
    return;
  }
  const xkb_keysym_t shifted = xkb_state_key_get_one_sym(FXkbState, keycode);
  const xkb_keysym_t* syms = nullptr;
  const int n = xkb_keymap_key_get_syms_by_level(FKeymap, keycode, xkb_state_key_get_layout(FXkbState, keycode), 0, &syms);
  xkb_keysym_t base = n > 0 ? syms[0] : shifted;
  // Keypad keys follow Num Lock, which only the shifted symbol knows.
  if (base >= XKB_KEY_KP_Space && base <= XKB_KEY_KP_Equal) base = shifted;
  int vk = WaylandKeys::VirtualKeyOf(base);
  if (vk == 0) vk = WaylandKeys::VirtualKeyOf(shifted);
  const ShiftState shift = ShiftState(WaylandKeys::ShiftOf(FXkbState) | FButtons);
  KeyEvent k;
  k.Key = vk;
  k.Repeat = repeat || (down && FKeysDown.count(vk));
  if (down) {
    FKeysDown.insert(vk);
    k.Shift = ShiftState(shift | WaylandKeys::ModifierFlagOf(vk));
  } else {
    FKeysDown.erase(vk);
    k.Shift = ShiftState(shift & ~WaylandKeys::ModifierFlagOf(vk));
  }
  WaylandWindow* w = FKeyWindow;
  if (!w) return;
  if (!down) {
    if (vk) w->Listener().OnKeyUp(k);
    return;
  }
  std::shared_ptr<bool> alive = w->AliveFlag();
  if (vk) w->Listener().OnKeyDown(k);
  if (!*alive || (shift & ssAlt)) return;  // Alt combinations are commands, not text
  if (base == XKB_KEY_Delete || base == XKB_KEY_KP_Delete) return;  // Delete gives no character
  if (text.empty() || text == "\x7f") return;
  if (FKeyWindow == w) w->Listener().OnChar(text);
}

// ---- timers and the loop ----

void WaylandPlatform::Sleep(unsigned ms) {
  if (ms) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

Platform::TimerId WaylandPlatform::StartTimer(unsigned intervalMs, std::function<void()> onTick) {
  return FTimers.Start(intervalMs, std::move(onTick), NowMs());
}

bool WaylandPlatform::CheckConnection() {
  if (!ConnectionLost()) return true;
  if (!FLostReported) {
    FLostReported = true;
    if (FOnConnectionLost) FOnConnectionLost();
  }
  return false;
}

bool WaylandPlatform::ProcessEvents(bool wait) {
  if (!CheckConnection()) return false;
  FLauncher.Reap();
  auto readSocket = [&](int timeout) {
    // The libwayland reading protocol: what is queued first, then one reader reads. The
    // watched services' descriptors wait in the same poll, their deadlines shorten it.
    while (wl_display_prepare_read(FDisplay) != 0) wl_display_dispatch_pending(FDisplay);
    wl_display_flush(FDisplay);
    std::vector<pollfd> fds{pollfd{wl_display_get_fd(FDisplay), POLLIN, 0}};
    const std::vector<FdWatch*> watches = FWatches;
    for (FdWatch* w : watches) {
      fds.push_back(pollfd{w->Fd(), w->PollEvents(), 0});
      const int due = w->TimeoutMs();
      if (due >= 0 && (timeout < 0 || due < timeout)) timeout = due;
    }
    const int n = poll(fds.data(), nfds_t(fds.size()), timeout);
    if (n > 0 && fds[0].revents != 0)
      wl_display_read_events(FDisplay);
    else
      wl_display_cancel_read(FDisplay);
    // A dispatch may remove any watch: each is looked up again before it runs.
    for (std::size_t i = 0; i < watches.size(); ++i)
      if (std::find(FWatches.begin(), FWatches.end(), watches[i]) != FWatches.end() &&
          ((n > 0 && fds[i + 1].revents != 0) || watches[i]->TimeoutMs() == 0))
        watches[i]->Dispatch();
  };
  readSocket(0);
  bool did = wl_display_dispatch_pending(FDisplay) > 0;
  did = FTimers.FireDue(NowMs()) || did;
  if (wait && !did && !ConnectionLost()) {
    // Sleep until the compositor sends something or the next timer is due. Idle, the timers'
    // tolerances count: the pointer we can see moves only with an event, which wakes us.
    readSocket(FTimers.TimeoutMs(NowMs(), true));
    wl_display_dispatch_pending(FDisplay);
    FTimers.FireDue(NowMs());
  }
  Flush();
  return CheckConnection();
}

bool WaylandPlatform::AddFdWatch(FdWatch* w) {
  if (std::find(FWatches.begin(), FWatches.end(), w) == FWatches.end()) FWatches.push_back(w);
  return true;
}

void WaylandPlatform::RemoveFdWatch(FdWatch* w) { std::erase(FWatches, w); }

// ---- shell services ----

bool WaylandPlatform::TrayAvailable() {
#ifdef VANTREL_HAVE_SNI
  return StatusNotifierItem::WatcherPresent();
#else
  return false;
#endif
}

std::unique_ptr<TrayIcon> WaylandPlatform::CreateTrayIcon(TrayIconListener* listener) {
#ifdef VANTREL_HAVE_SNI
  return StatusNotifierItem::Create(*this, listener);
#else
  (void)listener;
  return nullptr;
#endif
}

void WaylandPlatform::SetClipboardText(const std::string& utf8) {
  if (FClipboard) FClipboard->SetText(utf8);
}

void WaylandPlatform::SetClipboardBitmap(const gfx::Bitmap& bmp) {
  if (FClipboard) FClipboard->SetPng(gfx::WritePng(bmp));
}

void WaylandPlatform::ShellOpen(const std::string& target) {
  if (target.empty()) return;
  std::string error;
  if (!FLauncher.Spawn({"xdg-open", target}, error)) std::fprintf(stderr, "vantrel: %s\n", error.c_str());
}

// No XSETTINGS here, and GNOME keeps its switch for event sounds in GSettings, which would
// take GLib: sounds are allowed, in the default theme, as with no settings daemon on X11.
void WaylandPlatform::PlaySystemSound(const std::string& name) { FSound.PlayNamed(name); }

void WaylandPlatform::Beep() { FSound.Play(CanberraSound::kBellEvent, "Bell"); }

void WaylandPlatform::ShowHelp(const std::string& file, const std::string& command) {
  if (command == "quit") return;
  // The help file "<folder>/Vantrel.hlp" stands for the HTML document vantrel.html, beside
  // the program or in the documentation folder.
  std::string name = file.substr(file.rfind('/') == std::string::npos ? 0 : file.rfind('/') + 1);
  name = name.substr(0, name.rfind('.'));
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  if (name.empty()) name = "vantrel";
  const std::string folder = file.rfind('/') == std::string::npos ? ExecutableDir() : file.substr(0, file.rfind('/') + 1);
  std::string document;
  for (const std::string& dir : {folder, ExecutableDir(), ExecutableDir() + "../share/doc/vantrel/",
                                 std::string("/usr/share/doc/vantrel/")})
    if (access((dir + name + ".html").c_str(), R_OK) == 0) {
      document = dir + name + ".html";
      break;
    }
  if (document.empty()) throw std::runtime_error("The help document " + name + ".html cannot be found.");
  char resolved[4096];
  if (realpath(document.c_str(), resolved)) document = resolved;
  // JumpID("","Topic") opens at the topic's anchor.
  std::string anchor;
  if (command.rfind("JumpID(", 0) == 0) {
    const std::size_t close = command.find_last_of("\"'");
    const std::size_t open = close == std::string::npos ? close : command.find_last_of("\"'", close - 1);
    if (open != std::string::npos && close > open + 1) anchor = command.substr(open + 1, close - open - 1);
  }
  std::string error;
  const std::string uri = "file://" + PercentEncoded(document) + (anchor.empty() ? "" : "#" + PercentEncoded(anchor));
  if (!FLauncher.Spawn({"xdg-open", uri}, error)) throw std::runtime_error("The help cannot be shown: " + error);
}

}  // namespace plat
