// The command line: the parser's answers, and what the real program does with them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace {

using TAction = TCommandLine::TAction;

TEST(CommandLine, ParsesOptionsBackendsAndRejectsTheRest) {
  struct Case {
    std::vector<std::string> Args;
    TAction Action;
    TBackendChoice Backend;
    std::string ErrorNames;  // a part of the error message, for errors
  };
  const Case cases[] = {
      {{}, TAction::Run, TBackendChoice::Automatic, ""},
      {{"--help"}, TAction::Help, TBackendChoice::Automatic, ""},
      {{"-h"}, TAction::Help, TBackendChoice::Automatic, ""},
      {{"--version"}, TAction::Version, TBackendChoice::Automatic, ""},
      {{"-V"}, TAction::Version, TBackendChoice::Automatic, ""},
      {{"--version", "--help"}, TAction::Help, TBackendChoice::Automatic, ""},
      {{"--help", "--version"}, TAction::Help, TBackendChoice::Automatic, ""},
      {{"--backend=wayland"}, TAction::Run, TBackendChoice::Wayland, ""},
      {{"--backend=x11"}, TAction::Run, TBackendChoice::X11, ""},
      {{"--backend=x11", "--backend=wayland"}, TAction::Run, TBackendChoice::Wayland, ""},
      {{"--backend=X11"}, TAction::Error, TBackendChoice::Automatic, "'X11'"},
      {{"--backend="}, TAction::Error, TBackendChoice::Automatic, "''"},
      {{"--backend"}, TAction::Error, TBackendChoice::Automatic, "'--backend'"},
      {{"--bogus"}, TAction::Error, TBackendChoice::Automatic, "'--bogus'"},
      {{"file.txt"}, TAction::Error, TBackendChoice::Automatic, "'file.txt'"},
      {{"-"}, TAction::Error, TBackendChoice::Automatic, "'-'"},
      // An error stops the parse: a later --help does not hide it.
      {{"--bogus", "--help"}, TAction::Error, TBackendChoice::Automatic, "'--bogus'"},
  };
  for (const Case& c : cases) {
    std::string joined;
    for (const std::string& a : c.Args) joined += a + " ";
    SCOPED_TRACE(joined);
    const TCommandLine line = ParseCommandLine(c.Args);
    EXPECT_EQ(line.Action, c.Action);
    if (c.Action == TAction::Error) {
      EXPECT_NE(line.Error.find(c.ErrorNames), std::string::npos) << line.Error;
    } else {
      EXPECT_EQ(line.Backend, c.Backend);
      EXPECT_EQ(line.Error, "");
    }
  }
}

struct ProgramRun {
  int Status = -1;
  std::string Out;
};

// Runs the built program with ARGS, without a display; REDIRECT picks what is captured.
ProgramRun RunProgram(const std::string& args, const std::string& redirect) {
  ProgramRun r;
  const std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY " VANTREL_BINARY_DIR "/vantrel " + args + " " + redirect;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) r.Out.append(buf, n);
  const int status = pclose(p);
  r.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

TEST(CommandLine, TheProgramAnswersHelpVersionAndBadOptionsWithTheirExitCodes) {
  const ProgramRun help = RunProgram("--help", "2>/dev/null");
  EXPECT_EQ(help.Status, 0);
  for (const char* part : {"Usage: vantrel", "--backend=wayland|x11", "--version", "Vantrel.ini", "~/.config/vantrel/",
                           "Help document: /", "vantrel.html"})
    EXPECT_NE(help.Out.find(part), std::string::npos) << part << " missing from:\n" << help.Out;

  const ProgramRun version = RunProgram("--version", "2>/dev/null");
  EXPECT_EQ(version.Status, 0);
  EXPECT_EQ(version.Out, VersionText() + "\n");
  EXPECT_EQ(version.Out.rfind("vantrel ", 0), 0u) << version.Out;

  // The usage goes to standard error: standard output stays empty.
  const ProgramRun badOut = RunProgram("--frobnicate", "2>/dev/null");
  EXPECT_EQ(badOut.Status, 2);
  EXPECT_EQ(badOut.Out, "");
  const ProgramRun bad = RunProgram("--backend=gdi", "2>&1 >/dev/null");
  EXPECT_EQ(bad.Status, 2);
  EXPECT_EQ(bad.Out.rfind("vantrel: unknown backend 'gdi'", 0), 0u) << bad.Out;
  EXPECT_NE(bad.Out.find("Usage: vantrel"), std::string::npos) << bad.Out;

  // A forced X11 without a display says why and fails, rather than touring anything.
  const ProgramRun x11 = RunProgram("--backend=x11", "2>&1");
  EXPECT_EQ(x11.Status, 1);
  EXPECT_NE(x11.Out.find("DISPLAY"), std::string::npos) << x11.Out;
}

}  // namespace
