#include "widgets/TCustomStyledCheckBox.h"

#include "graphics/Canvas.h"
#include "toolkit/core/PropText.h"

TCustomStyledCheckBox::TCustomStyledCheckBox(TComponent* AOwner) : TStyledControl(AOwner) {}

void TCustomStyledCheckBox::SetStyle(TBoxStyle value) {
  if (value == FStyle || value < bxRaised || value > bxFlat) return;
  FStyle = value;
  Invalidate();
}

void TCustomStyledCheckBox::Toggle() {
  if (FReadOnly) {
    Invalidate();
    return;
  }
  if (FAllowGrayed && FState == cbUnchecked) SetState(cbGrayed);
  else SetChecked(!Checked());  // grayed counts as not checked
  if (OnClick) OnClick(this);
}

void TCustomStyledCheckBox::PaintBox(TCanvas& c, const Rect& box) {
  Rect r = box;
  TColor first = Font().Color(), second = Font().Color();
  if (FStyle != bxFlat) EdgeColors(FStyle == bxSunken, first, second);
  c.Brush = gfx::Brush{BoxColor(), gfx::BrushStyle::Solid, {}};
  if (TransparentMode() != tmTransparent) c.FillRect(r);
  if (Pressed()) {
    c.Pen = gfx::Pen{clBlack, 2, gfx::PenStyle::Solid};
    c.Rectangle(r.left + 1, r.top + 1, r.right + 1, r.bottom + 1);
  } else if (FStyle == bxFlat) {
    c.Brush.Color = Font().Color();
    c.FrameRect(r);
  } else {
    c.Pen = gfx::Pen{first, 1, gfx::PenStyle::Solid};
    const Point a[] = {{r.left, r.bottom - 1}, {r.left, r.top}, {r.right - 1, r.top}};
    c.Polyline(a);
    c.Pen.Color = second;
    const Point b[] = {{r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}};
    c.Polyline(b);
  }
  if (FState == cbChecked) {
    if (FStyle == bxSunken) r = r.Offset(0, -1);
    const int L = r.left, T = r.top, R = r.right, B = r.bottom;
    c.Pen = gfx::Pen{CheckColor(), 1, gfx::PenStyle::Solid};
    c.MoveTo(L + 2, T + 6);
    c.LineTo(L + 2, B - 2);
    c.MoveTo(L + 3, T + 5);
    c.LineTo(L + 3, B - 3);
    c.MoveTo(L + 2, B - 2);
    c.LineTo(R - 2, T + 2);
    c.MoveTo(L + 3, B - 2);
    c.LineTo(R - 1, T + 2);
  } else if (FState == cbGrayed) {
    c.Pen = gfx::Pen{first, 1, gfx::PenStyle::Solid};
    c.Brush = gfx::Brush{CheckColor(), gfx::BrushStyle::Solid, {}};
    c.Rectangle(r.left + 2, r.top + 2, r.right - 1, r.bottom - 1);
  }
}

std::optional<std::string> TCustomStyledCheckBox::GetPropText(std::string_view name) const {
  using namespace PropText;
  if (Is(name, "State")) return Enum(FState, {"cbUnchecked", "cbChecked", "cbGrayed"});
  if (Is(name, "AllowGrayed")) return Bool(FAllowGrayed);
  if (Is(name, "ReadOnly")) return Bool(FReadOnly);
  if (Is(name, "Style")) return Enum(FStyle, {"bxRaised", "bxSunken", "bxFlat"});
  return TStyledControl::GetPropText(name);
}
