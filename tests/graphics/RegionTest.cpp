#include "graphics/Region.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <set>
#include <vector>

using namespace gfx;

namespace {

// Checks the canonical form every region must keep: sorted bands that do not overlap,
// rectangles of a band sharing top and bottom and neither touching nor overlapping, and no two
// touching bands with the same spans.
::testing::AssertionResult IsCanonical(const Region& r) {
  const auto& v = r.Rects();
  std::size_t prevStart = 0, prevEnd = 0;
  for (std::size_t i = 0; i < v.size();) {
    std::size_t end = i + 1;
    while (end < v.size() && v[end].top == v[i].top) ++end;
    for (std::size_t k = i; k < end; ++k) {
      if (v[k].IsEmpty()) return ::testing::AssertionFailure() << "empty rect at " << k;
      if (v[k].bottom != v[i].bottom) return ::testing::AssertionFailure() << "ragged band at " << k;
      if (k > i && v[k].left <= v[k - 1].right) return ::testing::AssertionFailure() << "touching rects at " << k;
    }
    if (i > 0) {
      if (v[i].top < v[prevStart].bottom) return ::testing::AssertionFailure() << "overlapping bands at " << i;
      if (v[i].top == v[prevStart].bottom && end - i == prevEnd - prevStart) {
        bool same = true;
        for (std::size_t k = 0; k < end - i; ++k)
          same = same && v[i + k].left == v[prevStart + k].left && v[i + k].right == v[prevStart + k].right;
        if (same) return ::testing::AssertionFailure() << "unmerged bands at " << i;
      }
    }
    prevStart = i;
    prevEnd = end;
    i = end;
  }
  return ::testing::AssertionSuccess();
}

// A brute-force pixel set over a small window, the model the band code is checked against.
constexpr int kOrigin = -8, kSize = 80;
using PixelSet = std::vector<bool>;

PixelSet Pixels(const Region& r) {
  PixelSet s(kSize * kSize, false);
  for (const Rect& q : r.Rects())
    for (int y = q.top; y < q.bottom; ++y)
      for (int x = q.left; x < q.right; ++x) {
        if (x < kOrigin || x >= kOrigin + kSize || y < kOrigin || y >= kOrigin + kSize) {
          ADD_FAILURE() << "pixel " << x << "," << y << " outside the model window";
          continue;
        }
        s[std::size_t((y - kOrigin) * kSize + (x - kOrigin))] = true;
      }
  return s;
}

Region RandomRegion(std::mt19937& rng, int maxRects) {
  std::uniform_int_distribution<int> count(0, maxRects), coord(-6, 50), extent(0, 14);
  std::vector<Rect> rects;
  const int n = count(rng);
  for (int i = 0; i < n; ++i) {
    const int x = coord(rng), y = coord(rng);
    rects.push_back({x, y, x + extent(rng), y + extent(rng)});
  }
  return Region::FromRects(rects);
}

std::vector<std::uint8_t> RgnBytes(std::initializer_list<std::int32_t> words) {
  std::vector<std::uint8_t> out;
  for (std::int32_t w : words)
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(std::uint32_t(w) >> (8 * i)));
  return out;
}

std::int32_t Word(const std::vector<std::uint8_t>& b, std::size_t index) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= std::uint32_t(b[index * 4 + i]) << (8 * i);
  return std::int32_t(v);
}

// The span of row Y (the region must hold one span there).
std::pair<int, int> RowSpan(const Region& r, int y) {
  for (const Rect& q : r.Rects())
    if (q.top <= y && y < q.bottom) return {q.left, q.right};
  return {0, 0};
}

}  // namespace

