// The tray icon as a StatusNotifierItem: the program minimised on a private session bus where a
// stand-in StatusNotifierWatcher records what registers, and reads and clicks the item.
#ifdef VANTREL_HAVE_SNI
#include <systemd/sd-bus.h>

#include "PrivateSessionBus.h"
#include "ProgramFixture.h"
#include "StandInWatcher.h"
#include "toolkit/core/ResourceLoader.h"

using namespace x11test;

namespace {

struct ItemPixmap {
  int Width = 0, Height = 0;
  std::vector<std::uint8_t> Argb;
};

std::vector<ItemPixmap> IconPixmaps(sd_bus* bus, const std::string& service) {
  std::vector<ItemPixmap> out;
  sd_bus_error e = SD_BUS_ERROR_NULL;
  sd_bus_message* reply = nullptr;
  if (sd_bus_get_property(bus, service.c_str(), "/StatusNotifierItem", kItemInterface, "IconPixmap", &e, &reply, "a(iiay)") >= 0 &&
      sd_bus_message_enter_container(reply, 'a', "(iiay)") >= 0) {
    while (sd_bus_message_enter_container(reply, 'r', "iiay") > 0) {
      ItemPixmap p;
      const void* data = nullptr;
      std::size_t size = 0;
      if (sd_bus_message_read(reply, "ii", &p.Width, &p.Height) < 0 || sd_bus_message_read_array(reply, 'y', &data, &size) < 0) break;
      p.Argb.assign(static_cast<const std::uint8_t*>(data), static_cast<const std::uint8_t*>(data) + size);
      out.push_back(p);
      sd_bus_message_exit_container(reply);
    }
  }
  sd_bus_message_unref(reply);
  sd_bus_error_free(&e);
  return out;
}

}  // namespace

TEST_F(X11Program, MinimizedTheIconIsAStatusNotifierItemThatSurvivesAWatcherRestartAndActivateRestores) {
  PrivateSessionBus bus;
  ASSERT_NE(bus.Address(), "");
  WriteSettings("[Application]\nLeft=100\nTop=100\nLength=500\nMouseLoupe=0");
  StartProgram();
  const ::Window strip = WaitForStrip();
  ASSERT_NE(strip, None) << ProgramOutput();
  const gfx::Rect bounds = Geometry(strip);

  // The watcher comes after the program: minimising still finds it.
  auto watcher = std::make_unique<StandInWatcher>(bus.Address());
  ASSERT_TRUE(watcher->Ok);
  ASSERT_EQ(Xdotool({"mousemove", "123", "108", "click", "1"}), 0);  // the strip's minimise button
  ASSERT_TRUE(PollUntil([&] { watcher->Pump(); return !watcher->Items.empty(); }, 10000)) << ProgramOutput();
  const std::string service = watcher->Items[0];
  EXPECT_TRUE(PollUntil([&] { return ShownWindows().empty(); })) << "the strip stayed";

  EXPECT_EQ(watcher->Text(service, "Category"), "ApplicationStatus");
  EXPECT_EQ(watcher->Text(service, "Status"), "Active");
  EXPECT_EQ(watcher->Text(service, "Title"), "Vantrel");
  EXPECT_EQ(watcher->Text(service, "Id"), "vantrel");
  // The XEmbed icon's 16 x 16 picture in whole pixels, centred, the rest transparent: at 16 and
  // 32 it fills the square (scale 1 and 2); at 22 and 24 it stands at scale 1, (22 - 16) / 2 = 3
  // and (24 - 16) / 2 = 4 pixels in from each edge.
  const gfx::Bitmap picture = LoadBitmapResource("ICONVANTREL");
  ASSERT_EQ(picture.Width(), 16);
  ASSERT_EQ(picture.Height(), 16);
  struct Expected {
    int Size, Scale, Offset;
  } const expected[] = {{16, 1, 0}, {22, 1, 3}, {24, 1, 4}, {32, 2, 0}};
  const std::vector<ItemPixmap> pixmaps = IconPixmaps(watcher->Bus, service);
  ASSERT_EQ(pixmaps.size(), std::size(expected));
  for (std::size_t i = 0; i < pixmaps.size(); ++i) {
    const Expected& x = expected[i];
    const ItemPixmap& p = pixmaps[i];
    ASSERT_EQ(p.Width, x.Size);
    ASSERT_EQ(p.Height, x.Size);
    ASSERT_EQ(p.Argb.size(), std::size_t(x.Size * x.Size * 4));
    int wrong = 0;
    for (int y = 0; y < x.Size; ++y)
      for (int xx = 0; xx < x.Size; ++xx) {
        const std::uint8_t* px = &p.Argb[std::size_t(y * x.Size + xx) * 4];
        const int ix = (xx - x.Offset) / x.Scale, iy = (y - x.Offset) / x.Scale;
        const bool inside = xx >= x.Offset && y >= x.Offset && ix < 16 && iy < 16;
        if (!inside) {
          wrong += px[0] != 0;
          continue;
        }
        const gfx::TColor c = picture.At(ix, iy);  // 0x00BBGGRR; the pixmap holds A, R, G, B
        wrong += px[0] != 0xFF || px[1] != (c & 0xFF) || px[2] != (c >> 8 & 0xFF) || px[3] != (c >> 16 & 0xFF);
      }
    EXPECT_EQ(wrong, 0) << "pixmap " << x.Size;
  }

  // The panel restarts: the new watcher gets the same item.
  watcher.reset();
  watcher = std::make_unique<StandInWatcher>(bus.Address());
  ASSERT_TRUE(watcher->Ok);
  ASSERT_TRUE(PollUntil([&] { watcher->Pump(); return !watcher->Items.empty(); }, 10000)) << ProgramOutput();
  EXPECT_EQ(watcher->Items[0], service);

  // A left click on the item brings the strip back where it was, and the item goes.
  ASSERT_GE(sd_bus_call_method(watcher->Bus, service.c_str(), "/StatusNotifierItem", kItemInterface, "Activate", nullptr,
                               nullptr, "ii", 0, 0), 0);
  ASSERT_TRUE(PollUntil([&] { return ShownWindows().size() == 1; }, 10000)) << ProgramOutput();
  EXPECT_EQ(ShownWindows()[0].Bounds, bounds);
  EXPECT_TRUE(PollUntil([&] { return !HasOwner(watcher->Bus, service); }));
  // The item went away inside its own click: the program is sound and ends normally.
  ASSERT_EQ(Xdotool({"mousemove", "106", "108", "click", "1"}), 0);  // the close button
  EXPECT_EQ(WaitExit(), 0) << ProgramOutput();
}
#endif
