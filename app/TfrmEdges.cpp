#include "app/TfrmEdges.h"

#include <algorithm>

#include "graphics/EdgeFinder.h"
#include "toolkit/core/TScreen.h"

namespace {

constexpr int kMaxTolerance = 128;
constexpr int kBeamReach = 1 << 15;   // no edge further away than any screen is wide
constexpr gfx::TColor kBeamColor = 0xFF00FF;  // magenta: rare in user interfaces
constexpr int kLabelGap = 12;         // between the pointer and the label

TForm* Beam(TComponent* owner, const char* name) {
  auto* f = TComponent::Create<TForm>(owner);
  f->SetName(name);
  f->SetBorderStyle(bsNone);
  f->SetBorderIcons(0);
  f->SetFormStyle(fsStayOnTop);
  f->SetWindowKind(plat::WindowKind::Popup);
  f->SetColor(kBeamColor);
  f->SetBounds(0, 0, 1, 1);
  return f;
}

}  // namespace

TfrmEdges::TfrmEdges(TComponent* AOwner) : TfrmPosition(AOwner), FTolerance(gfx::kDefaultEdgeTolerance) {
  using namespace std::placeholders;
  SetName("frmEdges");
  frmBeamH = Beam(this, "frmBeamH");
  frmBeamV = Beam(this, "frmBeamV");
  // The beams cross under the pointer, so the wheel turns on them.
  for (TForm* beam : {frmBeamH, frmBeamV})
    beam->OnMouseWheel = std::bind(&TfrmEdges::BeamMouseWheel, this, _1, _2, _3, _4, _5);
}

void TfrmEdges::Start(gfx::Bitmap picture, TSizeText sizeText) {
  FPicture = std::move(picture);
  FSizeText = std::move(sizeText);
  FMeasuring = true;
}

void TfrmEdges::Stop() {
  FMeasuring = false;
  FPicture = gfx::Bitmap();
  frmBeamH->Hide();
  frmBeamV->Hide();
  Hide();
}

void TfrmEdges::Track(gfx::Point p) {
  if (!FMeasuring) return;
  FPointer = p;
  FSpan = gfx::EdgeBox(FPicture, p, FTolerance, kBeamReach);
  if (FSpan.IsEmpty()) {  // off the picture
    Stop();
    return;
  }
  FMeasurement = FSizeText ? FSizeText(FSpan.Width(), FSpan.Height())
                           : std::to_string(FSpan.Width()) + " x " + std::to_string(FSpan.Height());
  frmBeamH->SetBounds(FSpan.left, p.y, FSpan.Width(), 1);
  frmBeamV->SetBounds(p.x, FSpan.top, 1, FSpan.Height());
  for (TForm* beam : {frmBeamH, frmBeamV}) {
    if (!beam->Visible()) beam->Show();
    beam->NativeWindow()->SetZOrder(plat::ZOrder::TopMost);
  }
  ShowLabel();
}

void TfrmEdges::ShowLabel() {
  lblTxt->SetCaption(FMeasurement + "   tolerance " + std::to_string(FTolerance));
  SetBounds(Left(), Top(), lblTxt->Width() + 12, Height());
  // Above right of the pointer, clear of the mouse loupe that hangs below it; turned to the
  // other side near the monitor's edges.
  const gfx::Rect m = TScreen::MonitorFromPoint(FPointer).Bounds;
  int x = FPointer.x + kLabelGap, y = FPointer.y - kLabelGap - Height();
  if (x + Width() > m.right) x = FPointer.x - kLabelGap - Width();
  if (y < m.top) y = FPointer.y + kLabelGap;
  SetBounds(std::max(x, m.left), std::max(y, m.top), Width(), Height());
  if (!Visible()) Show();
  NativeWindow()->SetZOrder(plat::ZOrder::TopMost);
}

void TfrmEdges::SetTolerance(int value) {
  value = std::clamp(value, 0, kMaxTolerance);
  if (value == FTolerance) return;
  FTolerance = value;
  if (FMeasuring && Visible()) Track(FPointer);
}

// One notch (120) changes the tolerance by one; up makes it larger.
void TfrmEdges::BeamMouseWheel(TObject*, TShiftState, int WheelDelta, gfx::Point, bool& Handled) {
  SetTolerance(FTolerance + WheelDelta / 120);
  Handled = true;
}

std::optional<std::string> TfrmEdges::GetPropText(std::string_view name) const {
  if (name == "Tolerance") return std::to_string(FTolerance);
  if (name == "Measurement") return FMeasurement;
  return TForm::GetPropText(name);
}
