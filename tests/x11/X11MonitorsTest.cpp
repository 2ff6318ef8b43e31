// The monitors of an X screen as RandR tells them: a 3200 x 1080 screen that `xrandr
// --setmonitor` divides into A, 1920 x 1080 at the origin, and B, 1280 x 1024 to its right.
#include <gtest/gtest.h>

#include "X11Fixture.h"

using gfx::Rect;
using plat::Monitor;

namespace x11test {

class X11WideDesk : public X11Fixture {
 protected:
  gfx::Size ServerScreen() const override { return {3200, 1080}; }
  void Xrandr(std::vector<std::string> args) {
    args.insert(args.begin(), "xrandr");
    ASSERT_EQ(PumpUntilExit(*Platform, Server->Spawn(args), 10000), 0) << "xrandr " << args[1] << " " << args[2];
  }
};

TEST_F(X11WideDesk, MonitorsComeFromRandrPrimaryFirstAndFollowChanges) {
  // Before: the server's one monitor over the whole screen, which is the primary.
  const std::vector<Monitor> before = Platform->Monitors();
  ASSERT_EQ(before.size(), 1u);
  EXPECT_EQ(before[0].Bounds, (Rect{0, 0, 3200, 1080}));
  EXPECT_TRUE(before[0].Primary);

  // B is named first; A takes over the server's output and is made the primary ('*').
  Xrandr({"--setmonitor", "B", "1280/340x1024/270+1920+0", "none"});
  Xrandr({"--setmonitor", "*A", "1920/510x1080/290+0+0", "screen"});
  const std::vector<Monitor> desk = {{Rect{0, 0, 1920, 1080}, 510, 290, true},
                                     {Rect{1920, 0, 3200, 1024}, 340, 270, false}};
  EXPECT_TRUE(PumpUntil(*Platform, [&] { return Platform->Monitors() == desk; }))
      << Platform->Monitors().size() << " monitors";
  // The screen is the whole root window, both monitors.
  EXPECT_EQ(Platform->ScreenSize(), (gfx::Size{3200, 1080}));

  // B gives way to C in its place, the new primary, which comes first.
  Xrandr({"--delmonitor", "B"});
  Xrandr({"--setmonitor", "*C", "1280/340x1024/270+1920+0", "none"});
  const std::vector<Monitor> swapped = {{Rect{1920, 0, 3200, 1024}, 340, 270, true},
                                        {Rect{0, 0, 1920, 1080}, 510, 290, false}};
  EXPECT_TRUE(PumpUntil(*Platform, [&] { return Platform->Monitors() == swapped; }));
}

}  // namespace x11test
