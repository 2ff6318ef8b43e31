#include "graphics/CanvasStateSaver.h"

namespace gfx {

CanvasStateSaver::CanvasStateSaver(Canvas& canvas)
    : FCanvas(canvas),
      FClip(canvas.ClipRegion()),
      FOrigin(canvas.Origin),
      FPen(canvas.Pen),
      FPenPos(canvas.PenPos()),
      FBrush(canvas.Brush),
      FFont(canvas.Font),
      FTextColor(canvas.TextColor),
      FBkColor(canvas.BkColor),
      FBkMode(canvas.BkMode) {}

CanvasStateSaver::~CanvasStateSaver() {
  FCanvas.SetClipRegion(std::move(FClip));
  FCanvas.Origin = FOrigin;
  FCanvas.Pen = FPen;
  FCanvas.MoveTo(FPenPos.x, FPenPos.y);
  FCanvas.Brush = FBrush;
  // Assigned field by field, not selected: selecting would also take the font's colour as
  // the text colour.
  FCanvas.Font = std::move(FFont);
  FCanvas.TextColor = FTextColor;
  FCanvas.BkColor = FBkColor;
  FCanvas.BkMode = FBkMode;
}

}  // namespace gfx
