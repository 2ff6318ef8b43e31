#include "widgets/TTransparentControl.h"

#include "graphics/CanvasStateSaver.h"
#include "toolkit/core/TForm.h"

TTransparentControl::TTransparentControl(TComponent* AOwner) : TCustomControl(AOwner) {}

void TTransparentControl::SetTransparentMode(TTransparentMode value) {
  if (value == FTransparentMode || value < tmOpaque || value > tmTransparent) return;
  FTransparentMode = value;
  Invalidate();
}

void TTransparentControl::EraseBackground(TCanvas& canvas) { (void)canvas; }

void TTransparentControl::PaintParentBackground(TCanvas& canvas) {
  TWinControl* parent = Parent();
  if (!parent) return;
  // The parent and the controls below paint with their own tools; all comes back at the end.
  gfx::CanvasStateSaver saved(canvas);
  const Point origin = canvas.Origin;
  const std::optional<gfx::Region> clip = canvas.ClipRegion();
  canvas.Origin = {origin.x - Left(), origin.y - Top()};
  parent->Perform(WM_ERASEBKGND, reinterpret_cast<std::intptr_t>(&canvas), 0);
  const Rect mine = BoundsRect();
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c == this || c->IsWindowed() || !c->Visible() || c->BoundsRect().Intersect(mine).IsEmpty()) continue;
    canvas.Origin = {origin.x + c->Left() - Left(), origin.y + c->Top() - Top()};
    canvas.SetClipRegion(clip);
    canvas.IntersectClipRect(Rect{0, 0, c->Width(), c->Height()});
    c->Perform(WM_PAINT, reinterpret_cast<std::intptr_t>(&canvas), 0);
  }
}

void TTransparentControl::InvalidatePart(const Rect& r) {
  TForm* f = ParentForm();
  if (!f || static_cast<TControl*>(f) == this) return;
  const Point o = WindowOrigin();
  const Rect part = r.Offset(o.x, o.y).Intersect(VisibleWindowRect());
  if (!part.IsEmpty()) f->InvalidateWindowRect(part);
}
