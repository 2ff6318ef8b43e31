// Stacking, composition, regions and screen capture of the virtual desktop.
#include "platform/virtual/VirtualDesktop.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using gfx::Rect;
using plat::VirtualDesktop;
using plat::VirtualWindow;
using plat::WindowKind;
using plat::ZOrder;

struct Made {
  std::unique_ptr<plat::NativeWindow> Owner;
  VirtualWindow* W;
};

Made Make(VirtualDesktop& d, const std::string& title, Rect bounds, bool topMost = false,
          WindowKind kind = WindowKind::Normal) {
  plat::WindowParams p{.Title = title, .Bounds = bounds, .Kind = kind, .TopMost = topMost};
  auto w = d.CreateWindow(p, nullptr);
  auto* vw = static_cast<VirtualWindow*>(w.get());
  return {std::move(w), vw};
}

// Fills the window's whole back buffer with COLOR and presents it.
void Paint(VirtualWindow* w, gfx::TColor color) {
  w->BackBuffer().Fill(color);
  w->Present(w->BackBuffer().Bounds());
}

std::vector<std::string> Order(const VirtualDesktop& d) {
  std::vector<std::string> out;
  for (VirtualWindow* w : d.Windows()) out.push_back(w->Title());
  return out;
}

using Titles = std::vector<std::string>;

TEST(VirtualDesktopStacking, BandsAndStackingChanges) {
  VirtualDesktop d;
  auto a = Make(d, "A", {0, 0, 10, 10});
  auto t1 = Make(d, "T1", {0, 0, 10, 10}, true);
  auto b = Make(d, "B", {0, 0, 10, 10});
  auto t2 = Make(d, "T2", {0, 0, 10, 10}, true);
  // New windows go on top of their own band; the topmost band is above the normal one.
  EXPECT_EQ(Order(d), (Titles{"T2", "T1", "B", "A"}));
  EXPECT_TRUE(t1.W->TopMost());
  EXPECT_FALSE(a.W->TopMost());

  // Showing a hidden window puts it on top of its band.
  a.W->Show(false);
  EXPECT_EQ(Order(d), (Titles{"T2", "T1", "A", "B"}));
  t1.W->Show(false);
  EXPECT_EQ(Order(d), (Titles{"T1", "T2", "A", "B"}));
  // Showing a visible window again changes nothing.
  a.W->Show(false);
  EXPECT_EQ(Order(d), (Titles{"T1", "T2", "A", "B"}));

  // Top: to the top of the window's own band.
  b.W->SetZOrder(ZOrder::Top);
  EXPECT_EQ(Order(d), (Titles{"T1", "T2", "B", "A"}));
  t2.W->SetZOrder(ZOrder::Top);
  EXPECT_EQ(Order(d), (Titles{"T2", "T1", "B", "A"}));

  // TopMost: into the topmost band, at its top.
  a.W->SetZOrder(ZOrder::TopMost);
  EXPECT_EQ(Order(d), (Titles{"A", "T2", "T1", "B"}));
  EXPECT_TRUE(a.W->TopMost());

  // NoTopMost: out of the band, to the top of the normal band.
  t2.W->SetZOrder(ZOrder::NoTopMost);
  EXPECT_EQ(Order(d), (Titles{"A", "T1", "T2", "B"}));
  EXPECT_FALSE(t2.W->TopMost());
  // ... and a window that is not topmost stays where it is.
  b.W->SetZOrder(ZOrder::NoTopMost);
  EXPECT_EQ(Order(d), (Titles{"A", "T1", "T2", "B"}));

  // Bottom: below everything, and no longer topmost.
  a.W->SetZOrder(ZOrder::Bottom);
  EXPECT_EQ(Order(d), (Titles{"T1", "T2", "B", "A"}));
  EXPECT_FALSE(a.W->TopMost());

  // Hidden windows keep their place; a stacking change on a hidden window still applies.
  t1.W->Hide();
  EXPECT_EQ(Order(d), (Titles{"T1", "T2", "B", "A"}));
  b.W->Hide();
  b.W->SetZOrder(ZOrder::TopMost);
  EXPECT_EQ(Order(d), (Titles{"B", "T1", "T2", "A"}));
  EXPECT_FALSE(b.W->Visible());

  // A destroyed window leaves the list.
  t1.Owner.reset();
  EXPECT_EQ(Order(d), (Titles{"B", "T2", "A"}));
}

