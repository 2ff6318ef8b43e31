#pragma once
// Helpers for the canvas tests: pictures of bitmap areas as text, so that a failing pixel test
// shows the whole area.
#include <map>
#include <string>
#include <vector>

#include "graphics/Bitmap.h"
#include "graphics/Region.h"

namespace gfx::testing {

// One character a pixel for the rectangle R of BMP, rows separated by '\n'. Colours found in
// LEGEND show their character, others '?'.
inline std::string Picture(const Bitmap& bmp, const Rect& r, const std::map<TColor, char>& legend) {
  std::string s;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      const auto it = legend.find(bmp.Get(x, y));
      s += it == legend.end() ? '?' : it->second;
    }
    s += '\n';
  }
  return s;
}

// Joins rows into the format Picture returns.
inline std::string Rows(const std::vector<std::string>& rows) {
  std::string s;
  for (const std::string& r : rows) s += r + '\n';
  return s;
}

// The pixels of BMP that differ from BACKGROUND.
inline std::vector<Point> PixelsNot(const Bitmap& bmp, TColor background) {
  std::vector<Point> out;
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x)
      if (bmp.At(x, y) != background) out.push_back({x, y});
  return out;
}

inline bool RegionHas(const Region& r, int x, int y) { return r.Contains(Point{x, y}); }

}  // namespace gfx::testing
