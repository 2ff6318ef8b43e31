#include "toolkit/controls/TShape.h"

#include "toolkit/core/PropText.h"

#include <algorithm>

namespace {

const char* ShapeName(TShapeType shape) {
  switch (shape) {
    case stRectangle: return "stRectangle";
    case stSquare: return "stSquare";
    case stRoundRect: return "stRoundRect";
    case stRoundSquare: return "stRoundSquare";
    case stEllipse: return "stEllipse";
    case stCircle: return "stCircle";
  }
  return "stRectangle";
}

bool SamePen(const gfx::Pen& a, const gfx::Pen& b) {
  return a.Color == b.Color && a.Width == b.Width && a.Style == b.Style;
}

bool SameBrush(const gfx::Brush& a, const gfx::Brush& b) {
  return a.Color == b.Color && a.Style == b.Style && a.Pattern == b.Pattern;
}

}  // namespace

TShape::TShape(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(Left(), Top(), 65, 65);
}

void TShape::SetShape(TShapeType value) {
  if (value == FShape) return;
  FShape = value;
  Invalidate();
}

void TShape::SetPen(const gfx::Pen& value) {
  if (SamePen(value, FPen)) return;
  FPen = value;
  FPen.Width = std::max(0, FPen.Width);
  Invalidate();
}

void TShape::SetBrush(const gfx::Brush& value) {
  if (SameBrush(value, FBrush)) return;
  FBrush = value;
  Invalidate();
}

void TShape::SetPenColor(TColor value) {
  gfx::Pen p = FPen;
  p.Color = value;
  SetPen(p);
}

void TShape::SetBrushColor(TColor value) {
  gfx::Brush b = FBrush;
  b.Color = value;
  SetBrush(b);
}

void TShape::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Pen = FPen;
  canvas.Brush = FBrush;
  // A pen of width w straddles its path, so the path is pulled in by half the width.
  int x = FPen.Width / 2;
  int y = x;
  int w = Width() - FPen.Width + 1;
  int h = Height() - FPen.Width + 1;
  if (FPen.Width == 0) {
    --w;
    --h;
  }
  const int s = std::min(w, h);
  if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
    x += (w - s) / 2;
    y += (h - s) / 2;
    w = h = s;
  }
  if (w <= 0 || h <= 0) return;
  switch (FShape) {
    case stRectangle:
    case stSquare:
      canvas.Rectangle(x, y, x + w, y + h);
      break;
    case stRoundRect:
    case stRoundSquare:
      canvas.RoundRect(x, y, x + w, y + h, s / 4, s / 4);
      break;
    case stEllipse:
    case stCircle:
      canvas.Ellipse(x, y, x + w, y + h);
      break;
  }
}

std::optional<std::string> TShape::GetPropText(std::string_view name) const {
  if (PropText::Is(name, "Shape")) return ShapeName(FShape);
  if (PropText::Is(name, "Pen.Color")) return PropText::Color(FPen.Color);
  if (PropText::Is(name, "Pen.Width")) return PropText::Int(FPen.Width);
  if (PropText::Is(name, "Brush.Color")) return PropText::Color(FBrush.Color);
  if (PropText::Is(name, "Brush.Style")) {
    static constexpr const char* kNames[] = {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal",
                                             "bsBDiagonal", "bsCross", "bsDiagCross", "bsPattern"};
    return kNames[static_cast<int>(FBrush.Style)];
  }
  return TGraphicControl::GetPropText(name);
}