TEST(VirtualDesktopStacking, ActivationRaisesAndHidingPassesFocusOn) {
  VirtualDesktop d;
  auto a = Make(d, "A", {0, 0, 10, 10});
  auto b = Make(d, "B", {0, 0, 10, 10});
  auto p = Make(d, "P", {0, 0, 10, 10}, false, WindowKind::Popup);
  a.W->Show(true);
  b.W->Show(true);
  EXPECT_TRUE(b.W->Active());
  EXPECT_FALSE(a.W->Active());
  EXPECT_EQ(d.ActiveWindow(), b.W);
  a.W->Activate();
  EXPECT_EQ(Order(d), (Titles{"A", "B", "P"}));
  EXPECT_TRUE(a.W->Active());

  // A popup is raised by Show/Activate but never takes the focus.
  p.W->Show(true);
  EXPECT_EQ(Order(d), (Titles{"P", "A", "B"}));
  EXPECT_EQ(d.ActiveWindow(), a.W);
  p.W->Activate();
  EXPECT_EQ(d.ActiveWindow(), a.W);

  // Hiding the active window gives the focus to the highest visible window that can take it.
  a.W->Hide();
  EXPECT_EQ(d.ActiveWindow(), b.W);
  b.W->Hide();
  EXPECT_EQ(d.ActiveWindow(), nullptr);
  // A hidden window cannot be activated.
  a.W->Activate();
  EXPECT_EQ(d.ActiveWindow(), nullptr);
}

TEST(VirtualDesktopCompose, WindowsWallpaperAndOffScreenParts) {
  VirtualDesktop d({64, 48});
  // Wallpaper alone.
  EXPECT_EQ(d.Screen().Width(), 64);
  EXPECT_EQ(d.Screen().Get(0, 0), VirtualDesktop::kDefaultWallpaper);
  EXPECT_EQ(d.Screen().Get(63, 47), VirtualDesktop::kDefaultWallpaper);
  d.SetWallpaper(gfx::clWhite);
  EXPECT_EQ(d.Screen().Get(10, 10), gfx::clWhite);

  auto a = Make(d, "A", {10, 10, 30, 30});
  auto b = Make(d, "B", {20, 20, 40, 40});
  Paint(a.W, gfx::clRed);
  Paint(b.W, gfx::clBlue);
  // Hidden windows are not on the screen.
  EXPECT_EQ(d.Screen().Get(15, 15), gfx::clWhite);
  a.W->Show(false);
  b.W->Show(false);
  const gfx::Bitmap& s = d.Screen();
  EXPECT_EQ(s.Get(10, 10), gfx::clRed);
  EXPECT_EQ(s.Get(9, 10), gfx::clWhite);
  EXPECT_EQ(s.Get(25, 25), gfx::clBlue);  // B is above A
  EXPECT_EQ(s.Get(29, 19), gfx::clRed);
  EXPECT_EQ(s.Get(39, 39), gfx::clBlue);
  EXPECT_EQ(s.Get(40, 40), gfx::clWhite);

  // Raising A brings its pixels over B.
  a.W->SetZOrder(ZOrder::Top);
  EXPECT_EQ(d.Screen().Get(25, 25), gfx::clRed);
  EXPECT_EQ(d.Screen().Get(35, 35), gfx::clBlue);

  // Presented drawing shows; only what changed needs presenting.
  a.W->BackBuffer().Set(0, 0, gfx::clLime);
  a.W->Present({0, 0, 1, 1});
  EXPECT_EQ(d.Screen().Get(10, 10), gfx::clLime);

  // Moving a window uncovers what was beneath; the back buffer follows the size.
  a.W->SetBounds({0, 0, 5, 5});
  EXPECT_EQ(a.W->BackBuffer().Width(), 5);
  EXPECT_EQ(d.Screen().Get(25, 25), gfx::clBlue);
  EXPECT_EQ(d.Screen().Get(12, 12), gfx::clWhite);
  EXPECT_EQ(d.Screen().Get(0, 0), gfx::clLime);  // the kept top-left pixel

  // A window partly off-screen; capture reads black outside the screen.
  b.W->SetBounds({50, 40, 80, 60});
  Paint(b.W, gfx::clBlue);
  gfx::Bitmap cap = d.CaptureScreen({60, 44, 70, 52});
  ASSERT_EQ(cap.Width(), 10);
  ASSERT_EQ(cap.Height(), 8);
  EXPECT_EQ(cap.Get(0, 0), gfx::clBlue);     // screen (60, 44)
  EXPECT_EQ(cap.Get(3, 3), gfx::clBlue);     // screen (63, 47), the last pixel
  EXPECT_EQ(cap.Get(4, 3), gfx::clBlack);    // x 64 is off the screen
  EXPECT_EQ(cap.Get(3, 4), gfx::clBlack);    // y 48 is off the screen
  gfx::Bitmap left = d.CaptureScreen({-5, -5, 2, 2});
  EXPECT_EQ(left.Get(0, 0), gfx::clBlack);
  EXPECT_EQ(left.Get(5, 5), gfx::clLime);    // screen (0, 0)
  EXPECT_EQ(left.Get(6, 6), gfx::clRed);

  // Hiding takes the window off the screen image.
  b.W->Hide();
  EXPECT_EQ(d.Screen().Get(60, 44), gfx::clWhite);

  // Destroying it too.
  a.Owner.reset();
  EXPECT_EQ(d.Screen().Get(0, 0), gfx::clWhite);
}

