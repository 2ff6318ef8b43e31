#include "toolkit/core/TGraphicControl.h"


TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}

TGraphicControl::~TGraphicControl() = default;

TCanvas& TGraphicControl::Canvas() { return FCanvas.For(*this); }

void TGraphicControl::PaintControl(TCanvas& canvas) {
  FCanvas.Paint(canvas, [this] { Paint(); });
}
