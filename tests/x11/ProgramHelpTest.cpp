// The Help command of the running program: a missing help document is told in a message box,
// a present one opens once, at its About section, with the desktop's handler.
#include "ProgramFixture.h"

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace x11test;

TEST_F(X11Program, HelpShowsTheDocumentAtAboutOrSaysItIsMissing) {
  // A stand-in handler first on the program's PATH records what it is asked to open.
  const std::filesystem::path bin = Dir / "bin";
  std::filesystem::create_directories(bin);
  const std::filesystem::path log = Dir / "opened";
  std::ofstream(bin / "xdg-open") << "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" << log.string() << "'\n";
  chmod((bin / "xdg-open").c_str(), 0700);
  const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", (bin.string() + ":" + oldPath).c_str(), 1);
  // Without the mouse loupe, which the menu shows again as it closes, before the command.
  WriteSettings("[Application]\nLeft=100\nTop=100\nMouseLoupe=0");
  StartProgram();
  setenv("PATH", oldPath.c_str(), 1);
  ASSERT_NE(WaitForStrip(), None) << ProgramOutput();
  auto chooseHelp = [&] {
    // The menu button at panel (38, 2); Help is the menu's second item.
    ASSERT_EQ(Xdotool({"mousemove", "145", "107", "click", "1"}), 0);
    ASSERT_TRUE(PollUntil([&] { return ShownWindows().size() == 2; })) << "no menu";
    ASSERT_EQ(Xdotool({"key", "--delay", "50", "Down", "Down", "Return"}), 0);
  };

  // The copy of the program has no document beside it: a message box, and the strip lives on.
  chooseHelp();
  ASSERT_TRUE(PollUntil([&] {
    const std::vector<ShownWindow> shown = ShownWindows();
    return shown.size() == 2 && shown.back().Bounds.Width() > 200;
  })) << "no message box";
  ASSERT_EQ(Xdotool({"key", "Return"}), 0);
  EXPECT_TRUE(PollUntil([&] { return ShownWindows().size() == 1; }));
  EXPECT_FALSE(std::filesystem::exists(log));

  // With the document beside it: opened once, at About.
  std::filesystem::copy_file(std::filesystem::path(VANTREL_BINARY_DIR) / "vantrel.html", Dir / "vantrel.html");
  chooseHelp();
  ASSERT_TRUE(PollUntil([&] { return std::filesystem::exists(log); })) << ProgramOutput();
  // The command once more: whatever the first one started (the contents, had the topic not
  // replaced them, come 10 ms after it) was started before this one, and has ended once the
  // second opening is written and the program has no handler left running.
  chooseHelp();
  const std::string opened = "file://" + (Dir / "vantrel.html").string() + "#About\n";
  std::string text;
  EXPECT_TRUE(PollUntil([&] {
    std::ifstream in(log);
    std::stringstream all;
    all << in.rdbuf();
    text = all.str();
    return text.find(opened + opened) != std::string::npos && ProgramChildren() == 0;
  })) << text;
  EXPECT_EQ(text, opened + opened);
  std::ifstream page(Dir / "vantrel.html");
  std::stringstream html;
  html << page.rdbuf();
  EXPECT_NE(html.str().find("id=\"About\""), std::string::npos) << "the page has no About anchor";
  EXPECT_EQ(WaitExit(100), -2) << "the program ended";
}