TEST(VirtualDesktopCompose, WallpaperPictureAndScreenSize) {
  VirtualDesktop d({8, 6});
  gfx::Bitmap pic(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) pic.Set(x, y, gfx::RGB(x * 10, y * 10, 7));
  d.SetWallpaper(pic);
  EXPECT_EQ(d.Screen().Get(3, 2), gfx::RGB(30, 20, 7));
  EXPECT_EQ(d.Screen().Get(4, 2), VirtualDesktop::kDefaultWallpaper);  // beyond the picture
  EXPECT_EQ(d.Screen().Get(0, 3), VirtualDesktop::kDefaultWallpaper);

  // A window over the picture; capture sees both.
  auto w = Make(d, "W", {2, 1, 4, 2});
  Paint(w.W, gfx::clYellow);
  w.W->Show(false);
  gfx::Bitmap cap = d.CaptureScreen({0, 0, 8, 6});
  EXPECT_EQ(cap.Get(1, 1), gfx::RGB(10, 10, 7));
  EXPECT_EQ(cap.Get(2, 1), gfx::clYellow);
  EXPECT_EQ(cap.Get(3, 1), gfx::clYellow);
  EXPECT_EQ(cap.Get(2, 2), gfx::RGB(20, 20, 7));

  // A system colour as wallpaper is resolved.
  d.SetWallpaper(gfx::clBtnFace);
  EXPECT_EQ(d.Screen().Get(0, 0), gfx::ColorToRGB(gfx::clBtnFace));

  d.SetScreenSize({1280, 1024});
  EXPECT_EQ(d.ScreenSize(), (gfx::Size{1280, 1024}));
  EXPECT_EQ(d.ScreenDepth(), 24);
  EXPECT_EQ(d.Screen().Width(), 1280);
  EXPECT_EQ(d.Screen().Get(1279, 1023), gfx::ColorToRGB(gfx::clBtnFace));
  EXPECT_EQ(d.Screen().Get(2, 1), gfx::clYellow);

  // The default screen.
  VirtualDesktop def;
  EXPECT_EQ(def.ScreenSize(), (gfx::Size{1024, 768}));
}

