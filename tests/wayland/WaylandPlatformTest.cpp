// The backend's own view of a headless sway, checked against the compositor's tools.
#include "WaylandProgramFixture.h"
#include "platform/wayland/WaylandPlatform.h"

using namespace wltest;
using gfx::Rect;

TEST_F(WaylandProgram, ScreenPixelsAsGrimReadsThemAndMonitorsAsOutputsComeAndGo) {
  WriteSettings("[Application]\nLeft=100\nTop=120\nLength=500\nMouseLoupe=0");
  StartProgram();
  MoveTo(350, 150);
  ASSERT_TRUE(PollUntil([&] { return Capture(Rect::FromXYWH(100, 120, 1, 1)).At(0, 0) != 0x403020; })) << ProgramOutput();
  std::string why;
  auto wl = plat::WaylandPlatform::Open(Server->Socket().c_str(), why);
  ASSERT_NE(wl, nullptr) << why;
  // The strip's corner with the background around it; a part beyond the screen reads black.
  const Rect r = Rect::FromXYWH(90, 110, 60, 40);
  EXPECT_EQ(Difference(wl->CaptureScreen(r), Capture(r)), "");
  const gfx::Bitmap edge = wl->CaptureScreen(Rect::FromXYWH(1014, 758, 20, 20));
  ASSERT_EQ(edge.Width(), 20);
  ASSERT_EQ(edge.Height(), 20);
  EXPECT_EQ(edge.At(9, 9), 0x403020u);  // the background colour of the fixture's sway
  EXPECT_EQ(edge.At(10, 9), 0u);
  EXPECT_EQ(edge.At(9, 10), 0u);

  ASSERT_EQ(wl->Monitors().size(), 1u);
  EXPECT_EQ(wl->Monitors()[0].Bounds, Rect::FromXYWH(0, 0, 1024, 768));
  // A second output to the right, plugged in while the program runs.
  ASSERT_EQ(Server->Command("create_output"), 0);
  ASSERT_EQ(Server->Command("output HEADLESS-2 resolution 800x600 position 1024 0"), 0);
  EXPECT_TRUE(PollUntil([&] {
    wl->ProcessEvents(false);
    const auto m = wl->Monitors();
    return m.size() == 2 && m[1].Bounds == Rect::FromXYWH(1024, 0, 800, 600);
  })) << wl->Monitors().size();
  EXPECT_EQ(wl->ScreenSize(), (gfx::Size{1824, 768}));
}
