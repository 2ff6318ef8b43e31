#include "app/CommandLine.h"

#include <unistd.h>

#include <filesystem>

#include "app/Product.h"
#include "app/ProductVersion.h"
#include "app/SettingsLocation.h"

TCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  TCommandLine line;
  auto fail = [&line](std::string message) {
    line.Action = TCommandLine::TAction::Error;
    line.Error = std::move(message);
    return line;
  };
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      line.Action = TCommandLine::TAction::Help;
    } else if (arg == "--version" || arg == "-V") {
      // Help wins over version wherever each stands: it tells more.
      if (line.Action != TCommandLine::TAction::Help) line.Action = TCommandLine::TAction::Version;
    } else if (arg.starts_with("--backend=")) {
      const std::string value = arg.substr(10);
      if (value == "wayland") {
        line.Backend = TBackendChoice::Wayland;
      } else if (value == "x11") {
        line.Backend = TBackendChoice::X11;
      } else {
        return fail("unknown backend '" + value + "' (use wayland or x11)");
      }
    } else {
      return fail("unknown option '" + arg + "'");
    }
  }
  return line;
}

// Where `cmake --install` puts the documentation, relative to the program's folder.
#ifndef VANTREL_HELP_RELDIR
#define VANTREL_HELP_RELDIR "../share/doc/vantrel"
#endif

std::string HelpDocumentPath(const std::string& exeDir) {
  const std::string beside = exeDir + "vantrel.html";
  std::error_code ec;
  if (std::filesystem::is_regular_file(beside, ec)) return beside;
  return (std::filesystem::path(exeDir + VANTREL_HELP_RELDIR) / "vantrel.html").lexically_normal().string();
}

std::string VersionText() { return std::string("vantrel ") + product::kVersion; }

std::string UsageText(const std::string& exeDir, const std::string& helpDocument) {
  return std::string(
             "Usage: vantrel [OPTION]...\n"
             "A screen ruler: a strip graduated in screen pixels that floats over everything.\n"
             "\n"
             "Options:\n"
             "  --backend=wayland|x11  run on this window system instead of the session's own:\n"
             "                           wayland  a Wayland compositor (WAYLAND_DISPLAY)\n"
             "                           x11      an X11 display (DISPLAY), XWayland included\n"
             "  -h, --help             show this help and exit\n"
             "  -V, --version          show the version and exit\n"
             "\n"
             "Settings: ") +
         kSettingsFileName + " beside the program (" + exeDir +
         ") when that folder can be written,\n"
         "  else $XDG_CONFIG_HOME/vantrel/" + kSettingsFileName + " (by default ~/.config/vantrel/" +
         kSettingsFileName + ").\n"
         "Help document: " + helpDocument + "\n" +
         "Home page: " + product::kWebAddress + "\n";
}

std::string UsageText() {
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  const std::string path = n > 0 ? std::string(buf, std::size_t(n)) : std::string();
  const std::size_t slash = path.rfind('/');
  const std::string exeDir = slash == std::string::npos ? "./" : path.substr(0, slash + 1);
  return UsageText(exeDir, HelpDocumentPath(exeDir));
}
