#include "widgets/TShapeControl.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "graphics/CanvasStateSaver.h"
#include "toolkit/core/PropText.h"

namespace {

constexpr int kCreatedSize = 25;
// Steps of the gradient surface, whatever the control's size.
constexpr int kGradientSteps = 256;
// Boxes larger than this only come from absurd outline widths or shadow depths (negative ones
// grow the box); such a shape is not drawn rather than built pixel row by pixel row.
constexpr long long kMaxBoxExtent = 1 << 15;

int Saturate(long long v) { return int(std::clamp<long long>(v, INT_MIN, INT_MAX)); }

// The classic MulDiv: A * B / C rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  long long p = (long long)a * b;
  if (c < 0) {
    p = -p;
    c = -c;
  }
  const long long q = p >= 0 ? (p + c / 2) / c : (p - c / 2) / c;
  return Saturate(q);
}

bool IsSquareKind(TGPShapeType s) { return s == gstSquare || s == gstRoundSquare || s == gstCircle; }

bool InEnum(int value, int last) { return value >= 0 && value <= last; }

const char* const kShapeNames[] = {"gstRectangle",     "gstSquare",       "gstRoundRect",  "gstRoundSquare",
                                   "gstEllipse",       "gstCircle",       "gstDiamond",    "gstStar",
                                   "gstPolyGon",       "gstTriangleLeft", "gstTriangleRight", "gstTriangleUp",
                                   "gstTriangleDown"};

}  // namespace

TShapeControl::TShapeControl(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(Left(), Top(), kCreatedSize, kCreatedSize);
}

