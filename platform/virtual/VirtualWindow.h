#pragma once
// A top-level window of the virtual desktop: its place on the screen, a back buffer the
// toolkit draws into, an optional shape region and the cursor it asks for. Stacking, focus,
// capture and input belong to the desktop; the window forwards those calls to it.
#include <cstdint>
#include <optional>
#include <string>

#include "graphics/Bitmap.h"
#include "graphics/Region.h"
#include "platform/Platform.h"

namespace plat {

class VirtualDesktop;

class VirtualWindow : public NativeWindow {
 public:
  VirtualWindow(VirtualDesktop* desktop, std::uint64_t serial, const WindowParams& params,
                WindowListener* listener);
  ~VirtualWindow() override;
  VirtualWindow(const VirtualWindow&) = delete;
  VirtualWindow& operator=(const VirtualWindow&) = delete;

  // NativeWindow
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
  void SetOwner(const NativeWindow* owner) override;
  void Activate() override;
  bool Active() const override;
  void SetCapture() override;
  void ReleaseCapture() override;
  void SetCursor(const CursorLook& cursor) override;
  void BeginMoveDrag() override;
  bool GrabInput() override;
  void UngrabInput() override;
  gfx::Bitmap& BackBuffer() override { return FBuffer; }
  void Present(const Rect& dirty) override;

  // Queries for tests and the scenario runner.
  const std::string& Title() const { return FTitle; }
  WindowKind Kind() const { return FKind; }
  WindowRole Role() const { return FRole; }
  VirtualWindow* Owner() const;  // null when it has none or the owner is gone
  bool TaskbarEntry() const { return FTaskbarEntry; }
  const std::optional<gfx::Region>& ShapeRegion() const { return FRegion; }
  const gfx::Bitmap& Buffer() const { return FBuffer; }
  const CursorLook& Cursor() const { return FCursor; }
  WindowListener* Listener() const { return FListener; }
  bool HasCapture() const;
  // Whether screen point P belongs to this window (visible, inside the bounds and the region).
  bool HitTest(Point p) const;
  // How often Present was called, and the last dirty rectangle (window pixels).
  int PresentCount() const { return FPresentCount; }
  Rect LastPresent() const { return FLastPresent; }
  // A number unique among all windows the desktop ever made; never reused.
  std::uint64_t Serial() const { return FSerial; }

 private:
  friend class VirtualDesktop;

  VirtualDesktop* FDesktop;  // null once the desktop is gone
  std::uint64_t FSerial;
  WindowListener* FListener;
  std::string FTitle;
  WindowKind FKind;
  WindowRole FRole;
  std::uint64_t FOwner = 0;  // serial; 0 for none
  bool FTaskbarEntry;
  Rect FBounds;
  bool FVisible = false;
  bool FTopMost;
  std::optional<gfx::Region> FRegion;
  gfx::Bitmap FBuffer;
  CursorLook FCursor;
  int FPresentCount = 0;
  Rect FLastPresent;
};

}  // namespace plat
