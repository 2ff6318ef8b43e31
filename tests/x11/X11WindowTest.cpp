// Windows on a real X server: placement, properties, showing and hiding, painting, stacking
// and shaped regions.
// gtest comes before the X headers, whose macros (None, Bool) clash with its names.
#include "X11Fixture.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/shape.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

#include "platform/x11/X11CursorCache.h"
#include "platform/x11/X11ErrorTrap.h"

using namespace x11test;
using plat::Rect;

namespace {

std::vector<Atom> AtomList(Display* dpy, ::Window w, Atom prop) {
  Atom type;
  int format;
  unsigned long n, after;
  unsigned char* data = nullptr;
  std::vector<Atom> out;
  if (XGetWindowProperty(dpy, w, prop, 0, 64, False, AnyPropertyType, &type, &format, &n, &after, &data) == Success &&
      data) {
    for (unsigned long i = 0; i < n; ++i) out.push_back(reinterpret_cast<Atom*>(data)[i]);
    XFree(data);
  }
  return out;
}

bool Has(const std::vector<Atom>& v, Atom a) { return std::find(v.begin(), v.end(), a) != v.end(); }

Atom Intern(Display* d, const char* name) { return XInternAtom(d, name, False); }

// A stacking position among the root's children (higher is nearer the top).
int StackIndex(Display* dpy, ::Window w) {
  ::Window root, parent, *children = nullptr;
  unsigned n = 0;
  XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &n);
  int index = -1;
  for (unsigned i = 0; i < n; ++i)
    if (children[i] == w) index = int(i);
  if (children) XFree(children);
  return index;
}

// A plain window of another client, as an ordinary application would make it.
::Window ForeignWindow(Display* dpy, const Rect& r, unsigned long pixel) {
  XSetWindowAttributes a{};
  a.background_pixel = pixel;
  const ::Window w = XCreateWindow(dpy, DefaultRootWindow(dpy), r.left, r.top, unsigned(r.Width()), unsigned(r.Height()),
                                   0, CopyFromParent, InputOutput, CopyFromParent, CWBackPixel, &a);
  XMapRaised(dpy, w);
  XSync(dpy, False);
  return w;
}

// The largest SysV shared-memory segment this process has attached, in bytes.
std::size_t LargestSharedSegment() {
  std::ifstream maps("/proc/self/maps");
  std::size_t largest = 0;
  for (std::string line; std::getline(maps, line);) {
    unsigned long lo = 0, hi = 0;
    if (line.find("/SYSV") != std::string::npos && std::sscanf(line.c_str(), "%lx-%lx", &lo, &hi) == 2)
      largest = std::max<std::size_t>(largest, hi - lo);
  }
  return largest;
}

}  // namespace

TEST_F(X11Fixture, WindowAppearsExactlyWhereAskedAndHidesAndShows) {
  RecordingListener l;
  auto& w = NewWindow(Rect::FromXYWH(37, 53, 211, 97), &l);
  auto& off = NewWindow(Rect::FromXYWH(-30, 700, 120, 100), nullptr);  // partly off the screen
  EXPECT_EQ(MapState(Peer, Xid(w)), IsUnmapped);
  ShowAndWait(w);
  ShowAndWait(off);
  EXPECT_TRUE(w.Visible());
  EXPECT_EQ(ServerGeometry(Peer, Xid(w)), Rect::FromXYWH(37, 53, 211, 97));
  EXPECT_EQ(ServerGeometry(Peer, Xid(off)), Rect::FromXYWH(-30, 700, 120, 100));

  w.Hide();
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return MapState(Peer, Xid(w)) == IsUnmapped; }));
  EXPECT_FALSE(w.Visible());
  ShowAndWait(w);
  EXPECT_EQ(ServerGeometry(Peer, Xid(w)), Rect::FromXYWH(37, 53, 211, 97));

  // Moving and sizing from the program is not reported back as a move by the window system,
  // and the back buffer follows the size.
  w.SetBounds(Rect::FromXYWH(400, 300, 50, 60));
  Pump(*Platform, 50);
  EXPECT_EQ(ServerGeometry(Peer, Xid(w)), Rect::FromXYWH(400, 300, 50, 60));
  EXPECT_EQ(w.Bounds(), Rect::FromXYWH(400, 300, 50, 60));
  EXPECT_EQ(w.BackBuffer().Width(), 50);
  EXPECT_EQ(w.BackBuffer().Height(), 60);
  EXPECT_TRUE(l.Moved.empty());

  // Another client moving the window is a move by the window system.
  XMoveWindow(Peer, Xid(w), 10, 20);
  XSync(Peer, False);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return !l.Moved.empty(); }));
  EXPECT_EQ(l.Moved.back(), Rect::FromXYWH(10, 20, 50, 60));
  EXPECT_EQ(w.Bounds(), Rect::FromXYWH(10, 20, 50, 60));
}

