#include "toolkit/core/TControlCanvas.h"

#include "graphics/Canvas.h"
#include "toolkit/core/PaintCycle.h"
#include "toolkit/core/TForm.h"

TControlCanvas::TControlCanvas() = default;
TControlCanvas::~TControlCanvas() = default;

TCanvas& TControlCanvas::For(TControl& control) {
  if (FInPaint && FCanvas) return *FCanvas;
  TForm* f = control.ParentForm();
  if (f && f->NativeWindow() && f != &control) {
    const Rect vis = control.VisibleWindowRect();
    PaintCycle::Retarget(FCanvas, f->NativeWindow()->BackBuffer(), control.WindowOrigin(), gfx::Region(vis));
    f->AddDirectDraw(vis);
  } else {
    if (FScratch.IsEmpty()) FScratch = gfx::Bitmap(1, 1);
    PaintCycle::Retarget(FCanvas, FScratch, Point{}, std::nullopt);
  }
  return *FCanvas;
}

void TControlCanvas::Paint(const TCanvas& canvas, const std::function<void()>& paint) {
  PaintCycle::Retarget(FCanvas, const_cast<TCanvas&>(canvas).Target(), canvas.Origin, canvas.ClipRegion());
  FInPaint = true;
  struct Reset {
    bool& Flag;
    ~Reset() { Flag = false; }
  } reset{FInPaint};
  paint();
}
