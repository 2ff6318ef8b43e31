#pragma once
// Paints a ruler in one pass: background, ticks, numbers, caption, outline. Everything it needs
// is in TRulerPaintState, so the same code serves the control, the tests, the benchmark and the
// test card. Nothing is kept between paints.
#include <string>

#include "graphics/Canvas.h"
#include "graphics/Font.h"
#include "ruler/RulerLayout.h"
#include "ruler/RulerTypes.h"

// What a paint reads: the control's properties and its outline fields, with the values a
// freshly constructed ruler has.
struct TRulerPaintState {
  std::string Caption;
  TCaptionAlign CaptionAlign = caTopLeft;
  int CaptionIndent1 = 0;
  int CaptionIndent2 = 0;
  gfx::TColor Color = 0xFFFF;
  gfx::Font Font = DefaultFont();
  TFontRotation FontRotation = fr0;
  TNumberAlign NumberAlign = naCenter;
  int NumberIndent = 0;
  TOrientation Orientation = orHoriz;
  double StartValue = 0.0;
  TTickAlign TickAlign = taBottomRight;
  gfx::TColor TickColor = 0;
  int TickSizeBig = 45;
  int TickSizeMiddle = 35;
  int TickSizeSmall = 15;
  double UnitSize = 50.0;
  double UnitPrice = 1.0;
  int UnitPrecision = 0;
  bool DrawFrame = false;
  gfx::TColor FrameColor = 0;
  int FrameWidth = 1;

  // "Tahoma" with a character height of 9 pixels, black.
  static gfx::Font DefaultFont();
};

// Paints LOOK on CANVAS as a ruler of WIDTH x HEIGHT pixels with its top-left at the canvas's
// logical (0, 0). Leaves pen, brush and font changed. A UnitSize of zero or below (or any scale
// that cannot be laid out) paints only the background. Only the part the canvas can show (its
// clip within its bitmap) is drawn; returns how many ticks were drawn, numbers included.
// MARKS, kept between paints, lets a paint of a small part of a long ruler start near it.
int PaintRuler(gfx::Canvas& canvas, const TRulerPaintState& look, int width, int height,
               TRulerWalkMarks* marks = nullptr);