TEST_F(X11Fixture, WindowPropertiesTellManagersHowToTreatIt) {
  auto& normal = NewWindow(Rect::FromXYWH(0, 0, 50, 50), nullptr);
  auto& popup = NewWindow(Rect::FromXYWH(60, 0, 50, 50), nullptr, plat::WindowKind::Popup, true);
  auto& tool = NewWindow(Rect::FromXYWH(120, 0, 50, 50), nullptr, plat::WindowKind::Tool);
  normal.SetTitle("Vantrel ruler");
  Pump(*Platform, 20);

  // Undecorated: the Motif hints switch decorations off.
  Atom type;
  int format;
  unsigned long n, after;
  unsigned char* data = nullptr;
  const Atom motif = Intern(Peer, "_MOTIF_WM_HINTS");
  ASSERT_EQ(XGetWindowProperty(Peer, Xid(normal), motif, 0, 5, False, motif, &type, &format, &n, &after, &data), Success);
  ASSERT_NE(data, nullptr);
  ASSERT_EQ(n, 5u);
  EXPECT_EQ(reinterpret_cast<long*>(data)[0] & 2, 2);  // decorations field is valid
  EXPECT_EQ(reinterpret_cast<long*>(data)[2], 0);      // and empty
  XFree(data);

  const auto state = AtomList(Peer, Xid(normal), Intern(Peer, "_NET_WM_STATE"));
  EXPECT_TRUE(Has(state, Intern(Peer, "_NET_WM_STATE_SKIP_TASKBAR")));
  EXPECT_TRUE(Has(state, Intern(Peer, "_NET_WM_STATE_SKIP_PAGER")));
  EXPECT_FALSE(Has(state, Intern(Peer, "_NET_WM_STATE_ABOVE")));
  EXPECT_TRUE(Has(AtomList(Peer, Xid(popup), Intern(Peer, "_NET_WM_STATE")), Intern(Peer, "_NET_WM_STATE_ABOVE")));
  // Roles become window types, read by managers when the window maps; the owner becomes
  // WM_TRANSIENT_FOR.
  const Atom windowType = Intern(Peer, "_NET_WM_WINDOW_TYPE");
  EXPECT_EQ(AtomList(Peer, Xid(tool), windowType), std::vector<Atom>{Intern(Peer, "_NET_WM_WINDOW_TYPE_NORMAL")});
  const std::pair<plat::WindowRole, const char*> roles[] = {
      {plat::WindowRole::Utility, "_NET_WM_WINDOW_TYPE_UTILITY"},
      {plat::WindowRole::Dialog, "_NET_WM_WINDOW_TYPE_DIALOG"},
      {plat::WindowRole::PopupMenu, "_NET_WM_WINDOW_TYPE_POPUP_MENU"},
      {plat::WindowRole::Tooltip, "_NET_WM_WINDOW_TYPE_TOOLTIP"},
      {plat::WindowRole::Normal, "_NET_WM_WINDOW_TYPE_NORMAL"},
  };
  for (auto [role, name] : roles) {
    tool.SetRole(role);
    XSync(Platform->Connection().Dpy(), False);
    EXPECT_EQ(AtomList(Peer, Xid(tool), windowType), std::vector<Atom>{Intern(Peer, name)}) << name;
  }
  ::Window owner = None;
  EXPECT_FALSE(XGetTransientForHint(Peer, Xid(tool), &owner));
  tool.SetOwner(&normal);
  XSync(Platform->Connection().Dpy(), False);
  ASSERT_TRUE(XGetTransientForHint(Peer, Xid(tool), &owner));
  EXPECT_EQ(owner, Xid(normal));
  tool.SetOwner(nullptr);
  XSync(Platform->Connection().Dpy(), False);
  EXPECT_FALSE(XGetTransientForHint(Peer, Xid(tool), &owner));

  // Exact placement is requested, and the one size allowed is the size the program gave,
  // also after it changed it; popups are left alone by managers and refuse the focus.
  XSizeHints hints{};
  long supplied = 0;
  ASSERT_TRUE(XGetWMNormalHints(Peer, Xid(normal), &hints, &supplied));
  EXPECT_TRUE(hints.flags & USPosition);
  EXPECT_TRUE(hints.flags & PPosition);
  normal.SetBounds(Rect::FromXYWH(5, 6, 70, 40));
  XSync(Platform->Connection().Dpy(), False);
  ASSERT_TRUE(XGetWMNormalHints(Peer, Xid(normal), &hints, &supplied));
  ASSERT_EQ(hints.flags & (PMinSize | PMaxSize), PMinSize | PMaxSize);
  EXPECT_EQ(hints.min_width, 70);
  EXPECT_EQ(hints.max_width, 70);
  EXPECT_EQ(hints.min_height, 40);
  EXPECT_EQ(hints.max_height, 40);
  XWindowAttributes attrs{};
  XGetWindowAttributes(Peer, Xid(popup), &attrs);
  EXPECT_TRUE(attrs.override_redirect);
  XGetWindowAttributes(Peer, Xid(normal), &attrs);
  EXPECT_FALSE(attrs.override_redirect);
  XWMHints* wm = XGetWMHints(Peer, Xid(popup));
  ASSERT_NE(wm, nullptr);
  EXPECT_TRUE(wm->flags & InputHint);
  EXPECT_FALSE(wm->input);
  XFree(wm);

  Pump(*Platform, 20);

  char* name = nullptr;
  ASSERT_TRUE(XFetchName(Peer, Xid(normal), &name));
  EXPECT_STREQ(name, "Vantrel ruler");
  XFree(name);
}

