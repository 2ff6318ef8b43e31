#pragma once
// Finding edges in a picture of the screen, for measuring between them and snapping to them.
//
// An edge lies between two neighbouring pixels that differ by more than a tolerance on any
// channel. Each pixel is compared with its neighbour, not with the start, so a walk crosses a
// gradient or a soft shadow whose steps stay within the tolerance.
#include <optional>

#include "graphics/Bitmap.h"
#include "graphics/Color.h"
#include "graphics/Types.h"

namespace gfx {

// Above the steps of gradients and soft shadows, below any edge a person sees.
constexpr int kDefaultEdgeTolerance = 8;

// The largest difference between A and B on any of red, green and blue.
int ChannelDifference(TColor a, TColor b);

// How many pixels, from START (not counted) in the direction STEP (one of the four unit
// steps), still lie before the next edge or the picture's border; at most LIMIT.
int EdgeDistance(const Bitmap& picture, Point start, Point step, int tolerance, int limit);

// The pixels between the edges around START: its left, top, right and bottom beam ends,
// right and bottom exclusive, so the width is Width() and the height Height().
Rect EdgeBox(const Bitmap& picture, Point start, int tolerance, int limit);

// The edge nearest to index AT along a line of pixels, within RANGE pixels either way: the
// index of the first pixel past the edge. Ties go to the lower index. nullopt when none.
std::optional<int> NearestEdge(const TColor* line, int count, int at, int range, int tolerance);

}  // namespace gfx
