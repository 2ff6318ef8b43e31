// Following the mouse: the 55 ms tick that reads the pixel under the cursor anywhere on the
// screen, the position readout, and the ruler's own mouse events.
#include <algorithm>

#include "app/TfrmMain.h"
#include "app/TfrmPosition.h"
#include "crossruler/TfrmCrossRuler.h"
#include "magnifier/TForm1.h"
#include "magnifier/TfrmZoom.h"
#include "platform/Platform.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TScreen.h"

namespace {

// A reading or a zero position as the cross ruler takes them: within a range that leaves its
// own arithmetic room. Only a scale rolled millions of units away comes near the limit.
int Handed(std::int64_t v) { return int(std::clamp<std::int64_t>(v, -(1 << 30), 1 << 30)); }

}  // namespace

// The strip must never take the focus away from another program just because the mouse moved.
void TfrmMain::KeepKeyboardFocus() {
  if (!Visible() || Active()) return;
  if (Screen && Screen->ActiveForm()) SetFocus();
}

void TfrmMain::Timer1Timer(TObject*) {
  Point p;
  if (!plat::Platform::Current().GetCursorPos(p)) return;
  // Every tick, not only when the mouse moved: keys and commands move the zero too, and the
  // loupe's offsets must follow them.
  SetLoupeOrigin();
  const std::int64_t along = Ruler->Orientation() == orHoriz ? std::int64_t(p.x) - Left() : std::int64_t(p.y) - Top();
  const std::int64_t reading = ZeroOffset() + along;
  // A still mouse needs nothing, unless keys or commands moved the strip or its zero: the
  // caption must show what lies under the mouse now, not before the key.
  if (p == FLastCursor && reading == FLastReading) return;
  // Shown or not, the lens keeps its picture current, taken the way the strip lies now.
  if (TForm1* lens = Lens()) {
    lens->FHorizontal = Ruler->Orientation() == orHoriz;
    lens->FFlipped = mnuRulerFlip->Checked();
    lens->Timer1Timer(this);
  }
  FLastCursor = p;
  FLastReading = reading;
  CaptionStrip->lblMsPos->SetCaption(ReadingAt(along));
  TrackEdges(p);
  // Hidden or not, the cross ruler keeps its reading current for when it is shown.
  TfrmCrossRuler* cross = CrossRuler();
  if (cross) cross->TrackCursor(p.x, p.y, Handed(reading));
  // Restacking stops while a dialog blocks the strip: the dialog stays in front of it.
  if (Menu->IsOpen() || !Visible() || Application->Minimized() || !AcceptsInput()) return;
  if (cross) cross->StackWith(*this);
  if (mnuZoom->Checked()) MouseLoupeStacking(p);
  // With the lens option on, the strip keeps the keyboard focus so that its keys work.
  else if (mnuLoupe->Checked()) {
    LensTracking(p);
    KeepKeyboardFocus();
  }
}

TForm1* TfrmMain::Lens() const {
  return Application ? dynamic_cast<TForm1*>(Application->FindComponent("Form1")) : nullptr;
}

void TfrmMain::HideLens() {
  if (TForm1* lens = Lens()) lens->Hide();
}

gfx::Point LensPlace(gfx::Point p, gfx::Size lens, gfx::Size screen, const gfx::Rect& strip, bool horizontal, bool flipped) {
  const int x = p.x, y = p.y, w = lens.cx, h = lens.cy, sw = screen.cx, sh = screen.cy;
  gfx::Point at;
  if (horizontal) {
    at.x = sw < x + w - 40 ? x - w - 10 : x - 40;
    if (flipped) at.y = y - h + 50 < 0 ? strip.top + 10 : y - h;
    else at.y = sh < y - 30 + h ? y - h : y - 30;
  } else {
    at.y = sh < y + h ? y - 30 - h : y - 30;
    if (flipped) at.x = x - w + 10 < 0 ? strip.left + 10 : x - w - 30;
    else at.x = sw < x + w - 20 ? x - w - 30 : x - 20;
  }
  return at;
}

