// Following the mouse: the 55 ms tick that reads the pixel under the cursor anywhere on the
// screen, the position readout, and the ruler's own mouse events.
#include <algorithm>

#include "app/TfrmMain.h"
#include "app/TfrmPosition.h"
#include "crossruler/TfrmCrossRuler.h"
#include "magnifier/TForm1.h"
#include "platform/Platform.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/core/TScreen.h"

namespace {

// A reading or a zero position as the cross ruler takes them: within a range that leaves its
// own arithmetic room. Only a scale rolled millions of units away comes near the limit.
int Handed(std::int64_t v) { return int(std::clamp<std::int64_t>(v, -(1 << 30), 1 << 30)); }

}  // namespace

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
  if (TForm1* lens = Lens()) lens->RefreshPicture(Ruler->Orientation() == orHoriz, mnuRulerFlip->Checked());
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
