#pragma once
// Small helpers of the paint cycle shared by the painting controls.
#include <memory>
#include <optional>

#include "graphics/Canvas.h"
#include "graphics/Region.h"

namespace PaintCycle {

// Points CANVAS (made on first use) at TARGET with ORIGIN and CLIP, keeping its pen, brush,
// font and text settings, as a control's canvas keeps them between paints.
void Retarget(std::unique_ptr<gfx::Canvas>& canvas, gfx::Bitmap& target, gfx::Point origin,
              std::optional<gfx::Region> clip);

}  // namespace PaintCycle
