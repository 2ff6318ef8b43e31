#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "tools/scenario/DemoProgram.h"
#include "tools/scenario/Runner.h"
#include "tools/scenario/Script.h"

namespace fs = std::filesystem;

namespace {

struct Result {
  int Status;
  std::string Out;
  std::string Err;
};

class ScenarioRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FDir = fs::temp_directory_path() / ("vantrel-scn-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(FDir);
  }
  void TearDown() override { fs::remove_all(FDir); }
  Result Run(const std::string& script) {
    std::ostringstream out, err;
    scenario::Runner runner(scenario::DemoProgramMain, FDir.string(), out, err);
    int status = runner.Run(script);
    return {status, out.str(), err.str()};
  }
  fs::path FDir;
};

TEST(ScenarioScript, ParsesCommandsBlocksAndComments) {
  auto cmds = scenario::ParseScript("# c\n\n  mouse 1 2\r\nfile a.ini <<<\n[A]\r\nx=1\n>>>\ntype  hello world \n");
  ASSERT_EQ(cmds.size(), 3u);
  EXPECT_EQ(cmds[0].Line, 3);
  EXPECT_EQ(cmds[0].Name, "mouse");
  EXPECT_EQ(cmds[0].Args, (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(cmds[1].Name, "file");
  EXPECT_EQ(cmds[1].Args, (std::vector<std::string>{"a.ini"}));
  EXPECT_EQ(cmds[1].Body, "[A]\r\nx=1\r\n");
  EXPECT_EQ(cmds[2].Rest, "hello world");
  EXPECT_THROW(scenario::ParseScript("file x <<<\nno end\n"), scenario::ScriptError);
}

TEST_F(ScenarioRunnerTest, DrivesTheProgramThroughTimeInputAndClose) {
  Result r = Run(
      "screen 800 600\n"
      "file in.txt <<<\nhello\n>>>\n"
      "start\n"
      "windows\n"
      "prop frmDemo.Caption\n"
      "prop frmDemo.Left\n"
      "prop frmDemo.lblTicks.Caption\n"
      "wait 350\n"
      "prop frmDemo.lblTicks.Caption\n"
      "pixel 310 210\n"
      "pixel 799 599\n"
      "mouse 90 80\n"
      "click left\n"
      "prop frmDemo.lblTicks.Caption\n"
      "close\n"
      "cat demo.txt\n"
      "cat in.txt\n");
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out,
            "frmFloat 300 200 50 40 visible=1 topmost=1\n"
            "frmDemo 40 30 240 120 visible=1 topmost=0\n"
            "frmDemo.Caption = Demo\n"
            "frmDemo.Left = 40\n"
            "frmDemo.lblTicks.Caption = 0 ticks\n"
            "frmDemo.lblTicks.Caption = 3 ticks\n"
            "pixel 310 210 0x0000FF\n"
            "pixel 799 599 0x808000\n"
            "frmDemo.lblTicks.Caption = 3 ticks, 1 clicks\n"
            "closed\r\n"
            "hello\r\n");
}

TEST_F(ScenarioRunnerTest, EscapedExceptionsAreShownAndTheProgramGoesOn) {
  Result r = Run("start\nmouse 90 80\nclick left\nclick left\nclick left\nlog\nwait 100\nprop frmDemo.lblTicks.Caption\n");
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(r.Out.find("message three is too many\n"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("frmDemo.lblTicks.Caption = 1 ticks\n"), std::string::npos) << r.Out;
}

TEST_F(ScenarioRunnerTest, ErrorsStopTheRunWithTheLineNumber) {
  struct Case {
    const char* Script;
    const char* Error;
  } cases[] = {
      {"start\nfly 1 2\nwindows\n", "line 2: unknown command: fly\n"},
      {"start\nmouse 1\n", "line 2: wrong number of arguments for mouse\n"},
      {"start\nmouse 1 x\n", "line 2: not a number: x\n"},
      {"start\nprop frmDemo.Nothing\n", "line 2: unknown property: frmDemo.Nothing\n"},
      {"start\nprop frmNone.Left\n", "line 2: unknown form: frmNone\n"},
      {"start\nprop frmDemo.btnNone.Left\n", "line 2: unknown component: btnNone in frmDemo.btnNone.Left\n"},
      {"start\nkey banana\n", "line 2: unknown key: banana\n"},
      {"start\nkey a hyper\n", "line 2: unknown modifier: hyper\n"},
      {"start\nclick thumb\n", "line 2: unknown button: thumb\n"},
      {"mouse 1 1\n", "line 1: mouse before start\n"},
      {"start\nscreen 10 10\n", "line 2: screen after start\n"},
      {"start\nmonitor 0 0 10 10\n", "line 2: monitor after start\n"},
      {"monitor 0 0 10 10\nscreen 10 10\n", "line 2: screen after monitor lines (the monitors make the screen)\n"},
      {"monitor -1 0 10 10\n", "line 1: bad monitor: it must lie within 0 0 16384 16384\n"},
      {"start\nanswer color red\n", "line 2: colour answers are 0xBBGGRR or cancel\n"},
      {"start\nclose\nwindows\n", "line 3: windows after the program has ended\n"},
      {"cat missing.txt\n", "line 1: no file missing.txt\n"},
      {"start\nstart\n", "line 2: the program has already been started\n"},
      {"file x <<<\nunclosed\n", "line 1: file block is not closed with >>>\n"},
      {"start\nmenu frmNone.mnuExit\n", "line 2: unknown form: frmNone\n"},
      {"start\nmenu frmDemo.mnuNone\n", "line 2: unknown menu item: frmDemo.mnuNone\n"},
      {"start\nmenu frmDemo.btnCount\n", "line 2: unknown menu item: frmDemo.btnCount\n"},
      {"start\nmenu frmDemo\n", "line 2: menu needs FORM.ITEM\n"},
      {"start\ntray click left\n", "line 2: no tray icon\n"},
      {"start\ntray up middle\n", "line 2: no tray icon\n"},
  };
  for (const Case& c : cases) {
    Result r = Run(c.Script);
    EXPECT_EQ(r.Status, 2) << c.Script;
    EXPECT_EQ(r.Err, c.Error) << c.Script;
  }
}

TEST_F(ScenarioRunnerTest, AnswersAndScreenshots) {
  std::string shot = (FDir / "shot.png").string();
  Result r = Run("answer message yes\nstart\nshot " + shot + " 300 200 50 40\nlog\n");
  EXPECT_EQ(r.Status, 0) << r.Err;
  std::ifstream png(shot, std::ios::binary);
  char sig[8] = {};
  png.read(sig, 8);
  EXPECT_EQ(std::string(sig + 1, 3), "PNG");
}

TEST_F(ScenarioRunnerTest, MonitorLinesMakeTheDesktopWithDeadAreaBetweenThem) {
  std::ostringstream out, err;
  scenario::Runner runner(scenario::DemoProgramMain, FDir.string(), out, err);
  // Without millimetres, 96 pixels per inch: 1280 px = 338.67 mm, 339; 1024 px = 270.93, 271.
  // Below the second monitor lies dead area: black, and the pointer stops at its edge.
  ASSERT_EQ(runner.Run("monitor 0 0 1920 1080 510 290\nmonitor 1920 0 1280 1024\nmonitor 0 1080 800 600 0 0\n"
                       "start\npixel 1919 1030\npixel 1920 1030\nmouse 2000 1030\nclose\n"), 0) << err.str();
  EXPECT_EQ(out.str(), "pixel 1919 1030 0x808000\npixel 1920 1030 0x000000\n");
  EXPECT_EQ(runner.Desktop().CursorPosition(), (gfx::Point{2000, 1023}));
  EXPECT_EQ(runner.Desktop().ScreenSize(), (gfx::Size{3200, 1680}));
  EXPECT_EQ(runner.Desktop().Monitors(), (std::vector<plat::Monitor>{{gfx::Rect{0, 0, 1920, 1080}, 510, 290, true},
                                                                     {gfx::Rect{1920, 0, 3200, 1024}, 339, 271, false},
                                                                     {gfx::Rect{0, 1080, 800, 1680}, 0, 0, false}}));
}

}  // namespace
