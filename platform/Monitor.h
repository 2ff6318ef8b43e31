#pragma once
// The monitors of the desktop: where each lies on the screen (the bounding box of them all),
// its physical size as it reports it, and which is the primary one.
#include <vector>

#include "graphics/Types.h"

namespace plat {

struct Monitor {
  gfx::Rect Bounds;   // in screen pixels
  int WidthMm = 0;    // physical size; 0 when the monitor does not tell
  int HeightMm = 0;
  bool Primary = false;

  bool operator==(const Monitor&) const = default;
};

// The monitor that holds the largest part of R; when none holds any of it, the one nearest to
// it (the first of equals). Null only when MONITORS is empty.
const Monitor* MonitorForRect(const std::vector<Monitor>& monitors, const gfx::Rect& r);
// The monitor that holds P, or the one nearest to it.
const Monitor* MonitorForPoint(const std::vector<Monitor>& monitors, gfx::Point p);

}  // namespace plat
