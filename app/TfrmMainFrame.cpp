// The caption strip of the main window: moving the window by the strip, lengthening it by the
// grip, and laying the strip out for a new length.
#include <algorithm>

#include "app/TfrmMain.h"
#include "app/TfrmPosition.h"
#include "widgets/EdgeSnap.h"
#include "platform/Platform.h"

namespace {

bool CursorPos(Point& p) { return plat::Platform::Current().GetCursorPos(p); }

}  // namespace

void TfrmMain::shpResizeMouseDown(TObject* Sender, TMouseButton Button, TShiftState, int X, int Y) {
  if (Button != mbLeft) return;
  FMoving = true;
  // The drag starts where the button went down: the pointer may have moved on by the time the
  // press is handled, and starting from there would leave the strip behind the pointer for
  // the whole drag. Each step then reads the cursor as it is.
  if (auto* control = dynamic_cast<TControl*>(Sender)) FDragPoint = control->ClientToScreen({X, Y});
  else CursorPos(FDragPoint);
  FDragPlace = {Left(), Top()};
  // Before the readout shows and the loupe steps aside: what they cover is not the screen's.
  FSnap.Take();
  ShowPositionReadout();
  if (mnuZoom->Checked()) HideMouseLoupe();
}

void TfrmMain::shpResizeMouseMove(TObject*, TShiftState Shift, int, int) {
  Point p;
  if (!FMoving || !CursorPos(p)) return;
  // The drag follows the pointer from where the strip would be unsnapped, so that a snapped
  // zero lets go again once the pointer moves on.
  FDragPlace = {TSettings::ClampPosition(std::int64_t(FDragPlace.x) + p.x - FDragPoint.x),
                TSettings::ClampPosition(std::int64_t(FDragPlace.y) + p.y - FDragPoint.y)};
  FDragPoint = p;
  // Alt held lets the zero go anywhere.
  const std::optional<int> snapped = (Shift & ssAlt) ? std::nullopt : ZeroSnap(FDragPlace);
  FZeroSnapped = snapped.has_value();
  const int snap = snapped.value_or(0);
  const bool horizontal = Ruler->Orientation() == orHoriz;
  SetBounds(TSettings::ClampPosition(std::int64_t(FDragPlace.x) + (horizontal ? snap : 0)),
            TSettings::ClampPosition(std::int64_t(FDragPlace.y) + (horizontal ? 0 : snap)), Width(), Height());
  ShowPositionReadout();
}

// How far the strip at PLACE must move along its length to lay its zero on an edge: the edge
// is sought on the row (or column) of screen pixels just beyond the tick edge, where the ticks
// point.
std::optional<int> TfrmMain::ZeroSnap(Point place) const {
  const bool horizontal = Ruler->Orientation() == orHoriz, flipped = mnuRulerFlip->Checked();
  const std::int64_t zero = (horizontal ? place.x : place.y) - ZeroOffset();
  if (zero < TSettings::kMinPosition || zero > TSettings::kMaxPosition) return std::nullopt;
  const int across = horizontal ? (flipped ? place.y - 1 : place.y + Height()) : (flipped ? place.x - 1 : place.x + Width());
  return FSnap.Snap(horizontal ? Point{int(zero), across} : Point{across, int(zero)}, horizontal);
}

void TfrmMain::shpResizeMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
  FMoving = false;
  FZeroSnapped = false;
  FSnap.Drop();
  if (TfrmPosition* readout = PositionReadout()) readout->Hide();
  if (mnuZoom->Checked()) ShowMouseLoupe();
}

void TfrmMain::btnResizeMouseDown(TObject*, TMouseButton Button, TShiftState, int, int) {
  if (Button != mbLeft) return;
  // Put the cursor on the grip's fixed point, so that the press alone keeps the length.
  Point p;
  if (CursorPos(p)) {
    if (Ruler->Orientation() == orHoriz) p.x = Left() + CaptionStrip->btnResize->Left() + 2;
    else p.y = Top() + CaptionStrip->btnResize2->Top() + 2;
    plat::Platform::Current().SetCursorPos(p);
  }
  FResizing = true;
}

void TfrmMain::btnResizeMouseMove(TObject*, TShiftState, int, int) {
  Point p;
  if (!FResizing || !CursorPos(p)) return;
  // Between the shortest usable strip and the longest window there can be.
  auto length = [this](std::int64_t v) {
    return int(std::clamp<std::int64_t>(v, MinimumLength(), TSettings::kMaxLength));
  };
  if (Ruler->Orientation() == orHoriz)
    SetWidth(length(std::int64_t(p.x) - Left() + CaptionStrip->btnResize->Width() + 2));
  else
    SetHeight(length(std::int64_t(p.y) - Top() + CaptionStrip->btnResize2->Height() + 2));
  LayoutForLength();
}

void TfrmMain::btnResizeMouseUp(TObject*, TMouseButton Button, TShiftState, int, int) {
  if (Button == mbLeft) FResizing = false;
}

// A drag never makes the strip shorter than this: the four buttons, the reading with room for
// five characters, and the grip stay clear of each other, so the strip can still be read,
// grabbed and lengthened again.
int TfrmMain::MinimumLength() const {
  const TEffectLabel* reading = CaptionStrip->lblMsPos;
  const int readingStart = 1 + (Ruler->Orientation() == orHoriz ? reading->Left() : reading->Top());
  return readingStart + 30 + CaptionStrip->btnResize->Width() + 4;
}

int TfrmMain::UserLength() const {
  return Ruler->Orientation() == orHoriz ? FUserBounds.Width() : FUserBounds.Height();
}

void TfrmMain::BoundsChanged(const Rect& oldBounds) {
  TForm::BoundsChanged(oldBounds);
  // On another monitor a real unit has another size in pixels.
  if (FUnits.Unit != TMeasureUnit::Pixel) ApplyUnitScale();
  if (TakingWindowSystemBounds()) {
    // Not the user's choice: only lay the strip out for the size the window really has, so
    // the ruler and the grip still match what is on the screen.
    if (oldBounds.Width() != Width() || oldBounds.Height() != Height()) LayoutForLength();
    return;
  }
  // Only what the program changed is the user's: moving a strip that a manager forced to
  // another size keeps the user's length, resizing one that it forced to another place keeps
  // the user's place.
  auto pick = [](int now, int before, int user) { return now != before ? now : user; };
  const int left = pick(Left(), oldBounds.left, FUserBounds.left);
  const int top = pick(Top(), oldBounds.top, FUserBounds.top);
  FUserBounds = Rect::FromXYWH(left, top, pick(Width(), oldBounds.Width(), FUserBounds.Width()),
                               pick(Height(), oldBounds.Height(), FUserBounds.Height()));
}

void TfrmMain::LayoutForLength() {
  if (Ruler->Orientation() == orVert) Ruler->SetHeight(Height());
  else Ruler->SetWidth(Width());
  CaptionStrip->FitLength();
  Invalidate();
}