TEST(Region, NormalisesAnyRectangleListIntoBands) {
  // Overlapping rectangles become bands split at every edge.
  const std::array<Rect, 2> cross = {Rect{0, 0, 10, 10}, Rect{5, 5, 15, 15}};
  const Region r = Region::FromRects(cross);
  EXPECT_EQ(r.Rects(), (std::vector<Rect>{{0, 0, 10, 5}, {0, 5, 15, 10}, {5, 10, 15, 15}}));

  // Side-by-side touching pieces merge; pieces stacked with the same spans merge too.
  const std::array<Rect, 4> quarters = {Rect{5, 5, 10, 10}, Rect{0, 0, 5, 5}, Rect{0, 5, 5, 10}, Rect{5, 0, 10, 5}};
  EXPECT_EQ(Region::FromRects(quarters).Rects(), (std::vector<Rect>{{0, 0, 10, 10}}));

  // Two columns with a gap keep two rectangles per band; empty and inverted rectangles vanish.
  const std::array<Rect, 4> cols = {Rect{20, 0, 30, 10}, Rect{0, 0, 10, 10}, Rect{3, 3, 3, 9}, Rect{9, 9, 2, 2}};
  EXPECT_EQ(Region::FromRects(cols).Rects(), (std::vector<Rect>{{0, 0, 10, 10}, {20, 0, 30, 10}}));

  EXPECT_TRUE(Region::FromRects({}).IsEmpty());
  EXPECT_TRUE(Region(Rect{4, 4, 4, 9}).IsEmpty());
  EXPECT_EQ(Region(), Region(Rect{1, 1, 0, 5}));

  // The same pixel set built from random pieces always yields the same list.
  std::mt19937 rng(7);
  for (int round = 0; round < 50; ++round) {
    std::vector<Rect> pieces;
    for (int y = 0; y < 12; ++y) {
      int x = 0;
      while (x < 20) {
        const int w = std::uniform_int_distribution<int>(1, 7)(rng);
        pieces.push_back({x, y, std::min(20, x + w), y + 1});
        x += w;
      }
    }
    std::shuffle(pieces.begin(), pieces.end(), rng);
    EXPECT_EQ(Region::FromRects(pieces), Region(Rect{0, 0, 20, 12}));
  }
}

TEST(Region, SetOperationsAgreeWithPixelModel) {
  std::mt19937 rng(20240601);
  for (int round = 0; round < 300; ++round) {
    const Region a = RandomRegion(rng, 8), b = RandomRegion(rng, 8);
    ASSERT_TRUE(IsCanonical(a));
    const PixelSet pa = Pixels(a), pb = Pixels(b);
    const Region u = a.Union(b), i = a.Intersect(b), s = a.Subtract(b), x = a.Xor(b);
    for (const Region* r : {&u, &i, &s, &x}) ASSERT_TRUE(IsCanonical(*r)) << "round " << round;
    PixelSet wu(pa.size()), wi(pa.size()), ws(pa.size()), wx(pa.size());
    for (std::size_t k = 0; k < pa.size(); ++k) {
      wu[k] = pa[k] || pb[k];
      wi[k] = pa[k] && pb[k];
      ws[k] = pa[k] && !pb[k];
      wx[k] = pa[k] != pb[k];
    }
    ASSERT_EQ(Pixels(u), wu) << "union, round " << round;
    ASSERT_EQ(Pixels(i), wi) << "intersect, round " << round;
    ASSERT_EQ(Pixels(s), ws) << "subtract, round " << round;
    ASSERT_EQ(Pixels(x), wx) << "xor, round " << round;
    Rect box;
    for (std::size_t k = 0; k < wu.size(); ++k) {
      const int px_ = int(k % kSize) + kOrigin, py_ = int(k / kSize) + kOrigin;
      // The point test is slow under sanitizers pixel by pixel, so every fourth round does it.
      if (round % 4 == 0 && u.Contains(px_, py_) != wu[k]) FAIL() << "contains " << px_ << "," << py_ << ", round " << round;
      if (wu[k]) box = box.Union(Rect{px_, py_, px_ + 1, py_ + 1});
    }
    EXPECT_EQ(u.Bounds(), box);
    // Identities that only hold when the lists are canonical.
    EXPECT_EQ(s.Union(i), a);
    EXPECT_EQ(x, u.Subtract(i));
    EXPECT_EQ(a.Union(a), a);
    EXPECT_TRUE(a.Xor(a).IsEmpty());
  }
}