namespace {

// The cursor the server shows with the pointer in the middle of W, as XFixes reports it.
struct ShownCursor {
  int Width = 0, Height = 0, HotX = 0, HotY = 0;
  std::vector<std::uint32_t> Pixels;  // ARGB
  std::uint32_t At(int x, int y) const { return Pixels.at(std::size_t(y) * Width + x); }
};

ShownCursor CursorOver(Display* peer, plat::X11Platform& platform, const plat::NativeWindow& w) {
  const Rect b = w.Bounds();
  XWarpPointer(peer, None, DefaultRootWindow(peer), 0, 0, 0, 0, b.left + b.Width() / 2, b.top + b.Height() / 2);
  XSync(peer, False);
  Pump(platform, 20);
  ShownCursor shown;
  if (XFixesCursorImage* image = XFixesGetCursorImage(peer)) {
    shown.Width = image->width;
    shown.Height = image->height;
    shown.HotX = image->xhot;
    shown.HotY = image->yhot;
    // Xlib hands the 32-bit pixels over in longs, sign-extended on 64-bit systems.
    for (std::size_t i = 0; i < std::size_t(image->width) * image->height; ++i)
      shown.Pixels.push_back(std::uint32_t(image->pixels[i]));
    XFree(image);
  }
  return shown;
}

}  // namespace

