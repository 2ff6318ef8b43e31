#include "toolkit/controls/TPanel.h"

#include "toolkit/core/PropText.h"

#include <algorithm>

namespace {

const char* BevelName(TPanelBevel bevel) {
  switch (bevel) {
    case bvNone: return "bvNone";
    case bvLowered: return "bvLowered";
    case bvRaised: return "bvRaised";
    case bvSpace: return "bvSpace";
  }
  return "bvNone";
}

// Bevel colours: raised is light above dark, lowered the other way round; a "space" bevel
// takes room like a raised one but is drawn in the panel's own colour by the caller.
void BevelColors(TPanelBevel bevel, TColor& top, TColor& bottom) {
  top = bevel == bvLowered ? clBtnShadow : clBtnHighlight;
  bottom = bevel == bvLowered ? clBtnHighlight : clBtnShadow;
}

}  // namespace

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(Left(), Top(), 185, 41);
  SetColor(clBtnFace);
}

void TPanel::SetBevelOuter(TPanelBevel value) {
  if (value == FBevelOuter) return;
  FBevelOuter = value;
  Realign();
  Invalidate();
}

void TPanel::SetBevelInner(TPanelBevel value) {
  if (value == FBevelInner) return;
  FBevelInner = value;
  Realign();
  Invalidate();
}

void TPanel::SetBevelWidth(int value) {
  value = std::clamp(value, 1, 1000);
  if (value == FBevelWidth) return;
  FBevelWidth = value;
  Realign();
  Invalidate();
}

void TPanel::SetBorderWidth(int value) {
  value = std::clamp(value, 0, 1000);
  if (value == FBorderWidth) return;
  FBorderWidth = value;
  Realign();
  Invalidate();
}

void TPanel::SetBorderStyle(TBorderStyle value) {
  value = value == bsNone ? bsNone : bsSingle;
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  Realign();
  Invalidate();
}

void TPanel::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  Invalidate();
}

int TPanel::FrameWidth() const {
  int w = FBorderWidth + (FBorderStyle == bsSingle ? 1 : 0);
  if (FBevelOuter != bvNone) w += FBevelWidth;
  if (FBevelInner != bvNone) w += FBevelWidth;
  return w;
}

Rect TPanel::AlignRect() const {
  const int w = FrameWidth();
  return ClientRect().Inflate(-w, -w);
}

void TPanel::Frame3D(TCanvas& canvas, Rect& r, TColor topColor, TColor bottomColor, int width) {
  canvas.Pen = gfx::Pen{};
  // Work on the inclusive corners, as line drawing leaves out end points.
  Rect f{r.left, r.top, r.right - 1, r.bottom - 1};
  for (int i = 0; i < width && f.right >= f.left && f.bottom >= f.top; ++i) {
    const Point upper[] = {{f.left, f.bottom}, {f.left, f.top}, {f.right, f.top}};
    canvas.Pen.Color = topColor;
    canvas.Polyline(upper);
    const Point lower[] = {{f.right, f.top}, {f.right, f.bottom}, {f.left - 1, f.bottom}};
    canvas.Pen.Color = bottomColor;
    canvas.Polyline(lower);
    f = f.Inflate(-1, -1);
  }
  r = r.Inflate(-width, -width);
}

void TPanel::Paint() {
  TCanvas& canvas = Canvas();
  Rect r = ClientRect();
  if (FBorderStyle == bsSingle) {
    canvas.Brush = gfx::Brush{clWindowFrame, gfx::BrushStyle::Solid, {}};
    canvas.FrameRect(r);
    r = r.Inflate(-1, -1);
  }
  TColor top, bottom;
  if (FBevelOuter != bvNone) {
    BevelColors(FBevelOuter, top, bottom);
    if (FBevelOuter == bvSpace) top = bottom = Color();
    Frame3D(canvas, r, top, bottom, FBevelWidth);
  }
  if (FBorderWidth > 0) Frame3D(canvas, r, Color(), Color(), FBorderWidth);
  if (FBevelInner != bvNone) {
    BevelColors(FBevelInner, top, bottom);
    if (FBevelInner == bvSpace) top = bottom = Color();
    Frame3D(canvas, r, top, bottom, FBevelWidth);
  }
  canvas.Brush = gfx::Brush{Color(), gfx::BrushStyle::Solid, {}};
  canvas.FillRect(r);

  if (Caption().empty()) return;
  canvas.SelectFont(Font().Data());
  canvas.BkMode = gfx::BkMode::Transparent;
  static constexpr unsigned kAlign[] = {gfx::DT_LEFT, gfx::DT_RIGHT, gfx::DT_CENTER};
  // The caption sits on the panel's middle line, whatever the bevels took.
  const int h = canvas.TextHeight("W");
  Rect t{r.left, (r.top + r.bottom - h) / 2, r.right, 0};
  t.bottom = t.top + h;
  const unsigned flags = gfx::DT_EXPANDTABS | gfx::DT_SINGLELINE | kAlign[FAlignment];
  if (!Enabled()) {
    // Disabled text is embossed: a light copy one pixel down-right under a shadow one.
    Rect shifted = t.Offset(1, 1);
    canvas.TextColor = clBtnHighlight;
    canvas.DrawText(Caption(), shifted, flags);
    canvas.TextColor = clBtnShadow;
  }
  canvas.DrawText(Caption(), t, flags);
}

std::optional<std::string> TPanel::GetPropText(std::string_view name) const {
  if (PropText::Is(name, "BevelOuter")) return BevelName(FBevelOuter);
  if (PropText::Is(name, "BevelInner")) return BevelName(FBevelInner);
  if (PropText::Is(name, "BevelWidth")) return PropText::Int(FBevelWidth);
  if (PropText::Is(name, "BorderWidth")) return PropText::Int(FBorderWidth);
  if (PropText::Is(name, "Alignment")) return PropText::Alignment(FAlignment);
  if (PropText::Is(name, "BorderStyle")) return PropText::BorderStyle(FBorderStyle);
  return TCustomControl::GetPropText(name);
}
