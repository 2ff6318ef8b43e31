#pragma once
// The program's command line: a pure parser (no output, no side effects) and the usage text.
// main() acts on what it returns.
#include <string>
#include <vector>

// Which window system to run on; Automatic picks the one the session offers.
enum class TBackendChoice { Automatic, Wayland, X11 };

struct TCommandLine {
  enum class TAction {
    Run,      // start the ruler
    Help,     // print the usage on standard output, exit 0
    Version,  // print the version on standard output, exit 0
    Error,    // print FError and the usage on standard error, exit 2
  };
  TAction Action = TAction::Run;
  TBackendChoice Backend = TBackendChoice::Automatic;
  std::string Error;  // a one-line message naming the offending argument
};

// ARGS: the arguments after the program's name.
TCommandLine ParseCommandLine(const std::vector<std::string>& args);

// The help document as the program finds it: beside the program (a build folder), else where
// the package installs it (relative to EXEDIR).
std::string HelpDocumentPath(const std::string& exeDir);

// "vantrel 1.0"
std::string VersionText();
// The usage: options, backends, where the settings file and the help document are. EXEDIR is
// the program's folder (ending with '/'), HELPDOCUMENT the help document's path.
std::string UsageText(const std::string& exeDir, const std::string& helpDocument);
// The same for the running program.
std::string UsageText();