TEST_F(X11Fixture, CursorsAndRegionsReachTheServerIntactWithoutXErrors) {
  int eventBase = 0, errorBase = 0;
  ASSERT_TRUE(XFixesQueryExtension(Peer, &eventBase, &errorBase));
  // Nothing here may fail on the server; the backend's quiet error handler would hide it.
  plat::X11ErrorTrap errors(Platform->Connection().Dpy());
  auto& arrow = NewWindow(Rect::FromXYWH(0, 0, 40, 40), nullptr);
  auto& custom = NewWindow(Rect::FromXYWH(50, 0, 40, 40), nullptr);
  auto& damaged = NewWindow(Rect::FromXYWH(100, 0, 40, 40), nullptr);
  auto& tiny = NewWindow(Rect::FromXYWH(150, 0, 40, 40), nullptr);
  for (plat::NativeWindow* w : {&arrow, &custom, &damaged, &tiny}) ShowAndWait(*w);

  plat::CursorLook shape;
  shape.Standard = plat::StdCursor::Arrow;
  arrow.SetCursor(shape);
  const ShownCursor arrowShown = CursorOver(Peer, *Platform, arrow);
  ASSERT_GT(arrowShown.Width, 0);

  // A cross of 16 x 16 hanging from (7, 7): 1 and 3 show black, 2 white, 0 nothing.
  shape.IsCustom = true;
  shape.Image.Width = 16;
  shape.Image.Height = 16;
  shape.Image.HotSpot = {7, 7};
  shape.Image.Pixels.assign(256, 0);
  for (int i = 0; i < 16; ++i) shape.Image.Pixels[7 * 16 + i] = shape.Image.Pixels[i * 16 + 7] = 1 + (i % 3);
  custom.SetCursor(shape);
  const ShownCursor crossShown = CursorOver(Peer, *Platform, custom);
  ASSERT_EQ(crossShown.Width, 16);
  ASSERT_EQ(crossShown.Height, 16);
  EXPECT_EQ(crossShown.HotX, 7);
  EXPECT_EQ(crossShown.HotY, 7);
  EXPECT_EQ(crossShown.At(0, 7), 0xFF000000u);  // 1
  EXPECT_EQ(crossShown.At(1, 7), 0xFFFFFFFFu);  // 2
  EXPECT_EQ(crossShown.At(2, 7), 0xFF000000u);  // 3
  EXPECT_EQ(crossShown.At(0, 0) >> 24, 0u);     // 0: see-through

  // Damaged images (too few pixels, a negative or a huge size) fall back to the arrow.
  for (auto damage : {std::function<void(plat::CursorImage&)>([](plat::CursorImage& i) { i.Pixels.resize(10); }),
                      std::function<void(plat::CursorImage&)>([](plat::CursorImage& i) { i.Width = -3; }),
                      std::function<void(plat::CursorImage&)>([](plat::CursorImage& i) { i.Width = i.Height = 100000; })}) {
    plat::CursorLook bad = shape;
    damage(bad.Image);
    damaged.SetCursor(bad);
    const ShownCursor shown = CursorOver(Peer, *Platform, damaged);
    EXPECT_EQ(shown.Width, arrowShown.Width);
    EXPECT_EQ(shown.Pixels, arrowShown.Pixels);
  }

  // A hot spot outside the image is kept inside it.
  shape.Image.Width = shape.Image.Height = 2;
  shape.Image.Pixels = {0, 1, 2, 3};
  shape.Image.HotSpot = {-50, 999};
  tiny.SetCursor(shape);
  const ShownCursor tinyShown = CursorOver(Peer, *Platform, tiny);
  EXPECT_EQ(tinyShown.Width, 2);
  EXPECT_EQ(tinyShown.HotX, 0);
  EXPECT_EQ(tinyShown.HotY, 1);

  // The same image again comes from the cache: one server cursor for both.
  plat::X11CursorCache cache(Peer, DefaultRootWindow(Peer));
  EXPECT_EQ(cache.Get(shape), cache.Get(shape));

  // Regions and places far outside X's 16-bit coordinates are clipped, not wrapped around.
  tiny.SetRegion(gfx::Region(Rect{-100000, -100000, 100000, 100000}));
  tiny.SetBounds(Rect::FromXYWH(70000, -70000, 10, 10));
  Pump(*Platform, 20);
  XSync(Peer, False);
  int count = 0, ordering = 0;
  XRectangle* rects = XShapeGetRectangles(Peer, Xid(tiny), ShapeBounding, &count, &ordering);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(rects[0].x, SHRT_MIN);
  EXPECT_EQ(rects[0].y, SHRT_MIN);
  EXPECT_EQ(rects[0].width, SHRT_MAX - SHRT_MIN);
  EXPECT_EQ(rects[0].height, SHRT_MAX - SHRT_MIN);
  XFree(rects);
  EXPECT_TRUE(PumpUntil(*Platform, [&] { return ServerGeometry(Peer, Xid(tiny)) == Rect::FromXYWH(SHRT_MAX, SHRT_MIN, 10, 10); }))
      << ServerGeometry(Peer, Xid(tiny)).left << "," << ServerGeometry(Peer, Xid(tiny)).top;

  EXPECT_FALSE(errors.Failed()) << "X error " << errors.ErrorCode();
}

