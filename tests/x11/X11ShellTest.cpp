// Shell services: the clipboard read by xclip, the notification area, xdg-open, the bell, the
// program's folder and the screen size.
// The toolkit before Xlib, whose macros (None, Bool) its headers would trip over.
#include <gtest/gtest.h>

#include "magnifier/TForm1.h"
#include "toolkit/core/TApplication.h"

#include "X11Fixture.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/extensions/Xrandr.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <poll.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "graphics/ImageFile.h"
#include "platform/x11/X11TrayIcon.h"

using namespace x11test;
using plat::Rect;

namespace {

gfx::Bitmap Noise(int w, int h) {
  gfx::Bitmap b(w, h);
  std::uint32_t s = 12345;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      s = s * 1664525u + 1013904223u;
      b.At(x, y) = (s >> 8) & 0xFFFFFF;
    }
  return b;
}

std::uint32_t BigEndian32(const std::string& s, std::size_t at) {
  return (std::uint32_t(std::uint8_t(s[at])) << 24) | (std::uint32_t(std::uint8_t(s[at + 1])) << 16) |
         (std::uint32_t(std::uint8_t(s[at + 2])) << 8) | std::uint32_t(std::uint8_t(s[at + 3]));
}

std::string Xclip(X11Fixture* , XvfbServer& server, plat::X11Platform& p, const std::string& target) {
  const std::string out = TempPath("clip-" + std::to_string(std::hash<std::string>{}(target)));
  const pid_t pid = server.Spawn({"xclip", "-selection", "clipboard", "-t", target, "-o"}, out);
  const int status = PumpUntilExit(p, pid, 15000);
  std::string data = ReadFile(out);
  unlink(out.c_str());
  return status == 0 ? data : "";
}

struct TrayRecorder : plat::TrayIconListener {
  std::vector<plat::Point> Downs, Ups, Doubles;
  void OnTrayMouseDown(plat::MouseButton, plat::Point p) override { Downs.push_back(p); }
  void OnTrayMouseUp(plat::MouseButton, plat::Point p) override { Ups.push_back(p); }
  void OnTrayDoubleClick(plat::MouseButton, plat::Point p) override { Doubles.push_back(p); }
};

