#include "tools/scenario/Script.h"

#include <sstream>

namespace scenario {

namespace {

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && (s.back() == '\r' || s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

std::vector<std::string> Words(std::string_view s) {
  std::vector<std::string> out;
  std::istringstream in{std::string(s)};
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

}  // namespace

std::vector<Command> ParseScript(std::string_view text) {
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t nl = text.find('\n', start);
    if (nl == std::string_view::npos) {
      if (start < text.size()) lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, nl - start));
    start = nl + 1;
  }

  std::vector<Command> commands;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = TrimLeft(TrimRight(lines[i]));
    if (line.empty() || line.front() == '#') continue;
    Command c;
    c.Line = int(i) + 1;
    std::size_t sp = line.find_first_of(" \t");
    c.Name = std::string(line.substr(0, sp));
    if (sp != std::string_view::npos) c.Rest = std::string(TrimLeft(line.substr(sp)));
    c.Args = Words(c.Rest);
    if (c.Name == "file" && !c.Args.empty() && c.Args.back() == "<<<") {
      c.Args.pop_back();
      bool closed = false;
      for (++i; i < lines.size(); ++i) {
        std::string_view body = lines[i];
        if (!body.empty() && body.back() == '\r') body.remove_suffix(1);
        if (TrimRight(TrimLeft(body)) == ">>>") {
          closed = true;
          break;
        }
        c.Body.append(body);
        c.Body.append("\r\n");
      }
      if (!closed) throw ScriptError(c.Line, "file block is not closed with >>>");
    }
    commands.push_back(std::move(c));
  }
  return commands;
}

}  // namespace scenario
