#include "platform/x11/X11HelpService.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "platform/x11/X11Platform.h"

// Where `cmake --install` puts the documentation: relative to the program's folder (so an
// installed tree can be moved) and as the absolute path it was configured with.
#ifndef VANTREL_HELP_RELDIR
#define VANTREL_HELP_RELDIR "../share/doc/vantrel"
#endif
#ifndef VANTREL_HELP_DOCDIR
#define VANTREL_HELP_DOCDIR "/usr/local/share/doc/vantrel"
#endif

namespace plat {

namespace {

constexpr const char* kHandler = "xdg-open";
// Long enough for the topic request of the same command to arrive; short enough to feel
// immediate when only the contents were asked for.
constexpr unsigned kContentsDelayMs = 10;

std::string WithSlash(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

bool IsFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

X11HelpService::X11HelpService(X11Platform& platform) : FPlatform(platform) {
  const std::string exeDir = FPlatform.ExecutableDir();
  FInstalledFolders.push_back(WithSlash(
      std::filesystem::path(exeDir + VANTREL_HELP_RELDIR).lexically_normal().string()));
  const std::string absolute = WithSlash(VANTREL_HELP_DOCDIR);
  if (absolute != FInstalledFolders.front()) FInstalledFolders.push_back(absolute);
}

X11HelpService::~X11HelpService() { CancelPending(); }

std::optional<std::string> X11HelpService::FindDocument(const std::string& file) const {
  const std::filesystem::path help(file);
  std::string name = help.stem().string();
  for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
  if (name.empty()) return std::nullopt;
  name += ".html";
  std::vector<std::string> folders{WithSlash(help.has_parent_path() ? help.parent_path().string() : ".")};
  folders.insert(folders.end(), FInstalledFolders.begin(), FInstalledFolders.end());
  for (const std::string& dir : folders) {
    std::error_code ec;
    const std::filesystem::path path = std::filesystem::absolute(dir + name, ec).lexically_normal();
    if (!ec && IsFile(path.string())) return path.string();
  }
  return std::nullopt;
}

std::string X11HelpService::RequireDocument(const std::string& file) const {
  if (std::optional<std::string> doc = FindDocument(file)) return *doc;
  const std::filesystem::path help(file);
  std::string where = WithSlash(help.has_parent_path() ? help.parent_path().string() : ".");
  for (const std::string& dir : FInstalledFolders) where += " nor in " + dir;
  std::string name = help.stem().string();
  for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
  throw std::runtime_error("The help cannot be shown: the help document " + name + ".html was found neither in " +
                           where + ".");
}

std::string X11HelpService::RequireHandler(const std::string& document) {
  // Asked before anything is opened, so that a missing handler is told while the user waits
  // for the help, not lost in a later timer.
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path ? path : "");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    const std::filesystem::path candidate = std::filesystem::path(dir.empty() ? std::string(".") : dir) / kHandler;
    if (access(candidate.c_str(), X_OK) == 0 && IsFile(candidate.string())) return candidate.string();
  }
  throw std::runtime_error(std::string("The help cannot be shown: ") + kHandler +
                           " was not found (it comes with xdg-utils). The help is the page " + document +
                           ", which any web browser can open.");
}

void X11HelpService::Show(const std::string& file, const std::string& command) {
  if (command == "quit") {
    CancelPending();  // a browser page is the user's to close
    return;
  }
  const std::string document = RequireDocument(file);
  RequireHandler(document);
  const std::string topic = TopicOf(command);
  if (command == "contents") {
    CancelPending();
    FPendingDocument = document;
    FPendingTimer = FPlatform.StartTimer(kContentsDelayMs, [this] {
      const std::string uri = FileUri(FPendingDocument, "");
      CancelPending();
      try {
        Open(uri);
      } catch (const std::exception& e) {
        std::fprintf(stderr, "vantrel: %s\n", e.what());
      }
    });
    return;
  }
  // A topic replaces the contents request it follows; numbered contexts have no anchors in
  // the page, so they open it at its start.
  CancelPending();
  Open(FileUri(document, topic));
}

void X11HelpService::CancelPending() {
  if (FPendingTimer != 0) FPlatform.StopTimer(FPendingTimer);
  FPendingTimer = 0;
  FPendingDocument.clear();
}

void X11HelpService::Open(const std::string& uri) {
  std::string error;
  if (!FPlatform.Launcher().Spawn({kHandler, uri}, error))
    throw std::runtime_error("The help cannot be shown: " + error + ".");
}

std::string X11HelpService::TopicOf(std::string_view command) {
  // JumpID("file","topic"): the topic is the second quoted argument.
  const std::string_view head = "JumpID(";
  if (command.substr(0, head.size()) != head) return {};
  std::vector<std::string> args;
  std::size_t i = head.size();
  while (i < command.size() && args.size() < 2) {
    const char quote = command[i];
    if (quote != '"' && quote != '\'') {
      ++i;
      continue;
    }
    const std::size_t close = command.find(quote, i + 1);
    if (close == std::string_view::npos) return {};
    args.emplace_back(command.substr(i + 1, close - i - 1));
    i = close + 1;
  }
  return args.size() == 2 ? args[1] : std::string();
}

std::string X11HelpService::FileUri(const std::string& path, const std::string& anchor) {
  static const char* hex = "0123456789ABCDEF";
  auto encode = [](std::string_view text, bool keepSlash) {
    std::string out;
    for (unsigned char c : text) {
      const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                         c == '.' || c == '_' || c == '~' || (keepSlash && c == '/');
      if (plain) {
        out += char(c);
      } else {
        out += '%';
        out += hex[c >> 4];
        out += hex[c & 15];
      }
    }
    return out;
  };
  std::string uri = "file://";
  uri += encode(path, true);
  if (!anchor.empty()) {
    uri += '#';
    uri += encode(anchor, false);
  }
  return uri;
}

}  // namespace plat
