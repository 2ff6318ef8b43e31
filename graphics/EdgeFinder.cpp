#include "graphics/EdgeFinder.h"

#include <algorithm>
#include <cstdlib>

#include "graphics/Color.h"

namespace gfx {

int ChannelDifference(TColor a, TColor b) {
  return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                   std::abs(GetBValue(a) - GetBValue(b))});
}

int EdgeDistance(const Bitmap& picture, Point start, Point step, int tolerance, int limit) {
  if (!picture.Bounds().Contains(start)) return 0;
  TColor last = picture.At(start.x, start.y);
  Point p = start;
  int n = 0;
  while (n < limit) {
    p = {p.x + step.x, p.y + step.y};
    if (!picture.Bounds().Contains(p)) break;
    const TColor c = picture.At(p.x, p.y);
    if (ChannelDifference(c, last) > tolerance) break;
    last = c;
    ++n;
  }
  return n;
}

Rect EdgeBox(const Bitmap& picture, Point start, int tolerance, int limit) {
  return {start.x - EdgeDistance(picture, start, {-1, 0}, tolerance, limit),
          start.y - EdgeDistance(picture, start, {0, -1}, tolerance, limit),
          start.x + EdgeDistance(picture, start, {1, 0}, tolerance, limit) + 1,
          start.y + EdgeDistance(picture, start, {0, 1}, tolerance, limit) + 1};
}

std::optional<int> NearestEdge(const TColor* line, int count, int at, int range, int tolerance) {
  // Edge k lies between pixels k - 1 and k; look at distance 0, 1, 2, ... lower side first.
  auto isEdge = [&](int k) {
    return k > 0 && k < count && ChannelDifference(line[k - 1], line[k]) > tolerance;
  };
  for (int d = 0; d <= range; ++d) {
    if (isEdge(at - d)) return at - d;
    if (d > 0 && isEdge(at + d)) return at + d;
  }
  return std::nullopt;
}

}  // namespace gfx
