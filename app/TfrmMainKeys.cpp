// Keyboard control of the main window: plain keys move it, Ctrl sends it to a corner, Shift
// nudges or re-zeroes the scale, Alt shows the position readout while held.
#include "app/TfrmMain.h"
#include "app/TfrmPosition.h"
#include "platform/Platform.h"

void TfrmMain::FormKeyDown(TObject*, int& Key, TShiftState Shift) {
  const bool horizontal = Ruler->Orientation() == orHoriz;
  const bool arrow = Key == plat::VK_LEFT || Key == plat::VK_RIGHT || Key == plat::VK_UP || Key == plat::VK_DOWN;
  if (Shift & ssShift) {
    const double step = 1.0 / UnitPixels();
    if (horizontal) {
      if (Key == plat::VK_RIGHT) Ruler->SetStartValue(Ruler->StartValue() + step);
      if (Key == plat::VK_LEFT) Ruler->SetStartValue(Ruler->StartValue() - step);
    } else {
      if (Key == plat::VK_DOWN) Ruler->SetStartValue(Ruler->StartValue() + step);
      if (Key == plat::VK_UP) Ruler->SetStartValue(Ruler->StartValue() - step);
    }
    if (arrow) ShowPositionReadout();
    return;
  }
  const Size screen = plat::Platform::Current().ScreenSize();
  if (Shift & ssCtrl) {
    Point corner{-1, -1};
    if (Key == plat::VK_HOME) corner = {0, 0};
    if (Key == plat::VK_END) corner = {screen.cx - Width(), screen.cy - Height()};
    if (Key != plat::VK_HOME && Key != plat::VK_END) return;
    if (Left() == corner.x && Top() == corner.y) return;
    Hide();
    SetBounds(corner.x, corner.y, Width(), Height());
    Show();
    ZeroPositionText();  // the cross ruler follows the zero at once
    return;
  }
  bool moveKey = true;
  // Steps stop at the edge of the coordinates a window can have.
  auto stepTop = [this](int d) { SetTop(TSettings::ClampPosition(std::int64_t(Top()) + d)); };
  auto stepLeft = [this](int d) { SetLeft(TSettings::ClampPosition(std::int64_t(Left()) + d)); };
  switch (Key) {
    case plat::VK_UP: stepTop(-1); break;
    case plat::VK_DOWN: stepTop(1); break;
    case plat::VK_LEFT: stepLeft(-1); break;
    case plat::VK_RIGHT: stepLeft(1); break;
    case plat::VK_PRIOR: stepTop(-10); break;
    case plat::VK_NEXT: stepTop(10); break;
    case plat::VK_HOME:
      if (horizontal) SetTop(0);
      else SetLeft(0);
      break;
    case plat::VK_END:
      if (horizontal) SetTop(screen.cy - Height());
      else SetLeft(screen.cx - Width());
      break;
    default: moveKey = false;
  }
  if (moveKey || (Shift & ssAlt)) ShowPositionReadout();
}

void TfrmMain::FormKeyUp(TObject*, int& Key, TShiftState Shift) {
  if (!(Shift & ssAlt))
    if (TfrmPosition* readout = PositionReadout()) readout->Hide();
  if (!(Shift & ssShift)) return;
  if (Key == plat::VK_HOME) Ruler->SetStartValue(0);
  if (Key == plat::VK_END) {
    if (Ruler->Orientation() == orHoriz) Ruler->SetStartValue(-double(Width() - 1) / UnitPixels());
    else Ruler->SetStartValue(-double(Height()) / UnitPixels());
  }
  ApplyRulerLayout();
}