TEST(Region, PointTestAndBoundsOnBandEdges) {
  const std::array<Rect, 3> rects = {Rect{0, 0, 4, 2}, Rect{10, 0, 12, 2}, Rect{2, 5, 6, 8}};
  const Region r = Region::FromRects(rects);
  EXPECT_TRUE(r.Contains(0, 0));
  EXPECT_TRUE(r.Contains(3, 1));
  EXPECT_FALSE(r.Contains(4, 1));  // right edge is exclusive
  EXPECT_FALSE(r.Contains(0, 2));  // bottom edge is exclusive
  EXPECT_FALSE(r.Contains(7, 0));  // gap between rectangles of a band
  EXPECT_TRUE(r.Contains(11, 1));
  EXPECT_FALSE(r.Contains(3, 3));  // gap between bands
  EXPECT_TRUE(r.Contains(2, 7));
  EXPECT_FALSE(r.Contains(2, 8));
  EXPECT_FALSE(r.Contains(-1, -1));
  EXPECT_EQ(r.Bounds(), (Rect{0, 0, 12, 8}));
  EXPECT_EQ(Region().Bounds(), Rect{});
  EXPECT_FALSE(Region().Contains(0, 0));
}

TEST(Region, OffsetMovesEveryRectangle) {
  const std::array<Rect, 2> rects = {Rect{0, 0, 4, 2}, Rect{1, 2, 3, 6}};
  const Region r = Region::FromRects(rects);
  const Region moved = r.Offset(-10, 7);
  EXPECT_EQ(moved.Rects(), (std::vector<Rect>{{-10, 7, -6, 9}, {-9, 9, -7, 13}}));
  EXPECT_EQ(moved.Offset(10, -7), r);
  // Moving past the int range pins the coordinates instead of wrapping around.
  const Region far = Region(Rect{0, 0, 10, 10}).Offset(INT32_MAX - 5, 0);
  EXPECT_TRUE(IsCanonical(far));
  EXPECT_EQ(far.Bounds(), (Rect{INT32_MAX - 5, 0, INT32_MAX, 10}));
}

