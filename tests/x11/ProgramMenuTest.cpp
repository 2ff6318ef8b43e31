// The strip's popup menu on a real X server: it opens from the menu button, holds the pointer
// and the keyboard while open, and lets go of both however it closes.
#include "ProgramFixture.h"

using namespace x11test;
using gfx::Rect;

namespace {
// The strip at 100, 120; its menu button at 38, 2 of the caption panel: the menu opens at
// (138, 137). Rows from the menu's top: About 3, Help 22, Ruler Properties 41, a separator
// at 60, Set begin to 0 at 71, Set end to 0 at 90.
const char* kSettings = "[Application]\nLeft=100\nTop=120\nLength=500\nMouseLoupe=0";
constexpr int kMenuLeft = 138, kMenuTop = 137;
// 15 rows of 19 and 5 separators of 11, a 1-pixel margin and a 2-pixel frame on each side.
constexpr int kMenuHeight = 15 * 19 + 5 * 11 + 2 * (1 + 2);

}  // namespace

class X11Menu : public X11Program {
 protected:
  // The shown window of the program at (kMenuLeft, kMenuTop), if any.
  bool MenuShown() {
    for (const ShownWindow& w : ShownWindows())
      if (w.Bounds.left == kMenuLeft && w.Bounds.top == kMenuTop && w.Bounds.Height() == kMenuHeight) return true;
    return false;
  }
  // Whether another client could take the pointer and the keyboard now.
  bool InputFree() {
    const ::Window root = DefaultRootWindow(Peer);
    const int pointer = XGrabPointer(Peer, root, False, ButtonPressMask, GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
    if (pointer == GrabSuccess) XUngrabPointer(Peer, CurrentTime);
    const int keyboard = XGrabKeyboard(Peer, root, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    if (keyboard == GrabSuccess) XUngrabKeyboard(Peer, CurrentTime);
    XSync(Peer, False);
    return pointer == GrabSuccess && keyboard == GrabSuccess;
  }
  void OpenMenu() {
    ASSERT_EQ(Xdotool({"mousemove", "144", "128", "click", "1"}), 0);
    ASSERT_TRUE(PollUntil([&] { return MenuShown(); })) << "the menu opens below its button";
    EXPECT_TRUE(PollUntil([&] { return !InputFree(); })) << "the open menu holds pointer and keyboard";
  }
};

TEST_F(X11Menu, OpensChoosesClosesAndLeavesNoGrab) {
  WriteSettings(kSettings);
  StartProgram();
  ASSERT_NE(WaitForStrip(), None) << ProgramOutput();

  // A click outside closes it without a command.
  OpenMenu();
  ASSERT_EQ(Xdotool({"mousemove", "700", "600", "click", "1"}), 0);
  EXPECT_TRUE(PollUntil([&] { return !MenuShown(); }));
  EXPECT_TRUE(PollUntil([&] { return InputFree(); })) << "a grab was left behind";

  // Escape closes it too.
  OpenMenu();
  ASSERT_EQ(Xdotool({"key", "Escape"}), 0);
  EXPECT_TRUE(PollUntil([&] { return !MenuShown(); }));
  EXPECT_TRUE(PollUntil([&] { return InputFree(); }));

  // A click on "Set end to 0" runs it: the start becomes -500 / 20, written at the close.
  OpenMenu();
  ASSERT_EQ(Xdotool({"mousemove", std::to_string(kMenuLeft + 40), std::to_string(kMenuTop + 90 + 9), "click", "1"}), 0);
  EXPECT_TRUE(PollUntil([&] { return !MenuShown(); }));
  EXPECT_TRUE(PollUntil([&] { return InputFree(); }));
  // "Exit" from the keyboard: Up from nothing lands on the last item.
  OpenMenu();
  ASSERT_EQ(Xdotool({"key", "--delay", "30", "Up", "Return"}), 0);
  EXPECT_EQ(WaitExit(), 0) << ProgramOutput();
  EXPECT_EQ(Setting("MeasureStart"), "-25");
  EXPECT_TRUE(InputFree());
}