// A clipboard manager on its own connection and thread: on SAVE_TARGETS it fetches the PNG
// from the owner, as real managers do, and confirms.
class FakeClipboardManager {
 public:
  explicit FakeClipboardManager(const std::string& display) : FThread([this, display] { Run(display); }) {
    for (int i = 0; i < 500 && !FReady; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ~FakeClipboardManager() { FThread.join(); }
  bool Ready() const { return FReady; }
  std::string Saved() {
    FThread.join();
    FThread = std::thread([] {});
    return FSaved;
  }

 private:
  bool Next(Display* d, XEvent& ev) {
    for (int i = 0; i < 100; ++i) {
      if (XPending(d)) {
        XNextEvent(d, &ev);
        return true;
      }
      pollfd p{ConnectionNumber(d), POLLIN, 0};
      poll(&p, 1, 50);
    }
    return false;
  }
  void Run(const std::string& display) {
    Display* d = XOpenDisplay(display.c_str());
    if (!d) return;
    const ::Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    const Atom manager = XInternAtom(d, "CLIPBOARD_MANAGER", False);
    const Atom save = XInternAtom(d, "SAVE_TARGETS", False);
    const Atom got = XInternAtom(d, "GOT", False);
    XSetSelectionOwner(d, manager, w, CurrentTime);
    XSync(d, False);
    FReady = true;
    XEvent ev;
    while (Next(d, ev)) {
      if (ev.type != SelectionRequest || ev.xselectionrequest.target != save) continue;
      const XSelectionRequestEvent req = ev.xselectionrequest;
      XConvertSelection(d, XInternAtom(d, "CLIPBOARD", False), XInternAtom(d, "image/png", False), got, w, CurrentTime);
      while (Next(d, ev) && ev.type != SelectionNotify) {
      }
      Atom type;
      int format;
      unsigned long n, after;
      unsigned char* data = nullptr;
      if (XGetWindowProperty(d, w, got, 0, 1 << 20, True, AnyPropertyType, &type, &format, &n, &after, &data) ==
              Success && data) {
        FSaved.assign(reinterpret_cast<char*>(data), n);
        XFree(data);
      }
      XEvent reply{};
      reply.xselection.type = SelectionNotify;
      reply.xselection.requestor = req.requestor;
      reply.xselection.selection = req.selection;
      reply.xselection.target = req.target;
      reply.xselection.property = req.property;
      reply.xselection.time = req.time;
      XSendEvent(d, req.requestor, False, NoEventMask, &reply);
      XSync(d, False);
      break;
    }
    XCloseDisplay(d);
  }

  std::atomic<bool> FReady{false};
  std::string FSaved;
  std::thread FThread;
};

}  // namespace

TEST_F(X11Fixture, ClipboardOutlivesTheProgramThroughAClipboardManager) {
  // Nobody to hand over to: returns at once.
  Platform->SetClipboardBitmap(Noise(20, 10));
  EXPECT_FALSE(Platform->HandOverClipboard(2000));
  FakeClipboardManager manager(Server->Name());
  ASSERT_TRUE(manager.Ready());
  EXPECT_TRUE(Platform->HandOverClipboard(3000));
  EXPECT_EQ(manager.Saved(), std::string(reinterpret_cast<const char*>(gfx::WritePng(Noise(20, 10)).data()),
                                         gfx::WritePng(Noise(20, 10)).size()));
}

TEST_F(X11Fixture, TheLensCopiesItsPictureThatXclipPastesAsPng) {
  // A window red left of x = 300 and blue from there on; the pointer on its first blue column.
  plat::NativeWindow& w = NewWindow(Rect::FromXYWH(200, 100, 200, 200), nullptr);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x) w.BackBuffer().At(x, y) = x < 100 ? gfx::RGB(255, 0, 0) : gfx::RGB(0, 0, 255);
  w.Present(w.BackBuffer().Bounds());
  ShowAndWait(w);
  Platform->SetCursorPos({300, 200});
  plat::Platform::SetCurrent(Platform.get());
  gfx::Bitmap picture;
  std::string png;
  {
    TApplication app;
    TForm1* lens = app.CreateForm<TForm1>();
    lens->Timer1Timer(nullptr);
    lens->Copy1Click(nullptr);
    picture = lens->Image1->Picture();
    png = Xclip(this, *Server, *Platform, "image/png");
  }
  plat::Platform::SetCurrent(nullptr);
  // At factor 2 the capture starts 62 pixels left of the pointer (12 to put it under the
  // marker, 50 for half the capture), so picture columns 0 .. 123 are red, 124 on blue.
  ASSERT_EQ(picture.Width(), 200);
  ASSERT_EQ(picture.Height(), 200);
  EXPECT_EQ(picture.At(123, 100), gfx::RGB(255, 0, 0));
  EXPECT_EQ(picture.At(124, 100), gfx::RGB(0, 0, 255));
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(gfx::ReadPng(std::span(reinterpret_cast<const std::uint8_t*>(png.data()), png.size())), picture);
}

