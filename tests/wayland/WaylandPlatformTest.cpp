// The backend's own view of a headless sway, checked against the compositor's tools.
#include "WaylandProgramFixture.h"
#include "graphics/ImageFile.h"
#include "platform/wayland/WaylandPlatform.h"

#include <atomic>
#include <thread>

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

namespace {
struct Presses : plat::WindowListener {
  std::vector<gfx::Point> At;  // screen positions of left presses
  void OnMouseDown(const plat::MouseEvent& m) override { At.push_back(m.ScreenPos); }
};

std::unique_ptr<plat::NativeWindow> Painted(plat::Platform& p, Rect bounds, plat::WindowRole role, gfx::TColor color,
                                            plat::WindowListener* listener) {
  plat::WindowParams params;
  params.Bounds = bounds;
  params.Role = role;
  params.Kind = role == plat::WindowRole::Utility ? plat::WindowKind::Normal : plat::WindowKind::Popup;
  auto w = p.CreateWindow(params, listener);
  w->BackBuffer().Fill(color);
  w->Show(false);
  return w;
}
}  // namespace

TEST_F(WaylandProgram, AWindowWithARegionShowsAndTakesClicksOnlyInsideIt) {
  std::string why;
  auto wl = plat::WaylandPlatform::Open(Server->Socket().c_str(), why);
  ASSERT_NE(wl, nullptr) << why;
  // A tool window (as the strip) and a disc over it (as the loupe), shown after it.
  Presses below, disc;
  auto under = Painted(*wl, Rect::FromXYWH(200, 100, 300, 200), plat::WindowRole::Utility, 0x0000FF, &below);
  auto over = Painted(*wl, Rect::FromXYWH(250, 150, 100, 100), plat::WindowRole::Tooltip, 0x00FF00, &disc);
  over->SetRegion(gfx::Region::Ellipse(Rect{0, 0, 100, 100}));
  over->Present(Rect{0, 0, 100, 100});
  // The disc's green in its middle, the tool window's red in the corner outside the disc
  // (colours are 0xBBGGRR), the background outside both.
  const Rect probe = Rect::FromXYWH(199, 99, 152, 102);
  auto looks = [&] {
    wl->ProcessEvents(false);
    const gfx::Bitmap b = Capture(probe);
    return b.At(300 - 199, 200 - 99) == 0x00FF00u && b.At(252 - 199, 152 - 99) == 0x0000FFu &&
           b.At(0, 0) == 0x403020u && b.At(1, 1) == 0x0000FFu;
  };
  ASSERT_TRUE(PollUntil(looks)) << "the disc is not drawn over the window below, cut to its region";
  // Clicks: in the corner outside the disc to the window below, in the disc to the disc.
  for (gfx::Point p : {gfx::Point{252, 152}, gfx::Point{300, 200}, gfx::Point{347, 247}}) Click(p.x, p.y);
  EXPECT_TRUE(PollUntil([&] {
    wl->ProcessEvents(false);
    return below.At.size() == 2 && disc.At.size() == 1;
  })) << below.At.size() << " below, " << disc.At.size() << " on the disc";
  ASSERT_EQ(below.At.size(), 2u);
  ASSERT_EQ(disc.At.size(), 1u);
  EXPECT_EQ(below.At[0], (gfx::Point{252, 152}));
  EXPECT_EQ(below.At[1], (gfx::Point{347, 247}));
  EXPECT_EQ(disc.At[0], (gfx::Point{300, 200}));
}