TEST(VirtualDesktopCompose, RegionsClipDrawingAndHitTesting) {
  VirtualDesktop d({100, 100});
  d.SetWallpaper(gfx::clWhite);
  auto under = Make(d, "Under", {0, 0, 100, 100});
  auto disc = Make(d, "Disc", {20, 20, 60, 60});
  Paint(under.W, gfx::clGreen);
  Paint(disc.W, gfx::clRed);
  under.W->Show(false);
  disc.W->Show(false);
  disc.W->SetRegion(gfx::Region::Ellipse({0, 0, 40, 40}));
  ASSERT_TRUE(disc.W->ShapeRegion().has_value());

  // Inside the disc its pixels, in the corners of its rectangle the window beneath.
  EXPECT_EQ(d.Screen().Get(40, 40), gfx::clRed);
  EXPECT_EQ(d.Screen().Get(20, 20), gfx::clGreen);
  EXPECT_EQ(d.Screen().Get(59, 59), gfx::clGreen);
  EXPECT_EQ(d.Screen().Get(40, 20), gfx::clRed);  // top of the disc

  // The mouse finds the window beneath through the corners.
  EXPECT_EQ(d.WindowAt({40, 40}), disc.W);
  EXPECT_EQ(d.WindowAt({20, 20}), under.W);
  EXPECT_TRUE(disc.W->HitTest({40, 40}));
  EXPECT_FALSE(disc.W->HitTest({21, 21}));
  EXPECT_EQ(d.WindowAt({0, 0}), under.W);

  // A region with a hole: rectangle minus the middle.
  gfx::Region frame = gfx::Region({0, 0, 40, 40}).Subtract(gfx::Region({10, 10, 30, 30}));
  disc.W->SetRegion(frame);
  EXPECT_EQ(d.Screen().Get(40, 40), gfx::clGreen);
  EXPECT_EQ(d.Screen().Get(25, 25), gfx::clRed);
  EXPECT_EQ(d.WindowAt({40, 40}), under.W);
  EXPECT_EQ(d.WindowAt({25, 25}), disc.W);

  // An empty region leaves nothing of the window.
  disc.W->SetRegion(gfx::Region());
  EXPECT_EQ(d.Screen().Get(25, 25), gfx::clGreen);
  EXPECT_EQ(d.WindowAt({25, 25}), under.W);

  // nullopt restores the full rectangle.
  disc.W->SetRegion(std::nullopt);
  EXPECT_EQ(d.Screen().Get(20, 20), gfx::clRed);
  EXPECT_EQ(d.WindowAt({20, 20}), disc.W);
  EXPECT_EQ(d.WindowAt({60, 60}), under.W);  // right and bottom are outside

  // A region reaching beyond the window's rectangle is cut to it.
  disc.W->SetRegion(gfx::Region({-10, -10, 100, 100}));
  EXPECT_EQ(d.Screen().Get(15, 15), gfx::clGreen);
  EXPECT_EQ(d.WindowAt({15, 15}), under.W);

  // Hidden windows own no pixels.
  under.W->Hide();
  EXPECT_EQ(d.WindowAt({0, 0}), nullptr);
  EXPECT_EQ(d.Screen().Get(0, 0), gfx::clWhite);
}

TEST(VirtualDesktopCompose, CaptureSeesTheCapturingWindowItself) {
  // A magnifier that moves and then grabs the screen around itself sees its own pixels.
  VirtualDesktop d({200, 200});
  auto loupe = Make(d, "Loupe", {0, 0, 20, 20}, true, WindowKind::Popup);
  Paint(loupe.W, gfx::clFuchsia);
  loupe.W->Show(false);
  (void)d.CaptureScreen({0, 0, 30, 30});  // fills the cache
  loupe.W->SetBounds({100, 100, 120, 120});
  gfx::Bitmap cap = d.CaptureScreen({90, 90, 130, 130});
  EXPECT_EQ(cap.Get(10, 10), gfx::clFuchsia);
  EXPECT_EQ(cap.Get(29, 29), gfx::clFuchsia);
  EXPECT_EQ(cap.Get(30, 30), VirtualDesktop::kDefaultWallpaper);
  EXPECT_EQ(d.CaptureScreen({0, 0, 1, 1}).Get(0, 0), VirtualDesktop::kDefaultWallpaper);
  // Drawing that was not presented stays invisible until it is.
  loupe.W->BackBuffer().Fill(gfx::clNavy);
  EXPECT_EQ(d.CaptureScreen({100, 100, 101, 101}).Get(0, 0), gfx::clFuchsia);
  loupe.W->Present({0, 0, 20, 20});
  EXPECT_EQ(d.CaptureScreen({100, 100, 101, 101}).Get(0, 0), gfx::clNavy);
}

