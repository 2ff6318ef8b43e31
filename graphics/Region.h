#pragma once
// A region: a set of pixels kept as rectangles in banded order (sorted by top, then left;
// rectangles of one band share top and bottom; touching rectangles of a band are merged;
// bands that are equal and touch are merged). Two equal sets have equal rectangle lists.
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

#include "graphics/Types.h"

namespace gfx {

enum class FillMode { Alternate, Winding };

// Raised when RGNDATA bytes are damaged; the message says what is wrong.
class RegionDataError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Region {
 public:
  Region() = default;  // empty
  explicit Region(const Rect& r);

  // The shapes of the classic region calls, pixel for pixel:
  // CreateEllipticRgn(l, t, r, b), CreateRoundRectRgn(l, t, r, b, w, h), CreatePolygonRgn.
  static Region Ellipse(const Rect& bounds);
  static Region RoundRect(const Rect& bounds, int ellipseWidth, int ellipseHeight);
  static Region Polygon(std::span<const Point> points, FillMode mode);
  // Builds a region from rectangles in any order (they are normalised).
  static Region FromRects(std::span<const Rect> rects);

  // RGNDATA: a 32-byte header (dwSize 32, iType 1, nCount, nRgnSize, rcBound) followed by
  // nCount RECTs of four little-endian int32. Import throws RegionDataError on damaged data.
  static Region FromRgnData(std::span<const std::uint8_t> bytes);
  std::vector<std::uint8_t> ToRgnData() const;

  bool IsEmpty() const { return FRects.empty(); }
  Rect Bounds() const;
  bool Contains(Point p) const;
  bool Contains(int x, int y) const { return Contains(Point{x, y}); }
  const std::vector<Rect>& Rects() const { return FRects; }

  Region Union(const Region& o) const;
  Region Intersect(const Region& o) const;
  Region Subtract(const Region& o) const;
  Region Xor(const Region& o) const;
  Region Offset(int dx, int dy) const;

  friend bool operator==(const Region&, const Region&) = default;

 private:
  std::vector<Rect> FRects;
};

}  // namespace gfx