void TfrmMain::LensTracking(Point p) {
  TForm1* lens = Lens();
  if (!lens) return;
  const bool onTop = mnuAlwaysTop->Checked() && !ScreenFrozen();  // frozen: the strip stays up
  if (onTop && lens->Visible()) {
    lens->NativeWindow()->SetZOrder(plat::ZOrder::NoTopMost);
    NativeWindow()->SetZOrder(plat::ZOrder::TopMost);
  }
  // The ruler body: the window without its caption strip.
  const bool horizontal = Ruler->Orientation() == orHoriz, flipped = mnuRulerFlip->Checked();
  const int left = Left(), top = Top(), right = Left() + Width(), bottom = Top() + Height();
  const int cw = CaptionStrip->pnlCaption->Width(), ch = CaptionStrip->pnlCaption->Height();
  bool body;
  if (horizontal)
    body = left <= p.x && p.x < right && (flipped ? top <= p.y && p.y < bottom - ch - 1 : top + ch < p.y && p.y < bottom);
  else
    body = top <= p.y && p.y < bottom && (flipped ? left <= p.x && p.x < right - cw - 1 : left + cw < p.x && p.x < right);
  if (!body) {
    lens->Hide();
    return;
  }
  lens->Crosshairs1Click(this);
  // Beside the pointer on its own monitor: worked out as if that monitor were the screen.
  const gfx::Rect monitor = TScreen::MonitorFromPoint(p).Bounds;
  const gfx::Point at = LensPlace({p.x - monitor.left, p.y - monitor.top}, {lens->Width(), lens->Height()},
                                  {monitor.Width(), monitor.Height()}, BoundsRect().Offset(-monitor.left, -monitor.top),
                                  horizontal, flipped);
  lens->SetBounds(at.x + monitor.left, at.y + monitor.top, lens->Width(), lens->Height());
  if (!lens->Visible()) lens->Show();
  if (onTop) {
    NativeWindow()->SetZOrder(plat::ZOrder::NoTopMost);
    NativeWindow()->SetZOrder(plat::ZOrder::Top);
    lens->NativeWindow()->SetZOrder(plat::ZOrder::TopMost);
  }
}

// The loupe measures from the ruler's zero on the ruler's outermost pixel row or column.
void TfrmMain::SetLoupeOrigin() {
  TfrmZoom* loupe = MouseLoupe();
  if (!loupe || !loupe->Visible()) return;
  const bool flipped = mnuRulerFlip->Checked();
  if (Ruler->Orientation() == orHoriz) {
    loupe->FOriginX = Left() - ZeroOffset();
    loupe->FOriginY = flipped ? Top() : Top() + Height() - 1;
  } else {
    loupe->FOriginY = Top() - ZeroOffset();
    loupe->FOriginX = flipped ? Left() : Left() + Width() - 1;
  }
  loupe->PlanIdleTicks();
}

void TfrmMain::MouseLoupeStacking(Point cursor) {
  TfrmZoom* loupe = MouseLoupe();
  const bool inside = BoundsRect().Contains(cursor);
  // Over a frozen screen the strip stays in the topmost band, above the picture.
  if (mnuAlwaysTop->Checked() && !ScreenFrozen()) {
    NativeWindow()->SetZOrder(inside ? plat::ZOrder::NoTopMost : plat::ZOrder::TopMost);
    NativeWindow()->SetZOrder(plat::ZOrder::Top);
  }
  if (loupe && loupe->Visible() && (!inside || mnuAlwaysTop->Checked()))
    loupe->NativeWindow()->SetZOrder(plat::ZOrder::TopMost);
}

std::string TfrmMain::ZeroPositionText() {
  const bool flipped = mnuRulerFlip->Checked();
  // In 64 bits: the zero may lie far off the screen.
  std::int64_t x, y;
  if (Ruler->Orientation() == orHoriz) {
    x = std::int64_t(Left()) - ZeroOffset();
    y = flipped ? Top() : std::int64_t(Top()) + Height();
  } else {
    x = flipped ? Left() : std::int64_t(Left()) + Width();
    y = std::int64_t(Top()) - ZeroOffset();
  }
  if (TfrmCrossRuler* cross = CrossRuler()) cross->AlignZeroTo(Handed(x), Handed(y));
  return " Ruler zero position at x=" + std::to_string(x) + " y=" + std::to_string(y) + (FZeroSnapped ? " on an edge " : " ");
}

void TfrmMain::ShowPositionReadout() {
  TfrmPosition* readout = PositionReadout();
  if (!readout) return;
  const gfx::Rect screen = TScreen::MonitorFromRect(BoundsRect()).Bounds;  // the strip's monitor
  int x = Left();
  int y = Top() - readout->Height();
  if (mnuRulerFlip->Checked() && Ruler->Orientation() == orHoriz) y = Top() + Height();
  readout->lblTxt->SetCaption(ZeroPositionText());
  // Measured now: before the readout's first showing its label waits to be measured.
  readout->lblTxt->AdjustBounds();
  readout->SetWidth(readout->lblTxt->Width() + 15);
  if (x < screen.left) x = screen.left;
  if (screen.right < x + readout->Width()) x = screen.right - readout->Width();
  if (y < screen.top) y = Top() + Height();
  if (y > screen.bottom - readout->Height()) y = Top() - readout->Height();
  readout->SetBounds(x, y, readout->Width(), readout->Height());
  if (readout->Visible()) {
    readout->Repaint();
  } else {
    readout->Show();
    readout->NativeWindow()->SetZOrder(plat::ZOrder::TopMost);
  }
  KeepKeyboardFocus();
}

void TfrmMain::RulerMouseDown(TObject*, TMouseButton, TShiftState, int, int) { FRulerDown = true; }

void TfrmMain::RulerMouseMove(TObject*, TShiftState, int, int) {
  if (FRulerDown) ShowPositionReadout();
}

void TfrmMain::RulerMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
  FRulerDown = false;
  if (TfrmPosition* readout = PositionReadout()) readout->Hide();
}
