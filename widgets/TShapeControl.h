#pragma once
// A windowless control that draws one geometric shape with a chosen surface (nothing, an opaque
// colour under a brush pattern, a tiled picture, a 256-step gradient, or a 50 % / 25 % stipple
// that lets what lies beneath show through), an outline and an optional drop shadow.
//
// Property writes follow one rule: an equal value does nothing, a value outside the accepted
// range (or outside its enumeration) is ignored, anything else is stored and repaints.
//
// Used as an overlay (a rim or a marker over a picture), disable the control: a disabled
// graphic control is passed over when the toolkit looks for the control under the mouse, so
// presses, moves and double clicks reach whatever lies beneath it. It paints the same either way.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/Bitmap.h"
#include "graphics/Canvas.h"
#include "graphics/Region.h"
#include "toolkit/core/TGraphicControl.h"

enum TGPShapeType {
  gstRectangle, gstSquare, gstRoundRect, gstRoundSquare, gstEllipse, gstCircle, gstDiamond, gstStar,
  gstPolyGon, gstTriangleLeft, gstTriangleRight, gstTriangleUp, gstTriangleDown
};
enum TSurfaceType {
  stBrushTransparent, stBrushOpaque, stBrushImage, stGradientFill, stBrush50PercentOpaque, stBrush25PercentOpaque
};
enum TFillDirection { gdUp, gdDown, gdLeft, gdRight };
enum TShadowOrient { soNone, soLowerRight, soUpperRight, soUpperLeft, soLowerLeft };
enum TShadowFill { sfSolid, sf25Percent, sf50Percent };

// Where the shape and its shadow are drawn, in the control's coordinates (right and bottom
// exclusive). Without a shadow the shadow box is empty.
struct TShapeRects {
  Rect Shape;
  Rect Shadow;
  friend bool operator==(const TShapeRects&, const TShapeRects&) = default;
};

class TShapeControl : public TGraphicControl {
 public:
  // The 8 x 8 stipples, rows top to bottom; a 1 bit carries the stipple colour.
  static constexpr std::array<std::uint8_t, 8> kStipple50 = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
  static constexpr std::array<std::uint8_t, 8> kStipple25 = {0xAA, 0x00, 0xAA, 0x00, 0xAA, 0x00, 0xAA, 0x00};

  explicit TShapeControl(TComponent* AOwner);

  TColor BackColor() const { return FBackColor; }
  void SetBackColor(TColor value);
  TFillDirection FillDirection() const { return FFillDirection; }
  void SetFillDirection(TFillDirection value);
  TColor ForeColor() const { return FForeColor; }
  void SetForeColor(TColor value);
  TColor GradientToColor() const { return FGradientToColor; }
  void SetGradientToColor(TColor value);
  // The picture tiled by the image surface, owned by the control. SetImage copies VALUE into
  // it; null empties it. EditImage changes it in place and repaints.
  const gfx::Bitmap& Image() const { return FImage; }
  void SetImage(const gfx::Bitmap* value);
  void EditImage(const std::function<void(gfx::Bitmap&)>& edit);
  int InVectorPercent() const { return FInVectorPercent; }
  void SetInVectorPercent(int value);  // 0 .. 100
  TColor OutlineColor() const { return FOutlineColor; }
  void SetOutlineColor(TColor value);
  gfx::PenStyle OutlineStyle() const { return FOutlineStyle; }
  void SetOutlineStyle(gfx::PenStyle value);
  int OutlineWidth() const { return FOutlineWidth; }
  void SetOutlineWidth(int value);
  // A hatch style, solid or clear (a brush style without its own pattern bits).
  gfx::BrushStyle Pattern() const { return FPattern; }
  void SetPattern(gfx::BrushStyle value);
  int RoundPerc() const { return FRoundPerc; }
  void SetRoundPerc(int value);
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor value);
  int ShadowDepth() const { return FShadowDepth; }
  void SetShadowDepth(int value);  // at most Width div 2 and Height div 2
  TShadowOrient ShadowOrient() const { return FShadowOrient; }
  void SetShadowOrient(TShadowOrient value);
  TShadowFill ShadowFill() const { return FShadowFill; }
  void SetShadowFill(TShadowFill value);
  // A square kind drops any alignment; a star gets a usable indent, at least 10 vectors and
  // its first tip straight up.
  TGPShapeType Shape() const { return FShape; }
  void SetShape(TGPShapeType value);
  int StartingAngle() const { return FStartingAngle; }
  void SetStartingAngle(int value);  // 0 .. 359 degrees
  TSurfaceType SurfaceType() const { return FSurfaceType; }
  void SetSurfaceType(TSurfaceType value);
  int Vectors() const { return FVectors; }
  void SetVectors(int value);  // 3 .. 100

  // The shape and shadow boxes for the current size, outline and shadow.
  TShapeRects ShapeRects() const;
  static TShapeRects ShapeRectsFor(TGPShapeType shape, TShadowOrient orient, int width, int height,
                                   int outlineWidth, int shadowDepth);
  // The corners of a star or polygon in BOX: VECTORS points alternating between the outer and
  // the inner radius, the first at STARTINGANGLE degrees (90 = straight up).
  static std::vector<Point> StarPoints(const Rect& box, int vectors, int inVectorPercent, int startingAngle);

  std::optional<std::string> GetPropText(std::string_view name) const override;

 protected:
  void Paint() override;

 private:
  // The corners of a polygonal shape in BOX (the shadow's third corner of a downward
  // triangle lies one pixel further right).
  std::vector<Point> PolygonPoints(const Rect& box, bool shadow) const;
  // The shape in BOX as a region and as a figure drawn with the canvas's pen and brush.
  gfx::Region ShapeRegion(const Rect& box, bool shadow) const;
  void DrawShape(TCanvas& canvas, const Rect& box, bool shadow) const;
  int CornerSize() const;
  bool IsPolygon() const;

  void PaintShadow(TCanvas& canvas, const Rect& box);
  void PaintSurface(TCanvas& canvas, const Rect& box);
  void PaintGradient(TCanvas& canvas) const;
  void TileImage(TCanvas& canvas, const Rect& within) const;
  // PATAND of BOX with the stipple BITS in COLOUR; only pixels inside CLIP (logical) change.
  static void Stipple(TCanvas& canvas, const Rect& box, const std::array<std::uint8_t, 8>& bits, TColor colour,
                      const std::optional<gfx::Region>& clip);

  template <class T>
  void Store(T& field, T value);

  TColor FBackColor = clWhite;
  TFillDirection FFillDirection = gdUp;
  TColor FForeColor = clBlack;
  TColor FGradientToColor = clBlack;
  gfx::Bitmap FImage;
  int FInVectorPercent = 50;
  TColor FOutlineColor = clBlack;
  gfx::PenStyle FOutlineStyle = gfx::PenStyle::Solid;
  int FOutlineWidth = 1;
  gfx::BrushStyle FPattern = gfx::BrushStyle::Clear;
  int FRoundPerc = 25;
  TColor FShadowColor = clBlack;
  int FShadowDepth = 5;
  TShadowOrient FShadowOrient = soNone;
  TShadowFill FShadowFill = sfSolid;
  TGPShapeType FShape = gstRectangle;
  int FStartingAngle = 90;
  TSurfaceType FSurfaceType = stBrushOpaque;
  int FVectors = 10;
};
