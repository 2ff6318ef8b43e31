#pragma once
// Snapping to edges on the screen: a ruler's zero or end dragged near an edge lands on it.
//
// The screen is read once, when the drag starts, before the drag shows anything of its own (the
// position readout, a moved loupe): what the program's windows covered then says nothing about
// what lies below, so no edge is sought there.
#include <optional>
#include <vector>

#include "graphics/Bitmap.h"
#include "graphics/Types.h"

constexpr int kEdgeSnapRange = 4;

class TEdgeSnap {
 public:
  // Reads the screen (the frozen picture while the screen is frozen) and where the program's
  // visible windows lie on it.
  void Take();
  // Lets the picture go.
  void Drop();

  // How far the point AT must move along a line of screen pixels (a row when ALONGX, else a
  // column) to lie on the nearest edge within kEdgeSnapRange pixels: the first pixel past the
  // edge. Nullopt when no edge lies in range, or when one of the program's windows covered that
  // stretch of the line, or before Take.
  std::optional<int> Snap(gfx::Point at, bool alongX) const;

 private:
  gfx::Bitmap FPicture;
  std::vector<gfx::Rect> FCovered;
};
