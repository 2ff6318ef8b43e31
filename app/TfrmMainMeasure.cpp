// Measuring between edges: the beams, their label and their keys.
#include "app/TfrmEdges.h"
#include "app/TfrmMain.h"
#include "magnifier/TfrmZoom.h"
#include "platform/Platform.h"
#include "toolkit/core/TScreen.h"

namespace {
constexpr int kKeyE = 'E';
// The screen's picture is taken this long after the loupe and the lens hid, so that what they
// covered has been drawn again by the programs below (two ticks).
constexpr unsigned kPictureDelayMs = 110;
}  // namespace

void TfrmMain::mnuMeasureEdgesClick(TObject*) { ToggleMeasuringEdges(); }

void TfrmMain::ToggleMeasuringEdges() {
  if (MeasuringEdges()) StopMeasuringEdges();
  else StartMeasuringEdges();
}

bool TfrmMain::MeasuringEdges() const { return mnuMeasureEdges->Checked(); }

std::optional<TCopiedReading> TfrmMain::EdgeMeasurement() const {
  if (!FEdges || !FEdges->Measuring()) return std::nullopt;
  const gfx::Rect& span = FEdges->Span();
  return TCopiedReading{SpanText(span.Width(), false), SpanText(span.Height(), true), MeasureUnitName(FUnits.Unit)};
}

// PIXELS across (or down, with DOWN) in the strip's unit, at the density of the monitor under
// the beams.
std::string TfrmMain::SpanText(int pixels, bool down) const {
  if (FUnits.Unit == TMeasureUnit::Pixel) return std::to_string(pixels);
  const plat::Monitor m = TScreen::MonitorFromPoint(FEdges ? FEdges->Pointer() : FLastCursor);
  return ReadingText(FUnits.Unit, pixels / FUnits.PixelsPerMm(m, down) / MillimetresPer(FUnits.Unit));
}

void TfrmMain::StartMeasuringEdges() {
  // Where the screen cannot be read (XWayland, not frozen) there is nothing to measure.
  if (!Screen->PixelsReadable()) {
    plat::Platform::Current().Beep();
    return;
  }
  if (!FEdges) {
    FEdges = TComponent::Create<TfrmEdges>(this);
    FEdgePicture = TComponent::Create<TTimer>(this);
    FEdgePicture->SetEnabled(false);
    FEdgePicture->SetInterval(kPictureDelayMs);
    FEdgePicture->SetOnTimer([this](TObject*) { TakeEdgePicture(); });
  }
  mnuMeasureEdges->SetChecked(true);
  // The loupe and the lens sit beside the pointer, just where the user measures: out of the
  // picture with them.
  FLoupeHiddenForEdges = mnuZoom->Checked();
  if (FLoupeHiddenForEdges) HideMouseLoupe();
  HideLens();
  FEdgePicture->SetEnabled(true);
}

void TfrmMain::TakeEdgePicture() {
  FEdgePicture->SetEnabled(false);
  plat::Platform& platform = plat::Platform::Current();
  const gfx::Size screen = platform.ScreenSize();
  // The frozen picture while the screen is frozen.
  FEdges->Start(Screen->CapturePixels(gfx::Rect{0, 0, screen.cx, screen.cy}), [this](int width, int height) {
    const std::string size = SpanText(width, false) + " x " + SpanText(height, true);
    return FUnits.Unit == TMeasureUnit::Pixel ? size : size + " " + MeasureUnitName(FUnits.Unit);
  });
  RestoreLoupeAfterEdgePicture();
  Point p;
  if (platform.GetCursorPos(p)) TrackEdges(p);
}

void TfrmMain::RestoreLoupeAfterEdgePicture() {
  if (FLoupeHiddenForEdges && mnuZoom->Checked()) ShowMouseLoupe();
  FLoupeHiddenForEdges = false;
}

void TfrmMain::StopMeasuringEdges() {
  if (FEdgePicture && FEdgePicture->Enabled()) {
    FEdgePicture->SetEnabled(false);
    RestoreLoupeAfterEdgePicture();
  }
  if (FEdges) FEdges->Stop();
  mnuMeasureEdges->SetChecked(false);
}

void TfrmMain::TrackEdges(Point p) {
  if (!FEdges || !FEdges->Measuring()) return;
  FEdges->Track(p);
  // Off the picture the beams end by themselves.
  if (!FEdges->Measuring()) mnuMeasureEdges->SetChecked(false);
}

bool TfrmMain::MeasureKey(int Key, TShiftState Shift) {
  if (Shift & (ssCtrl | ssAlt | ssShift)) return false;
  if (Key == kKeyE) {
    ToggleMeasuringEdges();
    return true;
  }
  if (Key == plat::VK_ESCAPE && MeasuringEdges()) {
    StopMeasuringEdges();
    return true;
  }
  return false;
}