TEST_F(WaylandProgram, MeasureAnywhereReadsThePointerOverAnotherClientsWindowUntilAClick) {
  // Another client's ordinary window, tiled over the whole output by sway.
  std::string why;
  auto other = plat::WaylandPlatform::Open(Server->Socket().c_str(), why);
  ASSERT_NE(other, nullptr) << why;
  Presses presses;
  auto window = Painted(*other, Rect::FromXYWH(0, 0, 1024, 768), plat::WindowRole::Dialog, 0x00FFFF, &presses);
  ASSERT_TRUE(PollUntil([&] {
    other->ProcessEvents(false);
    return Capture(Rect::FromXYWH(700, 500, 1, 1)).At(0, 0) == 0x00FFFFu;
  })) << "the other window is not shown";

  const char* settings = "[Application]\nLeft=100\nTop=120\nLength=500\nMouseLoupe=0";
  const Rect strip = Rect::FromXYWH(100, 120, 500, 58);
  WriteSettings(settings);
  StartProgram();
  Click(400, 128);  // the strip takes the keyboard
  const std::string clicked = "mouse 400 128\nclick left\nwait 55\n";
  ASSERT_TRUE(WaitForPixels(strip, ShotVirtual(settings, clicked, strip))) << ProgramOutput();
  Type({"m"});
  // Over the other window the strip reads the pointer (600), as it does everywhere on the
  // virtual desktop.
  MoveTo(700, 500);
  const gfx::Bitmap reading = ShotVirtual(settings, clicked + "mouse 700 500\nwait 55\n", strip);
  EXPECT_TRUE(WaitForPixels(strip, reading)) << Difference(Capture(strip), reading);
  EXPECT_TRUE(presses.At.empty()) << "the other window got the pointer while measuring";
  // A click ends it, and the reading stays though the pointer moves on before the program has
  // taken its catcher away (the move still reaches the catcher); the next click reaches the
  // other window.
  ClickAndMoveOn(700, 500, 750, 550);
  Click(800, 600);
  EXPECT_TRUE(PollUntil([&] {
    other->ProcessEvents(false);
    return presses.At.size() == 1;
  })) << "measuring did not end at the click";
  EXPECT_TRUE(WaitForPixels(strip, reading)) << Difference(Capture(strip), reading);
}

TEST_F(WaylandProgram, APictureOnTheClipboardPastesAsThePngOfItsPixels) {
  std::string why;
  auto wl = plat::WaylandPlatform::Open(Server->Socket().c_str(), why);
  ASSERT_NE(wl, nullptr) << why;
  gfx::Bitmap picture(3, 2);
  const gfx::TColor colours[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0xFFFFFF, 0x000000};
  for (int i = 0; i < 6; ++i) picture.At(i % 3, i / 3) = colours[i];
  wl->SetClipboardBitmap(picture);
  // The program serves the paste from its loop, while wl-paste reads.
  std::atomic<bool> done{false};
  std::thread loop([&] {
    while (!done) wl->ProcessEvents(false);
  });
  std::string png;
  const int status = Server->Run({"wl-paste", "--type", "image/png"}, &png);
  done = true;
  loop.join();
  ASSERT_EQ(status, 0);
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(png.data()), png.size());
  EXPECT_EQ(gfx::ReadPng(bytes), picture);
}

TEST_F(WaylandProgram, FrozenTheLoupeStillShowsAWindowThatIsGoneAndTheStripStaysAbove) {
  // Another client's small yellow window at (650, 450), 100 x 70, around the pointer's place
  // (700, 500). Frozen with F (the frame lies orange at the output's corner), the picture keeps
  // it after it is gone: at (660, 460), clear of the cursor, and in the loupe placed at
  // (700, 505): its pixel (720, 530), inside the disc and clear of the cross, enlarges the
  // picture's (675 + 20 / 2, 475 + 25 / 2) = (685, 487), inside the window, while the screen
  // beneath that pixel lies outside it. The strip stays above the picture. Thawed, neither shows
  // the window.
  std::string why;
  auto other = plat::WaylandPlatform::Open(Server->Socket().c_str(), why);
  ASSERT_NE(other, nullptr) << why;
  auto window = Painted(*other, Rect::FromXYWH(650, 450, 100, 70), plat::WindowRole::Tooltip, 0x00FFFF, nullptr);
  ASSERT_TRUE(PollUntil([&] {
    other->ProcessEvents(false);
    return Capture(Rect::FromXYWH(700, 500, 1, 1)).At(0, 0) == 0x00FFFFu;
  })) << "the other window is not shown";
  const char* settings = kClickedStrip;
  const Rect strip = Rect::FromXYWH(100, 120, 500, 58);
  const gfx::Point inLoupe{720, 530};
  auto at = [&](gfx::Point p) { return Capture(Rect::FromXYWH(p.x, p.y, 1, 1)).At(0, 0); };
  const std::string clicked = "mouse 400 128\nclick left\nwait 55\n";
  // Left of the loupe the strip reads as on the virtual desktop.
  const Rect left = Rect::FromXYWH(100, 120, 300, 58);
  ASSERT_TRUE(StartClickedStrip());
  ASSERT_TRUE(WaitForPixels(left, ShotVirtual(settings, clicked, left))) << ProgramOutput();
  Type({"f"});
  ASSERT_TRUE(PollUntil([&] { return at({0, 0}) == 0x0080FFu; })) << "no frozen frame " << ProgramOutput();
  window.reset();
  other->ProcessEvents(false);
  other.reset();
  MoveTo(700, 500);
  EXPECT_TRUE(PollUntil([&] { return at(inLoupe) == 0x00FFFFu; })) << "the loupe does not show the frozen window";
  EXPECT_EQ(at({660, 460}), 0x00FFFFu) << "the picture does not cover the screen";
  // The strip above the picture reads the pointer there (600), as on the virtual desktop.
  const gfx::Bitmap look = ShotVirtual(settings, clicked + "mouse 700 500\nwait 55\n", strip);
  EXPECT_TRUE(WaitForPixels(strip, look)) << Difference(Capture(strip), look);
  Type({"f"});
  EXPECT_TRUE(PollUntil([&] { return at(inLoupe) != 0x00FFFFu && at({660, 460}) != 0x00FFFFu; }))
      << "thawed, the window that is gone still shows";
}