TEST_F(X11Fixture, ClipboardServesPngAndBmpThatXclipReadsBack) {
  // Large enough for the INCR protocol in both formats.
  const gfx::Bitmap big = Noise(640, 480);
  Platform->SetClipboardBitmap(big);
  EXPECT_TRUE(Platform->ClipboardOwned());

  const std::string targets = Xclip(this, *Server, *Platform, "TARGETS");
  EXPECT_NE(targets.find("image/png"), std::string::npos) << targets;
  EXPECT_NE(targets.find("image/bmp"), std::string::npos) << targets;

  const std::string png = Xclip(this, *Server, *Platform, "image/png");
  ASSERT_GT(png.size(), 33u);
  EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  EXPECT_EQ(png.substr(12, 4), "IHDR");
  EXPECT_EQ(BigEndian32(png, 16), 640u);
  EXPECT_EQ(BigEndian32(png, 20), 480u);
  EXPECT_EQ(gfx::ReadPng(std::span(reinterpret_cast<const std::uint8_t*>(png.data()), png.size())), big);

  // The BMP decodes to exactly the pixels copied.
  const std::string bmp = Xclip(this, *Server, *Platform, "image/bmp");
  ASSERT_GT(bmp.size(), 640u * 480u * 3u);
  const gfx::Bitmap back = gfx::ReadBmp(std::span(reinterpret_cast<const std::uint8_t*>(bmp.data()), bmp.size()));
  EXPECT_EQ(back, big);

  // A small image goes out in one piece.
  const gfx::Bitmap small = Noise(7, 5);
  Platform->SetClipboardBitmap(small);
  const std::string smallBmp = Xclip(this, *Server, *Platform, "image/bmp");
  ASSERT_FALSE(smallBmp.empty());
  EXPECT_EQ(gfx::ReadBmp(std::span(reinterpret_cast<const std::uint8_t*>(smallBmp.data()), smallBmp.size())), small);
  // Targets we do not have are refused.
  EXPECT_EQ(Xclip(this, *Server, *Platform, "text/plain"), "");

  // Text replaces the picture: offered as UTF-8 (and STRING only while it is plain ASCII).
  Platform->SetClipboardText("-16300");
  // xclip lists one target a line.
  auto offers = [](const std::string& list, const std::string& t) {
    std::istringstream lines(list);
    for (std::string line; std::getline(lines, line);)
      if (line == t) return true;
    return false;
  };
  std::string textTargets = Xclip(this, *Server, *Platform, "TARGETS");
  for (const char* t : {"UTF8_STRING", "text/plain", "text/plain;charset=utf-8", "STRING"})
    EXPECT_TRUE(offers(textTargets, t)) << t << " in " << textTargets;
  EXPECT_FALSE(offers(textTargets, "image/png")) << textTargets;
  EXPECT_EQ(Xclip(this, *Server, *Platform, "UTF8_STRING"), "-16300");
  EXPECT_EQ(Xclip(this, *Server, *Platform, "text/plain"), "-16300");
  EXPECT_EQ(Xclip(this, *Server, *Platform, "image/png"), "");
  Platform->SetClipboardText("12,5 \xC2\xB5m");
  textTargets = Xclip(this, *Server, *Platform, "TARGETS");
  EXPECT_FALSE(offers(textTargets, "STRING")) << textTargets;
  EXPECT_TRUE(offers(textTargets, "UTF8_STRING")) << textTargets;
  EXPECT_EQ(Xclip(this, *Server, *Platform, "UTF8_STRING"), "12,5 \xC2\xB5m");

  // Another client taking the clipboard ends our ownership.
  Window other = XCreateSimpleWindow(Peer, DefaultRootWindow(Peer), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(Peer, XInternAtom(Peer, "CLIPBOARD", False), other, CurrentTime);
  XSync(Peer, False);
  EXPECT_TRUE(PumpUntil(*Platform, [&] { return !Platform->ClipboardOwned(); }));
}

TEST_F(X11Fixture, ClipboardTextIsReadFromAnotherOwnerAndFromOurOwnCopy) {
  EXPECT_EQ(Platform->ClipboardText(), std::nullopt) << "nobody owns the clipboard yet";
  const Atom clipboard = XInternAtom(Peer, "CLIPBOARD", False);
  // xclip takes the clipboard and serves it from the background. Short text comes in one
  // piece; 3 MB is more than xclip sends at once (its chunk is a quarter of the server's
  // largest request), so it comes through INCR.
  std::string big(3 << 20, ' ');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = char('a' + (i * 7) % 26);
  for (const std::string& text : {std::string("12,5 \xC2\xB5m"), big}) {
    const std::string file = TempPath("paste");
    std::ofstream(file, std::ios::binary) << text;
    XSetSelectionOwner(Peer, clipboard, None, CurrentTime);
    XSync(Peer, False);
    ASSERT_EQ(PumpUntilExit(*Platform, Server->Spawn({"xclip", "-selection", "clipboard", "-i", file})), 0)
        << "xclip is needed (package xclip)";
    ASSERT_TRUE(PumpUntil(*Platform, [&] { return XGetSelectionOwner(Peer, clipboard) != None; }));
    const std::optional<std::string> got = Platform->ClipboardText();
    ASSERT_TRUE(got.has_value()) << text.size() << " bytes";
    EXPECT_TRUE(*got == text) << got->size() << " bytes of " << text.size();
    unlink(file.c_str());
  }
  // Our own copy is answered from our data (asking the server would wait for ourselves); a
  // picture is no text.
  Platform->SetClipboardText("-16300");
  EXPECT_EQ(Platform->ClipboardText(), "-16300");
  Platform->SetClipboardBitmap(Noise(2, 2));
  EXPECT_EQ(Platform->ClipboardText(), std::nullopt);
  // An owner that never answers: the wait is bounded.
  const Window mute = XCreateSimpleWindow(Peer, DefaultRootWindow(Peer), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(Peer, clipboard, mute, CurrentTime);
  XSync(Peer, False);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return !Platform->ClipboardOwned(); }));
  EXPECT_EQ(Platform->ClipboardText(), std::nullopt);
}

