#include "toolbarkit/TFlatEdit.h"

#include "toolkit/core/TForm.h"

#include "graphics/Canvas.h"
#include "toolkit/core/TScreen.h"

namespace {
// Flat edits alive: the class counts as a flat edit while any exists.
int gFlatEdits = 0;
}  // namespace

TFlatEdit::TFlatEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
  ++gFlatEdits;
  SetBorderStyle(bsNone);
  SetHeight(19);
}

TFlatEdit::~TFlatEdit() { --gFlatEdits; }

bool TFlatEdit::IsFlatEdit(const TControl* control) {
  return gFlatEdits > 0 && dynamic_cast<const TFlatEdit*>(control) != nullptr;
}

bool TFlatEdit::Hot() const {
  if (ComponentState() & csDesigning) return false;
  if (Focused()) return true;
  return FMouseInControl && !(Screen && IsFlatEdit(Screen->ActiveControl()));
}

void TFlatEdit::PaintBorder(TCanvas& c, Rect& r) {
  if (Hot()) {
    c.DrawEdge(r, gfx::BDR_SUNKENOUTER, gfx::BF_RECT | gfx::BF_ADJUST);
    c.Brush = gfx::Brush{clBtnFace, gfx::BrushStyle::Solid, {}};
    c.FillRect(Rect{r.left, r.top, r.left + 1, r.bottom - 1});
    c.FillRect(Rect{r.left, r.top, r.right - 1, r.top + 1});
    Rect inner = r;
    c.DrawEdge(inner, gfx::BDR_SUNKENINNER, gfx::BF_RIGHT | gfx::BF_BOTTOM);
    r = r.Inflate(-1, -1);
    c.Brush.Color = clWindow;
    c.FrameRect(r);
    r = r.Inflate(-1, -1);
    return;
  }
  c.Brush = gfx::Brush{clBtnFace, gfx::BrushStyle::Solid, {}};
  c.FrameRect(r);
  r = r.Inflate(-1, -1);
  c.FrameRect(r);
  r = r.Inflate(-1, -1);
  c.Brush.Color = clWindow;
  c.FrameRect(r);
  r = r.Inflate(-1, -1);
}

void TFlatEdit::RedrawBorder() { Invalidate(); }

void TFlatEdit::AdjustHeight() {
  FHeightPending = false;
  gfx::Bitmap scratch(1, 1);
  TCanvas c(scratch);
  c.SelectFont(Font().Data());
  SetHeight(c.GetTextMetrics().Height + 6);
}

void TFlatEdit::FitHeight() {
  const TForm* form = ParentForm();
  if (!Parent() || (form && !form->ShownOnce()))
    FHeightPending = true;
  else
    AdjustHeight();
}

void TFlatEdit::SetParent(TWinControl* value) {
  TCustomEdit::SetParent(value);
  const TForm* form = ParentForm();
  if (FHeightPending && Parent() && (!form || form->ShownOnce())) AdjustHeight();
}

// A new height given while one is pending overrides it, as it would have overridden the fitted
// one; a move or a new width keeps it pending.
void TFlatEdit::SetBounds(int left, int top, int width, int height) {
  if (FHeightPending && height != Height()) FHeightPending = false;
  TCustomEdit::SetBounds(left, top, width, height);
}

void TFlatEdit::Loaded() {
  TCustomEdit::Loaded();
  if (!(ComponentState() & csDesigning)) FitHeight();
}

void TFlatEdit::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      FMouseInControl = message.Msg == CM_MOUSEENTER;
      TCustomEdit::WndProc(message);
      RedrawBorder();
      return;
    case CM_ENABLEDCHANGED:
      SetColor(Enabled() ? clWindow : clBtnFace);
      TCustomEdit::WndProc(message);
      return;
    case CM_FONTCHANGED:
      TCustomEdit::WndProc(message);
      FitHeight();
      return;
    case CM_FIRSTSHOW:
      TCustomEdit::WndProc(message);
      if (FHeightPending) AdjustHeight();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomEdit::WndProc(message);
      if (!(ComponentState() & csDesigning)) RedrawBorder();
      return;
    default:
      TCustomEdit::WndProc(message);
      return;
  }
}
