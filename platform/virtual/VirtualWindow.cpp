#include "platform/virtual/VirtualWindow.h"

#include <algorithm>

#include "platform/virtual/VirtualDesktop.h"

namespace plat {

namespace {
// A rectangle turned inside out would give the back buffer a negative size.
Rect Normalised(const Rect& r) {
  return {r.left, r.top, std::max(r.left, r.right), std::max(r.top, r.bottom)};
}
}  // namespace

VirtualWindow::VirtualWindow(VirtualDesktop* desktop, std::uint64_t serial, const WindowParams& params,
                             WindowListener* listener)
    : FDesktop(desktop),
      FSerial(serial),
      FListener(listener),
      FTitle(params.Title),
      FKind(params.Kind),
      FRole(params.Role),
      FTaskbarEntry(params.TaskbarEntry),
      FBounds(Normalised(params.Bounds)),
      FTopMost(params.TopMost),
      FBuffer(FBounds.Width(), FBounds.Height()) {
  SetOwner(params.Owner);
}

VirtualWindow::~VirtualWindow() {
  if (FDesktop) FDesktop->WindowDestroyed(this);
}

void VirtualWindow::SetBounds(const Rect& bounds) {
  Rect b = Normalised(bounds);
  if (FDesktop) {
    FDesktop->WindowSetBounds(this, b);
  } else {
    FBounds = b;
    FBuffer.Resize(b.Width(), b.Height());
  }
}

void VirtualWindow::Show(bool activate) {
  if (FDesktop) FDesktop->WindowShow(this, activate);
  else FVisible = true;
}

void VirtualWindow::Hide() {
  if (FDesktop) FDesktop->WindowHide(this);
  else FVisible = false;
}

void VirtualWindow::SetZOrder(ZOrder z) {
  if (FDesktop) FDesktop->WindowSetZOrder(this, z);
}

void VirtualWindow::SetRegion(std::optional<gfx::Region> region) {
  FRegion = std::move(region);
  if (FDesktop) FDesktop->WindowRegionChanged(this);
}

void VirtualWindow::SetTitle(const std::string& title) { FTitle = title; }

void VirtualWindow::SetOwner(const NativeWindow* owner) {
  // Kept by serial, so an owner destroyed first leaves nothing dangling.
  const auto* w = dynamic_cast<const VirtualWindow*>(owner);
  FOwner = w && w != this ? w->FSerial : 0;
}

VirtualWindow* VirtualWindow::Owner() const {
  return FOwner && FDesktop ? FDesktop->FindSerial(FOwner) : nullptr;
}

void VirtualWindow::Activate() {
  if (FDesktop) FDesktop->WindowActivate(this);
}

bool VirtualWindow::Active() const { return FDesktop && FDesktop->ActiveWindow() == this; }

void VirtualWindow::SetCapture() {
  if (FDesktop) FDesktop->WindowSetCapture(this);
}

void VirtualWindow::ReleaseCapture() {
  if (FDesktop) FDesktop->WindowReleaseCapture(this);
}

void VirtualWindow::SetCursor(const CursorLook& cursor) { FCursor = cursor; }

void VirtualWindow::BeginMoveDrag() {
  if (FDesktop) FDesktop->WindowBeginMoveDrag(this);
}

bool VirtualWindow::GrabInput() {
  if (!FDesktop || !FVisible) return false;
  FDesktop->WindowGrabInput(this);
  return true;
}

void VirtualWindow::UngrabInput() {
  if (FDesktop) FDesktop->WindowUngrabInput(this);
}

void VirtualWindow::Present(const Rect& dirty) {
  ++FPresentCount;
  FLastPresent = dirty;
  if (FDesktop) FDesktop->WindowPresent(this, dirty);
}

bool VirtualWindow::HasCapture() const { return FDesktop && FDesktop->CaptureWindow() == this; }

bool VirtualWindow::HitTest(Point p) const {
  if (!FVisible || !FBounds.Contains(p)) return false;
  return !FRegion || FRegion->Contains(p.x - FBounds.left, p.y - FBounds.top);
}

}  // namespace plat
