#pragma once
// The program's help on a Linux desktop. The program asks for help as it would ask a help
// viewer: the contents of its help file ("<folder>/Vantrel.hlp"), then a topic. Here the help
// is an HTML document (vantrel.html) that the desktop's handler (xdg-open) opens in a browser.
//
// A contents request is held back for a moment: when a topic request for the same document
// follows at once (the Help command makes both), the document opens once, at the topic's
// anchor; otherwise it opens at its start.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace plat {

class X11Platform;

class X11HelpService {
 public:
  explicit X11HelpService(X11Platform& platform);
  ~X11HelpService();
  X11HelpService(const X11HelpService&) = delete;
  X11HelpService& operator=(const X11HelpService&) = delete;

  // COMMAND: "contents", a topic macro JumpID("","Topic"), "context N" or "quit". Throws
  // std::runtime_error, with a message for the user, when the document or the handler
  // cannot be found or started.
  void Show(const std::string& file, const std::string& command);

  // The document that stands for the help file FILE: lower-case name with ".html", in FILE's
  // folder (the build folder), else in the installed documentation folders.
  std::optional<std::string> FindDocument(const std::string& file) const;
  const std::vector<std::string>& InstalledFolders() const { return FInstalledFolders; }
  void SetInstalledFolders(std::vector<std::string> folders) { FInstalledFolders = std::move(folders); }

  // "About" for JumpID("","About") (either quote style); empty when COMMAND is no jump.
  static std::string TopicOf(std::string_view command);
  // A file: URI for an absolute PATH, percent-encoded, with "#ANCHOR" when one is given.
  static std::string FileUri(const std::string& path, const std::string& anchor);

 private:
  std::string RequireDocument(const std::string& file) const;
  static std::string RequireHandler(const std::string& document);
  void Open(const std::string& uri);
  void CancelPending();

  X11Platform& FPlatform;
  std::vector<std::string> FInstalledFolders;
  Platform::TimerId FPendingTimer = 0;
  std::string FPendingDocument;
};

}  // namespace plat