TEST_F(X11Fixture, NotificationAreaIconDocksThroughXEmbed) {
  // No tray: nothing to dock into.
  EXPECT_FALSE(Platform->TrayAvailable());
  EXPECT_EQ(Platform->CreateTrayIcon(nullptr), nullptr);

  // A minimal tray on the second connection.
  const Atom selection = XInternAtom(Peer, "_NET_SYSTEM_TRAY_S0", False);
  const Atom opcode = XInternAtom(Peer, "_NET_SYSTEM_TRAY_OPCODE", False);
  const ::Window tray = XCreateSimpleWindow(Peer, DefaultRootWindow(Peer), 500, 0, 100, 30, 0, 0, 0x808080);
  XSelectInput(Peer, tray, SubstructureNotifyMask);
  XMapWindow(Peer, tray);
  XSetSelectionOwner(Peer, selection, tray, CurrentTime);
  XSync(Peer, False);
  EXPECT_TRUE(Platform->TrayAvailable());

  TrayRecorder rec;
  std::unique_ptr<plat::TrayIcon> icon = Platform->CreateTrayIcon(&rec);
  ASSERT_NE(icon, nullptr);
  icon->SetIcon(gfx::Bitmap(16, 16, gfx::clYellow));
  icon->SetTip("Vantrel");
  Pump(*Platform, 30);

  // The dock request names the icon window, which describes itself with _XEMBED_INFO.
  ::Window docked = None;
  ASSERT_TRUE(PumpUntil(*Platform, [&] {
    while (XPending(Peer)) {
      XEvent ev;
      XNextEvent(Peer, &ev);
      if (ev.type == ClientMessage && ev.xclient.message_type == opcode && ev.xclient.data.l[1] == 0)
        docked = ::Window(ev.xclient.data.l[2]);
    }
    return docked != None;
  }));
  Atom type;
  int format;
  unsigned long n, after;
  unsigned char* data = nullptr;
  const Atom info = XInternAtom(Peer, "_XEMBED_INFO", False);
  ASSERT_EQ(XGetWindowProperty(Peer, docked, info, 0, 2, False, info, &type, &format, &n, &after, &data), Success);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(n, 2u);
  EXPECT_EQ(reinterpret_cast<long*>(data)[1] & 1, 1);  // wants to be mapped
  XFree(data);

  // Embed it as a tray does: reparent, size, map.
  XReparentWindow(Peer, docked, tray, 4, 4);
  XResizeWindow(Peer, docked, 22, 22);
  XMapWindow(Peer, docked);
  XSync(Peer, False);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return icon->Visible(); }));
  Pump(*Platform, 30);
  // 22 is no whole multiple of 16: the icon keeps its own pixels, centred on the tray's grey.
  gfx::Bitmap expected(22, 22, 0x808080);
  for (int y = 3; y < 19; ++y)
    for (int x = 3; x < 19; ++x) expected.At(x, y) = gfx::clYellow;
  EXPECT_EQ(Platform->CaptureScreen(Rect::FromXYWH(504, 4, 22, 22)), expected);

  // Resting the pointer on it shows the tip, drawn by us, below the pointer.
  const auto& tip = dynamic_cast<plat::X11TrayIcon&>(*icon).Tip();
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({"xdotool", "mousemove", "512", "12"})), 0);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return tip.Window() && tip.Window()->Visible(); }));
  Pump(*Platform, 50);
  const Rect tipBounds = tip.Window()->Bounds();
  EXPECT_EQ(tipBounds.top, 12 + plat::X11TrayTip::kPointerGap);
  EXPECT_GT(tipBounds.Width(), 10);
  EXPECT_EQ(Platform->CaptureScreen(tipBounds), tip.Window()->BackBuffer());
  EXPECT_EQ(tip.Window()->BackBuffer().At(2, 1), gfx::GetSysColor(gfx::COLOR_INFOBK));
  int inked = 0;  // the text is there
  const gfx::Bitmap& tipPixels = tip.Window()->BackBuffer();
  for (int y = 2; y < tipPixels.Height() - 2; ++y)
    for (int x = 2; x < tipPixels.Width() - 2; ++x) inked += tipPixels.At(x, y) != gfx::GetSysColor(gfx::COLOR_INFOBK);
  EXPECT_GT(inked, 20);

  // Its mouse messages reach the listener in screen coordinates; a click hides the tip.
  EXPECT_EQ(PumpUntilExit(*Platform, Server->Spawn({"xdotool", "mousemove", "510", "10", "click", "--repeat", "2",
                                                    "--delay", "60", "1"})),
            0);
  ASSERT_TRUE(PumpUntil(*Platform, [&] { return rec.Ups.size() == 2; }));
  ASSERT_EQ(rec.Downs.size(), 1u);
  EXPECT_EQ(rec.Downs[0], (plat::Point{510, 10}));
  EXPECT_EQ(rec.Doubles.size(), 1u);
  EXPECT_FALSE(tip.Window()->Visible());

  // The tray going away hands the icon back to the root; it hides instead of floating there.
  XReparentWindow(Peer, docked, DefaultRootWindow(Peer), 0, 0);
  XSync(Peer, False);
  EXPECT_TRUE(PumpUntil(*Platform, [&] { return !icon->Visible(); }));
  EXPECT_EQ(MapState(Peer, docked), IsUnmapped);

  // A tray that starts later announces itself with MANAGER; the icon asks to dock again.
  const ::Window tray2 = XCreateSimpleWindow(Peer, DefaultRootWindow(Peer), 0, 0, 10, 10, 0, 0, 0);
  XSetSelectionOwner(Peer, selection, tray2, CurrentTime);
  XEvent manager{};
  manager.xclient.type = ClientMessage;
  manager.xclient.window = DefaultRootWindow(Peer);
  manager.xclient.message_type = XInternAtom(Peer, "MANAGER", False);
  manager.xclient.format = 32;
  manager.xclient.data.l[1] = long(selection);
  manager.xclient.data.l[2] = long(tray2);
  XSendEvent(Peer, DefaultRootWindow(Peer), False, StructureNotifyMask, &manager);
  XSync(Peer, False);
  ::Window redocked = None;
  EXPECT_TRUE(PumpUntil(*Platform, [&] {
    while (XPending(Peer)) {
      XEvent ev;
      XNextEvent(Peer, &ev);
      if (ev.type == ClientMessage && ev.xclient.message_type == opcode && ev.xclient.window == tray2)
        redocked = ::Window(ev.xclient.data.l[2]);
    }
    return redocked != None;
  }));
  EXPECT_EQ(redocked, docked);
  icon.reset();
}

