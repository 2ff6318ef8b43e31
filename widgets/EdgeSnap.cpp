#include "widgets/EdgeSnap.h"

#include "graphics/EdgeFinder.h"
#include "toolkit/core/TForm.h"
#include "toolkit/core/TScreen.h"

void TEdgeSnap::Take() {
  Drop();
  // Where the screen cannot be read (XWayland, not frozen) nothing snaps.
  if (!Screen || !Screen->PixelsReadable()) return;
  FPicture = Screen->CapturePixels({0, 0, Screen->Width(), Screen->Height()});
  // A frozen screen's picture holds none of our windows.
  if (!Screen->Frozen())
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (TForm* f = Screen->Forms(i); f && f->Visible()) FCovered.push_back(f->BoundsRect());
}

void TEdgeSnap::Drop() {
  FPicture = gfx::Bitmap();
  FCovered.clear();
}

std::optional<int> TEdgeSnap::Snap(gfx::Point at, bool alongX) const {
  constexpr int count = 2 * kEdgeSnapRange + 1;
  const gfx::Rect stretch = alongX ? gfx::Rect{at.x - kEdgeSnapRange, at.y, at.x + kEdgeSnapRange + 1, at.y + 1}
                                   : gfx::Rect{at.x, at.y - kEdgeSnapRange, at.x + 1, at.y + kEdgeSnapRange + 1};
  if (stretch.Intersect(FPicture.Bounds()) != stretch) return std::nullopt;
  for (const gfx::Rect& r : FCovered)
    if (!r.Intersect(stretch).IsEmpty()) return std::nullopt;
  gfx::TColor line[count];
  for (int i = 0; i < count; ++i)
    line[i] = alongX ? FPicture.At(stretch.left + i, at.y) : FPicture.At(at.x, stretch.top + i);
  const std::optional<int> edge =
      gfx::NearestEdge(line, count, kEdgeSnapRange, kEdgeSnapRange, gfx::kDefaultEdgeTolerance);
  if (!edge) return std::nullopt;
  return *edge - kEdgeSnapRange;
}
