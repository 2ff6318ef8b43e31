// The monitors of an X screen as RandR tells them.
#include <gtest/gtest.h>

#include <sstream>

#include "X11Fixture.h"

namespace x11test {

class X11WideDesk : public X11Fixture {
 protected:
  gfx::Size ServerScreen() const override { return {3200, 1080}; }
};

TEST_F(X11WideDesk, MonitorsComeFromRandrPrimaryFirstAndFollowChanges) {
  ASSERT_EQ(Platform->Monitors().size(), 1u);  // the server's own, the whole screen
  // `xrandr --setmonitor` divides the screen: B, 1280 x 1024 at the right, named first; A,
  // 1920 x 1080 at the origin, taking over the server's output, made the primary ('*').
  for (const char* args : {"B 1280/340x1024/270+1920+0 none", "*A 1920/510x1080/290+0+0 screen"}) {
    std::istringstream in(args);
    std::vector<std::string> argv{"xrandr", "--setmonitor"};
    for (std::string word; in >> word;) argv.push_back(word);
    ASSERT_EQ(PumpUntilExit(*Platform, Server->Spawn(argv), 10000), 0) << args;
  }
  const std::vector<plat::Monitor> desk = {{gfx::Rect{0, 0, 1920, 1080}, 510, 290, true},
                                           {gfx::Rect{1920, 0, 3200, 1024}, 340, 270, false}};
  EXPECT_TRUE(PumpUntil(*Platform, [&] { return Platform->Monitors() == desk; }))
      << Platform->Monitors().size() << " monitors";
  EXPECT_EQ(Platform->ScreenSize(), (gfx::Size{3200, 1080}));  // the whole root window
}

}  // namespace x11test
