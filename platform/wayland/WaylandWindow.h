#pragma once
// A window of the program on a Wayland compositor: an overlay layer surface placed exactly by
// its margins on the output that holds it, or, for dialogs, an xdg toplevel. Its back buffer
// is pushed through shm buffers a dirty rectangle at a time.
#include <wayland-client.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

struct zwlr_layer_surface_v1;
struct xdg_surface;
struct xdg_toplevel;

namespace plat {

class WaylandPlatform;
class WaylandShmBuffer;
struct WaylandOutput;

class WaylandWindow final : public NativeWindow {
 public:
  WaylandWindow(WaylandPlatform& platform, const WindowParams& params, WindowListener* listener);
  ~WaylandWindow() override;
  WaylandWindow(const WaylandWindow&) = delete;
  WaylandWindow& operator=(const WaylandWindow&) = delete;

  Rect Bounds() const override { return FBounds; }
  void SetBounds(const Rect& bounds) override;
  bool Visible() const override { return FVisible; }
  void Show(bool activate) override;
  void Hide() override;
  void SetZOrder(ZOrder z) override;
  bool TopMost() const override { return FTopMost; }
  void SetRegion(std::optional<gfx::Region> region) override;
  void SetTitle(const std::string& title) override;
  void SetRole(WindowRole role) override { FRole = role; }
  void SetOwner(const NativeWindow*) override {}
  void Activate() override;
  bool Active() const override { return FActive; }
  void SetCapture() override;
  void ReleaseCapture() override;
  void SetCursor(const CursorLook& cursor) override;
  void BeginMoveDrag() override;
  bool GrabInput() override;
  void UngrabInput() override;
  gfx::Bitmap& BackBuffer() override { return FBack; }
  void Present(const Rect& dirty) override;

  // For the platform.
  wl_surface* Surface() const { return FSurface; }
  WindowListener& Listener() { return *FListener; }
  const CursorLook& Cursor() const { return FCursor; }
  // Where the compositor has this surface now: surface-local input plus this is the screen.
  Point EventOrigin() const { return FEventOrigin; }
  bool MoveDragging() const { return FMoveDrag; }
  // Pointer motion during a move drag (screen position); false when no drag runs.
  bool DragTo(Point screen, ShiftState buttons);
  void EndMoveDrag();
  void SetActive(bool active);
  void LoseCapture();
  // Its output went away, or a new layout: placed again.
  void OutputsChanged();
  std::shared_ptr<bool> AliveFlag() const { return FAlive; }
  // Whether its surface is shown and its region takes the pointer at SCREEN.
  bool TakesPointerAt(Point screen) const;
  bool InOverlay() const;  // above the top layer's strip and cross ruler

 private:
  bool IsLayer() const;
  bool IsTool() const;  // in the top layer
  void CreateSurface();
  void DestroySurface();
  std::uint32_t Interactivity() const;  // keyboard interactivity of the layer surface
  void Place();  // margins and size of the layer surface from FBounds
  void ApplyInputRegion();
  void Commit(const Rect& damage);
  void SyncOrigin();
  static void OnLayerConfigure(void* data, zwlr_layer_surface_v1* s, std::uint32_t serial, std::uint32_t w, std::uint32_t h);
  static void OnLayerClosed(void* data, zwlr_layer_surface_v1* s);
  static void OnXdgConfigure(void* data, xdg_surface* s, std::uint32_t serial);
  static void OnToplevelConfigure(void* data, xdg_toplevel* t, std::int32_t w, std::int32_t h, wl_array* states);
  static void OnToplevelClose(void* data, xdg_toplevel* t);
  static void OnSynced(void* data, wl_callback* cb, std::uint32_t);

  WaylandPlatform& FPlatform;
  WindowListener FNoListener;
  WindowListener* FListener;
  WindowKind FKind;
  WindowRole FRole;
  bool FTaskbarEntry;
  std::string FTitle;
  Rect FBounds;
  bool FVisible = false;
  bool FTopMost = false;
  bool FActive = false;
  bool FConfigured = false;
  bool FGrab = false;
  gfx::Bitmap FBack;
  std::optional<gfx::Region> FRegion;
  CursorLook FCursor;

  wl_surface* FSurface = nullptr;
  zwlr_layer_surface_v1* FLayer = nullptr;
  xdg_surface* FXdgSurface = nullptr;
  xdg_toplevel* FToplevel = nullptr;
  const WaylandOutput* FOutput = nullptr;
  std::vector<std::unique_ptr<WaylandShmBuffer>> FBuffers;
  Point FEventOrigin;
  unsigned FSurfaceCount = 0;  // surfaces made so far

  bool FMoveDrag = false;
  Point FDragOffset;

  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

}  // namespace plat