TEST_F(X11Fixture, PresentedPixelsComeBackFromScreenCapture) {
  auto& w = NewWindow(Rect::FromXYWH(100, 80, 64, 48), nullptr);
  ShowAndWait(w);
  gfx::Bitmap& back = w.BackBuffer();
  for (int y = 0; y < back.Height(); ++y)
    for (int x = 0; x < back.Width(); ++x) back.At(x, y) = gfx::RGB(x * 4, y * 5, (x ^ y) * 3);
  w.Present(back.Bounds());
  // Shared memory works wherever the server is local and SysV segments can be made.
  const int probe = shmget(IPC_PRIVATE, 4096, IPC_CREAT | 0600);
  if (probe >= 0) {
    shmctl(probe, IPC_RMID, nullptr);
    EXPECT_TRUE(Platform->CaptureUsesShm());
  }
  EXPECT_EQ(Platform->CaptureScreen(w.Bounds()), back);

  // Only the dirty rectangle goes out: the rest of the window keeps the old pixels.
  const gfx::Bitmap before = back;
  back.Fill(gfx::clRed);
  w.Present(Rect{10, 10, 20, 15});
  const gfx::Bitmap shot = Platform->CaptureScreen(w.Bounds());
  for (int y = 0; y < back.Height(); ++y)
    for (int x = 0; x < back.Width(); ++x) {
      const bool inside = Rect{10, 10, 20, 15}.Contains({x, y});
      ASSERT_EQ(shot.At(x, y), inside ? gfx::clRed : before.At(x, y)) << x << "," << y;
    }

  // Capture without shared memory reads the same pixels.
  w.Present(back.Bounds());
  const gfx::Bitmap viaShm = Platform->CaptureScreen(Rect::FromXYWH(90, 70, 100, 80));
  if (Platform->CaptureUsesShm()) {
    // A whole-screen picture (edge snapping) reads the same pixels, and its 3 MB segment goes
    // after it; the small one of the loupe and the lens stays for their next tick.
    const gfx::Bitmap screen = Platform->CaptureScreen(Rect{0, 0, 1024, 768});
    ASSERT_EQ(screen.Width(), 1024);
    EXPECT_EQ(screen.At(110, 90), gfx::clRed);  // the window's (10, 10)
    EXPECT_LT(LargestSharedSegment(), std::size_t(1) << 20);
    EXPECT_EQ(Platform->CaptureScreen(Rect::FromXYWH(90, 70, 100, 80)), viaShm);
    EXPECT_GE(LargestSharedSegment(), std::size_t(100 * 80 * 4));
  }
  Platform->DisableShmCapture();
  EXPECT_FALSE(Platform->CaptureUsesShm());
  EXPECT_EQ(Platform->CaptureScreen(Rect::FromXYWH(90, 70, 100, 80)), viaShm);
  EXPECT_EQ(viaShm.At(10, 10), gfx::clRed);

  // Off-screen parts read as black, on-screen parts as the screen.
  auto& corner = NewWindow(Rect::FromXYWH(0, 0, 10, 10), nullptr);
  ShowAndWait(corner);
  Paint(corner, gfx::clWhite);
  const gfx::Bitmap edge = Platform->CaptureScreen(Rect::FromXYWH(-5, -5, 10, 10));
  ASSERT_EQ(edge.Width(), 10);
  EXPECT_EQ(edge.At(0, 0), 0u);
  EXPECT_EQ(edge.At(4, 9), 0u);
  EXPECT_EQ(edge.At(5, 5), gfx::clWhite);
  EXPECT_EQ(edge.At(9, 9), gfx::clWhite);
  const gfx::Bitmap outside = Platform->CaptureScreen(Rect::FromXYWH(5000, 5000, 4, 3));
  EXPECT_EQ(outside, gfx::Bitmap(4, 3, 0));
}