TEST(VirtualDesktopCompose, ManySmallPresentsAllShow) {
  VirtualDesktop d({100, 100});
  auto w = Make(d, "W", {0, 0, 100, 100});
  Paint(w.W, gfx::clBlack);
  w.W->Show(false);
  (void)d.Screen();
  // More scattered changes than are tracked one by one: all of them still reach the screen.
  for (int i = 0; i < 50; ++i) {
    int x = (i * 37) % 100, y = (i * 53) % 100;
    w.W->BackBuffer().Set(x, y, gfx::clWhite);
    w.W->Present({x, y, x + 1, y + 1});
  }
  const gfx::Bitmap& s = d.Screen();
  int white = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) white += s.Get(x, y) == gfx::clWhite;
  EXPECT_EQ(white, 50);
  EXPECT_EQ(s, w.W->Buffer());
}

TEST(VirtualDesktopCompose, OddBoundsDoNotBreakAnything) {
  VirtualDesktop d({50, 50});
  // Inverted bounds become an empty window; huge offsets stay harmless.
  auto w = Make(d, "W", {30, 30, 10, 10});
  EXPECT_EQ(w.W->Bounds().Width(), 0);
  EXPECT_TRUE(w.W->BackBuffer().IsEmpty());
  w.W->Show(true);
  EXPECT_EQ(d.WindowAt({30, 30}), nullptr);
  w.W->SetBounds({-1000000, -1000000, -999990, -999990});
  Paint(w.W, gfx::clRed);
  w.W->Present({-5, -5, 100, 100});
  EXPECT_EQ(d.Screen().Get(0, 0), VirtualDesktop::kDefaultWallpaper);
  // A capture rectangle that is inverted copies nothing.
  EXPECT_TRUE(d.CaptureScreen({10, 10, 0, 0}).IsEmpty());
  // A back buffer resized behind the platform's back is composed only where it has pixels.
  w.W->SetBounds({0, 0, 20, 20});
  w.W->BackBuffer().Resize(5, 5);
  w.W->BackBuffer().Fill(gfx::clBlue);
  w.W->Present({0, 0, 20, 20});
  EXPECT_EQ(d.Screen().Get(4, 4), gfx::clBlue);
  EXPECT_EQ(d.Screen().Get(10, 10), VirtualDesktop::kDefaultWallpaper);
}

TEST(VirtualDesktopCompose, WindowsAndDesktopMayDieInEitherOrder) {
  std::unique_ptr<plat::NativeWindow> survivor;
  std::unique_ptr<plat::TrayIcon> icon;
  {
    VirtualDesktop d;
    plat::Platform::SetCurrent(&d);
    survivor = d.CreateWindow({.Title = "S", .Bounds = {0, 0, 10, 10}}, nullptr);
    survivor->Show(true);
    icon = d.CreateTrayIcon(nullptr);
    ASSERT_TRUE(icon);
  }
  // The desktop is gone: the platform pointer is cleared and the window works on its own.
  EXPECT_FALSE(plat::Platform::HasCurrent());
  survivor->SetBounds({0, 0, 20, 20});
  survivor->Hide();
  survivor->SetCapture();
  survivor->Present({0, 0, 20, 20});
  EXPECT_FALSE(survivor->Active());
  EXPECT_EQ(survivor->BackBuffer().Width(), 20);
  EXPECT_FALSE(icon->Visible());
  survivor.reset();
  icon.reset();
}

}  // namespace
