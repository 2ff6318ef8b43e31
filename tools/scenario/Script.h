#pragma once
// The scenario script: plain text, one command a line (see `vantrel-scenario --help`).
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

struct Command {
  int Line = 0;                    // 1-based line number in the script
  std::string Name;                // first word
  std::vector<std::string> Args;   // the other words
  std::string Rest;                // everything after the first word, as written (for `type`)
  std::string Body;                // `file NAME <<<` ... `>>>`: the lines joined with CR LF
};

// A malformed script or command; the message reads "line N: ...".
class ScriptError : public std::runtime_error {
 public:
  ScriptError(int line, const std::string& what)
      : std::runtime_error("line " + std::to_string(line) + ": " + what), Line(line) {}
  int Line;
};

// Splits the script into commands; comments and blank lines are dropped. Throws ScriptError
// for an unterminated `file` block. Commands are not checked here.
std::vector<Command> ParseScript(std::string_view text);

}  // namespace scenario
