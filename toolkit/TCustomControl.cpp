#include "toolkit/TCustomControl.h"

#include "toolkit/PaintCycle.h"
#include "toolkit/TForm.h"

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}

TCustomControl::~TCustomControl() = default;

TCanvas& TCustomControl::Canvas() {
  if (FInPaint && FCanvas) return *FCanvas;
  TForm* f = ParentForm();
  if (f && f->NativeWindow() && f != static_cast<TControl*>(this)) {
    const Rect vis = VisibleWindowRect();
    PaintCycle::Retarget(FCanvas, f->NativeWindow()->BackBuffer(), WindowOrigin(), gfx::Region(vis));
    f->AddDirectDraw(vis);
  } else {
    if (FScratch.IsEmpty()) FScratch = gfx::Bitmap(1, 1);
    PaintCycle::Retarget(FCanvas, FScratch, Point{}, std::nullopt);
  }
  return *FCanvas;
}

void TCustomControl::PaintControl(TCanvas& canvas) {
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