template <class T>
void TShapeControl::Store(T& field, T value) {
  if (field == value) return;
  field = value;
  Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Properties

void TShapeControl::SetBackColor(TColor value) { Store(FBackColor, value); }
void TShapeControl::SetForeColor(TColor value) { Store(FForeColor, value); }
void TShapeControl::SetGradientToColor(TColor value) { Store(FGradientToColor, value); }
void TShapeControl::SetOutlineColor(TColor value) { Store(FOutlineColor, value); }
void TShapeControl::SetShadowColor(TColor value) { Store(FShadowColor, value); }
void TShapeControl::SetOutlineWidth(int value) { Store(FOutlineWidth, value); }
void TShapeControl::SetRoundPerc(int value) { Store(FRoundPerc, value); }

void TShapeControl::SetFillDirection(TFillDirection value) {
  if (InEnum(value, gdRight)) Store(FFillDirection, value);
}

void TShapeControl::SetOutlineStyle(gfx::PenStyle value) {
  if (InEnum(int(value), int(gfx::PenStyle::InsideFrame))) Store(FOutlineStyle, value);
}

void TShapeControl::SetPattern(gfx::BrushStyle value) {
  // The pattern style needs bits of its own, which this property cannot carry.
  if (InEnum(int(value), int(gfx::BrushStyle::DiagCross))) Store(FPattern, value);
}

void TShapeControl::SetInVectorPercent(int value) {
  if (value >= 0 && value <= 100) Store(FInVectorPercent, value);
}

void TShapeControl::SetShadowDepth(int value) {
  if (value <= Width() / 2 && value <= Height() / 2) Store(FShadowDepth, value);
}

void TShapeControl::SetShadowOrient(TShadowOrient value) {
  if (InEnum(value, soLowerLeft)) Store(FShadowOrient, value);
}

void TShapeControl::SetShadowFill(TShadowFill value) {
  if (InEnum(value, sf50Percent)) Store(FShadowFill, value);
}

void TShapeControl::SetStartingAngle(int value) {
  if (value >= 0 && value <= 359) Store(FStartingAngle, value);
}

void TShapeControl::SetSurfaceType(TSurfaceType value) {
  if (InEnum(value, stBrush25PercentOpaque)) Store(FSurfaceType, value);
}

void TShapeControl::SetVectors(int value) {
  if (value >= 3 && value <= 100) Store(FVectors, value);
}

void TShapeControl::SetShape(TGPShapeType value) {
  if (value == FShape || !InEnum(value, gstTriangleDown)) return;
  FShape = value;
  // A square must keep its sides equal, which an alignment would stretch.
  if (IsSquareKind(value) && Align() != alNone) SetAlign(alNone);
  if (value == gstStar) {
    if (FInVectorPercent == 0) FInVectorPercent = 50;
    FVectors = std::max(FVectors, 10);
    FStartingAngle = 90;
  }
  Invalidate();
}

void TShapeControl::SetImage(const gfx::Bitmap* value) {
  FImage = value ? *value : gfx::Bitmap();
  Invalidate();
}

void TShapeControl::EditImage(const std::function<void(gfx::Bitmap&)>& edit) {
  if (edit) edit(FImage);
  Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Geometry

TShapeRects TShapeControl::ShapeRects() const {
  return ShapeRectsFor(FShape, FShadowOrient, Width(), Height(), FOutlineWidth, FShadowDepth);
}

TShapeRects TShapeControl::ShapeRectsFor(TGPShapeType shape, TShadowOrient orient, int width, int height,
                                         int outlineWidth, int shadowDepth) {
  // A wide pen straddles its path, so the path is pulled in by half the pen on each side.
  const long long a = outlineWidth / 2, c = (long long)width - outlineWidth + 1,
                  b = (long long)height - outlineWidth + 1, d = shadowDepth;
  auto box = [](long long l, long long t, long long r, long long bo) {
    return Rect{Saturate(l), Saturate(t), Saturate(r), Saturate(bo)};
  };
  if (shape == gstDiamond && orient != soNone) {
    // A diamond's shadow falls sideways only.
    if (orient == soLowerRight || orient == soUpperRight) return {box(a, a, c - d, b), box(a + d, a, c, b)};
    return {box(a + d, a, c, b), box(a, a, c - d, b)};
  }
  switch (orient) {
    case soLowerRight: return {box(a, a, c - d, b - d), box(a + d, a + d, c, b)};
    case soUpperRight: return {box(a, a + d, c - d, b), box(a + d, a, c, b - d)};
    case soUpperLeft: return {box(a + d, a + d, c, b), box(a, a, c - d, b - d)};
    case soLowerLeft: return {box(a + d, a, c, b - d), box(a, a + d, c - d, b)};
    default: return {box(a, a, c, b), Rect{}};
  }
}

std::vector<Point> TShapeControl::StarPoints(const Rect& box, int vectors, int inVectorPercent, int startingAngle) {
  const long long w = (long long)box.right - box.left, h = (long long)box.bottom - box.top;
  const double cx = double(box.left + w / 2), cy = double(box.top + h / 2);
  const double outer = double(std::min(w / 2, h / 2) - 4);
  const double inner = outer * (100 - inVectorPercent) / 100;
  std::vector<Point> points;
  if (vectors <= 0) return points;
  points.reserve(std::size_t(vectors));
  for (int m = 0; m < vectors; ++m) {
    const double angle = (360.0 / vectors * m - startingAngle) * std::numbers::pi / 180;
    const double radius = m % 2 == 0 ? outer : inner;
    // Nearest, ties to even (the default rounding mode).
    points.push_back({Saturate((long long)(cx + std::nearbyint(std::cos(angle) * radius))),
                      Saturate((long long)(cy + std::nearbyint(std::sin(angle) * radius)))});
  }
  return points;
}

bool TShapeControl::IsPolygon() const { return FShape >= gstDiamond; }

std::vector<Point> TShapeControl::PolygonPoints(const Rect& box, bool shadow) const {
  const int L = box.left, T = box.top, w = box.Width(), h = box.Height();
  switch (FShape) {
    case gstDiamond: return {{L + w / 2, T}, {L + w - 1, T + h / 2}, {L + w / 2, T + h - 1}, {L, T + h / 2}};
    case gstStar:
    case gstPolyGon: return StarPoints(box, FVectors, FInVectorPercent, FStartingAngle);
    case gstTriangleLeft: return {{L + w - 1, T}, {L + w - 1, T + h - 1}, {L, T + h / 2}};
    case gstTriangleRight: return {{L, T}, {L + w - 1, T + h / 2}, {L, T + h - 1}};
    case gstTriangleUp: return {{L + w / 2, T}, {L, T + h - 1}, {L + w - 1, T + h - 1}};
    case gstTriangleDown: return {{L, T}, {L + w / 2, T + h - 1}, {shadow ? L + w : L + w - 1, T}};
    default: return {};
  }
}

int TShapeControl::CornerSize() const {
  const double size = std::trunc(double(std::max(Width(), Height())) * FRoundPerc / 100);
  return int(std::clamp(size, double(INT_MIN), double(INT_MAX)));
}

gfx::Region TShapeControl::ShapeRegion(const Rect& box, bool shadow) const {
  switch (FShape) {
    case gstRectangle:
    case gstSquare: {
      const Rect r{std::min(box.left, box.right), std::min(box.top, box.bottom), std::max(box.left, box.right),
                   std::max(box.top, box.bottom)};
      return r.IsEmpty() ? gfx::Region() : gfx::Region(r);
    }
    case gstRoundRect:
    case gstRoundSquare: return gfx::Region::RoundRect(box, CornerSize(), CornerSize());
    case gstEllipse:
    case gstCircle: return gfx::Region::Ellipse(box);
    default: {
      const gfx::FillMode mode =
          FShape == gstStar || FShape == gstPolyGon ? gfx::FillMode::Winding : gfx::FillMode::Alternate;
      return gfx::Region::Polygon(PolygonPoints(box, shadow), mode);
    }
  }
}

void TShapeControl::DrawShape(TCanvas& canvas, const Rect& box, bool shadow) const {
  switch (FShape) {
    case gstRectangle:
    case gstSquare: canvas.Rectangle(box); break;
    case gstRoundRect:
    case gstRoundSquare: canvas.RoundRect(box.left, box.top, box.right, box.bottom, CornerSize(), CornerSize()); break;
    case gstEllipse:
    case gstCircle: canvas.Ellipse(box.left, box.top, box.right, box.bottom); break;
    default: {
      const gfx::FillMode mode =
          FShape == gstStar || FShape == gstPolyGon ? gfx::FillMode::Winding : gfx::FillMode::Alternate;
      canvas.Polygon(PolygonPoints(box, shadow), mode);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Painting

namespace {

bool Drawable(const Rect& r) {
  return std::llabs((long long)r.right - r.left) <= kMaxBoxExtent &&
         std::llabs((long long)r.bottom - r.top) <= kMaxBoxExtent;
}

// Narrows the canvas's clip to REGION (logical coordinates); the caller's saver restores it.
void ClipTo(TCanvas& canvas, const gfx::Region& region) {
  const gfx::Region device = region.Offset(canvas.Origin.x, canvas.Origin.y);
  const auto& clip = canvas.ClipRegion();
  canvas.SetClipRegion(clip ? clip->Intersect(device) : device);
}

}  // namespace

void TShapeControl::Stipple(TCanvas& canvas, const Rect& box, const std::array<std::uint8_t, 8>& bits, TColor colour,
                            const std::optional<gfx::Region>& clip) {
  gfx::CanvasStateSaver saver(canvas);
  if (clip) ClipTo(canvas, *clip);
  // 1 bits take the background colour, 0 bits the text colour: ANDed with white, the pixels
  // under 0 bits stay as they are.
  canvas.Brush.Style = gfx::BrushStyle::Pattern;
  canvas.Brush.Pattern = bits;
  canvas.TextColor = clWhite;
  canvas.BkColor = colour;
  canvas.PatBlt(box.left, box.top, box.Width(), box.Height(), gfx::PATAND);
}

void TShapeControl::Paint() {
  if (IsSquareKind(FShape)) {
    if (Align() != alNone) {
      // An aligned control cannot stay square: it becomes the plain kind for good.
      FShape = FShape == gstSquare ? gstRectangle : FShape == gstRoundSquare ? gstRoundRect : gstEllipse;
    } else if (Height() < Width()) {
      SetWidth(Height());
    }
  }
  const TShapeRects rects = ShapeRects();
  if (!Drawable(rects.Shape) || !Drawable(rects.Shadow)) return;
  TCanvas& canvas = Canvas();
  gfx::CanvasStateSaver saver(canvas);
  if (FShadowOrient != soNone) {
    // Polygons keep the shape's size in the shadow; only their corner moves.
    Rect box = rects.Shadow;
    if (IsPolygon())
      box = Rect::FromXYWH(rects.Shadow.left, rects.Shadow.top, rects.Shape.Width(), rects.Shape.Height());
    PaintShadow(canvas, box);
  }
  PaintSurface(canvas, rects.Shape);
  canvas.Brush = gfx::Brush{clWhite, gfx::BrushStyle::Clear, {}};
  canvas.Pen = gfx::Pen{FOutlineColor, FOutlineWidth, FOutlineStyle};
  canvas.BkMode = gfx::BkMode::Transparent;
  DrawShape(canvas, rects.Shape, false);
}

void TShapeControl::PaintShadow(TCanvas& canvas, const Rect& box) {
  if (FShadowFill == sfSolid) {
    gfx::CanvasStateSaver saver(canvas);
    canvas.Pen = gfx::Pen{clBlack, 1, gfx::PenStyle::Solid};
    canvas.Brush = gfx::Brush{FShadowColor, gfx::BrushStyle::Solid, {}};
    DrawShape(canvas, box, true);
    return;
  }
  const auto& bits = FShadowFill == sf25Percent ? kStipple25 : kStipple50;
  // A rectangle's stipple covers its box; it needs no clip.
  std::optional<gfx::Region> clip;
  if (FShape != gstRectangle && FShape != gstSquare) clip = ShapeRegion(box, true);
  Stipple(canvas, box, bits, FShadowColor, clip);
}

void TShapeControl::PaintSurface(TCanvas& canvas, const Rect& box) {
  gfx::CanvasStateSaver saver(canvas);
  const Rect whole{0, 0, Width(), Height()};
  switch (FSurfaceType) {
    case stBrushTransparent:
    case stBrushOpaque: {
      canvas.Pen = gfx::Pen{FOutlineColor, FOutlineWidth, FOutlineStyle};
      canvas.BkMode = gfx::BkMode::Transparent;
      const gfx::Brush pattern{FForeColor, FPattern, {}};
      const gfx::Brush solid{FBackColor, gfx::BrushStyle::Solid, {}};
      if (FShape == gstEllipse || FShape == gstCircle) {
        // The ellipse is filled through its region, so the surface never strays past the
        // outline drawn over it.
        ClipTo(canvas, ShapeRegion(box, false));
        if (FSurfaceType == stBrushOpaque) {
          canvas.Brush = solid;
          canvas.FillRect(whole);
        }
        canvas.Brush = pattern;
        canvas.FillRect(whole);
        break;
      }
      if (FSurfaceType == stBrushOpaque) {
        canvas.Brush = solid;
        DrawShape(canvas, box, false);
      }
      canvas.Brush = pattern;
      DrawShape(canvas, box, false);
      break;
    }
    case stBrushImage: {
      const gfx::Region region = ShapeRegion(box, false);
      ClipTo(canvas, region);
      TileImage(canvas, region.Bounds());
      break;
    }
    case stGradientFill:
      ClipTo(canvas, ShapeRegion(box, false));
      PaintGradient(canvas);
      break;
    case stBrush50PercentOpaque:
    case stBrush25PercentOpaque:
      Stipple(canvas, box, FSurfaceType == stBrush50PercentOpaque ? kStipple50 : kStipple25, FBackColor,
              ShapeRegion(box, false));
      break;
  }
}

void TShapeControl::PaintGradient(TCanvas& canvas) const {
  const bool reversed = FFillDirection == gdDown || FFillDirection == gdRight;
  const TColor start = gfx::ColorToRGB(reversed ? FGradientToColor : FBackColor);
  const TColor end = gfx::ColorToRGB(reversed ? FBackColor : FGradientToColor);
  const int r0 = gfx::GetRValue(start), g0 = gfx::GetGValue(start), b0 = gfx::GetBValue(start);
  const int dr = gfx::GetRValue(end) - r0, dg = gfx::GetGValue(end) - g0, db = gfx::GetBValue(end) - b0;
  const bool across = FFillDirection == gdLeft || FFillDirection == gdRight;
  for (int i = 0; i < kGradientSteps; ++i) {
    canvas.Brush = gfx::Brush{gfx::RGB(r0 + MulDiv(i, dr, 255), g0 + MulDiv(i, dg, 255), b0 + MulDiv(i, db, 255)),
                              gfx::BrushStyle::Solid, {}};
    if (across)
      canvas.FillRect({MulDiv(i, Width(), kGradientSteps), 0, MulDiv(i + 1, Width(), kGradientSteps), Height()});
    else
      canvas.FillRect({0, MulDiv(i, Height(), kGradientSteps), Width(), MulDiv(i + 1, Height(), kGradientSteps)});
  }
}

void TShapeControl::TileImage(TCanvas& canvas, const Rect& within) const {
  const int w = FImage.Width(), h = FImage.Height();
  if (w <= 0 || h <= 0) return;
  // Tiles start at the control's corner; only those that meet the shape are copied.
  const int x0 = std::max(0, within.left / w * w), y0 = std::max(0, within.top / h * h);
  const int x1 = std::min(Width(), within.right), y1 = std::min(Height(), within.bottom);
  for (long long y = y0; y < y1; y += h)
    for (long long x = x0; x < x1; x += w) canvas.BitBlt(int(x), int(y), w, h, FImage, 0, 0, gfx::SRCCOPY);
}

// ---------------------------------------------------------------------------------------------

std::optional<std::string> TShapeControl::GetPropText(std::string_view name) const {
  using namespace PropText;
  if (Is(name, "BackColor")) return PropText::Color(FBackColor);
  if (Is(name, "FillDirection")) return Enum(FFillDirection, {"gdUp", "gdDown", "gdLeft", "gdRight"});
  if (Is(name, "ForeColor")) return PropText::Color(FForeColor);
  if (Is(name, "GradientToColor")) return PropText::Color(FGradientToColor);
  if (Is(name, "Image.Width")) return Int(FImage.Width());
  if (Is(name, "Image.Height")) return Int(FImage.Height());
  if (Is(name, "InVectorPercent")) return Int(FInVectorPercent);
  if (Is(name, "OutlineColor")) return PropText::Color(FOutlineColor);
  if (Is(name, "OutlineStyle"))
    return Enum(int(FOutlineStyle), {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear",
                                     "psInsideFrame"});
  if (Is(name, "OutlineWidth")) return Int(FOutlineWidth);
  if (Is(name, "Pattern"))
    return Enum(int(FPattern), {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal",
                                "bsCross", "bsDiagCross"});
  if (Is(name, "RoundPerc")) return Int(FRoundPerc);
  if (Is(name, "ShadowColor")) return PropText::Color(FShadowColor);
  if (Is(name, "ShadowDepth")) return Int(FShadowDepth);
  if (Is(name, "ShadowOrient"))
    return Enum(FShadowOrient, {"soNone", "soLowerRight", "soUpperRight", "soUpperLeft", "soLowerLeft"});
  if (Is(name, "ShadowFill")) return Enum(FShadowFill, {"sfSolid", "sf25Percent", "sf50Percent"});
  if (Is(name, "Shape")) return kShapeNames[FShape];
  if (Is(name, "StartingAngle")) return Int(FStartingAngle);
  if (Is(name, "SurfaceType"))
    return Enum(FSurfaceType, {"stBrushTransparent", "stBrushOpaque", "stBrushImage", "stGradientFill",
                               "stBrush50PercentOpaque", "stBrush25PercentOpaque"});
  if (Is(name, "Vectors")) return Int(FVectors);
  return TGraphicControl::GetPropText(name);
}