namespace {

// A stand-in xdg-open, first on the PATH while it lives, that records its arguments one a line.
class FakeXdgOpen {
 public:
  FakeXdgOpen() : FDir(TempPath("bin")), FOldPath(getenv("PATH") ? getenv("PATH") : "") {
    mkdir(FDir.c_str(), 0700);
    {
      std::ofstream script(FDir + "/xdg-open");
      script << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" << Log() << "'; done\n";
    }
    chmod((FDir + "/xdg-open").c_str(), 0700);
    setenv("PATH", (FDir + ":" + FOldPath).c_str(), 1);
  }
  ~FakeXdgOpen() {
    setenv("PATH", FOldPath.c_str(), 1);
    std::system(("rm -rf '" + FDir + "'").c_str());
  }
  const std::string& Dir() const { return FDir; }
  std::string Log() const { return FDir + "/args"; }

 private:
  std::string FDir;
  std::string FOldPath;
};

}  // namespace

TEST_F(X11Fixture, ShellOpenStartsXdgOpenWithTheTargetAsOneArgument) {
  FakeXdgOpen xdg;
  const std::string tricky = "https://example.org/a b?x=1;touch " + xdg.Dir() + "/pwned";
  Platform->ShellOpen(tricky);
  EXPECT_TRUE(PumpUntil(*Platform, [&] {
    Platform->ProcessEvents(false);  // reaps the child
    return Platform->Launcher().Running() == 0;
  }));
  EXPECT_EQ(ReadFile(xdg.Log()), tricky + "\n");
  EXPECT_NE(access((xdg.Dir() + "/pwned").c_str(), F_OK), 0);

  // Without xdg-open anywhere nothing breaks.
  setenv("PATH", "/nonexistent", 1);
  Platform->ShellOpen("file.txt");
  EXPECT_EQ(Platform->Launcher().Running(), 0u);
  EXPECT_TRUE(Platform->ProcessEvents(false));
}

