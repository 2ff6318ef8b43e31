#pragma once
// Runs a program entry on the virtual desktop, driven by a scenario script.
//
// The program runs its own message loop. Whenever that loop (or a nested modal loop) has
// nothing left to do, the virtual desktop asks the runner for more: the runner then carries
// out script commands until one of them gives the program something to do (input, time, a
// close request), so every command sees the program settled, as a person would.
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/virtual/VirtualDesktop.h"

class TForm;
#include "tools/scenario/Script.h"

namespace scenario {

using ProgramEntry = std::function<int()>;

class Runner {
 public:
  // DIR: the program's folder (where its files live); OUT: query results; ERR: errors.
  Runner(ProgramEntry entry, std::string dir, std::ostream& out, std::ostream& err);

  // Runs the script; 0 when it ran to its end, 2 when it stopped on an error.
  int Run(const std::vector<Command>& script);
  int Run(std::string_view scriptText);

  plat::VirtualDesktop& Desktop() { return FDesktop; }

  // The command lines of --help, one entry of the command table after another.
  static std::string CommandHelp();

 private:
  enum class Phase { BeforeStart, Running, Ended };

  // Carries out commands until one hands the program work; false at the end of the script.
  bool Step();
  // One command of the script language: the names it answers to, whether it needs the running
  // program, what it does (true when the program has work to do afterwards) and its help.
  struct CommandEntry {
    std::vector<const char*> Names;
    bool NeedsProgram;
    bool (Runner::*Run)(const Command&);
    const char* Help;
  };
  static const std::vector<CommandEntry>& Commands();

  // Carries out one command; true when the program has work to do afterwards.
  bool Execute(const Command& c);
  bool DoScreen(const Command& c);
  bool DoMonitor(const Command& c);
  bool DoWallpaper(const Command& c);
  bool DoFile(const Command& c);
  bool DoStart(const Command& c);
  bool DoWait(const Command& c);
  bool DoMouse(const Command& c);
  bool DoButton(const Command& c);
  bool DoWheel(const Command& c);
  bool DoKey(const Command& c);
  bool DoType(const Command& c);
  bool DoAnswer(const Command& c);
  bool DoMenu(const Command& c);
  bool DoManage(const Command& c);
  bool DoWindows(const Command& c);
  bool DoProp(const Command& c);
  bool DoPixel(const Command& c);
  bool DoShot(const Command& c);
  bool DoClipboard(const Command& c);
  bool DoClipText(const Command& c);
  bool DoCat(const Command& c);
  bool DoLog(const Command& c);
  bool DoTray(const Command& c);
  bool DoClose(const Command& c);
  // Execute, with errors reported on FErr and the run marked failed.
  bool ExecuteGuarded(const Command& c);
  void Require(const Command& c, std::size_t minArgs, std::size_t maxArgs) const;
  void RequireRunning(const Command& c) const;
  plat::MouseButton Button(const Command& c, const std::string& name) const;
  int Key(const Command& c, const std::string& name) const;
  plat::ShiftState Modifiers(const Command& c, std::size_t first) const;
  int Number(const Command& c, const std::string& text) const;
  std::string PathIn(const std::string& name) const;

  // Writes PICTURE to FILE: BMP when its name ends in ".bmp", else PNG.
  void WriteImage(const Command& c, const std::string& file, const gfx::Bitmap& picture) const;
  void QueryWindows();
  TForm* FindForm(const Command& c, const std::string& name) const;
  void ChooseMenuItem(const Command& c);
  void QueryProp(const Command& c);

  ProgramEntry FEntry;
  std::string FDir;
  std::ostream& FOut;
  std::ostream& FErr;
  plat::VirtualDesktop FDesktop;
  const std::vector<Command>* FScript = nullptr;
  std::size_t FNext = 0;
  Phase FPhase = Phase::BeforeStart;
  std::vector<plat::Monitor> FMonitors;  // the `monitor` lines so far
  bool FFailed = false;
};

}  // namespace scenario