TEST_F(WaylandProgram, MeasuringAnywhereTheLoupeShowsAnotherClientsPixelsEnlarged) {
  // Another client's ordinary window, which sway tiles over the output, black with a yellow
  // patch at (650, 450), 100 x 70. The loupe, shown by the click on the caption strip, follows
  // the pointer over it only while measuring anywhere; at (700, 500) the loupe lies at
  // (700, 505), and its pixel (720, 530) enlarges the window's (685, 487), in the patch, while
  // the window beneath that pixel is black.
  std::string why;
  auto other = plat::WaylandPlatform::Open(Server->Socket().c_str(), why);
  ASSERT_NE(other, nullptr) << why;
  auto window = Painted(*other, Rect::FromXYWH(0, 0, 1024, 768), plat::WindowRole::Dialog, 0x000000, nullptr);
  gfx::Bitmap& pixels = window->BackBuffer();
  for (int y = 450; y < 520; ++y)
    for (int x = 650; x < 750; ++x) pixels.At(x, y) = 0x00FFFF;
  window->Present(Rect::FromXYWH(650, 450, 100, 70));
  auto at = [&](gfx::Point p) { return Capture(Rect::FromXYWH(p.x, p.y, 1, 1)).At(0, 0); };
  ASSERT_TRUE(PollUntil([&] {
    other->ProcessEvents(false);
    return at({700, 500}) == 0x00FFFFu;
  })) << "the other window is not shown";
  const Rect left = Rect::FromXYWH(100, 120, 300, 58);
  ASSERT_TRUE(StartClickedStrip());
  ASSERT_TRUE(WaitForPixels(left, ShotVirtual(kClickedStrip, "mouse 400 128\nclick left\nwait 55\n", left))) << ProgramOutput();
  Type({"m"});
  MoveTo(700, 500);
  EXPECT_TRUE(PollUntil([&] {
    other->ProcessEvents(false);
    return at({720, 530}) == 0x00FFFFu;
  })) << "the loupe does not show the other window enlarged";
}

TEST_F(WaylandProgram, WithoutDataControlTheDataDeviceCopiesTextAfterAClick) {
  // The core protocol's clipboard, as on a compositor without data-control: the selection is
  // taken with the serial of the click on our window, and wl-paste reads the text.
  std::string why;
  auto wl = plat::WaylandPlatform::Open(Server->Socket().c_str(), why);
  ASSERT_NE(wl, nullptr) << why;
  wl->UseDataDeviceClipboard();
  Presses presses;
  auto window = Painted(*wl, Rect::FromXYWH(200, 100, 300, 200), plat::WindowRole::Utility, 0x0000FF, &presses);
  ASSERT_TRUE(PollUntil([&] {
    wl->ProcessEvents(false);
    return Capture(Rect::FromXYWH(300, 200, 1, 1)).At(0, 0) == 0x0000FFu;
  })) << "the window is not shown";
  Click(300, 200);
  ASSERT_TRUE(PollUntil([&] {
    wl->ProcessEvents(false);
    return !presses.At.empty();
  })) << "the click did not come";
  wl->SetClipboardText("137 x 41");
  std::atomic<bool> done{false};
  std::thread loop([&] {
    while (!done) wl->ProcessEvents(false);
  });
  std::string text;
  const int status = Server->Run({"wl-paste", "--no-newline"}, &text);
  done = true;
  loop.join();
  EXPECT_EQ(status, 0);
  EXPECT_EQ(text, "137 x 41");
}

