#include "toolkit/core/TCustomControl.h"


TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}

TCustomControl::~TCustomControl() = default;

TCanvas& TCustomControl::Canvas() { return FCanvas.For(*this); }

void TCustomControl::PaintControl(TCanvas& canvas) {
  FCanvas.Paint(canvas, [this] { Paint(); });
}
