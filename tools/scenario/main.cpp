// vantrel-scenario: runs Vantrel on the virtual desktop, driven by a script.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "tools/scenario/ProgramEntry.h"
#include "tools/scenario/Runner.h"

namespace {

const std::string kHelp = R"(usage: vantrel-scenario [--dir DIR] SCRIPT
Runs the program on a virtual desktop (no display needed), driven by SCRIPT ('-' reads
standard input). DIR is the program's folder, where its files live; without --dir a fresh
temporary folder is used and removed afterwards.

Commands, one a line (output: one line per query, on standard output):
)" + scenario::Runner::CommandHelp() + R"(An unknown command, a malformed line or an unknown path stops the run with 'line N: ...' on
standard error and exit status 2.
)";

}  // namespace

int main(int argc, char** argv) {
  std::string dir, scriptPath;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
      std::cout << kHelp;
      return 0;
    }
    if (!std::strcmp(argv[i], "--dir") && i + 1 < argc) {
      dir = argv[++i];
    } else if (scriptPath.empty()) {
      scriptPath = argv[i];
    } else {
      std::cerr << "vantrel-scenario: too many arguments (see --help)\n";
      return 2;
    }
  }
  if (scriptPath.empty()) {
    std::cerr << "vantrel-scenario: no script given (see --help)\n";
    return 2;
  }
  std::string text;
  if (scriptPath == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  } else {
    std::ifstream in(scriptPath, std::ios::binary);
    if (!in) {
      std::cerr << "vantrel-scenario: cannot read " << scriptPath << "\n";
      return 2;
    }
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  bool temporary = dir.empty();
  if (temporary) {
    std::string tmpl = (std::filesystem::temp_directory_path() / "vantrel-scenario-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) {
      std::cerr << "vantrel-scenario: cannot make a temporary folder\n";
      return 2;
    }
    dir = tmpl;
  } else if (!std::filesystem::is_directory(dir)) {
    std::cerr << "vantrel-scenario: no folder " << dir << "\n";
    return 2;
  }

  int status;
  {
    scenario::Runner runner(scenario::ProgramMain, dir, std::cout, std::cerr);
    status = runner.Run(text);
  }
  if (temporary) {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  return status;
}
