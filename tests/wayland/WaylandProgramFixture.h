#pragma once
// The whole program under a headless sway: each test starts its own compositor, runs a copy
// of the built vantrel from a fresh folder (its settings file lands there), moves and clicks
// through a virtual pointer of ours, types with wtype, reads the screen with grim and the
// clipboard with wl-paste, and compares with the same scene on the virtual desktop.
#include <gtest/gtest.h>
#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SwayServer.h"
#include "graphics/Bitmap.h"

struct wl_display;
struct zwlr_virtual_pointer_manager_v1;
struct zwlr_virtual_pointer_v1;

namespace wltest {

class WaylandProgram : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  void WriteSettings(const std::string& lines);  // Vantrel.ini, CR LF as the program writes it
  std::string Setting(const std::string& key) const;
  // DISPLAY, when given, is set for the program too (an X11 display of this compositor).
  void StartProgram(const std::vector<std::string>& args = {}, const std::string& display = "");
  int WaitExit(int timeoutMs = 15000);  // exit status, -1 killed, -2 timeout
  void KillProgram();  // at once, writing nothing
  std::string ProgramOutput() const;

  // The pointer: a virtual pointer device of ours.
  void MoveTo(int x, int y);
  void Button(bool down, bool left = true);
  void Click(int x, int y);
  // A click at X,Y and a move on to TOX,TOY in one batch: the compositor delivers all of it
  // before the program can answer the click.
  void ClickAndMoveOn(int x, int y, int toX, int toY);
  // wtype with ARGS ("-k", "Right" ...).
  void Type(const std::vector<std::string>& args);
  std::string Paste();
  // The screen's pixels in R as grim reads them.
  gfx::Bitmap Capture(const gfx::Rect& r);
  // Polls until R looks as EXPECTED, but for the pointer's surroundings (the cursor).
  bool WaitForPixels(const gfx::Rect& r, const gfx::Bitmap& expected, int timeoutMs = 5000);

  // The same program on the virtual desktop: SETTINGS, "start", COMMANDS; its output.
  std::string RunVirtual(const std::string& settings, const std::string& commands);
  gfx::Bitmap ShotVirtual(const std::string& settings, const std::string& commands, const gfx::Rect& r);
  // The strip of kClickedStrip started under the pointer at (400, 128) and clicked there once
  // its left part (left of where the loupe shows, at (400, 133)) looks as on the virtual desktop:
  // it has the keyboard and shows the loupe. False, with a failure, when it never showed.
  static constexpr const char* kClickedStrip = "[Application]\nLeft=100\nTop=120\nLength=500";
  bool StartClickedStrip();

  static bool PollUntil(const std::function<bool()>& pred, int timeoutMs = 5000);

  std::unique_ptr<SwayServer> Server;
  // The desk's size for the virtual pointer, and the virtual desktop's monitor lines.
  gfx::Size Desk{1024, 768};
  std::string VirtualMonitors;
  std::filesystem::path Dir;
  // The compositor's socket the program connects to, when not the server's own.
  std::string ProgramSocket;

  // The seat's virtual pointer and held keyboard; at set-up unless DevicesAtStart is false.
  void ConnectDevices();
  bool DevicesAtStart = true;

 private:

  pid_t FPid = -1;
  int FRuns = 0;
  wl_display* FClient = nullptr;
  zwlr_virtual_pointer_manager_v1* FPointers = nullptr;
  zwlr_virtual_pointer_v1* FPointer = nullptr;
  std::uint32_t FTime = 0;
  pid_t FHeldKeyboard = -1;
  gfx::Point FPointerAt;
};

std::string Difference(const gfx::Bitmap& actual, const gfx::Bitmap& expected);

}  // namespace wltest