TEST_F(WaylandProgram, TheLensEnlargesTheScreenAndLetsClicksThroughOutsideItsDisc) {
  // Below everything, another client's window whose every pixel is its own (x, y), so that a
  // picture one pixel off cannot match. The strip at (100, 200); the pointer at (601, 240) on
  // its ruler puts the lens at (561, 210) and makes it take 100 x 100 from (601 - 12 - 50,
  // 240 - 50) = (539, 190) at factor 2: lens pixel (i, j) shows screen (539 + i / 2, 190 + j / 2).
  // Checked inside radius 65 of the disc's centre (124.5, 124), off the marker line and its
  // arrowhead (columns 115 .. 134), against grim's picture of the screen there; screen pixels
  // under the disc itself (screen radius 78 of (685.5, 334)) and around the pointer are left
  // out, as the lens shows itself and grim shows the cursor.
  std::string why;
  auto other = plat::WaylandPlatform::Open(Server->Socket().c_str(), why);
  ASSERT_NE(other, nullptr) << why;
  Presses presses;
  auto window = Painted(*other, Rect::FromXYWH(0, 0, 1024, 768), plat::WindowRole::Dialog, 0, &presses);
  gfx::Bitmap& pixels = window->BackBuffer();
  for (int y = 0; y < 768; ++y)
    for (int x = 0; x < 1024; ++x) pixels.At(x, y) = gfx::TColor((x & 0xFF) | (y & 0xFF) << 8 | (x >> 8 | (y >> 8) << 4) << 16);
  window->Present(pixels.Bounds());
  ASSERT_TRUE(PollUntil([&] {
    other->ProcessEvents(false);
    return Capture(Rect::FromXYWH(700, 500, 1, 1)).At(0, 0) == 0x12F4BCu;
  })) << "the other window is not shown";
  WriteSettings("[Application]\nLeft=100\nTop=200\nLength=800\nMouseLoupe=0");
  StartProgram();
  const Rect lens = Rect::FromXYWH(561, 210, 200, 200), source = Rect::FromXYWH(539, 190, 100, 100);
  auto compare = [&](std::string& first) {
    other->ProcessEvents(false);
    const gfx::Bitmap shown = Capture(lens), screen = Capture(source);
    int wrong = 0, checked = 0;
    for (int j = 0; j < 200; ++j)
      for (int i = 0; i < 200; ++i) {
        const int sx = 539 + i / 2, sy = 190 + j / 2;
        if (std::hypot(i - 124.5, j - 124) > 65 || std::abs(i - 124.5) < 10 || std::hypot(sx - 685.5, sy - 334) < 78 ||
            (sx >= 595 && sx < 640 && sy >= 234 && sy < 280))
          continue;
        ++checked;
        if (shown.At(i, j) != screen.At(sx - 539, sy - 190) && wrong++ == 0)
          first = std::to_string(i) + "," + std::to_string(j) + " of " + std::to_string(checked);
      }
    return checked > 3000 && wrong == 0;
  };
  std::string first;
  MoveTo(600, 240);
  MoveTo(601, 240);
  EXPECT_TRUE(PollUntil([&] { return compare(first); }, 10000)) << "the lens is not the screen enlarged: " << first << ProgramOutput();
  // Inside the lens's square but outside its disc, a click reaches the window below.
  Click(571, 360);
  EXPECT_TRUE(PollUntil([&] {
    other->ProcessEvents(false);
    return presses.At.size() == 1;
  })) << "the click outside the disc did not pass through";
  ASSERT_EQ(presses.At.size(), 1u);
  EXPECT_EQ(presses.At[0], (gfx::Point{571, 360}));
}

