#pragma once
// Every X11 test runs against its own Xvfb, with the backend connected to it and a second,
// plain connection for looking at what the server really holds.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "X11TestSupport.h"
#include "XvfbServer.h"
#include "platform/x11/X11Platform.h"
#include "platform/x11/X11Window.h"

namespace x11test {

class X11Fixture : public ::testing::Test {
 protected:
  void SetUp() override {
    try {
      const gfx::Size screen = ServerScreen();
      Server = std::make_unique<XvfbServer>(screen.cx, screen.cy);
    } catch (const std::exception& e) {
      FAIL() << e.what();
    }
    Platform = plat::X11Platform::Open(Server->Name().c_str());
    ASSERT_NE(Platform, nullptr) << "cannot connect to " << Server->Name();
    Peer = XOpenDisplay(Server->Name().c_str());
    ASSERT_NE(Peer, nullptr);
  }
  // The server's screen; a fixture for a wider desk says more.
  virtual gfx::Size ServerScreen() const { return {1024, 768}; }
  void TearDown() override {
    Windows.clear();
    Platform.reset();
    if (Peer) XCloseDisplay(Peer);
    Server.reset();
  }

  plat::NativeWindow& NewWindow(const plat::Rect& bounds, plat::WindowListener* listener,
                                plat::WindowKind kind = plat::WindowKind::Normal, bool topMost = false) {
    plat::WindowParams p;
    p.Title = "test";
    p.Bounds = bounds;
    p.Kind = kind;
    p.TopMost = topMost;
    Windows.push_back(Platform->CreateWindow(p, listener));
    XSync(Platform->Connection().Dpy(), False);  // so the second connection can see it
    return *Windows.back();
  }
  static ::Window Xid(const plat::NativeWindow& w) { return plat::X11Window::HandleOf(w); }
  void ShowAndWait(plat::NativeWindow& w, bool activate = false) {
    w.Show(activate);
    // Viewable on the server, and the backend has seen the map too.
    ASSERT_TRUE(PumpUntil(*Platform, [&] {
      return MapState(Peer, Xid(w)) == IsViewable && dynamic_cast<plat::X11Window&>(w).Mapped();
    }));
    Pump(*Platform, 30);  // let the Expose that follows the map arrive
  }
  // Fills the back buffer with COLOR and pushes it.
  static void Paint(plat::NativeWindow& w, gfx::TColor color) {
    w.BackBuffer().Fill(color);
    w.Present(w.BackBuffer().Bounds());
  }

  std::unique_ptr<XvfbServer> Server;
  std::unique_ptr<plat::X11Platform> Platform;
  Display* Peer = nullptr;
  std::vector<std::unique_ptr<plat::NativeWindow>> Windows;
};

}  // namespace x11test