TEST_F(X11Fixture, ExposedPartsAreRepaintedFromTheBackBuffer) {
  auto& w = NewWindow(Rect::FromXYWH(50, 50, 100, 100), nullptr);
  ShowAndWait(w);
  Paint(w, gfx::RGB(10, 200, 30));
  // Another client covers part of it and goes away again.
  const ::Window cover = ForeignWindow(Peer, Rect::FromXYWH(80, 80, 40, 40), 0xFF00FF);
  Pump(*Platform, 30);
  EXPECT_EQ(Platform->CaptureScreen(Rect::FromXYWH(90, 90, 1, 1)).At(0, 0), gfx::RGB(255, 0, 255));
  XDestroyWindow(Peer, cover);
  XSync(Peer, False);
  Pump(*Platform, 50);
  EXPECT_EQ(Platform->CaptureScreen(w.Bounds()), gfx::Bitmap(100, 100, gfx::RGB(10, 200, 30)));
}

TEST_F(X11Fixture, TopmostBandHoldsWithoutAWindowManager) {
  ASSERT_FALSE(Platform->WindowManagerRunning());
  auto& top = NewWindow(Rect::FromXYWH(100, 100, 100, 100), nullptr, plat::WindowKind::Normal, true);
  auto& normal = NewWindow(Rect::FromXYWH(150, 150, 100, 100), nullptr);
  ShowAndWait(top);
  ShowAndWait(normal);
  Paint(top, gfx::clBlue);
  Paint(normal, gfx::clGreen);
  Pump(*Platform, 20);
  // Our own normal window, shown after, stays below.
  EXPECT_GT(StackIndex(Peer, Xid(top)), StackIndex(Peer, Xid(normal)));
  normal.SetZOrder(plat::ZOrder::Top);
  Pump(*Platform, 20);
  EXPECT_GT(StackIndex(Peer, Xid(top)), StackIndex(Peer, Xid(normal)));
  EXPECT_EQ(Platform->CaptureScreen(Rect::FromXYWH(160, 160, 1, 1)).At(0, 0), gfx::clBlue);

  // Another application's window raised afterwards goes under the band too.
  const ::Window other = ForeignWindow(Peer, Rect::FromXYWH(120, 120, 60, 60), 0x00FFFF);
  XRaiseWindow(Peer, other);
  XSync(Peer, False);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return StackIndex(Peer, Xid(top)) > StackIndex(Peer, other); }));
  Pump(*Platform, 20);
  EXPECT_EQ(Platform->CaptureScreen(Rect::FromXYWH(130, 130, 1, 1)).At(0, 0), gfx::clBlue);

  // Out of the band, it is an ordinary window again.
  top.SetZOrder(plat::ZOrder::NoTopMost);
  EXPECT_FALSE(top.TopMost());
  XRaiseWindow(Peer, other);
  XSync(Peer, False);
  Pump(*Platform, 50);
  EXPECT_GT(StackIndex(Peer, other), StackIndex(Peer, Xid(top)));
  // And back in.
  top.SetZOrder(plat::ZOrder::TopMost);
  Pump(*Platform, 20);
  EXPECT_GT(StackIndex(Peer, Xid(top)), StackIndex(Peer, other));
  EXPECT_GT(StackIndex(Peer, Xid(top)), StackIndex(Peer, Xid(normal)));
  // Bottom leaves the band and goes under everything.
  top.SetZOrder(plat::ZOrder::Bottom);
  Pump(*Platform, 20);
  EXPECT_FALSE(top.TopMost());
  EXPECT_LT(StackIndex(Peer, Xid(top)), StackIndex(Peer, Xid(normal)));
}

