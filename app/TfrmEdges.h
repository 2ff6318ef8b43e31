#pragma once
// "Measure edges": two beams through the pointer, from the first edge on its left to the first
// on its right and from the first above to the first below, and a label beside the pointer with
// the width and height between those edges. It measures a picture of the screen taken when the
// mode starts, so that its own beams, the loupe and the label never count as edges.
#include <functional>
#include <optional>
#include <string>

#include "app/TfrmPosition.h"
#include "graphics/Bitmap.h"

// The label is a readout like the position readout: its panel and label (lblTxt).
class TfrmEdges : public TfrmPosition {
 public:
  explicit TfrmEdges(TComponent* AOwner);

  TForm* frmBeamH;  // the horizontal beam, a window one pixel high
  TForm* frmBeamV;  // the vertical beam, a window one pixel wide

  // How a width and a height in pixels read in the strip's unit: "137 x 41".
  using TSizeText = std::function<std::string(int width, int height)>;

  // Starts measuring PICTURE, the screen's picture with its top-left at screen (0, 0).
  void Start(gfx::Bitmap picture, TSizeText sizeText);
  void Stop();
  bool Measuring() const { return FMeasuring; }
  // Measures at screen point P and shows the beams and the label there.
  void Track(gfx::Point p);
  // The last measurement as the label shows it, without the tolerance: "137 x 41".
  const std::string& Measurement() const { return FMeasurement; }
  // The span between the edges at the last Track, right and bottom exclusive.
  const gfx::Rect& Span() const { return FSpan; }
  gfx::Point Pointer() const { return FPointer; }

  // How far two neighbouring pixels may differ on any channel within one surface.
  int Tolerance() const { return FTolerance; }
  void SetTolerance(int value);

  std::optional<std::string> GetPropText(std::string_view name) const override;

 private:
  void BeamMouseWheel(TObject* Sender, TShiftState Shift, int WheelDelta, gfx::Point MousePos, bool& Handled);
  void ShowLabel();

  gfx::Bitmap FPicture;
  TSizeText FSizeText;
  bool FMeasuring = false;
  gfx::Point FPointer;
  gfx::Rect FSpan;
  std::string FMeasurement;
  int FTolerance;
};
