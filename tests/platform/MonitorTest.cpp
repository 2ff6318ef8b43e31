// Which monitor a window or the pointer belongs to, on a desk of two monitors of different
// sizes: A 1920 x 1080 at the origin (primary), B 1280 x 1024 to its right, tops aligned, so
// the strip below B from y 1024 to 1080 is dead area.
#include <gtest/gtest.h>

#include "platform/Monitor.h"

using gfx::Point;
using gfx::Rect;
using plat::Monitor;

TEST(Monitors, ARectangleBelongsWhereMostOfItLiesAndThePointerWhereItIsOrNearest) {
  const std::vector<Monitor> desk = {{Rect{0, 0, 1920, 1080}, 510, 290, true},
                                     {Rect{1920, 0, 3200, 1024}, 340, 270, false}};
  const Monitor* a = &desk[0];
  const Monitor* b = &desk[1];
  struct Case {
    Rect r;
    const Monitor* expect;
  } rects[] = {
      {{1900, 100, 2000, 150}, b},     // 20 x 50 on A, 80 x 50 on B
      {{1870, 100, 1970, 150}, a},     // 50 on each: the first of equals
      {{2000, 1030, 2100, 1060}, b},   // all in the dead area: 7 rows below B, 81 columns past A
      {{-500, -500, -400, -450}, a},   // off the desk, nearest to A
      {{5000, 0, 5100, 10}, b},
  };
  for (const Case& c : rects) EXPECT_EQ(plat::MonitorForRect(desk, c.r), c.expect) << c.r.left << "," << c.r.top;
  struct PointCase {
    Point p;
    const Monitor* expect;
  } points[] = {{{1919, 500}, a}, {{1920, 500}, b}, {{1919, 1079}, a}, {{2500, 1023}, b}, {{2500, 1070}, b},
                {{1925, 1079}, a}};  // 6 columns past A, 56 rows below B
  for (const PointCase& c : points)
    EXPECT_EQ(plat::MonitorForPoint(desk, c.p), c.expect) << c.p.x << "," << c.p.y;
  EXPECT_EQ(plat::MonitorForPoint({}, Point{0, 0}), nullptr);
}
