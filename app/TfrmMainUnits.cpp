// Real units: the strip measures in pixels, millimetres, centimetres, inches, points or picas.
// The ruler's scale and the caption's reading follow the unit; the density comes from the
// monitor that holds the strip, or from the user's calibration of that monitor.
#include <cmath>

#include "app/TfrmMain.h"
#include "platform/Platform.h"
#include "ruler/RulerLayout.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/dialogs/TInputDialog.h"
#include "toolkit/dialogs/TMessageBox.h"

namespace {

constexpr int kKeyU = 'U';

// How far the zero lies before the strip's first pixel, in pixels. Every way of moving the zero
// moves it by whole pixels, so what differs from a whole number is arithmetic noise, dropped
// here so that it cannot pile up over many changes of the unit.
double ZeroPixels(const TRuler& ruler) {
  const double z = ruler.StartValue() * ruler.UnitSize();
  const double whole = RoundHalfEven(z);
  return std::abs(z - whole) < 1e-6 ? whole : z;
}

}  // namespace

bool TfrmMain::UnitKey(int Key, TShiftState Shift) {
  if (Key != kKeyU || (Shift & (ssShift | ssAlt))) return false;
  if (Shift & ssCtrl) CalibrateUnits();
  else SetMeasureUnit(NextMeasureUnit(FUnits.Unit));
  return true;
}

double TfrmMain::PixelsPerRulerUnit() const {
  return FUnits.Unit == TMeasureUnit::Pixel ? double(UnitPixels()) : Ruler->UnitSize();
}

double TfrmMain::StripPixelsPerMm() const {
  const std::vector<plat::Monitor> monitors = plat::Platform::Current().Monitors();
  const plat::Monitor* m = plat::MonitorForRect(monitors, BoundsRect());
  return m ? FUnits.PixelsPerMm(*m, Ruler->Orientation() == orVert) : kDefaultPixelsPerMm;
}

void TfrmMain::ApplyUnitScale() {
  if (FUnits.Unit == TMeasureUnit::Pixel) return;  // the layout sets the pixel scale
  const TUnitScale scale = UnitScale(FUnits.Unit, StripPixelsPerMm(), UnitPixels());
  if (scale.UnitSize == Ruler->UnitSize() && scale.UnitPrice == Ruler->UnitPrice()) return;
  const double zero = ZeroPixels(*Ruler);
  Ruler->SetUnitSize(scale.UnitSize);
  Ruler->SetUnitPrice(scale.UnitPrice);
  Ruler->SetUnitPrecision(scale.UnitPrecision);
  Ruler->SetStartValue(zero / scale.UnitSize);
  ShowReadingNow();
}

void TfrmMain::SetMeasureUnit(TMeasureUnit u) {
  if (u == FUnits.Unit) return;
  const double zero = ZeroPixels(*Ruler);
  FUnits.Unit = u;
  if (u == TMeasureUnit::Pixel) {
    Ruler->SetUnitSize(UnitPixels());
    Ruler->SetUnitPrice(UnitPixels());
    Ruler->SetUnitPrecision(0);
    Ruler->SetStartValue(zero / UnitPixels());
  } else {
    ApplyUnitScale();
  }
  CaptionStrip->lblMsatPx->SetCaption(ReadingLabel(u));
  ShowReadingNow();
}

std::string TfrmMain::ReadingAt(std::int64_t along) const {
  if (FUnits.Unit == TMeasureUnit::Pixel) return std::to_string(ZeroOffset() + along);
  // The scale's own value at that pixel, so the reading agrees with the ticks.
  const long double value =
      (long double)Ruler->UnitPrice() * (Ruler->StartValue() + (long double)along / Ruler->UnitSize());
  return ReadingText(FUnits.Unit, value);
}

void TfrmMain::ShowReadingNow() {
  Point p;
  if (!plat::Platform::Current().GetCursorPos(p)) return;
  const std::int64_t along = Ruler->Orientation() == orHoriz ? std::int64_t(p.x) - Left() : std::int64_t(p.y) - Top();
  CaptionStrip->lblMsPos->SetCaption(ReadingAt(along));
}

void TfrmMain::CalibrateUnits() {
  const std::vector<plat::Monitor> monitors = plat::Platform::Current().Monitors();
  const plat::Monitor* monitor = plat::MonitorForRect(monitors, BoundsRect());
  if (!monitor) return;
  const int length = Ruler->Orientation() == orHoriz ? Width() : Height();
  auto dlg = TComponent::Make<TInputDialog>(nullptr);
  dlg->SetTitle("Calibrate");
  dlg->SetPrompt("Real length of the strip in millimetres:");
  dlg->SetText(FormatNumber(length / StripPixelsPerMm(), 2));

  // The question must keep the keyboard: neither loupe may follow the pointer meanwhile.
  bool confirmed = false;
  HideLens();
  RunWithMagnifiersSuspended([&] { confirmed = dlg->Execute(); });
  if (!confirmed) return;

  const std::string unchanged = " The calibration is unchanged.";
  const std::optional<double> mm = ParseTypedNumber(dlg->Text());
  std::string problem;
  if (!mm) {
    problem = dlg->Text().find_first_not_of(" \t") == std::string::npos
                  ? "No length was typed."
                  : "\"" + dlg->Text() + "\" is not a length in millimetres: type a number such as 85.6.";
  } else if (*mm <= 0) {
    problem = "The length must be more than 0 millimetres.";
  } else if (const double density = length / *mm; !(density >= kMinPixelsPerMm && density <= kMaxPixelsPerMm)) {
    problem = "A strip of " + std::to_string(length) + " pixels cannot be " + dlg->Text() +
              " millimetres long on any screen: that would be " + FormatNumber(density, 3) +
              " pixels a millimetre.";
  }
  if (!problem.empty()) {
    MessageDlg(problem + unchanged, MB_OK);
    return;
  }
  FUnits.Calibrations[MonitorKey(*monitor)] = StoredDensity(length / *mm);
  ApplyUnitScale();
  ShowReadingNow();
}
