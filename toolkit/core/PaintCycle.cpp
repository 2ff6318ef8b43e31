#include "toolkit/core/PaintCycle.h"

namespace PaintCycle {

void Retarget(std::unique_ptr<gfx::Canvas>& canvas, gfx::Bitmap& target, gfx::Point origin,
              std::optional<gfx::Region> clip) {
  auto fresh = std::make_unique<gfx::Canvas>(target);
  if (canvas) {
    fresh->Pen = canvas->Pen;
    fresh->Brush = canvas->Brush;
    fresh->Font = canvas->Font;
    fresh->TextColor = canvas->TextColor;
    fresh->BkColor = canvas->BkColor;
    fresh->BkMode = canvas->BkMode;
    fresh->MoveTo(canvas->PenPos().x, canvas->PenPos().y);
  }
  fresh->Origin = origin;
  fresh->SetClipRegion(std::move(clip));
  // Assign in place so references to the canvas stay valid.
  if (canvas) *canvas = std::move(*fresh);
  else canvas = std::move(fresh);
}

}  // namespace PaintCycle
