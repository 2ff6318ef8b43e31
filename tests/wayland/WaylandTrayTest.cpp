// The tray icon under Wayland, where no XEmbed tray exists: a StatusNotifierItem on the session
// bus, as panels such as waybar and KDE Plasma's show it.
#ifdef VANTREL_HAVE_SNI
#include "WaylandProgramFixture.h"
#include "tests/x11/PrivateSessionBus.h"
#include "tests/x11/StandInWatcher.h"

using namespace wltest;
using x11test::kItemInterface;

TEST_F(WaylandProgram, MinimizedTheIconIsAStatusNotifierItemAndActivateBringsTheStripBack) {
  // The strip at (100, 120); its minimise button 23 right and 8 below its corner. Minimised,
  // the strip's place shows the plain background (0x403020); activated, the strip again, as on
  // the virtual desktop.
  x11test::PrivateSessionBus bus;  // the program started below inherits its address
  ASSERT_NE(bus.Address(), "");
  x11test::StandInWatcher watcher(bus.Address());
  ASSERT_TRUE(watcher.Ok);
  const char* settings = "[Application]\nLeft=100\nTop=120\nLength=500\nMouseLoupe=0";
  const gfx::Rect strip = gfx::Rect::FromXYWH(100, 120, 500, 58);
  WriteSettings(settings);
  StartProgram();
  const gfx::Bitmap look = ShotVirtual(settings, "mouse 400 128\nwait 55\n", strip);
  MoveTo(400, 128);
  ASSERT_TRUE(WaitForPixels(strip, look)) << ProgramOutput();
  Click(123, 128);
  ASSERT_TRUE(PollUntil([&] {
    watcher.Pump();
    return !watcher.Items.empty();
  }, 10000)) << "no item registered " << ProgramOutput();
  EXPECT_TRUE(WaitForPixels(strip, gfx::Bitmap(strip.Width(), strip.Height(), 0x403020))) << "the strip stayed";
  EXPECT_EQ(watcher.Text(watcher.Items[0], "Title"), "Vantrel");
  ASSERT_GE(sd_bus_call_method(watcher.Bus, watcher.Items[0].c_str(), "/StatusNotifierItem", kItemInterface, "Activate",
                               nullptr, nullptr, "ii", 0, 0), 0);
  MoveTo(400, 128);
  EXPECT_TRUE(WaitForPixels(strip, look, 10000)) << Difference(Capture(strip), look);
}
#endif
