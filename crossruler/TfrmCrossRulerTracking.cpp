// The cross ruler at work: its reading and angle, its grips, and its place in the stacking.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "crossruler/TfrmCrossRuler.h"
#include "platform/Platform.h"
#include "ruler/RulerLayout.h"
#include "widgets/EdgeSnap.h"

namespace {

constexpr double kDegreesPerRadian = 57.295779513082320877;

bool CursorPos(Point& p) { return plat::Platform::Current().GetCursorPos(p); }

}  // namespace

void TfrmCrossRuler::TrackCursor(int x, int y, int D) {
  // In 64 bits, saturated: rolling can carry the scale anywhere.
  double offset = RoundHalfEven(double(UnitPixels()) * Ruler->StartValue());
  if (std::isnan(offset)) offset = 0;
  const std::int64_t zeroOffset = std::int64_t(std::clamp(offset, -0x1p60, 0x1p60));
  const std::int64_t n = zeroOffset + (Vertical() ? std::int64_t(y) - Top() : std::int64_t(x) - Left());
  CaptionStrip->lblMsPos->SetCaption(std::to_string(n));
  // At or behind the zero there is no angle to show, and an old one would mislead.
  if (n <= 0) {
    Ruler->SetCaption("");
    return;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%2.2f", std::atan2(double(D), double(n)) * kDegreesPerRadian);
  Ruler->SetCaption(text);
}

void TfrmCrossRuler::StackWith(const TForm& strip) {
  plat::NativeWindow* mine = NativeWindow();
  plat::NativeWindow* theirs = strip.NativeWindow();
  const bool active = strip.Active();
  if (mine && theirs && Visible() && theirs->Visible()) {
    bool raise = active && !FStripWasActive;  // the strip was just brought forward
    if (mine->TopMost() != theirs->TopMost()) {
      mine->SetZOrder(theirs->TopMost() ? plat::ZOrder::TopMost : plat::ZOrder::NoTopMost);
      raise = true;
    }
    if (raise) mine->SetZOrder(plat::ZOrder::Top);
  }
  FStripWasActive = active;
}

void TfrmCrossRuler::btnResizeMouseDown(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
  if (Button != mbLeft) return;
  // The pointer goes to the grip's fixed point, so that the press alone keeps the length.
  Point p;
  if (Vertical()) {
    FGripOffset = CaptionStrip->btnResize2->Top() + 2;
    p = {Left() + CaptionStrip->btnResize2->Left() + X, Top() + FGripOffset};
  } else {
    FGripOffset = CaptionStrip->btnResize->Left() + 2;
    p = {Left() + FGripOffset, Top() + CaptionStrip->btnResize->Top() + Y};
  }
  FSnap.Take();
  plat::Platform::Current().SetCursorPos(p);
  FResizing = true;
}

void TfrmCrossRuler::btnResizeMouseMove(TObject*, TShiftState Shift, int, int) {
  Point p;
  if (!FResizing || !CursorPos(p)) return;
  // The moving end snaps onto an edge within reach, found just beyond the tick edge; Alt held
  // lets it go anywhere. The grip follows the pointer as it would unsnapped, so only the end
  // moves.
  if (!(Shift & ssAlt)) {
    const int end = FFlipped ? (Vertical() ? p.y - FGripOffset : p.x - FGripOffset)
                             : (Vertical() ? p.y + CaptionStrip->btnResize2->Height() + 2 : p.x + CaptionStrip->btnResize->Width() + 2);
    const Point at = Vertical() ? Point{Left() + Width(), end} : Point{end, Top() + Height()};
    if (const std::optional<int> snap = FSnap.Snap(at, !Vertical())) (Vertical() ? p.y : p.x) += *snap;
  }
  if (!FFlipped) {
    if (Vertical()) SetHeight(std::max(p.y - Top() + CaptionStrip->btnResize2->Height() + 2, kMinLength));
    else SetWidth(std::max(p.x - Left() + CaptionStrip->btnResize->Width() + 2, kMinLength));
  } else if (Vertical()) {
    // The grip is at the start: the far end, on the main ruler, stays where it is, and the
    // start keeps the distance to the pointer it had at the press.
    const int bottom = Top() + Height();
    const int top = std::min(p.y - FGripOffset, bottom - kMinLength);
    SetBounds(Left(), top, Width(), bottom - top);
  } else {
    const int right = Left() + Width();
    const int left = std::min(p.x - FGripOffset, right - kMinLength);
    SetBounds(left, Top(), right - left, Height());
  }
  LayoutForLength();
}

void TfrmCrossRuler::btnResizeMouseUp(TObject*, TMouseButton Button, TShiftState, int, int) {
  if (Button != mbLeft) return;
  FResizing = false;
  FSnap.Drop();
}