TEST_F(WaylandProgram, AnOpenMenuClosesOnAClickInAnotherClientsWindowWhichGetsOnlyTheNextClick) {
  // Another client's yellow window tiled over the output; the strip at (100, 120), its menu
  // opened from its button (144, 128) at (138, 137), beside the button. Its pixel (150, 250)
  // lies in the menu's icon column below the strip: not yellow while the menu is open, yellow
  // once it has closed. The click that closes the menu is the menu's alone (as under an X11
  // grab): the other window hears only the next one.
  std::string why;
  auto other = plat::WaylandPlatform::Open(Server->Socket().c_str(), why);
  ASSERT_NE(other, nullptr) << why;
  Presses presses;
  auto window = Painted(*other, Rect::FromXYWH(0, 0, 1024, 768), plat::WindowRole::Dialog, 0x00FFFF, &presses);
  auto at = [&](gfx::Point p) {
    other->ProcessEvents(false);
    return Capture(Rect::FromXYWH(p.x, p.y, 1, 1)).At(0, 0);
  };
  ASSERT_TRUE(PollUntil([&] { return at({150, 250}) == 0x00FFFFu; })) << "the other window is not shown";
  WriteSettings("[Application]\nLeft=100\nTop=120\nLength=500\nMouseLoupe=0");
  StartProgram();
  MoveTo(144, 128);
  ASSERT_TRUE(PollUntil([&] { return at({100, 120}) != 0x00FFFFu; }, 10000)) << "no strip " << ProgramOutput();
  Button(true);
  Button(false);
  ASSERT_TRUE(PollUntil([&] { return at({150, 250}) != 0x00FFFFu; })) << "the menu does not open";
  Click(800, 600);
  EXPECT_TRUE(PollUntil([&] { return at({150, 250}) == 0x00FFFFu; })) << "the menu stays open";
  Click(700, 500);
  EXPECT_TRUE(PollUntil([&] { return at({0, 0}) == 0x00FFFFu && !presses.At.empty(); })) << "the next click is lost";
  ASSERT_EQ(presses.At.size(), 1u);
  EXPECT_EQ(presses.At[0], (gfx::Point{700, 500}));
}

TEST_F(WaylandProgram, OnATurnedOutputTheScreenIsReadTheWayItIsShown) {
  // A 1024 x 768 output turned (and flipped), so its desktop is 768 x 1024 or 1024 x 768; on it
  // a window of another client at (100, 200) whose every pixel is its own (x, y). Read through
  // the screen copy, a part of it gives back those pixels, as grim reads them too: the copy,
  // made in the output's own orientation, must be turned back.
  for (const char* transform : {"90", "180", "270", "flipped", "flipped-90"}) {
    SCOPED_TRACE(transform);
    Server.reset();
    Server = std::make_unique<SwayServer>(1024, 768, transform);
    std::string why;
    auto other = plat::WaylandPlatform::Open(Server->Socket().c_str(), why);
    ASSERT_NE(other, nullptr) << why;
    auto window = Painted(*other, Rect::FromXYWH(100, 200, 300, 400), plat::WindowRole::Tooltip, 0, nullptr);
    gfx::Bitmap& pixels = window->BackBuffer();
    for (int y = 0; y < 400; ++y)
      for (int x = 0; x < 300; ++x) pixels.At(x, y) = gfx::TColor(x | y << 8 | (x >> 8 | (y >> 8) << 4) << 16);
    window->Present(pixels.Bounds());
    const Rect part = Rect::FromXYWH(150, 230, 120, 90);
    gfx::Bitmap expected(part.Width(), part.Height());
    for (int y = 0; y < part.Height(); ++y)
      for (int x = 0; x < part.Width(); ++x) expected.At(x, y) = pixels.At(part.left - 100 + x, part.top - 200 + y);
    ASSERT_TRUE(PollUntil([&] {
      other->ProcessEvents(false);
      return Capture(part) == expected;
    })) << "grim does not see the window: " << Difference(Capture(part), expected);
    auto wl = plat::WaylandPlatform::Open(Server->Socket().c_str(), why);
    ASSERT_NE(wl, nullptr) << why;
    EXPECT_EQ(Difference(wl->CaptureScreen(part), expected), "");
  }
}

