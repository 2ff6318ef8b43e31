#include "widgets/EdgeSnap.h"

#include "graphics/EdgeFinder.h"
#include "toolkit/core/TForm.h"
#include "toolkit/core/TScreen.h"

std::optional<int> ScreenEdgeSnap(gfx::Point at, bool alongX) {
  constexpr int count = 2 * kEdgeSnapRange + 1;
  const gfx::Rect stretch = alongX ? gfx::Rect{at.x - kEdgeSnapRange, at.y, at.x + kEdgeSnapRange + 1, at.y + 1}
                                   : gfx::Rect{at.x, at.y - kEdgeSnapRange, at.x + 1, at.y + kEdgeSnapRange + 1};
  // A frozen screen's picture holds none of our windows.
  if (!Screen || !Screen->PixelsReadable()) return std::nullopt;
  if (!Screen->Frozen())
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (TForm* f = Screen->Forms(i); f && f->Visible() && !f->BoundsRect().Intersect(stretch).IsEmpty())
        return std::nullopt;
  const gfx::Bitmap line = Screen->CapturePixels(stretch);
  if (std::size_t(line.Width()) * std::size_t(line.Height()) != count) return std::nullopt;
  const std::optional<int> edge =
      gfx::NearestEdge(line.Pixels().data(), count, kEdgeSnapRange, kEdgeSnapRange, gfx::kDefaultEdgeTolerance);
  if (!edge) return std::nullopt;
  return *edge - kEdgeSnapRange;
}
