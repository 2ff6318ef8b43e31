#pragma once
// Saves a canvas's drawing state and puts it back when it goes out of scope, also when the
// drawing in between throws: clip, origin, pen and pen position, brush, font and the text
// settings (text colour, background colour and mode).
#include <optional>

#include "graphics/Canvas.h"

namespace gfx {

class CanvasStateSaver {
 public:
  explicit CanvasStateSaver(Canvas& canvas);
  ~CanvasStateSaver();
  CanvasStateSaver(const CanvasStateSaver&) = delete;
  CanvasStateSaver& operator=(const CanvasStateSaver&) = delete;

 private:
  Canvas& FCanvas;
  std::optional<Region> FClip;
  Point FOrigin;
  gfx::Pen FPen;
  Point FPenPos;
  gfx::Brush FBrush;
  gfx::Font FFont;
  TColor FTextColor;
  TColor FBkColor;
  gfx::BkMode FBkMode;
};

}  // namespace gfx