TEST_F(WaylandProgram, MeasuringAnywhereReachesAnOutputPluggedInMeanwhile) {
  // Measuring from the strip at (100, 120); an output plugged in to the right meanwhile: over
  // it too the caption reads the pointer, (1400, 300) reading 1300 as on the virtual desktop.
  const char* settings = "[Application]\nLeft=100\nTop=120\nLength=500\nMouseLoupe=0";
  const Rect strip = Rect::FromXYWH(100, 120, 500, 58);
  WriteSettings(settings);
  StartProgram();
  Click(400, 128);
  const std::string clicked = "mouse 400 128\nclick left\nwait 55\n";
  ASSERT_TRUE(WaitForPixels(strip, ShotVirtual(settings, clicked, strip))) << ProgramOutput();
  Type({"m"});
  ASSERT_EQ(Server->Command("create_output"), 0);
  ASSERT_EQ(Server->Command("output HEADLESS-2 resolution 800x600 position 1024 0"), 0);
  Desk = {1824, 768};
  VirtualMonitors = "monitor 0 0 1024 768\nmonitor 1024 0 800 600\n";
  const gfx::Bitmap reading = ShotVirtual(settings, clicked + "mouse 1400 300\nwait 55\n", strip);
  EXPECT_TRUE(PollUntil([&] {
    MoveTo(1401, 300);  // the hand moves on until the new output's layer is there
    MoveTo(1400, 300);
    return WaitForPixels(strip, reading, 200);
  })) << Difference(Capture(strip), reading);
}

TEST_F(WaylandProgram, DeadKeysTypedThroughTheCompositorComposeAndEscapeOnlyCancelsTheSequence) {
  // In a dialog, which sway focuses: ´ e types "é" (every compose table has it) and hands on
  // the character alone, not the key E; ´ Escape ends the sequence and no more, so the dialog
  // would stay open; x types "x".
  std::string why;
  auto wl = plat::WaylandPlatform::Open(Server->Socket().c_str(), why);
  ASSERT_NE(wl, nullptr) << why;
  struct Keys : plat::WindowListener {
    bool Active = false;
    std::vector<int> Down;
    std::string Typed;
    void OnActivate(bool active) override { Active = active; }
    void OnKeyDown(const plat::KeyEvent& k) override { Down.push_back(k.Key); }
    void OnChar(std::string_view utf8) override { Typed += utf8; }
  } keys;
  auto window = Painted(*wl, Rect::FromXYWH(0, 0, 400, 300), plat::WindowRole::Dialog, 0x808080, &keys);
  auto until = [&](const std::function<bool()>& done) { return PollUntil([&] { return wl->ProcessEvents(false), done(); }); };
  ASSERT_TRUE(until([&] { return keys.Active; })) << "the dialog does not take the keyboard";
  Type({"-k", "dead_acute", "e", "-k", "dead_acute", "-k", "Escape", "x"});
  EXPECT_TRUE(until([&] { return keys.Typed.find('x') != std::string::npos; })) << keys.Typed;
  EXPECT_EQ(keys.Typed, "éx");
  EXPECT_EQ(keys.Down, (std::vector<int>{'X'}));
}

TEST_F(WaylandProgram, TheBellAndTheMenuSoundsAskTheSoundThemeForItsEvents) {
  std::string why;
  auto wl = plat::WaylandPlatform::Open(Server->Socket().c_str(), why);
  ASSERT_NE(wl, nullptr) << why;
  plat::CanberraSound& sound = wl->Sound();
  EXPECT_EQ(sound.LastEvent(), "");
  // Event names as the freedesktop sound theme names them; a sound the program has no event
  // for asks for nothing. This machine has no sound device: after the first request the
  // context is given up (or open, elsewhere), and every later request still gets this far.
  const std::pair<const char*, const char*> steps[] = {{nullptr, "bell-window-system"},
                                                       {"MenuPopup", "menu-popup"},
                                                       {"SystemAsterisk", "menu-popup"},
                                                       {"MenuCommand", "menu-click"},
                                                       {nullptr, "bell-window-system"}};
  for (auto [name, event] : steps) {
    if (name)
      wl->PlaySystemSound(name);
    else
      wl->Beep();
    EXPECT_EQ(sound.LastEvent(), event) << (name ? name : "Beep");
    EXPECT_NE(sound.Current(), plat::CanberraSound::State::Unopened);
  }
  EXPECT_TRUE(wl->ProcessEvents(false));
}
