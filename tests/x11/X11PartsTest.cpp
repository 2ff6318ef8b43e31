// The backend's pieces that need no server: key translation, the timer queue, pixel formats,
// telling XWayland, and the screenshot portal's paths and files.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include "platform/x11/X11Keys.h"
#include "platform/x11/X11Platform.h"
#include "platform/x11/X11PixelFormat.h"
#include "platform/x11/X11TimerQueue.h"
#include "platform/x11/X11XWayland.h"
#ifdef VANTREL_HAVE_PORTAL
#include "platform/portal/ScreenshotPortal.h"
#endif

using namespace plat;

TEST(X11Keys, KeySymsMapToClassicVirtualKeysAndBack) {
  EXPECT_EQ(X11Keys::VirtualKeyOf(XK_a), 'A');
  EXPECT_EQ(X11Keys::VirtualKeyOf(XK_Z), 'Z');
  EXPECT_EQ(X11Keys::VirtualKeyOf(XK_0), '0');
  EXPECT_EQ(X11Keys::VirtualKeyOf(XK_KP_5), 0x65);
  EXPECT_EQ(X11Keys::VirtualKeyOf(XK_KP_Left), VK_LEFT);
  EXPECT_EQ(X11Keys::VirtualKeyOf(XK_KP_Enter), VK_RETURN);
  EXPECT_EQ(X11Keys::VirtualKeyOf(XK_ISO_Left_Tab), VK_TAB);
  EXPECT_EQ(X11Keys::VirtualKeyOf(XK_F12), VK_F12);
  EXPECT_EQ(X11Keys::VirtualKeyOf(XK_Shift_R), VK_SHIFT);
  EXPECT_EQ(X11Keys::VirtualKeyOf(XK_Control_L), VK_CONTROL);
  EXPECT_EQ(X11Keys::VirtualKeyOf(XK_Alt_R), VK_MENU);
  EXPECT_EQ(X11Keys::VirtualKeyOf(XK_minus), 0xBD);
  EXPECT_EQ(X11Keys::VirtualKeyOf(XK_dead_acute), 0);  // keys without a code are left out
  // The shared table writes key symbols as numbers: each named one must have its code.
  for (KeySym ks : {XK_BackSpace, XK_Tab, XK_Return, XK_Shift_L, XK_Control_R, XK_Meta_L, XK_Meta_R,
                    XK_ISO_Level3_Shift, XK_Pause, XK_Caps_Lock, XK_Escape, XK_space, XK_KP_Space, XK_Prior,
                    XK_KP_Prior, XK_Next, XK_KP_Next, XK_End, XK_KP_End, XK_Home, XK_KP_Home, XK_Left, XK_Up,
                    XK_KP_Up, XK_Right, XK_KP_Right, XK_Down, XK_KP_Down, XK_Insert, XK_KP_Insert, XK_Delete,
                    XK_KP_Delete, XK_Menu, XK_Print, XK_Super_L, XK_Num_Lock, XK_Scroll_Lock, XK_KP_Multiply,
                    XK_KP_Add, XK_KP_Subtract, XK_KP_Decimal, XK_KP_Divide, XK_semicolon, XK_equal, XK_comma,
                    XK_period, XK_slash, XK_grave, XK_bracketleft, XK_backslash, XK_bracketright, XK_apostrophe,
                    XK_KP_0, XK_KP_9, XK_F1, XK_F24})
    EXPECT_NE(X11Keys::VirtualKeyOf(ks), 0) << std::hex << ks;

  // Every key the program asks about can be looked up again.
  for (int vk : {int(VK_SHIFT), int(VK_CONTROL), int(VK_MENU), int(VK_LEFT), int(VK_PRIOR), int(VK_ESCAPE), int('Q'), int('4'),
                 int(VK_F5)}) {
    const auto syms = X11Keys::KeySymsOf(vk);
    ASSERT_FALSE(syms.empty()) << vk;
    for (KeySym ks : syms) EXPECT_EQ(X11Keys::VirtualKeyOf(ks), vk) << vk;
  }
  EXPECT_TRUE(X11Keys::KeySymsOf(0x07).empty());

  EXPECT_EQ(X11Keys::ShiftOf(ShiftMask | ControlMask | Mod1Mask), ssShift | ssCtrl | ssAlt);
  EXPECT_EQ(X11Keys::ShiftOf(Button1Mask | Button2Mask | Button3Mask), ssLeft | ssMiddle | ssRight);
  EXPECT_EQ(X11Keys::ShiftOf(Mod2Mask | LockMask), 0);  // Num Lock and Caps Lock are not shift state

  // Text: characters as UTF-8, control characters kept, Delete dropped.
  EXPECT_EQ(X11Keys::TextOf(XK_eacute, "\xe9", 1), "\xc3\xa9");
  EXPECT_EQ(X11Keys::TextOf(0x01000000 + 0x20AC, "", 0), "\xe2\x82\xac");  // the euro sign
  EXPECT_EQ(X11Keys::TextOf(XK_Return, "\r", 1), "\r");
  EXPECT_EQ(X11Keys::TextOf(XK_c, "\x03", 1), "\x03");
  EXPECT_EQ(X11Keys::TextOf(XK_Delete, "\x7f", 1), "");
  EXPECT_EQ(X11Keys::TextOf(XK_Left, "", 0), "");
}

