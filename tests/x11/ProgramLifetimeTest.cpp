// How the program ends on a real X server, and what it leaves in its settings file.
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "ProgramFixture.h"

using namespace x11test;
using gfx::Rect;

TEST_F(X11Program, TheCloseButtonWritesTheSettingsAndEndsTheProgram) {
  // First start: no settings file, the strip at 0,0.
  StartProgram();
  const ::Window strip = WaitForStrip();
  ASSERT_NE(strip, None) << ProgramOutput();
  EXPECT_EQ(Geometry(strip), Rect::FromXYWH(0, 0, 640, 58));

  // A click on the caption strip gives it the keyboard; the arrow keys move it.
  ASSERT_EQ(Xdotool({"mousemove", "300", "8", "click", "1"}), 0);
  ASSERT_EQ(Xdotool({"key", "--delay", "30", "Right", "Right", "Right", "Down", "Down"}), 0);
  EXPECT_TRUE(PollUntil([&] { return Geometry(strip) == Rect::FromXYWH(3, 2, 640, 58); }))
      << Geometry(strip).left << "," << Geometry(strip).top;

  // The close button: panel at (1,1) in the window, the button at (2,2) in the panel.
  ASSERT_EQ(Xdotool({"mousemove", "10", "10", "click", "1"}), 0);
  EXPECT_EQ(WaitExit(), 0) << ProgramOutput();
  EXPECT_EQ(ProgramOutput(), "");

  // The file holds what the same steps write on the virtual desktop, byte for byte.
  const auto virtualDir = RunVirtual("", "key right\nkey right\nkey right\nkey down\nkey down\nwait 110\nclose\n");
  std::ifstream in(virtualDir / "Vantrel.ini", std::ios::binary);
  const std::string expected((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(expected.find("Top=2\r\nLeft=3\r\n"), std::string::npos) << expected;
  EXPECT_EQ(ReadSettings(), expected);
}

TEST_F(X11Program, LosingTheDisplayEndsTheProgramAndKeepsItsSettings) {
  // Without the mouse loupe, which shows after the drag and would count among the windows.
  WriteSettings("[Application]\nLeft=100\nTop=120\nLength=500\nOnTop=1\nMouseLoupe=0\n[Mine]\nkept=yes");
  StartProgram();
  const ::Window strip = WaitForStrip();
  ASSERT_NE(strip, None) << ProgramOutput();
  ASSERT_EQ(Xdotool({"mousemove", "400", "128", "mousedown", "1"}), 0);
  // The drag starts where the pointer is when the program takes the press: let it take it.
  ASSERT_TRUE(PollUntil([&] { return ShownWindows().size() == 2; })) << "no readout while pressed";
  ASSERT_EQ(Xdotool({"mousemove", "470", "180"}), 0);
  ASSERT_TRUE(PollUntil([&] { return Geometry(strip) == Rect::FromXYWH(170, 172, 500, 58); }))
      << Geometry(strip).left << "," << Geometry(strip).top << " shown " << ShownWindows().size();
  ASSERT_EQ(Xdotool({"mouseup", "1"}), 0);
  ASSERT_TRUE(PollUntil([&] { return ShownWindows().size() == 1; }));

  KillServer();
  const int status = WaitExit();
  EXPECT_NE(status, -2) << "still running without its display";
  EXPECT_NE(status, -1) << "ended by a signal:\n" << ProgramOutput();
  EXPECT_EQ(status, 1) << "an end without a display is reported as a failure";
  EXPECT_NE(ProgramOutput().find("connection to the display was lost"), std::string::npos) << ProgramOutput();
  EXPECT_EQ(Setting("Left"), "170");
  EXPECT_EQ(Setting("Top"), "172");
  EXPECT_EQ(Setting("Length"), "500");
  EXPECT_EQ(Setting("OnTop"), "1");
  EXPECT_EQ(Setting("kept"), "yes");
}

TEST_F(X11Program, WithoutADisplayItSaysWhereElseItRunsAndFails) {
  struct Case {
    std::string Display;
    const char* Says;
  } cases[] = {
      {"", "needs an X11 display"},
      // A display nobody serves.
      {":" + std::to_string(1000 + getpid() % 1000), "cannot open the display"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("DISPLAY=" + c.Display);
    StartProgramOn(c.Display);
    const int status = WaitExit();
    const std::string said = ProgramOutput();
    EXPECT_GT(status, 0) << said;
    EXPECT_NE(said.find(c.Says), std::string::npos) << said;
    // How to see it anyway: the scenario runner on the virtual desktop.
    EXPECT_NE(said.find("vantrel-scenario"), std::string::npos) << said;
    EXPECT_FALSE(std::filesystem::exists(Dir / "Vantrel.ini")) << "settings written without a program";
  }
  EXPECT_TRUE(ShownWindows().empty());
}
