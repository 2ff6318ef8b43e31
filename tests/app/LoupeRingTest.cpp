// The loupe's ring frame, built from the disc's bands, against the ring worked out pixel by
// pixel from the circle equation, and on the loupe's own disc against its point tests.
#include <gtest/gtest.h>

#include <vector>

#include "graphics/Region.h"
#include "magnifier/TfrmZoom.h"
#include "toolkit/core/ResourceLoader.h"

namespace {

// Pixel (x, y) is in the circle when its centre is: (x + 0.5 - cx)^2 + (y + 0.5 - cy)^2 <= r^2.
struct Circle {
  double cx, cy, r;
  bool Contains(int x, int y) const {
    const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
    return dx * dx + dy * dy <= r * r;
  }
};

// A pixel of the ring is inside the shape and has a pixel outside it within WIDTH - 1 steps
// across, along or diagonally (a (2 WIDTH - 1)-square around it).
template <class Inside>
bool InRing(const Inside& inside, int x, int y, int width) {
  if (!inside(x, y)) return false;
  for (int dy = 1 - width; dy < width; ++dy)
    for (int dx = 1 - width; dx < width; ++dx)
      if (!inside(x + dx, y + dy)) return true;
  return false;
}

template <class Inside>
void ExpectRing(const gfx::Bitmap& ring, int size, int width, const Inside& inside, const std::string& what) {
  ASSERT_EQ(ring.Width(), size) << what;
  ASSERT_EQ(ring.Height(), size) << what;
  int wrong = 0, black = 0;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const gfx::TColor want = InRing(inside, x, y, width) ? 0x000000 : 0xFFFFFF;
      black += want == 0;
      if (ring.At(x, y) != want && ++wrong <= 3) ADD_FAILURE() << what << ": pixel " << x << ", " << y;
    }
  EXPECT_EQ(wrong, 0) << what;
  EXPECT_GT(black + (width == 1), 0) << what << ": no ring at all";
}

}  // namespace

TEST(LoupeRing, EqualsThePixelByPixelRingForCirclesOfManySizes) {
  const struct {
    Circle c;
    int size, width;
  } cases[] = {
      {{50, 50, 50}, 100, 3},   {{50, 50, 49.5}, 100, 3}, {{50.5, 49, 37}, 100, 2},
      {{10, 12, 20}, 100, 3},   // cut by the picture's top and left edges
      {{95, 90, 30}, 100, 4},   // and by its right and bottom edges
      {{20, 20, 2.2}, 40, 3},   // smaller than the ring: all ring
      {{30.5, 30.5, 25}, 61, 1},  // no width: no ring
      {{7, 7, 7}, 15, 5},
  };
  for (const auto& k : cases) {
    // The disc as rows of its pixels, from the equation alone.
    std::vector<gfx::Rect> rows;
    for (int y = -k.size; y < 2 * k.size; ++y)
      for (int x = -k.size; x < 2 * k.size; ++x)
        if (k.c.Contains(x, y)) rows.push_back({x, y, x + 1, y + 1});
    const gfx::Region disc = gfx::Region::FromRects(rows);
    const std::string what = "circle at " + std::to_string(k.c.cx) + ", " + std::to_string(k.c.cy) + " radius " +
                             std::to_string(k.c.r) + " width " + std::to_string(k.width);
    ExpectRing(LoupeRingPicture(disc, k.size, k.width), k.size, k.width,
               [&](int x, int y) { return k.c.Contains(x, y); }, what);
  }
  // The loupe's own disc, tested point by point as it stands.
  const std::vector<std::uint8_t> mask = LoadRegionResource("MASKZOOM");
  ASSERT_GT(mask.size(), 4u);
  const gfx::Region disc = gfx::Region::FromRgnData(std::span(mask).subspan(4));
  ExpectRing(LoupeRingPicture(disc, 100, 3), 100, 3, [&](int x, int y) { return disc.Contains(x, y); }, "MASKZOOM");
}