TEST(X11TimerQueue, TimersFireInOrderOnceAPassAndSurviveChangesFromCallbacks) {
  X11TimerQueue q;
  std::vector<int> fired;
  EXPECT_EQ(q.TimeoutMs(0), -1);
  const auto a = q.Start(100, [&] { fired.push_back(1); }, 0);
  q.Start(30, [&] { fired.push_back(2); }, 0);
  EXPECT_EQ(q.TimeoutMs(0), 30);
  EXPECT_EQ(q.TimeoutMs(25), 5);
  EXPECT_FALSE(q.FireDue(29));
  // Long overdue: each timer still fires once, the earliest due first.
  EXPECT_TRUE(q.FireDue(1000));
  EXPECT_EQ(fired, (std::vector<int>{2, 1}));
  EXPECT_EQ(q.TimeoutMs(1000), 30);  // rescheduled from now, no burst of catch-up ticks
  q.Stop(a);
  fired.clear();
  q.FireDue(5000);
  EXPECT_EQ(fired, (std::vector<int>{2}));

  // A callback that stops another due timer keeps it from firing; one that starts a timer
  // does not see it fire in the same pass.
  X11TimerQueue r;
  std::vector<int> order;
  X11TimerQueue::Id second = 0;
  r.Start(10, [&] {
    order.push_back(1);
    r.Stop(second);
    r.Start(10, [&] { order.push_back(3); }, 20);
  }, 0);
  second = r.Start(15, [&] { order.push_back(2); }, 0);
  r.FireDue(20);
  EXPECT_EQ(order, (std::vector<int>{1}));
  // Intervals below the minimum are raised to it.
  X11TimerQueue s;
  s.Start(0, [] {}, 0);
  EXPECT_EQ(s.TimeoutMs(0), int(X11TimerQueue::kMinimumIntervalMs));
}

TEST(X11TimerQueue, TimersOfOneIntervalDueTogetherShareTheirWakeUps) {
  // Two 55 ms ticks started 20 ms apart (due 55 and 75), and a 100 ms one (due 100).
  X11TimerQueue q;
  std::vector<int> fired;
  q.Start(55, [&] { fired.push_back(1); }, 0);
  q.Start(55, [&] { fired.push_back(2); }, 20);
  q.Start(100, [&] { fired.push_back(3); }, 0);
  EXPECT_TRUE(q.FireDue(55));  // the second is 20 ms off, within half an interval: it joins
  EXPECT_EQ(fired, (std::vector<int>{1, 2}));
  EXPECT_EQ(q.TimeoutMs(55), 45);  // the 100 ms one keeps its own time
  fired.clear();
  EXPECT_TRUE(q.FireDue(100));
  EXPECT_EQ(fired, (std::vector<int>{3}));
  fired.clear();
  EXPECT_TRUE(q.FireDue(110));  // both 55 ms ticks again, in one pass
  EXPECT_EQ(fired, (std::vector<int>{1, 2}));
}

TEST(X11TimerQueue, IdleTimersSleepThroughTheirToleranceUntilInputComes) {
  // The strip's tick (55 ms, may sleep 1000 ms more) and a 300 ms timer that may not.
  X11TimerQueue q;
  std::vector<int> fired;
  const auto strip = q.Start(55, [&] { fired.push_back(1); }, 0);
  const auto other = q.Start(300, [&] { fired.push_back(2); }, 0);
  q.SetIdleTolerance(strip, 1000);
  EXPECT_EQ(q.TimeoutMs(0), 55);
  EXPECT_EQ(q.TimeoutMs(0, true), 300);  // the other one wakes the loop first
  q.Stop(other);
  EXPECT_EQ(q.TimeoutMs(0, true), 1055);
  // Whatever woke the loop, a due tick fires, and is then due 55 ms on (1055 more idle).
  EXPECT_TRUE(q.FireDue(400));
  EXPECT_EQ(fired, (std::vector<int>{1}));
  EXPECT_EQ(q.TimeoutMs(400, true), 1055);
  // Input owes the tick one on time, idle or not; after that it may sleep again.
  q.NoteInput();
  EXPECT_EQ(q.TimeoutMs(420, true), 35);
  EXPECT_TRUE(q.FireDue(455));
  EXPECT_EQ(q.TimeoutMs(455, true), 1055);
  // A new tolerance leaves the rhythm alone: due at 510 either way.
  q.SetIdleTolerance(strip, 200);
  EXPECT_EQ(q.TimeoutMs(455, true), 255);
  q.SetIdleTolerance(strip, 0);
  EXPECT_EQ(q.TimeoutMs(455, true), 55);
}

