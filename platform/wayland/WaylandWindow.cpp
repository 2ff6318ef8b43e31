#include "platform/wayland/WaylandWindow.h"

#include <algorithm>

#include "platform/wayland/WaylandPlatform.h"
#include "platform/wayland/WaylandShmBuffer.h"
#include "platform/wayland/WaylandProtocols.h"

namespace plat {

namespace {
constexpr std::size_t kMaxBuffers = 3;  // double buffering, a third while both are busy

// The pixel 0x00BBGGRR as opaque ARGB8888.
inline std::uint32_t Argb(gfx::TColor c) {
  return 0xFF000000u | (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu);
}

// What the compositor sees of a move: the surface origin it applies to input from the moment
// it has handled our commit, which the answer to a sync sent after the commit marks.
struct OriginSync {
  std::weak_ptr<bool> Alive;
  Point Origin;
  Point* Target;
  // The surface it was sent for: a surface made since starts at its own place, which an
  // older answer must not undo.
  unsigned Surface;
  const unsigned* CurrentSurface;
};
}  // namespace

WaylandWindow::WaylandWindow(WaylandPlatform& platform, const WindowParams& params, WindowListener* listener)
    : FPlatform(platform),
      FListener(listener ? listener : &FNoListener),
      FKind(params.Kind),
      FRole(params.Role),
      FTaskbarEntry(params.TaskbarEntry),
      FTitle(params.Title),
      FBounds(params.Bounds),
      FTopMost(params.TopMost),
      FBack(std::max(0, params.Bounds.Width()), std::max(0, params.Bounds.Height())) {
  platform.WindowCreated(this);
}

WaylandWindow::~WaylandWindow() {
  *FAlive = false;
  DestroySurface();
  FPlatform.WindowDestroyed(this);
  FPlatform.Flush();
}

bool WaylandWindow::IsLayer() const {
  // Dialogs are ordinary windows of the desktop; everything else floats at its exact place.
  return !(FRole == WindowRole::Dialog || (FRole == WindowRole::Normal && FTaskbarEntry));
}

void WaylandWindow::CreateSurface() {
  FSurface = wl_compositor_create_surface(FPlatform.Compositor());
  FConfigured = false;
  FEventOrigin = Point{FBounds.left, FBounds.top};
  ++FSurfaceCount;
  if (IsLayer()) {
    FOutput = FPlatform.OutputFor(FBounds);
    // Layers keep our stacking whatever order a compositor gives surfaces of one layer (sway
    // puts the newest below): the strip and the cross ruler in the top layer, the loupe,
    // readouts, menus and the lens above them in the overlay layer.
    // A tool of no role with no task-bar entry is the frozen screen's picture: it must lie
    // under the strip, with it in the top layer.
    const bool tool = IsTool();
    FLayer = zwlr_layer_shell_v1_get_layer_surface(FPlatform.LayerShell(), FSurface, FOutput ? FOutput->Output : nullptr,
                                                   tool ? ZWLR_LAYER_SHELL_V1_LAYER_TOP : ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY,
                                                   "vantrel");
    static const zwlr_layer_surface_v1_listener kListener{&WaylandWindow::OnLayerConfigure, &WaylandWindow::OnLayerClosed};
    zwlr_layer_surface_v1_add_listener(FLayer, &kListener, this);
    zwlr_layer_surface_v1_set_anchor(FLayer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT);
    // Placed by its margins alone, whatever panels reserve.
    zwlr_layer_surface_v1_set_exclusive_zone(FLayer, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(FLayer, Interactivity());
    Place();
  } else {
    FOutput = nullptr;
    FXdgSurface = xdg_wm_base_get_xdg_surface(FPlatform.WmBase(), FSurface);
    static const xdg_surface_listener kSurface{&WaylandWindow::OnXdgConfigure};
    xdg_surface_add_listener(FXdgSurface, &kSurface, this);
    FToplevel = xdg_surface_get_toplevel(FXdgSurface);
    static const xdg_toplevel_listener kToplevel{&WaylandWindow::OnToplevelConfigure, &WaylandWindow::OnToplevelClose,
                                                 [](void*, xdg_toplevel*, std::int32_t, std::int32_t) {},
                                                 [](void*, xdg_toplevel*, wl_array*) {}};
    xdg_toplevel_add_listener(FToplevel, &kToplevel, this);
    xdg_toplevel_set_app_id(FToplevel, "vantrel");
    xdg_toplevel_set_title(FToplevel, FTitle.c_str());
    // The toolkit sizes its dialogs itself: tiling compositors float fixed-size windows.
    xdg_toplevel_set_min_size(FToplevel, FBounds.Width(), FBounds.Height());
    xdg_toplevel_set_max_size(FToplevel, FBounds.Width(), FBounds.Height());
  }
  ApplyInputRegion();
  wl_surface_commit(FSurface);  // no buffer before the first configure
  FPlatform.Flush();
}

std::uint32_t WaylandWindow::Interactivity() const {
  if (FGrab) return ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE;
  // The strip and the cross ruler take the keyboard when clicked (on_demand needs v4).
  const bool keys = FRole == WindowRole::Utility || FKind != WindowKind::Popup;
  return keys && zwlr_layer_surface_v1_get_version(FLayer) >= 4 ? ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_ON_DEMAND
                                                                : ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE;
}

void WaylandWindow::DestroySurface() {
  if (!FSurface) return;
  FPlatform.SurfaceGone(this);
  if (FLayer) zwlr_layer_surface_v1_destroy(FLayer);
  if (FToplevel) xdg_toplevel_destroy(FToplevel);
  if (FXdgSurface) xdg_surface_destroy(FXdgSurface);
  wl_surface_destroy(FSurface);
  FLayer = nullptr;
  FToplevel = nullptr;
  FXdgSurface = nullptr;
  FSurface = nullptr;
  FOutput = nullptr;
  FConfigured = false;
  FBuffers.clear();
}

void WaylandWindow::Place() {
  if (!FLayer) return;
  const Point origin = FOutput ? Point{FOutput->Logical.left, FOutput->Logical.top} : Point{0, 0};
  zwlr_layer_surface_v1_set_size(FLayer, std::uint32_t(std::max(1, FBounds.Width())), std::uint32_t(std::max(1, FBounds.Height())));
  zwlr_layer_surface_v1_set_margin(FLayer, FBounds.top - origin.y, 0, 0, FBounds.left - origin.x);
}

void WaylandWindow::ApplyInputRegion() {
  if (!FSurface) return;
  if (!FRegion) {
    wl_surface_set_input_region(FSurface, nullptr);  // the whole surface
    return;
  }
  wl_region* region = wl_compositor_create_region(FPlatform.Compositor());
  for (const Rect& r : FRegion->Rects()) wl_region_add(region, r.left, r.top, r.Width(), r.Height());
  wl_surface_set_input_region(FSurface, region);
  wl_region_destroy(region);
}

bool WaylandWindow::TakesPointerAt(Point screen) const {
  if (!FSurface || !FConfigured || !FBounds.Contains(screen)) return false;
  const Point p{screen.x - FBounds.left, screen.y - FBounds.top};
  return !FRegion || std::any_of(FRegion->Rects().begin(), FRegion->Rects().end(), [p](const Rect& r) { return r.Contains(p); });
}

bool WaylandWindow::InOverlay() const {
  return FLayer && !IsTool();
}

bool WaylandWindow::IsTool() const {
  return FRole == WindowRole::Utility || (FRole == WindowRole::Normal && FKind == WindowKind::Tool);
}

void WaylandWindow::SetBounds(const Rect& bounds) {
  if (bounds == FBounds) return;
  const bool resized = bounds.Width() != FBounds.Width() || bounds.Height() != FBounds.Height();
  FBounds = bounds;
  if (resized) FBack.Resize(std::max(0, bounds.Width()), std::max(0, bounds.Height()));
  if (!FVisible) return;
  if (bounds.IsEmpty()) {  // a layer surface of no size would stretch between its anchors
    DestroySurface();
    FPlatform.Flush();
    return;
  }
  if (!FSurface || (FLayer && FPlatform.OutputFor(bounds) != FOutput)) {
    // Layer surfaces live on one output: another output means a new surface there.
    DestroySurface();
    CreateSurface();
    return;
  }
  if (resized) FBuffers.clear();
  Place();
  if (FToplevel && resized) {
    xdg_toplevel_set_min_size(FToplevel, bounds.Width(), bounds.Height());
    xdg_toplevel_set_max_size(FToplevel, bounds.Width(), bounds.Height());
  }
  Commit(resized ? FBack.Bounds() : Rect{});
  SyncOrigin();
}

void WaylandWindow::SyncOrigin() {
  if (!FLayer) return;
  auto* sync = new OriginSync{FAlive, Point{FBounds.left, FBounds.top}, &FEventOrigin, FSurfaceCount, &FSurfaceCount};
  wl_callback* cb = wl_display_sync(FPlatform.Display());
  static const wl_callback_listener kListener{&WaylandWindow::OnSynced};
  wl_callback_add_listener(cb, &kListener, sync);
  FPlatform.Flush();
}

void WaylandWindow::OnSynced(void* data, wl_callback* cb, std::uint32_t) {
  std::unique_ptr<OriginSync> sync(static_cast<OriginSync*>(data));
  wl_callback_destroy(cb);
  if (std::shared_ptr<bool> alive = sync->Alive.lock(); alive && *alive && *sync->CurrentSurface == sync->Surface)
    *sync->Target = sync->Origin;
}

void WaylandWindow::Show(bool activate) {
  (void)activate;  // the compositor decides the keyboard focus
  if (FVisible) return;
  FVisible = true;
  if (!FBounds.IsEmpty()) CreateSurface();
}

void WaylandWindow::Hide() {
  if (!FVisible) return;
  FVisible = false;
  EndMoveDrag();
  UngrabInput();
  std::shared_ptr<bool> alive = FAlive;
  DestroySurface();
  FPlatform.Flush();
  if (FPlatform.CaptureOwner() == this) LoseCapture();
  if (*alive) SetActive(false);
}

void WaylandWindow::SetZOrder(ZOrder z) {
  // Layer surfaces of one layer stack in the order they were mapped; the band is remembered
  // for TopMost() alone.
  if (z == ZOrder::TopMost) FTopMost = true;
  if (z == ZOrder::NoTopMost || z == ZOrder::Bottom) FTopMost = false;
}

void WaylandWindow::SetRegion(std::optional<gfx::Region> region) {
  FRegion = std::move(region);
  if (!FSurface) return;
  ApplyInputRegion();
  Commit(FBack.Bounds());
}

void WaylandWindow::SetTitle(const std::string& title) {
  FTitle = title;
  if (FToplevel) xdg_toplevel_set_title(FToplevel, title.c_str());
}

void WaylandWindow::Activate() {
  // Layer surfaces get the keyboard when clicked (on_demand); nothing can hand it over.
}

void WaylandWindow::SetActive(bool active) {
  if (active == FActive) return;
  FActive = active;
  FListener->OnActivate(active);
}

void WaylandWindow::SetCapture() {
  WaylandWindow* prev = FPlatform.CaptureOwner();
  if (prev == this) return;
  if (prev) prev->LoseCapture();
  FPlatform.SetCaptureOwner(this);
}

void WaylandWindow::ReleaseCapture() {
  if (FPlatform.CaptureOwner() == this) FPlatform.SetCaptureOwner(nullptr);
}

void WaylandWindow::LoseCapture() {
  if (FPlatform.CaptureOwner() != this) return;
  FPlatform.SetCaptureOwner(nullptr);
  FListener->OnCaptureLost();
}

bool WaylandWindow::GrabInput() {
  if (!FVisible) return false;
  // An open menu takes the keyboard; presses and moves over other programs' windows come to
  // it through the platform's catchers.
  FGrab = true;
  FPlatform.SetGrabWindow(this);
  if (!FLayer) return true;  // the surface, made later, takes the keyboard then
  zwlr_layer_surface_v1_set_keyboard_interactivity(FLayer, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
  wl_surface_commit(FSurface);
  FPlatform.Flush();
  return true;
}

void WaylandWindow::UngrabInput() {
  if (!FGrab) return;
  FGrab = false;
  FPlatform.EndGrab(this);
  if (!FLayer) return;
  zwlr_layer_surface_v1_set_keyboard_interactivity(FLayer, Interactivity());
  wl_surface_commit(FSurface);
  FPlatform.Flush();
}

void WaylandWindow::SetCursor(const CursorLook& cursor) {
  const bool same = cursor.IsCustom == FCursor.IsCustom &&
                    (cursor.IsCustom ? cursor.Image.Pixels == FCursor.Image.Pixels &&
                                           cursor.Image.HotSpot == FCursor.Image.HotSpot
                                     : cursor.Standard == FCursor.Standard);
  if (same) return;  // the toolkit sets the cursor on every move
  FCursor = cursor;
  FPlatform.CursorChanged(this);
}

void WaylandWindow::BeginMoveDrag() {
  // Only while the left button is held; the compositor keeps sending us the pointer until
  // it is released, and we move the surface by its margins, exactly.
  if (!FLayer || FMoveDrag || !(FPlatform.Buttons() & ssLeft) || !FPlatform.PointerKnown()) return;
  if (WaylandWindow* holder = FPlatform.CaptureOwner(); holder && holder != this) holder->LoseCapture();
  FPlatform.SetCaptureOwner(nullptr);
  const Point p = FPlatform.PointerPos();
  FDragOffset = {p.x - FBounds.left, p.y - FBounds.top};
  FMoveDrag = true;
  FPlatform.UpdateCatchers();
}

void WaylandWindow::EndMoveDrag() {
  if (!FMoveDrag) return;
  FMoveDrag = false;
  FPlatform.UpdateCatchers();
}

bool WaylandWindow::DragTo(Point screen, ShiftState buttons) {
  if (!FMoveDrag) return false;
  if (!(buttons & ssLeft)) {
    EndMoveDrag();
    return true;
  }
  const Rect moved = Rect::FromXYWH(screen.x - FDragOffset.x, screen.y - FDragOffset.y, FBounds.Width(), FBounds.Height());
  if (moved == FBounds) return true;
  std::shared_ptr<bool> alive = FAlive;
  SetBounds(moved);
  if (*alive) FListener->OnMoved(FBounds);
  return true;
}

void WaylandWindow::OutputsChanged() {
  if (!FLayer) return;
  if (!FPlatform.HasOutput(FOutput)) {
    // Its output went: on no output left it would be lost, so it is brought onto the
    // nearest one, whole where it fits, as window managers do; the program hears of the move.
    const WaylandOutput* o = FPlatform.OutputFor(FBounds);
    if (o && o->Logical.Intersect(FBounds).IsEmpty()) {
      const Rect& l = o->Logical;
      const int x = std::max(l.left, std::min(FBounds.left, l.right - FBounds.Width()));
      const int y = std::max(l.top, std::min(FBounds.top, l.bottom - FBounds.Height()));
      FBounds = Rect::FromXYWH(x, y, FBounds.Width(), FBounds.Height());
      DestroySurface();
      CreateSurface();
      FListener->OnMoved(FBounds);
      return;
    }
  }
  if (!FPlatform.HasOutput(FOutput) || FPlatform.OutputFor(FBounds) != FOutput) {
    DestroySurface();
    CreateSurface();
    return;
  }
  Place();
  wl_surface_commit(FSurface);
  SyncOrigin();
}

void WaylandWindow::Present(const Rect& dirty) {
  if (!FConfigured) return;  // the first configure paints it all
  Commit(dirty);
}

void WaylandWindow::Commit(const Rect& damage) {
  if (!FSurface || !FConfigured) return;
  const Rect d = damage.Intersect(FBack.Bounds());
  if (!d.IsEmpty()) {
    WaylandShmBuffer* buf = nullptr;
    for (auto& b : FBuffers)
      if (!b->Busy()) {
        buf = b.get();
        break;
      }
    if (!buf && FBuffers.size() < kMaxBuffers) {
      auto b = std::make_unique<WaylandShmBuffer>(FPlatform.Shm(), FBack.Width(), FBack.Height());
      if (!b->Buffer()) return;
      FBuffers.push_back(std::move(b));
      buf = FBuffers.back().get();
    }
    if (!buf) buf = FBuffers.front().get();  // all busy: overwrite the oldest rather than stall
    // The buffer catches up with everything drawn since it was last shown, plus this.
    const Rect fill = d.Union(buf->Stale()).Intersect(FBack.Bounds());
    for (auto& b : FBuffers)
      if (b.get() != buf) b->Stale() = b->Stale().Union(d);
    buf->Stale() = {};
    if (FRegion) {
      // Outside the region the window has no pixels: transparent.
      for (int y = fill.top; y < fill.bottom; ++y) std::fill(buf->Row(y) + fill.left, buf->Row(y) + fill.right, 0u);
    }
    auto copy = [&](const Rect& r) {
      for (int y = r.top; y < r.bottom; ++y) {
        const gfx::TColor* src = FBack.Row(y);
        std::uint32_t* dst = buf->Row(y);
        for (int x = r.left; x < r.right; ++x) dst[x] = Argb(src[x]);
      }
    };
    if (FRegion) {
      for (const Rect& r : FRegion->Rects()) copy(r.Intersect(fill));
    } else {
      copy(fill);
    }
    wl_surface_attach(FSurface, buf->Buffer(), 0, 0);
    wl_surface_damage_buffer(FSurface, d.left, d.top, d.Width(), d.Height());
    buf->SetBusy();
  }
  wl_surface_commit(FSurface);
  FPlatform.Flush();
}

void WaylandWindow::OnLayerConfigure(void* data, zwlr_layer_surface_v1* s, std::uint32_t serial, std::uint32_t, std::uint32_t) {
  auto* self = static_cast<WaylandWindow*>(data);
  zwlr_layer_surface_v1_ack_configure(s, serial);
  if (!self->FConfigured) {
    self->FConfigured = true;
    self->Commit(self->FBack.Bounds());
  }
}

void WaylandWindow::OnLayerClosed(void* data, zwlr_layer_surface_v1*) {
  // The compositor took the surface away (its output went): placed again where it can be.
  auto* self = static_cast<WaylandWindow*>(data);
  self->DestroySurface();
  if (self->FVisible && !self->FBounds.IsEmpty()) self->CreateSurface();
}

void WaylandWindow::OnXdgConfigure(void* data, xdg_surface* s, std::uint32_t serial) {
  auto* self = static_cast<WaylandWindow*>(data);
  xdg_surface_ack_configure(s, serial);
  if (!self->FConfigured) {
    self->FConfigured = true;
    self->Commit(self->FBack.Bounds());
  }
}

void WaylandWindow::OnToplevelConfigure(void*, xdg_toplevel*, std::int32_t, std::int32_t, wl_array*) {
  // The toolkit keeps its own size.
}

void WaylandWindow::OnToplevelClose(void* data, xdg_toplevel*) { static_cast<WaylandWindow*>(data)->FListener->OnCloseRequest(); }

}  // namespace plat
