#include <cmath>

#include <gtest/gtest.h>

#include "graphics/Contrast.h"
#include "graphics/EdgeFinder.h"

using namespace gfx;

TEST(Contrast, RatiosAndGradesMatchPublishedAndHandWorkedValues) {
  struct Case { TColor Fore, Back; double Ratio; bool AANormal, AALarge, AAANormal; };
  // #767676 on white is the lightest grey that passes AA for normal text (4.54:1); #777777 just
  // fails it (4.48:1). #336699: channels 0.2, 0.4, 0.6 linearise to 0.0331, 0.1329, 0.3185,
  // luminance 0.1251, so (1 + 0.05) / (0.1251 + 0.05) = 6.00.
  const Case cases[] = {
      {0x000000, 0xFFFFFF, 21.00, true, true, true},
      {0x767676, 0xFFFFFF, 4.54, true, true, false},
      {0x777777, 0xFFFFFF, 4.48, false, true, false},
      {0x996633, 0xFFFFFF, 6.00, true, true, false},
      {0xFFFFFF, 0x996633, 6.00, true, true, false},  // the order does not matter
      {0x808080, 0x808080, 1.00, false, false, false},
  };
  for (const Case& c : cases) {
    const double r = ContrastRatio(c.Fore, c.Back);
    EXPECT_NEAR(r, c.Ratio, 0.005) << std::hex << c.Fore << " on " << c.Back;
    const ContrastGrades g = GradeContrast(r);
    EXPECT_EQ(g.AANormal, c.AANormal) << std::hex << c.Fore;
    EXPECT_EQ(g.AALarge, c.AALarge) << std::hex << c.Fore;
    EXPECT_EQ(g.AAANormal, c.AAANormal) << std::hex << c.Fore;
  }
}

TEST(EdgeFinder, WalksToTheFirstStepAboveTheToleranceAcrossGradientsAndShadows) {
  // One row of 40 pixels: ground 200 (0-9), a gradient 100..108 in steps of 1 (10-18),
  // a shadow 180, 185, 190, 195 (19-22), ground 200 (23-29), a black box (30-39).
  Bitmap b(40, 1, 0);
  auto grey = [](int v) { return TColor(v) * 0x010101; };
  for (int x = 0; x < 10; ++x) b.At(x, 0) = grey(200);
  for (int x = 10; x < 19; ++x) b.At(x, 0) = grey(100 + x - 10);
  for (int x = 19; x < 23; ++x) b.At(x, 0) = grey(180 + 5 * (x - 19));
  for (int x = 23; x < 30; ++x) b.At(x, 0) = grey(200);
  struct Case { int Start, Step, Tolerance, Expected; };
  const Case cases[] = {
      {5, +1, 8, 4},     // stops before the drop to the gradient (200 -> 100)
      {5, -1, 8, 5},     // runs to the picture's border
      {12, +1, 8, 6},    // along the gradient, stops at 108 -> 180
      {12, -1, 8, 2},    // back to the gradient's first pixel
      {12, +1, 0, 0},    // with no tolerance a step of one is an edge
      {25, -1, 8, 6},    // across the soft shadow (steps of 5) to the gradient
      {25, -1, 4, 2},    // a tolerance under the shadow's steps stops in it
      {25, +1, 8, 4},    // the box
      {25, +1, 255, 14}, // nothing differs by more than everything
  };
  for (const Case& c : cases)
    EXPECT_EQ(EdgeDistance(b, {c.Start, 0}, {c.Step, 0}, c.Tolerance, 1000), c.Expected)
        << "from " << c.Start << " step " << c.Step << " tolerance " << c.Tolerance;
  EXPECT_EQ(EdgeDistance(b, {5, 0}, {-1, 0}, 8, 3), 3);  // the limit
  EXPECT_EQ(EdgeDistance(b, {50, 0}, {1, 0}, 8, 10), 0);  // a start outside the picture

  const Rect box = EdgeBox(b, {25, 0}, 8, 1000);
  EXPECT_EQ(box.left, 19);
  EXPECT_EQ(box.Width(), 11);
  EXPECT_EQ(box.Height(), 1);

  // Edges at 10 (200 -> 100), 19 (108 -> 180) and 30 (200 -> 0); from 27 within 3, 30 is
  // nearest; from 14 none lies within 3; from 24 within 5 only 19 (30 is 6 away).
  const TColor* row = b.Row(0);
  EXPECT_EQ(NearestEdge(row, 40, 27, 3, 8), std::optional<int>(30));
  EXPECT_EQ(NearestEdge(row, 40, 14, 3, 8), std::nullopt);
  EXPECT_EQ(NearestEdge(row, 40, 24, 5, 8), std::optional<int>(19));
  EXPECT_EQ(NearestEdge(row, 40, 2, 1, 8), std::nullopt);
}
