#pragma once
// Snapping to edges on the screen: a ruler's zero or end dragged near an edge lands on it.
#include <optional>

#include "graphics/Types.h"

// How far the point AT must move along a line of screen pixels (a row when ALONGX, else a
// column) to lie on the nearest edge within kEdgeSnapRange pixels: the first pixel past the
// edge. Nullopt when no edge lies in range, or when one of the program's own windows covers that
// stretch of the line (its pixels say nothing about what lies below).
std::optional<int> ScreenEdgeSnap(gfx::Point at, bool alongX);

constexpr int kEdgeSnapRange = 4;
