#include "graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace gfx;

TEST(Bitmap, ConstructionFillAndCheckedAccess) {
  Bitmap b(3, 2, 0xFF123456);
  EXPECT_EQ(b.Width(), 3);
  EXPECT_EQ(b.Height(), 2);
  EXPECT_FALSE(b.IsEmpty());
  EXPECT_EQ(b.Bounds(), (Rect{0, 0, 3, 2}));
  // The top byte is never kept, so pixels read back as the colour that was drawn.
  EXPECT_EQ(b.Get(2, 1), 0x123456u);
  b.Set(1, 0, 0xAB00FF00);
  EXPECT_EQ(b.Get(1, 0), 0x00FF00u);
  b.Fill(0x80FFFFFF);
  for (TColor c : b.Pixels()) EXPECT_EQ(c, 0xFFFFFFu);

  // Checked access outside: reads answer CLR_INVALID, writes are ignored.
  for (const Point p : {Point{-1, 0}, Point{0, -1}, Point{3, 0}, Point{0, 2}}) {
    EXPECT_EQ(b.Get(p.x, p.y), CLR_INVALID);
    b.Set(p.x, p.y, 0);
  }
  for (TColor c : b.Pixels()) EXPECT_EQ(c, 0xFFFFFFu);

  // Empty sizes are fine; negative ones are refused.
  EXPECT_TRUE(Bitmap(0, 0).IsEmpty());
  EXPECT_TRUE(Bitmap(5, 0).IsEmpty());
  EXPECT_TRUE(Bitmap().Pixels().empty());
  EXPECT_THROW(Bitmap(-1, 4), std::invalid_argument);
  EXPECT_THROW(Bitmap(4, -1), std::invalid_argument);
  EXPECT_THROW(b.Resize(-2, 2), std::invalid_argument);
  EXPECT_EQ(b.Width(), 3);  // a refused resize leaves the bitmap alone
}

TEST(Bitmap, ResizeKeepsOverlapAndFillsTheRest) {
  Bitmap b(3, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) b.Set(x, y, RGB(x, y, 7));
  b.Resize(5, 2, clRed);
  ASSERT_EQ(b.Pixels().size(), 10u);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(b.Get(x, y), x < 3 ? RGB(x, y, 7) : clRed) << x << "," << y;
  b.Resize(2, 4, clBlue);
  EXPECT_EQ(b.Get(1, 1), RGB(1, 1, 7));
  EXPECT_EQ(b.Get(0, 2), clBlue);
  EXPECT_EQ(b.Get(1, 3), clBlue);
  b.Resize(0, 4);
  EXPECT_TRUE(b.IsEmpty());
  b.Resize(2, 2, clLime);
  EXPECT_EQ(b.Get(1, 1), clLime);
}

TEST(Bitmap, CopyReadsBlackOutside) {
  Bitmap b(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) b.Set(x, y, RGB(10 + x, 20 + y, 30));
  const Bitmap inner = b.Copy({1, 1, 3, 3});
  ASSERT_EQ(inner.Width(), 2);
  ASSERT_EQ(inner.Height(), 2);
  EXPECT_EQ(inner.Get(0, 0), RGB(11, 21, 30));
  EXPECT_EQ(inner.Get(1, 1), RGB(12, 22, 30));

  const Bitmap over = b.Copy({-2, -1, 3, 2});
  ASSERT_EQ(over.Width(), 5);
  ASSERT_EQ(over.Height(), 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      const int sx = x - 2, sy = y - 1;
      const TColor want = (sx >= 0 && sy >= 0) ? RGB(10 + sx, 20 + sy, 30) : clBlack;
      EXPECT_EQ(over.Get(x, y), want) << x << "," << y;
    }
  const Bitmap away = b.Copy({100, 100, 102, 101});
  EXPECT_EQ(away, Bitmap(2, 1, clBlack));
  EXPECT_TRUE(b.Copy({3, 3, 1, 1}).IsEmpty());  // an inverted rectangle copies nothing
  EXPECT_EQ(b.Copy(b.Bounds()), b);
}