TEST_F(X11Fixture, BeepRingsTheServersBell) {
  // XKB tells every client that asks when any client rings the bell.
  int opcode = 0, xkbEvent = 0, xkbError = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
  ASSERT_TRUE(XkbQueryExtension(Peer, &opcode, &xkbEvent, &xkbError, &major, &minor));
  ASSERT_TRUE(XkbSelectEvents(Peer, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask));
  XSync(Peer, False);
  auto bells = [&] {
    int n = 0;
    while (XPending(Peer) > 0) {
      XEvent ev;
      XNextEvent(Peer, &ev);
      if (ev.type == xkbEvent && reinterpret_cast<XkbAnyEvent*>(&ev)->xkb_type == XkbBellNotify) ++n;
    }
    return n;
  };
  EXPECT_EQ(bells(), 0);
  Platform->Beep();
  int rung = 0;
  EXPECT_TRUE(PumpUntil(*Platform, [&] {
    XSync(Peer, False);
    rung += bells();
    return rung > 0;
  }));
  EXPECT_EQ(rung, 1);
  // A named sound never takes the connection down with it.
  Platform->PlaySystemSound("SystemAsterisk");
  Platform->PlaySystemSound("");
  EXPECT_TRUE(Platform->ProcessEvents(false));
  EXPECT_FALSE(Platform->Connection().ConnectionLost());
}

TEST_F(X11Fixture, ExecutableDirIsTheProgramsOwnFolder) {
  const std::string exeDir = Platform->ExecutableDir();
  ASSERT_FALSE(exeDir.empty());
  EXPECT_EQ(exeDir.back(), '/');
  EXPECT_EQ(access((exeDir + "test_x11").c_str(), X_OK), 0);
}

TEST_F(X11Fixture, ScreenSizeFollowsThePrimaryMonitor) {
  EXPECT_EQ(Platform->ScreenSize(), (gfx::Size{1024, 768}));
  EXPECT_EQ(Platform->ScreenDepth(), 24);
  // The screen size comes from the primary monitor, and a change is noticed: switch the
  // only monitor off and shrink the screen.
  const ::Window root = DefaultRootWindow(Peer);
  XRRScreenResources* res = XRRGetScreenResourcesCurrent(Peer, root);
  ASSERT_NE(res, nullptr);
  ASSERT_GE(res->noutput, 1);
  ASSERT_GE(res->ncrtc, 1);
  XRRSetOutputPrimary(Peer, root, res->outputs[0]);
  XSync(Peer, False);
  Pump(*Platform, 30);
  EXPECT_EQ(Platform->ScreenSize(), (gfx::Size{1024, 768}));
  XRRSetCrtcConfig(Peer, res, res->crtcs[0], CurrentTime, 0, 0, None, RR_Rotate_0, nullptr, 0);
  XRRFreeScreenResources(res);
  XRRSetScreenSize(Peer, root, 800, 600, 200, 150);
  XSync(Peer, False);
  EXPECT_TRUE(PumpUntil(*Platform, [&] { return Platform->ScreenSize() == gfx::Size{800, 600}; }));
  EXPECT_EQ(Platform->CaptureScreen(Rect::FromXYWH(790, 590, 20, 20)).At(15, 15), 0u);
  EXPECT_EQ(Platform->ScreenDepth(), 24);
}
