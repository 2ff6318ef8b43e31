#include "toolkit/TGraphicControl.h"

#include "toolkit/PaintCycle.h"
#include "toolkit/TForm.h"

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}

TGraphicControl::~TGraphicControl() = default;

TCanvas& TGraphicControl::Canvas() {
  if (FInPaint && FCanvas) return *FCanvas;
  // Outside a paint: draw straight into the form's window; the form presents it afterwards.
  TForm* f = ParentForm();
  if (f && f->NativeWindow()) {
    const Rect vis = VisibleWindowRect();
    PaintCycle::Retarget(FCanvas, f->NativeWindow()->BackBuffer(), WindowOrigin(), gfx::Region(vis));
    f->AddDirectDraw(vis);
  } else {
    if (FScratch.IsEmpty()) FScratch = gfx::Bitmap(1, 1);
    PaintCycle::Retarget(FCanvas, FScratch, Point{}, std::nullopt);
  }
  return *FCanvas;
}

void TGraphicControl::PaintControl(TCanvas& canvas) {
  PaintCycle::Retarget(FCanvas, canvas.Target(), canvas.Origin, canvas.ClipRegion());
  FInPaint = true;
  try {
    Paint();
  } catch (...) {
    FInPaint = false;
    throw;
  }
  FInPaint = false;
}