TEST_F(X11Fixture, ShapedWindowIsTransparentToTheMouseOutsideItsRegion) {
  RecordingListener below, shaped;
  auto& b = NewWindow(Rect::FromXYWH(0, 0, 300, 300), &below);
  // Topmost, so clicks that raise the window below leave the stacking as it is.
  auto& s = NewWindow(Rect::FromXYWH(0, 0, 300, 300), &shaped, plat::WindowKind::Normal, true);
  ShowAndWait(b);
  ShowAndWait(s);
  Paint(b, gfx::clGreen);
  Paint(s, gfx::clRed);
  s.SetRegion(gfx::Region(Rect{0, 0, 100, 100}));
  Pump(*Platform, 30);
  // Drawing is clipped to the region...
  EXPECT_EQ(Platform->CaptureScreen(Rect::FromXYWH(50, 50, 1, 1)).At(0, 0), gfx::clRed);
  EXPECT_EQ(Platform->CaptureScreen(Rect::FromXYWH(200, 200, 1, 1)).At(0, 0), gfx::clGreen);

  // ...and so is the mouse.
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({"xdotool", "mousemove", "200", "200", "click", "1"})), 0);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return !below.Downs.empty(); }));
  EXPECT_TRUE(shaped.Downs.empty());
  EXPECT_EQ(below.Downs[0].Pos, (gfx::Point{200, 200}));
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({"xdotool", "mousemove", "50", "40", "click", "1"})), 0);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return !shaped.Downs.empty(); }));
  EXPECT_EQ(shaped.Downs[0].Pos, (gfx::Point{50, 40}));
  EXPECT_EQ(below.Downs.size(), 1u);

  // Without a region the whole rectangle belongs to the window again.
  // (Each change of shape reaches the server before xdotool starts: under load the click
  // could otherwise overtake it.)
  s.SetRegion(std::nullopt);
  Pump(*Platform, 30);
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({"xdotool", "mousemove", "210", "220", "click", "1"})), 0);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return shaped.Downs.size() == 2; }));
  EXPECT_EQ(below.Downs.size(), 1u);
  // An empty region hides the window from the mouse entirely.
  s.SetRegion(gfx::Region());
  Pump(*Platform, 30);
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({"xdotool", "mousemove", "20", "20", "click", "1"})), 0);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return below.Downs.size() == 2; }));
  EXPECT_EQ(shaped.Downs.size(), 2u);

  // So does an empty size: X has no empty windows, but nothing of it shows or catches clicks.
  s.SetRegion(std::nullopt);
  s.SetBounds(Rect::FromXYWH(20, 20, 0, 0));
  Pump(*Platform, 30);
  EXPECT_EQ(Platform->CaptureScreen(Rect::FromXYWH(20, 20, 1, 1)).At(0, 0), gfx::clGreen);
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({"xdotool", "mousemove", "20", "20", "click", "1"})), 0);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return below.Downs.size() == 3; }));
  s.SetBounds(Rect::FromXYWH(0, 0, 300, 300));
  Paint(s, gfx::clRed);
  Pump(*Platform, 30);
  EXPECT_EQ(Platform->CaptureScreen(Rect::FromXYWH(250, 250, 1, 1)).At(0, 0), gfx::clRed);
}
