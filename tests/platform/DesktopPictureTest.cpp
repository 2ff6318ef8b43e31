// A screenshot laid over the desktop's own pixels, whatever its size.
#include <gtest/gtest.h>

#include "platform/Platform.h"

TEST(DesktopPicture, EachDesktopPixelTakesThePicturePixelNearestItsCentre) {
  // 3 x 1 onto 2 x 1: the centres at 1/4 and 3/4 of the width fall on picture columns
  // 0.75 -> 0 and 2.25 -> 2.
  gfx::Bitmap row(3, 1);
  for (int x = 0; x < 3; ++x) row.At(x, 0) = gfx::TColor(10 + x);
  gfx::Bitmap small = plat::MapToDesktop(row, {2, 1});
  ASSERT_EQ(small.Width(), 2);
  ASSERT_EQ(small.Height(), 1);
  EXPECT_EQ(small.At(0, 0), 10u);
  EXPECT_EQ(small.At(1, 0), 12u);
  // 4 x 2 (a monitor at scale 2) onto 2 x 1: centres at picture x 1, 3 and y 1.
  gfx::Bitmap big(4, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) big.At(x, y) = gfx::TColor(10 * y + x);
  gfx::Bitmap half = plat::MapToDesktop(big, {2, 1});
  ASSERT_EQ(half.Width(), 2);
  ASSERT_EQ(half.Height(), 1);
  EXPECT_EQ(half.At(0, 0), 11u);
  EXPECT_EQ(half.At(1, 0), 13u);
  // 2 x 2 onto 4 x 4: desktop columns 0, 1 take picture column 0 and 2, 3 column 1.
  gfx::Bitmap quad = plat::MapToDesktop(half, {4, 4});
  ASSERT_EQ(quad.Width(), 4);
  ASSERT_EQ(quad.Height(), 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(quad.At(x, y), x < 2 ? 11u : 13u) << x << "," << y;
  // No picture: a black desktop of the right size.
  gfx::Bitmap none = plat::MapToDesktop(gfx::Bitmap(), {3, 2});
  ASSERT_EQ(none.Width(), 3);
  ASSERT_EQ(none.Height(), 2);
  EXPECT_EQ(none.At(2, 1), 0u);
}
