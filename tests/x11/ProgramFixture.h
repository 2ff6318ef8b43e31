#pragma once
// The whole program on a real X server: each test starts its own Xvfb, runs a copy of the
// built vantrel from a fresh folder (so its settings file lands there), drives it with
// xdotool and looks at the result through a plain connection of its own, through the
// settings file, and against the same state rendered on the virtual desktop.
// gtest first: Xlib defines macros (None, Bool) that its headers would trip over.
#include <gtest/gtest.h>
#include <X11/Xlib.h>
#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "XvfbServer.h"
#include "graphics/Bitmap.h"
#include "graphics/Types.h"

namespace x11test {

// A top-level window of the program that the server shows.
struct ShownWindow {
  ::Window Id = None;
  gfx::Rect Bounds;
};

class X11Program : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes Vantrel.ini beside the program; LINES joined with CR LF as the program writes them.
  void WriteSettings(const std::string& lines);
  std::string ReadSettings() const;
  // The value of KEY in the settings file ("" when missing).
  std::string Setting(const std::string& key) const;

  // Runs a window manager on the test's server ("i3" or "openbox", with a plain configuration)
  // and waits until it manages the screen; it ends with the test.
  void StartWindowManager(const std::string& name);

  // Starts the program on the test's server; with no settings file it uses its defaults.
  void StartProgram();
  // Starts it with DISPLAY set to DISPLAYNAME, or without DISPLAY when that is empty.
  void StartProgramOn(const std::string& displayName);
  // Waits until the program shows its strip and answers it (None on timeout).
  ::Window WaitForStrip(int timeoutMs = 15000);
  // Waits for the program to end: its exit status, -1 when killed by a signal, -2 on timeout.
  int WaitExit(int timeoutMs = 15000);
  // Ends the program at once, without letting it write anything.
  void KillProgram();
  // How often the program has gone to sleep so far (its voluntary context switches), -1 when
  // it is not running.
  long ProgramSleeps() const;
  // The programs it started that it has not collected yet (its children), -1 when it is not
  // running.
  int ProgramChildren() const;
  // What the program wrote on standard output and error.
  std::string ProgramOutput() const;
  // Has the server tell this connection of every bell from now on; WaitForBell waits for the
  // next one.
  void ListenForBell();
  bool WaitForBell(int timeoutMs = 5000);
  // Ends the X server under the running program.
  void KillServer();

  // Runs xdotool with ARGS on the test's server; answers its exit status.
  int Xdotool(const std::vector<std::string>& args);

  // The program's viewable top-level windows, bottom first (inside a manager's frames too).
  std::vector<ShownWindow> ShownWindows();
  gfx::Rect Geometry(::Window w);
  // The child of the root that holds W: a manager's frame around it, or W itself.
  ::Window TopLevel(::Window w);
  // Top-level windows (anyone's) from the bottom of the stack to the top.
  std::vector<::Window> StackingOrder();
  // The screen's pixels in R, as the server holds them (the cursor is not part of it).
  gfx::Bitmap Capture(const gfx::Rect& r);

  // The same program on the virtual desktop: SETTINGS (no file when empty), "start", then the
  // scenario COMMANDS; answers the folder it ran in.
  std::filesystem::path RunVirtual(const std::string& settings, const std::string& commands);
  // The pixels of the screen rectangle R on the virtual desktop after COMMANDS.
  gfx::Bitmap ShotVirtual(const std::string& settings, const std::string& commands, const gfx::Rect& r);
  // Scenario commands putting the pointer at P and letting the strip take its reading.
  static std::string PointerAt(gfx::Point p);

  // Polls PRED every few milliseconds until it holds or TIMEOUTMS pass.
  static bool PollUntil(const std::function<bool()>& pred, int timeoutMs = 5000);
  // Polls until the captured rectangle R equals EXPECTED.
  bool WaitForPixels(const gfx::Rect& r, const gfx::Bitmap& expected, int timeoutMs = 5000);

  std::unique_ptr<XvfbServer> Server;
  Display* Peer = nullptr;
  std::filesystem::path Dir;

 private:
  pid_t FPid = -1;
  pid_t FManagerPid = -1;
  int FXkbEvent = -1;  // the event code of the keyboard extension, once listening for bells
  int FVirtualRuns = 0;
};

// Where two bitmaps of the same size differ first, as "x,y: 0x.. != 0x..", plus the count; ""
// when they are equal.
std::string Difference(const gfx::Bitmap& actual, const gfx::Bitmap& expected);

}  // namespace x11test
