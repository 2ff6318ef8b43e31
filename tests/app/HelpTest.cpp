// The Help command, chosen from the strip's menu as a user does (menu button, Down to the
// second item, Enter).
#include "tests/app/StripTestSupport.h"

TEST_F(StripTest, HelpAsksForTheContentsThenTheAboutTopic) {
  // Strip at (300, 300): the menu button lies at panel (38, 2), the panel 1 pixel inside.
  StripRun r = Run(Settings("[Application]\nLeft=300\nTop=300") +
                   "start\nmouse 345 307\nclick left\nkey down\nkey down\nkey enter\nlog\n");
  const std::string hlp = (FDir / "Vantrel.hlp").string();
  const std::vector<std::string> help = r.Lines("help ");
  ASSERT_EQ(help.size(), 2u) << r.Out;
  EXPECT_EQ(help[0], "help " + hlp + " contents");
  EXPECT_EQ(help[1], "help " + hlp + " JumpID(\"\",\"About\")");
}