TEST(Region, RgnDataLayoutAndRoundTrip) {
  const std::array<Rect, 2> rects = {Rect{2, 3, 5, 4}, Rect{-1, 4, 7, 9}};
  const Region r = Region::FromRects(rects);
  const std::vector<std::uint8_t> data = r.ToRgnData();
  ASSERT_EQ(data.size(), 32u + 2 * 16);
  EXPECT_EQ(Word(data, 0), 32);  // dwSize
  EXPECT_EQ(Word(data, 1), 1);   // iType
  EXPECT_EQ(Word(data, 2), 2);   // nCount
  EXPECT_EQ(Word(data, 3), 32);  // nRgnSize = 16 per rectangle
  EXPECT_EQ((std::array{Word(data, 4), Word(data, 5), Word(data, 6), Word(data, 7)}), (std::array{-1, 3, 7, 9}));
  EXPECT_EQ((std::array{Word(data, 8), Word(data, 9), Word(data, 10), Word(data, 11)}), (std::array{2, 3, 5, 4}));
  EXPECT_EQ((std::array{Word(data, 12), Word(data, 13), Word(data, 14), Word(data, 15)}), (std::array{-1, 4, 7, 9}));
  EXPECT_EQ(Region::FromRgnData(data), r);

  // The empty region: header only, zero bounds.
  const std::vector<std::uint8_t> empty = Region().ToRgnData();
  EXPECT_EQ(empty, RgnBytes({32, 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(Region::FromRgnData(empty).IsEmpty());

  // Foreign data in no particular order, with overlaps and empty rectangles, is normalised;
  // nRgnSize and rcBound are only hints and are not checked.
  const auto messy = RgnBytes({32, 1, 4, 1234, 0, 0, 1, 1,  //
                               5, 0, 10, 5, 0, 0, 6, 5, 3, 3, 3, 3, 0, 5, 10, 6});
  EXPECT_EQ(Region::FromRgnData(messy).Rects(), (std::vector<Rect>{{0, 0, 10, 6}}));

  std::mt19937 rng(99);
  for (int round = 0; round < 100; ++round) {
    const Region q = RandomRegion(rng, 12);
    EXPECT_EQ(Region::FromRgnData(q.ToRgnData()), q);
  }
}

TEST(Region, DamagedRgnDataIsRejected) {
  const auto good = Region(Rect{0, 0, 4, 4}).ToRgnData();
  auto expectError = [](const std::vector<std::uint8_t>& bytes, const char* what) {
    EXPECT_THROW(Region::FromRgnData(bytes), RegionDataError) << what;
  };
  for (std::size_t n = 0; n < good.size(); ++n)
    expectError(std::vector<std::uint8_t>(good.begin(), good.begin() + std::ptrdiff_t(n)), "truncated");
  auto extra = good;
  extra.push_back(0);
  expectError(extra, "trailing byte");
  expectError(RgnBytes({40, 1, 0, 0, 0, 0, 0, 0}), "header size");
  expectError(RgnBytes({32, 2, 0, 0, 0, 0, 0, 0}), "type");
  expectError(RgnBytes({32, 1, 2, 32, 0, 0, 4, 4, 0, 0, 4, 4}), "count larger than data");
  expectError(RgnBytes({32, 1, -1, 0, 0, 0, 0, 0}), "absurd count");
  expectError(RgnBytes({32, 1, 0x10000000, 0, 0, 0, 0, 0}), "count that overflows 32-bit byte size");
  expectError(RgnBytes({32, 1, 1, 16, 0, 0, 0, 0, 5, 0, 4, 4}), "inverted horizontally");
  expectError(RgnBytes({32, 1, 1, 16, 0, 0, 0, 0, 0, 5, 4, 4}), "inverted vertically");
  try {
    Region::FromRgnData(RgnBytes({32, 7, 0, 0, 0, 0, 0, 0}));
    FAIL() << "no error";
  } catch (const RegionDataError& e) {
    EXPECT_NE(std::string(e.what()).find("type"), std::string::npos) << e.what();
  }
}

TEST(Region, MutatedRgnDataNeverCrashes) {
  std::mt19937 rng(12345);
  const Region disc = Region::Ellipse({0, 0, 40, 30}).Union(Region(Rect{-5, 10, 50, 12}));
  const std::vector<std::uint8_t> base = disc.ToRgnData();
  int accepted = 0;
  for (int round = 0; round < 5000; ++round) {
    std::vector<std::uint8_t> bytes = base;
    const int edits = std::uniform_int_distribution<int>(1, 6)(rng);
    for (int e = 0; e < edits; ++e) {
      const int kind = std::uniform_int_distribution<int>(0, 9)(rng);
      if (kind == 0 && !bytes.empty()) {
        bytes.resize(std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(rng));
      } else if (kind == 1) {
        bytes.push_back(std::uint8_t(rng()));
      } else if (!bytes.empty()) {
        // Header bytes are hit more often, since that is where damage matters most.
        const std::size_t limit = kind < 5 ? std::min<std::size_t>(bytes.size(), 16) : bytes.size();
        bytes[std::uniform_int_distribution<std::size_t>(0, limit - 1)(rng)] = std::uint8_t(rng());
      }
    }
    try {
      const Region r = Region::FromRgnData(bytes);
      ASSERT_TRUE(IsCanonical(r));
      ASSERT_EQ(Region::FromRgnData(r.ToRgnData()), r);
      ++accepted;
    } catch (const RegionDataError&) {
    }
  }
  EXPECT_GT(accepted, 0);  // the mutations also reach the rectangle-handling path
}

TEST(Region, EllipseFillsItsBoxSymmetrically) {
  // The classic call leaves out the right and bottom edge of the box it is given.
  EXPECT_EQ(Region::Ellipse({0, 0, 11, 11}).Bounds(), (Rect{0, 0, 10, 10}));
  EXPECT_EQ(Region::Ellipse({11, 11, 0, 0}), Region::Ellipse({0, 0, 11, 11}));  // corners in any order
  EXPECT_TRUE(Region::Ellipse({0, 0, 1, 10}).IsEmpty());
  EXPECT_TRUE(Region::Ellipse({5, 5, 5, 5}).IsEmpty());
  EXPECT_EQ(Region::Ellipse({0, 0, 3, 3}), Region(Rect{0, 0, 2, 2}));
  EXPECT_THROW(Region::Ellipse({INT32_MIN, 0, INT32_MAX, 10}), std::length_error);
  EXPECT_THROW(Region::RoundRect({0, INT32_MIN, 10, INT32_MAX}, 4, 4), std::length_error);

  for (int w = 1; w <= 40; ++w)
    for (int h = 1; h <= 40; h += (w < 10 ? 1 : 7)) {
      const Region e = Region::Ellipse({3, -2, 3 + w + 1, -2 + h + 1});
      ASSERT_EQ(e.Bounds(), (Rect{3, -2, 3 + w, -2 + h})) << w << "x" << h;
      // Mirrored left-right and top-bottom, and the transposed box gives the transposed shape.
      const Region t = Region::Ellipse({0, 0, h + 1, w + 1});
      int prevWidth = 0;
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          const bool in = e.Contains(3 + x, -2 + y);
          ASSERT_EQ(in, e.Contains(3 + w - 1 - x, -2 + y)) << w << "x" << h << " at " << x << "," << y;
          ASSERT_EQ(in, e.Contains(3 + x, -2 + h - 1 - y)) << w << "x" << h << " at " << x << "," << y;
          ASSERT_EQ(in, t.Contains(y, x)) << w << "x" << h << " at " << x << "," << y;
        }
        // Rows widen towards the middle and never split.
        const auto [l, r] = RowSpan(e, -2 + y);
        if (y < (h + 1) / 2) {
          ASSERT_GE(r - l, prevWidth);
          prevWidth = r - l;
        }
        int count = 0;
        for (const Rect& q : e.Rects()) count += q.top <= -2 + y && -2 + y < q.bottom;
        ASSERT_EQ(count, 1);
      }
    }
}

TEST(Region, EllipseDiscOutlinesOfTheShapedWindows) {
  // The loupe's disc fills a 100 x 100 box starting one pixel right; the lens's disc fills
  // 148 x 149 in the lower right of its 200 x 200 window.
  const Region loupe = Region::Ellipse({1, 0, 102, 101});
  EXPECT_EQ(loupe.Bounds(), (Rect{1, 0, 101, 100}));
  EXPECT_FALSE(loupe.Contains(0, 0));
  EXPECT_FALSE(loupe.Contains(0, 50));
  EXPECT_TRUE(loupe.Contains(1, 50));
  EXPECT_TRUE(loupe.Contains(50, 0));
  EXPECT_TRUE(loupe.Contains(50, 99));
  EXPECT_FALSE(loupe.Contains(1, 0));
  EXPECT_FALSE(loupe.Contains(100, 99));
  // Rows of the stored outline it must agree with closely: the first and last rows are short
  // runs around the middle, the middle rows span the whole box.
  const auto [l0, r0] = RowSpan(loupe, 0);
  EXPECT_GE(l0, 40);
  EXPECT_LE(r0, 61);
  EXPECT_EQ(RowSpan(loupe, 99), RowSpan(loupe, 0));
  for (int y = 44; y < 56; ++y) EXPECT_EQ(RowSpan(loupe, y), (std::pair{1, 101})) << y;

  const Region lens = Region::Ellipse({51, 50, 200, 200});
  EXPECT_EQ(lens.Bounds(), (Rect{51, 50, 199, 199}));
  const auto [l50, r50] = RowSpan(lens, 50);
  EXPECT_GE(l50, 115);
  EXPECT_LE(r50, 135);
  EXPECT_EQ(RowSpan(lens, 198), RowSpan(lens, 50));
  for (int y = 117; y < 132; ++y) EXPECT_EQ(RowSpan(lens, y), (std::pair{51, 199})) << y;
  EXPECT_FALSE(lens.Contains(51, 50));
  EXPECT_FALSE(lens.Contains(198, 198));
  EXPECT_TRUE(lens.Contains(125, 124));

  // Both survive the trip through the stored byte form unchanged.
  for (const Region* r : {&loupe, &lens}) {
    const auto bytes = r->ToRgnData();
    EXPECT_EQ(bytes.size(), 32 + 16 * r->Rects().size());
    EXPECT_EQ(Region::FromRgnData(bytes), *r);
  }
}

TEST(Region, RoundRectCorners) {
  // Corner ellipses as large as the box give the ellipse; tiny ones give the plain rectangle.
  EXPECT_EQ(Region::RoundRect({0, 0, 31, 21}, 30, 20), Region::Ellipse({0, 0, 31, 21}));
  EXPECT_EQ(Region::RoundRect({0, 0, 31, 21}, 500, -500), Region::Ellipse({0, 0, 31, 21}));
  EXPECT_EQ(Region::RoundRect({0, 0, 31, 21}, 1, 10), Region(Rect{0, 0, 30, 20}));
  EXPECT_EQ(Region::RoundRect({0, 0, 31, 21}, 0, 0), Region(Rect{0, 0, 30, 20}));
  EXPECT_TRUE(Region::RoundRect({0, 0, 1, 1}, 4, 4).IsEmpty());

  const Region rr = Region::RoundRect({10, 20, 51, 41}, 12, 8);
  EXPECT_EQ(rr.Bounds(), (Rect{10, 20, 50, 40}));
  // The four corners are cut, the edges between them are straight.
  for (const Point p : {Point{10, 20}, Point{49, 20}, Point{10, 39}, Point{49, 39}}) EXPECT_FALSE(rr.Contains(p));
  for (int y = 24; y < 36; ++y) EXPECT_EQ(RowSpan(rr, y), (std::pair{10, 50})) << y;
  // The top corner rows are those of a 12 x 8 ellipse, stretched in the middle.
  const Region corner = Region::Ellipse({0, 0, 13, 9});
  for (int y = 0; y < 4; ++y) {
    const auto [el, er] = RowSpan(corner, y);
    EXPECT_EQ(RowSpan(rr, 20 + y), (std::pair{10 + el, 50 - (12 - er)})) << y;
    EXPECT_EQ(RowSpan(rr, 39 - y), RowSpan(rr, 20 + y)) << y;
  }
}

TEST(Region, PolygonFillRules) {
  // An axis-aligned polygon covers exactly the rectangle of its corners, whichever way round.
  const std::array<Point, 4> square = {Point{2, 3}, Point{12, 3}, Point{12, 9}, Point{2, 9}};
  EXPECT_EQ(Region::Polygon(square, FillMode::Alternate), Region(Rect{2, 3, 12, 9}));
  const std::array<Point, 4> squareCcw = {Point{2, 3}, Point{2, 9}, Point{12, 9}, Point{12, 3}};
  EXPECT_EQ(Region::Polygon(squareCcw, FillMode::Winding), Region(Rect{2, 3, 12, 9}));
  EXPECT_TRUE(Region::Polygon(std::span<const Point>(square.data(), 2), FillMode::Alternate).IsEmpty());
  const std::array<Point, 3> flat = {Point{0, 0}, Point{5, 0}, Point{9, 0}};
  EXPECT_TRUE(Region::Polygon(flat, FillMode::Winding).IsEmpty());

  // A triangle: pixel centres decide, checked against an independent point-in-triangle test.
  const std::array<Point, 3> tri = {Point{0, 0}, Point{20, 5}, Point{4, 17}};
  const Region t = Region::Polygon(tri, FillMode::Alternate);
  EXPECT_TRUE(IsCanonical(t));
  auto side = [](Point a, Point b, double x, double y) { return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x); };
  for (int y = -1; y < 19; ++y)
    for (int x = -1; x < 22; ++x) {
      const double cx = x + 0.5, cy = y + 0.5;
      const double s0 = side(tri[0], tri[1], cx, cy), s1 = side(tri[1], tri[2], cx, cy),
                   s2 = side(tri[2], tri[0], cx, cy);
      if (s0 == 0 || s1 == 0 || s2 == 0) continue;  // on an edge: either answer is a convention
      const bool inside = (s0 > 0 && s1 > 0 && s2 > 0) || (s0 < 0 && s1 < 0 && s2 < 0);
      EXPECT_EQ(t.Contains(x, y), inside) << x << "," << y;
    }

  // A pentagram: the inner pentagon is crossed twice, so alternate leaves it out and winding
  // fills it; the points of the star are in both.
  const std::array<Point, 5> star = {Point{50, 0}, Point{79, 90}, Point{2, 35}, Point{98, 35}, Point{21, 90}};
  const Region alt = Region::Polygon(star, FillMode::Alternate);
  const Region wind = Region::Polygon(star, FillMode::Winding);
  EXPECT_TRUE(IsCanonical(alt));
  EXPECT_TRUE(IsCanonical(wind));
  EXPECT_FALSE(alt.Contains(50, 50));
  EXPECT_TRUE(wind.Contains(50, 50));
  for (const Point tip : {Point{50, 5}, Point{10, 37}, Point{90, 37}, Point{25, 86}, Point{75, 86}}) {
    EXPECT_TRUE(alt.Contains(tip)) << tip.x << "," << tip.y;
    EXPECT_TRUE(wind.Contains(tip)) << tip.x << "," << tip.y;
  }
  EXPECT_EQ(alt.Subtract(wind), Region());  // winding covers everything alternate does
  const Region hole = wind.Subtract(alt);
  EXPECT_TRUE(hole.Bounds().Contains({50, 50}));
  EXPECT_LT(hole.Bounds().Width(), 50);
  EXPECT_EQ(alt.Bounds(), wind.Bounds());
  EXPECT_EQ(alt.Bounds(), (Rect{3, 2, 97, 90}));  // the sharp tips hold no pixel centre

  // Two overlapping squares drawn the same way round: winding merges, alternate cuts the overlap.
  const std::array<Point, 10> twoSquares = {Point{0, 0},   Point{10, 0},  Point{10, 10}, Point{0, 10}, Point{0, 0},
                                            Point{5, 5},   Point{15, 5},  Point{15, 15}, Point{5, 15}, Point{5, 5}};
  const Region a2 = Region::Polygon(twoSquares, FillMode::Alternate);
  const Region w2 = Region::Polygon(twoSquares, FillMode::Winding);
  EXPECT_EQ(w2, Region(Rect{0, 0, 10, 10}).Union(Region(Rect{5, 5, 15, 15})));
  EXPECT_EQ(a2, Region(Rect{0, 0, 10, 10}).Xor(Region(Rect{5, 5, 15, 15})));

  // Two parts joined by an edge there and back again: the join covers nothing.
  const std::array<Point, 8> apart = {Point{0, 0},    Point{4, 0},    Point{4, 4},    Point{0, 4},
                                      Point{0, 2000}, Point{4, 2000}, Point{4, 2004}, Point{0, 2004}};
  EXPECT_EQ(Region::Polygon(apart, FillMode::Alternate),
            Region(Rect{0, 0, 4, 4}).Union(Region(Rect{0, 2000, 4, 2004})));
  // Coordinates at the ends of the int range do not overflow.
  const int big = INT32_MAX, small = INT32_MIN;
  const std::array<Point, 3> edge = {Point{big - 4, big - 4}, Point{big, big - 4}, Point{big, big}};
  const Region corner = Region::Polygon(edge, FillMode::Winding);
  EXPECT_TRUE(IsCanonical(corner));
  EXPECT_EQ(corner.Bounds(), (Rect{big - 4, big - 4, big, big}));  // centres on the left edge count
  const std::array<Point, 3> wide = {Point{small, 0}, Point{big, 0}, Point{0, 3}};
  EXPECT_EQ(Region::Polygon(wide, FillMode::Alternate).Bounds().top, 0);
}
