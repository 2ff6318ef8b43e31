// Keyboard control of the main window: plain keys move it, Ctrl sends it to a corner, Shift
// nudges or re-zeroes the scale, Alt shows the position readout while held.
#include <cstdio>

#include "app/TfrmMain.h"
#include "app/TfrmPosition.h"
#include "magnifier/TfrmZoom.h"
#include "platform/Platform.h"
#include "toolkit/core/TScreen.h"

namespace {
constexpr int kKeyB = 'B';
constexpr int kKeyC = 'C';
constexpr int kKeyF = 'F';

// The colour of the screen pixel under the pointer (of the frozen picture while the screen is
// frozen), if it can be read.
std::optional<gfx::TColor> ColourUnderPointer() {
  Point p;
  if (!plat::Platform::Current().GetCursorPos(p)) return std::nullopt;
  if (!Screen->PixelsReadable()) return std::nullopt;  // no colour to tell, rather than a false black
  const gfx::Bitmap pixel = Screen->CapturePixels(Rect{p.x, p.y, p.x + 1, p.y + 1});
  if (pixel.Width() < 1 || pixel.Height() < 1) return std::nullopt;
  return pixel.At(0, 0);
}
}  // namespace

// With the mouse loupe shown, B takes the colour under the pointer as the background its panel
// measures contrast against; Shift+B drops it. True when the key was one of these.
bool TfrmMain::ContrastKey(int Key, TShiftState Shift) {
  if (Key != kKeyB || (Shift & (ssCtrl | ssAlt))) return false;
  TfrmZoom* loupe = MouseLoupe();
  if (!loupe || !loupe->Visible()) return true;
  if (Shift & ssShift) loupe->SetContrastBackground(std::nullopt);
  else if (const auto c = ColourUnderPointer()) loupe->SetContrastBackground(*c);
  return true;
}

// Ctrl+C copies the reading as the caption shows it (or the beams' width and height);
// Ctrl+Shift+C, while the mouse loupe is shown, the colour of the pixel under the pointer; each in
// the copy format the settings choose ("#RRGGBB" by default). True when the key was one.
bool TfrmMain::CopyKey(int Key, TShiftState Shift) {
  if (Key != kKeyC || !(Shift & ssCtrl) || (Shift & ssAlt)) return false;
  plat::Platform& platform = plat::Platform::Current();
  if (!(Shift & ssShift)) {
    // While the beams measure, their width and height are what the user is looking at.
    if (MeasuringEdges()) {
      if (const auto size = EdgeMeasurement()) platform.SetClipboardText(FormatReading(FCopyFormats, *size));
      return true;
    }
    const std::string reading = CaptionStrip->lblMsPos->Caption();
    if (!reading.empty())
      platform.SetClipboardText(FormatReading(
          FCopyFormats, TCopiedReading{reading, std::nullopt, MeasureUnitName(FUnits.Unit), Ruler->Orientation() == orVert}));
    return true;
  }
  TfrmZoom* loupe = MouseLoupe();
  if (!loupe || !loupe->Visible()) return true;
  const std::optional<gfx::TColor> colour = ColourUnderPointer();
  if (!colour) return true;
  platform.SetClipboardText(FormatColour(FCopyFormats, *colour));
  return true;
}

// The strip must never take the focus away from another program just because the mouse moved.
void TfrmMain::KeepKeyboardFocus() {
  if (!Visible() || Active()) return;
  if (Screen && Screen->ActiveForm()) SetFocus();
}

void TfrmMain::FormKeyDown(TObject*, int& Key, TShiftState Shift) {
  if (CopyKey(Key, Shift) || ContrastKey(Key, Shift) || MeasureKey(Key, Shift) || UnitKey(Key, Shift)) return;
  const bool plain = !(Shift & (ssShift | ssCtrl | ssAlt));
  if ((plain && Key == kKeyF) || (Key == plat::VK_ESCAPE && ScreenFrozen())) {
    ToggleFreeze();
    return;
  }
  plat::Platform& platform = plat::Platform::Current();
  if (plain && platform.CanMeasureAnywhere() &&
      (Key == 'M' || (Key == plat::VK_ESCAPE && platform.MeasuringAnywhere()))) {
    ToggleMeasureAnywhere();
    return;
  }
  const bool horizontal = Ruler->Orientation() == orHoriz;
  const bool arrow = Key == plat::VK_LEFT || Key == plat::VK_RIGHT || Key == plat::VK_UP || Key == plat::VK_DOWN;
  if (Shift & ssShift) {
    const double step = 1.0 / PixelsPerRulerUnit();
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
  // The corners and edges are those of the monitor the strip is on.
  const gfx::Rect screen = TScreen::MonitorFromRect(BoundsRect()).Bounds;
  if (Shift & ssCtrl) {
    Point corner{-1, -1};
    if (Key == plat::VK_HOME) corner = {screen.left, screen.top};
    if (Key == plat::VK_END) corner = {screen.right - Width(), screen.bottom - Height()};
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
      if (horizontal) SetTop(screen.top);
      else SetLeft(screen.left);
      break;
    case plat::VK_END:
      if (horizontal) SetTop(screen.bottom - Height());
      else SetLeft(screen.right - Width());
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
    if (Ruler->Orientation() == orHoriz) Ruler->SetStartValue(-double(Width() - 1) / PixelsPerRulerUnit());
    else Ruler->SetStartValue(-double(Height()) / PixelsPerRulerUnit());
  }
  ApplyRulerLayout();
}