TEST(X11PixelFormat, ConvertsBetweenOurColoursAndVisualPixels) {
  const X11PixelFormat rgb888(0xFF0000, 0x00FF00, 0x0000FF);
  EXPECT_EQ(rgb888.ToPixel(gfx::RGB(0x12, 0x34, 0x56)), 0x123456u);
  EXPECT_EQ(rgb888.FromPixel(0x123456), gfx::RGB(0x12, 0x34, 0x56));
  const X11PixelFormat bgr888(0x0000FF, 0x00FF00, 0xFF0000);
  EXPECT_EQ(bgr888.ToPixel(gfx::RGB(0x12, 0x34, 0x56)), 0x563412u);
  EXPECT_EQ(bgr888.FromPixel(0x563412), gfx::RGB(0x12, 0x34, 0x56));
  // 16-bit 5-6-5: full intensity survives the round trip, low bits are lost.
  const X11PixelFormat rgb565(0xF800, 0x07E0, 0x001F);
  EXPECT_EQ(rgb565.ToPixel(gfx::clWhite), 0xFFFFu);
  EXPECT_EQ(rgb565.FromPixel(0xFFFF), gfx::clWhite);
  EXPECT_EQ(rgb565.ToPixel(gfx::clRed), 0xF800u);
  EXPECT_EQ(rgb565.FromPixel(0x07E0), gfx::clLime);
  EXPECT_EQ(rgb565.FromPixel(0), gfx::clBlack);
}

TEST(X11Platform, OpeningADisplayThatIsNotThereGivesNothing) {
  // No server listens on this number: the program then explains that it needs a display.
  EXPECT_EQ(X11Platform::Open(":4321"), nullptr);
}

TEST(X11XWayland, ToldByItsExtensionOrItsOutputNames) {
  using Names = std::vector<std::string>;
  EXPECT_TRUE(LooksLikeXWayland({"XWAYLAND0"}, false));
  EXPECT_TRUE(LooksLikeXWayland({"DP-1", "XWAYLAND12"}, false));
  EXPECT_TRUE(LooksLikeXWayland(Names{}, true));
  EXPECT_FALSE(LooksLikeXWayland({"screen", "eDP-1", "HDMI-A-1", "xwayland0", "MY-XWAYLAND"}, false));
  EXPECT_FALSE(LooksLikeXWayland(Names{}, false));
}

#ifdef VANTREL_HAVE_PORTAL
TEST(ScreenshotPortal, RequestPathsFileUrisAndWhichFilesMayGo) {
  EXPECT_EQ(PortalRequestPath(":1.42", "vantrel1"), "/org/freedesktop/portal/desktop/request/1_42/vantrel1");
  EXPECT_EQ(PortalRequestPath(":12.3.4", "t"), "/org/freedesktop/portal/desktop/request/12_3_4/t");
  EXPECT_EQ(FileOfUri("file:///tmp/Screenshot%20from%202024.png"), "/tmp/Screenshot from 2024.png");
  EXPECT_EQ(FileOfUri("file://localhost/run/a.png"), "/run/a.png");
  for (const char* uri : {"", "http://x/a.png", "file://otherhost/a.png", "file:///a%00b.png", "/tmp/a.png"})
    EXPECT_EQ(FileOfUri(uri), "") << uri;
  setenv("XDG_RUNTIME_DIR", "/run/user/1000", 1);
  unsetenv("TMPDIR");
  EXPECT_TRUE(InTemporaryFolder("/tmp/shot.png"));
  EXPECT_TRUE(InTemporaryFolder("/run/user/1000/doc/shot.png"));
  for (const char* kept : {"/home/u/Pictures/Screenshots/shot.png", "/tmp/../home/u/shot.png", "/tmp", "/run/user/10000/x.png", "shot.png"})
    EXPECT_FALSE(InTemporaryFolder(kept)) << kept;
}
#endif
